#pragma once
// The two charts of a before-and-after comparison in one widget, side by side
// when the widget is wide and one above the other when it is tall, painted by
// the same functions as the printed page.

#include "core/analysis/SurveyComparison.h"

#include <QWidget>

#include <optional>

namespace roadtally {

class ComparisonChartView : public QWidget
{
    Q_OBJECT
public:
    explicit ComparisonChartView(QWidget *parent = nullptr);

    // The comparison to draw; none leaves the widget blank.
    void setComparison(const std::optional<SurveyComparison> &comparison);
    bool hasComparison() const { return m_comparison.has_value(); }

    QSize sizeHint() const override { return {560, 620}; }
    QSize minimumSizeHint() const override { return {380, 420}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<SurveyComparison> m_comparison;
};

} // namespace roadtally
