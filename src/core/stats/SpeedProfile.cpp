#include "core/stats/Statistics.h"

#include "core/store/RowWriter.h"
#include "core/text/TextPatterns.h"

#include <algorithm>
#include <cstdio>

namespace roadtally {

namespace {

const QString NoSpeed = QStringLiteral("--");

QString speedIn(const SpeedProfileRow &row, SpeedProfileRow::Band band)
{
    return row.band == band ? QString::number(row.speed) : NoSpeed;
}

} // namespace

QString SpeedProfileRow::dateText() const
{
    return formatDate(date, QStringLiteral("mm/dd/yy"));
}

QString SpeedProfileRow::timeText() const
{
    return timeOfDayText(secondOfDay);
}

QString SpeedProfileRow::speedOverText() const
{
    return speedIn(*this, Over);
}

QString SpeedProfileRow::plus10Text() const
{
    return speedIn(*this, Plus10);
}

QString SpeedProfileRow::plus20Text() const
{
    return speedIn(*this, Plus20);
}

QVector<SpeedProfileRow> computeSpeedProfile(const Vehicles &vehicles, const QString &postedSpeed)
{
    // The limit as typed, not rounded: with 35.5 a vehicle at 36 is over it and
    // one at 46 is more than 10 over.
    const double limit = numericValue(postedSpeed);
    QVector<SpeedProfileRow> rows;
    rows.reserve(std::count_if(vehicles.cbegin(), vehicles.cend(),
                               [limit](const Vehicle &v) { return v.speed > limit; }));
    for (const Vehicle &v : vehicles) {
        if (!(v.speed > limit))
            continue;
        SpeedProfileRow row;
        row.date = v.date;
        row.secondOfDay = v.secondOfDay;
        row.speed = v.speed;
        row.direction = v.direction;
        if (v.speed > limit + 20)
            row.band = SpeedProfileRow::Plus20;
        else if (v.speed > limit + 10)
            row.band = SpeedProfileRow::Plus10;
        else
            row.band = SpeedProfileRow::Over;
        rows.append(row);
    }
    return rows;
}

void storeSpeedProfile(DatabaseSession &session, const QString &batchNumber,
                       const QVector<SpeedProfileRow> &rows)
{
    if (rows.isEmpty())
        return;
    RowWriter insert(session,
                     "INSERT INTO [Speed_Profile] ([Batch_Number], [Date], [Time], "
                     "[speed_Over], [Plus10], [Plus20], [Dir])",
                     7);
    insert.text(1, batchNumber);
    // Vehicles come in date order, so one date text serves a whole run of rows.
    QDate lastDate;
    for (const SpeedProfileRow &row : rows) {
        if (row.date != lastDate || !lastDate.isValid()) {
            lastDate = row.date;
            insert.text(2, row.dateText());
        }
        char time[11];
        timeOfDayText(row.secondOfDay, time);
        insert.text(3, time, int(sizeof time));
        char speed[24];
        const int speedSize = std::snprintf(speed, sizeof speed, "%d", row.speed);
        for (int band = SpeedProfileRow::Over; band <= SpeedProfileRow::Plus20; ++band) {
            if (band == row.band)
                insert.text(4 + band, speed, speedSize);
            else
                insert.text(4 + band, "--", 2);
        }
        if (static_cast<unsigned char>(row.direction) < 0x80)
            insert.text(7, &row.direction, 1);
        else // a Latin-1 character from the raw file, stored as UTF-8
            insert.text(7, QString(QChar::fromLatin1(row.direction)));
        insert.insert();
    }
    insert.finish();
}

void SpeedProfile(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input)
{
    storeSpeedProfile(session, input.batchNumber, computeSpeedProfile(vehicles, input.postedSpeed));
}

} // namespace roadtally
