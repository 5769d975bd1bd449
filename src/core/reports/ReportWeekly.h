#pragma once
// The weekly report: hourly volumes per direction for seven days with the
// weekday and weekend averages, daily totals, the combined two-way volume per
// day and the directional split, as the weekly summary tab shows them.

#include "core/analysis/WeeklyGrid.h"
#include "core/reports/ReportFrame.h"

namespace roadtally {

struct ReportWeeklyInput
{
    using Column = std::array<QString, 25>; // rows k = 0 .. 23 the hours, 24 the totals

    ReportFrame frame;
    SurveyFacts facts;
    std::array<QString, 7> dayHeadings; // Date1(46) .. Date7(52)
    Column legend;                      // legend(0) .. legend(24)
    std::array<Column, 7> approaching;  // Day1A .. Day7A
    std::array<Column, 7> receding;     // Day1R .. Day7R
    Column weekdayApproaching;          // WDAA
    Column weekdayReceding;             // WDAR
    Column weekendApproaching;          // WKAA
    Column weekendReceding;             // WKAR
    std::array<QString, 9> combined;    // DayComb(55) .. DayComb(63)
    std::array<QString, 9> split;       // Split(0) .. Split(8)
};

// The grid's cells, headings and row captions as the weekly tab shows them.
void fillFromGrid(ReportWeeklyInput &in, const WeeklyGrid &grid);

// The texts over the table's column pairs: the seven day headings and two "Avg".
QStringList weeklyPairHeadings(const std::array<QString, 7> &dayHeadings);

// Writes the whole document; false when the engine was not ready (nothing drawn).
bool ReportWeekly(DocumentEngine &vp, const ReportWeeklyInput &in);

} // namespace roadtally
