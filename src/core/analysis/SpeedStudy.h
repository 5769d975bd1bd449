#pragma once
// The speed zone study of one survey and one direction: the figures a traffic
// engineer works from (ranked and interpolated percentile speeds, the best
// pace window, spread, shares over the limit, the sample needed, average daily
// traffic), computed from the survey's Speed rows, next to the program's own
// estimates from its Summary row.

#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

namespace roadtally {

// A figure as shown, with its number when it has one. "N/A" and the catch-all
// forms ("14 or less", "73 or more") carry no number.
struct StudyValue
{
    QString text = QStringLiteral("N/A");
    std::optional<double> number;
    std::optional<double> exact; // the number before rounding, for figures worked on further

    bool isNumber() const { return number.has_value(); }
};

// One percentile speed in both forms.
struct PercentileFigure
{
    int level = 0;            // 15, 50, 85 or 95
    StudyValue ranked;        // the smallest speed s with cum(s) >= level% of N
    StudyValue interpolated;  // within the class [s - 0.5, s + 0.5), one decimal
    std::optional<int> row;   // the Speed row of the ranked form (none for N = 0)
    std::optional<double> at; // where the charts mark it: the interpolated position, also
                              // inside a catch-all row (taken one speed wide)
};

// The vehicles of one calendar date of the survey, from its Time_15 hour totals.
struct DailyTotal
{
    QDate date;
    qint64 vehicles = 0;
};

// The program's own figures of the same direction, as its Summary row stores them.
struct ProgramFigures
{
    QString mean;        // 50th_Percentile..: the mean with one decimal
    QString p85;         // 85th_Percentile..: 1.175 x the mean
    QString pace;        // Pace..: "lo to hi"
    QString paceCount;   // Pace_Total..
    QString pacePercent; // Pace_Percent..: "64 %"
};

// What the study is computed from.
struct SpeedStudyInput
{
    QString batchNumber;
    QString location;
    SurveyDirection direction = SurveyDirection::Approaching;
    QString unit;        // "MPH" or "KPH"; another text gives no figures
    QString postedLimit; // as typed ("035")
    // Vehicles per speed. Speeds below the lowest row or above the highest one
    // join those rows, as the Speed table stores them.
    QMap<int, qint64> counts;
    QString startDate; // survey period, "mm/dd/yy"
    QString stopDate;
    QVector<DailyTotal> dailyTotals; // every date with Time_15 rows; complete days are chosen here
    ProgramFigures program;
};

// The speed rows of a unit: the lowest holds every slower vehicle, the highest
// every faster one. MPH 14 and 73, KPH 29 and 121; none for another unit.
struct SpeedRowRange
{
    int lowest = 0;
    int highest = 0;
};
std::optional<SpeedRowRange> speedRowRange(const QString &unit);
// The width of a pace window in whole speeds: 10 in MPH, 20 in KPH.
int paceWidth(const QString &unit);

struct SpeedStudy
{
    // Survey facts
    QString batchNumber;
    QString location;
    SurveyDirection direction = SurveyDirection::Approaching;
    QString unit;             // "MPH" or "KPH"
    QString unitText;         // "mph" or "km/h" (empty for another unit)
    QString postedLimit;      // as typed
    std::optional<int> limit; // the posted limit as a whole number; none without one
    QString startDate;
    QString stopDate;

    // The distribution: counts[i] vehicles at speed lowestRow + i
    int lowestRow = 0;
    int highestRow = 0;
    QVector<qint64> counts;

    qint64 n = 0;
    StudyValue vehicles; // N
    StudyValue mean;     // one decimal, catch-all rows at their row's speed
    StudyValue sd;       // sample standard deviation, one decimal; N/A below two vehicles
    std::array<PercentileFigure, 4> percentiles; // 15, 50, 85, 95

    // Pace: the window of paceWidth() whole speeds with the most vehicles
    StudyValue paceLow;
    StudyValue paceHigh;
    QString paceText = QStringLiteral("N/A"); // "41 to 50"
    StudyValue paceCount;
    StudyValue pacePercent; // one decimal

    StudyValue modal;

    // Over the posted limit L: shares (one decimal) above L, L + 5 and L + 10
    StudyValue overLimitPercent;
    StudyValue over5Percent;
    StudyValue over10Percent;
    StudyValue p85MinusLimit; // ranked P85 - L ("38 or more" when P85 is a catch-all row)

    // Sample size for the mean within +-1 mph (+-2 km/h) at 95 % confidence
    double marginOfError = 0; // E in the unit
    StudyValue sampleRequired;
    std::optional<bool> sampleAdequate;                 // N reaches the sample and at least 100
    QString sampleAdequateText = QStringLiteral("N/A"); // "Yes", "No", "N/A"

    // Average daily traffic over the complete days
    StudyValue adt;
    int completeDays = 0;

    // The program's figures
    StudyValue programMean;
    StudyValue programP85;
    QString programPace = QStringLiteral("N/A");
    StudyValue programPaceCount;
    QString programPacePercent = QStringLiteral("N/A");

    QStringList notes; // catch-all rows, sample size, what could not be given

    const PercentileFigure &percentile(int level) const;
};

// The study from plain inputs: no database, no window.
SpeedStudy computeSpeedStudy(const SpeedStudyInput &input);

// The inputs of a stored survey: its Header, Summary, Speed and Time_15 rows.
// A survey without rows gives an input without counts (a study of N/A).
// Throws DatabaseError when the session is not open or a query fails.
SpeedStudyInput loadSpeedStudyInput(DatabaseSession &session, const QString &batch,
                                    SurveyDirection direction);
// loadSpeedStudyInput and computeSpeedStudy together.
SpeedStudy loadSpeedStudy(DatabaseSession &session, const QString &batch,
                          SurveyDirection direction);

// "approaching", "receding", "both".
QString directionName(SurveyDirection direction);
// The direction of a command-line word: "approaching", "receding", "both"
// (any case, or their first letter); none for another word.
std::optional<SurveyDirection> directionFromName(const QString &name);

} // namespace roadtally
