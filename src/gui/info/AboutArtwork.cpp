#include "gui/info/AboutArtwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace roadtally {

namespace {

const QColor Asphalt(0x3a, 0x3f, 0x47);
const QColor Sky(0xd9, 0xe8, 0xf5);
const QColor Grass(0x7d, 0xa4, 0x53);
const QColor TrailerBody(0xf2, 0xf2, 0xf2);
const QColor Amber(0xff, 0xb3, 0x1a);
const QColor Signal(0xe0, 0x3a, 0x2f);
const QColor Ink(0x22, 0x2a, 0x35);

QImage render(const QSize &size, void (*paint)(QPainter &, const QRectF &))
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// A seven-segment style figure, so the display reads like the trailer's sign.
void paintDisplayDigits(QPainter &painter, const QRectF &panel, const QString &digits)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(8, int(panel.height() * 0.78)));
    painter.setFont(font);
    painter.setPen(Amber);
    painter.drawText(panel, Qt::AlignCenter, digits);
}

} // namespace

void paintTrailerPicture(QPainter &painter, const QRectF &area)
{
    painter.save();
    const qreal w = area.width();
    const qreal h = area.height();
    painter.translate(area.topLeft());

    // Sky, verge and road.
    QLinearGradient sky(0, 0, 0, h * 0.62);
    sky.setColorAt(0, Sky.lighter(108));
    sky.setColorAt(1, Sky);
    painter.fillRect(QRectF(0, 0, w, h * 0.62), sky);
    painter.fillRect(QRectF(0, h * 0.62, w, h * 0.14), Grass);
    painter.fillRect(QRectF(0, h * 0.76, w, h * 0.24), Asphalt);
    painter.setPen(QPen(QColor(0xf5, 0xf5, 0xf5), qMax(1.0, h * 0.012), Qt::DashLine));
    painter.drawLine(QPointF(0, h * 0.9), QPointF(w, h * 0.9));

    // Trailer frame, axle and wheel.
    const qreal base = h * 0.72;
    painter.setPen(QPen(Ink, qMax(1.0, w * 0.012)));
    painter.setBrush(TrailerBody);
    const QRectF deck(w * 0.22, base - h * 0.08, w * 0.5, h * 0.08);
    painter.drawRoundedRect(deck, 3, 3);
    painter.drawLine(QPointF(deck.left(), deck.center().y()), QPointF(w * 0.08, base));
    painter.setBrush(Ink);
    painter.drawEllipse(QPointF(w * 0.47, base + h * 0.01), w * 0.07, w * 0.07);
    painter.setBrush(QColor(0xb0, 0xb6, 0xbe));
    painter.drawEllipse(QPointF(w * 0.47, base + h * 0.01), w * 0.03, w * 0.03);

    // Mast and sign board.
    painter.setBrush(Ink);
    painter.drawRect(QRectF(w * 0.455, h * 0.34, w * 0.03, base - h * 0.42));
    const QRectF board(w * 0.2, h * 0.06, w * 0.56, h * 0.3);
    painter.setBrush(TrailerBody);
    painter.drawRoundedRect(board, 6, 6);

    // "YOUR SPEED" strip and the lit figure.
    QFont small(QStringLiteral("Liberation Sans"));
    small.setBold(true);
    small.setPixelSize(qMax(6, int(board.height() * 0.16)));
    painter.setFont(small);
    painter.setPen(Ink);
    const QRectF strip(board.left(), board.top() + board.height() * 0.04, board.width(),
                       board.height() * 0.22);
    painter.drawText(strip, Qt::AlignCenter, QStringLiteral("YOUR SPEED"));
    const QRectF panel(board.left() + board.width() * 0.12, board.top() + board.height() * 0.3,
                       board.width() * 0.76, board.height() * 0.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x14, 0x14, 0x14));
    painter.drawRoundedRect(panel, 4, 4);
    paintDisplayDigits(painter, panel, QStringLiteral("35"));

    // Radar beam towards the road.
    painter.setPen(QPen(Signal, qMax(1.0, w * 0.008)));
    painter.setBrush(Qt::NoBrush);
    const QPointF source(board.right(), board.center().y());
    for (int i = 1; i <= 3; ++i) {
        const qreal r = w * 0.06 * i;
        painter.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    painter.restore();
}

void paintSpeedometerPicture(QPainter &painter, const QRectF &area)
{
    painter.save();
    painter.translate(area.topLeft());
    const qreal w = area.width();
    const qreal h = area.height();
    const qreal r = qMin(w * 0.46, h * 0.40);
    const QPointF centre(w / 2, r + h * 0.06);

    // Dial face.
    QRadialGradient face(centre, r);
    face.setColorAt(0, QColor(0x3b, 0x45, 0x55));
    face.setColorAt(1, Ink);
    painter.setPen(QPen(QColor(0xc8, 0xcd, 0xd4), qMax(1.0, r * 0.05)));
    painter.setBrush(face);
    painter.drawEllipse(centre, r, r);

    // Scale from 0 to 80, the upper quarter in red.
    for (int speed = 0; speed <= 80; speed += 5) {
        const qreal angle = qDegreesToRadians(225.0 - speed * 270.0 / 80.0);
        const bool major = speed % 10 == 0;
        const qreal inner = r * (major ? 0.76 : 0.84);
        const QPointF a(centre.x() + inner * qCos(angle), centre.y() - inner * qSin(angle));
        const QPointF b(centre.x() + r * 0.92 * qCos(angle), centre.y() - r * 0.92 * qSin(angle));
        painter.setPen(QPen(speed >= 60 ? Signal : QColor(0xf0, 0xf0, 0xf0),
                            qMax(1.0, r * (major ? 0.035 : 0.02))));
        painter.drawLine(a, b);
        if (major && speed % 20 == 0) {
            QFont font(QStringLiteral("Liberation Sans"));
            font.setPixelSize(qMax(6, int(r * 0.15)));
            painter.setFont(font);
            const qreal t = r * 0.6;
            const QPointF at(centre.x() + t * qCos(angle), centre.y() - t * qSin(angle));
            painter.drawText(QRectF(at.x() - r * 0.2, at.y() - r * 0.1, r * 0.4, r * 0.2),
                             Qt::AlignCenter, QString::number(speed));
        }
    }

    // Needle at 35.
    const qreal needle = qDegreesToRadians(225.0 - 35 * 270.0 / 80.0);
    painter.setPen(QPen(Amber, qMax(1.5, r * 0.05), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(
        centre, QPointF(centre.x() + r * 0.7 * qCos(needle), centre.y() - r * 0.7 * qSin(needle)));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xc8, 0xcd, 0xd4));
    painter.drawEllipse(centre, r * 0.08, r * 0.08);

    // Product name under the dial.
    QFont name(QStringLiteral("Liberation Sans"));
    name.setBold(true);
    name.setPixelSize(qMax(8, int(h * 0.13)));
    painter.setFont(name);
    painter.setPen(Ink);
    const QRectF label(0, centre.y() + r + h * 0.02, w, h - (centre.y() + r + h * 0.02));
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Roadtally"));
    painter.restore();
}

QImage trailerPicture(const QSize &size)
{
    return render(size, &paintTrailerPicture);
}

QImage speedometerPicture(const QSize &size)
{
    return render(size, &paintSpeedometerPicture);
}

} // namespace roadtally
