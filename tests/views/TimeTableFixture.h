#pragma once
// Surveys written straight into a blank database for the time views: the
// hour figures of each date are given, and the 48 Time_15 rows of the date are
// written as the statistics step stores them (the hour's vehicles in its first
// quarter, "*" for no vehicles, hour totals on every fourth row).

#include "store/DatabaseSession.h"
#include "store/Schema.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace roadtally::testing {

// The vehicles of each hour 0..23 of one date, per direction.
struct DayHours
{
    QVector<int> approaching = QVector<int>(24, 0);
    QVector<int> receding = QVector<int>(24, 0);
};

inline QString countText(int n)
{
    return n == 0 ? QStringLiteral("*") : QString::number(n);
}

inline QString blockText(int minute)
{
    const int end = (minute + 15) % (24 * 60);
    return QStringLiteral("%1:%2 - %3:%4")
        .arg(minute / 60, 2, 10, QLatin1Char('0'))
        .arg(minute % 60, 2, 10, QLatin1Char('0'))
        .arg(end / 60, 2, 10, QLatin1Char('0'))
        .arg(end % 60, 2, 10, QLatin1Char('0'));
}

// Writes the first `rows` (of 48) Time_15 rows of the date.
inline void insertDay(DatabaseSession &s, const QString &batch, const QString &date,
                      const DayHours &h, int rows = 48)
{
    for (int r = 0; r < rows; ++r) {
        const int amHour = r / 4, pmHour = amHour + 12;
        const bool first = r % 4 == 0, last = r % 4 == 3;
        auto quarter = [&](const QVector<int> &v, int hour) {
            return countText(first ? v.at(hour) : 0);
        };
        auto hourly = [&](int n) { return last ? QVariant(countText(n)) : QVariant(); };
        s.exec(QStringLiteral(
                   "INSERT INTO [Time_15] ([Batch_Number], [Date], [TimeAM], [AMApp], [AMRec], "
                   "[tHourAMApp], [tHourAMRec], [AMHourTotal], [TimePM], [PMApp], [PMRec], "
                   "[tHourPMApp], [tHourPMRec], [PMHourTotal]) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {batch, date, blockText(r * 15), quarter(h.approaching, amHour),
                quarter(h.receding, amHour), hourly(h.approaching.at(amHour)),
                hourly(h.receding.at(amHour)),
                hourly(h.approaching.at(amHour) + h.receding.at(amHour)),
                blockText((r + 48) * 15), quarter(h.approaching, pmHour),
                quarter(h.receding, pmHour), hourly(h.approaching.at(pmHour)),
                hourly(h.receding.at(pmHour)),
                hourly(h.approaching.at(pmHour) + h.receding.at(pmHour))});
    }
}

// A blank database at path; "" or the reason it failed.
inline QString blankDatabase(const QString &path)
{
    return createBlankDatabase(path);
}

// A survey's Header and Summary rows with its unit and period.
inline void insertSurvey(DatabaseSession &s, const QString &batch, const QString &startDate,
                         const QString &stopDate, const QString &unit = QStringLiteral("MPH"),
                         const QString &postedLimit = QStringLiteral("035"))
{
    s.exec(QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Date], [Time], [Radar_Mode], "
                          "[Location]) VALUES (?, ?, ?, ?, ?)"),
           {batch, startDate, QStringLiteral("08:00"), unit, QStringLiteral("Test Road")});
    s.exec(QStringLiteral("INSERT INTO [Summary] ([Batch_Number], [Posted_Limit], [Start_Date], "
                          "[Stop_Date]) VALUES (?, ?, ?, ?)"),
           {batch, postedLimit, startDate, stopDate});
}

// The date text the tables store for a date.
inline QString mmddyy(const QDate &d)
{
    return d.toString(QStringLiteral("MM/dd/yy"));
}

} // namespace roadtally::testing
