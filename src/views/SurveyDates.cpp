#include "views/SurveyDates.h"

#include "text/TextPatterns.h"

#include <QDate>
#include <QSet>

#include <algorithm>

namespace roadtally {

QStringList sortDatesByCalendar(const QStringList &dates)
{
    QVector<QPair<QDate, QString>> valid;
    QStringList other;
    QSet<qint64> seenDays;
    QSet<QString> seenTexts;
    for (const QString &text : dates) {
        const QDate d = parseDate(text);
        if (d.isValid()) {
            if (seenDays.contains(d.toJulianDay()))
                continue;
            seenDays.insert(d.toJulianDay());
            valid.append({d, text});
        } else if (!seenTexts.contains(text)) {
            seenTexts.insert(text);
            other << text;
        }
    }
    std::stable_sort(valid.begin(), valid.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList out;
    for (const auto &v : valid)
        out << v.second;
    return out + other;
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
