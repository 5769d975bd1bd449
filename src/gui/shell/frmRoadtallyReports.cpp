// The main window's printing and export: the Reports menu, the print options
// panel, the print buttons of the tabs, the report the preview builds from
// what the tabs show, and File > Export Study As.

#include "gui/shell/frmRoadtally.h"

#include "core/analysis/ChartSlot.h"
#include "core/analysis/DisplayScheme.h"
#include "core/analysis/WeeklyGrid.h"
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
#include "gui/export/ExportStudyAs.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace roadtally {

using namespace kit;

ShownSurvey frmRoadtally::shownSurvey() const
{
    ShownSurvey s;
    s.batch = summary->Label7[4]->text();
    s.startDate = summary->Label7[0]->text();
    s.stopDate = summary->Label7[1]->text();
    s.postedLimit = summary->Label7[9]->text();
    s.radarMode = summary->Radar_Mode->text();
    s.pace = summary->Label2[36]->text();
    s.percentile85 = summary->Label2[28]->text();
    s.startTime = summary->Label8->text();
    s.stopTime = summary->Label7[3]->text();
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
    connect(mnuSpeedStudy, &QAction::triggered, this, [this] { printButton(8); });
    connect(study, &SpeedStudyTab::printRequested, this, &frmRoadtally::printButton);
    connect(mnuSummary, &QAction::triggered, this,
            [this] { openPrintOptions(PrintOptionsPanel::SummaryMode); });
    connect(mnuDailyVolume, &QAction::triggered, this,
            [this] { openPrintOptions(PrintOptionsPanel::DailyVolumeMode); });
    connect(mnu15Minute, &QAction::triggered, this,
            [this] { openPrintOptions(PrintOptionsPanel::FifteenMinuteMode); });
    connect(printOptions, &PrintOptionsPanel::directionChosen, this,
            &frmRoadtally::printOptionDirection);
    connect(printOptions, &PrintOptionsPanel::entryChosen, this, &frmRoadtally::printOptionEntry);
    connect(printOptions, &PrintOptionsPanel::printSelected, this, [this](int selector) {
        SSTab->setEnabled(true);
        if (selector >= 0)
            sharedState().reportSelector = static_cast<qint16>(selector);
        // The main window stays enabled behind this preview.
        showPreview();
    });
}

// ---------------------------------------------------------------------------
// Export: enabled while a survey is shown; the second item writes CSV files
// (there is no other database format to write here).

void frmRoadtally::connectExport()
{
    mnuAccess->setText(QStringLiteral("CSV Files"));
    const auto exportAs = [this](ExportKind kind) {
        exportStudyAs(this, sharedState().deriveDatabasePath(), summary->Label7[4]->text(), kind);
    };
    connect(mnuExcel, &QAction::triggered, this, [exportAs] { exportAs(ExportKind::Excel); });
    connect(mnuAccess, &QAction::triggered, this, [exportAs] { exportAs(ExportKind::Csv); });
}

// ---------------------------------------------------------------------------
// Reports menu

void frmRoadtally::chartMenu(SpeedChartTab *tab, SurveyDirection direction)
{
    tab->title->setText(tab->titleText());
    if (!tab->drawChart(direction))
        return;
    printButton(tab->names().reportSelector);
}

void frmRoadtally::mnuWeeklySummary_Click()
{
    setEnabled(false);
    if (!weekly->calculateWeeklyTotals()) {
        setEnabled(true);
        return;
    }
    printButton(6);
}

void frmRoadtally::openPrintOptions(const QString &mode)
{
    QStringList entries;
    if (mode == PrintOptionsPanel::SummaryMode) {
        entries = displaySchemeNames(summary->Radar_Mode->text());
    } else {
        const QString batch = summary->Label7[4]->text();
        if (!withSurveyDatabase(
                this, [&](DatabaseSession &session) { entries = surveyDates(session, batch); }))
            return;
    }
    SSTab->setEnabled(false);
    printOptions->open(mode, entries);
    placeOverlays();
}

