#include "core/analysis/Graph.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace roadtally {

namespace {

constexpr int MaxPoints = 10000;

// Unset bars take the palette's cyan.
constexpr int DefaultColour = 3;

QFont chartFont(double pixels, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, int(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

QString tickText(double v)
{
    if (std::fabs(v - std::round(v)) < 1e-9)
        return QString::number(qint64(std::llround(v)));
    return QString::number(v, 'g', 6);
}

// 1, 2, 2.5 or 5 times a power of ten, at least raw.
double niceStep(double raw)
{
    if (raw <= 0 || !std::isfinite(raw))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= raw * (1 - 1e-12))
            return m * power;
    return 10 * power;
}

} // namespace

QColor paletteColour(int index)
{
    static const QColor palette[16] = {
        QColor(0x00, 0x00, 0x00), QColor(0x00, 0x00, 0x80), QColor(0x00, 0x80, 0x00),
        QColor(0x00, 0x80, 0x80), QColor(0x80, 0x00, 0x00), QColor(0x80, 0x00, 0x80),
        QColor(0x80, 0x80, 0x00), QColor(0xC0, 0xC0, 0xC0), QColor(0x80, 0x80, 0x80),
        QColor(0x00, 0x00, 0xFF), QColor(0x00, 0xFF, 0x00), QColor(0x00, 0xFF, 0xFF),
        QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0x00, 0xFF), QColor(0xFF, 0xFF, 0x00),
        QColor(0xFF, 0xFF, 0xFF)};
    if (index < 0 || index > 15)
        return QColor();
    return palette[index];
}

QString ChartData::axisLabel(int point) const
{
    if (point < 0 || point >= numPoints())
        return QString();
    const bool anyLabel =
        std::any_of(labels.cbegin(), labels.cend(), [](const QString &s) { return !s.isEmpty(); });
    if (!anyLabel)
        return QString::number(point + 1);
    return point < labels.size() ? labels.at(point) : QString();
}

QVector<double> axisTicks(double low, double high, int wanted)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (!std::isfinite(low) || !std::isfinite(high))
        low = 0, high = 0;
    if (high - low <= 0)
        high = low + 5;
    double step = niceStep((high - low) / std::max(1, wanted - 1));
    // Counts are whole numbers: no tick between two of them.
    const bool whole =
        std::fabs(low - std::round(low)) < 1e-9 && std::fabs(high - std::round(high)) < 1e-9;
    if (whole)
        step = std::max(step, 1.0);
    const double first = std::floor(low / step) * step;
    const double last = std::ceil(high / step - 1e-9) * step;
    QVector<double> ticks;
    for (int i = 0; first + i * step <= last + step * 1e-9 && i < 1000; ++i)
        ticks << first + i * step;
    if (ticks.size() < 2)
        ticks << first + step;
    return ticks;
}

