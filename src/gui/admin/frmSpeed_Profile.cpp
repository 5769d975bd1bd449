#include "gui/admin/frmSpeed_Profile.h"

#include "core/store/PagedQueryModel.h"
#include "core/store/SharedState.h"
#include "gui/kit/ActivationWatch.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/WindowClose.h"
#include "gui/kit/WindowPlacement.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace roadtally {

namespace {

const QString Caption = QStringLiteral("Survey - Speeding Profile");

// Grid widths in twips, as the grid lays them out: the time column, the three
// band columns, the direction column. The date column keeps its own width.
constexpr int TimeWidth = 1100;
constexpr int BandWidth = 700;
constexpr int DirWidth = 400;

int pixels(const QWidget *w, int twips)
{
    return qRound(twips * w->logicalDpiX() / 1440.0);
}

QLabel *valueLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(90);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::white);
    label->setPalette(pal);
    return label;
}

} // namespace

frmSpeed_Profile::frmSpeed_Profile(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(Caption);
    kit::setHelpPage(this, QStringLiteral("tabs"));
    setWindowFlag(Qt::Window);

    Data1 = new PagedQueryModel(this);
    Data1->setObjectName(QStringLiteral("Data1"));

    Flex1 = new QTableView(this);
    Flex1->setObjectName(QStringLiteral("Flex1"));
    Flex1->setModel(Data1);
    Flex1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Flex1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Flex1->setSelectionMode(QAbstractItemView::SingleSelection);
    Flex1->setAlternatingRowColors(true);
    Flex1->setCornerButtonEnabled(false);
    Flex1->setWordWrap(false);
    Flex1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Flex1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Flex1->verticalHeader()->hide();
    // Fixed row heights keep a list of any length cheap to lay out and scroll.
    Flex1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Flex1->verticalHeader()->setDefaultSectionSize(Flex1->fontMetrics().height() + 6);
    Flex1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Flex1->horizontalHeader()->setSectionsClickable(false);
    Flex1->horizontalHeader()->setHighlightSections(false);
    Flex1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    Label5 = new QLabel(QStringLiteral("Speed of Vehicles Exceeding Limit"), this);
    Label5->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Label5->setWordWrap(true);
    QFont headingFont = Label5->font();
    headingFont.setBold(true);
    Label5->setFont(headingFont);

    Label6 = new QLabel(this);
    Label6->setAlignment(Qt::AlignCenter);
    Label6->setWordWrap(true);
    QFont directionFont = Label6->font();
    directionFont.setBold(true);
    directionFont.setPointSizeF(directionFont.pointSizeF() * 1.2);
    Label6->setFont(directionFont);
    Label6->setFrameShape(QFrame::StyledPanel);
    Label6->setMinimumHeight(Label6->fontMetrics().height() * 2 + 8);

    Label1 = new QLabel(QStringLiteral("Posted Speed Limit"), this);
    Label2 = valueLabel(this);
    Label3 = new QLabel(QStringLiteral("Number Exceeding Speed Limit"), this);
    Label4 = valueLabel(this);
    for (QLabel *caption : {Label1, Label3}) {
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        caption->setWordWrap(true);
    }

    Command2 = new QPushButton(QStringLiteral("&Print This Profile"), this);
    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    for (QPushButton *b : {Command2, Command1})
        b->setMinimumHeight(30);

    // Left: the band heading over the three band columns and the grid. Right: the
    // direction, the two figures and the buttons.
    auto *headingStrip = new QWidget(this);
    headingStrip->setObjectName(QStringLiteral("headingStrip"));
    headingStrip->setFixedHeight(Label5->fontMetrics().height() * 2 + 6);
    Label5->setParent(headingStrip);

    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(headingStrip);
    left->addWidget(Flex1, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(Label6);
    right->addSpacing(14);
    right->addWidget(Label1);
    right->addWidget(Label2, 0, Qt::AlignHCenter);
    right->addSpacing(14);
    right->addWidget(Label3);
    right->addWidget(Label4, 0, Qt::AlignHCenter);
    right->addStretch(1);
    right->addWidget(Command2);
    right->addWidget(Command1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 14);
    layout->setSpacing(16);
    layout->addLayout(left);
    layout->addLayout(right);

    connect(Command2, &QPushButton::clicked, this, &frmSpeed_Profile::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmSpeed_Profile::Command1_Click);
    kit::closeThrough(this, Command1);
    connect(Data1, &PagedQueryModel::readFailed, this, [this](const QString &text) {
        kit::tellDatabaseFailure(this, sharedState().deriveDatabasePath(),
                                 kit::DatabaseAccess::Read, Data1->fault(), text);
    });
    connect(Flex1->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeBandHeading(); });
    connect(Flex1->horizontalHeader(), &QHeaderView::geometriesChanged, this,
            [this] { placeBandHeading(); });

    int gridWidth = Flex1->frameWidth() * 2 + Flex1->verticalScrollBar()->sizeHint().width();
    for (int w : columnWidths())
        gridWidth += w;
    Flex1->setFixedWidth(gridWidth);
    Label6->setFixedWidth(210);
    resize(sizeHint().width(), 540);
    Form_Load();
    // Filled on every showing, before the user sees it.
    new ActivationWatch(
        this, [this] { Form_Activate(); }, ActivationWatch::WhenShown);
}

