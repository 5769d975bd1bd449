#pragma once
// One accepted vehicle record of a survey, as the import stores it in Veh_Data.

#include <QDate>
#include <QVector>

namespace roadtally {

struct Vehicle
{
    qint64 offset = 0;    // seconds since the survey start
    char direction = '?'; // '+', '-' or '?'
    int speed = 0;        // whole speed in the survey's unit
    QDate date;           // calendar date of the vehicle
    int secondOfDay = 0;  // time of day, 0 to 86399
};

using Vehicles = QVector<Vehicle>;

} // namespace roadtally
