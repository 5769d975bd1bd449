// The main window's printing and export: the Reports menu, the print options
// panel, the print buttons of the tabs, the report the preview builds from
// what the tabs show, and File > Export Study As.

#include "gui/shell/frmRoadtally.h"

#include "core/analysis/DisplayScheme.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/reports/BeforeAfterSpeedStudy.h"
#include "core/reports/DailyVolume_Graph.h"
#include "core/reports/Percent85_Graph.h"
#include "core/reports/Report15min.h"
#include "core/reports/ReportSummary.h"
#include "core/reports/ReportWeekly.h"
#include "core/reports/SpeedProfile.h"
#include "core/reports/SpeedZoneStudy.h"
#include "core/reports/TrafficFlow_Graph.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyDates.h"
#include "gui/compare/CompareSurveys.h"
#include "gui/export/ExportStudyAs.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/Forms.h"
#include "gui/kit/WidgetKit.h"
#include "gui/preview/VSPrint.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/PrintOptionsPanel.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SpeedStudyTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace roadtally {

using namespace kit;

ShownSurvey frmRoadtally::shownSurvey() const
{
    const SurveyAsShown shown = summary->surveyAsShown();
    ShownSurvey s;
    s.batch = shown.facts.batch;
    s.startDate = shown.facts.startDate;
    s.stopDate = shown.facts.endDate;
    s.postedLimit = shown.facts.postedLimit;
    s.radarMode = shown.facts.unit;
    s.pace = shown.statistics.pace;
    s.percentile85 = shown.statistics.percentile85;
    s.startTime = shown.facts.startTime;
    s.stopTime = shown.facts.endTime;
    return s;
}

void frmRoadtally::connectReports()
{
    const auto reader = [this] { return shownSurvey(); };
    speeds->setSurveyReader(reader);
    percentile->setSurveyReader(reader);
    volume->setSurveyReader(reader);
    fifteen->setSurveyReader(reader);
    weekly->setSurveyReader(reader);

    const struct
    {
        QAction *action;
        SpeedChartTab *tab;
        SurveyDirection direction;
    } charts[] = {
        {mnuDailyTrafficApproaching, speeds, SurveyDirection::Approaching},
        {mnuDailyTrafficReceeding, speeds, SurveyDirection::Receding},
        {mnuDailyTrafficBoth, speeds, SurveyDirection::Both},
        {mnu85percentApproach, percentile, SurveyDirection::Approaching},
        {mnu85PercentReceed, percentile, SurveyDirection::Receding},
        {mnu85PercentBoth, percentile, SurveyDirection::Both},
    };
    for (const auto &c : charts)
        connect(c.action, &QAction::triggered, this,
                [this, tab = c.tab, direction = c.direction] { chartMenu(tab, direction); });
    connect(mnuWeeklySummary, &QAction::triggered, this, &frmRoadtally::mnuWeeklySummary_Click);
    // Beyond the original menu: the speed zone study of the Speed Study tab's direction.
    mnuSpeedStudy = m4->addAction(QStringLiteral("Speed &Zone Study"));
    mnuSpeedStudy->setObjectName(QStringLiteral("mnuSpeedStudy"));
    connect(mnuSpeedStudy, &QAction::triggered, this,
            [this] { printButton(ReportKind::SpeedZoneStudy); });
    connect(study, &SpeedStudyTab::printRequested, this, &frmRoadtally::printButton);
    // Beyond the original menu: two surveys of a site before and after a measure.
    mnuCompareSurveys = m4->addAction(QStringLiteral("&Compare Surveys..."));
    mnuCompareSurveys->setObjectName(QStringLiteral("mnuCompareSurveys"));
    connect(mnuCompareSurveys, &QAction::triggered, this, &frmRoadtally::showCompareSurveys);
    connect(mnuSummary, &QAction::triggered, this,
            [this] { openPrintOptions(PrintOptionsPanel::SummaryMode); });
    connect(mnuDailyVolume, &QAction::triggered, this,
            [this] { openPrintOptions(PrintOptionsPanel::DailyVolumeMode); });
    connect(mnu15Minute, &QAction::triggered, this,
            [this] { openPrintOptions(PrintOptionsPanel::FifteenMinuteMode); });
    connect(printOptions, &PrintOptionsPanel::directionChosen, this,
            &frmRoadtally::printOptionDirection);
    connect(printOptions, &PrintOptionsPanel::entryChosen, this, &frmRoadtally::printOptionEntry);
    connect(printOptions, &PrintOptionsPanel::printSelected, this, [this](ReportKind report) {
        SSTab->setEnabled(true);
        menuBar()->setEnabled(true);
        // The main window stays enabled behind this preview.
        showPreview(report);
    });
}

