#include "gui/shell/frmRoadtally.h"

#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyDates.h"
#include "core/survey/SurveyRules.h"
#include "core/upkeep/DatabaseMaintenance.h"
#include "gui/admin/frmOpenSurvey.h"
#include "gui/compare/CompareSurveys.h"
#include "gui/info/HelpWindow.h"
#include "gui/info/frmAbout.h"
#include "gui/intake/frmLoadDataFile.h"
#include "gui/kit/ActivationWatch.h"
#include "gui/kit/Artwork.h"
#include "gui/kit/ClickLabel.h"
#include "gui/kit/DatabaseFailure.h"
#include "gui/kit/EnterKey.h"
#include "gui/kit/Forms.h"
#include "gui/kit/HelpKey.h"
#include "gui/kit/Message.h"
#include "gui/kit/SaveFile.h"
#include "gui/kit/WidgetKit.h"
#include "gui/shell/DailyVolumeTab.h"
#include "gui/shell/FifteenMinuteTab.h"
#include "gui/shell/GraphView.h"
#include "gui/shell/PrintOptionsPanel.h"
#include "gui/shell/SpeedChartTab.h"
#include "gui/shell/SpeedStudyTab.h"
#include "gui/shell/SummaryTab.h"
#include "gui/shell/WeeklyTab.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace roadtally {

using namespace kit;

// Out of line: the owned windows are complete types here.
frmRoadtally::~frmRoadtally() = default;

frmRoadtally::frmRoadtally(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Roadtally"));
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmRoadtally"));
    setStyleSheet(QString::fromLatin1(windowStyleSheet()));

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
    summary = new SummaryTab;
    speeds = new SpeedChartTab(SpeedChartTab::vehicleSpeeds());
    volume = new DailyVolumeTab;
    percentile = new SpeedChartTab(SpeedChartTab::percentile85());
    fifteen = new FifteenMinuteTab;
    weekly = new WeeklyTab;
    study = new SpeedStudyTab;
    SSTab->addTab(summary, QStringLiteral("Survey Summary"));
    SSTab->addTab(speeds, QStringLiteral("Vehicle Speeds"));
    SSTab->addTab(volume, QStringLiteral("Daily Volume/Time"));
    SSTab->addTab(percentile, QStringLiteral("85th Percentile"));
    SSTab->addTab(fifteen, QStringLiteral("15 Minute Breakdown"));
    SSTab->addTab(weekly, QStringLiteral("Weekly Summary"));
    SSTab->addTab(study, QStringLiteral("Speed Study"));
    layout->addWidget(SSTab);
    setCentralWidget(central);
    buildStartPanel(central);
    printOptions = new PrintOptionsPanel(central);
    buildMenus();
    DatabaseInUse = named(new QLabel(this), "DatabaseInUse");
    statusBar()->addPermanentWidget(DatabaseInUse, 1);
    showDatabaseInUse();
    connectTabs();
    connectReports();
    connectExport();

    SSTab->setCurrentIndex(0);
    m_lastTab = 0;
    kit::setHelpPage(this, QStringLiteral("tabs"));
    connect(SSTab, &QTabWidget::currentChanged, this, [this](int index) {
        kit::setHelpPage(this, SSTab->widget(index) == study ? QStringLiteral("study")
                                                             : QStringLiteral("tabs"));
        const int previous = m_lastTab;
        m_lastTab = index;
        SSTab_Click(previous);
    });

    resize(1280, 800);
    scrollTabs();
    Form_Load();
    m_activation = new ActivationWatch(this, [this] { Form_Activate(); });
}

// ---------------------------------------------------------------------------
// Building the window

