#pragma once
// The two speed charts of a survey, from its Speed rows: the vehicle speeds
// chart (one bar per row, coloured against the posted limit) and the 85th
// percentile chart (one bar per whole speed, pace and 85th percentile marked).

#include "core/analysis/ChartSeries.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QString>
#include <QVector>

namespace roadtally {

// The tab's printer mode option: "Color Printer" or "Laser (B&&W)".
enum class PrinterMode { Color, BlackWhite };

// What the chart procedures read from the window, as its captions show it.
struct SpeedChartInput
{
    QString batch;        // Label7(4)
    QString postedLimit;  // Label7(9), read as a number
    QString radarMode;    // Radar_Mode: "KPH" gives the 85th percentile chart 120 points
    QString pace;         // Label2(36), e.g. "27 to 37": the summary tab's direction
    QString percentile85; // Label2(28)
    SurveyDirection direction = SurveyDirection::Both; // the chart tab's option
    PrinterMode mode = PrinterMode::Color;
    bool operator==(const SpeedChartInput &) const = default;
};

struct SpeedChartResult
{
    QString title;   // Label11 / Label13, set whether or not there are rows
    QString message; // the message for a survey without Speed rows; then no chart
    ChartSeries chart;
    QVector<int> speeds; // the speed each point stands for

    bool hasChart() const { return message.isEmpty(); }
};

// Where the 85th percentile chart report lays its legend over the chart, as
// fractions of the chart (its white box from 6 in across and 6.4 in to 7 in
// down, over the picture from 1 in to 7 in across and 6.2 in to 10 in down):
// the chart keeps its bars out of it, on the tab as on paper.
QRectF percent85LegendArea();

// The number of points of the 85th percentile chart: 70 (mph) or 120 (km/h),
// or more where the survey has vehicles in faster rows or its 85th percentile
// lies beyond, up to twice that.
int percent85Points(const QString &radarMode, int fastestRowWithVehicles, double percentile85);

// The 85th percentile chart from the survey's Speed rows (speed, count in the
// chart's direction), in speed order.
struct SpeedCount
{
    int speed;
    double count;
};
SpeedChartResult percent85Series(const QVector<SpeedCount> &rows, const SpeedChartInput &input);

// Traffic_Flow: the vehicle speeds chart. Throws DatabaseError when the query fails.
SpeedChartResult trafficFlowChart(DatabaseSession &session, const SpeedChartInput &input);
// Percent85: the 85th percentile chart. Throws DatabaseError when the query fails.
SpeedChartResult percent85Chart(DatabaseSession &session, const SpeedChartInput &input);

// "Vehicle Speed Comparison for Batch #" + batch, "85th Percentile for Batch #" + batch.
QString trafficFlowTitle(const QString &batch);
QString percent85Title(const QString &batch);
// "Measured Vehicle Speed (Approaching Only)", "(Receding Only)", "(Both Directions)".
QString speedChartBottomTitle(SurveyDirection direction);

// The colour of a vehicle speeds bar: below, at and above the limit.
int trafficFlowColour(int speed, double limit, PrinterMode mode);

// The pace window of a pace text: the numeric values of its first three and of
// its last three characters ("27 to 37" gives 27 and 37).
struct PaceWindow
{
    double low = 0;
    double high = 0;
};
PaceWindow paceWindow(const QString &pace);

// The colour of an 85th percentile bar; hasRow is false for a speed without a Speed row.
int percent85Colour(bool hasRow, int speed, const PaceWindow &pace, double percentile85,
                    PrinterMode mode);

} // namespace roadtally
