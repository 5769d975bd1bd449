// The "Open / Select Survey" window driven as a user drives it: the list it shows,
// a click, a double click, "Open Selected" and "Cancel", and what the main window
// stands on afterwards.
#include "fixtures/SurveyFixture.h"

#include "core/survey/SurveyList.h"
#include "gui/admin/frmOpenSurvey.h"
#include "gui/kit/Forms.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>

#include <memory>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

class tst_frmOpenSurvey : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void listsStoredSurveysInOrder();
    void doubleClickOpensSecondOfTwoSimilarSurveys();
    void clickThenOpenSelected();
    void unmatchedChoiceKeepsCurrentSurvey();
    void keysChooseLikeClicks();
    void cancelShowsStartPanel();
    void surveyStoredWhileHiddenIsListed();
    void emptyHeaderLeavesOpenDisabled();
    void openDisabledWhenLastSurveyWentAway();
    void placedBelowCentreAtActivation();
    void signalsWithoutMainWindow();

private:
    frmRoadtally &mainWindow();
    frmOpenSurvey &showOpenSurvey();
    void clickLine(int row);
    void doubleClickLine(int row);

    std::unique_ptr<SurveyFolder> m_folder;
};

void tst_frmOpenSurvey::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    sharedState().setProgramFolder(m_folder->folder());
}

void tst_frmOpenSurvey::cleanup()
{
    if (formExists<frmOpenSurvey>())
        delete &form<frmOpenSurvey>();
    if (formExists<frmRoadtally>())
        delete &form<frmRoadtally>();
    m_folder.reset();
}

frmRoadtally &tst_frmOpenSurvey::mainWindow()
{
    frmRoadtally &main = form<frmRoadtally>();
    // The main window points its sources at the database when it loads; make sure
    // they look at this test's folder.
    for (BoundDataSource *source : {main.Data2, main.Data3}) {
        if (source->databaseName() != m_folder->databasePath())
            source->setDatabaseName(m_folder->databasePath());
    }
    if (main.Data2->recordSource().isEmpty())
        main.Data2->setRecordSource(QStringLiteral("Header"));
    if (main.Data3->recordSource().isEmpty())
        main.Data3->setRecordSource(QStringLiteral("Summary"));
    main.Data2->refresh();
    main.Data3->refresh();
    if (!main.isVisible())
        main.show();
    return main;
}

frmOpenSurvey &tst_frmOpenSurvey::showOpenSurvey()
{
    frmRoadtally &main = mainWindow();
    // As the main window's open command does.
    main.setEnabled(false);
    frmOpenSurvey &window = main.openSurveyWindow();
    window.show();
    return window;
}

