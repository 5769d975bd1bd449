#pragma once
// The comparison as people read it: the table the window, the printed page
// and the workbook show (figure | before | after | change | test | p |
// significant), the command line's text, and its JSON.

#include "core/analysis/SurveyComparison.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

namespace roadtally {

// One line of the comparison table: a heading, or a figure.
struct ComparisonLine
{
    QString key; // "mean", "p85", "over_limit", ... ("" for a heading or a sub-line)
    QString label;
    QString before; // the figures as shown, with their units ("34.1 mph", "45.2%")
    QString after;
    QString change;      // "-2.9 mph", "-15.1 points (-33.4%)"
    QString test;        // "t = -25.31, df 2290.4", "z = 3.05", "D = 0.231 at 38 mph"
    QString p;           // "0.022", "< 0.001", "N/A" or ""
    QString significant; // "Yes", "No" or ""
    bool heading = false;
    bool sub = false; // a line under a figure (the interval of the mean's change)

    // The numbers behind the texts, for a sheet; none where the text is not one.
    std::optional<double> beforeNumber;
    std::optional<double> afterNumber;
    std::optional<double> changeNumber;
    std::optional<double> relativeNumber; // the change in % of before
    QString testName;                     // "Welch's t", "Two-proportion z", ...
    std::optional<double> statistic;
    std::optional<double> pNumber;
};

// The figures with their changes and tests in reading order; with a control
// pair, the control's changes and the net changes follow.
QVector<ComparisonLine> comparisonTable(const SurveyComparison &comparison);

// The survey pairs as a heading says them: "Before 052425-A (05/24/25 to
// 05/31/25), after 071225-A (07/12/25 to 07/19/25)".
QString comparisonPairText(const SurveyComparison &comparison);

// The direction as the comparison's captions say it ("approaching vehicles").
QString comparisonDirectionText(SurveyDirection direction);

// The table in columns, then the notes; lines end in "\n".
QString comparisonText(const SurveyComparison &comparison);

// Keys: before, after {batch, n, mean, sd, p50, p85, p50_interpolated,
// p85_interpolated, over_limit_percent, over_5_percent, over_10_percent, adt},
// change {mean, sd, p50, p85, over_limit_points, over_5_points,
// over_10_points, adt}, tests {mean {t, df, p, ci_low, ci_high}, p50, p85,
// over_limit, over_5, over_10 {z, p}, distribution {d, p}} ("N/A" for a test
// not computed), significant (the same keys, booleans), net (with a control
// pair: mean, p85, over_limit_points, mean_z, mean_p), notes. Numbers
// unrounded.
QJsonObject comparisonJson(const SurveyComparison &comparison);

} // namespace roadtally