void frmSpeed_Profile::Form_Load()
{
    placeOnScreen(this);
}

void frmSpeed_Profile::showFor(const SpeedProfileSelection &selection)
{
    m_selection = selection;
    if (isVisible())
        Form_Activate(); // shown already: no showing to fill it
    show();
    raise();
    activateWindow();
}

void frmSpeed_Profile::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    placeBandHeading();
}

void frmSpeed_Profile::hideEvent(QHideEvent *event)
{
    // The list is read afresh on the next showing: nothing of it needs keeping,
    // and counting a long list goes on no longer than it is shown.
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        Data1->clear();
}

void frmSpeed_Profile::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeBandHeading();
}

void frmSpeed_Profile::Form_Activate()
{
    kit::BusyPointer busy;
    Label2->setText(m_selection.postedLimit);
    Label4->setText(m_selection.overLimitCount);
    Label6->setText(directionDescription(m_selection.direction));

    const QString path = sharedState().deriveDatabasePath();
    if (!Data1->setQuery(path, speedProfileQuery(m_selection.batchNumber, m_selection.direction))) {
        // Told once the window is on screen, not from inside its showing.
        QTimer::singleShot(
            0, this, [this, path, fault = Data1->fault(), text = Data1->errorText()] {
                kit::tellDatabaseFailure(this, path, kit::DatabaseAccess::Read, fault, text);
            });
    }
    layOutGrid();
    Flex1->scrollToTop();
    Flex1->clearSelection();
}

void frmSpeed_Profile::layOutGrid()
{
    const QStringList headers = speedProfileHeaders(m_selection);
    for (int c = 0; c < headers.size(); ++c)
        Data1->setHeaderData(c, Qt::Horizontal, headers.at(c));
    // Code 5 of the grid: centred, at the bottom of the cell.
    for (int c = 2; c <= 5; ++c)
        Data1->setColumnAlignment(c, Qt::AlignHCenter | Qt::AlignBottom);
    Data1->setColumnAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    Data1->setColumnAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);

    QHeaderView *header = Flex1->horizontalHeader();
    const QVector<int> widths = columnWidths();
    if (header->count() == widths.size())
        for (int c = 0; c < widths.size(); ++c)
            header->resizeSection(c, widths.at(c));
    placeBandHeading();
}

QVector<int> frmSpeed_Profile::columnWidths() const
{
    // The date column keeps a width of its own; the time column is widened when
    // the screen's font needs more than its twips.
    const QFontMetrics metrics(Flex1->font());
    const int date =
        std::max(pixels(this, 960), metrics.horizontalAdvance(QStringLiteral("00/00/00")) + 16);
    const int time = std::max(pixels(this, TimeWidth),
                              metrics.horizontalAdvance(QStringLiteral("00:00:00 PM")) + 12);
    const int band = pixels(this, BandWidth);
    return {date, time, band, band, band, pixels(this, DirWidth)};
}

void frmSpeed_Profile::placeBandHeading()
{
    QHeaderView *header = Flex1->horizontalHeader();
    QWidget *strip = Label5->parentWidget();
    if (header->count() < 5 || !strip)
        return;
    // Over the three band columns, wherever the grid stands in its strip.
    const int gridLeft =
        Flex1->mapTo(this, QPoint(0, 0)).x() - strip->mapTo(this, QPoint(0, 0)).x();
    const int x = gridLeft + Flex1->frameWidth() + header->sectionViewportPosition(2);
    const int width = header->sectionSize(2) + header->sectionSize(3) + header->sectionSize(4);
    Label5->setGeometry(x - 20, 0, width + 40, strip->height());
}

void frmSpeed_Profile::Command2_Click()
{
    hide();
    Q_EMIT printRequested();
}

void frmSpeed_Profile::Command1_Click()
{
    hide();
    Q_EMIT closed(false);
}

} // namespace roadtally
