#pragma once
// The two charts of the speed zone study, painted on any QPainter into a
// rectangle (a tab, a printed page, an image in a test). Sizes follow the
// rectangle, so screen and paper look alike.

#include "core/analysis/SpeedStudy.h"

#include <QPainter>
#include <QRectF>

namespace roadtally {

// Vehicles per speed as bars, the pace window shaded, the 50th and 85th
// percentile speeds and the posted limit marked.
void paintSpeedDistributionChart(QPainter &painter, const QRectF &rect, const SpeedStudy &study);

// The share of vehicles at or below each speed as a curve, with the 15th, 50th
// and 85th percentile levels drawn across to the curve and down to the speed.
void paintCumulativeSpeedChart(QPainter &painter, const QRectF &rect, const SpeedStudy &study);

} // namespace roadtally
