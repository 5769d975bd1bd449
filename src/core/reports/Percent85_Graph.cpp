#include "core/reports/Percent85_Graph.h"

namespace roadtally {

bool Percent85_Graph(DocumentEngine &vp, const ChartReportInput &in)
{
    if (!chartreport::begin(vp, chartreport::Pen::Default))
        return false;
    chartreport::writeFacts(vp, in, QStringLiteral("85th Percentile Speed and Pace Distribution"));

    const double T = vp.TopMargin();
    const double left = vp.LeftMargin(), top = T + 7488;
    chartreport::placeChart(vp, in.chart,
                            QRectF(QPointF(left, top), QPointF(left + 8640, top + 5472)));

    // The chart carries its legend, as on the tab.
    chartreport::finish(vp, in);
    return true;
}

} // namespace roadtally
