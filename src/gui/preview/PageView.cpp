#include "gui/preview/PageView.h"
#include "core/reports/PagePainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace roadtally {

namespace {

constexpr double ThumbnailZoom = 15; // percent
// Drawn pages kept for scrolling back and forth, in bytes of pixels.
constexpr qint64 CacheBytes = 96ll * 1024 * 1024;

const QColor PageEdge(128, 128, 128);
const QColor PageShadow(0, 0, 0, 60);

} // namespace

PageView::PageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::OpenHandCursor);
    m_percent = 100;
    relayout();
}

void PageView::setDocument(std::shared_ptr<const Document> document)
{
    m_document = std::move(document);
    m_cache.clear();
    m_current = pageCount() > 0 ? 0 : -1;
    relayout();
    m_scrolling = true;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    m_scrolling = false;
    viewport()->update();
    emit currentPageChanged(m_current);
}

void PageView::setZoomMode(ZoomMode mode)
{
    zoomTo(mode, m_percent, QPoint(-1, -1));
}

double PageView::zoomPercent() const
{
    const int dpi = std::max(1, logicalDpiX());
    return m_scale * TwipsPerInch / dpi * 100.0;
}

void PageView::setZoomPercent(double percent)
{
    zoomTo(ZoomPercent, percent, QPoint(-1, -1));
}

void PageView::zoomIn(const QPoint &at)
{
    zoomTo(ZoomPercent, zoomPercent() * ZoomStep, at);
}

void PageView::zoomOut(const QPoint &at)
{
    zoomTo(ZoomPercent, zoomPercent() / ZoomStep, at);
}

void PageView::zoomTo(ZoomMode mode, double percent, const QPoint &anchor)
{
    // The point of the paper under the anchor stays under it; without one the
    // current page stays at the top.
    QPointF twips;
    const int anchored = anchor.x() >= 0 ? pageAt(anchor, &twips) : -1;
    m_mode = mode;
    m_percent = std::clamp(percent, MinimumZoom, MaximumZoom);
    const double before = m_scale;
    relayout();
    if (anchored >= 0) {
        const QRect r = pageRect(anchored);
        const QPoint now =
            r.topLeft() + QPoint(qRound(twips.x() * m_scale), qRound(twips.y() * m_scale));
        m_scrolling = true;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + now.x() - anchor.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() + now.y() - anchor.y());
        m_scrolling = false;
        setCurrentFromScroll();
    } else if (m_current >= 0) {
        setCurrentPage(m_current);
    }
    viewport()->update();
    if (!qFuzzyCompare(before, m_scale) || mode != ZoomPercent)
        emit zoomChanged();
}

void PageView::relayout()
{
    const QSize view = viewport()->size();
    const double dpi = std::max(1, logicalDpiX());
    const double actual = dpi / TwipsPerInch; // pixels per twip at 100 %
    // A pixel to spare, so that rounding never calls up a scroll bar.
    const double freeWidth = std::max(1, view.width() - 2 * Gap - 1);
    const double freeHeight = std::max(1, view.height() - 2 * Gap - 1);
    switch (m_mode) {
    case ZoomPercent:
        m_scale = actual * m_percent / 100.0;
        m_perRow = 1;
        break;
    case WholePage:
        m_scale = std::min(freeWidth / PaperWidth, freeHeight / PaperHeight);
        m_perRow = 1;
        break;
    case PageWidth:
        m_scale = freeWidth / PaperWidth;
        m_perRow = 1;
        break;
    case TwoPages:
        m_scale = std::min((freeWidth - Gap) / (2 * PaperWidth), freeHeight / PaperHeight);
        m_perRow = 2;
        break;
    case Thumbnail:
        m_scale = actual * ThumbnailZoom / 100.0;
        break;
    }
    m_scale = std::max(m_scale, actual * MinimumZoom / 100.0 / 4);
    if (m_mode == Thumbnail)
        m_perRow = std::max(1, (view.width() - Gap) / (pageSize().width() + Gap));
    m_cache.remove_if([this](const CachedPage &c) { return c.size != pageSize(); });

    QScrollBar *v = verticalScrollBar();
    QScrollBar *h = horizontalScrollBar();
    const bool was = m_scrolling;
    m_scrolling = true;
    v->setRange(0, std::max(0, contentHeight() - view.height()));
    v->setPageStep(std::max(1, view.height()));
    v->setSingleStep(std::max(1, rowHeight() / 20));
    h->setRange(0, std::max(0, contentWidth() - view.width()));
    h->setPageStep(std::max(1, view.width()));
    h->setSingleStep(20);
    m_scrolling = was;
}

QSize PageView::pageSize() const
{
    return QSize(std::max(1, qRound(PaperWidth * m_scale)),
                 std::max(1, qRound(PaperHeight * m_scale)));
}

int PageView::rowCount() const
{
    return (pageCount() + m_perRow - 1) / m_perRow;
}

int PageView::contentWidth() const
{
    return m_perRow * (pageSize().width() + Gap) + Gap;
}

int PageView::contentHeight() const
{
    return rowCount() * rowHeight() + Gap;
}