void frmRoadtally::printOptionDirection(int index)
{
    // The tabs are disabled while the panel is open, so the option is selected
    // and its click step run here rather than through a click.
    const QString mode = printOptions->mode();
    if (mode == PrintOptionsPanel::SummaryMode) {
        summary->Option1[index]->setChecked(true);
        summary->Option1_Click(index);
    } else if (mode == PrintOptionsPanel::DailyVolumeMode) {
        volume->option4[index]->setChecked(true);
        volume->option4_Click();
    } else if (mode == PrintOptionsPanel::FifteenMinuteMode) {
        fifteen->option7[index]->setChecked(true);
        fifteen->option7_Click();
    }
}

void frmRoadtally::printOptionEntry(const QString &entry)
{
    const QString mode = printOptions->mode();
    const int index = printOptions->chosenDirection();
    const SurveyDirection direction =
        index < 0 ? SurveyDirection::Both : static_cast<SurveyDirection>(index);
    bool ready = true;
    if (mode == PrintOptionsPanel::SummaryMode) {
        summary->Combo1->setEditText(entry);
        summary->Combo1_Click();
    } else if (mode == PrintOptionsPanel::DailyVolumeMode) {
        {
            const QSignalBlocker blocker(volume->DateVolume);
            volume->DateVolume->setEditText(entry);
        }
        ready = volume->drawVolumeChart(entry, direction);
    } else if (mode == PrintOptionsPanel::FifteenMinuteMode) {
        {
            const QSignalBlocker blocker(fifteen->Date15min);
            fifteen->Date15min->setEditText(entry);
        }
        fifteen->DateChoice->setText(entry);
        ready = fifteen->showDate(entry, direction);
    }
    printOptions->PrintSelection->setEnabled(ready);
}

// ---------------------------------------------------------------------------
// The preview

void frmRoadtally::printButton(int reportSelector)
{
    sharedState().reportSelector = static_cast<qint16>(reportSelector);
    setEnabled(false);
    showPreview();
}

void frmRoadtally::showPreview()
{
    auto *preview = new VSPrint;
    connect(preview, &VSPrint::closed, this, [this] { returnFromChild(false); });
    preview->showReport([this](DocumentEngine &vp) { buildReport(vp); });
}

ReportFrame frmRoadtally::reportFrame(DatabaseSession &session) const
{
    ReportFrame frame = readReportFrame(session, summary->Officer_Select->currentText());
    frame.agency = summary->Agency->text();
    return frame;
}

SurveyFacts frmRoadtally::reportFacts() const
{
    SurveyFacts f;
    f.batch = summary->Label7[4]->text();
    f.startDate = summary->Label7[0]->text();
    f.endDate = summary->Label7[1]->text();
    f.startTime = summary->Label8->text();
    f.endTime = summary->Label7[3]->text();
    f.totalTime = summary->Label9->text();
    f.zone = summary->Label7[5]->text();
    f.location = summary->Label10->text();
    f.direction = summary->Label7[8]->text();
    f.postedLimit = summary->Label7[9]->text();
    f.unit = summary->Radar_Mode->text();
    return f;
}

ChartReportInput frmRoadtally::chartReportInput(DatabaseSession &session) const
{
    ChartReportInput in;
    in.frame = reportFrame(session);
    in.facts = reportFacts();
    const auto label1 = [this](int i) { return summary->Label1[i]->text(); };
    in.totals = {label1(23), label1(17), label1(19), label1(21)};
    const auto label2 = [this](int i) { return summary->Label2[i]->text(); };
    SpeedStatistics &s = in.statistics;
    s.postedLimit = label2(44);
    s.atOrUnder = label2(32);
    s.over = label2(26);
    s.average = label2(27);
    s.percentile85 = label2(28);
    s.pace = label2(36);
    s.paceCount = label2(37);
    s.pacePercent = label2(38);
    for (int i = 0; i < 3; ++i)
        s.bandHeadings[size_t(i)] = label2(40 + i);
    for (int i = 0; i < 4; ++i) {
        s.bandNumbers[size_t(i)] = label2(45 + i);
        s.bandPercents[size_t(i)] = label2(51 + i);
    }
    in.statisticsDirection =
        checkedDirection(summary->Option1[0], summary->Option1[1], summary->Option1[2]);
    in.chart = chartSlot().last().picture;
    return in;
}

