// The survey tabs driven as a user drives them, on a generated three-day
// survey: each click must put on screen exactly what the view's computation
// gives for the same survey, date and direction (the computations are checked
// against worked examples in their own tests).

#include "fixtures/SampleImport.h"
#include "sample/SampleSurvey.h"

#include "core/analysis/DailyVolume.h"
#include "core/analysis/FifteenMinute.h"
#include "core/analysis/SpeedCharts.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/reports/PageDump.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "gui/preview/VSPrint.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/GraphView.h"
#include "gui/shell/PrintOptionsPanel.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"
#include "gui/shell/frmRoadtally.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

void choose(QComboBox *combo, const QString &text)
{
    const int i = combo->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
    Q_EMIT combo->activated(i);
}

// The text of the message box a handler left open ("" when none), closed.
QString takeMessage()
{
    QString text;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
            text = box->text();
            box->done(QMessageBox::Ok);
        }
    return text;
}

void compareChart(const ChartData &shown, const ChartSeries &expected)
{
    const ChartData want = chartData(expected);
    QCOMPARE(shown.values, want.values);
    QCOMPARE(shown.labels, want.labels);
    QCOMPARE(shown.colours, want.colours);
    QCOMPARE(shown.bottomTitle, want.bottomTitle);
}

const char *directionName(SurveyDirection d)
{
    return d == SurveyDirection::Approaching ? "approaching"
           : d == SurveyDirection::Receding  ? "receding"
                                             : "both";
}

} // namespace

