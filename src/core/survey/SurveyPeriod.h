#pragma once
// When a survey ran: its first and last vehicle's date and time as stored.

#include <QString>

namespace roadtally {

struct SurveyPeriod
{
    QString startDate; // mm/dd/yy
    QString startTime; // hh:mm AMPM
    QString endDate;   // mm/dd/yy
    QString endTime;   // hh:mm AMPM
};

} // namespace roadtally
