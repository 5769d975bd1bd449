#pragma once
// The survey summary report: the survey facts, the speed distribution in the
// chosen display scheme and the speed statistics on one page, as the summary
// panel of the main window shows them.

#include "core/reports/ReportFrame.h"

namespace roadtally {

struct ReportSummaryInput
{
    ReportFrame frame;
    SurveyFacts facts;
    SurveyTotals totals;
    SpeedStatistics statistics;
    std::array<QString, 13> binHeadings; // Label1(1) .. Label1(13)
    std::array<QString, 13> volumes;     // Label2(0) .. Label2(12)
    std::array<QString, 13> percents;    // Label2(13) .. Label2(25)
    QString schemeName;                  // the text of Combo1
    DirectionChoice direction;           // Option1(0..2)
};

// Writes the whole document; false when the engine was not ready (nothing drawn).
bool ReportSummary(DocumentEngine &vp, const ReportSummaryInput &in);

} // namespace roadtally
