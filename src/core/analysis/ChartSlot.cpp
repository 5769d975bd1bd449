#include "core/analysis/ChartSlot.h"

#include <QGuiApplication>
#include <QPainter>

namespace roadtally {

void ChartPicture::paint(QPainter &painter, const QRectF &target) const
{
    if (isNull() || size.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    paintChart(painter, QRectF(QPointF(0, 0), size), data);
    painter.restore();
}

void ChartSlot::publish(const ChartData &data, const QSizeF &size)
{
    ChartPicture next;
    next.size = size;
    next.data = data;
    next.serial = ++m_serial;
    // Fonts need a GUI application; a command-line run keeps the data only.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QPainter painter(&next.picture);
        paintChart(painter, QRectF(QPointF(0, 0), size), data);
        painter.end();
        next.picture.setBoundingRect(QRectF(QPointF(0, 0), size).toAlignedRect());
    }
    m_last = std::move(next);
}

void ChartSlot::clear()
{
    m_last = ChartPicture();
}

ChartSlot &chartSlot()
{
    static ChartSlot slot;
    return slot;
}

} // namespace roadtally
