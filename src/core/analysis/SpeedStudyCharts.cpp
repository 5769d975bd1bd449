#include "core/analysis/SpeedStudyCharts.h"

#include "core/analysis/StudyChartKit.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace roadtally {

using namespace chartkit;

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
