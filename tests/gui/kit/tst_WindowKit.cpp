// The shared window behaviour: a question defaults to its safe answer, Escape
// and the frame's close go through the window's own command (an open drop-down
// takes Escape first), the busy pointer nests, and a database failure is worded
// by its kind with the engine's text under "Details".

#include "core/store/DatabaseLocation.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
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

    void escapeClosesAnOpenDropDownFirst_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::newRow("list") << false;
        QTest::newRow("list with typing") << true;
    }
    void escapeClosesAnOpenDropDownFirst()
    {
        QFETCH(bool, editable);
        QWidget window;
        auto *choice = new QComboBox(&window);
        choice->setEditable(editable);
        choice->addItems({QStringLiteral("North"), QStringLiteral("South")});
        auto *cancel = new QPushButton(QStringLiteral("Cancel"), &window);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(choice);
        layout->addWidget(cancel);
        int runs = 0;
        connect(cancel, &QPushButton::clicked, &window, [&] {
            ++runs;
            window.hide();
        });
        kit::closeThrough(&window, cancel);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        choice->setFocus();
        choice->showPopup();
        QTRY_VERIFY(QApplication::activePopupWidget());

        // The first Escape closes the list only; the second is the window's Cancel.
        QTest::keyClick(choice, Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QVERIFY(window.isVisible());
        QCOMPARE(runs, 0);
        QTest::keyClick(choice, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(runs, 1);
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
        const QString file = QStringLiteral("The survey database /srv/OV97.mdb could not be ");
        QTest::newRow("damaged") << DatabaseFault::Damaged << false
                                 << file + QStringLiteral("read: it is damaged.");
        QTest::newRow("read-only") << DatabaseFault::ReadOnly << true
                                   << file + QStringLiteral("written: it is read-only (the file, "
                                                            "or its folder, cannot be written).");
        QTest::newRow("missing") << DatabaseFault::Missing << false
                                 << file + QStringLiteral("read: it does not exist.");
        // The engine's words never make the sentence: they go under "Details".
        QTest::newRow("other") << DatabaseFault::Other << false
                               << file + QStringLiteral("read: the database engine reported an "
                                                        "error.");
    }
    void failureWordedByKind()
    {
        QFETCH(DatabaseFault, fault);
        QFETCH(bool, writing);
        QFETCH(QString, text);
        QCOMPARE(kit::databaseFailureText(
                     QStringLiteral("/srv/OV97.mdb"),
                     writing ? kit::DatabaseAccess::Write : kit::DatabaseAccess::Read, fault),
                 QDir::toNativeSeparators(text));
    }

    void failureShowsEngineTextUnderDetails_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<DatabaseFault>("fault");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("advice");
        const QString file = QStringLiteral("/srv/OV97.mdb");
        const QString server = QStringLiteral("postgresql://clerk@records:5432/surveys");
        QTest::newRow("read-only") << file << DatabaseFault::ReadOnly << "it is read-only"
                                   << "Make the file and its folder writable";
        QTest::newRow("busy") << file << DatabaseFault::Busy << "another program"
                              << "Close the other program";
        QTest::newRow("damaged") << file << DatabaseFault::Damaged << "it is damaged"
                                 << "Repair Database";
        QTest::newRow("full") << file << DatabaseFault::Full << "the disk is full"
                              << "Free some space";
        QTest::newRow("other") << file << DatabaseFault::Other
                               << "the database engine reported an error"
                               << "Try again";
        // A server is the administrator's: no advice about files of this computer.
        QTest::newRow("server, read-only")
            << server << DatabaseFault::ReadOnly << "it is read-only"
            << "Ask the server's administrator for the right to write";
        QTest::newRow("server, missing") << server << DatabaseFault::Missing << "it does not exist"
                                         << "Check the database's name";
    }
    void failureShowsEngineTextUnderDetails()
    {
        QFETCH(QString, database);
        QFETCH(DatabaseFault, fault);
        QFETCH(QString, reason);
        QFETCH(QString, advice);
        const QString engine = QStringLiteral(
            "attempt to write a readonly database Unable to fetch row [UPDATE [Agency] SET x]");
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // The test hook sees the main text, without the engine's words.
        QString hooked;
        kit::messageHook() = [&](QWidget *, QMessageBox::Icon, const QString &, const QString &text,
                                 QMessageBox::StandardButtons) {
            hooked = text;
            return QMessageBox::Ok;
        };
        kit::tellDatabaseFailure(&window, database, kit::DatabaseAccess::Write, fault, engine);
        kit::messageHook() = {};
        QVERIFY2(hooked.contains(reason) && hooked.contains(advice), qPrintable(hooked));
        QVERIFY2(hooked.contains(databaseDisplayName(database)), qPrintable(hooked));
        QVERIFY2(!hooked.contains(QLatin1String("Unable to fetch row")), qPrintable(hooked));

        // On screen the engine's words are there under "Details".
        kit::tellDatabaseFailure(&window, database, kit::DatabaseAccess::Write, fault, engine);
        QMessageBox *box = nullptr;
        QTRY_VERIFY((box = window.findChild<QMessageBox *>()) != nullptr);
        QCOMPARE(box->text(), hooked);
        QCOMPARE(box->detailedText(), engine);
        if (const QString out = qEnvironmentVariable("ROADTALLY_SHOTS"); !out.isEmpty()) {
            QTRY_VERIFY(box->isVisible());
            box->grab().save(
                out +
                QStringLiteral("/failure-%1.png").arg(QLatin1String(QTest::currentDataTag())));
            for (QAbstractButton *button : box->buttons())
                if (box->buttonRole(button) == QMessageBox::ActionRole)
                    button->click(); // "Show Details..."
            QApplication::processEvents();
            box->grab().save(out + QStringLiteral("/failure-%1-details.png")
                                       .arg(QLatin1String(QTest::currentDataTag())));
        }
        box->accept();
    }
};

QTEST_MAIN(tst_WindowKit)
#include "tst_WindowKit.moc"
