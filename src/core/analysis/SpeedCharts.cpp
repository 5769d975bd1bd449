#include "core/analysis/SpeedCharts.h"

#include "core/text/TextPatterns.h"

#include <algorithm>
#include <cmath>

namespace roadtally {

namespace {

const QString VehiclesTitle = QStringLiteral("Number of Vehicles");

QVector<SpeedCount> speedRows(DatabaseSession &session, const QString &batch,
                              SurveyDirection direction)
{
    session.requireOpen();
    QSqlQuery q = session.exec(QStringLiteral("SELECT [speed], [%1] FROM [Speed] WHERE "
                                              "[batch_number] = ? ORDER BY [speed]")
                                   .arg(speedColumn(direction)),
                               {batch});
    QVector<SpeedCount> rows;
    while (q.next())
        rows.append({q.value(0).toInt(), q.value(1).toDouble()});
    q.finish();
    return rows;
}

} // namespace

QString trafficFlowTitle(const QString &batch)
{
    return QStringLiteral("Vehicle Speed Comparison for Batch #") + batch;
}

QString percent85Title(const QString &batch)
{
    return QStringLiteral("85th Percentile for Batch #") + batch;
}

QString speedChartBottomTitle(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Measured Vehicle Speed (Approaching Only)");
    case SurveyDirection::Receding:
        return QStringLiteral("Measured Vehicle Speed (Receding Only)");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Measured Vehicle Speed (Both Directions)");
}

int trafficFlowColour(int speed, double limit, PrinterMode mode)
{
    const bool colour = mode == PrinterMode::Color;
    if (speed < limit)
        return colour ? 10 : 7;
    if (speed == limit)
        return 0;
    return colour ? 12 : 7;
}

PaceWindow paceWindow(const QString &pace)
{
    return {numericValue(pace.left(3)), numericValue(pace.right(3))};
}

int percent85Colour(bool hasRow, int speed, const PaceWindow &pace, double percentile85,
                    PrinterMode mode)
{
    const bool colour = mode == PrinterMode::Color;
    if (!hasRow)
        return 11;
    if (speed < pace.low)
        return colour ? 11 : 0;
    if (speed < percentile85)
        return colour ? 10 : 7;
    if (speed == percentile85)
        return 12;
    if (speed <= pace.high)
        return colour ? 10 : 7;
    return colour ? 11 : 0;
}

SpeedChartResult trafficFlowChart(DatabaseSession &session, const SpeedChartInput &input)
{
    SpeedChartResult result;
    result.title = trafficFlowTitle(input.batch);
    const QVector<SpeedCount> rows = speedRows(session, input.batch, input.direction);
    if (rows.isEmpty()) {
        result.message = QStringLiteral(
            "The Database is empty OR you have to select a SURVEY on the first tab.");
        return result;
    }
    const double limit = numericValue(input.postedLimit);
    ChartSeries &c = result.chart;
    c.labelEvery = 3;
    for (const SpeedCount &row : rows) {
        result.speeds << row.speed;
        c.values << row.count;
        c.labels << QString::number(row.speed);
        c.colours << trafficFlowColour(row.speed, limit, input.mode);
    }
    c.otherFontPercent = 120;
    c.leftTitle = VehiclesTitle;
    c.bottomTitle = speedChartBottomTitle(input.direction);
    c.gridStyle = 1;
    return result;
}

QRectF percent85LegendArea()
{
    // In twips on the page: picture (1440, 8928)-(10080, 14400), legend box
    // (8640, 9216)-(11088, 10080); beyond the picture's right edge is no bar.
    const double left = 1440, top = 8928, width = 8640, height = 5472;
    return QRectF(QPointF((8640 - left) / width, (9216 - top) / height),
                  QPointF(1.0, (10080 - top) / height));
}

int percent85Points(const QString &radarMode, int fastestRowWithVehicles, double percentile85)
{
    const int fixed = radarMode == QLatin1String("KPH") ? 120 : 70;
    const int p85 = std::isfinite(percentile85) ? int(std::ceil(percentile85)) : 0;
    return std::clamp(std::max(fastestRowWithVehicles, p85), fixed, 2 * fixed);
}

SpeedChartResult percent85Chart(DatabaseSession &session, const SpeedChartInput &input)
{
    const QVector<SpeedCount> rows = speedRows(session, input.batch, input.direction);
    return percent85Series(rows, input);
}

SpeedChartResult percent85Series(const QVector<SpeedCount> &rows, const SpeedChartInput &input)
{
    SpeedChartResult result;
    result.title = percent85Title(input.batch);
    if (rows.isEmpty()) {
        result.message = QStringLiteral(
            "The Database is empty OR you have to select a SURVEY on the second tab.");
        return result;
    }
    const PaceWindow pace = paceWindow(input.pace);
    const double p85 = numericValue(input.percentile85);
    int fastest = 0;
    for (const SpeedCount &row : rows)
        if (row.count > 0)
            fastest = std::max(fastest, row.speed);
    // The fixed range, reaching further on a fast road so that its fast rows
    // and its 85th percentile are on the chart.
    const int n = percent85Points(input.radarMode, fastest, p85);
    ChartSeries &c = result.chart;
    c.graphType = 3;
    c.labelEvery = 10;
    c.frame.keepClear = percent85LegendArea();
    // Points 1..n are the speeds 1..n; a point without a Speed row stays 0.
    // Rows above n are not shown.
    qsizetype next = 0;
    int p85Point = -1;
    for (int speed = 1; speed <= n; ++speed) {
        while (next < rows.size() && rows.at(next).speed < speed)
            ++next; // a row below the walk (never in a stored survey) is passed over
        const bool hasRow = next < rows.size() && rows.at(next).speed == speed;
        double value = 0;
        if (hasRow) {
            value = rows.at(next).count;
            if (speed == p85)
                value *= 3; // the 85th percentile bar stands out at three times its height
            ++next;
        }
        result.speeds << speed;
        c.values << value;
        c.colours << percent85Colour(hasRow, speed, pace, p85, input.mode);
        if (!hasRow && speed == p85 && (rows.isEmpty() || speed > rows.last().speed))
            p85Point = speed - 1;
    }
    // An 85th percentile beyond the fastest row (which holds every faster
    // vehicle) has no count of its own: it is marked by a bar as tall as the
    // tallest, in its colour.
    if (p85Point >= 0) {
        c.values[p85Point] = *std::max_element(c.values.cbegin(), c.values.cend());
        c.colours[p85Point] = percent85Colour(true, p85Point + 1, pace, p85, input.mode);
    }
    c.titleFontPercent = 140;
    c.otherFontPercent = 120;
    c.leftTitle = VehiclesTitle;
    c.bottomTitle = speedChartBottomTitle(input.direction);
    c.gridStyle = 1;
    // The legend in the colours of the bars it names, in either printer mode.
    // (a bar at the 85th percentile; a bar inside the pace below it).
    const int percentileColour = percent85Colour(true, 1, {0, 0}, 1, input.mode);
    const int paceColour = percent85Colour(true, 1, {1, 1}, 2, input.mode);
    c.legend = {{ChartLegendEntry::Bar, percentileColour, QStringLiteral("85th Percentile"), {}},
                {ChartLegendEntry::Band, paceColour, QStringLiteral("Pace Low"),
                 QStringLiteral("Pace High")}};
    return result;
}

} // namespace roadtally
