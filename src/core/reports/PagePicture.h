#pragma once
// The two study pages (the speed zone study and the before-and-after study):
// their shared geometry, and their charts recorded as vectors in the
// proportions of their place, then placed in a rectangle of the page (twips).

#include "core/reports/DocumentEngine.h"

#include <QColor>
#include <QPainter>
#include <QPicture>
#include <QRectF>

namespace roadtally {

namespace studypage {

inline const QColor Black(0, 0, 0);
inline const QColor HeadingBack(220, 228, 236);

// Page geometry in twips: the rules run from 0.7 in to 7.7 in as on the
// summary report, and the text between them.
constexpr double Left = 1008;
constexpr double Right = 11088;
constexpr double RightMargin = 12240 - Right;
constexpr double FactsTop = 2304;

// The width of one of the two text columns.
inline double halfWidth()
{
    return (Right - Left - DocumentEngine::ColumnGap) / 2;
}

} // namespace studypage

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