void frmRoadtally::buildMenus()
{
    QMenuBar *bar = menuBar();
    m1 = named(bar->addMenu(QStringLiteral("&File")), "m1");
    mnuPrintForm = m1->addAction(QStringLiteral("&Print Form"));
    mnuOpenStudy = m1->addAction(QStringLiteral("&Open Study Data"));
    mnuSaveStudy = named(m1->addMenu(QStringLiteral("E&xport Study As....")), "mnuSaveStudy");
    mnuExcel = mnuSaveStudy->addAction(QStringLiteral("Excel Spreadsheet"));
    mnuAccess = mnuSaveStudy->addAction(QStringLiteral("Access Database"));
    mnuSaveStudy->setEnabled(false);
    m1->addSeparator()->setObjectName(QStringLiteral("mnuBar"));
    mnuProcessRawData = m1->addAction(QStringLiteral("&Load (Process) Raw Data File"));
    mnuCopySurveys = m1->addAction(QStringLiteral("Copy Surveys &To..."));
    m1->addSeparator()->setObjectName(QStringLiteral("mnuBar2"));
    mnuExit = m1->addAction(QStringLiteral("&Exit"));

    m2 = named(bar->addMenu(QStringLiteral("&Edit")), "m2");
    mnuDeleteSurvey = m2->addAction(QStringLiteral("&Delete Individual Survey"));
    mnuManageDatabase = m2->addAction(QStringLiteral("&Repair && Backup Database"));
    mnudeletedatabase = m2->addAction(QStringLiteral("Delete &Complete Database"));

    m3 = named(bar->addMenu(QStringLiteral("&Options")), "m3");
    mnuAdminSetup = m3->addAction(QStringLiteral("&Admin Setup"));
    mnuSurveyDatabase = m3->addAction(QStringLiteral("&Survey Database..."));

    m4 = named(bar->addMenu(QStringLiteral("&Reports")), "m4");
    mnuSummary = m4->addAction(QStringLiteral("&Survey Summary "));
    mnuDailyTraffic = named(m4->addMenu(QStringLiteral("Daily &Traffic Flow")), "mnuDailyTraffic");
    mnuDailyTrafficApproaching =
        mnuDailyTraffic->addAction(QStringLiteral("Approaching Vehicles Only"));
    mnuDailyTrafficReceeding = mnuDailyTraffic->addAction(QStringLiteral("Receding Vehicles Only"));
    mnuDailyTrafficBoth = mnuDailyTraffic->addAction(QStringLiteral("Both Directions"));
    mnuDailyVolume = m4->addAction(QStringLiteral("Daily &Volume/Time"));
    mnu85Percent = named(m4->addMenu(QStringLiteral("&85th Percentile")), "mnu85Percent");
    mnu85percentApproach = mnu85Percent->addAction(QStringLiteral("Approaching Vehicles Only"));
    mnu85PercentReceed = mnu85Percent->addAction(QStringLiteral("Receding Vehicles Only"));
    mnu85PercentBoth = mnu85Percent->addAction(QStringLiteral("Both Directions"));
    mnu15Minute = m4->addAction(QStringLiteral("&15 Minute Breakdown"));
    mnuWeeklySummary = m4->addAction(QStringLiteral("&Weekly Summary"));
    m4->setEnabled(false); // the menu bar entry follows the menu

    m5 = named(bar->addMenu(QStringLiteral("&Help")), "m5");
    mnuTopics = m5->addAction(QStringLiteral("&Topics"));
    mnuAbout = m5->addAction(QStringLiteral("&About"));

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
        {mnuCopySurveys, "mnuCopySurveys"},
        {mnuSurveyDatabase, "mnuSurveyDatabase"},
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
    connect(mnuDeleteSurvey, &QAction::triggered, this, &frmRoadtally::mnuDeleteSurvey_Click);
    connect(mnuManageDatabase, &QAction::triggered, this, &frmRoadtally::mnuManageDatabase_Click);
    connect(mnudeletedatabase, &QAction::triggered, this, &frmRoadtally::mnudeletedatabase_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmRoadtally::showAbout);
    connect(mnuAdminSetup, &QAction::triggered, this, &frmRoadtally::showAdminSetup);
    connect(mnuSurveyDatabase, &QAction::triggered, this, &frmRoadtally::mnuSurveyDatabase_Click);
    connect(mnuCopySurveys, &QAction::triggered, this, &frmRoadtally::mnuCopySurveys_Click);
    connect(mnuTopics, &QAction::triggered, this, [] { showHelp(kit::HelpContents); });
    // F1 in any window opens the guide at that window's page.
    installHelpKey(&frmRoadtally::showHelp);
    installEnterKey();
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
    // The program has one name: the line above it stays empty.
    Label30 = makeLabel(QString(), nullptr, "Label30");
    Label30->hide();
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

void frmRoadtally::placeOverlays()
{
    QWidget *central = centralWidget();
    if (!central)
        return;
    const QRect area = central->rect();
    for (QFrame *panel : {splashframe, static_cast<QFrame *>(printOptions)}) {
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
    summary->bindSources(Data2, Data3, Data5, Data6);

    // A database that cannot be read is reported once the window shows; the
    // views stay disabled, since every one of them reads the survey database.
    // A survey folder start-up could not make ready is the one thing to report.
    if (!sharedState().surveyFolderProblem.isEmpty()) {
        m_databaseError = sharedState().surveyFolderProblem;
    } else {
        DatabaseFault fault = DatabaseFault::Other;
        bool failed = true;
        DatabaseSession session(path);
        if (!session.isOpen()) {
            fault = session.openFault();
            m_databaseDetail = session.errorText();
        } else {
            try {
                session.scalar(QStringLiteral("SELECT count(*) FROM [Header]"));
                session.scalar(QStringLiteral("SELECT count(*) FROM [Summary]"));
                failed = false;
            } catch (const DatabaseError &e) {
                fault = e.fault();
                m_databaseDetail = QString::fromUtf8(e.what());
            }
        }
        if (failed) {
            m_databaseError =
                databaseFailureMessage(databaseFailureText(path, DatabaseAccess::Read, fault),
                                       fault, isServerDatabase(path));
            // The backup beside it is the quickest way back to work.
            if (const QString restore = restoreAdvice(path); !restore.isEmpty())
                m_databaseError += QStringLiteral("\n\n") + restore;
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
        fitToScreen(s);
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }
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
    notice(this,
           m_databaseError + QStringLiteral("\n\nThe survey views stay disabled until the "
                                            "program finds a usable database."),
           QMessageBox::Warning, m_databaseDetail);
}

// ---------------------------------------------------------------------------
// Activation and tab change

void frmRoadtally::Form_Activate()
{
    summary->refreshSchemes();
    printOptions->clearEntries();
}

void frmRoadtally::SSTab_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    splashframe->hide();
    LastButton->show();
    LastText->show();
    splashframe->adjustSize();

    // The speed charts follow the summary's statistics. The date lists
    // afresh; each tab keeps what it shows while that is current, and so its
    // print button.
    speeds->refresh();
    percentile->refresh();
    QStringList dates;
    withSurveyDatabase(
        this, [&](DatabaseSession &session) { dates = surveyDates(session, summary->batch()); });
    fifteen->setDates(dates);
    volume->setDates(dates);
}

void frmRoadtally::setPrintingEnabled(bool enabled)
{
    summary->setPrintingEnabled(enabled);
    speeds->setPrintingEnabled(enabled);
    volume->setPrintingEnabled(enabled);
    percentile->setPrintingEnabled(enabled);
    fifteen->setPrintingEnabled(enabled);
    weekly->setPrintingEnabled(enabled);
}

SurveyDirection frmRoadtally::summaryDirection() const
{
    return summary->summaryDirection();
}

// ---------------------------------------------------------------------------
// Wiring between the tabs

void frmRoadtally::connectTabs()
{
    connect(summary, &SummaryTab::printRequested, this, &frmRoadtally::printButton);
    connect(speeds, &SpeedChartTab::printRequested, this, &frmRoadtally::printButton);
    connect(volume, &DailyVolumeTab::printRequested, this, &frmRoadtally::printButton);
    connect(percentile, &SpeedChartTab::printRequested, this, &frmRoadtally::printButton);
    connect(fifteen, &FifteenMinuteTab::printRequested, this, &frmRoadtally::printButton);
    connect(weekly, &WeeklyTab::printRequested, this, &frmRoadtally::printButton);
    connect(printOptions, &PrintOptionsPanel::closed, this, [this] {
        SSTab->setEnabled(true);
        menuBar()->setEnabled(true);
    });
    connect(summary, &SummaryTab::speedProfileRequested, this, &frmRoadtally::showSpeedProfile);
}

// ---------------------------------------------------------------------------
// Entry commands and the child windows

frmOpenSurvey &frmRoadtally::openSurveyWindow()
{
    frmOpenSurvey &w = form<frmOpenSurvey>();
    connect(&w, &frmOpenSurvey::surveySelected, this, &frmRoadtally::surveySelected,
            Qt::UniqueConnection);
    connect(&w, &frmOpenSurvey::surveyChosen, this, &frmRoadtally::surveyChosen,
            Qt::UniqueConnection);
    connect(&w, &frmOpenSurvey::closed, this, &frmRoadtally::returnFromChild, Qt::UniqueConnection);
    return w;
}

frmLoadDataFile &frmRoadtally::loadDataFileWindow()
{
    frmLoadDataFile &w = form<frmLoadDataFile>();
    // closed() also carries the return of the processing window the dialog hands over to.
    connect(&w, &frmLoadDataFile::closed, this, &frmRoadtally::returnFromChild,
            Qt::UniqueConnection);
    connect(&w, &frmLoadDataFile::fileDeleted, this, &frmRoadtally::fileDeleted,
            Qt::UniqueConnection);
    connect(&w, &frmLoadDataFile::surveyStored, this, &frmRoadtally::surveyStored,
            Qt::UniqueConnection);
    return w;
}

void frmRoadtally::openSurvey(bool fromStartPanel)
{
    weekly->ClearWeekData();
    setEnabled(false);
    frmOpenSurvey &chooser = openSurveyWindow();
    chooser.show();
    chooser.raise();
    chooser.activateWindow();
    summary->setPanelVisible(false);
    if (!fromStartPanel)
        SSTab->setEnabled(false);
    SSTab->setCurrentIndex(0);
    if (fromStartPanel)
        splashframe->hide();
}

void frmRoadtally::loadRawData(bool fromStartPanel)
{
    setEnabled(false);
    summary->setPanelVisible(false);
    if (!fromStartPanel)
        SSTab->setEnabled(false);
    SSTab->setCurrentIndex(0);
    // Load mode: the file list enabled, "Load File", deleting disabled.
    loadDataFileWindow().showLoadMode();
    if (fromStartPanel)
        splashframe->hide();
}

void frmRoadtally::openDataFile(const QString &path)
{
    // Without a usable database the load command is off, and so is this.
    if (!mnuProcessRawData->isEnabled())
        return;
    loadRawData(true);
    // On failure the data file window has said why and stays open with its list.
    loadDataFileWindow().takeDataFile(path);
}

void frmRoadtally::LastButton_Click()
{
    summary->setPanelVisible(true);
    SSTab->setEnabled(true);
    splashframe->hide();
}

void frmRoadtally::returnFromChild(bool showStartPanel)
{
    setEnabled(true);
    if (showStartPanel)
        this->showStartPanel();
    activateWindow();
}

void frmRoadtally::fileDeleted()
{
    // The dialog stays open; this window is usable again behind it.
    setEnabled(true);
}

void frmRoadtally::surveySelected(const QString &batch)
{
    for (BoundDataSource *source : {Data2, Data3}) {
        // A batch number that matches nothing leaves the source on the survey it
        // showed before; the refresh alone would move it to the first row.
        const QString before = source->text(QStringLiteral("Batch_Number"));
        source->refresh();
        if (!source->findFirst(QStringLiteral("Batch_Number"), batch) && !before.isEmpty())
            source->findFirst(QStringLiteral("Batch_Number"), before);
    }
}

void frmRoadtally::surveyChosen(const QString &batch)
{
    // The sources already stand on it (surveySelected). A survey stored
    // without a speed unit has no figures to show: say so and how to remove
    // it, rather than open blank tabs.
    const QString problem = storedSurveyProblem(batch, summary->Radar_Mode->text());
    if (!problem.isEmpty()) {
        setEnabled(true);
        forgetSurvey();
        message(this, problem, {}, QMessageBox::Warning);
        return;
    }
    splashframe->hide(); // left shown by a menu command or a cancelled dialog
    summary->setPanelVisible(true);
    setEnabled(true);
    SSTab->setEnabled(true);
    setPrintingEnabled(true);
    // Every view starts from its first choice.
    weekly->ClearWeekData();
    summary->surveyOpened();
    speeds->selectDirection(SurveyDirection::Both);
    volume->selectDirection(SurveyDirection::Both);
    percentile->selectDirection(SurveyDirection::Both);
    fifteen->selectDirection(SurveyDirection::Both);
    fifteen->showDatePrompt();
    volume->showDatePrompt();
    study->showSurvey(sharedState().deriveDatabasePath(), summary->batch());
    m4->setEnabled(true);
    mnuSaveStudy->setEnabled(true);
    activateWindow();
}

void frmRoadtally::showStartPanel()
{
    splashframe->show();
    splashframe->adjustSize();
    placeOverlays();
}

void frmRoadtally::showHelp(const QString &page)
{
    HelpWindow &help = form<HelpWindow>();
    help.showPage(page);
    help.show();
    help.raise();
    help.activateWindow();
}

void frmRoadtally::showAbout()
{
    showInformation<frmAbout>();
}

void frmRoadtally::printForm()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        // Without a printer the form can still be kept, and printed elsewhere.
        if (kit::message(this,
                         QStringLiteral("No printer is installed. Save the form as a PDF file "
                                        "instead?"),
                         {}, QMessageBox::Question,
                         QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        QString path =
            chooseSaveFile(this, QStringLiteral("Save Form as PDF"),
                           QDir(sharedState().surveyFolder()).filePath(QStringLiteral("Form.pdf")),
                           QStringLiteral("PDF files (*.pdf)"));
        if (path.isEmpty())
            return;
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            path += QStringLiteral(".pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (!paintForm(printer) || !QFileInfo(path).isFile()) {
            notice(this, QStringLiteral("The form could not be saved as %1.")
                             .arg(QDir::toNativeSeparators(path)));
            return;
        }
        statusBar()->showMessage(
            QStringLiteral("Form saved as %1").arg(QDir::toNativeSeparators(path)));
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!paintForm(printer))
        notice(this, QStringLiteral("The form could not be sent to the printer %1.")
                         .arg(info.printerName()));
}

bool frmRoadtally::paintForm(QPrinter &printer)
{
    const QPixmap picture = centralWidget()->grab();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    QSize size = picture.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(picture.rect());
    painter.drawPixmap(0, 0, picture);
    return painter.end();
}

void frmRoadtally::surveyStored(const QString &batch, int vehicles)
{
    // Until the next message: the user sees that it worked before opening the survey.
    statusBar()->showMessage(storedSurveyText(batch, vehicles));
}

void frmRoadtally::scrollTabs()
{
    // On a small screen the tabs scroll rather than being cut off or crushed:
    // the tab control keeps the size its pages need and scroll bars appear only
    // when the window is smaller than that. The pages stay the tab control's own.
    auto *scroll = new QScrollArea(centralWidget());
    scroll->setObjectName(QStringLiteral("SSTabScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->viewport()->setAutoFillBackground(false);
    delete centralWidget()->layout()->replaceWidget(SSTab, scroll);
    scroll->setWidget(SSTab);
    SSTab->setAutoFillBackground(false);
    // The start panel and the print options stay over the tabs.
    splashframe->raise();
    printOptions->raise();
}

void frmRoadtally::fitToScreen(const QRect &available)
{
    // Room for the title bar and the frame, which the window system adds.
    const QSize room(available.width() - 16, available.height() - 40);
    resize(qMin(width(), room.width()), qMin(height(), room.height()));
}

} // namespace roadtally
