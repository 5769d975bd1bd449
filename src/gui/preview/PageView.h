#pragma once
// The page area of the print preview: shows the pages of a document at a zoom
// (a percentage or one of the fitted modes), one under the other or several
// to a row, and paints only the pages in view, so a document of thousands of
// pages scrolls as easily as one of a page. Double click zooms in, double
// right click zooms out, click and drag pans.

#include "core/reports/Document.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>

#include <list>
#include <memory>

namespace roadtally {

class PageView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum ZoomMode { ZoomPercent, WholePage, PageWidth, TwoPages, Thumbnail };

    static constexpr double MinimumZoom = 10;  // percent
    static constexpr double MaximumZoom = 400; // percent
    static constexpr double ZoomStep = 1.5;    // factor of one zoom in or out

    explicit PageView(QWidget *parent = nullptr);

    // Shows the document (null: nothing) from its first page; the zoom stays.
    void setDocument(std::shared_ptr<const Document> document);
    const Document *document() const { return m_document.get(); }
    int pageCount() const { return m_document ? m_document->pageCount() : 0; }

    ZoomMode zoomMode() const { return m_mode; }
    void setZoomMode(ZoomMode mode);
    // The zoom in force, in percent of the paper's real size (fitted modes too).
    double zoomPercent() const;
    // Sets a percentage (clamped to MinimumZoom .. MaximumZoom).
    void setZoomPercent(double percent);
    // One step in or out, keeping the point of the page under at (viewport
    // coordinates) where it is.
    void zoomIn(const QPoint &at);
    void zoomOut(const QPoint &at);
    // Screen pixels per twip of the paper.
    double scale() const { return m_scale; }
    int pagesPerRow() const { return m_perRow; }

    // The page being read, from 0 (-1 without pages).
    int currentPage() const { return m_current; }
    // Makes the page current and scrolls it into view.
    void setCurrentPage(int page);

    void setBackColour(const QColor &colour);
    QColor backColour() const { return m_back; }

    // Where a page lies in the viewport (for tests and the mouse).
    QRect pageRect(int page) const;

Q_SIGNALS:
    void currentPageChanged(int page);
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Scale, pages per row and scroll ranges from the zoom and the viewport.
    void relayout();
    QSize pageSize() const;
    int rowHeight() const { return pageSize().height() + Gap; }
    int rowCount() const;
    int contentWidth() const;
    int contentHeight() const;
    // The page under a viewport point (-1 for none) and the point on its paper in twips.
    int pageAt(const QPoint &at, QPointF *twips) const;
    void zoomTo(ZoomMode mode, double percent, const QPoint &anchor);
    void setCurrentFromScroll();
    QPixmap pagePixmap(int page, const QSize &size);

    static constexpr int Gap = 12; // pixels around and between pages

    std::shared_ptr<const Document> m_document;
    ZoomMode m_mode = ZoomPercent;
    double m_percent = 100;
    double m_scale = 0;
    int m_perRow = 1;
    int m_current = -1;
    bool m_scrolling = false; // the view scrolls on its own: the current page stays
    QColor m_back = Qt::white;

    QPoint m_panStart;
    QPoint m_panScroll;
    bool m_panning = false;

    // Pages drawn lately at the current scale, the latest first.
    struct CachedPage
    {
        int page = 0;
        QSize size;
        QPixmap pixmap;
    };
    std::list<CachedPage> m_cache;
};

} // namespace roadtally
