#include "core/reports/DailyVolume_Graph.h"

namespace roadtally {

bool DailyVolume_Graph(DocumentEngine &vp, const DailyVolumeChartInput &in)
{
    // T is the top margin, which these reports never set.
    const double T = vp.TopMargin();
    const QVector<QRectF> halves = {
        QRectF(QPointF(2736, 10656), QPointF(6912, T + 12384)),  // the morning hours
        QRectF(QPointF(6912, 10656), QPointF(11088, T + 12384)), // the afternoon hours
    };
    if (!chartreport::begin(vp, chartreport::Pen::Heavy, halves))
        return false;
    chartreport::writeFacts(vp, in, QStringLiteral("Daily Volume Traffic Flow"),
                            in.date.isEmpty() ? QString() : QStringLiteral("Date: ") + in.date);
    const double left = 432, top = T + 7056;
    chartreport::placeChart(vp, in.chart,
                            QRectF(QPointF(left, top), QPointF(left + 11520, top + 5040)));

    vp.setCursorY(T + 7056);
    vp.setCursorX(2880);
    if (in.direction) {
        switch (*in.direction) {
        case SurveyDirection::Approaching:
            vp.WriteParagraph(QStringLiteral("Survey: Approaching Vehicles Only"));
            break;
        case SurveyDirection::Receding:
            vp.WriteParagraph(QStringLiteral("Survey: Receeding Vehicles Only"));
            break;
        case SurveyDirection::Both:
            vp.WriteParagraph(QStringLiteral("Survey: Traffic Both Directions"));
            break;
        }
    }
    vp.setCursorY(T + 12096);
    vp.setCursorX(4608);
    vp.WriteParagraph(QStringLiteral("AM Time") + QString(36, QLatin1Char(' ')) +
                      QStringLiteral("PM Time"));
    vp.setCursorX(5760);
    vp.WriteParagraph(QStringLiteral("Vehicle Volume / Hour"));

    chartreport::finish(vp, in);
    return true;
}

} // namespace roadtally
