#include "core/analysis/SpeedStudyCharts.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace roadtally {

namespace {

// Charts are laid out in a design space of this width, scaled into the
// rectangle; text keeps a readable size on screen and on paper.
constexpr double MinDesignWidth = 520;
constexpr double MaxDesignWidth = 760;
constexpr double Pad = 10;

const QColor BarColour(74, 122, 181);
const QColor CatchAllColour(150, 160, 172);
const QColor PaceColour(253, 225, 170);
const QColor GridColour(226, 226, 226);
const QColor AxisColour(90, 90, 90);
const QColor TextColour(35, 35, 35);
const QColor P50Colour(46, 125, 50);
const QColor P85Colour(198, 40, 40);
const QColor LimitColour(60, 60, 60);
const QColor CurveColour(30, 80, 150);
const QColor LevelColours[3] = {QColor(110, 90, 170), P50Colour, P85Colour};

QFont chartFont(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

struct Fonts
{
    QFont title = chartFont(15, true);
    QFont axisTitle = chartFont(12);
    QFont tick = chartFont(11);
    QFont mark = chartFont(11, true);
};

double textWidth(const QFont &font, const QString &text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

double lineHeight(const QFont &font)
{
    return QFontMetricsF(font).height();
}

// Paints in design units inside rect, restoring the painter at scope end.
class DesignSpace
{
public:
    DesignSpace(QPainter &painter, const QRectF &rect) : m_painter(painter)
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
    ~DesignSpace() { m_painter.restore(); }
    DesignSpace(const DesignSpace &) = delete;
    DesignSpace &operator=(const DesignSpace &) = delete;

    QSizeF size() const { return m_size; }

private:
    QPainter &m_painter;
    QSizeF m_size;
};

// Data to design units.
struct Plot
{
    QRectF area;
    double xLo = 0, xHi = 1, yLo = 0, yHi = 1;

    double x(double v) const { return area.left() + (v - xLo) / (xHi - xLo) * area.width(); }
    double y(double v) const { return area.bottom() - (v - yLo) / (yHi - yLo) * area.height(); }
};

// The smallest step of 1, 2 or 5 times a power of ten (and at least minimum)
// that keeps the axis to at most maxTicks intervals.
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

// The speed axis: occupied rows (and any extra speeds) with a row of room,
// widened to round ticks, never past the catch-all rows.
struct SpeedAxis
{
    double lo = 0;
    double hi = 1;
    int step = 5;
};

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

// Grid lines, axes, tick labels and axis titles.
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
        const QString text = QString::number(v, 'f', 0) + (yPercent ? QStringLiteral("%") : "");
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

// A label above the plot at a speed; labels that would overlap go to a
// further row.
struct TopLabel
{
    double x = 0;
    QString text;
    QColor colour;
    int row = 0;
    QRectF rect;
};

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

// The line of a mark: the limit, P50 and P85 (and P15) differ by their dash
// pattern as well as by colour, so that a black-and-white copy keeps them apart.
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

// A swatch and its text in the legend row, from the right edge leftwards.
double legendEntry(QPainter &p, const QFont &font, double right, double y, const QString &text,
                   const QBrush &swatch, const QPen &line = Qt::NoPen)
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

} // namespace

void paintSpeedDistributionChart(QPainter &painter, const QRectF &rect, const SpeedStudy &s)
{
    DesignSpace space(painter, rect);
    QPainter &p = painter;
    const Fonts fonts;
    const QSizeF size = space.size();
    drawTitle(p, fonts, size, QStringLiteral("Speed distribution, ") + directionCaption(s));

    const double titleBottom = Pad + lineHeight(fonts.title) + 4;
    const double legendHeight = lineHeight(fonts.tick);
    const double markHeight = lineHeight(fonts.mark) + 2;
    const double bottom =
        size.height() - Pad - lineHeight(fonts.tick) - lineHeight(fonts.axisTitle) - 8;

    // Vehicle axis from the tallest bar, against a first guess of the height.
    qint64 tallest = 0;
    for (qint64 c : s.counts)
        tallest = std::max(tallest, c);
    const double guessHeight = bottom - titleBottom - legendHeight - 2 * markHeight;
    const double yStep =
        niceStep(double(std::max<qint64>(tallest, 1)), std::clamp(int(guessHeight / 30), 2, 8), 1);
    const double yHi = std::max(1.0, std::ceil(double(tallest) * 1.04 / yStep)) * yStep;

    Plot plot;
    plot.yLo = 0;
    plot.yHi = yHi;
    const double left = Pad + lineHeight(fonts.axisTitle) + 6 +
                        textWidth(fonts.tick, QString::number(yHi, 'f', 0)) + 8;
    const double right = size.width() - Pad - 8;

    QVector<double> extra;
    if (s.paceLow.isNumber())
        extra << *s.paceLow.number << *s.paceHigh.number;
    if (s.limit)
        extra << *s.limit;
    const SpeedAxis xAxis = speedAxis(s, extra, right - left, fonts.tick);
    plot.xLo = xAxis.lo - 0.5;
    plot.xHi = xAxis.hi + 0.5;
    plot.area = QRectF(left, 0, right - left, 1);

    // Marks above the plot: the two percentile speeds and the posted limit.
    QVector<TopLabel> marks;
    const PercentileFigure &p50 = s.percentile(50);
    const PercentileFigure &p85 = s.percentile(85);
    for (const PercentileFigure *f : {&p50, &p85})
        if (f->at && s.n > 0)
            marks.append(
                topLabel(*f->at,
                         QStringLiteral("P%1 %2").arg(f->level).arg(
                             f->interpolated.isNumber() ? f->interpolated.text : f->ranked.text),
                         f->level == 50 ? P50Colour : P85Colour));
    if (s.limit && *s.limit >= plot.xLo && *s.limit <= plot.xHi)
        marks.append(topLabel(*s.limit, QStringLiteral("Limit %1").arg(*s.limit), LimitColour));
    for (TopLabel &m : marks)
        m.x = plot.x(m.x);
    const int markRows = placeTopLabels(marks, fonts.mark, left, right + Pad);

    const double legendTop = titleBottom;
    const double top = legendTop + legendHeight + 6 + markRows * markHeight + 4;
    plot.area = QRectF(left, top, right - left, std::max(20.0, bottom - top));

    // Legend
    double x = size.width() - Pad;
    if (s.paceText != QLatin1String("N/A"))
        x = legendEntry(p, fonts.tick, x, legendTop,
                        QStringLiteral("Pace %1 (%2%)").arg(s.paceText, s.pacePercent.text),
                        PaceColour);
    if (s.n > 0 && (s.counts.first() > 0 || s.counts.last() > 0))
        x = legendEntry(p, fonts.tick, x, legendTop, QStringLiteral("Catch-all row"),
                        CatchAllColour);
    if (s.n > 0)
        legendEntry(p, fonts.tick, x, legendTop, QStringLiteral("Vehicles"), BarColour);

    // Pace window behind everything
    const QRectF &a = plot.area;
    if (s.paceLow.isNumber()) {
        const double x0 = plot.x(*s.paceLow.number - 0.5);
        const double x1 = plot.x(*s.paceHigh.number + 0.5);
        p.fillRect(QRectF(x0, a.top(), x1 - x0, a.height()), PaceColour);
    }

    drawFrame(p, fonts, plot, s, xAxis, yStep, false, speedTitle(s), QStringLiteral("Vehicles"));

    if (s.n == 0) {
        drawNoData(p, fonts, a, QStringLiteral("No vehicles"));
        return;
    }

    // Bars
    const double barWidth = std::max(1.0, (plot.x(1) - plot.x(0)) * 0.8);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < s.counts.size(); ++i) {
        const int speed = s.lowestRow + i;
        const qint64 c = s.counts.at(i);
        if (c == 0 || speed < xAxis.lo || speed > xAxis.hi)
            continue;
        const double h = a.bottom() - plot.y(double(c));
        const bool catchAll = speed == s.lowestRow || speed == s.highestRow;
        p.setBrush(catchAll ? CatchAllColour : BarColour);
        p.drawRect(QRectF(plot.x(speed) - barWidth / 2, a.bottom() - h, barWidth, h));
    }
    p.setBrush(Qt::NoBrush);

    // Marks: a line from its label down through the plot; the labels go on
    // top, so a line from an upper row passes behind a label below it.
    auto labelBottom = [&](const TopLabel &m) {
        return a.top() - 4 - (markRows - 1 - m.row) * markHeight;
    };
    for (const TopLabel &m : std::as_const(marks)) {
        const bool limit = m.colour == LimitColour;
        p.setPen(markPen(m.colour, limit ? 1.2 : 1.6));
        p.drawLine(QPointF(m.x, labelBottom(m)), QPointF(m.x, a.bottom()));
    }
    p.setFont(fonts.mark);
    for (const TopLabel &m : std::as_const(marks)) {
        QRectF r = m.rect;
        r.moveBottom(labelBottom(m) - 1);
        p.fillRect(r.adjusted(-2, 0, 2, 0), Qt::white);
        p.setPen(m.colour);
        p.drawText(r, Qt::AlignCenter, m.text);
    }
}

void paintCumulativeSpeedChart(QPainter &painter, const QRectF &rect, const SpeedStudy &s)
{
    DesignSpace space(painter, rect);
    QPainter &p = painter;
    const Fonts fonts;
    const QSizeF size = space.size();
    drawTitle(p, fonts, size,
              QStringLiteral("Cumulative speed distribution, ") + directionCaption(s));

    const double top = Pad + lineHeight(fonts.title) + 12;
    const double bottom =
        size.height() - Pad - lineHeight(fonts.tick) - lineHeight(fonts.axisTitle) - 8;
    Plot plot;
    plot.yLo = 0;
    plot.yHi = 100;
    const double left =
        Pad + lineHeight(fonts.axisTitle) + 6 + textWidth(fonts.tick, QStringLiteral("100%")) + 8;
    const double right = size.width() - Pad - 8;
    const SpeedAxis xAxis = speedAxis(s, {}, right - left, fonts.tick);
    plot.xLo = xAxis.lo - 0.5;
    plot.xHi = xAxis.hi + 0.5;
    plot.area = QRectF(left, top, right - left, std::max(20.0, bottom - top));
    const QRectF &a = plot.area;
    const double yStep = a.height() >= 220 ? 10 : 20;

    drawFrame(p, fonts, plot, s, xAxis, yStep, true, speedTitle(s),
              QStringLiteral("Vehicles at or below (%)"));
    if (s.n == 0) {
        drawNoData(p, fonts, a, QStringLiteral("No vehicles"));
        return;
    }

    // The curve through the top of each speed class [s - 0.5, s + 0.5), so it
    // crosses a level exactly at the interpolated percentile. The catch-all
    // rows have no known spread: their rise is drawn dotted.
    QVector<QPointF> points;
    qint64 cum = 0;
    int first = 0;
    while (first < s.counts.size() && s.counts.at(first) == 0)
        ++first;
    int last = int(s.counts.size()) - 1;
    while (last > 0 && s.counts.at(last) == 0)
        --last;
    points << QPointF(plot.x(s.lowestRow + first - 0.5), plot.y(0));
    for (int i = first; i <= last; ++i) {
        cum += s.counts.at(i);
        points << QPointF(plot.x(s.lowestRow + i + 0.5), plot.y(100.0 * double(cum) / double(s.n)));
    }
    const bool lowCatchAll = first == 0;
    const bool highCatchAll = last == int(s.counts.size()) - 1;
    const int solidFirst = lowCatchAll ? 1 : 0;
    const int solidLast = int(points.size()) - 1 - (highCatchAll ? 1 : 0);
    QPainterPath solid;
    for (int i = solidFirst; i <= solidLast; ++i)
        i == solidFirst ? solid.moveTo(points.at(i)) : solid.lineTo(points.at(i));
    p.setPen(QPen(CurveColour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(solid);
    p.setPen(QPen(CurveColour, 1.6, Qt::DotLine));
    if (lowCatchAll && points.size() > 1)
        p.drawLine(points.at(0), points.at(1));
    if (highCatchAll && points.size() > 1)
        p.drawLine(points.at(points.size() - 2), points.last());

    // The levels: across to the curve and down to the speed; then their labels
    // over the lines, below the level to the right of the point (the curve is
    // above there) or, near the right edge, above it to the left (the curve is
    // below there).
    struct Level
    {
        double x, y;
        QColor colour;
        QString text;
    };
    QVector<Level> levels;
    for (int k = 0; k < 3; ++k) {
        const PercentileFigure &f = s.percentiles[k];
        if (!f.at)
            continue;
        QString text = QStringLiteral("%1th: ").arg(f.level);
        if (f.interpolated.isNumber())
            text += QStringLiteral("%1 (ranked %2)").arg(f.interpolated.text, f.ranked.text);
        else
            text += f.ranked.text;
        levels.append({std::clamp(plot.x(*f.at), a.left(), a.right()), plot.y(f.level),
                       LevelColours[k], text});
    }
    for (const Level &l : std::as_const(levels)) {
        p.setPen(markPen(l.colour, 1.4));
        p.drawLine(QPointF(a.left(), l.y), QPointF(l.x, l.y));
        p.drawLine(QPointF(l.x, l.y), QPointF(l.x, a.bottom()));
        p.setPen(Qt::NoPen);
        p.setBrush(l.colour);
        p.drawEllipse(QPointF(l.x, l.y), 3, 3);
        p.setBrush(Qt::NoBrush);
    }
    p.setFont(fonts.mark);
    const double h = lineHeight(fonts.mark);
    for (const Level &l : std::as_const(levels)) {
        const double w = textWidth(fonts.mark, l.text);
        QRectF r(l.x + 6, l.y + 2, w, h);
        if (r.right() > a.right() - 2)
            r.moveTopRight(QPointF(l.x - 6, l.y - 2 - h));
        if (r.left() < a.left() + 2)
            r.moveLeft(a.left() + 2);
        p.fillRect(r.adjusted(-2, 0, 2, 0), QColor(255, 255, 255, 230));
        p.setPen(l.colour);
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, l.text);
    }
}

} // namespace roadtally