class tst_SurveyTabs : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_batch;
    QStringList m_dates;
    std::unique_ptr<frmRoadtally> m_window;

    frmRoadtally &window() { return *m_window; }

    DatabaseSession session() { return DatabaseSession(sharedState().deriveDatabasePath()); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        sharedState().setProgramFolder(m_dir.path());
        SampleOptions options;
        options.vehicles = 2500;
        options.days = 3;
        options.startDate = QDate(2025, 12, 30); // across a year end
        const ImportedSurvey survey =
            importSample(m_dir.path(), options, QStringLiteral("Maple Avenue"));
        QCOMPARE(survey.error, QString());
        m_batch = survey.batch;

        m_window = std::make_unique<frmRoadtally>();
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->show();
        m_window->surveySelected(m_batch);
        m_window->surveyChosen(m_batch);
        QCOMPARE(takeMessage(), QString());
        m_window->SSTab->setCurrentIndex(1); // a tab change fills the date lists
        for (int i = 0; i < window().volume->DateVolume->count(); ++i)
            m_dates << window().volume->DateVolume->itemText(i);
        QCOMPARE(m_dates.size(), 4); // three days from a quarter to two: four dates
    }

    void init() { sharedState().setProgramFolder(m_dir.path()); }

    // A failed case leaves no preview behind to disable the next one.
    void cleanup()
    {
        if (VSPrint *preview = openPreview())
            preview->close();
        takeMessage();
        QTRY_VERIFY(window().isEnabled());
    }

    void speedCharts_data()
    {
        QTest::addColumn<bool>("percentile");
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("blackWhite");
        for (bool percentile : {false, true})
            for (int option : {3, 4, 5})
                for (bool bw : {false, true})
                    QTest::addRow("%s-%d-%s", percentile ? "85th" : "speeds", option,
                                  bw ? "bw" : "colour")
                        << percentile << option << bw;
    }

    void speedCharts()
    {
        QFETCH(bool, percentile);
        QFETCH(int, option);
        QFETCH(bool, blackWhite);
        frmRoadtally &w = window();
        SpeedChartTab *tab = percentile ? w.percentile : w.speeds;
        w.SSTab->setCurrentIndex(0);
        w.SSTab->setCurrentWidget(tab); // a tab change keeps the chart, and its print button
        QVERIFY(tab->isCurrent() && tab->printGraph->isEnabled());
        (blackWhite ? tab->PrinterBW : tab->PrinterColor)->click();
        tab->direction[option]->click();

        const SpeedChartResult want =
            speedChart(percentile,
                       option == 5   ? SurveyDirection::Approaching
                       : option == 4 ? SurveyDirection::Receding
                                     : SurveyDirection::Both,
                       blackWhite ? PrinterMode::BlackWhite : PrinterMode::Color);
        compareChart(tab->graph->graph().drawnData(), want.chart);
        QVERIFY(tab->graph->isVisible());
        QCOMPARE(tab->title->text(), want.title);
        QVERIFY(tab->printGraph->isEnabled());
    }

    // Opening a survey draws both speed charts: printable on the first visit.
    void chartsPrintableOnFirstOpening_data()
    {
        QTest::addColumn<bool>("percentile");
        QTest::newRow("vehicle speeds") << false;
        QTest::newRow("85th percentile") << true;
    }
    void chartsPrintableOnFirstOpening()
    {
        QFETCH(bool, percentile);
        frmRoadtally &w = window();
        w.SSTab->setCurrentIndex(0);
        w.surveyChosen(m_batch);
        QCOMPARE(takeMessage(), QString());
        SpeedChartTab *tab = percentile ? w.percentile : w.speeds;
        w.SSTab->setCurrentWidget(tab);
        QVERIFY(tab->graph->isVisible());
        QVERIFY(tab->printGraph->isEnabled());
        compareChart(tab->graph->graph().drawnData(),
                     speedChart(percentile, SurveyDirection::Both, tab->printerMode()).chart);
    }

    // The printer mode shows at once, and the print is what is shown.
    void printerModeAtOnce_data() { chartsPrintableOnFirstOpening_data(); }
    void printerModeAtOnce()
    {
        QFETCH(bool, percentile);
        frmRoadtally &w = window();
        SpeedChartTab *tab = percentile ? w.percentile : w.speeds;
        w.SSTab->setCurrentWidget(tab);
        tab->PrinterColor->click();
        tab->direction[4]->click();
        for (PrinterMode mode : {PrinterMode::BlackWhite, PrinterMode::Color}) {
            (mode == PrinterMode::BlackWhite ? tab->PrinterBW : tab->PrinterColor)->click();
            const SpeedChartResult want = speedChart(percentile, SurveyDirection::Receding, mode);
            compareChart(tab->graph->graph().drawnData(), want.chart);
            compareChart(tab->chart().data, want.chart); // what the report prints
            QVERIFY(tab->printGraph->isEnabled());
        }
    }

    // A print button follows its view, on every tab: enabled while the view
    // shows a current chart or table (a tab change keeps it), disabled once a
    // choice leaves the view without one.
    void printFollowsView_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::newRow("summary: a scheme, then the prompt") << 0 << "Command6";
        QTest::newRow("volume: a date, then another direction") << 2 << "Command5";
        QTest::newRow("fifteen: a date, then another direction") << 4 << "Command7";
        QTest::newRow("weekly: the totals, then the survey opened again") << 5 << "Command3";
    }
    void printFollowsView()
    {
        QFETCH(int, tab);
        QFETCH(QString, button);
        frmRoadtally &w = window();
        auto *print = w.findChild<QPushButton *>(button);
        QVERIFY(print);
        w.SSTab->setCurrentIndex(tab == 0 ? 1 : 0);
        w.SSTab->setCurrentIndex(tab);
        switch (tab) {
        case 0:
            w.Form_Activate(); // the scheme list
            w.summary->Option1[0]->click();
            choose(w.summary->Combo1, w.summary->schemeNames().at(1));
            break;
        case 2:
            w.volume->option4[0]->click();
            choose(w.volume->DateVolume, m_dates[1]);
            break;
        case 4:
            w.fifteen->option7[0]->click();
            choose(w.fifteen->Date15min, m_dates[1]);
            break;
        case 5:
            w.weekly->Command8->click();
            break;
        }
        QCOMPARE(takeMessage(), QString());
        QVERIFY(print->isEnabled());
        w.SSTab->setCurrentIndex(tab == 0 ? 1 : 0);
        w.SSTab->setCurrentIndex(tab);
        QVERIFY2(print->isEnabled(), "a tab change keeps the view");
        if (tab == 2)
            QCOMPARE(w.volume->DateVolume->currentText(), m_dates[1]);

        switch (tab) {
        case 0:
            w.summary->Combo1->setEditText(QStringLiteral("** Select Display Scheme **"));
            w.summary->Combo1_Click();
            QCOMPARE(w.summary->Label2[0]->text(), QString());
            break;
        case 2:
            w.volume->option4[1]->click();
            QVERIFY(!w.volume->Graph2->isVisible() && !w.volume->Label12->isVisible());
            break;
        case 4:
            w.fifteen->option7[1]->click();
            QVERIFY(!w.fifteen->Flex2->isVisible());
            break;
        case 5:
            w.surveyChosen(m_batch);
            QCOMPARE(w.weekly->Split[0]->text(), QStringLiteral("*"));
            break;
        }
        QCOMPARE(takeMessage(), QString());
        QVERIFY(!print->isEnabled());
        w.SSTab->setCurrentIndex(tab == 0 ? 1 : 0);
        w.SSTab->setCurrentIndex(tab);
        QVERIFY(!print->isEnabled());
    }

    // Printing the summary and closing the preview leaves the main window as
    // it was: the scheme chosen, its table, Print Report, and the next report
    // names the scheme.
    void previewClosingKeepsScheme()
    {
        frmRoadtally &w = window();
        w.SSTab->setCurrentIndex(0);
        w.Form_Activate();
        w.summary->Option1[2]->click();
        const QString scheme = w.summary->schemeNames().at(2);
        choose(w.summary->Combo1, scheme);
        QStringList table;
        for (int i = 0; i <= 25; ++i)
            table << w.summary->Label2[i]->text();
        QVERIFY(!table.first().isEmpty());
        for (int pass = 0; pass < 2; ++pass) {
            QVERIFY(w.summary->Command6->isEnabled());
            w.summary->Command6->click();
            VSPrint *preview = nullptr;
            QTRY_VERIFY((preview = openPreview()) && preview->pageCount() >= 1);
            QVERIFY(dumpPage(preview->document(), 0)
                        .contains(QStringLiteral("Display Scheme: ") + scheme));
            closePreview(w);
            w.Form_Activate(); // the step the window runs when it is active again
            QCOMPARE(w.summary->Combo1->currentText(), scheme);
            QStringList after;
            for (int i = 0; i <= 25; ++i)
                after << w.summary->Label2[i]->text();
            QCOMPARE(after, table);
        }
    }

    void dailyVolume_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("date");
        for (int option = 0; option < 3; ++option)
            for (int date = 0; date < 4; ++date)
                QTest::addRow("%s-%d", directionName(SurveyDirection(option)), date)
                    << option << date;
    }

    void dailyVolume()
    {
        QFETCH(int, option);
        QFETCH(int, date);
        frmRoadtally &w = window();
        DailyVolumeTab *tab = w.volume;
        w.SSTab->setCurrentIndex(0);
        w.SSTab->setCurrentWidget(tab);
        tab->option4[option]->click();
        QVERIFY(!tab->Graph2->isVisible());
        QVERIFY(!tab->Label12->isVisible());
        QVERIFY(tab->DateVolume->isVisible());
        QCOMPARE(tab->DateVolume->currentText(), QStringLiteral("**Select a Date**"));
        QVERIFY(!tab->Command5->isEnabled());

        choose(tab->DateVolume, m_dates[date]);
        DatabaseSession s = session();
        const DailyVolumeResult want =
            roadtally::dailyVolume(s, {m_batch, m_dates[date], SurveyDirection(option)});
        QCOMPARE(takeMessage(), QString());
        compareChart(tab->Graph2->graph().drawnData(), want.chart);
        QVERIFY(tab->Graph2->isVisible());
        QVERIFY(tab->Label12->isVisible() && tab->AM->isVisible() && tab->PM->isVisible());
        QCOMPARE(tab->Label12->text(), want.title);
        QCOMPARE(tab->DChoice->text(), m_dates[date]);
        QVERIFY(tab->Command5->isEnabled());
    }

    void fifteenMinute_data() { dailyVolume_data(); }

    void fifteenMinute()
    {
        QFETCH(int, option);
        QFETCH(int, date);
        frmRoadtally &w = window();
        FifteenMinuteTab *tab = w.fifteen;
        w.SSTab->setCurrentWidget(tab);
        tab->option7[option]->click();
        QVERIFY(!tab->Flex2->isVisible());
        QVERIFY(!tab->AMAnalysis->isVisible());
        choose(tab->Date15min, m_dates[date]);

        DatabaseSession s = session();
        const FifteenMinuteResult want =
            roadtally::fifteenMinute(s, {m_batch, m_dates[date], SurveyDirection(option)});
        QVERIFY(tab->Flex2->isVisible() && tab->AMAnalysis->isVisible());
        QCOMPARE(tab->Flex2->columnCount(), int(want.layout.headers.size()));
        QCOMPARE(tab->Flex2->rowCount(), int(want.rows.size()));
        for (int c = 0; c < want.layout.headers.size(); ++c)
            QCOMPARE(tab->Flex2->horizontalHeaderItem(c)->text(), want.layout.headers[c]);
        for (int r = 0; r < want.rows.size(); ++r)
            for (int c = 0; c < want.layout.headers.size(); ++c)
                QCOMPARE(tab->Flex2->item(r, c)->text(), want.rows[r].value(c));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(tab->Label21[i]->text(), want.label21.value(i));
        QCOMPARE(tab->DateChoice->text(), m_dates[date]);
        QVERIFY(tab->Command7->isEnabled());
        // The grid is as wide as its columns: the both-directions grid is the wider.
        QVERIFY(tab->Flex2->viewport()->width() >= tab->Flex2->horizontalHeader()->length() - 1);
    }

    void weeklyTotals()
    {
        frmRoadtally &w = window();
        w.SSTab->setCurrentWidget(w.weekly);
        w.weekly->ClearWeekData();
        const WeeklyGrid before = w.weekly->grid();
        w.weekly->Command8->click();
        QCOMPARE(takeMessage(), QString());
        DatabaseSession s = session();
        const WeeklyResult want = weeklyGridOfSurvey(s, m_batch);
        QVERIFY(want.computed());
        QVERIFY(w.weekly->grid() == want.grid);
        QVERIFY(!(w.weekly->grid() == before));
        QVERIFY(w.weekly->Command3->isEnabled());
    }

    // Without dates to read, the grid stays exactly as it was and the user is told.
    void weeklyWithoutSurvey()
    {
        frmRoadtally &w = window();
        w.weekly->Command8->click();
        const WeeklyGrid computed = w.weekly->grid();
        const QString start = w.summary->Label7[0]->text();
        w.summary->Label7[0]->setText(QString());
        w.weekly->Command8->click();
        w.summary->Label7[0]->setText(start);
        QVERIFY(!takeMessage().isEmpty());
        QVERIFY(w.weekly->grid() == computed);
    }

    // A Reports-menu chart command draws its chart even with another tab shown.
    void chartMenuOffTab_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("percentile");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("selector");
        QTest::newRow("speeds receding") << "mnuDailyTrafficReceeding" << false << 1 << 2;
        QTest::newRow("85th approaching") << "mnu85percentApproach" << true << 0 << 1;
        QTest::newRow("85th both") << "mnu85PercentBoth" << true << 2 << 1;
    }

    void chartMenuOffTab()
    {
        QFETCH(QString, action);
        QFETCH(bool, percentile);
        QFETCH(int, direction);
        QFETCH(int, selector);
        frmRoadtally &w = window();
        w.SSTab->setCurrentIndex(0);
        w.findChild<QAction *>(action)->trigger();
        SpeedChartTab *tab = percentile ? w.percentile : w.speeds;
        QCOMPARE(tab->graph->graph().drawnData().bottomTitle,
                 speedChartBottomTitle(SurveyDirection(direction)));
        QTRY_VERIFY(openPreview() != nullptr);
        QCOMPARE(int(openPreview()->report()), selector);
        closePreview(w);
    }

    // The print options panel prepares the view behind the report.
    void printOptions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("selector");
        QTest::newRow("summary") << "mnuSummary" << 3;
        QTest::newRow("daily volume") << "mnuDailyVolume" << 5;
        QTest::newRow("fifteen") << "mnu15Minute" << 4;
    }

    void printOptions()
    {
        QFETCH(QString, action);
        QFETCH(int, selector);
        frmRoadtally &w = window();
        PrintOptionsPanel *panel = w.printOptions;
        w.SSTab->setCurrentIndex(0); // print buttons disabled
        w.findChild<QAction *>(action)->trigger();
        QVERIFY(panel->isVisible());
        QVERIFY(!w.SSTab->isEnabled());
        QVERIFY(!panel->Combo2->isEnabled());
        QCOMPARE(panel->chosenDirection(), -1);
        const bool summaryMode = selector == 3;
        QCOMPARE(panel->Combo2->currentText(), summaryMode
                                                   ? QStringLiteral("** Select Display Scheme **")
                                                   : QStringLiteral("** Select a Date **"));
        QCOMPARE(panel->Combo2->count(), summaryMode ? 4 : m_dates.size());

        const QString tabChoice = w.volume->DChoice->text();
        panel->PrintOptionR->click();
        QVERIFY(panel->Combo2->isEnabled());
        QVERIFY(!panel->PrintSelection->isEnabled());
        const QString entry = panel->Combo2->itemText(summaryMode ? 1 : 2);
        choose(panel->Combo2, entry);
        QCOMPARE(takeMessage(), QString());
        QVERIFY(panel->PrintSelection->isEnabled());
        DatabaseSession s = session();
        if (summaryMode) {
            QVERIFY(w.summary->Option1[1]->isChecked());
            QCOMPARE(w.summary->Combo1->currentText(), entry);
            QVERIFY(!w.summary->Command6->isEnabled());
        } else if (selector == 5) {
            QVERIFY(w.volume->option4[1]->isChecked());
            const DailyVolumeResult want =
                roadtally::dailyVolume(s, {m_batch, entry, SurveyDirection::Receding});
            compareChart(w.volume->Graph2->graph().drawnData(), want.chart);
            QVERIFY(!w.volume->Command5->isEnabled());
            QCOMPARE(w.volume->DChoice->text(), tabChoice);
        } else {
            QVERIFY(w.fifteen->option7[1]->isChecked());
            QCOMPARE(w.fifteen->DateChoice->text(), entry);
            const FifteenMinuteResult want =
                roadtally::fifteenMinute(s, {m_batch, entry, SurveyDirection::Receding});
            QCOMPARE(w.fifteen->Label21[0]->text(), want.label21.value(0));
            QVERIFY(!w.fifteen->Command7->isEnabled());
        }
        // A direction chosen again waits for a new choice.
        panel->PrintOptionA->click();
        QVERIFY(!panel->PrintSelection->isEnabled());
        choose(panel->Combo2, entry);
        panel->PrintSelection->click();
        QVERIFY(!panel->isVisible());
        QVERIFY(w.SSTab->isEnabled());
        QTRY_VERIFY(openPreview() != nullptr);
        QCOMPARE(int(openPreview()->report()), selector);
        QVERIFY(w.isEnabled()); // the panel's preview leaves the main window usable
        closePreview(w);
    }

    // Each print button previews its report from what its tab shows.
    void printButtons_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text"); // a text of the first page
        QTest::newRow("speeds") << 1 << "Command4" << m_batch;
        QTest::newRow("volume") << 2 << "Command5" << m_batch;
        QTest::newRow("85th") << 3 << "Command2" << m_batch;
        QTest::newRow("fifteen") << 4 << "Command7"
                                 << "Date: Wednesday, Dec 31";
        QTest::newRow("weekly") << 5 << "Command3"
                                << "Tue-30";
        QTest::newRow("study") << 6 << "printStudy"
                               << "Speed Zone Study";
    }

    void printButtons()
    {
        QFETCH(int, tab);
        QFETCH(QString, button);
        QFETCH(QString, text);
        frmRoadtally &w = window();
        w.SSTab->setCurrentIndex(0);
        w.SSTab->setCurrentIndex(tab);
        // The step that enables the button: a direction, a date, the weekly totals.
        switch (tab) {
        case 1:
            w.speeds->direction[3]->click();
            break;
        case 2:
            w.volume->option4[2]->click();
            choose(w.volume->DateVolume, m_dates[1]);
            break;
        case 3:
            w.percentile->direction[5]->click();
            break;
        case 4:
            w.fifteen->option7[2]->click();
            choose(w.fifteen->Date15min, m_dates[1]);
            break;
        case 5:
            w.weekly->Command8->click();
            break;
        case 6:
            break; // the study was read when the survey was chosen
        }
        auto *print = w.findChild<QPushButton *>(button);
        QVERIFY(print && print->isEnabled());
        print->click();
        QVERIFY(!w.isEnabled());
        VSPrint *preview = nullptr;
        QTRY_VERIFY((preview = openPreview()) && preview->pageCount() >= 1);
        QCOMPARE(takeMessage(), QString());
        QVERIFY2(dumpPage(preview->document(), 0).contains(text), qPrintable(text));
        closePreview(w);
    }

    // The study report from the Reports menu; export offered while a survey is shown.
    void studyAndExportMenus()
    {
        frmRoadtally &w = window();
        QVERIFY(w.mnuSaveStudy->isEnabled());
        QCOMPARE(w.mnuAccess->text(), QStringLiteral("CSV Files"));
        w.mnuSpeedStudy->trigger();
        VSPrint *preview = nullptr;
        QTRY_VERIFY((preview = openPreview()) && preview->pageCount() == 1);
        QVERIFY(dumpPage(preview->document(), 0).contains(QStringLiteral("Speed Zone Study")));
        QCOMPARE(preview->report(), ReportKind::SpeedZoneStudy);
        closePreview(w);
    }

    void closePanel()
    {
        frmRoadtally &w = window();
        w.mnuDailyVolume->trigger();
        w.printOptions->Command11->click();
        QVERIFY(!w.printOptions->isVisible());
        QVERIFY(w.SSTab->isEnabled());
    }

private:
    // The speed chart the tab should show for the survey as the summary shows it.
    SpeedChartResult speedChart(bool percentile, SurveyDirection direction, PrinterMode mode)
    {
        frmRoadtally &w = window();
        SpeedChartInput input;
        input.batch = m_batch;
        input.postedLimit = w.summary->Label7[9]->text();
        input.radarMode = QStringLiteral("MPH");
        input.pace = w.summary->Label2[36]->text();
        input.percentile85 = w.summary->Label2[28]->text();
        input.direction = direction;
        input.mode = mode;
        DatabaseSession s = session();
        return percentile ? percent85Chart(s, input) : trafficFlowChart(s, input);
    }

    static VSPrint *openPreview()
    {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *preview = qobject_cast<VSPrint *>(top); preview && preview->isVisible())
                return preview;
        return nullptr;
    }

    // Closes the report preview, if one was opened; the main window is usable again.
    void closePreview(frmRoadtally &w)
    {
        QTRY_VERIFY(openPreview() != nullptr);
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top != &w && top->isVisible() && !qobject_cast<QMessageBox *>(top))
                top->close();
        QTRY_VERIFY(w.isEnabled());
    }
};

QTEST_MAIN(tst_SurveyTabs)
#include "tst_SurveyTabs.moc"
