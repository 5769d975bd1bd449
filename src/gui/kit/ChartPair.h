#pragma once
// Where the two charts of a view go: side by side when the view is wide, one
// above the other when it is tall.

#include <QRectF>
#include <QSizeF>

#include <utility>

namespace roadtally::kit {

// The first and the second chart's rectangles inside (0, 0, size).
std::pair<QRectF, QRectF> chartPairRects(const QSizeF &size);

} // namespace roadtally::kit