void frmRoadtally::buildReport(DocumentEngine &vp) const
{
    DatabaseSession session(sharedState().deriveDatabasePath());
    if (!session.isOpen())
        throw DatabaseError(session.errorText().toStdString());
    switch (sharedState().reportSelector) {
    case 1:
        Percent85_Graph(vp, chartReportInput(session));
        break;
    case 2:
        TrafficFlow_Graph(vp, chartReportInput(session));
        break;
    case 3: {
        const ChartReportInput base = chartReportInput(session);
        ReportSummaryInput in;
        in.frame = base.frame;
        in.facts = base.facts;
        in.totals = base.totals;
        in.statistics = base.statistics;
        for (int i = 0; i < 13; ++i) {
            in.binHeadings[size_t(i)] = summary->Label1[1 + i]->text();
            in.volumes[size_t(i)] = summary->Label2[i]->text();
            in.percents[size_t(i)] = summary->Label2[13 + i]->text();
        }
        in.schemeName = summary->Combo1->currentText();
        in.direction =
            checkedDirection(summary->Option1[0], summary->Option1[1], summary->Option1[2]);
        ReportSummary(vp, in);
        break;
    }
    case 4: {
        Report15minInput in;
        in.frame = reportFrame(session);
        in.facts = reportFacts();
        in.chosenDate = fifteen->DateChoice->text();
        in.direction =
            checkedDirection(fifteen->option7[0], fifteen->option7[1], fifteen->option7[2]);
        if (in.direction)
            in.rows = fifteenMinuteRows(session, in.facts.batch, in.chosenDate, *in.direction);
        for (int i = 0; i < 5; ++i) {
            in.morning[size_t(i)] = fifteen->Label21[i]->text();
            in.afternoon[size_t(i)] = fifteen->Label21[9 - i]->text();
        }
        Report15min(vp, in);
        break;
    }
    case 5: {
        DailyVolumeChartInput in;
        static_cast<ChartReportInput &>(in) = chartReportInput(session);
        in.direction = checkedDirection(volume->option4[0], volume->option4[1], volume->option4[2]);
        in.date = volume->DChoice->text();
        DailyVolume_Graph(vp, in);
        break;
    }
    case 6: {
        ReportWeeklyInput in;
        in.frame = reportFrame(session);
        in.facts = reportFacts();
        fillFromGrid(in, weekly->grid());
        ReportWeekly(vp, in);
        break;
    }
    case 7: {
        SpeedProfileInput in;
        in.batch = summary->Label7[4]->text();
        in.startDate = summary->Label7[0]->text();
        in.endDate = summary->Label7[1]->text();
        for (int i = 0; i < 3; ++i)
            in.bandHeadings[size_t(i)] = summary->Label2[40 + i]->text();
        in.postedLimit = summary->Label7[9]->text();
        in.unit = summary->Radar_Mode->text();
        in.rows = speedProfileRows(session, in.batch, summaryDirection());
        SpeedProfile(vp, in);
        break;
    }
    case 8: {
        // The study of the Speed Study tab's direction; the facts as this window shows them.
        std::optional<SpeedZoneStudyInput> in =
            readSpeedZoneStudyInput(session, summary->Label7[4]->text(), study->direction(),
                                    summary->Officer_Select->currentText());
        if (!in)
            break;
        in->frame = reportFrame(session);
        in->facts = reportFacts();
        SpeedZoneStudy(vp, *in);
        break;
    }
    default:
        break;
    }
}

} // namespace roadtally
