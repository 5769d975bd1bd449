#pragma once
// The speeding profile report: every speeding vehicle of the survey, one table
// row each, in two newspaper columns a page under a header naming the survey.
// Any number of rows.

#include "core/reports/DocumentEngine.h"
#include "core/reports/TextRecords.h"
#include "core/survey/SurveyDirection.h"

#include <array>

namespace roadtally {

class DatabaseSession;

struct SpeedProfileInput
{
    QString batch;                       // Label7(4)
    QString startDate;                   // Label7(0)
    QString endDate;                     // Label7(1)
    std::array<QString, 3> bandHeadings; // Label2(40) .. Label2(42)
    QString postedLimit;                 // Label7(9), as stored ("035")
    QString unit;                        // Radar_Mode, "MPH" or "KPH"
    // Date, time, speed_over, Plus10, Plus20, Dir of each row (speedProfileRows).
    TextRecords rows;
};

// The page header text naming the survey.
QString speedProfileHeader(const SpeedProfileInput &in);
// "mph" or "km/h", as the column headings name the unit ("050+ mph").
QString speedProfileUnit(const QString &radarMode);
// The line of the page of a survey without speeding vehicles.
QString speedProfileNoneText(const SpeedProfileInput &in);

// The Speed_Profile rows of the survey for the direction (both: every row,
// also those without a direction), in the order stored.
// Throws DatabaseError when the query fails.
TextRecords speedProfileRows(DatabaseSession &session, const QString &batch,
                             SurveyDirection direction);

// Writes the whole document (no engine check, as the report never made one).
void SpeedProfile(DocumentEngine &vp, const SpeedProfileInput &in);

} // namespace roadtally
