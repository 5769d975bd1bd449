#pragma once
// The two charts of a before-and-after comparison, painted on any QPainter
// into a rectangle (the window, a printed page, an image in a test), in the
// style of the speed study's charts.

#include "core/analysis/SurveyComparison.h"

#include <QPainter>
#include <QRectF>

namespace roadtally {

// The colours that tell the two surveys apart, on the charts and beside them.
QColor comparisonBeforeColour();
QColor comparisonAfterColour();

// The two speed distributions side by side at each speed, each as a share of
// its own survey, with the posted limit marked.
void paintComparisonDistributionChart(QPainter &painter, const QRectF &rect,
                                      const SurveyComparison &comparison);

// The two cumulative curves with the posted limit, both 85th percentile
// speeds and the largest gap between the curves marked.
void paintComparisonCumulativeChart(QPainter &painter, const QRectF &rect,
                                    const SurveyComparison &comparison);

} // namespace roadtally