namespace {

// A legend in the area given, in the largest type up to the axis labels'
// that lets every line fit; its box as tall as its lines need. Returns the box.
QRectF paintLegend(QPainter &painter, const QRectF &area, double unit,
                   const QVector<ChartLegendEntry> &legend)
{
    using Entry = ChartLegendEntry;
    const QFontMetricsF reference(chartFont(100), painter.device());
    // Widths and heights in the type's pixel size (lines 1.2, bands 0.45, a
    // bar 0.7 wide after a gap of 0.4).
    double widest = 0, lines = 0;
    for (const Entry &e : legend) {
        if (e.mark == Entry::Bar) {
            widest = std::max(widest, reference.horizontalAdvance(e.text) / 100 + 1.1);
            lines += 1.2;
        } else {
            widest = std::max(widest, (reference.horizontalAdvance(e.text) +
                                       reference.horizontalAdvance(e.endText)) /
                                              100 +
                                          1.0);
            lines += 1.2 + 0.45;
        }
    }
    const double pad = std::max(2.0, area.height() * 0.08);
    const QRectF inner = area.adjusted(pad, pad, -pad, -pad);
    if (inner.width() <= 0 || inner.height() <= 0 || widest <= 0)
        return QRectF();
    const double px = std::min({unit * 0.9, inner.width() / widest, inner.height() / lines});
    const QFont font = chartFont(px);
    // The lines a little apart, never further than half a line.
    const double spare =
        std::min(0.5 * px, (inner.height() - lines * px) / std::max(1, int(legend.size()) - 1));
    const QRectF box(area.topLeft(),
                     QSizeF(area.width(), 2 * pad + lines * px + (legend.size() - 1) * spare));

    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setFont(font);
    double y = inner.top();
    const auto swatch = [&](const QRectF &r, int colour) {
        const QColor fill = paletteColour(colour >= 0 ? colour : 0);
        painter.setPen(QPen(fill.value() < 60 ? QColor(Qt::black) : fill.darker(185), 0));
        painter.setBrush(fill);
        painter.drawRect(r);
    };
    for (const Entry &e : legend) {
        const double line = 1.2 * px;
        if (e.mark == Entry::Bar) {
            const QRectF bar(inner.right() - 0.7 * px, y + 0.1 * px, 0.7 * px, line - 0.2 * px);
            swatch(bar, e.colour);
            painter.setPen(Qt::black);
            painter.drawText(QRectF(inner.left(), y, bar.left() - 0.4 * px - inner.left(), line),
                             Qt::AlignRight | Qt::AlignVCenter, e.text);
            y += line + spare;
        } else {
            swatch(QRectF(inner.left(), y, inner.width(), 0.45 * px), e.colour);
            y += 0.45 * px;
            painter.setPen(Qt::black);
            const QRectF under(inner.left(), y, inner.width(), line);
            painter.drawText(under, Qt::AlignLeft | Qt::AlignVCenter, e.text);
            painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter, e.endText);
            y += line + spare;
        }
    }
    painter.restore();
    return box;
}

} // namespace

