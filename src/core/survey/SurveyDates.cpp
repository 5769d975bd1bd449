#include "core/survey/SurveyDates.h"

#include "core/text/TextPatterns.h"

#include <QDate>
#include <QSet>

namespace roadtally {

QStringList sortDatesByCalendar(const QStringList &dates)
{
    // One entry per calendar date: "1/2/26" and "01/02/26" are the same day.
    QStringList unique;
    QSet<qint64> seenDays;
    QSet<QString> seenTexts;
    for (const QString &text : dates) {
        const QDate d = parseDate(text);
        if (d.isValid() ? seenDays.contains(d.toJulianDay()) : seenTexts.contains(text))
            continue;
        if (d.isValid())
            seenDays.insert(d.toJulianDay());
        else
            seenTexts.insert(text);
        unique << text;
    }
    return inCalendarOrder(unique);
}

QStringList surveyDates(DatabaseSession &session, const QString &batch)
{
    session.requireOpen();
    QSqlQuery q = session.exec(
        QStringLiteral("select distinct(date) from  [time_15] where [batch_number] = ?"), {batch});
    QStringList dates;
    while (q.next())
        dates << q.value(0).toString();
    q.finish();
    return sortDatesByCalendar(dates);
}

} // namespace roadtally
