#include "gui/compare/ComparisonChartView.h"

#include "core/analysis/ComparisonCharts.h"
#include "gui/kit/ChartPair.h"

#include <QPainter>

namespace roadtally {

ComparisonChartView::ComparisonChartView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("comparisonCharts"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ComparisonChartView::setComparison(const std::optional<SurveyComparison> &comparison)
{
    m_comparison = comparison;
    update();
}

void ComparisonChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_comparison)
        return;
    const auto [first, second] = kit::chartPairRects(size());
    paintComparisonDistributionChart(painter, first, *m_comparison);
    paintComparisonCumulativeChart(painter, second, *m_comparison);
}

} // namespace roadtally