// ---------------------------------------------------------------------------
// Export: enabled while a survey is shown; the second item writes CSV files
// (there is no other database format to write here).

void frmRoadtally::connectExport()
{
    mnuAccess->setText(QStringLiteral("CSV Files"));
    const auto exportAs = [this](ExportKind kind) {
        exportStudyAs(this, sharedState().deriveDatabasePath(), summary->batch(), kind);
    };
    connect(mnuExcel, &QAction::triggered, this, [exportAs] { exportAs(ExportKind::Excel); });
    connect(mnuAccess, &QAction::triggered, this, [exportAs] { exportAs(ExportKind::Csv); });
}

// ---------------------------------------------------------------------------
// Reports menu

CompareSurveys &frmRoadtally::compareSurveysWindow()
{
    if (!m_compare)
        m_compare = std::make_unique<CompareSurveys>();
    CompareSurveys &w = *m_compare;
    // The preview shows the comparison the window shows; this window stays
    // disabled until the preview closes.
    connect(&w, &CompareSurveys::printRequested, this, &frmRoadtally::compareSurveysPrintRequested,
            Qt::UniqueConnection);
    connect(&w, &CompareSurveys::closed, this, &frmRoadtally::returnFromChild,
            Qt::UniqueConnection);
    return w;
}

void frmRoadtally::compareSurveysPrintRequested()
{
    printButton(ReportKind::BeforeAfterSpeedStudy);
}

void frmRoadtally::showCompareSurveys()
{
    setEnabled(false);
    compareSurveysWindow().open(sharedState().deriveDatabasePath(), summary->batch());
}

void frmRoadtally::chartMenu(SpeedChartTab *tab, SurveyDirection direction)
{
    if (!tab->prepareReport(direction))
        return;
    printButton(tab->report());
}

void frmRoadtally::mnuWeeklySummary_Click()
{
    setEnabled(false);
    if (!weekly->calculateWeeklyTotals()) {
        setEnabled(true);
        return;
    }
    printButton(ReportKind::Weekly);
}

void frmRoadtally::openPrintOptions(const QString &mode)
{
    QStringList entries;
    if (mode == PrintOptionsPanel::SummaryMode) {
        entries = summary->schemeNames();
    } else {
        const QString batch = summary->batch();
        if (!withSurveyDatabase(
                this, [&](DatabaseSession &session) { entries = surveyDates(session, batch); }))
            return;
    }
    // While the panel is up it is the only way on: no menu command can change
    // the survey or the view behind it.
    SSTab->setEnabled(false);
    menuBar()->setEnabled(false);
    printOptions->open(mode, entries);
    placeOverlays();
}

void frmRoadtally::printOptionDirection(int index)
{
    // The tabs are disabled while the panel is open, so the option is selected
    // and its click step run here rather than through a click.
    const QString mode = printOptions->mode();
    const auto direction = static_cast<SurveyDirection>(index);
    if (mode == PrintOptionsPanel::SummaryMode)
        summary->selectDirection(direction);
    else if (mode == PrintOptionsPanel::DailyVolumeMode)
        volume->selectDirection(direction);
    else if (mode == PrintOptionsPanel::FifteenMinuteMode)
        fifteen->selectDirection(direction);
}

void frmRoadtally::printOptionEntry(const QString &entry)
{
    const QString mode = printOptions->mode();
    const int index = printOptions->chosenDirection();
    const SurveyDirection direction =
        index < 0 ? SurveyDirection::Both : static_cast<SurveyDirection>(index);
    bool ready = true;
    if (mode == PrintOptionsPanel::SummaryMode)
        ready = summary->prepareReport(entry);
    else if (mode == PrintOptionsPanel::DailyVolumeMode)
        ready = volume->prepareReport(direction, entry);
    else if (mode == PrintOptionsPanel::FifteenMinuteMode)
        ready = fifteen->prepareReport(direction, entry);
    printOptions->setPrintable(ready);
}

// ---------------------------------------------------------------------------
// The preview

void frmRoadtally::printButton(ReportKind report)
{
    setEnabled(false);
    showPreview(report);
}

