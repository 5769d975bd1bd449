#include "gui/kit/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace roadtally {

namespace {

const QColor Navy(0x1f, 0x3a, 0x5f);
const QColor Amber(0xf2, 0xa9, 0x00);
const QColor Paper(0xfa, 0xfa, 0xf7);

QPixmap blank(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap logoPicture(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 100.0;
    p.scale(s, s);

    // Trailer: wheels, frame, mast.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x44, 0x44, 0x44));
    p.drawEllipse(QPointF(24, 90), 7, 7);
    p.drawEllipse(QPointF(58, 90), 7, 7);
    p.setBrush(QColor(0x9a, 0xa3, 0xad));
    p.drawRect(QRectF(10, 80, 62, 6));
    p.drawRect(QRectF(38, 58, 6, 24));

    // Sign board with a lit speed figure.
    QLinearGradient board(0, 8, 0, 60);
    board.setColorAt(0, QColor(0x2b, 0x4d, 0x7a));
    board.setColorAt(1, Navy);
    p.setBrush(board);
    p.setPen(QPen(QColor(0x10, 0x20, 0x35), 1.5));
    p.drawRoundedRect(QRectF(4, 6, 74, 54), 6, 6);
    p.setBrush(QColor(0x0b, 0x0b, 0x0b));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(11, 20, 60, 34), 3, 3);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(28);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Amber);
    p.drawText(QRectF(11, 20, 60, 34), Qt::AlignCenter, QStringLiteral("35"));
    QFont small = f;
    small.setPixelSize(8);
    p.setFont(small);
    p.setPen(Qt::white);
    p.drawText(QRectF(4, 8, 74, 12), Qt::AlignCenter, QStringLiteral("YOUR SPEED"));

    // Radar waves.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Amber, 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal r = 6 + i * 6;
        p.drawArc(QRectF(80 - r, 33 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    return pm;
}

QPixmap openSurveyPicture(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    p.setPen(QPen(QColor(0x8a, 0x60, 0x10), 1.2));
    p.setBrush(QColor(0xf5, 0xc3, 0x42));
    QPainterPath back;
    back.moveTo(4, 12);
    back.lineTo(18, 12);
    back.lineTo(22, 16);
    back.lineTo(44, 16);
    back.lineTo(44, 40);
    back.lineTo(4, 40);
    back.closeSubpath();
    p.drawPath(back);
    // Bar chart on the folder.
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    const int heights[] = {8, 14, 11, 18};
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(12 + i * 6, 36 - heights[i], 4, heights[i]));
    return pm;
}

QPixmap loadDataPicture(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    p.setPen(QPen(QColor(0x55, 0x5f, 0x6a), 1.2));
    p.setBrush(Paper);
    QPainterPath page;
    page.moveTo(10, 4);
    page.lineTo(30, 4);
    page.lineTo(38, 12);
    page.lineTo(38, 44);
    page.lineTo(10, 44);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(30, 4), QPointF(30, 12));
    p.drawLine(QPointF(30, 12), QPointF(38, 12));
    p.setPen(QPen(QColor(0x90, 0x99, 0xa3), 1.5));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(14, 18 + i * 5), QPointF(34, 18 + i * 5));
    // Green arrow into the page.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x8b, 0x3e));
    QPainterPath arrow;
    arrow.moveTo(24, 44);
    arrow.lineTo(14, 34);
    arrow.lineTo(20, 34);
    arrow.lineTo(20, 24);
    arrow.lineTo(28, 24);
    arrow.lineTo(28, 34);
    arrow.lineTo(34, 34);
    arrow.closeSubpath();
    p.drawPath(arrow);
    return pm;
}

QPixmap lastSurveyPicture(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    p.setPen(QPen(QColor(0x55, 0x5f, 0x6a), 1.2));
    p.setBrush(Paper);
    p.drawRect(QRectF(14, 6, 28, 36));
    p.setPen(QPen(Navy, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath curve;
    curve.moveTo(34, 30);
    curve.cubicTo(34, 14, 16, 14, 12, 24);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(Navy);
    QPainterPath head;
    head.moveTo(5, 20);
    head.lineTo(16, 18);
    head.lineTo(11, 30);
    head.closeSubpath();
    p.drawPath(head);
    return pm;
}

QPixmap informationPicture(int size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1d, 0x6f, 0xc4));
    p.drawEllipse(QRectF(1, 1, 22, 22));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(10.3, 5, 3.4, 3.4));
    p.drawRoundedRect(QRectF(10.5, 10, 3, 9), 1, 1);
    return pm;
}

} // namespace roadtally
