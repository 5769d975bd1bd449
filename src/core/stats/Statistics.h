#pragma once
// The four statistics of a newly imported survey, computed from its accepted
// vehicles in one pass each and stored through the import's session (inside its
// transaction). Each equals what one aggregate query per figure would give.
//
// Every statistic comes in two steps: a pure computation from the vehicles to
// plain rows (testable without a database), and a store step that writes those
// rows with one prepared INSERT. The caller holds the transaction.

#include "core/stats/Vehicle.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyPeriod.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

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
// Time15min: 48 Time_15 rows per date from the period's first to its last date
// (the first with the start date's full year; the last the next date on or after it
// that reads as the period's last, so a survey may run into a new century).
void Time15min(DatabaseSession &session, const Vehicles &vehicles, const StatsInput &input,
               const SurveyPeriod &period);

// ---------------------------------------------------------------------------
// Texts

// A time of day (0 to 86399 seconds) as "hh:mm:ss AMPM", as Veh_Data stores it.
QString timeOfDayText(int secondOfDay);
// The same into text[0..10] (eleven characters, no terminator).
void timeOfDayText(int secondOfDay, char *text);
// A count as Time_15 stores it: the number, or "*" for zero.
QString blockCountText(int count);

// ---------------------------------------------------------------------------
// Summary

// The figures of one vehicle set: all directions, "+" only or "-" only.
// An unset optional is stored as NULL.
struct SetFigures
{
    int count = 0;                       // vehicles in the set
    int under = 0;                       // Speed <= L
    int over = 0;                        // Speed > L
    int over10 = 0;                      // L < Speed <= L+10
    int over20 = 0;                      // L+10 < Speed <= L+20
    int over30 = 0;                      // Speed > L+20
    std::optional<double> mean;          // none for an empty set
    std::optional<QString> percentile50; // mean with "###.0"; unset without a mean or for mean 0
    QString percentile85;                // 1.175 x percentile50 read as a number, "##"
    std::optional<QString> pace;         // "lo to hi"; unset without a mean or a known unit
    int paceTotal = 0;                   // vehicles with lo <= Speed <= hi (0 without a window)
    std::optional<QString> pacePercent;  // "##" of paceTotal / count x 100, then " %"
};

// The Summary row of one survey.
struct SummaryRow
{
    QString batchNumber;
    QString postedLimit; // as typed
    int totalUnknown = 0;
    SetFigures all;                     // Total_Vehicles, Number_Under, ..., Pace_Percent
    SetFigures approach;                // Total_Approach, Number_UnderA, ..., Pace_PercentA
    SetFigures receding;                // Total_Receeding, Number_UnderR, ..., Pace_PercentR
    std::optional<int> maxSpeed;        // none for an empty survey (as max() gives)
    std::optional<qint64> totalSeconds; // highest Offset; none for an empty survey
    QString totalTime;                  // "d Days, h Hrs, mm Min" with the uncorrected days
    QString startTime;                  // hh:mm AMPM
    QString stopTime;                   // hh:mm AMPM
    QString startDate;                  // mm/dd/yy
    QString stopDate;                   // mm/dd/yy, with the day carry of the stop time

    SurveyPeriod period() const { return {startDate, startTime, stopDate, stopTime}; }
};

// L is the posted speed read as a number and rounded halves to even. The pace
// window starts 5 (km/h: 10) below the unrounded mean: lo is that value with
// "###", hi is lo's text read as a number plus 10 (20), with "###"; a lo that
// rounds to 0 writes no digits and counts as 0 (" to 10"). An empty survey has
// lasted no time: its stop time and date are the start ones.
SummaryRow computeSummary(const Vehicles &vehicles, const StatsInput &input);
void storeSummary(DatabaseSession &session, const SummaryRow &row);

// ---------------------------------------------------------------------------
// Speed distribution

