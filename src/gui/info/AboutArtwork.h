#pragma once
// The about window's two pictures, painted rather than loaded: a speed-display
// trailer at the roadside, and a speedometer with the product name.

#include <QImage>
#include <QSize>

class QPainter;
class QRectF;

namespace roadtally {

void paintTrailerPicture(QPainter &painter, const QRectF &area);
void paintSpeedometerPicture(QPainter &painter, const QRectF &area);

// The pictures as images, for the window and for anyone who wants a copy.
QImage trailerPicture(const QSize &size);
QImage speedometerPicture(const QSize &size);

} // namespace roadtally
