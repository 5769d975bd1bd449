#include "gui/kit/ChartPair.h"

namespace roadtally::kit {

std::pair<QRectF, QRectF> chartPairRects(const QSizeF &size)
{
    constexpr double Gap = 8;
    // Side by side only where each chart still gets a useful width.
    if (size.width() >= 2 * 520 + Gap && size.width() > 1.3 * size.height()) {
        const double w = (size.width() - Gap) / 2;
        return {{0, 0, w, size.height()}, {w + Gap, 0, w, size.height()}};
    }
    const double h = (size.height() - Gap) / 2;
    return {{0, 0, size.width(), h}, {0, h + Gap, size.width(), h}};
}

} // namespace roadtally::kit
