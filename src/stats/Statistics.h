#pragma once
// The four statistics of a newly imported survey, computed from its accepted
// vehicles in one pass each and stored through the import's session (inside its
// transaction). Each equals what one aggregate query per figure would give.

#include "intake/VehicleImport.h"
#include "stats/Vehicle.h"
#include "store/DatabaseSession.h"

#include <QString>

namespace roadtally {

// What the statistics read from the processing window.
struct StatsInput
{
    QString batchNumber; // Input_Batch_Number
    QString postedSpeed; // Input_Posted_Speed as typed
    QString unit;        // Combo1
    QString startDate;   // Input_Batch_Date, mm/dd/yyyy
    QString startTime;   // Input_Start_Time, hh:mm
};

// Summary2: one Summary row; returns the survey period for the window's labels.
// Throws DatabaseError on a failing store.
SurveyPeriod Summary2(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input);
// MPH_Speed / KPH_Speed: 60 or 93 Speed rows; nothing for another unit text.
void SpeedTable(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input);
// Speed_Profile: one row per vehicle over the posted limit.
void SpeedProfile(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input);
// Time15min: 48 Time_15 rows per date from the period's first to its last date.
void Time15min(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input,
               const SurveyPeriod &period);

} // namespace roadtally
