#include "core/analysis/ChartSeries.h"

namespace roadtally {

namespace {

// Everything before the drawing, in the chart procedures' order.
void feed(Graph &graph, const ChartSeries &series)
{
    graph.DataReset(9);
    if (series.graphType != 0)
        graph.GraphType(series.graphType);
    graph.LabelEvery(series.labelEvery);
    graph.NumSets(1);
    graph.NumPoints(series.numPoints());
    graph.AutoInc(1);
    for (double v : series.values)
        graph.GraphData(v);
    if (!series.labels.isEmpty()) {
        graph.AutoInc(1);
        for (const QString &label : series.labels)
            graph.LabelText(label);
    }
    // No restart: after a full pass the point counter has wrapped to point 1.
    for (int colour : series.colours)
        graph.ColorData(colour);
    if (series.titleFontPercent > 0) {
        graph.FontUse(0);
        graph.FontSize(series.titleFontPercent);
    }
    if (series.otherFontPercent > 0) {
        graph.FontUse(1);
        graph.FontSize(series.otherFontPercent);
    }
    graph.LeftTitle(series.leftTitle);
    if (!series.bottomTitle.isEmpty())
        graph.BottomTitle(series.bottomTitle);
    graph.GridStyle(series.gridStyle);
    graph.setFrame(series.frame);
    graph.setLegend(series.legend);
}

} // namespace

void drawChart(Graph &graph, const ChartSeries &series)
{
    feed(graph, series);
    graph.DrawMode(2);
    graph.DrawMode(4);
    graph.Visible(true);
}

ChartData chartData(const ChartSeries &series)
{
    Graph graph;
    feed(graph, series);
    return graph.data();
}

} // namespace roadtally
