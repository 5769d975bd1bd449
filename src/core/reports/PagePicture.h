#pragma once
// Charts on a report page: recorded as vectors in the proportions of their
// place, then placed in a rectangle of the page (twips).

#include "core/reports/DocumentEngine.h"

#include <QPainter>
#include <QPicture>
#include <QRectF>

namespace roadtally {

// paint(painter, rect, data) drawn at the charts' narrowest design width (the
// largest text on paper), in the proportions width x height.
template <class Data, class Paint>
QPicture chartPicture(Paint paint, const Data &data, double width, double height)
{
    QPicture picture;
    QPainter painter(&picture);
    const double w = 520;
    paint(painter, QRectF(0, 0, w, w * height / width), data);
    painter.end();
    return picture;
}

inline void placePicture(DocumentEngine &vp, const QPicture &picture, const QRectF &rect)
{
    vp.setPictureLeft(rect.left());
    vp.setPictureTop(rect.top());
    vp.setPictureRight(rect.right());
    vp.setPictureBottom(rect.bottom());
    vp.PlacePicture(picture);
    vp.FinishTable();
}

} // namespace roadtally
