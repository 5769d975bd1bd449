#pragma once
// Before and after: the speed zone studies of two surveys of a site side by
// side, the change of each figure, and whether the change is real or noise
// (Welch's t-test of the means, large-sample tests of the 50th and 85th
// percentiles, two-proportion z-tests of the shares over the limit, the
// two-sample Kolmogorov-Smirnov test of the whole distribution). An optional
// control pair, surveyed over the same periods at an untreated street, takes
// a season or a general trend out of the change.

#include "core/analysis/SpeedStudy.h"
#include "core/store/DatabaseSession.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

namespace roadtally {

// A change is significant below this p.
inline constexpr double SignificanceLevel = 0.05;
// Fewer vehicles than this in a survey: the tests are not shown.
inline constexpr qint64 MinimumTestedVehicles = 100;

// ---- The tests on plain numbers ---------------------------------------------

struct WelchResult
{
    double t = 0;
    double df = 0;
    double p = 1;
    double ciLow = 0; // the 95 % confidence interval of m2 - m1
    double ciHigh = 0;
};
// Welch's t-test of m2 - m1 from the two means, sample standard deviations and
// counts; none when a count is below 2 or neither sample has any spread.
std::optional<WelchResult> welchTest(double m1, double s1, qint64 n1, double m2, double s2,
                                     qint64 n2);

struct ZResult
{
    double z = 0;
    double p = 1;
};
// The two-sided p of a standard normal z.
double normalTwoSidedP(double z);
// The standard error of an interpolated percentile p (0..1) of n vehicles whose
// speed row, one speed wide, holds rowCount of them: sqrt(p(1 - p)/n) / (rowCount/n).
double percentileStandardError(double p, qint64 n, qint64 rowCount);
// z = (x2 - x1) / sqrt(se1^2 + se2^2); none when both errors are zero.
std::optional<ZResult> differenceTest(double x1, double se1, double x2, double se2);
// The two-proportion z-test with the pooled share (shares 0..1); none when the
// pooled share is 0 or 1 or a count is 0.
std::optional<ZResult> twoProportionTest(double q1, qint64 n1, double q2, qint64 n2);

struct KolmogorovResult
{
    double d = 0;
    double p = 1;
    int row = 0; // the speed row where the largest gap is reached (its first)
};
// The two-sample Kolmogorov-Smirnov test of two grouped distributions over the
// same rows (counts[i] vehicles at lowestRow + i); the asymptotic p. None when
// a distribution is empty.
std::optional<KolmogorovResult> kolmogorovSmirnovTest(const QVector<qint64> &counts1,
                                                      const QVector<qint64> &counts2,
                                                      int lowestRow);
// Q(lambda) = 2 sum_{k>=1} (-1)^(k-1) exp(-2 k^2 lambda^2), the asymptotic
// p of the Kolmogorov-Smirnov statistic; 1 at and below 0.
double kolmogorovQ(double lambda);

// ---- The comparison ------------------------------------------------------

// One test of the comparison: computed, or why not.
struct ComparisonTest
{
    bool computed = false;
    QString missing;      // why not, when not ("fewer than 100 vehicles", ...)
    double statistic = 0; // t, z or D
    double p = 1;
    std::optional<double> df;     // Welch only
    std::optional<double> ciLow;  // Welch only: the 95 % interval of the change
    std::optional<double> ciHigh; //

    bool significant() const { return computed && p < SignificanceLevel; }
};

// The change of a figure after - before, unrounded; none where either side has
// no number.
struct FigureChange
{
    std::optional<double> before;
    std::optional<double> after;
    std::optional<double> change;
    std::optional<double> relative; // change / before in %, none from a zero before
};

// The three shares over the limit: L, L + 5, L + 10.
inline constexpr int OverSteps = 3;

// The control pair's figures and the net change of the treated pair.
struct NetChange
{
    FigureChange controlMean;
    FigureChange controlP85;
    FigureChange controlOverLimit; // points
    std::optional<double> mean;    // (after - before) - (control after - control before)
    std::optional<double> p85;
    std::optional<double> overLimitPoints;
    ComparisonTest meanTest; // z = net / sqrt(sum of the four s^2/n)
};

struct SurveyComparison
{
    SurveyDirection direction = SurveyDirection::Approaching;
    SpeedStudy before;
    SpeedStudy after;
    std::optional<SpeedStudy> controlBefore;
    std::optional<SpeedStudy> controlAfter;

    FigureChange vehicles;
    FigureChange adt;
    FigureChange mean;
    FigureChange sd;
    FigureChange p50; // interpolated
    FigureChange p85;
    std::array<FigureChange, OverSteps> over; // percent; change in points

    ComparisonTest meanTest; // Welch
    ComparisonTest p50Test;
    ComparisonTest p85Test;
    std::array<ComparisonTest, OverSteps> overTests;
    ComparisonTest distributionTest; // Kolmogorov-Smirnov; statistic D
    int distributionRow = 0;         // where D is reached

    std::optional<NetChange> net; // with a control pair

    bool testsShown = false; // each survey has at least MinimumTestedVehicles
    QStringList notes;

    bool hasControl() const { return controlBefore.has_value(); }
};

// Either a comparison or why there is none.
struct ComparisonOutcome
{
    std::optional<SurveyComparison> comparison;
    QString refusal;

    bool ok() const { return comparison.has_value(); }
};

// Compares two studies of one direction (and the control pair's, both or
// neither). Refuses surveys in different units or without speed rows, and
// the same survey twice.
ComparisonOutcome compareStudies(const SpeedStudy &before, const SpeedStudy &after,
                                 const SpeedStudy *controlBefore = nullptr,
                                 const SpeedStudy *controlAfter = nullptr);

// What to compare: batch numbers; the control pair both or neither.
struct ComparisonRequest
{
    QString before;
    QString after;
    QString controlBefore;
    QString controlAfter;
    SurveyDirection direction = SurveyDirection::Approaching;
};

// The comparison of stored surveys, read from their Speed, Summary and
// Time_15 rows. Also refuses a batch that does not exist and half a control
// pair. Throws DatabaseError when a query fails.
ComparisonOutcome loadSurveyComparison(DatabaseSession &session, const ComparisonRequest &request);

// A survey the comparison lists offer.
struct ComparableSurvey
{
    QString batch;
    QString location;
    QString unit;
    QString startDate; // "mm/dd/yy"
    QString stopDate;
    qint64 vehicles = 0; // every direction
};
// The stored surveys in calendar order of their start (then batch number).
// Throws DatabaseError when a query fails.
QVector<ComparableSurvey> readComparableSurveys(DatabaseSession &session);
// The surveys for the after list once before is chosen: the others at the same
// location first, then the rest, each group in calendar order; before itself
// is left out.
QVector<ComparableSurvey> afterCandidates(const QVector<ComparableSurvey> &surveys,
                                          const QString &before);

// "< 0.001" or the p with three decimals.
QString pValueText(double p);

} // namespace roadtally
