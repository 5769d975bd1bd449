#pragma once
// Vehicle sets for the statistics tests, written compactly in the data tables.

#include "stats/Vehicle.h"

#include <QString>
#include <QStringList>

namespace roadtally::test {

// "+32x108 -33x92 ?40": direction, speed, optional repeat count. Offsets count
// up from 0 in steps of 10 seconds; dates and times are left for the caller.
inline Vehicles vehiclesFrom(const QString &spec)
{
    Vehicles out;
    const QStringList tokens = spec.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &token : tokens) {
        const char direction = token.at(0).toLatin1();
        const QStringList parts = token.mid(1).split(QLatin1Char('x'));
        const int speed = parts.at(0).toInt();
        const int repeat = parts.size() > 1 ? parts.at(1).toInt() : 1;
        for (int i = 0; i < repeat; ++i) {
            Vehicle v;
            v.direction = direction;
            v.speed = speed;
            v.offset = qint64(out.size()) * 10;
            out.append(v);
        }
    }
    return out;
}

inline Vehicle vehicleAt(char direction, int speed, const QDate &date, int secondOfDay)
{
    Vehicle v;
    v.direction = direction;
    v.speed = speed;
    v.date = date;
    v.secondOfDay = secondOfDay;
    return v;
}

} // namespace roadtally::test