void tst_frmOpenSurvey::clickLine(int row)
{
    QListWidget *list = form<frmOpenSurvey>().Batch_List;
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void tst_frmOpenSurvey::doubleClickLine(int row)
{
    QListWidget *list = form<frmOpenSurvey>().Batch_List;
    QListWidgetItem *item = list->item(row);
    QVERIFY(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void tst_frmOpenSurvey::listsStoredSurveysInOrder()
{
    m_folder->store({QStringLiteral("052401-B"), QStringLiteral("05/24/2001"),
                     QStringLiteral("09:30"), QStringLiteral("Oak Avenue")});
    m_folder->store({QStringLiteral("052401-A")});
    frmOpenSurvey &window = showOpenSurvey();
    QCOMPARE(window.windowTitle(), QStringLiteral("Open / Select Survey"));
    QCOMPARE(window.Batch_List->count(), 2);
    QCOMPARE(window.Batch_List->item(0)->text(),
             QStringLiteral("052401-A         05/24/2001     13:45        Main Street"));
    QCOMPARE(window.Batch_List->item(1)->text(),
             QStringLiteral("052401-B         05/24/2001     09:30        Oak Avenue"));
    QCOMPARE(window.Command2->text(), QStringLiteral("Name"));
    QCOMPARE(window.Command3->text(), QStringLiteral("Date"));
    QCOMPARE(window.Command4->text(), QStringLiteral("Time"));
    QCOMPARE(window.Command5->text(), QStringLiteral("Location / Description"));
    QCOMPARE(window.Command6->text(), QStringLiteral("Open Selected"));
    QCOMPARE(window.Command1->text(), QStringLiteral("Cancel"));
    // The first survey stands selected, ready to open.
    QCOMPARE(window.Batch_List->currentRow(), 0);
    QVERIFY(window.Batch_List->item(0)->isSelected());
    QVERIFY(window.Command6->isEnabled());
    // The headings do nothing.
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    QVERIFY(window.isVisible());
    QCOMPARE(window.Batch_List->count(), 2);
}

void tst_frmOpenSurvey::doubleClickOpensSecondOfTwoSimilarSurveys()
{
    m_folder->store({QStringLiteral("052401-A"), QStringLiteral("05/24/2001"),
                     QStringLiteral("13:45"), QStringLiteral("Main Street"), u"MPH"_s, 120});
    m_folder->store({QStringLiteral("052401-B"), QStringLiteral("05/24/2001"),
                     QStringLiteral("13:45"), QStringLiteral("Oak Avenue"), u"KPH"_s, 240});
    frmOpenSurvey &window = showOpenSurvey();
    frmRoadtally &main = form<frmRoadtally>();
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-A"));

    doubleClickLine(1);

    QVERIFY(!window.isVisible());
    QCOMPARE(window.BatchChoice->text(), QStringLiteral("052401-B"));
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    QCOMPARE(main.Data2->text(u"Location"_s), QStringLiteral("Oak Avenue"));
    QCOMPARE(main.Data3->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    QCOMPARE(main.Data3->field(u"Total_Vehicles"_s).toInt(), 240);
    // The bound labels follow: batch number, location, total surveyed.
    QCOMPARE(main.summary->Label7.value(4)->text(), QStringLiteral("052401-B"));
    QCOMPARE(main.summary->Label10->text(), QStringLiteral("Oak Avenue"));
    QCOMPARE(main.summary->Label1.value(21)->text(), QStringLiteral("240"));
    QCOMPARE(main.summary->Radar_Mode->text(), QStringLiteral("KPH"));
    // The main window is usable on the survey.
    QVERIFY(main.isEnabled());
    QVERIFY(main.SSTab->isEnabled());
    QVERIFY(main.summary->FrameS->isVisibleTo(&main));
    QVERIFY(main.m4->isEnabled());
    QCOMPARE(main.summary->PaceCaption[2]->text(), QStringLiteral("10 KPH Pace"));
    QVERIFY(main.summary->Option1[0]->isChecked());
    QVERIFY(main.speeds->direction[3]->isChecked());
    QVERIFY(main.volume->option4[2]->isChecked());
    QVERIFY(main.percentile->direction[3]->isChecked());
    QVERIFY(main.fifteen->option7[2]->isChecked());
}

void tst_frmOpenSurvey::clickThenOpenSelected()
{
    m_folder->store({QStringLiteral("052401-A")});
    m_folder->store({QStringLiteral("052401-B"), QStringLiteral("05/24/2001"),
                     QStringLiteral("13:45"), QStringLiteral("Oak Avenue")});
    frmOpenSurvey &window = showOpenSurvey();
    frmRoadtally &main = form<frmRoadtally>();

    clickLine(1);
    // The sources move at once; the choice is cut to the batch number.
    QVERIFY(window.isVisible());
    QVERIFY(window.Command6->isEnabled());
    QCOMPARE(window.BatchChoice->text(), QStringLiteral("052401-B"));
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    QVERIFY(!main.isEnabled());

    QTest::mouseClick(window.Command6, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.Command6->isEnabled());
    QVERIFY(main.isEnabled());
    QCOMPARE(main.Data3->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
}

void tst_frmOpenSurvey::unmatchedChoiceKeepsCurrentSurvey()
{
    m_folder->store({QStringLiteral("052401-A")});
    m_folder->store({QStringLiteral("052401-B")});
    frmOpenSurvey &window = showOpenSurvey();
    frmRoadtally &main = form<frmRoadtally>();
    clickLine(1);
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    // A typed choice that names no survey leaves both sources where they stood.
    window.BatchChoice->setText(QStringLiteral("999999-Q"));
    QTest::mouseClick(window.Command6, Qt::LeftButton);
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    QCOMPARE(main.Data3->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
}

void tst_frmOpenSurvey::keysChooseLikeClicks()
{
    m_folder->store({QStringLiteral("052401-A")});
    m_folder->store({QStringLiteral("052401-B")});
    frmOpenSurvey &window = showOpenSurvey();
    frmRoadtally &main = form<frmRoadtally>();
    // Showing the list selects its first line in this window; the main window's
    // sources stay where they stood until a line is clicked or opened.
    main.Data2->findFirst(QStringLiteral("Batch_Number"), QStringLiteral("052401-B"));
    window.hide();
    window.show();
    window.Batch_List->setFocus();
    QApplication::processEvents();
    QVERIFY(window.Command6->isEnabled());
    QCOMPARE(window.BatchChoice->text(), QStringLiteral("052401-A"));
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    clickLine(0);
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-A"));
    QTest::keyClick(window.Batch_List, Qt::Key_Down);
    QCOMPARE(window.BatchChoice->text(), QStringLiteral("052401-B"));
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    QTest::keyClick(window.Batch_List, Qt::Key_Up);
    QCOMPARE(main.Data3->text(u"Batch_Number"_s), QStringLiteral("052401-A"));
}

void tst_frmOpenSurvey::cancelShowsStartPanel()
{
    m_folder->store({QStringLiteral("052401-A")});
    m_folder->store({QStringLiteral("052401-B")});
    frmOpenSurvey &window = showOpenSurvey();
    frmRoadtally &main = form<frmRoadtally>();
    main.splashframe->hide(); // the open command from the start panel hides it
    clickLine(1);

    QTest::mouseClick(window.Command1, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(main.splashframe->isVisibleTo(&main));
    // The sources stay on whatever the click chose.
    QCOMPARE(main.Data2->text(u"Batch_Number"_s), QStringLiteral("052401-B"));
    QVERIFY(!main.m4->isEnabled());
}

void tst_frmOpenSurvey::surveyStoredWhileHiddenIsListed()
{
    m_folder->store({QStringLiteral("052401-A")});
    frmOpenSurvey &window = showOpenSurvey();
    QCOMPARE(window.Batch_List->count(), 1);
    QTest::mouseClick(window.Command1, Qt::LeftButton);

    m_folder->store({QStringLiteral("052501-A"), QStringLiteral("05/25/2001")});
    window.show();
    QCOMPARE(window.Batch_List->count(), 2);
    QVERIFY(window.Batch_List->item(1)->text().startsWith(QStringLiteral("052501-A  ")));

    // Opening it finds it although the main window's sources were read before.
    doubleClickLine(1);
    QCOMPARE(form<frmRoadtally>().Data2->text(u"Batch_Number"_s), QStringLiteral("052501-A"));
}

void tst_frmOpenSurvey::emptyHeaderLeavesOpenDisabled()
{
    frmOpenSurvey &window = showOpenSurvey();
    QCOMPARE(window.Batch_List->count(), 0);
    QTest::mouseClick(window.Batch_List->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(!window.Command6->isEnabled());
    QVERIFY(window.isVisible());
}

void tst_frmOpenSurvey::openDisabledWhenLastSurveyWentAway()
{
    m_folder->store({QStringLiteral("052401-A")});
    frmOpenSurvey &window = showOpenSurvey();
    doubleClickLine(0); // opens; the click before it enabled "Open Selected"
    QVERIFY(window.Command6->isEnabled());
    {
        DatabaseSession session(m_folder->databasePath());
        session.exec(QStringLiteral("DELETE FROM [Header]"));
    }
    window.show();
    QCOMPARE(window.Batch_List->count(), 0);
    QVERIFY(!window.Command6->isEnabled());
}

void tst_frmOpenSurvey::placedBelowCentreAtActivation()
{
    frmOpenSurvey &window = showOpenSurvey();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    // Centred across; down by half of 250 twips.
    const int extra = 250 * window.logicalDpiY() / 1440;
    QCOMPARE(frame.left(), (screen.width() - frame.width()) / 2);
    QCOMPARE(frame.top(), (screen.height() - frame.height() + extra) / 2);
}

// The window only says what happened; it needs no main window to do so.
void tst_frmOpenSurvey::signalsWithoutMainWindow()
{
    m_folder->store({QStringLiteral("052401-A")});
    m_folder->store({QStringLiteral("052401-B")});
    frmOpenSurvey &window = form<frmOpenSurvey>();
    QSignalSpy selected(&window, &frmOpenSurvey::surveySelected);
    QSignalSpy chosen(&window, &frmOpenSurvey::surveyChosen);
    QSignalSpy closed(&window, &frmOpenSurvey::closed);
    window.show();
    clickLine(1);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.at(0).at(0).toString(), QStringLiteral("052401-B"));
    QCOMPARE(chosen.size(), 0);
    QTest::mouseClick(window.Command6, Qt::LeftButton);
    QCOMPARE(selected.size(), 2); // "Open Selected" selects the line again
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("052401-B"));
    QVERIFY(!window.isVisible());

    window.show();
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.at(0).at(0).toBool(), true);
    QCOMPARE(chosen.size(), 1);
    QVERIFY(!formExists<frmRoadtally>());
}

QTEST_MAIN(tst_frmOpenSurvey)
#include "tst_frmOpenSurvey.moc"
