#include "gui/shell/SpeedStudyChartView.h"

#include "core/analysis/SpeedStudyCharts.h"

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

QRectF SpeedStudyChartView::distributionRect(const QSizeF &size)
{
    if (sideBySide(size))
        return {0, 0, (size.width() - Gap) / 2, size.height()};
    return {0, 0, size.width(), (size.height() - Gap) / 2};
}

QRectF SpeedStudyChartView::cumulativeRect(const QSizeF &size)
{
    if (sideBySide(size)) {
        const double w = (size.width() - Gap) / 2;
        return {w + Gap, 0, w, size.height()};
    }
    const double h = (size.height() - Gap) / 2;
    return {0, h + Gap, size.width(), h};
}

void SpeedStudyChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_study)
        return;
    const QSizeF area = size();
    paintSpeedDistributionChart(painter, distributionRect(area), *m_study);
    paintCumulativeSpeedChart(painter, cumulativeRect(area), *m_study);
}

} // namespace roadtally
