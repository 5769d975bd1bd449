#include "gui/shell/SpeedStudyChartView.h"

#include "core/analysis/SpeedStudyCharts.h"
#include "gui/kit/ChartPair.h"

#include <QPainter>

namespace roadtally {

SpeedStudyChartView::SpeedStudyChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("studyCharts"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SpeedStudyChartView::setStudy(const std::optional<SpeedStudy> &study)
{
    m_study = study;
    update();
}

void SpeedStudyChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_study)
        return;
    const auto [distribution, cumulative] = kit::chartPairRects(size());
    paintSpeedDistributionChart(painter, distribution, *m_study);
    paintCumulativeSpeedChart(painter, cumulative, *m_study);
}

} // namespace roadtally