QRect PageView::pageRect(int page) const
{
    if (page < 0 || page >= pageCount())
        return {};
    const QSize size = pageSize();
    const int row = page / m_perRow, column = page % m_perRow;
    // Rows narrower than the view stand in its middle.
    const int spare = std::max(0, viewport()->width() - contentWidth());
    const int x = spare / 2 + Gap + column * (size.width() + Gap) - horizontalScrollBar()->value();
    const int y = Gap + row * rowHeight() - verticalScrollBar()->value();
    return QRect(QPoint(x, y), size);
}

int PageView::pageAt(const QPoint &at, QPointF *twips) const
{
    if (pageCount() == 0)
        return -1;
    const int row = (at.y() + verticalScrollBar()->value()) / rowHeight();
    for (int column = 0; column < m_perRow; ++column) {
        const int page = row * m_perRow + column;
        const QRect r = pageRect(page);
        if (r.isValid() && r.adjusted(-Gap / 2, -Gap, Gap / 2, 0).contains(at)) {
            *twips = QPointF((at.x() - r.left()) / m_scale, (at.y() - r.top()) / m_scale);
            return page;
        }
    }
    return -1;
}

void PageView::setCurrentPage(int page)
{
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 0, pageCount() - 1);
    const bool changed = page != m_current;
    m_current = page;
    m_scrolling = true;
    verticalScrollBar()->setValue((page / m_perRow) * rowHeight());
    // The page's column into view when the row is wider than the view.
    const QRect r = pageRect(page);
    QScrollBar *h = horizontalScrollBar();
    if (r.left() < 0)
        h->setValue(h->value() + r.left() - Gap);
    else if (r.right() > viewport()->width())
        h->setValue(h->value() + std::min(r.left() - Gap, r.right() - viewport()->width() + Gap));
    m_scrolling = false;
    viewport()->update();
    if (changed)
        emit currentPageChanged(m_current);
}

void PageView::setCurrentFromScroll()
{
    if (pageCount() == 0)
        return;
    // The row that covers the middle of the top page-height of the view.
    const int y = verticalScrollBar()->value() + std::min(viewport()->height(), rowHeight()) / 2;
    const int row = std::clamp(y / rowHeight(), 0, rowCount() - 1);
    if (m_current / m_perRow == row)
        return;
    m_current = std::min(row * m_perRow, pageCount() - 1);
    emit currentPageChanged(m_current);
}

void PageView::setBackColour(const QColor &colour)
{
    m_back = colour;
    viewport()->update();
}

QPixmap PageView::pagePixmap(int page, const QSize &size)
{
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->page == page && it->size == size) {
            m_cache.splice(m_cache.begin(), m_cache, it);
            return m_cache.front().pixmap;
        }
    }
    const qreal ratio = viewport()->devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPage(painter, *m_document, page, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    m_cache.push_front(CachedPage{page, size, QPixmap::fromImage(std::move(image))});
    qint64 bytes = 0;
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        bytes += qint64(it->pixmap.width()) * it->pixmap.height() * 4;
        if (bytes > CacheBytes && it != m_cache.begin()) {
            m_cache.erase(it, m_cache.end());
            break;
        }
    }
    return m_cache.front().pixmap;
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), m_back);
    if (pageCount() == 0)
        return;
    const int top = verticalScrollBar()->value();
    const int firstRow = std::max(0, top / rowHeight());
    const int lastRow = std::min(rowCount() - 1, (top + viewport()->height()) / rowHeight());
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < m_perRow; ++column) {
            const int page = row * m_perRow + column;
            const QRect r = pageRect(page);
            if (!r.isValid() || !r.adjusted(-4, -4, 4, 4).intersects(event->rect()))
                continue;
            // The paper stands out from a back colour as white as itself.
            painter.fillRect(r.translated(3, 3), PageShadow);
            painter.drawPixmap(r.topLeft(), pagePixmap(page, r.size()));
            painter.setPen(page == m_current && m_perRow > 1 ? palette().highlight().color()
                                                             : PageEdge);
            painter.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int current = m_current;
    relayout();
    if (m_mode != ZoomPercent) {
        if (current >= 0)
            setCurrentPage(current);
        emit zoomChanged(); // a fitted zoom follows the window's size
    }
}

void PageView::scrollContentsBy(int, int)
{
    if (!m_scrolling)
        setCurrentFromScroll();
    viewport()->update();
}

void PageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_panning = true;
    m_panStart = event->position().toPoint();
    m_panScroll = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void PageView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_panning) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint moved = event->position().toPoint() - m_panStart;
    horizontalScrollBar()->setValue(m_panScroll.x() - moved.x());
    verticalScrollBar()->setValue(m_panScroll.y() - moved.y());
}

void PageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_panning) {
        m_panning = false;
        viewport()->setCursor(Qt::OpenHandCursor);
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void PageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        zoomIn(at);
    else if (event->button() == Qt::RightButton)
        zoomOut(at);
    else
        QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void PageView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const QPoint at = event->position().toPoint();
        if (event->angleDelta().y() > 0)
            zoomIn(at);
        else if (event->angleDelta().y() < 0)
            zoomOut(at);
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void PageView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        setCurrentPage(m_current + 1);
        return;
    case Qt::Key_PageUp:
        setCurrentPage(m_current - 1);
        return;
    case Qt::Key_Home:
        setCurrentPage(0);
        return;
    case Qt::Key_End:
        setCurrentPage(pageCount() - 1);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn(viewport()->rect().center());
        return;
    case Qt::Key_Minus:
        zoomOut(viewport()->rect().center());
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

} // namespace roadtally
