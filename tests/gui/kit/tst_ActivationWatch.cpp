// When a window's activation step runs: the first activation after showing,
// and activations coming from another window of the program; not the return
// from a dialog over the window, nor from another application.

#include "gui/kit/ActivationWatch.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QWindow>
#include <QtTest>

#include <memory>

using namespace roadtally;

namespace {

// Makes other the program's active window, then gives the activation back to window.
void returnFrom(QWidget &window, QWidget *other)
{
    other->show();
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other));
    other->hide();
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
}

} // namespace

class tst_ActivationWatch : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    ActivationWatch *m_watch = nullptr;
    int m_steps = 0;

private Q_SLOTS:
    void init()
    {
        m_steps = 0;
        m_window = std::make_unique<QWidget>();
        m_window->setWindowTitle(QStringLiteral("watched"));
        m_window->resize(300, 200);
        m_watch = new ActivationWatch(m_window.get(), [this] { ++m_steps; });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void firstActivationAfterShowing()
    {
        QCOMPARE(m_steps, 1);
        QCOMPARE(m_watch->runs(), 1);
        // Activated again while already active: nothing new.
        m_window->activateWindow();
        QApplication::processEvents();
        QCOMPARE(m_steps, 1);
    }

    void returnFromAnotherWindow_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("steps");
        QTest::newRow("window of the program") << "window" << 1;
        QTest::newRow("dialog of another window") << "foreign dialog" << 1;
        QTest::newRow("message box over it") << "message box" << 0;
        QTest::newRow("message box without owner") << "free message box" << 0;
        QTest::newRow("file dialog over it") << "file dialog" << 0;
        QTest::newRow("dialog over it") << "dialog" << 0;
    }
    void returnFromAnotherWindow()
    {
        QFETCH(QString, kind);
        QWidget other; // owner of the foreign dialog
        other.resize(200, 100);
        std::unique_ptr<QWidget> from;
        if (kind == QLatin1String("window")) {
            from = std::make_unique<QWidget>();
            from->resize(200, 100);
        } else if (kind == QLatin1String("foreign dialog")) {
            other.show();
            from = std::make_unique<QDialog>(&other);
        } else if (kind == QLatin1String("message box")) {
            from = std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("Roadtally"),
                                                 QStringLiteral("text"), QMessageBox::Ok,
                                                 m_window.get());
        } else if (kind == QLatin1String("free message box")) {
            from = std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("Roadtally"),
                                                 QStringLiteral("text"));
        } else if (kind == QLatin1String("file dialog")) {
            auto dialog = std::make_unique<QFileDialog>(m_window.get());
            dialog->setOption(QFileDialog::DontUseNativeDialog);
            from = std::move(dialog);
        } else {
            from = std::make_unique<QDialog>(m_window.get());
        }
        const int before = m_steps;
        returnFrom(*m_window, from.get());
        QTEST(m_steps - before, "steps");
    }

    // A window of the program deleted while it was active (closed with
    // WA_DeleteOnClose) still counts as another window of the program.
    void returnFromADeletedWindow()
    {
        auto *from = new QWidget;
        from->setAttribute(Qt::WA_DeleteOnClose);
        from->show();
        from->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(from));
        QPointer<QWidget> guard(from);
        from->close();
        QTRY_VERIFY(guard.isNull());
        m_window->activateWindow();
        QTRY_COMPARE(m_steps, 2);
    }

    // Another application: the program has no active widget window while a
    // window that is none of the program's widgets has the focus.
    void returnFromAnotherApplication()
    {
        QWindow foreign;
        foreign.resize(100, 100);
        foreign.show();
        foreign.requestActivate();
        QTRY_COMPARE(QGuiApplication::focusWindow(), &foreign);
        QTRY_VERIFY(QApplication::activeWindow() == nullptr);
        m_window->activateWindow();
        QTRY_VERIFY(m_window->isActiveWindow());
        QCOMPARE(m_steps, 1);

        // The next window of the program still counts.
        QWidget window;
        window.resize(200, 100);
        returnFrom(*m_window, &window);
        QCOMPARE(m_steps, 2);
    }

    void whenShown()
    {
        QWidget w;
        int steps = 0;
        new ActivationWatch(
            &w, [&steps] { ++steps; }, ActivationWatch::WhenShown);
        w.show();
        QCOMPARE(steps, 1); // before show() returns
        QVERIFY(QTest::qWaitForWindowActive(&w));
        returnFrom(w, m_window.get());
        QCOMPARE(steps, 1); // activations do not count
        w.hide();
        w.show();
        QCOMPARE(steps, 2);
    }
};

QTEST_MAIN(tst_ActivationWatch)
#include "tst_ActivationWatch.moc"
