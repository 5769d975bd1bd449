#pragma once
// The chart on a tab: a thin widget that shows what its Graph drew last,
// follows its Visible property, and on DrawMode 4 puts a raster copy of the
// chart on the system clipboard for the user to paste into a document.

#include "core/analysis/Graph.h"

#include <QImage>
#include <QWidget>

namespace roadtally {

class GraphView : public QWidget
{
    Q_OBJECT
public:
    explicit GraphView(QWidget *parent = nullptr);

    Graph &graph() { return m_graph; }
    const Graph &graph() const { return m_graph; }

    // The drawn chart as an image of the given size (the widget's own when empty).
    QImage chartImage(QSize size = QSize()) const;

    QSize sizeHint() const override { return QSize(640, 400); }
    QSize minimumSizeHint() const override { return QSize(240, 160); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void copyToClipboard();

    Graph m_graph;
};

} // namespace roadtally
