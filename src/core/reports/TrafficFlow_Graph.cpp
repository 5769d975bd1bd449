#include "core/reports/TrafficFlow_Graph.h"

namespace roadtally {

bool TrafficFlow_Graph(DocumentEngine &vp, const ChartReportInput &in)
{
    if (!chartreport::begin(vp, chartreport::Pen::Heavy))
        return false;
    chartreport::writeFacts(vp, in, QStringLiteral("Vehicle Speed Comparison"));
    const double T = vp.TopMargin();
    const double left = vp.LeftMargin(), top = T + 7488;
    chartreport::placeChart(vp, in.chart,
                            QRectF(QPointF(left, top), QPointF(left + 8640, top + 5472)));
    chartreport::finish(vp, in);
    return true;
}

} // namespace roadtally
