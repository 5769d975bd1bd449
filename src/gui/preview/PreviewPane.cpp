#include "gui/preview/PreviewPane.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace roadtally {

namespace {

QToolButton *iconButton(QWidget *parent, QStyle::StandardPixmap icon, const QString &tip,
                        const char *name)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

QToolButton *textButton(QWidget *parent, const QString &caption, const QString &tip,
                        const char *name)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

const QStringList &PreviewPane::zoomCaptions()
{
    static const QStringList captions =
        QStringLiteral("Whole &Page|Page &Width|&Two Pages|Thumb&nail").split(QLatin1Char('|'));
    return captions;
}

PreviewPane::PreviewPane(QWidget *parent) : QWidget(parent)
{
    m_bar = new QWidget(this);
    m_bar->setObjectName(QStringLiteral("navigationBar"));
    auto *bar = new QHBoxLayout(m_bar);
    bar->setContentsMargins(2, 1, 2, 1);
    bar->setSpacing(1);

    firstButton = iconButton(m_bar, QStyle::SP_MediaSkipBackward, tr("First page"), "firstPage");
    previousButton =
        iconButton(m_bar, QStyle::SP_MediaSeekBackward, tr("Previous page"), "previousPage");
    pageBox = new QSpinBox(m_bar);
    pageBox->setObjectName(QStringLiteral("pageNumber"));
    pageBox->setToolTip(tr("Page number"));
    pageBox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    pageBox->setAlignment(Qt::AlignRight);
    pageBox->setKeyboardTracking(false);
    pageTotal = new QLabel(m_bar);
    pageTotal->setObjectName(QStringLiteral("pageTotal"));
    pageTotal->setContentsMargins(4, 0, 4, 0);
    nextButton = iconButton(m_bar, QStyle::SP_MediaSeekForward, tr("Next page"), "nextPage");
    lastButton = iconButton(m_bar, QStyle::SP_MediaSkipForward, tr("Last page"), "lastPage");
    zoomOutButton = textButton(m_bar, QStringLiteral("\u2212"), tr("Zoom out"), "zoomOut");
    zoomButton = textButton(m_bar, QString(), tr("Zoom"), "zoom");
    zoomButton->setPopupMode(QToolButton::InstantPopup);
    zoomButton->setMinimumWidth(64);
    zoomButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Z));
    zoomInButton = textButton(m_bar, QStringLiteral("+"), tr("Zoom in"), "zoomIn");
    printButton = textButton(m_bar, tr("&Print..."), tr("Print the report"), "print");
    pdfButton =
        textButton(m_bar, tr("Save as P&DF..."), tr("Save the report as a PDF file"), "savePdf");
    m_reserve = new QWidget(m_bar);
    m_reserve->setFixedWidth(0);

    for (QWidget *w : {static_cast<QWidget *>(firstButton), static_cast<QWidget *>(previousButton),
                       static_cast<QWidget *>(pageBox), static_cast<QWidget *>(pageTotal),
                       static_cast<QWidget *>(nextButton), static_cast<QWidget *>(lastButton)})
        bar->addWidget(w);
    bar->addSpacing(6);
    bar->addWidget(separator(m_bar));
    bar->addWidget(zoomOutButton);
    bar->addWidget(zoomButton);
    bar->addWidget(zoomInButton);
    bar->addWidget(separator(m_bar));
    bar->addWidget(printButton);
    bar->addWidget(pdfButton);
    bar->addStretch(1);
    bar->addWidget(m_reserve);

    m_view = new PageView(this);
    m_view->setObjectName(QStringLiteral("pages"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_view, 1);

    zoomMenu = new QMenu(zoomButton);
    zoomMenu->setObjectName(QStringLiteral("zoomMenu"));
    const PageView::ZoomMode modes[] = {PageView::WholePage, PageView::PageWidth,
                                        PageView::TwoPages, PageView::Thumbnail};
    for (int i = 0; i < 4; ++i) {
        const PageView::ZoomMode mode = modes[i];
        zoomMenu->addAction(zoomCaptions().at(i), this,
                            [this, mode] { m_view->setZoomMode(mode); });
    }
    zoomMenu->addSeparator();
    for (int percent : {25, 50, 70, 100, 150, 200, 300})
        zoomMenu->addAction(QStringLiteral("%1%").arg(percent), this,
                            [this, percent] { m_view->setZoomPercent(percent); });
    zoomButton->setMenu(zoomMenu);

    connect(firstButton, &QToolButton::clicked, this, [this] { m_view->setCurrentPage(0); });
    connect(previousButton, &QToolButton::clicked, this,
            [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });
    connect(nextButton, &QToolButton::clicked, this,
            [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });
    connect(lastButton, &QToolButton::clicked, this,
            [this] { m_view->setCurrentPage(m_view->pageCount() - 1); });
    connect(pageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != m_view->currentPage())
            m_view->setCurrentPage(page - 1);
    });
    connect(zoomInButton, &QToolButton::clicked, this,
            [this] { m_view->zoomIn(m_view->viewport()->rect().center()); });
    connect(zoomOutButton, &QToolButton::clicked, this,
            [this] { m_view->zoomOut(m_view->viewport()->rect().center()); });
    connect(printButton, &QToolButton::clicked, this, &PreviewPane::printRequested);
    connect(pdfButton, &QToolButton::clicked, this, &PreviewPane::pdfRequested);
    connect(m_view, &PageView::currentPageChanged, this, &PreviewPane::updateNavigation);
    connect(m_view, &PageView::zoomChanged, this, &PreviewPane::updateZoomCaption);
    updateNavigation();
    updateZoomCaption();
}

void PreviewPane::setDocument(std::shared_ptr<const Document> document)
{
    m_view->setDocument(std::move(document));
    updateNavigation();
}

void PreviewPane::setBarReserve(int pixels)
{
    m_reserve->setFixedWidth(std::max(0, pixels));
}

int PreviewPane::barHeight() const
{
    return m_bar->sizeHint().height();
}

void PreviewPane::updateNavigation()
{
    const int pages = m_view->pageCount(), current = m_view->currentPage();
    const QSignalBlocker blocker(pageBox);
    pageBox->setRange(pages > 0 ? 1 : 0, std::max(pages, 0));
    pageBox->setValue(current + 1);
    pageBox->setEnabled(pages > 1);
    // Wide enough for the last page's number.
    pageBox->setFixedWidth(pageBox->fontMetrics().horizontalAdvance(QString::number(pages)) + 18);
    pageTotal->setText(tr("of %1").arg(pages));
    firstButton->setEnabled(current > 0);
    previousButton->setEnabled(current > 0);
    nextButton->setEnabled(current + 1 < pages);
    lastButton->setEnabled(current + 1 < pages);
    printButton->setEnabled(pages > 0);
    pdfButton->setEnabled(pages > 0);
}

void PreviewPane::updateZoomCaption()
{
    zoomButton->setText(QStringLiteral("%1%").arg(qRound(m_view->zoomPercent())));
}

} // namespace roadtally
