#pragma once
// Everything a chart procedure sets on a chart, as plain data: the result of
// the chart computations, and the one sequence that puts it on a Graph.

#include "core/analysis/Graph.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

struct ChartSeries
{
    int graphType = 0;        // 0: the chart keeps its preset type; 3 two-dimensional bars
    int labelEvery = 1;       // LabelEvery
    QVector<double> values;   // GraphData, one per point
    QStringList labels;       // LabelText, one per point; empty: the points keep their numbers
    QVector<int> colours;     // ColorData, palette index per point
    int titleFontPercent = 0; // FontUse 0 / FontSize; 0 when the procedure sets none
    int otherFontPercent = 0; // FontUse 1 / FontSize
    QString leftTitle;        // LeftTitle
    QString bottomTitle;      // BottomTitle; empty when the procedure sets none
    int gridStyle = 1;        // GridStyle
    ChartFrame frame;         // what the report lays over the chart
    QVector<ChartLegendEntry> legend;

    int numPoints() const { return int(values.size()); }
};

// Sets the series on the chart in the order of the chart procedures:
// DataReset 9; chart type and LabelEvery; one set, the points, AutoInc 1 and a
// pass of values; AutoInc 1 again and a pass of labels (when given); a pass of
// colours (AutoInc has wrapped to point 1); fonts; titles; GridStyle; DrawMode 2
// then 4; Visible. A failing assignment is skipped.
void drawChart(Graph &graph, const ChartSeries &series);

// The chart data such a drawing shows, without a Graph (for a report or a
// command-line picture).
ChartData chartData(const ChartSeries &series);

} // namespace roadtally