void frmRoadtally::showPreview(ReportKind report)
{
    auto *preview = new VSPrint;
    connect(preview, &VSPrint::closed, this, [this] {
        // A comparison printed from its window goes back to that window; this
        // one waits until it closes.
        if (m_compare && m_compare->isVisible()) {
            m_compare->activateWindow();
            return;
        }
        returnFromChild(false);
    });
    preview->showReport(report, [this, report](DocumentEngine &vp) { buildReport(report, vp); });
}

ReportFrame frmRoadtally::reportFrame(DatabaseSession &session) const
{
    ReportFrame frame = readReportFrame(session, summary->officer());
    frame.agency = summary->agency();
    return frame;
}

ChartReportInput frmRoadtally::chartReportInput(DatabaseSession &session) const
{
    const SurveyAsShown shown = summary->surveyAsShown();
    ChartReportInput in;
    in.frame = reportFrame(session);
    in.facts = shown.facts;
    in.totals = shown.totals;
    in.statistics = shown.statistics;
    in.statisticsDirection = summary->summaryReport().direction;
    return in;
}

void frmRoadtally::buildReport(ReportKind report, DocumentEngine &vp) const
{
    DatabaseSession session(sharedState().deriveDatabasePath());
    session.requireOpen(); // throws with the kind of fault, for the preview's message
    switch (report) {
    case ReportKind::Percentile85: {
        ChartReportInput in = chartReportInput(session);
        in.chart = speedChartForPage(percentile->chart().data);
        Percent85_Graph(vp, in);
        break;
    }
    case ReportKind::TrafficFlow: {
        ChartReportInput in = chartReportInput(session);
        in.chart = speedChartForPage(speeds->chart().data);
        TrafficFlow_Graph(vp, in);
        break;
    }
    case ReportKind::Summary: {
        ReportSummaryInput in = summary->summaryReport();
        in.frame = reportFrame(session);
        ReportSummary(vp, in);
        break;
    }
    case ReportKind::FifteenMinute: {
        Report15minInput in = fifteen->reportInput();
        in.frame = reportFrame(session);
        in.facts = summary->surveyAsShown().facts;
        if (in.direction)
            in.rows = fifteenMinuteRows(session, in.facts.batch, in.chosenDate, *in.direction);
        Report15min(vp, in);
        break;
    }
    case ReportKind::DailyVolume: {
        DailyVolumeChartInput in;
        static_cast<ChartReportInput &>(in) = chartReportInput(session);
        in.chart = volumeChartForPage(volume->chart().data);
        in.direction = volume->reportDirection();
        in.date = volume->chosenDate();
        DailyVolume_Graph(vp, in);
        break;
    }
    case ReportKind::Weekly: {
        ReportWeeklyInput in;
        in.frame = reportFrame(session);
        in.facts = summary->surveyAsShown().facts;
        fillFromGrid(in, weekly->grid());
        ReportWeekly(vp, in);
        break;
    }
    case ReportKind::SpeedProfile: {
        const SurveyAsShown shown = summary->surveyAsShown();
        SpeedProfileInput in;
        in.batch = shown.facts.batch;
        in.startDate = shown.facts.startDate;
        in.endDate = shown.facts.endDate;
        in.bandHeadings = shown.statistics.bandHeadings;
        in.postedLimit = shown.facts.postedLimit;
        in.unit = shown.facts.unit;
        in.rows = speedProfileRows(session, in.batch, shown.direction);
        SpeedProfile(vp, in);
        break;
    }
    case ReportKind::SpeedZoneStudy: {
        // The study of the Speed Study tab's direction; the facts as this window shows them.
        const SurveyAsShown shown = summary->surveyAsShown();
        std::optional<SpeedZoneStudyInput> in = readSpeedZoneStudyInput(
            session, shown.facts.batch, study->direction(), summary->officer());
        if (!in)
            break;
        in->frame = reportFrame(session);
        in->facts = shown.facts;
        SpeedZoneStudy(vp, *in);
        break;
    }
    case ReportKind::BeforeAfterSpeedStudy: {
        // The comparison the Compare Surveys window shows.
        if (!m_compare || !m_compare->comparison())
            break;
        BeforeAfterStudyInput in =
            readBeforeAfterStudyInput(session, *m_compare->comparison(), summary->officer());
        in.frame = reportFrame(session);
        BeforeAfterSpeedStudy(vp, in);
        break;
    }
    }
}

} // namespace roadtally
