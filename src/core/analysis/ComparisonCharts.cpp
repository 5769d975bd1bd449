#include "core/analysis/ComparisonCharts.h"

#include "core/analysis/StudyChartKit.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace roadtally {

using namespace chartkit;

namespace {

const QColor BeforeColour(74, 122, 181);
const QColor AfterColour(222, 120, 30);
const QColor GapColour(90, 40, 120);

// The catch-all rows in a paler shade of their survey's colour.
QColor pale(const QColor &c)
{
    return QColor((c.red() + 2 * 235) / 3, (c.green() + 2 * 235) / 3, (c.blue() + 2 * 235) / 3);
}

// A study holding both surveys' vehicles, for the axis and its labels.
SpeedStudy axisStudy(const SurveyComparison &c)
{
    SpeedStudy s;
    s.direction = c.direction;
    s.unit = c.before.unit;
    s.unitText = c.before.unitText;
    s.lowestRow = c.before.lowestRow;
    s.highestRow = c.before.highestRow;
    s.counts = c.before.counts;
    for (int i = 0; i < s.counts.size(); ++i)
        s.counts[i] += c.after.counts.value(i);
    for (qint64 v : std::as_const(s.counts))
        s.n += v;
    return s;
}

QVector<double> sharesOf(const SpeedStudy &s)
{
    QVector<double> out(s.counts.size(), 0.0);
    if (s.n > 0)
        for (int i = 0; i < s.counts.size(); ++i)
            out[i] = 100.0 * double(s.counts.at(i)) / double(s.n);
    return out;
}

QString surveyLegend(const QString &role, const SpeedStudy &s)
{
    return QStringLiteral("%1 %2").arg(role, s.batchNumber);
}

// The posted limits to mark: one when both surveys share it.
QVector<std::pair<int, QString>> limitMarks(const SurveyComparison &c)
{
    QVector<std::pair<int, QString>> out;
    if (c.before.limit && c.before.limit == c.after.limit) {
        out.append({*c.before.limit, QStringLiteral("Limit %1").arg(*c.before.limit)});
        return out;
    }
    if (c.before.limit)
        out.append({*c.before.limit, QStringLiteral("Limit %1 before").arg(*c.before.limit)});
    if (c.after.limit)
        out.append({*c.after.limit, QStringLiteral("Limit %1 after").arg(*c.after.limit)});
    return out;
}

// The cumulative curve through the top of each speed class, and whether its
// first and last steps cross a catch-all row (drawn dotted: no known spread).
struct Curve
{
    QVector<QPointF> points;
    bool lowCatchAll = false;
    bool highCatchAll = false;
};

Curve cumulativeCurve(const SpeedStudy &s, const Plot &plot)
{
    Curve curve;
    if (s.n == 0)
        return curve;
    int first = 0;
    while (first < s.counts.size() && s.counts.at(first) == 0)
        ++first;
    int last = int(s.counts.size()) - 1;
    while (last > 0 && s.counts.at(last) == 0)
        --last;
    curve.points << QPointF(plot.x(s.lowestRow + first - 0.5), plot.y(0));
    qint64 cum = 0;
    for (int i = first; i <= last; ++i) {
        cum += s.counts.at(i);
        curve.points << QPointF(plot.x(s.lowestRow + i + 0.5),
                                plot.y(100.0 * double(cum) / double(s.n)));
    }
    curve.lowCatchAll = first == 0;
    curve.highCatchAll = last == int(s.counts.size()) - 1;
    return curve;
}

void drawCurve(QPainter &p, const Curve &curve, const QColor &colour)
{
    if (curve.points.size() < 2)
        return;
    const int solidFirst = curve.lowCatchAll ? 1 : 0;
    const int solidLast = int(curve.points.size()) - 1 - (curve.highCatchAll ? 1 : 0);
    QPainterPath solid;
    for (int i = solidFirst; i <= solidLast; ++i)
        i == solidFirst ? solid.moveTo(curve.points.at(i)) : solid.lineTo(curve.points.at(i));
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(solid);
    p.setPen(QPen(colour, 1.6, Qt::DotLine));
    if (curve.lowCatchAll)
        p.drawLine(curve.points.at(0), curve.points.at(1));
    if (curve.highCatchAll)
        p.drawLine(curve.points.at(curve.points.size() - 2), curve.points.last());
}

// The share of a study at or below a speed row, in percent.
double cumulativeShare(const SpeedStudy &s, int row)
{
    if (s.n == 0)
        return 0;
    qint64 cum = 0;
    for (int i = 0; i < s.counts.size() && s.lowestRow + i <= row; ++i)
        cum += s.counts.at(i);
    return 100.0 * double(cum) / double(s.n);
}

// A text with a white ground, so lines behind it do not cross it.
void label(QPainter &p, const QFont &font, const QRectF &r, const QColor &colour,
           const QString &text, Qt::Alignment align = Qt::AlignCenter)
{
    p.fillRect(r.adjusted(-2, 0, 2, 0), QColor(255, 255, 255, 235));
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, align | Qt::AlignVCenter, text);
}

} // namespace

