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

    // The legend. Its boxes hang from where the third column ended; that is
    // fixed at 5 in, so that the white box always encloses the two legend
    // lines whatever the line height of the font.
    const double L = vp.LeftMargin();
    const double Y = 7200;
    vp.setFillMode(0);
    vp.setFillColour(QColor(255, 255, 255));
    vp.DrawBox(L + 7200, Y + 2016, L + 9648, Y + 2880);
    vp.setFillMode(0);
    vp.setFillColour(QColor(0, 255, 0));
    vp.DrawBox(L + 7344, Y + 2448, L + 9504, Y + 2592);
    vp.setFillMode(0);
    vp.setFillColour(QColor(255, 0, 0));
    vp.DrawBox(L + 9072, Y + 2088, L + 9172.8, Y + 2376);
    vp.setRightMargin(288);
    vp.setTypeSize(8);
    vp.setCursorY(9360);
    vp.setCursorX(8640);
    vp.WriteParagraph(QStringLiteral("         85th Percentile ---->"));
    vp.setCursorY(9892.8);
    vp.setCursorX(8640);
    vp.WriteParagraph(QStringLiteral("   Pace Low <---------> Pace High"));

    chartreport::finish(vp, in);
    return true;
}

} // namespace roadtally
