#pragma once
// The document control of the print preview: a navigation bar (first,
// previous, page number, next, last; the zoom menu; print; save as PDF) over
// the page area.

#include "gui/preview/PageView.h"

#include <QWidget>

class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;

namespace roadtally {

class PreviewPane : public QWidget
{
    Q_OBJECT
public:
    // The zoom menu's fitted modes, as captioned.
    static const QStringList &zoomCaptions();

    explicit PreviewPane(QWidget *parent = nullptr);

    void setDocument(std::shared_ptr<const Document> document);
    PageView *view() const { return m_view; }

    // PreviewZoom: the zoom in percent.
    double PreviewZoom() const { return m_view->zoomPercent(); }
    void setPreviewZoom(double percent) { m_view->setZoomPercent(percent); }

    // Room kept free at the right end of the bar (for a button laid over it).
    void setBarReserve(int pixels);
    int barHeight() const;

    QToolButton *firstButton = nullptr;
    QToolButton *previousButton = nullptr;
    QSpinBox *pageBox = nullptr;
    QLabel *pageTotal = nullptr;
    QToolButton *nextButton = nullptr;
    QToolButton *lastButton = nullptr;
    QToolButton *zoomOutButton = nullptr;
    QToolButton *zoomButton = nullptr; // shows the zoom, opens the zoom menu
    QToolButton *zoomInButton = nullptr;
    QToolButton *printButton = nullptr;
    QToolButton *pdfButton = nullptr;
    QMenu *zoomMenu = nullptr;

Q_SIGNALS:
    void printRequested();
    void pdfRequested();

private:
    void updateNavigation();
    void updateZoomCaption();

    PageView *m_view = nullptr;
    QWidget *m_bar = nullptr;
    QWidget *m_reserve = nullptr;
};

} // namespace roadtally
