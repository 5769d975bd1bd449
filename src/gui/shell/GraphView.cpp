#include "gui/shell/GraphView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>

namespace roadtally {

GraphView::GraphView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_graph.setPictureSize(size());
    connect(&m_graph, &Graph::drawn, this, qOverload<>(&QWidget::update));
    connect(&m_graph, &Graph::copied, this, &GraphView::copyToClipboard);
    connect(&m_graph, &Graph::visibleChanged, this, &QWidget::setVisible);
}

QImage GraphView::chartImage(QSize size) const
{
    if (size.isEmpty())
        size = this->size();
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, QRectF(QPointF(0, 0), QSizeF(image.size())), m_graph.drawnData());
    return image;
}

void GraphView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintChart(painter, QRectF(rect()), m_graph.drawnData());
}

void GraphView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The published picture keeps the proportions of the chart on screen.
    m_graph.setPictureSize(size());
}

void GraphView::copyToClipboard()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(chartImage(size().expandedTo(QSize(640, 400))));
}

} // namespace roadtally
