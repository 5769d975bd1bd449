#include "views/frmRoadtally.h"

#include "admin/frmAbout.h"
#include "admin/frmOpenSurvey.h"
#include "admin/pace_description.h"
#include "admin/percent.h"
#include "intake/frmLoadDataFile.h"
#include "store/BoundLabel.h"
#include "store/DatabaseSession.h"
#include "store/SharedState.h"
#include "views/Artwork.h"
#include "views/ClickLabel.h"
#include "views/DisplayScheme.h"
#include "views/Forms.h"
#include "views/SurveyCriteria.h"
#include "views/SurveyDates.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace roadtally {

namespace {

const QString Title = QStringLiteral("OVRoadtally");
const QString SchemePrompt = QStringLiteral("** Select Display Scheme **");
const QString DatePrompt = QStringLiteral("**Select a Date**");

// Colours of the window's frames and grids.
const char *const WindowStyle = R"(
QFrame#FrameS, QFrame#tabPage { background: #f4f6f8; }
QFrame[box="true"] { background: white; border: 1px solid #b4bec9; border-radius: 4px; }
QFrame[box="true"] QLabel { background: transparent; border: none; }
QLabel[role="boxTitle"] { color: #1f3a5f; font-weight: bold; }
QLabel[role="caption"] { color: #44505c; }
QLabel[role="value"] { color: #101820; font-weight: bold; }
QFrame[grid="true"] { background: #9aa6b2; border: none; }
QFrame[grid="true"] QLabel { background: white; padding: 2px 4px; }
QFrame[grid="true"] QLabel[role="head"] { background: #e3e9ef; color: #1f3a5f; font-weight: bold; }
QFrame[grid="true"] QLabel[role="rowHead"] { background: #eef2f6; color: #1f3a5f; font-weight: bold; }
QFrame#splashframe { background: white; border: 1px solid #8c99a6; border-radius: 8px; }
QFrame#splashframe QLabel { background: transparent; border: none; }
QFrame#framePrintOption { background: white; border: 2px solid #1f3a5f; border-radius: 6px; }
QFrame#framePrintOption QLabel { border: none; background: transparent; }
QLabel#Agency { color: #1f3a5f; font-size: 15pt; font-weight: bold; }
)";

QString controlName(const char *name, int index = -1)
{
    QString n = QString::fromLatin1(name);
    if (index >= 0)
        n += QLatin1Char('_') + QString::number(index);
    return n;
}

template <class W> W *named(W *widget, const char *name, int index = -1)
{
    widget->setObjectName(controlName(name, index));
    return widget;
}

QLabel *makeLabel(const QString &text, const char *role, const char *name, int index = -1)
{
    auto *l = named(new QLabel(text), name, index);
    if (role)
        l->setProperty("role", QString::fromLatin1(role));
    return l;
}

QFrame *makeBox(const char *name)
{
    auto *f = named(new QFrame, name);
    f->setProperty("box", true);
    return f;
}

// A message with the program's title and an OK button. It does not block the
// handler that shows it.
void showMessage(QWidget *parent, const QString &text,
                 QMessageBox::Icon icon = QMessageBox::Warning)
{
    auto *box = new QMessageBox(icon, Title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void resetCombo(QComboBox *combo, const QString &prompt)
{
    combo->clear();
    combo->setEditText(prompt);
}

// Opens a list's entries on a click into its read-only text, as on its arrow.
class OpenListOnClick : public QObject
{
public:
    explicit OpenListOnClick(QComboBox *combo) : QObject(combo), m_combo(combo) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && m_combo->isEnabled()) {
            m_combo->showPopup();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QComboBox *m_combo;
};

QComboBox *makeListCombo(const char *name, const QString &prompt)
{
    auto *c = named(new QComboBox, name);
    // An editable list shows its prompt as text; the user only chooses entries.
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setReadOnly(true);
    c->lineEdit()->installEventFilter(new OpenListOnClick(c));
    c->setEditText(prompt);
    return c;
}

QPushButton *makeButton(const QString &caption, const char *name)
{
    auto *b = named(new QPushButton(caption), name);
    b->setMinimumHeight(30);
    b->setMinimumWidth(120);
    return b;
}

} // namespace

frmRoadtally::frmRoadtally(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Orvanta Roadtally"));
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmRoadtally"));
    setStyleSheet(QString::fromLatin1(WindowStyle));

    Data1 = named(new BoundDataSource(this), "Data1");
    Data2 = named(new BoundDataSource(this), "Data2");
    Data3 = named(new BoundDataSource(this), "Data3");
    Data4 = named(new BoundDataSource(this), "Data4");
    Data5 = named(new BoundDataSource(this), "Data5");
    Data6 = named(new BoundDataSource(this), "Data6");

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 8, 8, 8);
    SSTab = named(new QTabWidget(central), "SSTab");
    SSTab->setDocumentMode(false);
    SSTab->addTab(buildSummaryTab(), QStringLiteral("Survey Summary"));
    SSTab->addTab(buildVehicleSpeedsTab(), QStringLiteral("Vehicle Speeds"));
    SSTab->addTab(buildDailyVolumeTab(), QStringLiteral("Daily Volume/Time"));
    SSTab->addTab(build85thPercentileTab(), QStringLiteral("85th Percentile"));
    SSTab->addTab(buildFifteenMinuteTab(), QStringLiteral("15 Minute Breakdown"));
    SSTab->addTab(buildWeeklyTab(), QStringLiteral("Weekly Summary"));
    layout->addWidget(SSTab);
    setCentralWidget(central);
    buildStartPanel(central);
    buildPrintOptionPanel(central);
    buildMenus();

    SSTab->setCurrentIndex(0);
    m_lastTab = 0;
    connect(SSTab, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = m_lastTab;
        m_lastTab = index;
        SSTab_Click(previous);
    });

    resize(1280, 800);
    setMinimumSize(1180, 760);
    Form_Load();
}

// ---------------------------------------------------------------------------
// Building the window

void frmRoadtally::buildMenus()
{
    QMenuBar *bar = menuBar();
    m1 = named(bar->addMenu(QStringLiteral("&File")), "m1");
    mnuPrintForm = m1->addAction(QStringLiteral("Print Form"));
    mnuOpenStudy = m1->addAction(QStringLiteral("&Open Study Data"));
    mnuSaveStudy = named(m1->addMenu(QStringLiteral("&Export Study As....")), "mnuSaveStudy");
    mnuExcel = mnuSaveStudy->addAction(QStringLiteral("Excel Spreadsheet"));
    mnuAccess = mnuSaveStudy->addAction(QStringLiteral("Access Database"));
    mnuSaveStudy->setEnabled(false);
    m1->addSeparator()->setObjectName(QStringLiteral("mnuBar"));
    mnuProcessRawData = m1->addAction(QStringLiteral("&Load (Process) Raw Data File"));
    m1->addSeparator()->setObjectName(QStringLiteral("mnuBar2"));
    mnuExit = m1->addAction(QStringLiteral("&Exit"));

    m2 = named(bar->addMenu(QStringLiteral("&Edit")), "m2");
    mnuDeleteSurvey = m2->addAction(QStringLiteral("&Delete Individual Survey"));
    mnuManageDatabase = m2->addAction(QStringLiteral("&Repair && Backup Database"));
    mnudeletedatabase = m2->addAction(QStringLiteral("&Delete Complete Database"));

    m3 = named(bar->addMenu(QStringLiteral("Options")), "m3");
    mnuAdminSetup = m3->addAction(QStringLiteral("&Admin Setup"));

    m4 = named(bar->addMenu(QStringLiteral("Reports")), "m4");
    mnuSummary = m4->addAction(QStringLiteral("Survey Summary "));
    mnuDailyTraffic = named(m4->addMenu(QStringLiteral("Daily Traffic Flow")), "mnuDailyTraffic");
    mnuDailyTrafficApproaching =
        mnuDailyTraffic->addAction(QStringLiteral("Approaching Vehicles Only"));
    mnuDailyTrafficReceeding =
        mnuDailyTraffic->addAction(QStringLiteral("Receeding Vehicles Only"));
    mnuDailyTrafficBoth = mnuDailyTraffic->addAction(QStringLiteral("Both Directions"));
    mnuDailyVolume = m4->addAction(QStringLiteral("Daily Volume/Time"));
    mnu85Percent = named(m4->addMenu(QStringLiteral("85th Percentile")), "mnu85Percent");
    mnu85percentApproach = mnu85Percent->addAction(QStringLiteral("Approaching Vehicles Only"));
    mnu85PercentReceed = mnu85Percent->addAction(QStringLiteral("Receeding Vehicles Only"));
    mnu85PercentBoth = mnu85Percent->addAction(QStringLiteral("Both Directions"));
    mnu15Minute = m4->addAction(QStringLiteral("15 Minute Breakdown"));
    mnuWeeklySummary = m4->addAction(QStringLiteral("Weekly Summary"));
    m4->setEnabled(false); // the menu bar entry follows the menu

    m5 = named(bar->addMenu(QStringLiteral("Help")), "m5");
    mnuTopics = m5->addAction(QStringLiteral("Topics"));
    mnuAbout = m5->addAction(QStringLiteral("About"));

    const QList<QPair<QAction *, const char *>> names = {
        {mnuPrintForm, "mnuPrintForm"},
        {mnuOpenStudy, "mnuOpenStudy"},
        {mnuExcel, "mnuExcel"},
        {mnuAccess, "mnuAccess"},
        {mnuProcessRawData, "mnuProcessRawData"},
        {mnuExit, "mnuExit"},
        {mnuDeleteSurvey, "mnuDeleteSurvey"},
        {mnuManageDatabase, "mnuManageDatabase"},
        {mnudeletedatabase, "mnudeletedatabase"},
        {mnuAdminSetup, "mnuAdminSetup"},
        {mnuSummary, "mnuSummary"},
        {mnuDailyTrafficApproaching, "mnuDailyTrafficApproaching"},
        {mnuDailyTrafficReceeding, "mnuDailyTrafficReceeding"},
        {mnuDailyTrafficBoth, "mnuDailyTrafficBoth"},
        {mnuDailyVolume, "mnuDailyVolume"},
        {mnu85percentApproach, "mnu85percentApproach"},
        {mnu85PercentReceed, "mnu85PercentReceed"},
        {mnu85PercentBoth, "mnu85PercentBoth"},
        {mnu15Minute, "mnu15Minute"},
        {mnuWeeklySummary, "mnuWeeklySummary"},
        {mnuTopics, "mnuTopics"},
        {mnuAbout, "mnuAbout"},
    };
    for (const auto &n : names)
        n.first->setObjectName(QString::fromLatin1(n.second));

    connect(mnuPrintForm, &QAction::triggered, this, &frmRoadtally::printForm);
    connect(mnuOpenStudy, &QAction::triggered, this, [this] { openSurvey(false); });
    connect(mnuProcessRawData, &QAction::triggered, this, [this] { loadRawData(false); });
    connect(mnuExit, &QAction::triggered, qApp, [] {
        // Ends at once, without asking any window: nothing is held open between
        // user actions, so nothing needs saving.
        QApplication::exit(0);
    });
    connect(mnuAbout, &QAction::triggered, this, &frmRoadtally::showAbout);
    // mnuTopics has no action.
}

void frmRoadtally::buildStartPanel(QWidget *central)
{
    splashframe = named(new QFrame(central), "splashframe");
    auto *v = new QVBoxLayout(splashframe);
    v->setContentsMargins(36, 28, 36, 28);
    v->setSpacing(10);

    auto *brand = new QHBoxLayout;
    Image3 = named(new QLabel, "Image3");
    Image3->setPixmap(logoPicture(110));
    Image3->setFixedSize(110, 110);
    brand->addWidget(Image3);
    brand->addSpacing(18);
    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    Label30 = makeLabel(QStringLiteral("Orvanta"), nullptr, "Label30");
    Label29 = makeLabel(QStringLiteral("Roadtally"), nullptr, "Label29");
    QFont f30 = font();
    f30.setPointSize(16);
    f30.setItalic(true);
    Label30->setFont(f30);
    Label30->setStyleSheet(QStringLiteral("color: #5b6b7b;"));
    QFont f29 = font();
    f29.setPointSize(30);
    f29.setBold(true);
    Label29->setFont(f29);
    Label29->setStyleSheet(QStringLiteral("color: #1f3a5f;"));
    names->addStretch();
    names->addWidget(Label30);
    names->addWidget(Label29);
    names->addStretch();
    brand->addLayout(names);
    brand->addStretch();
    v->addLayout(brand);

    Line1 = named(new QFrame, "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFixedHeight(2);
    Line1->setStyleSheet(QStringLiteral("background: #f2a900; border: none;"));
    v->addWidget(Line1);
    v->addSpacing(8);

    QFont entryFont = font();
    entryFont.setPointSize(13);
    auto row = [&](QToolButton *&button, const char *buttonName, const QPixmap &picture,
                   QLabel *label) {
        auto *h = new QHBoxLayout;
        h->setSpacing(16);
        button = named(new QToolButton, buttonName);
        button->setIcon(QIcon(picture));
        button->setIconSize(QSize(40, 40));
        button->setFixedSize(56, 56);
        button->setAutoRaise(false);
        button->setCursor(Qt::PointingHandCursor);
        label->setFont(entryFont);
        h->addWidget(button);
        h->addWidget(label, 1);
        v->addLayout(h);
    };
    Label14 = named(new ClickLabel(QStringLiteral("Open An Existing Survey")), "Label14");
    Label28 = named(new ClickLabel(QStringLiteral("Load / Process \"Raw\" Data File")), "Label28");
    LastText = makeLabel(QStringLiteral("View Last Survey"), nullptr, "LastText");
    row(Command9, "Command9", openSurveyPicture(40), Label14);
    row(Command10, "Command10", loadDataPicture(40), Label28);
    row(LastButton, "LastButton", lastSurveyPicture(40), LastText);
    LastButton->hide();
    LastText->hide();
    v->addStretch();

    auto *shadow = new QGraphicsDropShadowEffect(splashframe);
    shadow->setBlurRadius(24);
    shadow->setOffset(0, 4);
    shadow->setColor(QColor(0, 0, 0, 70));
    splashframe->setGraphicsEffect(shadow);
    splashframe->setFixedWidth(560);
    splashframe->adjustSize();

    connect(Label14, &ClickLabel::clicked, this, [this] { openSurvey(true); });
    connect(Command9, &QToolButton::clicked, this, [this] { openSurvey(true); });
    connect(Label28, &ClickLabel::clicked, this, [this] { loadRawData(true); });
    connect(Command10, &QToolButton::clicked, this, [this] { loadRawData(true); });
    connect(LastButton, &QToolButton::clicked, this, &frmRoadtally::LastButton_Click);
    splashframe->raise();
}

QWidget *frmRoadtally::buildSummaryTab()
{
    auto *page = named(new QFrame, "tabPage");
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    FrameS = named(new QFrame(page), "FrameS");
    pageLayout->addWidget(FrameS);

    Label1.fill(nullptr, 24);
    Label2.fill(nullptr, 58);
    Label3.fill(nullptr, 3);
    Label4.fill(nullptr, 2);
    Label5.fill(nullptr, 6);
    Label6.fill(nullptr, 11);
    Label7.fill(nullptr, 10);
    PaceCaption.fill(nullptr, 3);
    Option1.fill(nullptr, 3);

    QFont panelFont = font();
    panelFont.setPointSize(10);
    FrameS->setFont(panelFont);
    auto *v = new QVBoxLayout(FrameS);
    v->setContentsMargins(16, 12, 16, 12);
    v->setSpacing(12);

    // 1. Agency line and the officer who prepares the reports.
    auto *top = new QHBoxLayout;
    Agency = makeLabel(QStringLiteral("Name of Municipality"), nullptr, "Agency");
    top->addWidget(Agency, 1);
    Label6[9] = makeLabel(QStringLiteral("Reports prepared by:"), "caption", "Label6", 9);
    Officer_Select = makeListCombo("Officer_Select", QString());
    Officer_Select->setMinimumWidth(240);
    top->addWidget(Label6[9]);
    top->addWidget(Officer_Select);
    v->addLayout(top);

    // 2. Scheme and direction on the left, the survey header on the right.
    auto *middle = new QHBoxLayout;
    middle->setSpacing(12);
    auto *choice = makeBox("choiceBox");
    auto *cg = new QGridLayout(choice);
    cg->setContentsMargins(14, 12, 14, 12);
    cg->setVerticalSpacing(8);
    Label3[0] = makeLabel(QStringLiteral("Display Scheme"), "boxTitle", "Label3", 0);
    Combo1 = makeListCombo("Combo1", SchemePrompt);
    Combo1->setMinimumWidth(250);
    Label3[2] = makeLabel(QStringLiteral("Direction of travel"), "boxTitle", "Label3", 2);
    Option1[0] = named(new QRadioButton(QStringLiteral("Approaching Vehicles Only")), "Option1", 0);
    Option1[1] = named(new QRadioButton(QStringLiteral("Receeding Vehicles Only")), "Option1", 1);
    Option1[2] = named(new QRadioButton(QStringLiteral("Both Directions ")), "Option1", 2);
    Option1[0]->setChecked(true);
    cg->addWidget(Label3[0], 0, 0);
    cg->addWidget(Combo1, 1, 0);
    cg->addItem(new QSpacerItem(1, 6), 2, 0);
    cg->addWidget(Label3[2], 3, 0);
    for (int i = 0; i < 3; ++i)
        cg->addWidget(Option1[i], 4 + i, 0);
    cg->setRowStretch(7, 1);
    middle->addWidget(choice);

    Shape8 = makeBox("Shape8");
    auto *hg = new QGridLayout(Shape8);
    hg->setContentsMargins(18, 12, 18, 12);
    hg->setHorizontalSpacing(14);
    hg->setVerticalSpacing(8);
    Label8 = makeLabel(QString(), "value", "Label8");
    Label9 = makeLabel(QString(), "value", "Label9");
    Label10 = makeLabel(QString(), "value", "Label10");
    for (int i : {0, 1, 3, 4, 5, 8, 9})
        Label7[i] = makeLabel(QString(), "value", "Label7", i);
    struct HeaderItem
    {
        int caption;
        const char *text;
        QLabel *value;
        int row;
        int column;
    };
    const HeaderItem items[] = {
        {0, "Start Date", Label7[0], 0, 0}, {1, "End Date", Label7[1], 1, 0},
        {2, "Start Time", Label8, 2, 0},    {3, "End Time", Label7[3], 3, 0},
        {4, "Batch #", Label7[4], 0, 1},    {5, "Posted Speed", Label7[9], 1, 1},
        {6, "Zone", Label7[5], 2, 1},       {7, "Total Time", Label9, 3, 1},
        {8, "Location", Label10, 4, 0},     {10, "Direction", Label7[8], 4, 1},
    };
    for (const HeaderItem &it : items) {
        Label6[it.caption] =
            makeLabel(QString::fromLatin1(it.text), "caption", "Label6", it.caption);
        Label6[it.caption]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        it.value->setMinimumWidth(130);
        it.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        hg->addWidget(Label6[it.caption], it.row, it.column * 2);
        hg->addWidget(it.value, it.row, it.column * 2 + 1);
    }
    Label10->setWordWrap(true);
    hg->setColumnStretch(1, 2);
    hg->setColumnStretch(3, 1);
    middle->addWidget(Shape8, 1);
    v->addLayout(middle);

    // 3. The speed distribution: bin captions, volumes and shares.
    auto *grid = named(new QFrame, "distributionGrid");
    grid->setProperty("grid", true);
    auto *gg = new QGridLayout(grid);
    gg->setContentsMargins(1, 1, 1, 1);
    gg->setSpacing(1);
    const char *design[] = {"1 - 14",  "15 - 19", "20 - 24", "25 - 29", "30 - 34",
                            "35 - 39", "40 - 44", "45 - 49", "50 - 54", "55 - 59",
                            "60 - 64", "65 - 69", "70 - 999"};
    Label1[0] = makeLabel(QStringLiteral("Speed"), "rowHead", "Label1", 0);
    Label1[14] = makeLabel(QStringLiteral("Volume"), "rowHead", "Label1", 14);
    Label1[15] = makeLabel(QStringLiteral("% of Total"), "rowHead", "Label1", 15);
    gg->addWidget(Label1[0], 0, 0);
    gg->addWidget(Label1[14], 1, 0);
    gg->addWidget(Label1[15], 2, 0);
    for (int i = 1; i <= 13; ++i) {
        Label1[i] = makeLabel(QString::fromLatin1(design[i - 1]), "head", "Label1", i);
        Label2[i - 1] = makeLabel(QString(), nullptr, "Label2", i - 1);
        Label2[i + 12] = makeLabel(QString(), nullptr, "Label2", i + 12);
        for (QLabel *l : {Label1[i], Label2[i - 1], Label2[i + 12]})
            l->setAlignment(Qt::AlignCenter);
        gg->addWidget(Label1[i], 0, i);
        gg->addWidget(Label2[i - 1], 1, i);
        gg->addWidget(Label2[i + 12], 2, i);
        gg->setColumnStretch(i, 1);
    }
    for (int r = 0; r < 3; ++r)
        gg->setRowMinimumHeight(r, 36);
    gg->setColumnMinimumWidth(0, 100);
    grid->setMaximumHeight(160);
    v->addWidget(grid, 2);

    // 4. The totals line.
    auto *totals = makeBox("totalsLine");
    auto *tl = new QHBoxLayout(totals);
    tl->setContentsMargins(16, 8, 16, 8);
    const QPair<int, const char *> totalItems[] = {
        {22, "Unknown:"}, {16, "Approaching:"}, {18, "Receeding:"}, {20, "Total Surveyed:"}};
    for (const auto &t : totalItems) {
        Label1[t.first] = makeLabel(QString::fromLatin1(t.second), "caption", "Label1", t.first);
        Label1[t.first + 1] = makeLabel(QString(), "value", "Label1", t.first + 1);
        Label1[t.first + 1]->setMinimumWidth(60);
        tl->addWidget(Label1[t.first]);
        tl->addWidget(Label1[t.first + 1]);
        tl->addStretch(1);
    }
    v->addWidget(totals);

    // 5. Three boxes: speed statistics, pace, number exceeding the limit.
    auto *boxes = new QHBoxLayout;
    boxes->setSpacing(12);

    Shape9 = makeBox("Shape9");
    auto *sg = new QGridLayout(Shape9);
    sg->setContentsMargins(16, 12, 16, 12);
    sg->setHorizontalSpacing(10);
    sg->setVerticalSpacing(10);
    Label4[0] = makeLabel(QStringLiteral("Speed Statistics"), "boxTitle", "Label4", 0);
    sg->addWidget(Label4[0], 0, 0, 1, 3);
    Label5[4] = named(new ClickLabel(QStringLiteral("Posted Limit")), "Label5", 4);
    Label2[44] = makeLabel(QString(), "value", "Label2", 44);
    auto *limitRow = new QHBoxLayout;
    limitRow->setSpacing(8);
    limitRow->addStretch();
    limitRow->addWidget(Label5[4]);
    limitRow->addWidget(Label2[44]);
    sg->addLayout(limitRow, 0, 3, 1, 2);
    Label2[33] = makeLabel(QStringLiteral(" At/Under Limit"), "caption", "Label2", 33);
    Label2[29] = makeLabel(QStringLiteral("Number Over Limit"), "caption", "Label2", 29);
    Label2[30] = makeLabel(QStringLiteral("Average Speed"), "caption", "Label2", 30);
    Label85th = named(new ClickLabel(QStringLiteral("85th Percentile")), "Label85th", 31);
    Label2[35] = makeLabel(QStringLiteral(" Maximum Speed"), "caption", "Label2", 35);
    QLabel *statCaptions[] = {Label2[33], Label2[29], Label2[30], Label85th, Label2[35]};
    const int statValues[] = {32, 26, 27, 28, 34};
    for (int c = 0; c < 5; ++c) {
        statCaptions[c]->setAlignment(Qt::AlignCenter);
        statCaptions[c]->setWordWrap(true);
        sg->addWidget(statCaptions[c], 1, c);
        QLabel *value = makeLabel(QString(), "value", "Label2", statValues[c]);
        value->setAlignment(Qt::AlignCenter);
        Label2[statValues[c]] = value;
        sg->addWidget(value, 2, c);
        sg->setColumnStretch(c, 1);
    }
    Label2[56] = makeLabel(QString(), "value", "Label2", 56);
    Label2[57] = makeLabel(QString(), "value", "Label2", 57);
    Label2[56]->setAlignment(Qt::AlignCenter);
    Label2[57]->setAlignment(Qt::AlignCenter);
    Label5[5] = named(new ClickLabel(QStringLiteral("Percent of Total")), "Label5", 5);
    sg->addWidget(Label2[56], 3, 0);
    sg->addWidget(Label2[57], 3, 1);
    sg->addWidget(Label5[5], 3, 2, 1, 3);
    for (int r = 1; r <= 3; ++r)
        sg->setRowStretch(r, 1);
    boxes->addWidget(Shape9, 5);

    Shape10 = makeBox("Shape10");
    auto *pg = new QGridLayout(Shape10);
    pg->setContentsMargins(16, 12, 16, 12);
    pg->setVerticalSpacing(10);
    PaceCaption[2] = makeLabel(QStringLiteral("10 (X)PH Pace"), "boxTitle", "PaceCaption", 2);
    Image1 = named(new ClickLabel, "Image1");
    Image1->setPixmap(informationPicture(20));
    Image1->setToolTip(QStringLiteral("Pace Description"));
    pg->addWidget(PaceCaption[2], 0, 0);
    pg->addWidget(Image1, 0, 1, Qt::AlignRight);
    const char *paceCaptions[] = {"Pace Range", "Number in Pace", "Percent in Pace"};
    for (int i = 0; i < 3; ++i) {
        Label5[i] = named(new ClickLabel(QString::fromLatin1(paceCaptions[i])), "Label5", i);
        Label2[36 + i] = makeLabel(QString(), "value", "Label2", 36 + i);
        Label2[36 + i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pg->addWidget(Label5[i], 1 + i, 0);
        pg->addWidget(Label2[36 + i], 1 + i, 1);
    }
    pg->setColumnStretch(0, 1);
    for (int r = 1; r <= 3; ++r)
        pg->setRowStretch(r, 1);
    boxes->addWidget(Shape10, 3);

    Shape11 = makeBox("Shape11");
    auto *ng = new QGridLayout(Shape11);
    ng->setContentsMargins(16, 12, 16, 12);
    ng->setVerticalSpacing(10);
    ng->setHorizontalSpacing(10);
    Label4[1] = makeLabel(QStringLiteral("Number Exceeding Limit"), "boxTitle", "Label4", 1);
    ng->addWidget(Label4[1], 0, 0, 1, 5);
    const QPair<int, const char *> heads[] = {
        {39, "Speed"}, {40, "35+"}, {41, "45+"}, {42, "55+"}, {43, "Total"}};
    for (int c = 0; c < 5; ++c) {
        Label2[heads[c].first] =
            makeLabel(QString::fromLatin1(heads[c].second), "caption", "Label2", heads[c].first);
        Label2[heads[c].first]->setAlignment(Qt::AlignCenter);
        ng->addWidget(Label2[heads[c].first], 1, c);
        ng->setColumnStretch(c, 1);
    }
    Label2[49] = makeLabel(QStringLiteral("Number"), "caption", "Label2", 49);
    Label2[50] = makeLabel(QStringLiteral("Percent"), "caption", "Label2", 50);
    ng->addWidget(Label2[49], 2, 0, Qt::AlignCenter);
    ng->addWidget(Label2[50], 3, 0, Qt::AlignCenter);
    for (int c = 0; c < 4; ++c) {
        Label2[45 + c] = makeLabel(QString(), "value", "Label2", 45 + c);
        Label2[51 + c] = makeLabel(QString(), "value", "Label2", 51 + c);
        Label2[45 + c]->setAlignment(Qt::AlignCenter);
        Label2[51 + c]->setAlignment(Qt::AlignCenter);
        ng->addWidget(Label2[45 + c], 2, 1 + c);
        ng->addWidget(Label2[51 + c], 3, 1 + c);
    }
    for (int r = 1; r <= 3; ++r)
        ng->setRowStretch(r, 1);
    boxes->addWidget(Shape11, 4);
    for (QFrame *box : {Shape9, Shape10, Shape11}) {
        box->setMinimumHeight(170);
        box->setMaximumHeight(220);
    }
    v->addLayout(boxes, 3);

    // Label5 has no item 3.
    for (ClickLabel *l : Label5) {
        if (!l)
            continue;
        l->setProperty("role", QStringLiteral("caption"));
        l->setToolTip(QStringLiteral("Pace Description"));
    }
    Label85th->setProperty("role", QStringLiteral("caption"));
    Label85th->setToolTip(QStringLiteral("85th Percentile"));

    // 6. The two buttons and the hidden unit label.
    auto *buttons = new QHBoxLayout;
    Radar_Mode = makeLabel(QString(), nullptr, "Radar_Mode");
    Radar_Mode->hide();
    buttons->addWidget(Radar_Mode);
    buttons->addStretch();
    Command1 = makeButton(QStringLiteral("View Speeding Vehicle Profile"), "Command1");
    Command6 = makeButton(QStringLiteral("Print Report"), "Command6");
    Command6->setEnabled(false);
    buttons->addWidget(Command1);
    buttons->addWidget(Command6);
    v->addLayout(buttons);
    v->addStretch(1);

    FrameS->hide();

    for (int i = 0; i < 3; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { printButton(3); });
    connect(Command1, &QPushButton::clicked, this, [] {
        // The speeding vehicle profile window opens here (frmSpeed_Profile).
    });
    connect(Image1, &ClickLabel::clicked, this, &frmRoadtally::showPaceDescription);
    for (ClickLabel *l : Label5)
        if (l)
            connect(l, &ClickLabel::clicked, this, &frmRoadtally::showPaceDescription);
    connect(Label85th, &ClickLabel::clicked, this, &frmRoadtally::showPercentDescription);
    return page;
}

namespace {

// A tab page holding its view's container.
QFrame *makeTabContainer(const char *name, QWidget **page)
{
    auto *p = named(new QFrame, "tabPage");
    auto *l = new QVBoxLayout(p);
    l->setContentsMargins(0, 0, 0, 0);
    auto *container = named(new QFrame, name);
    l->addWidget(container);
    *page = p;
    return container;
}

QGroupBox *directionFrame(const char *name, const QString &title, QVector<QRadioButton *> &options,
                          const char *optionName, int first, const QStringList &captions)
{
    auto *box = named(new QGroupBox(title), name);
    auto *l = new QVBoxLayout(box);
    options.fill(nullptr, first + int(captions.size()));
    for (int i = 0; i < captions.size(); ++i) {
        options[first + i] = named(new QRadioButton(captions[i]), optionName, first + i);
        l->addWidget(options[first + i]);
    }
    return box;
}

// The column of direction choices and buttons beside a view, of one width on every tab.
QWidget *sideColumn(QVBoxLayout *layout, int width = 270)
{
    auto *w = new QWidget;
    layout->setContentsMargins(0, 0, 0, 0);
    w->setLayout(layout);
    w->setFixedWidth(width);
    return w;
}

// The place where a view draws its chart.
QFrame *chartArea(const char *name)
{
    auto *f = named(new QFrame, name);
    f->setProperty("box", true);
    f->setMinimumSize(600, 380);
    return f;
}

} // namespace

QWidget *frmRoadtally::buildVehicleSpeedsTab()
{
    QWidget *page = nullptr;
    VSViewPort1 = makeTabContainer("VSViewPort1", &page);
    auto *h = new QHBoxLayout(VSViewPort1);
    h->setContentsMargins(14, 10, 14, 10);
    auto *left = new QVBoxLayout;
    Label11 = makeLabel(QString(), "boxTitle", "Label11");
    left->addWidget(Label11);
    left->addWidget(chartArea("chartArea1"), 1);
    h->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    Frame7 = directionFrame("Frame7", QStringLiteral(" Vehicle Direction "), Option3, "Option3", 3,
                            {QStringLiteral("Both Directions "), QStringLiteral("Receeding Only"),
                             QStringLiteral("Approaching Only")});
    PrinterBW.fill(nullptr, 2);
    PrinterColor.fill(nullptr, 2);
    Frame12 = named(new QGroupBox(QStringLiteral("Printer Mode")), "Frame12");
    auto *pm = new QVBoxLayout(Frame12);
    PrinterBW[1] = named(new QRadioButton(QStringLiteral("Laser (B&&W)")), "PrinterBW", 1);
    PrinterColor[1] = named(new QRadioButton(QStringLiteral("Color Printer")), "PrinterColor", 1);
    PrinterColor[1]->setChecked(true);
    pm->addWidget(PrinterBW[1]);
    pm->addWidget(PrinterColor[1]);
    Command4 = makeButton(QStringLiteral("Print Graph"), "Command4");
    right->addWidget(Frame7);
    right->addWidget(Frame12);
    right->addWidget(Command4);
    right->addStretch();
    h->addWidget(sideColumn(right));
    connect(Command4, &QPushButton::clicked, this, [this] { printButton(2); });
    return page;
}

QWidget *frmRoadtally::buildDailyVolumeTab()
{
    QWidget *page = nullptr;
    Picture1 = makeTabContainer("Picture1", &page);
    auto *h = new QHBoxLayout(Picture1);
    h->setContentsMargins(14, 10, 14, 10);
    auto *left = new QVBoxLayout;
    Label12 = makeLabel(QString(), "boxTitle", "Label12");
    Label12->hide();
    left->addWidget(Label12);
    left->addWidget(chartArea("chartArea2"), 1);
    auto *halves = new QHBoxLayout;
    Shape1 = named(new QFrame, "Shape1");
    Shape2 = named(new QFrame, "Shape2");
    AM = makeLabel(QStringLiteral("AM Time"), "caption", "AM");
    PM = makeLabel(QStringLiteral("PM Time"), "caption", "PM");
    for (auto pair : {qMakePair(Shape1, AM), qMakePair(Shape2, PM)}) {
        pair.first->setProperty("box", true);
        auto *l = new QHBoxLayout(pair.first);
        l->setContentsMargins(4, 2, 4, 2);
        pair.second->setAlignment(Qt::AlignCenter);
        l->addWidget(pair.second);
        pair.first->hide();
        pair.second->hide();
        halves->addWidget(pair.first, 1);
    }
    // Keeps the row from limiting the chart's width while both halves are hidden.
    halves->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    left->addLayout(halves);
    Label15 = makeLabel(QStringLiteral("Vehicle Volume / Hour"), "caption", "Label15");
    Label15->setAlignment(Qt::AlignCenter);
    left->addWidget(Label15);
    h->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    Frame8 = directionFrame("Frame8", QStringLiteral("Date && Direction"), option4, "option4", 0,
                            {QStringLiteral("Approaching Only"), QStringLiteral("Receeding Only"),
                             QStringLiteral("Both Directions")});
    option4[0]->setChecked(true);
    DateVolume = makeListCombo("DateVolume", DatePrompt);
    DateVolume->hide();
    static_cast<QVBoxLayout *>(Frame8->layout())->addWidget(DateVolume);
    DChoice = makeLabel(QString(), nullptr, "DChoice");
    DChoice->hide();
    Command5 = makeButton(QStringLiteral("Print Graph"), "Command5");
    right->addWidget(Frame8);
    right->addWidget(DChoice);
    right->addWidget(Command5);
    right->addStretch();
    h->addWidget(sideColumn(right));
    connect(Command5, &QPushButton::clicked, this, [this] { printButton(5); });
    return page;
}

QWidget *frmRoadtally::build85thPercentileTab()
{
    QWidget *page = nullptr;
    VSViewPort3 = makeTabContainer("VSViewPort3", &page);
    auto *h = new QHBoxLayout(VSViewPort3);
    h->setContentsMargins(14, 10, 14, 10);
    auto *left = new QVBoxLayout;
    Label13 = makeLabel(QString(), "boxTitle", "Label13");
    left->addWidget(Label13);
    left->addWidget(chartArea("chartArea3"), 1);
    h->addLayout(left, 1);
    auto *right = new QVBoxLayout;
    Frame9 = directionFrame("Frame9", QStringLiteral(" Vehicle Direction "), option6, "option6", 3,
                            {QStringLiteral("Both Directions"), QStringLiteral("Receeding Only"),
                             QStringLiteral("Approaching Only")});
    Frame11 = named(new QGroupBox(QStringLiteral("Printer Mode")), "Frame11");
    auto *pm = new QVBoxLayout(Frame11);
    PrinterColor[0] = named(new QRadioButton(QStringLiteral("Color Printer")), "PrinterColor", 0);
    PrinterBW[0] = named(new QRadioButton(QStringLiteral("Laser (B&&W)")), "PrinterBW", 0);
    PrinterColor[0]->setChecked(true);
    pm->addWidget(PrinterColor[0]);
    pm->addWidget(PrinterBW[0]);
    Command2 = makeButton(QStringLiteral("Print Graph"), "Command2");
    right->addWidget(Frame9);
    right->addWidget(Frame11);
    right->addWidget(Command2);
    right->addStretch();
    h->addWidget(sideColumn(right));
    connect(Command2, &QPushButton::clicked, this, [this] { printButton(1); });
    return page;
}

QWidget *frmRoadtally::buildFifteenMinuteTab()
{
    QWidget *page = nullptr;
    VSViewPort4 = makeTabContainer("VSViewPort4", &page);
    auto *h = new QHBoxLayout(VSViewPort4);
    h->setContentsMargins(14, 10, 14, 10);
    h->setSpacing(14);
    Flex2 = named(new QTableWidget, "Flex2");
    Flex2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Flex2->verticalHeader()->hide();
    Flex2->horizontalHeader()->hide();
    Flex2->setMinimumWidth(430);
    h->addWidget(Flex2, 3);

    auto *right = new QVBoxLayout;
    Frame10 = directionFrame("Frame10", QStringLiteral("Date && Direction"), option7, "option7", 0,
                             {QStringLiteral("Approaching Only"), QStringLiteral("Receeding Only"),
                              QStringLiteral("Both Directions")});
    option7[0]->setChecked(true);
    Date15min = makeListCombo("Date15min", DatePrompt);
    Date15min->hide();
    static_cast<QVBoxLayout *>(Frame10->layout())->addWidget(Date15min);
    DateChoice = makeLabel(QString(), nullptr, "DateChoice");
    DateChoice->hide();
    right->addWidget(Frame10);
    right->addWidget(DateChoice);

    Label21.fill(nullptr, 10);
    AnalysisCaption.fill(nullptr, 27);
    auto analysis = [this](QGroupBox *&box, const char *name, const QString &title,
                           const QVector<QPair<int, int>> &rows) {
        box = named(new QGroupBox(title), name);
        auto *g = new QGridLayout(box);
        for (int r = 0; r < rows.size(); ++r) {
            const int captionNumber = rows[r].first;
            const int valueIndex = rows[r].second;
            AnalysisCaption[captionNumber] =
                makeLabel(QString(), "caption", "Label", captionNumber);
            AnalysisCaption[captionNumber]->setObjectName(
                QStringLiteral("Label%1").arg(captionNumber));
            Label21[valueIndex] = makeLabel(QString(), "value", "Label21", valueIndex);
            Label21[valueIndex]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g->addWidget(AnalysisCaption[captionNumber], r, 0);
            g->addWidget(Label21[valueIndex], r, 1);
        }
        box->hide();
    };
    analysis(AMAnalysis, "AMAnalysis", QStringLiteral("AM Analysis"),
             {{16, 0}, {17, 1}, {18, 2}, {19, 3}, {20, 4}});
    analysis(PMAnalysis, "PMAnalysis", QStringLiteral("PM Analysis"),
             {{22, 9}, {23, 8}, {24, 7}, {25, 6}, {26, 5}});
    const QPair<int, const char *> captions[] = {
        {16, "AM Total *"},       {17, "Peak Hour *"},       {18, "Peak Flow *"},
        {19, "Peak % of AM *"},   {20, "Peak % fo 24 Hr *"}, {22, "PM Total *"},
        {23, "Peak Hour *"},      {24, "Peak Flow *"},       {25, "Peak % of PM *"},
        {26, "Peak % fo 24 Hr *"}};
    for (const auto &c : captions)
        AnalysisCaption[c.first]->setText(QString::fromLatin1(c.second));
    const char *placeholders[] = {"0000", "12:00 - 9:00", "0000/hr", "00.0%", "00.0%"};
    for (int i = 0; i < 5; ++i) {
        Label21[i]->setText(QString::fromLatin1(placeholders[i]));
        Label21[9 - i]->setText(QString::fromLatin1(placeholders[i]));
    }
    right->addWidget(AMAnalysis);
    right->addWidget(PMAnalysis);
    Command7 = makeButton(QStringLiteral("Print Graph"), "Command7");
    right->addWidget(Command7);
    right->addStretch();
    h->addWidget(sideColumn(right, 300));
    connect(Command7, &QPushButton::clicked, this, [this] { printButton(4); });
    return page;
}

QWidget *frmRoadtally::buildWeeklyTab()
{
    QWidget *page = nullptr;
    VSViewPort5 = makeTabContainer("VSViewPort5", &page);
    auto *h = new QHBoxLayout(VSViewPort5);
    h->setContentsMargins(14, 10, 14, 10);
    auto *grid = named(new QFrame, "weeklyGrid");
    grid->setProperty("grid", true);
    auto *g = new QGridLayout(grid);
    g->setContentsMargins(1, 1, 1, 1);
    g->setSpacing(1);
    QFont small = font();
    small.setPointSize(8);
    grid->setFont(small);

    legend.fill(nullptr, 65);
    QVector<QLabel *> *columns[] = {&Day1A, &Day1R, &Day2A, &Day2R, &Day3A, &Day3R,
                                    &Day4A, &Day4R, &Day5A, &Day5R, &Day6A, &Day6R,
                                    &Day7A, &Day7R, &WDAA,  &WDAR,  &WKAA,  &WKAR};
    const char *columnNames[] = {"Day1A", "Day1R", "Day2A", "Day2R", "Day3A", "Day3R",
                                 "Day4A", "Day4R", "Day5A", "Day5R", "Day6A", "Day6R",
                                 "Day7A", "Day7R", "WDAA",  "WDAR",  "WKAA",  "WKAR"};
    auto cell = [&](const QString &text, const char *role, const char *name, int index) {
        QLabel *l = makeLabel(text, role, name, index);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(small);
        return l;
    };
    legend[26] = cell(QStringLiteral("Direction"), "rowHead", "legend", 26);
    legend[27] = cell(QStringLiteral("Interval"), "rowHead", "legend", 27);
    g->addWidget(legend[26], 0, 0);
    g->addWidget(legend[27], 1, 0);
    QLabel **dates[] = {&Date1, &Date2, &Date3, &Date4, &Date5, &Date6, &Date7};
    const char *dayDesign[] = {"Mon-1", "Tue-2", "Wed-3", "Thu-4", "Fri-5", "Sat-6", "Sun-7"};
    for (int k = 0; k < 7; ++k) {
        *dates[k] = cell(QString::fromLatin1(dayDesign[k]), "head", "Date", 1 + k);
        (*dates[k])->setObjectName(QStringLiteral("Date%1_%2").arg(k + 1).arg(46 + k));
        g->addWidget(*dates[k], 0, 1 + 2 * k, 1, 2);
    }
    legend[53] = cell(QStringLiteral("Weekday Avg."), "head", "legend", 53);
    legend[54] = cell(QStringLiteral("Weekend Avg."), "head", "legend", 54);
    g->addWidget(legend[53], 0, 15, 1, 2);
    g->addWidget(legend[54], 0, 17, 1, 2);
    for (int c = 0; c < 18; ++c) {
        legend[28 + c] =
            cell(c % 2 == 0 ? QStringLiteral("A") : QStringLiteral("R"), "head", "legend", 28 + c);
        g->addWidget(legend[28 + c], 1, 1 + c);
        g->setColumnStretch(1 + c, 1);
    }
    for (int r = 0; r < 24; ++r) {
        QString caption;
        if (r == 0)
            caption = QStringLiteral("12:AM");
        else if (r == 12)
            caption = QStringLiteral("12:PM");
        else
            caption = QStringLiteral("%1:00").arg(r % 12);
        legend[r] = cell(caption, "rowHead", "legend", r);
        g->addWidget(legend[r], 2 + r, 0);
    }
    legend[24] = cell(QStringLiteral("Totals"), "rowHead", "legend", 24);
    legend[25] = cell(QStringLiteral("Combined"), "rowHead", "legend", 25);
    legend[64] = cell(QStringLiteral("Split %"), "rowHead", "legend", 64);
    g->addWidget(legend[24], 26, 0);
    g->addWidget(legend[25], 27, 0);
    g->addWidget(legend[64], 28, 0);
    for (int c = 0; c < 18; ++c) {
        QVector<QLabel *> &column = *columns[c];
        column.fill(nullptr, 25);
        for (int r = 0; r <= 24; ++r) {
            column[r] = cell(QStringLiteral("*"), r == 24 ? "value" : nullptr, columnNames[c], r);
            g->addWidget(column[r], 2 + r, 1 + c);
        }
    }
    DayComb.fill(nullptr, 64);
    Split.fill(nullptr, 9);
    for (int k = 0; k < 9; ++k) {
        DayComb[55 + k] = cell(QStringLiteral("Com"), "value", "DayComb", 55 + k);
        Split[k] = cell(QStringLiteral("%"), nullptr, "Split", k);
        g->addWidget(DayComb[55 + k], 27, 1 + 2 * k, 1, 2);
        g->addWidget(Split[k], 28, 1 + 2 * k, 1, 2);
    }
    g->setColumnMinimumWidth(0, 74);
    h->addWidget(grid, 1);

    auto *right = new QVBoxLayout;
    Command8 = makeButton(QStringLiteral("Calculate Weekly Totals"), "Command8");
    Command3 = makeButton(QStringLiteral("Print Chart"), "Command3");
    right->addWidget(Command8);
    right->addWidget(Command3);
    right->addStretch();
    h->addWidget(sideColumn(right));
    connect(Command3, &QPushButton::clicked, this, [this] { printButton(6); });
    return page;
}

void frmRoadtally::buildPrintOptionPanel(QWidget *central)
{
    framePrintOption = named(new QFrame(central), "framePrintOption");
    auto *v = new QVBoxLayout(framePrintOption);
    v->setContentsMargins(18, 14, 18, 14);
    Label27 = makeLabel(QStringLiteral("Print Options"), "boxTitle", "Label27");
    PrintTitle = makeLabel(QStringLiteral("Name of Print Form"), "value", "PrintTitle");
    PrintOptionA =
        named(new QRadioButton(QStringLiteral("Approaching Vehicles Only")), "PrintOptionA");
    PrintOptionR =
        named(new QRadioButton(QStringLiteral("Receeding Vehicles Only")), "PrintOptionR");
    PrintOptionB =
        named(new QRadioButton(QStringLiteral("Vehicles Both Directions")), "PrintOptionB");
    Combo2 = makeListCombo("Combo2", QString());
    Combo2->setEnabled(false);
    DateChoice2 = makeLabel(QString(), nullptr, "DateChoice2");
    DateChoice2->hide();
    PrintSelection = makeButton(QStringLiteral("Print Selection"), "PrintSelection");
    PrintSelection->setEnabled(false);
    Command11 = makeButton(QStringLiteral("Close"), "Command11");
    v->addWidget(Label27);
    v->addWidget(PrintTitle);
    v->addWidget(PrintOptionA);
    v->addWidget(PrintOptionR);
    v->addWidget(PrintOptionB);
    v->addWidget(Combo2);
    v->addWidget(DateChoice2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PrintSelection);
    buttons->addWidget(Command11);
    v->addLayout(buttons);
    framePrintOption->setFixedSize(380, 300);
    framePrintOption->hide();
    connect(Command11, &QPushButton::clicked, this, [this] {
        framePrintOption->hide();
        SSTab->setEnabled(true);
    });
}

void frmRoadtally::placeOverlays()
{
    QWidget *central = centralWidget();
    if (!central)
        return;
    const QRect area = central->rect();
    for (QFrame *panel : {splashframe, framePrintOption}) {
        if (!panel)
            continue;
        const QSize s = panel->size();
        panel->move(area.center().x() - s.width() / 2, area.center().y() - s.height() / 2 + 16);
        panel->raise();
    }
}

void frmRoadtally::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeOverlays();
}

// ---------------------------------------------------------------------------
// Start-up

void frmRoadtally::Form_Load()
{
    const QString path = sharedState().deriveDatabasePath();
    for (BoundDataSource *source : {Data1, Data2, Data3, Data4, Data5, Data6})
        source->setDatabaseName(path);
    Data1->setRecordSource(QStringLiteral("Header"));
    Data2->setRecordSource(QStringLiteral("Header"));
    Data3->setRecordSource(QStringLiteral("Summary"));
    Data5->setRecordSource(QStringLiteral("Agency"));
    Data6->setRecordSource(QStringLiteral("Officer"));
    bindSources();

    // A database that cannot be read is reported once the window shows; the
    // views stay disabled, since every one of them reads the survey database.
    {
        DatabaseSession session(path);
        if (!session.isOpen()) {
            m_databaseError = session.errorText();
        } else {
            try {
                session.scalar(QStringLiteral("SELECT count(*) FROM [Header]"));
                session.scalar(QStringLiteral("SELECT count(*) FROM [Summary]"));
            } catch (const DatabaseError &e) {
                m_databaseError = QStringLiteral("The survey database %1 cannot be read: %2")
                                      .arg(path, QString::fromUtf8(e.what()));
            }
        }
    }
    if (m_databaseError.isEmpty()) {
        for (BoundDataSource *source : {Data1, Data2, Data3, Data5, Data6})
            source->refresh();
    } else {
        SSTab->setEnabled(false);
        for (QWidget *w : {static_cast<QWidget *>(Command9), static_cast<QWidget *>(Label14),
                           static_cast<QWidget *>(Command10), static_cast<QWidget *>(Label28)})
            w->setEnabled(false);
        mnuOpenStudy->setEnabled(false);
        mnuProcessRawData->setEnabled(false);
        mnuDeleteSurvey->setEnabled(false);
        mnudeletedatabase->setEnabled(false);
    }

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
}

void frmRoadtally::bindSources()
{
    bindLabel(Label7[4], Data2, QStringLiteral("Batch_Number"));
    bindLabel(Label7[5], Data2, QStringLiteral("Zone"));
    bindLabel(Label10, Data2, QStringLiteral("Location"));
    bindLabel(Label7[8], Data2, QStringLiteral("Direction"));
    bindLabel(Radar_Mode, Data2, QStringLiteral("Radar_Mode"));

    bindLabel(Label7[0], Data3, QStringLiteral("Start_Date"));
    bindLabel(Label7[1], Data3, QStringLiteral("Stop_Date"));
    bindLabel(Label8, Data3, QStringLiteral("Start_Time"));
    bindLabel(Label7[3], Data3, QStringLiteral("Stop_Time"));
    bindLabel(Label9, Data3, QStringLiteral("Total_Time"));
    bindLabel(Label7[9], Data3, QStringLiteral("Posted_Limit"));
    bindLabel(Label2[44], Data3, QStringLiteral("Posted_Limit"));
    bindLabel(Label2[27], Data3, QStringLiteral("50th_PercentileA"));
    bindLabel(Label2[28], Data3, QStringLiteral("85th_PercentileA"));
    bindLabel(Label2[34], Data3, QStringLiteral("Max_Speed"));
    bindLabel(Label2[36], Data3, QStringLiteral("PaceA"));
    bindLabel(Label2[37], Data3, QStringLiteral("Pace_TotalA"));
    bindLabel(Label2[38], Data3, QStringLiteral("Pace_PercentA"));
    bindLabel(Label1[23], Data3, QStringLiteral("Total_Unknown"));
    bindLabel(Label1[17], Data3, QStringLiteral("Total_Approach"));
    bindLabel(Label1[19], Data3, QStringLiteral("Total_Receeding"));
    bindLabel(Label1[21], Data3, QStringLiteral("Total_Vehicles"));

    bindLabel(Agency, Data5, QStringLiteral("Admin_Agency"));
    bindComboText(Officer_Select, Data6, QStringLiteral("Admin_Officer"));
}

void frmRoadtally::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    placeOverlays();
    if (!m_databaseError.isEmpty() && !m_databaseReported) {
        m_databaseReported = true;
        reportDatabaseProblem();
    }
}

void frmRoadtally::reportDatabaseProblem()
{
    showMessage(this,
                m_databaseError + QStringLiteral("\n\nThe survey views stay disabled until the "
                                                 "program finds a usable database."));
}

void frmRoadtally::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

// ---------------------------------------------------------------------------
// Activation and tab change

void frmRoadtally::Form_Activate()
{
    const BandHeaders headers = bandHeaders(Label7[9]->text());
    Label2[40]->setText(headers.first);
    Label2[41]->setText(headers.second);
    Label2[42]->setText(headers.third);

    Combo1->clear();
    Combo2->clear();
    Combo1->setEditText(SchemePrompt);
    Combo1->addItems(displaySchemeNames(Radar_Mode->text()));
    Combo1->setEditText(SchemePrompt);
}

void frmRoadtally::SSTab_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    splashframe->hide();
    LastButton->show();
    LastText->show();
    splashframe->adjustSize();

    for (QPushButton *b : {Command2, Command3, Command4, Command5, Command6, Command7})
        b->setEnabled(false);

    // The vehicle speeds chart (Graph1) is made visible here once it is drawn on its tab.

    resetCombo(Date15min, DatePrompt);
    resetCombo(DateVolume, DatePrompt);

    DatabaseSession session(sharedState().deriveDatabasePath());
    if (!session.isOpen()) {
        showMessage(this, session.errorText());
        return;
    }
    try {
        const QStringList dates = surveyDates(session, Label7[4]->text());
        for (const QString &d : dates) {
            Date15min->addItem(d);
            DateVolume->addItem(d);
        }
        Date15min->setEditText(DatePrompt);
        DateVolume->setEditText(DatePrompt);
    } catch (const DatabaseError &e) {
        showMessage(this, QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------------------
// Entry commands

void frmRoadtally::openSurvey(bool fromStartPanel)
{
    ClearWeekData();
    setEnabled(false);
    frmOpenSurvey &chooser = form<frmOpenSurvey>();
    chooser.show();
    chooser.raise();
    chooser.activateWindow();
    FrameS->hide();
    if (!fromStartPanel)
        SSTab->setEnabled(false);
    SSTab->setCurrentIndex(0);
    if (fromStartPanel)
        splashframe->hide();
}

void frmRoadtally::loadRawData(bool fromStartPanel)
{
    setEnabled(false);
    FrameS->hide();
    if (!fromStartPanel)
        SSTab->setEnabled(false);
    SSTab->setCurrentIndex(0);
    // Load mode: the file list enabled, "Load File", deleting disabled.
    form<frmLoadDataFile>().showLoadMode();
    if (fromStartPanel)
        splashframe->hide();
}

void frmRoadtally::LastButton_Click()
{
    FrameS->show();
    SSTab->setEnabled(true);
    splashframe->hide();
}

void frmRoadtally::returnFromChild(bool startPanel)
{
    if (!formExists<frmRoadtally>())
        return;
    frmRoadtally &main = form<frmRoadtally>();
    main.setEnabled(true);
    if (startPanel)
        main.showStartPanel();
}

void frmRoadtally::showStartPanel()
{
    splashframe->show();
    splashframe->adjustSize();
    placeOverlays();
}

void frmRoadtally::ClearWeekData()
{
    const QVector<QLabel *> *columns[] = {&Day1A, &Day1R, &Day2A, &Day2R, &Day3A, &Day3R,
                                          &Day4A, &Day4R, &Day5A, &Day5R, &Day6A, &Day6R,
                                          &Day7A, &Day7R, &WDAA,  &WDAR,  &WKAA,  &WKAR};
    for (const QVector<QLabel *> *column : columns)
        for (int r = 0; r <= 24 && r < column->size(); ++r)
            column->at(r)->setText(QStringLiteral("*"));
    for (int i = 55; i <= 63; ++i)
        DayComb[i]->setText(QStringLiteral("*"));
    for (QLabel *l : Split)
        l->setText(QStringLiteral("*"));
}

// ---------------------------------------------------------------------------
// Summary panel: direction, criteria and display schemes

SurveyDirection frmRoadtally::summaryDirection() const
{
    if (Option1[1]->isChecked())
        return SurveyDirection::Receding;
    if (Option1[2]->isChecked())
        return SurveyDirection::Both;
    return SurveyDirection::Approaching;
}

void frmRoadtally::Option1_Click(int index)
{
    Q_UNUSED(index);
    for (int i = 0; i <= 25; ++i)
        Label2[i]->clear();
    Survey_Criteria();
    Combo1->setEditText(SchemePrompt);
}

void frmRoadtally::Survey_Criteria()
{
    const BandHeaders headers = bandHeaders(Label7[9]->text());
    Label2[40]->setText(headers.first);
    Label2[41]->setText(headers.second);
    Label2[42]->setText(headers.third);

    const int checked = Option1[0]->isChecked()   ? 0
                        : Option1[1]->isChecked() ? 1
                        : Option1[2]->isChecked() ? 2
                                                  : -1;
    if (checked < 0)
        return;
    const auto direction = static_cast<SurveyDirection>(checked);
    for (const CriteriaBinding &b : criteriaBindings(direction))
        bindLabel(Label2[b.label], Data3, b.field);

    const QLabel *totalLabel = Label1[17 + 2 * checked];
    CriteriaInput in;
    in.postedLimit = Label7[9]->text();
    in.total = totalLabel->text();
    in.numberOver = Label2[26]->text();
    in.band10 = Label2[45]->text();
    in.band20 = Label2[46]->text();
    in.band30 = Label2[47]->text();
    const CriteriaResult r = computeCriteria(in, direction);
    Label2[32]->setText(r.atOrUnder);
    Label2[56]->setText(r.percentAtOrUnder);
    Label2[57]->setText(r.percentOver);
    for (int i = 0; i < 4; ++i)
        Label2[51 + i]->setText(r.percentBands[i]);
    Label5[5]->setText(r.percentCaption);
}

void frmRoadtally::Combo1_Click()
{
    Command6->setEnabled(true);
    const QString text = Combo1->currentText();
    const DisplayScheme *scheme = findDisplayScheme(text);
    if (!scheme)
        return;
    runScheme(scheme->name);
    for (int i = 0; i < 13; ++i)
        Label1[1 + i]->setText(scheme->bins.at(i).label);
}

void frmRoadtally::runScheme(const QString &name)
{
    const DisplayScheme *scheme = findDisplayScheme(name);
    if (!scheme)
        return;
    const int checked = Option1[0]->isChecked()   ? 0
                        : Option1[1]->isChecked() ? 1
                        : Option1[2]->isChecked() ? 2
                                                  : -1;
    if (checked < 0)
        return;
    const auto direction = static_cast<SurveyDirection>(checked);
    const QString total = Label1[17 + 2 * checked]->text();
    DatabaseSession session(sharedState().deriveDatabasePath());
    if (!session.isOpen()) {
        showMessage(this, session.errorText());
        return;
    }
    try {
        const SchemeResult r = computeScheme(session, Label7[4]->text(), *scheme, direction, total);
        for (int i = 0; i < 13; ++i) {
            Label2[i]->setText(r.volumeTexts.at(i));
            Label2[13 + i]->setText(r.percentTexts.at(i));
        }
    } catch (const DatabaseError &e) {
        showMessage(this, QString::fromUtf8(e.what()));
    }
}

void frmRoadtally::schemeAA()
{
    runScheme(QStringLiteral("1 to 25 by 2 MPH"));
}
void frmRoadtally::schemeA()
{
    runScheme(QStringLiteral("15 to 70 by 5 MPH"));
}
void frmRoadtally::SchemeB()
{
    runScheme(QStringLiteral("20 to 42 by 2 MPH"));
}
void frmRoadtally::SchemeC()
{
    runScheme(QStringLiteral("30 to 52 by 2 MPH"));
}
void frmRoadtally::schemeK()
{
    runScheme(QStringLiteral("35 to 90 by 5 KPH"));
}
void frmRoadtally::schemeK2()
{
    runScheme(QStringLiteral("65 to 120 by 5 KPH"));
}

// ---------------------------------------------------------------------------
// Print buttons, information windows, printing the form

void frmRoadtally::printButton(int reportSelector)
{
    // The report preview (VSPrint) builds the selected report when it opens.
    sharedState().reportSelector = static_cast<qint16>(reportSelector);
}

namespace {

// The information and about windows leave the main window enabled.
template <class W> void showInformation()
{
    W &w = form<W>();
    w.show();
    w.raise();
    w.activateWindow();
}

} // namespace

void frmRoadtally::showPaceDescription()
{
    showInformation<pace_description>();
}

void frmRoadtally::showPercentDescription()
{
    showInformation<percent>();
}

void frmRoadtally::showAbout()
{
    showInformation<frmAbout>();
}

void frmRoadtally::printForm()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        showMessage(this, QStringLiteral("No printer is installed to print the form."));
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    const QPixmap picture = centralWidget()->grab();
    QPainter painter;
    if (!painter.begin(&printer)) {
        showMessage(this, QStringLiteral("The form could not be sent to the printer %1.")
                              .arg(info.printerName()));
        return;
    }
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(picture.rect());
    painter.drawPixmap(0, 0, picture);
    painter.end();
}

} // namespace roadtally
