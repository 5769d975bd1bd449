#pragma once
// The fifteen-minute breakdown of one date of a survey: the 48 Time_15 rows
// of the date for one direction, with the grid's headers and widths, and the
// morning and afternoon peak-hour analysis.

#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

struct FifteenMinuteInput
{
    QString batch; // Label7(4)
    QString date;  // DateChoice: a date as Time_15 stores it ("mm/dd/yy")
    SurveyDirection direction = SurveyDirection::Both; // option7
};

// One half-day of the analysis, as its five labels show it.
struct PeakAnalysis
{
    QString total;     // sum of the hour totals, or "N/A"
    QString peakHour;  // "07:00 - 08:00", or "N/A"
    QString peakFlow;  // "245/hr", or "N/A"
    QString peakShare; // peak / half-day total, "##.##" + "%", or "N/A"
    QString dayShare;  // peak / day total, "##.##" + "%", or "N/A"
};

// The grid layout of a direction (Flex2): headers of row 0 and widths in twips.
struct FifteenMinuteLayout
{
    QStringList fields;           // the selected Time_15 fields, in column order
    QStringList headers;          // "Time AM", "App", "Hour Total", ...
    QVector<int> widths;          // twips: 1300, 600, 1100, ...
    int gridWidth = 0;            // 7590 for both directions, else 6390
    int morningTotalColumn = 0;   // 2 (single direction) or 3 (both)
    int afternoonTotalColumn = 0; // 5 or 7
    int afternoonTimeColumn = 0;  // 3 or 4
};
FifteenMinuteLayout fifteenMinuteLayout(SurveyDirection direction);

struct FifteenMinuteResult
{
    FifteenMinuteLayout layout;
    QVector<QStringList> rows; // the date's rows in TimeAM order, cells as stored ("" for null)
    PeakAnalysis am;
    PeakAnalysis pm;
    QStringList label21; // Label21(0) .. Label21(9) as the analysis frames show them
};

// The captions beside Label21(0) .. Label21(9), in that order ("AM Total *",
// "Peak Hour *", ...), and the two frames' captions.
const QStringList &analysisCaptions();
inline constexpr const char *AMAnalysisCaption = "AM Analysis";
inline constexpr const char *PMAnalysisCaption = "PM Analysis";

// The date click. Throws DatabaseError when the query fails.
FifteenMinuteResult fifteenMinute(DatabaseSession &session, const FifteenMinuteInput &input);

// The analysis of grid rows (without the header row): the hour rows are rows
// 4, 8, ... 48 counted from 1. A missing row or cell counts 0; ties keep the
// earlier hour. Fills am, pm and label21 of the result.
void analysePeaks(FifteenMinuteResult &result);

} // namespace roadtally
