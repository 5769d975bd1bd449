// The shared window behaviour: a question defaults to its safe answer, Escape
// and the frame's close go through the window's own command, the busy pointer
// nests, and a database failure is worded by its kind.

#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace roadtally;

Q_DECLARE_METATYPE(QMessageBox::StandardButtons)
Q_DECLARE_METATYPE(roadtally::DatabaseFault)

class tst_WindowKit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void questionDefaultsToSafeAnswer_data()
    {
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::newRow("yes no") << QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No)
                                << int(QMessageBox::No);
        QTest::newRow("ok cancel")
            << QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel)
            << int(QMessageBox::Cancel);
        QTest::newRow("ok") << QMessageBox::StandardButtons(QMessageBox::Ok)
                            << int(QMessageBox::NoButton);
    }
    void questionDefaultsToSafeAnswer()
    {
        QFETCH(QMessageBox::StandardButtons, buttons);
        QFETCH(int, defaultButton);
        QString title;
        int shownDefault = -1;
        // Enter on the box that shows: the default button answers.
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            shownDefault =
                box->defaultButton() ? int(box->standardButton(box->defaultButton())) : 0;
            if (box->defaultButton())
                box->defaultButton()->click();
            else
                box->button(QMessageBox::Ok)->click();
        });
        const QMessageBox::StandardButton answer = kit::message(
            nullptr, QStringLiteral("Delete it?"), QString(), QMessageBox::Question, buttons);
        QCOMPARE(title, kit::Title);
        QCOMPARE(shownDefault, defaultButton);
        QCOMPARE(int(answer), defaultButton == 0 ? int(QMessageBox::Ok) : defaultButton);
    }

    void hookTakesEveryMessage()
    {
        QStringList seen;
        kit::messageHook() = [&](QWidget *, QMessageBox::Icon, const QString &title,
                                 const QString &text, QMessageBox::StandardButtons) {
            seen << title + QLatin1Char('|') + text;
            return QMessageBox::Yes;
        };
        QCOMPARE(kit::message(nullptr, QStringLiteral("asked"), QStringLiteral("Own title"),
                              QMessageBox::Question, QMessageBox::Yes | QMessageBox::No),
                 QMessageBox::Yes);
        kit::notice(nullptr, QStringLiteral("told"));
        kit::messageHook() = {};
        QCOMPARE(seen, QStringList(
                           {QStringLiteral("Own title|asked"), QStringLiteral("Roadtally|told")}));
    }

    void closeGoesThroughTheCommand_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::addColumn<bool>("buttonEnabled");
        QTest::addColumn<bool>("closed");
        QTest::newRow("frame") << false << true << true;
        QTest::newRow("escape") << true << true << true;
        QTest::newRow("frame, button out of reach") << false << false << false;
        QTest::newRow("escape, button out of reach") << true << false << false;
    }
    void closeGoesThroughTheCommand()
    {
        QFETCH(bool, byEscape);
        QFETCH(bool, buttonEnabled);
        QFETCH(bool, closed);
        QWidget window;
        auto *cancel = new QPushButton(QStringLiteral("Cancel"), &window);
        int runs = 0;
        connect(cancel, &QPushButton::clicked, &window, [&] {
            ++runs;
            window.hide();
        });
        kit::closeThrough(&window, cancel);
        cancel->setEnabled(buttonEnabled);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (byEscape)
            QTest::keyClick(&window, Qt::Key_Escape);
        else
            QCOMPARE(window.close(), closed);
        QCOMPARE(runs, closed ? 1 : 0);
        QCOMPARE(window.isVisible(), !closed);
        // A hidden window closes as any other, without the command.
        window.hide();
        QVERIFY(window.close());
        QCOMPARE(runs, closed ? 1 : 0);
    }

    void busyPointerNests()
    {
        QVERIFY(!QApplication::overrideCursor());
        {
            kit::BusyPointer outer;
            {
                kit::BusyPointer inner;
                inner.release();
                inner.release(); // once only
                QVERIFY(QApplication::overrideCursor());
            }
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(!QApplication::overrideCursor());
    }

    void failureWordedByKind_data()
    {
        QTest::addColumn<DatabaseFault>("fault");
        QTest::addColumn<bool>("writing");
        QTest::addColumn<QString>("text");
        const QString file = QStringLiteral("/srv/OV97.mdb");
        QTest::newRow("damaged") << DatabaseFault::Damaged << false
                                 << u"The survey database "_s + file +
                                        u" could not be read: it is damaged"_s;
        QTest::newRow("read-only") << DatabaseFault::ReadOnly << true
                                   << u"The survey database "_s + file +
                                          u" could not be written: it is read-only (the file, or "
                                          "its folder, cannot be written)"_s;
        QTest::newRow("missing") << DatabaseFault::Missing << false
                                 << u"The survey database "_s + file +
                                        u" could not be read: it does not exist"_s;
        QTest::newRow("other: the engine's words")
            << DatabaseFault::Other << false
            << u"The survey database "_s + file + u" could not be read: disk I/O error"_s;
    }
    void failureWordedByKind()
    {
        QFETCH(DatabaseFault, fault);
        QFETCH(bool, writing);
        QFETCH(QString, text);
        QCOMPARE(kit::databaseFailureText(QStringLiteral("/srv/OV97.mdb"),
                                          writing ? kit::DatabaseAccess::Write
                                                  : kit::DatabaseAccess::Read,
                                          fault, QStringLiteral("disk I/O error")),
                 QDir::toNativeSeparators(text));
    }
};

QTEST_MAIN(tst_WindowKit)
#include "tst_WindowKit.moc"
