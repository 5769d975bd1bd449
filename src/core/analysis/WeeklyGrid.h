#pragma once
// The weekly summary grid: each date of a survey placed in the column pair of
// its weekday (Monday to Sunday, approaching and receding), 24 hour rows and a
// totals row, the combined and split rows, and the weekday and weekend
// averages. Every cell is the text the weekly tab shows.

#include "core/store/DatabaseSession.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

struct WeeklyGrid
{
    static constexpr int ColumnCount = 18; // Day1A, Day1R, ... Day7R, WDAA, WDAR, WKAA, WKAR
    static constexpr int RowCount = 25;    // 0..11 morning hours, 12..23 afternoon, 24 totals
    static constexpr int TotalsRow = 24;

    QVector<QStringList> columns; // ColumnCount columns of RowCount cells
    QStringList combined;         // DayComb(55) .. DayComb(63): Monday .. Sunday, weekday, weekend
    QStringList split;            // Split(0) .. Split(8), same order
    QStringList headers;          // Date1 .. Date7: "Mon-" + day of the month, ...

    // The grid as the tab is designed: "*" in every cell, "Com" in the
    // combined row, "%" in the split row, headers "Mon-1" .. "Sun-7".
    static WeeklyGrid designState();

    QString &cell(int column, int row) { return columns[column][row]; }
    const QString &cell(int column, int row) const { return columns.at(column).at(row); }
    bool operator==(const WeeklyGrid &other) const = default;
};

// The column names, in column order: "Day1A", "Day1R", ... "Day7R", "WDAA",
// "WDAR", "WKAA", "WKAR".
const QStringList &weeklyColumnNames();
// The row captions legend(0) .. legend(24): "12:AM", "1:00" ... "11:00",
// "12:PM", "1:00" ... "11:00", "Totals".
const QStringList &weeklyRowCaptions();
// The grid's other captions.
inline constexpr const char *WeeklyCombinedCaption = "Combined";     // legend(25)
inline constexpr const char *WeeklySplitCaption = "Split %";         // legend(64)
inline constexpr const char *WeekdayAverageCaption = "Weekday Avg."; // legend(53)
inline constexpr const char *WeekendAverageCaption = "Weekend Avg."; // legend(54)

// ClearWeekData: every column cell, the combined and the split row become "*";
// the day headers stay as they are.
void clearWeekData(WeeklyGrid &grid);

// What the computation reads from the window: the survey and the grid as it stands.
struct WeeklyInput
{
    QString batch;       // Label7(4)
    QString startDate;   // Label7(0), "mm/dd/yy"
    QString stopDate;    // Label7(1), "mm/dd/yy"
    WeeklyGrid previous; // the grid's cells now: weekdays the survey does not cover keep them
    // Label8 and Label7(3): when the survey ran on its first and last date
    // ("hh:mm"); empty: from the start or to the end of the day.
    QString startTime;
    QString stopTime;
};

struct SurveyCaptions;
// The input for a stored survey as its captions show it.
WeeklyInput weeklyInputOf(const SurveyCaptions &survey, const WeeklyGrid &previous);

// The line the weekly report prints under the grid.
QString weeklyRepeatNote();

struct WeeklyResult
{
    QString message; // why nothing was computed; then grid is the previous grid unchanged
    WeeklyGrid grid;

    bool computed() const { return message.isEmpty(); }
};

// Command8 "Calculate Weekly Totals" (and mnuWeeklySummary). Reads the hour
// rows of every date from the start date through the stop date. The first
// date of a weekday fills its whole column; a later date of the same weekday
// overwrites only the hours in which the survey ran on it (an hour counts
// when any part of it lies between the survey's start and stop). A heading
// names the day of the month of every date whose running hours remain in its
// column ("Wed-28/04"); a weekday the survey does not cover is headed by the
// date of the week from the Monday on or before the start. When the
// survey is missing, has no start or stop date, or a date has no hour rows, it
// reports that and leaves the grid as it was. Throws DatabaseError when the
// query fails.
WeeklyResult computeWeeklyGrid(DatabaseSession &session, const WeeklyInput &input);

// The grid of a stored survey as a freshly cleared weekly tab shows it after
// "Calculate Weekly Totals": the start and stop dates from the survey's
// Summary row (for callers without the window: exports, reports, the
// command-line tool). Throws DatabaseError when a query fails.
WeeklyResult weeklyGridOfSurvey(DatabaseSession &session, const QString &batch);

// Steps 4 to 8 of the computation on a grid whose day columns are filled:
// day totals, combined and split rows, averages and their totals and split.
void weeklyTotals(WeeklyGrid &grid);

} // namespace roadtally
