#include "gui/compare/ComparisonChartView.h"

#include "core/analysis/ComparisonCharts.h"

#include <QPainter>

namespace roadtally {

namespace {

constexpr double Gap = 8;

// Side by side only where each chart still gets a useful width.
bool sideBySide(const QSizeF &size)
{
    return size.width() >= 2 * 520 + Gap && size.width() > 1.3 * size.height();
}

} // namespace

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
    const QSizeF area = size();
    QRectF first, second;
    if (sideBySide(area)) {
        const double w = (area.width() - Gap) / 2;
        first = QRectF(0, 0, w, area.height());
        second = QRectF(w + Gap, 0, w, area.height());
    } else {
        const double h = (area.height() - Gap) / 2;
        first = QRectF(0, 0, area.width(), h);
        second = QRectF(0, h + Gap, area.width(), h);
    }
    paintComparisonDistributionChart(painter, first, *m_comparison);
    paintComparisonCumulativeChart(painter, second, *m_comparison);
}

} // namespace roadtally