struct SpeedRow
{
    int speed = 0;    // the row's speed; the first and last rows collect the slower and faster ones
    int allTotal = 0; // all directions
    int allApp = 0;   // "+"
    int allRec = 0;   // "-"
};

// 60 rows for "MPH" (14 to 73), 93 for "KPH" (29 to 121), none for another unit; ascending.
QVector<SpeedRow> computeSpeedRows(const Vehicles &vehicles, const QString &unit);
void storeSpeedRows(DatabaseSession &session, const QString &batchNumber,
                    const QVector<SpeedRow> &rows);

// ---------------------------------------------------------------------------
// Speeding profile

// One vehicle over the limit, kept compact (a long survey has many); the
// stored texts are made when the row is written.
struct SpeedProfileRow
{
    enum Band : quint8 { Over = 0, Plus10 = 1, Plus20 = 2 };
    QDate date;
    int secondOfDay = 0;
    int speed = 0;
    Band band = Over;
    char direction = '?';

    QString dateText() const;      // mm/dd/yy
    QString timeText() const;      // hh:mm:ss AMPM
    QString speedOverText() const; // the speed in its band's column, "--" in the others
    QString plus10Text() const;
    QString plus20Text() const;
};

// Vehicles with Speed > L, L the numeric value of the posted speed as typed
// (not rounded), in stored order.
QVector<SpeedProfileRow> computeSpeedProfile(const Vehicles &vehicles, const QString &postedSpeed);
void storeSpeedProfile(DatabaseSession &session, const QString &batchNumber,
                       const QVector<SpeedProfileRow> &rows);

// ---------------------------------------------------------------------------
// Fifteen-minute volumes

// One Time_15 row: a morning block and the afternoon block twelve hours later,
// kept as counts (a survey may span many dates); the stored texts are made
// when the row is written. Counts are stored as the number, or "*" for zero;
// the hour fields are set on every fourth row only.
struct Time15Row
{
    QDate date;
    int quarter = 0; // 0 to 47: the morning block; the afternoon block is quarter + 48
    int amApp = 0, amRec = 0, pmApp = 0, pmRec = 0;
    bool hourRow = false; // the row that ends a full hour carries the hour totals
    int hourAMApp = 0, hourAMRec = 0, hourPMApp = 0, hourPMRec = 0;

    QString dateText() const; // mm/dd/yy
    QString timeAM() const;   // "00:00 - 00:15" ... "11:45 - 12:00"
    QString timePM() const;   // "12:00 - 12:15" ... "23:45 - 00:00"
    QString amAppText() const { return blockCountText(amApp); }
    QString amRecText() const { return blockCountText(amRec); }
    QString pmAppText() const { return blockCountText(pmApp); }
    QString pmRecText() const { return blockCountText(pmRec); }
    std::optional<QString> tHourAMApp() const { return hourText(hourAMApp); }
    std::optional<QString> tHourAMRec() const { return hourText(hourAMRec); }
    std::optional<QString> amHourTotal() const { return hourText(hourAMApp + hourAMRec); }
    std::optional<QString> tHourPMApp() const { return hourText(hourPMApp); }
    std::optional<QString> tHourPMRec() const { return hourText(hourPMRec); }
    std::optional<QString> pmHourTotal() const { return hourText(hourPMApp + hourPMRec); }

private:
    std::optional<QString> hourText(int count) const
    {
        return hourRow ? std::optional<QString>(blockCountText(count)) : std::nullopt;
    }
};

// 48 rows per calendar date from first through last. Each block runs from its
// start (inclusive) to its end (exclusive), the last one to the end of the day,
// so a vehicle counts in exactly one block. "?" vehicles and vehicles dated
// outside first..last are not counted.
QVector<Time15Row> computeTime15(const Vehicles &vehicles, const QDate &first, const QDate &last);
void storeTime15(DatabaseSession &session, const QString &batchNumber,
                 const QVector<Time15Row> &rows);

} // namespace roadtally
