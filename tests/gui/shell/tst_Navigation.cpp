// Getting about the main window and its child windows as a user does: the
// start panel after each way in and out, the keyboard, and a laptop screen.

#include "fixtures/ViewsFixture.h"

#include "core/store/SharedState.h"
#include "gui/admin/DeleteDB.h"
#include "gui/admin/DeleteSurvey.h"
#include "gui/admin/frmAdminSetup.h"
#include "gui/admin/frmOpenSurvey.h"
#include "gui/admin/frmSpeed_Profile.h"
#include "gui/info/frmAbout.h"
#include "gui/info/pace_description.h"
#include "gui/info/percent.h"
#include "gui/intake/frmLoadDataFile.h"
#include "gui/intake/frmProcessData.h"
#include "gui/kit/ClickLabel.h"
#include "gui/kit/Forms.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// Every menu of the menu bar, submenus included.
void collectMenus(QMenu *menu, QList<QMenu *> &menus)
{
    menus << menu;
    for (QAction *action : menu->actions()) {
        if (action->menu())
            collectMenus(action->menu(), menus);
    }
}

template <typename Window> void deleteForm()
{
    if (formExists<Window>())
        delete &form<Window>();
}

// Shows a child window the way the main window does, and returns it.
QWidget *showChild(frmRoadtally &w, const QString &name)
{
    if (name == QLatin1String("open survey")) {
        w.mnuOpenStudy->trigger();
        return &form<frmOpenSurvey>();
    }
    if (name == QLatin1String("delete survey")) {
        w.mnuDeleteSurvey->trigger();
        return &form<DeleteSurvey>();
    }
    if (name == QLatin1String("erase database")) {
        w.mnudeletedatabase->trigger();
        return &form<DeleteDB>();
    }
    if (name == QLatin1String("admin setup")) {
        w.mnuAdminSetup->trigger();
        return &form<frmAdminSetup>();
    }
    if (name == QLatin1String("speeding profile")) {
        w.setEnabled(false);
        frmSpeed_Profile &profile = w.speedProfileWindow();
        profile.show();
        return &profile;
    }
    QWidget *window = nullptr;
    if (name == QLatin1String("pace description"))
        window = &form<pace_description>();
    else if (name == QLatin1String("85th percentile"))
        window = &form<percent>();
    else
        window = &form<frmAbout>();
    window->show();
    return window;
}

// A laptop screen of 1366 x 768 with its task bar: a work area of about
// 1366 x 728, less the title bar and frame the window system adds.
const QSize LaptopWindow(1366 - 16, 728 - 40);

// Saves a picture of the window when ROADTALLY_SHOTS names a folder.
void keepPicture(QWidget *window, const QString &name)
{
    const QString out = qEnvironmentVariable("ROADTALLY_SHOTS");
    if (out.isEmpty())
        return;
    QDir().mkpath(out);
    window->grab().save(QDir(out).filePath(name + QStringLiteral(".png")));
}

} // namespace