ChartLayout paintChart(QPainter &painter, const QRectF &rect, const ChartData &data)
{
    ChartLayout layout;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(rect, Qt::white);

    const int n = data.numPoints();
    const double unit = std::clamp(std::min(rect.height() / 34.0, rect.width() / 62.0), 6.0, 48.0);
    const QFont labelFont = chartFont(unit * data.labelFontPercent / 100.0);
    const QFont titleFont = chartFont(unit * 1.15 * data.otherFontPercent / 100.0, true);
    const QFont headFont = chartFont(unit * 1.3 * data.titleFontPercent / 100.0, true);
    const QFontMetricsF labelMetrics(labelFont, painter.device());
    const QFontMetricsF titleMetrics(titleFont, painter.device());
    const QFontMetricsF headMetrics(headFont, painter.device());

    double low = 0, high = 0;
    for (double v : data.values) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    const double gap = unit * 0.5;
    const ChartFrame &frame = data.frame;
    // The plot for a y-axis with these ticks (their texts take room on the left).
    auto plotFor = [&](const QVector<double> &ticks) {
        double tickWidth = 0;
        for (double t : ticks)
            tickWidth = std::max(tickWidth, labelMetrics.horizontalAdvance(tickText(t)));
        double top = rect.top() + unit * 0.9;
        if (!data.graphTitle.isEmpty())
            top += headMetrics.height() + gap;
        top = std::max(top, rect.top() + frame.plotTop * rect.height());
        double left = rect.left() + unit * 0.8 + tickWidth + gap;
        if (!data.leftTitle.isEmpty())
            left += titleMetrics.height() + gap;
        if (frame.plotLeft >= 0)
            left = rect.left() + frame.plotLeft * rect.width();
        double bottom = rect.bottom() - unit * 0.6 - labelMetrics.height() - gap;
        if (!data.bottomTitle.isEmpty())
            bottom -= titleMetrics.height() + gap;
        double right = rect.right() - unit * 1.2;
        if (frame.plotRight >= 0)
            right = rect.left() + frame.plotRight * rect.width();
        return QRectF(QPointF(left, top),
                      QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));
    };
    const double barShare = n > 30 ? 0.78 : 0.66;
    layout.ticks = axisTicks(low, high);
    layout.plot = plotFor(layout.ticks);
    const QRectF clear(rect.left() + frame.keepClear.left() * rect.width(),
                       rect.top() + frame.keepClear.top() * rect.height(),
                       frame.keepClear.width() * rect.width(),
                       frame.keepClear.height() * rect.height());
    if (!frame.keepClear.isEmpty() && n > 0 && low >= 0) {
        // Headroom: the axis reaches so high that no bar under the kept area
        // enters it. Twice, as the new tick texts may move the plot.
        for (int pass = 0; pass < 2; ++pass) {
            const QRectF &p = layout.plot;
            const double room = p.bottom() - clear.bottom() - unit * 0.3;
            if (room <= 0 || clear.top() >= p.bottom())
                break;
            const double slotWidth = p.width() / n;
            double needed = high;
            for (int i = 0; i < n; ++i) {
                const double x = p.left() + i * slotWidth + slotWidth * (1 - barShare) / 2;
                if (x + slotWidth * barShare <= clear.left() || x >= clear.right())
                    continue;
                const double v = data.values.at(i);
                if (std::isfinite(v) && v > 0)
                    needed = std::max(needed, v * p.height() / room);
            }
            if (needed <= layout.ticks.last())
                break;
            layout.ticks = axisTicks(low, needed);
            layout.plot = plotFor(layout.ticks);
        }
    }
    layout.axisMin = layout.ticks.first();
    layout.axisMax = layout.ticks.last();
    const QRectF plot = layout.plot;

    auto yOf = [&](double v) {
        return plot.bottom() -
               (v - layout.axisMin) / (layout.axisMax - layout.axisMin) * plot.height();
    };
    const double slot = n > 0 ? plot.width() / n : plot.width();

    // Grid and y-axis ticks.
    const QColor axisColour(0x40, 0x40, 0x40);
    const QColor gridColour(0xD6, 0xD6, 0xD6);
    painter.setFont(labelFont);
    for (double t : layout.ticks) {
        const double y = yOf(t);
        if ((data.gridStyle == 1 || data.gridStyle == 3) && t != layout.axisMin) {
            painter.setPen(QPen(gridColour, 0));
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
        painter.setPen(QPen(axisColour, 0));
        painter.drawLine(QPointF(plot.left() - unit * 0.35, y), QPointF(plot.left(), y));
        painter.setPen(Qt::black);
        const QRectF box(rect.left(), y - labelMetrics.height() / 2,
                         plot.left() - unit * 0.5 - rect.left(), labelMetrics.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, tickText(t));
    }

    // x-axis labels: every LabelEvery-th point, thinned further where they would touch.
    const int every = std::max(1, data.labelEvery);
    double widest = 0;
    for (int i = 0; i < n; i += every)
        widest = std::max(widest, labelMetrics.horizontalAdvance(data.axisLabel(i)));
    int step = every;
    if (n > 0 && widest > 0) {
        const double needed = widest + unit * 0.6;
        if (slot * every < needed)
            step = every * int(std::ceil(needed / (slot * every)));
    }
    if (data.gridStyle == 2 || data.gridStyle == 3) {
        painter.setPen(QPen(gridColour, 0));
        for (int i = 0; i < n; i += step) {
            const double x = plot.left() + (i + 0.5) * slot;
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    }

    // Bars, with a thin outline where they are wide enough to carry one.
    const double barWidth = slot * barShare;
    const double base = yOf(std::clamp(0.0, layout.axisMin, layout.axisMax));
    for (int i = 0; i < n; ++i) {
        const double v = std::isfinite(data.values.at(i)) ? data.values.at(i) : 0;
        const double x = plot.left() + i * slot + (slot - barWidth) / 2;
        const double y = yOf(v);
        const QRectF bar =
            QRectF(QPointF(x, std::min(y, base)), QPointF(x + barWidth, std::max(y, base)));
        layout.bars << (v == 0 ? QRectF(bar.left(), base, bar.width(), 0) : bar);
        if (v == 0)
            continue;
        const int index = i < data.colours.size() ? data.colours.at(i) : -1;
        const QColor fill = paletteColour(index >= 0 ? index : DefaultColour);
        const QRectF deviceBar = painter.transform().mapRect(bar);
        if (deviceBar.width() >= 3 && deviceBar.height() >= 3) {
            painter.setPen(QPen(fill.value() < 60 ? QColor(Qt::black) : fill.darker(185), 0));
            painter.setBrush(fill);
            painter.drawRect(bar);
        } else {
            painter.fillRect(bar, fill);
        }
    }
    painter.setBrush(Qt::NoBrush);

    // Axes over the bars' feet.
    painter.setPen(QPen(axisColour, 0));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(QPointF(plot.left(), base), QPointF(plot.right(), base));

    painter.setFont(labelFont);
    for (int i = 0; i < n; i += step) {
        const QString text = data.axisLabel(i);
        const double x = plot.left() + (i + 0.5) * slot;
        painter.setPen(QPen(axisColour, 0));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + unit * 0.3));
        if (text.isEmpty())
            continue;
        painter.setPen(Qt::black);
        const double w = labelMetrics.horizontalAdvance(text);
        const QRectF box(x - w / 2, plot.bottom() + unit * 0.35, w, labelMetrics.height());
        painter.drawText(box.adjusted(-1, 0, 1, 0), Qt::AlignHCenter | Qt::AlignTop, text);
        layout.shownLabels << i;
        layout.labelRects << box;
    }

    // Titles.
    painter.setPen(Qt::black);
    if (!data.bottomTitle.isEmpty()) {
        painter.setFont(titleFont);
        const double y = plot.bottom() + unit * 0.35 + labelMetrics.height() + gap;
        painter.drawText(QRectF(plot.left(), y, plot.width(), titleMetrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, data.bottomTitle);
    }
    if (!data.leftTitle.isEmpty()) {
        painter.setFont(titleFont);
        painter.save();
        const double x = rect.left() + unit * 0.6;
        painter.translate(x, plot.center().y());
        painter.rotate(-90);
        const double w =
            std::max(plot.height(), titleMetrics.horizontalAdvance(data.leftTitle) + 4);
        painter.drawText(QRectF(-w / 2, 0, w, titleMetrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, data.leftTitle);
        painter.restore();
    }
    if (!data.graphTitle.isEmpty()) {
        painter.setFont(headFont);
        painter.drawText(
            QRectF(rect.left(), rect.top() + unit * 0.5, rect.width(), headMetrics.height()),
            Qt::AlignHCenter | Qt::AlignTop, data.graphTitle);
    }
    if (!data.legend.isEmpty() && !frame.keepClear.isEmpty()) {
        // Within the kept area, and no further right than the plot.
        QRectF area = clear;
        area.setRight(std::min(clear.right(), plot.right()));
        layout.legend = paintLegend(painter, area, unit, data.legend);
    }
    painter.restore();
    return layout;
}

// ---------------------------------------------------------------------------
// Graph

Graph::Graph(QObject *parent) : QObject(parent) {}

void Graph::advance()
{
    if (m_autoInc && numPoints() > 0)
        m_point = (m_point + 1) % numPoints();
}

bool Graph::DataReset(int what)
{
    const int n = numPoints();
    switch (what) {
    case 1:
        m_data.values.fill(0.0, n);
        break;
    case 2:
        m_data.colours.fill(-1, n);
        break;
    case 4:
        m_data.labels = QStringList(QList<QString>(n));
        break;
    case 9:
        m_data.values.fill(0.0, n);
        m_data.colours.fill(-1, n);
        m_data.labels = QStringList(QList<QString>(n));
        break;
    default:
        return false;
    }
    return true;
}

bool Graph::GraphType(int type)
{
    if (type != 3 && type != 4)
        return false;
    m_data.graphType = type;
    return true;
}

bool Graph::NumSets(int sets)
{
    return sets == 1;
}

bool Graph::NumPoints(int points)
{
    if (points < 1 || points > MaxPoints)
        return false;
    m_data.values.resize(points, 0.0);
    m_data.colours.resize(points, -1);
    while (m_data.labels.size() > points)
        m_data.labels.removeLast();
    while (m_data.labels.size() < points)
        m_data.labels.append(QString());
    m_point = 0;
    return true;
}

bool Graph::AutoInc(int on)
{
    if (on != 0 && on != 1)
        return false;
    m_autoInc = on == 1;
    m_point = 0;
    return true;
}

bool Graph::ThisPoint(int point)
{
    if (point < 1 || point > numPoints())
        return false;
    m_point = point - 1;
    return true;
}

bool Graph::GraphData(double value)
{
    if (numPoints() == 0 || !std::isfinite(value))
        return false;
    m_data.values[m_point] = value;
    advance();
    return true;
}

bool Graph::GraphData(const QString &value)
{
    bool ok = false;
    const double v = value.trimmed().toDouble(&ok);
    return ok && GraphData(v);
}

bool Graph::LabelText(const QString &text)
{
    if (numPoints() == 0)
        return false;
    m_data.labels[m_point] = text;
    advance();
    return true;
}

bool Graph::LabelEvery(int every)
{
    if (every < 1 || every > MaxPoints)
        return false;
    m_data.labelEvery = every;
    return true;
}

bool Graph::ColorData(int index)
{
    if (numPoints() == 0 || index < 0 || index > 15)
        return false;
    m_data.colours[m_point] = index;
    advance();
    return true;
}

bool Graph::FontUse(int element)
{
    if (element < 0 || element > 3)
        return false;
    m_fontUse = element;
    return true;
}

bool Graph::FontSize(int percent)
{
    if (percent < 10 || percent > 1000)
        return false;
    switch (m_fontUse) {
    case 0:
        m_data.titleFontPercent = percent;
        break;
    case 1:
        m_data.otherFontPercent = percent;
        break;
    case 2:
        m_data.labelFontPercent = percent;
        break;
    default:
        break; // the legend: this chart draws none
    }
    return true;
}

bool Graph::GraphTitle(const QString &text)
{
    m_data.graphTitle = text;
    return true;
}

bool Graph::LeftTitle(const QString &text)
{
    m_data.leftTitle = text;
    return true;
}

bool Graph::BottomTitle(const QString &text)
{
    m_data.bottomTitle = text;
    return true;
}

bool Graph::GridStyle(int style)
{
    if (style < 0 || style > 3)
        return false;
    m_data.gridStyle = style;
    return true;
}

bool Graph::DrawMode(int mode)
{
    switch (mode) {
    case 0:
        return true;
    case 1:
        m_drawn = ChartData();
        Q_EMIT drawn();
        return true;
    case 2:
        m_drawn = m_data;
        Q_EMIT drawn();
        return true;
    case 4:
        m_copy = recordChart(m_drawn, m_pictureSize);
        Q_EMIT copied();
        return true;
    default:
        return false;
    }
}

bool Graph::Visible(bool visible)
{
    m_visible = visible;
    Q_EMIT visibleChanged(visible);
    return true;
}

void Graph::setPictureSize(const QSizeF &size)
{
    if (size.width() >= 1 && size.height() >= 1)
        m_pictureSize = size;
}

void ChartPicture::paint(QPainter &painter, const QRectF &target) const
{
    if (isNull() || size.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    paintChart(painter, QRectF(QPointF(0, 0), size), data);
    painter.restore();
}

ChartPicture recordChart(const ChartData &data, const QSizeF &size)
{
    ChartPicture chart;
    chart.size = size;
    chart.data = data;
    // Fonts need a GUI application; a command-line run keeps the data only.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QPainter painter(&chart.picture);
        paintChart(painter, QRectF(QPointF(0, 0), size), data);
        painter.end();
        chart.picture.setBoundingRect(QRectF(QPointF(0, 0), size).toAlignedRect());
    }
    return chart;
}

} // namespace roadtally
