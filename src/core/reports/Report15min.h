#pragma once
// The fifteen-minute report: the 15-minute blocks of one survey day in one
// direction, with the morning and afternoon totals and peaks.

#include "core/reports/ReportFrame.h"
#include "core/reports/TextRecords.h"

namespace roadtally {

struct Report15minInput
{
    ReportFrame frame;
    SurveyFacts facts;         // batch, start and end date, zone, location
    QString chosenDate;        // DateChoice of the fifteen-minute tab
    DirectionChoice direction; // option7(0..2) of the tab
    TextRecords rows;          // the Time_15 rows of the day (fifteenMinuteRows)
    // Label21(0) .. Label21(4): total, peak hour, peak flow, peak % of the
    // morning, peak % of 24 hours; then the same for the afternoon, from
    // Label21(9), (8), (7), (6), (5).
    std::array<QString, 5> morning;
    std::array<QString, 5> afternoon;
};

// Table format, header row and direction words of a direction.
struct FifteenMinuteColumns
{
    QStringList fields; // Time_15 columns, in table order
    QString format;
    QString header;
    QString words;
};
FifteenMinuteColumns fifteenMinuteColumns(SurveyDirection direction);

// The Time_15 rows of the survey and date (matched as a date, whatever its
// writing) with the direction's columns, in the order of TimeAM.
// Throws DatabaseError when the query fails.
TextRecords fifteenMinuteRows(DatabaseSession &session, const QString &batch, const QString &date,
                              SurveyDirection direction);

// Writes the whole document; false when the engine was not ready (nothing drawn).
bool Report15min(DocumentEngine &vp, const Report15minInput &in);

} // namespace roadtally