QColor comparisonBeforeColour()
{
    return BeforeColour;
}

QColor comparisonAfterColour()
{
    return AfterColour;
}

void paintComparisonDistributionChart(QPainter &painter, const QRectF &rect,
                                      const SurveyComparison &c)
{
    DesignSpace space(painter, rect);
    QPainter &p = painter;
    const Fonts fonts;
    const QSizeF size = space.size();
    const SpeedStudy axis = axisStudy(c);
    drawTitle(p, fonts, size, QStringLiteral("Speed distributions, ") + directionCaption(axis));

    const double titleBottom = Pad + lineHeight(fonts.title) + 4;
    const double legendHeight = lineHeight(fonts.tick);
    const double markHeight = lineHeight(fonts.mark) + 2;
    const double bottom =
        size.height() - Pad - lineHeight(fonts.tick) - lineHeight(fonts.axisTitle) - 8;

    const QVector<double> before = sharesOf(c.before);
    const QVector<double> after = sharesOf(c.after);
    double tallest = 0;
    for (const QVector<double> *shares : {&before, &after})
        for (double v : *shares)
            tallest = std::max(tallest, v);
    const double guessHeight = bottom - titleBottom - legendHeight - 2 * markHeight;
    const double yStep =
        niceStep(std::max(tallest, 1.0), std::clamp(int(guessHeight / 30), 2, 8), 1);
    // Shares: never past 100 %.
    const double yHi = std::min(std::max(1.0, std::ceil(tallest * 1.04 / yStep)) * yStep,
                                std::max(100.0, tallest));

    Plot plot;
    plot.yLo = 0;
    plot.yHi = yHi;
    const double left = Pad + lineHeight(fonts.axisTitle) + 6 +
                        textWidth(fonts.tick, QString::number(yHi, 'f', 0) + u'%') + 8;
    const double right = size.width() - Pad - 8;
    const QVector<std::pair<int, QString>> limits = limitMarks(c);
    QVector<double> extra;
    for (const auto &limit : limits)
        extra << limit.first;
    const SpeedAxis xAxis = speedAxis(axis, extra, right - left, fonts.tick);
    plot.xLo = xAxis.lo - 0.5;
    plot.xHi = xAxis.hi + 0.5;
    plot.area = QRectF(left, 0, right - left, 1);

    QVector<TopLabel> marks;
    for (const auto &limit : limits)
        if (limit.first >= plot.xLo && limit.first <= plot.xHi)
            marks.append(topLabel(plot.x(limit.first), limit.second, LimitColour));
    const int markRows = placeTopLabels(marks, fonts.mark, left, right + Pad);

    const double legendTop = titleBottom;
    const double top = legendTop + legendHeight + 6 + markRows * markHeight + 4;
    plot.area = QRectF(left, top, right - left, std::max(20.0, bottom - top));
    const QRectF &a = plot.area;

    double x = size.width() - Pad;
    x = legendEntry(p, fonts.tick, x, legendTop, surveyLegend(QStringLiteral("After"), c.after),
                    AfterColour);
    legendEntry(p, fonts.tick, x, legendTop, surveyLegend(QStringLiteral("Before"), c.before),
                BeforeColour);

    drawFrame(p, fonts, plot, axis, xAxis, yStep, true, speedTitle(axis),
              QStringLiteral("Vehicles (%)"));
    if (axis.n == 0) {
        drawNoData(p, fonts, a, QStringLiteral("No vehicles"));
        return;
    }

    // Each speed's two bars side by side: before on the left, after on the right.
    const double pairWidth = std::max(2.0, (plot.x(1) - plot.x(0)) * 0.84);
    const double barWidth = pairWidth / 2;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < axis.counts.size(); ++i) {
        const int speed = axis.lowestRow + i;
        if (speed < xAxis.lo || speed > xAxis.hi)
            continue;
        const bool catchAll = speed == axis.lowestRow || speed == axis.highestRow;
        const double x0 = plot.x(speed) - pairWidth / 2;
        for (int side = 0; side < 2; ++side) {
            const double share = (side == 0 ? before : after).value(i);
            if (share <= 0)
                continue;
            const QColor colour = side == 0 ? BeforeColour : AfterColour;
            const double h = a.bottom() - plot.y(share);
            p.setBrush(catchAll ? pale(colour) : colour);
            p.drawRect(QRectF(x0 + side * barWidth, a.bottom() - h, barWidth, h));
        }
    }
    p.setBrush(Qt::NoBrush);

    auto labelBottom = [&](const TopLabel &m) {
        return a.top() - 4 - (markRows - 1 - m.row) * markHeight;
    };
    for (const TopLabel &m : std::as_const(marks)) {
        p.setPen(QPen(m.colour, 1.2, Qt::DashDotLine));
        p.drawLine(QPointF(m.x, labelBottom(m)), QPointF(m.x, a.bottom()));
    }
    for (const TopLabel &m : std::as_const(marks)) {
        QRectF r = m.rect;
        r.moveBottom(labelBottom(m) - 1);
        label(p, fonts.mark, r, m.colour, m.text);
    }
}