class tst_Navigation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sharedState().setProgramFolder(m_dir.path());
        const QString error = writeKnownSurveys(databasePathIn(m_dir.path()));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void init() { sharedState().setProgramFolder(m_dir.path()); }

    void cleanup()
    {
        deleteForm<frmOpenSurvey>();
        deleteForm<DeleteSurvey>();
        deleteForm<DeleteDB>();
        deleteForm<frmAdminSetup>();
        deleteForm<frmSpeed_Profile>();
        deleteForm<pace_description>();
        deleteForm<percent>();
        deleteForm<frmAbout>();
        deleteForm<frmLoadDataFile>();
        deleteForm<frmProcessData>();
        deleteForm<frmRoadtally>();
    }

    // Whichever way the open-survey window was reached, and however often it
    // was cancelled, opening a survey shows the survey, not the start panel.
    void openingHidesTheStartPanel_data()
    {
        QTest::addColumn<QString>("steps"); // s: from the start panel, m: menu, c: Cancel
        QTest::newRow("start panel") << "s";
        QTest::newRow("menu") << "m";
        QTest::newRow("start panel, Cancel, menu") << "scm";
        QTest::newRow("menu, Cancel, menu") << "mcm";
        QTest::newRow("menu, Cancel, start panel") << "mcs";
    }

    void openingHidesTheStartPanel()
    {
        QFETCH(QString, steps);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const QChar step : steps) {
            if (step == QLatin1Char('s'))
                QTest::mouseClick(w.Label14, Qt::LeftButton);
            else if (step == QLatin1Char('m'))
                w.mnuOpenStudy->trigger();
            else
                QTest::mouseClick(form<frmOpenSurvey>().Command1, Qt::LeftButton);
        }
        frmOpenSurvey &chooser = form<frmOpenSurvey>();
        QVERIFY(chooser.isVisible());
        const QList<QListWidgetItem *> found =
            chooser.Batch_List->findItems(KphBatch, Qt::MatchStartsWith);
        QCOMPARE(found.size(), 1);
        chooser.Batch_List_DblClick(found.first());
        QVERIFY(w.isEnabled());
        QVERIFY(!w.splashframe->isVisible());
        QVERIFY(w.summary->FrameS->isVisible());
        QVERIFY(w.SSTab->isEnabled());
        QCOMPARE(w.summary->Label7[4]->text(), KphBatch);
    }

    // Escape in every dialog-like window does what its Cancel or Close does:
    // the window goes and the main window is usable again.
    void escapeCloses_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *name :
             {"open survey", "delete survey", "erase database", "admin setup", "speeding profile",
              "pace description", "85th percentile", "about"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void escapeCloses()
    {
        QFETCH(QString, window);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QWidget *child = showChild(w, window);
        QVERIFY(child->isVisible());
        child->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(child));
        QWidget *focus = child->focusWidget() ? child->focusWidget() : child;
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(!child->isVisible());
        QVERIFY(w.isEnabled());
    }

    // Enter opens the survey that stands selected: the first one when the window
    // shows, or the one the arrow keys moved to.
    void openSurveyByKeyboard_data()
    {
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("batch");
        QTest::newRow("Enter") << 0 << KphBatch; // the list is in batch number order
        QTest::newRow("Down, Enter") << 1 << MphBatch;
    }

    void openSurveyByKeyboard()
    {
        QFETCH(int, downs);
        QFETCH(QString, batch);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.Label14, Qt::LeftButton);
        frmOpenSurvey &chooser = form<frmOpenSurvey>();
        QVERIFY(chooser.isVisible());
        QCOMPARE(chooser.Batch_List->currentRow(), 0);
        QVERIFY(chooser.Batch_List->item(0)->isSelected());
        QVERIFY(chooser.Command6->isEnabled());
        QVERIFY(chooser.Batch_List->hasFocus() || chooser.focusWidget() == chooser.Batch_List);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(chooser.Batch_List, Qt::Key_Down);
        QTest::keyClick(chooser.Batch_List, Qt::Key_Return);
        QVERIFY(!chooser.isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(w.summary->FrameS->isVisible());
        QCOMPARE(w.summary->Label7[4]->text(), batch);
    }

    // No two items of a menu share an access key: a shared key only moves
    // between the items and never reaches one.
    void menuAccessKeysAreDistinct()
    {
        frmRoadtally w;
        QList<QMenu *> menus;
        for (QAction *top : w.menuBar()->actions()) {
            if (top->menu())
                collectMenus(top->menu(), menus);
        }
        QVERIFY(menus.size() >= 7);
        const auto keysOf = [](const QList<QAction *> &actions, const QString &where) {
            QMap<int, QString> taken;
            for (QAction *action : actions) {
                const QKeySequence key = QKeySequence::mnemonic(action->text());
                if (key.isEmpty())
                    continue;
                const int code = key[0].key();
                QVERIFY2(!taken.contains(code),
                         qPrintable(QStringLiteral("%1: \"%2\" and \"%3\"")
                                        .arg(where, taken.value(code), action->text())));
                taken.insert(code, action->text());
            }
        };
        keysOf(w.menuBar()->actions(), QStringLiteral("menu bar"));
        for (QMenu *menu : std::as_const(menus))
            keysOf(menu->actions(), menu->title());
    }

    // Each access key of an open menu runs its item at once.
    void menuAccessKeyRunsItsItem_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("item");
        QTest::newRow("File > O") << "m1" << int(Qt::Key_O) << "mnuOpenStudy";
        QTest::newRow("File > L") << "m1" << int(Qt::Key_L) << "mnuProcessRawData";
        QTest::newRow("File > E") << "m1" << int(Qt::Key_E) << "mnuExit";
        QTest::newRow("Edit > D") << "m2" << int(Qt::Key_D) << "mnuDeleteSurvey";
        QTest::newRow("Edit > R") << "m2" << int(Qt::Key_R) << "mnuManageDatabase";
        QTest::newRow("Edit > C") << "m2" << int(Qt::Key_C) << "mnudeletedatabase";
        QTest::newRow("Options > A") << "m3" << int(Qt::Key_A) << "mnuAdminSetup";
    }

    void menuAccessKeyRunsItsItem()
    {
        QFETCH(QString, menu);
        QFETCH(int, key);
        QFETCH(QString, item);
        frmRoadtally w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *popup = w.findChild<QMenu *>(menu);
        QVERIFY(popup);
        QAction *action = nullptr;
        for (QAction *a : popup->actions())
            action = a->objectName() == item ? a : action;
        QVERIFY(action);
        // The item's own command is not run here (Exit would end the test).
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QSignalSpy triggered(action, &QAction::triggered);
        popup->popup(w.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QTest::keyClick(popup, Qt::Key(key));
        QCOMPARE(triggered.count(), 1);
        QTRY_VERIFY(!popup->isVisible());
    }

    // On a laptop screen the main window takes the size of the work area, and
    // no page of it is crushed below the size it needs: a page that needs more
    // room than the window has scrolls.
    void mainWindowOnALaptopScreen_data()
    {
        QTest::addColumn<int>("tab");
        const char *names[] = {"summary",         "vehicle speeds", "daily volume",
                               "85th percentile", "15 minutes",     "weekly"};
        for (int t = 0; t < 6; ++t)
            QTest::newRow(names[t]) << t;
    }

    void mainWindowOnALaptopScreen()
    {
        QFETCH(int, tab);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.mnuOpenStudy->trigger();
        frmOpenSurvey &chooser = form<frmOpenSurvey>();
        chooser.Batch_List_DblClick(chooser.Batch_List->item(1));
        w.resize(LaptopWindow);
        w.SSTab->setCurrentIndex(tab);
        QApplication::processEvents();
        QCOMPARE(w.size(), LaptopWindow);

        const QList<QWidget *> pages = {w.summary,    w.speeds,  w.volume,
                                        w.percentile, w.fifteen, w.weekly};
        QWidget *page = pages[tab];
        QVERIFY(page->isVisible());
        const QSize needed = page->minimumSizeHint();
        QVERIFY2(page->width() >= needed.width() && page->height() >= needed.height(),
                 qPrintable(QStringLiteral("page %1x%2, needs %3x%4")
                                .arg(page->width())
                                .arg(page->height())
                                .arg(needed.width())
                                .arg(needed.height())));
        // What does not fit in the window is reached by scrolling.
        QCOMPARE(w.SSTab->currentWidget(), page);
        auto *scroll = w.findChild<QScrollArea *>(QStringLiteral("SSTabScroll"));
        QVERIFY(scroll);
        QCOMPARE(scroll->widget(), w.SSTab);
        if (w.SSTab->height() > scroll->viewport()->height())
            QVERIFY(scroll->verticalScrollBar()->isVisible());
        if (w.SSTab->width() > scroll->viewport()->width())
            QVERIFY(scroll->horizontalScrollBar()->isVisible());
        keepPicture(&w, QStringLiteral("laptop-main-tab%1").arg(tab));
    }

    // Every other window fits the laptop screen as it opens.
    void windowsFitALaptopScreen_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *name : {"open survey", "delete survey", "erase database", "admin setup",
                                 "speeding profile", "pace description", "85th percentile", "about",
                                 "data file dialog", "processing window"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void windowsFitALaptopScreen()
    {
        QFETCH(QString, window);
        frmRoadtally &w = form<frmRoadtally>();
        w.show();
        QWidget *child = nullptr;
        if (window == QLatin1String("data file dialog")) {
            child = &w.loadDataFileWindow();
            child->show();
        } else if (window == QLatin1String("processing window")) {
            child = &form<frmProcessData>();
            child->show();
        } else {
            child = showChild(w, window);
        }
        QVERIFY(QTest::qWaitForWindowExposed(child));
        QVERIFY2(child->width() <= LaptopWindow.width() && child->height() <= LaptopWindow.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(child->width()).arg(child->height())));
        const QSize needed = child->minimumSizeHint();
        QVERIFY(needed.width() <= LaptopWindow.width() && needed.height() <= LaptopWindow.height());
        keepPicture(child, QStringLiteral("laptop-") +
                               QString(window).replace(QLatin1Char(' '), QLatin1Char('-')));
    }
};

QTEST_MAIN(tst_Navigation)
#include "tst_Navigation.moc"
