#include "core/analysis/StudyChartKit.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace roadtally::chartkit {

DesignSpace::DesignSpace(QPainter &painter, const QRectF &rect) : m_painter(painter)
{
    painter.save();
    const double width = std::clamp(rect.width(), MinDesignWidth, MaxDesignWidth);
    const double scale = rect.width() / width;
    painter.translate(rect.topLeft());
    painter.scale(scale, scale);
    m_size = QSizeF(width, rect.height() / scale);
    painter.setClipRect(QRectF(QPointF(0, 0), m_size));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), m_size), Qt::white);
}

QFont chartFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

double textWidth(const QFont &font, const QString &text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

double lineHeight(const QFont &font)
{
    return QFontMetricsF(font).height();
}

double niceStep(double span, int maxTicks, double minimum)
{
    maxTicks = std::max(1, maxTicks);
    const double raw = std::max(span / maxTicks, minimum);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw - 1e-9)
            return m * power;
    return 10 * power;
}

QString speedTickText(int speed, const SpeedStudy &s)
{
    if (speed == s.lowestRow)
        return QStringLiteral("\u2264%1").arg(speed);
    if (speed == s.highestRow)
        return QStringLiteral("\u2265%1").arg(speed);
    return QString::number(speed);
}

SpeedAxis speedAxis(const SpeedStudy &s, QVector<double> extra, double width, const QFont &tick)
{
    int first = -1, last = -1;
    for (int i = 0; i < s.counts.size(); ++i)
        if (s.counts.at(i) > 0) {
            if (first < 0)
                first = i;
            last = i;
        }
    double lo = first < 0 ? s.lowestRow : s.lowestRow + first;
    double hi = first < 0 ? s.highestRow : s.lowestRow + last;
    for (double v : extra) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    lo = std::max(lo - 1, double(s.lowestRow) - 1);
    hi = std::min(hi + 1, double(s.highestRow) + 1);
    // Room for a label per tick: the widest speed text and a gap.
    const double labelRoom = textWidth(tick, QStringLiteral("\u2265%1").arg(s.highestRow)) + 16;
    const int maxTicks = std::max(2, int(width / labelRoom));
    SpeedAxis axis;
    axis.step = int(niceStep(hi - lo, maxTicks, 1));
    if (axis.step >= 10 && axis.step % 10 != 0) // 20, 50 are fine; keep whole tens
        axis.step = 10 * ((axis.step + 9) / 10);
    axis.lo = std::max(std::floor(lo / axis.step) * axis.step, double(s.lowestRow) - 1);
    axis.hi = std::min(std::ceil(hi / axis.step) * axis.step, double(s.highestRow) + 1);
    if (axis.hi - axis.lo < 4) {
        axis.lo -= 2;
        axis.hi += 2;
    }
    return axis;
}

void drawTitle(QPainter &p, const Fonts &fonts, const QSizeF &size, const QString &title)
{
    p.setFont(fonts.title);
    p.setPen(TextColour);
    p.drawText(QRectF(Pad, Pad, size.width() - 2 * Pad, lineHeight(fonts.title)),
               Qt::AlignLeft | Qt::AlignVCenter, title);
}