void paintComparisonCumulativeChart(QPainter &painter, const QRectF &rect,
                                    const SurveyComparison &c)
{
    DesignSpace space(painter, rect);
    QPainter &p = painter;
    const Fonts fonts;
    const QSizeF size = space.size();
    const SpeedStudy axis = axisStudy(c);
    drawTitle(p, fonts, size,
              QStringLiteral("Cumulative speed distributions, ") + directionCaption(axis));

    const double legendTop = Pad + lineHeight(fonts.title) + 4;
    const double top = legendTop + lineHeight(fonts.tick) + 10;
    const double bottom =
        size.height() - Pad - lineHeight(fonts.tick) - lineHeight(fonts.axisTitle) - 8;
    Plot plot;
    plot.yLo = 0;
    plot.yHi = 100;
    const double left =
        Pad + lineHeight(fonts.axisTitle) + 6 + textWidth(fonts.tick, QStringLiteral("100%")) + 8;
    const double right = size.width() - Pad - 8;
    const QVector<std::pair<int, QString>> limits = limitMarks(c);
    QVector<double> extra;
    for (const auto &limit : limits)
        extra << limit.first;
    const SpeedAxis xAxis = speedAxis(axis, extra, right - left, fonts.tick);
    plot.xLo = xAxis.lo - 0.5;
    plot.xHi = xAxis.hi + 0.5;
    plot.area = QRectF(left, top, right - left, std::max(20.0, bottom - top));
    const QRectF &a = plot.area;
    const double yStep = a.height() >= 220 ? 10 : 20;

    double x = size.width() - Pad;
    x = legendEntry(p, fonts.tick, x, legendTop, surveyLegend(QStringLiteral("After"), c.after),
                    QBrush(), QPen(AfterColour, 2.2));
    legendEntry(p, fonts.tick, x, legendTop, surveyLegend(QStringLiteral("Before"), c.before),
                QBrush(), QPen(BeforeColour, 2.2));

    drawFrame(p, fonts, plot, axis, xAxis, yStep, true, speedTitle(axis),
              QStringLiteral("Vehicles at or below (%)"));
    if (axis.n == 0) {
        drawNoData(p, fonts, a, QStringLiteral("No vehicles"));
        return;
    }

    // The posted limit across the plot, its label at the foot of the line.
    const double h = lineHeight(fonts.mark);
    for (int k = 0; k < limits.size(); ++k) {
        const double lx = plot.x(limits.at(k).first);
        if (lx < a.left() || lx > a.right())
            continue;
        p.setPen(QPen(LimitColour, 1.2, Qt::DashDotLine));
        p.drawLine(QPointF(lx, a.top()), QPointF(lx, a.bottom()));
        const double w = textWidth(fonts.mark, limits.at(k).second);
        const QRectF r(std::min(lx + 4, a.right() - w - 2), a.bottom() - (k + 1) * (h + 2) - 2, w,
                       h);
        label(p, fonts.mark, r, LimitColour, limits.at(k).second);
    }

    drawCurve(p, cumulativeCurve(c.before, plot), BeforeColour);
    drawCurve(p, cumulativeCurve(c.after, plot), AfterColour);

    // The largest gap between the curves: the distribution test's D.
    if (c.distributionTest.computed && c.distributionTest.statistic > 0) {
        const int row = c.distributionRow;
        const double gx = plot.x(row + 0.5);
        const double y1 = plot.y(cumulativeShare(c.before, row));
        const double y2 = plot.y(cumulativeShare(c.after, row));
        p.setPen(QPen(GapColour, 2.4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(gx, y1), QPointF(gx, y2));
        const QString text =
            QStringLiteral("D = %1").arg(QString::number(c.distributionTest.statistic, 'f', 3));
        const double w = textWidth(fonts.mark, text);
        QRectF r(gx + 6, (y1 + y2) / 2 - h / 2, w, h);
        if (r.right() > a.right() - 2)
            r.moveRight(gx - 6);
        label(p, fonts.mark, r, GapColour, text, Qt::AlignLeft);
    }

    // Both 85th percentile speeds: a dot on each curve at 85 %, a line down to
    // the speed; the lower one labelled above to its left (the curves are
    // below there), the higher one below to its right (the curves are above).
    struct Mark
    {
        double at;
        QColor colour;
        QString text;
    };
    QVector<Mark> p85;
    for (const auto &[s, colour] :
         {std::pair{&c.before, BeforeColour}, std::pair{&c.after, AfterColour}}) {
        const PercentileFigure &f = s->percentile(85);
        if (f.at && s->n > 0)
            p85.append({std::clamp(plot.x(*f.at), a.left(), a.right()), colour,
                        QStringLiteral("85th %1").arg(
                            f.interpolated.isNumber() ? f.interpolated.text : f.ranked.text)});
    }
    std::sort(p85.begin(), p85.end(), [](const Mark &l, const Mark &r) { return l.at < r.at; });
    const double y85 = plot.y(85);
    if (!p85.isEmpty()) {
        p.setPen(QPen(P85Colour, 1.2, Qt::DashLine));
        p.drawLine(QPointF(a.left(), y85), QPointF(p85.last().at, y85));
    }
    for (const Mark &m : std::as_const(p85)) {
        p.setPen(QPen(m.colour, 1.4, Qt::DashLine));
        p.drawLine(QPointF(m.at, y85), QPointF(m.at, a.bottom()));
        p.setPen(Qt::NoPen);
        p.setBrush(m.colour);
        p.drawEllipse(QPointF(m.at, y85), 3.5, 3.5);
        p.setBrush(Qt::NoBrush);
    }
    for (int k = 0; k < p85.size(); ++k) {
        const Mark &m = p85.at(k);
        const double w = textWidth(fonts.mark, m.text);
        const bool lower = k == 0 && p85.size() > 1;
        QRectF r =
            lower ? QRectF(m.at - 6 - w, y85 - 4 - h, w, h) : QRectF(m.at + 6, y85 + 4, w, h);
        if (r.left() < a.left() + 2)
            r.moveLeft(a.left() + 2);
        if (r.right() > a.right() - 2)
            r.moveRight(a.right() - 2);
        label(p, fonts.mark, r, m.colour, m.text, Qt::AlignLeft);
    }
}

} // namespace roadtally
