#pragma once
// The two charts of the speed zone study in one widget: the speed
// distribution and the cumulative curve, side by side when the widget is wide
// and one above the other when it is tall, painted by the same functions as
// the printed study.

#include "core/analysis/SpeedStudy.h"

#include <QWidget>

#include <optional>

namespace roadtally {

class SpeedStudyChartView : public QWidget
{
    Q_OBJECT
public:
    explicit SpeedStudyChartView(QWidget *parent = nullptr);

    // The study to draw; none leaves the widget blank.
    void setStudy(const std::optional<SpeedStudy> &study);
    bool hasStudy() const { return m_study.has_value(); }

    QSize sizeHint() const override { return {640, 560}; }
    QSize minimumSizeHint() const override { return {420, 360}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<SpeedStudy> m_study;
};

} // namespace roadtally
