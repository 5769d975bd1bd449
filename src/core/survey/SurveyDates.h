#pragma once
// The calendar dates of a survey, as its Time_15 rows store them.

#include "core/store/DatabaseSession.h"

#include <QString>
#include <QStringList>

namespace roadtally {

// Date texts ("mm/dd/yy") in calendar order, also across a year end, each date
// once. Texts that are not dates follow in their given order.
QStringList sortDatesByCalendar(const QStringList &dates);

// The distinct dates of the survey's Time_15 rows in calendar order.
// Throws DatabaseError when the session is not open or the query fails.
QStringList surveyDates(DatabaseSession &session, const QString &batch);

} // namespace roadtally
