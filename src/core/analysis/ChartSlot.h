#pragma once
// The chart drawn last, for the chart reports: the hand-over that the charts'
// DrawMode 4 fills. One slot for the whole process; the reports take the
// picture (or repaint the data) scaled into the page.

#include "core/analysis/Graph.h"

#include <QPicture>
#include <QSizeF>

namespace roadtally {

struct ChartPicture
{
    QPicture picture;   // the chart painted into (0, 0, size); empty without a QGuiApplication
    QSizeF size;        // the logical size the picture was recorded in
    ChartData data;     // what was drawn, to repaint it at any resolution
    quint64 serial = 0; // 0: nothing published yet; grows with every publication

    bool isNull() const { return serial == 0; }
    // Paints the chart into target, scaled (vector; the data is repainted).
    void paint(QPainter &painter, const QRectF &target) const;
};

class ChartSlot
{
public:
    // Records the chart in the given size and keeps it as the last chart.
    void publish(const ChartData &data, const QSizeF &size);
    ChartPicture last() const { return m_last; }
    void clear();

private:
    ChartPicture m_last;
    quint64 m_serial = 0;
};

// The one process-wide slot.
ChartSlot &chartSlot();

} // namespace roadtally