void drawFrame(QPainter &p, const Fonts &fonts, const Plot &plot, const SpeedStudy &s,
               const SpeedAxis &xAxis, double yStep, bool yPercent, const QString &xTitle,
               const QString &yTitle)
{
    const QRectF &a = plot.area;
    p.setFont(fonts.tick);
    const double tickHeight = lineHeight(fonts.tick);

    // Horizontal grid and the value labels
    for (double v = plot.yLo; v <= plot.yHi + 1e-9; v += yStep) {
        const double y = plot.y(v);
        p.setPen(QPen(GridColour, 1));
        if (v > plot.yLo)
            p.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
        p.setPen(TextColour);
        const QString text =
            QString::number(v, 'f', 0) + (yPercent ? QStringLiteral("%") : QString());
        p.drawText(QRectF(0, y - tickHeight / 2, a.left() - 6, tickHeight),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    }

    // Vertical grid at round speeds; the catch-all rows labelled by their form
    QVector<QRectF> taken;
    auto speedLabel = [&](int speed, bool always) {
        const QString text = speedTickText(speed, s);
        const double w = textWidth(fonts.tick, text);
        const QRectF r(plot.x(speed) - w / 2, a.bottom() + 4, w, tickHeight);
        for (const QRectF &t : std::as_const(taken))
            if (t.adjusted(-4, 0, 4, 0).intersects(r))
                return;
        if (!always && (r.left() < 0 || r.right() > a.right() + Pad))
            return;
        taken << r;
        p.setPen(TextColour);
        p.drawText(r, Qt::AlignCenter, text);
        p.setPen(QPen(AxisColour, 1));
        p.drawLine(QPointF(plot.x(speed), a.bottom()), QPointF(plot.x(speed), a.bottom() + 3));
    };
    for (int row : {s.lowestRow, s.highestRow})
        if (row >= xAxis.lo && row <= xAxis.hi && s.counts.value(row - s.lowestRow) > 0)
            speedLabel(row, true);
    for (int v = int(xAxis.lo); v <= int(xAxis.hi); ++v) {
        if (v % xAxis.step != 0)
            continue;
        p.setPen(QPen(GridColour, 1));
        if (v > xAxis.lo)
            p.drawLine(QPointF(plot.x(v), a.top()), QPointF(plot.x(v), a.bottom()));
        speedLabel(v, false);
    }

    // Axes
    p.setPen(QPen(AxisColour, 1.2));
    p.drawLine(a.bottomLeft(), a.bottomRight());
    p.drawLine(a.bottomLeft(), a.topLeft());

    // Axis titles
    p.setFont(fonts.axisTitle);
    p.setPen(TextColour);
    const double titleHeight = lineHeight(fonts.axisTitle);
    p.drawText(QRectF(a.left(), a.bottom() + 6 + tickHeight, a.width(), titleHeight),
               Qt::AlignHCenter | Qt::AlignTop, xTitle);
    p.save();
    p.translate(Pad, a.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-a.height() / 2, 0, a.height(), titleHeight), Qt::AlignCenter, yTitle);
    p.restore();
}

TopLabel topLabel(double x, const QString &text, const QColor &colour)
{
    TopLabel l;
    l.x = x;
    l.text = text;
    l.colour = colour;
    return l;
}

int placeTopLabels(QVector<TopLabel> &labels, const QFont &font, double left, double right)
{
    std::sort(labels.begin(), labels.end(),
              [](const TopLabel &a, const TopLabel &b) { return a.x < b.x; });
    const double h = lineHeight(font);
    QVector<QVector<QRectF>> rows;
    for (TopLabel &l : labels) {
        const double w = textWidth(font, l.text);
        const double x = std::clamp(l.x - w / 2, left, std::max(left, right - w));
        const QRectF r(x, 0, w, h);
        int row = 0;
        for (; row < rows.size(); ++row) {
            bool clear = true;
            for (const QRectF &t : std::as_const(rows[row]))
                if (t.adjusted(-6, 0, 6, 0).intersects(r))
                    clear = false;
            if (clear)
                break;
        }
        if (row == rows.size())
            rows.append(QVector<QRectF>());
        rows[row].append(r);
        l.row = row;
        l.rect = r;
    }
    return int(rows.size());
}

void drawNoData(QPainter &p, const Fonts &fonts, const QRectF &area, const QString &text)
{
    p.setFont(fonts.axisTitle);
    p.setPen(AxisColour);
    p.drawText(area, Qt::AlignCenter, text);
}

QPen markPen(const QColor &colour, double width)
{
    QPen pen(colour, width);
    if (colour == LimitColour)
        pen.setStyle(Qt::DashDotLine);
    else if (colour == P50Colour)
        pen.setStyle(Qt::DashLine);
    else if (colour == P85Colour)
        pen.setDashPattern({1.5, 2.5}); // dotted, the dots longer than the pen is wide
    else
        pen.setDashPattern({6, 2, 1, 2, 1, 2}); // dash, dot, dot
    return pen;
}

QString directionCaption(const SpeedStudy &s)
{
    return vehiclesCaption(s.direction);
}

QString speedTitle(const SpeedStudy &s)
{
    return s.unitText.isEmpty() ? QStringLiteral("Speed")
                                : QStringLiteral("Speed (%1)").arg(s.unitText);
}

double legendEntry(QPainter &p, const QFont &font, double right, double y, const QString &text,
                   const QBrush &swatch, const QPen &line)
{
    const double h = lineHeight(font);
    const double w = textWidth(font, text);
    const double textLeft = right - w;
    p.setFont(font);
    p.setPen(TextColour);
    p.drawText(QRectF(textLeft, y, w, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    const QRectF box(textLeft - 16, y + h / 2 - 5, 12, 10);
    if (line.style() != Qt::NoPen) {
        p.setPen(line);
        p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    } else {
        p.setPen(QPen(AxisColour, 0.6));
        p.setBrush(swatch);
        p.drawRect(box);
        p.setBrush(Qt::NoBrush);
    }
    return box.left() - 14;
}

} // namespace roadtally::chartkit
