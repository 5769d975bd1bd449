#pragma once
// The main window "Roadtally": the shell around the views of the
// current survey. It holds the menus, the start panel, the tab control SSTab
// with one object per tab, the print options panel and the six bound data
// sources; it runs the activation step, the tab change and the wiring between
// the tabs, and it answers the child windows' signals.
//
// Child windows never include this header. A child window says what happened
// with signals (closed(showStartPanel), surveyChosen(batch), ...); the main
// window connects to them in its show...Window() functions, once per window
// (Qt::UniqueConnection), and does its own resets in its slots.

#include "core/reports/ReportKind.h"
#include "core/store/BoundDataSource.h"
#include "core/survey/SurveyDirection.h"
#include "gui/shell/ShownSurvey.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QTabWidget;
class QToolButton;

namespace roadtally {

class ActivationWatch;
class DatabaseSession;
class DocumentEngine;
struct ChartReportInput;
struct ReportFrame;
struct SurveyFacts;
class ClickLabel;
class DailyVolumeTab;
class FifteenMinuteTab;
class PrintOptionsPanel;
class SpeedChartTab;
class SpeedStudyTab;
class SummaryTab;
class WeeklyTab;
class CompareSurveys;
class DBManagement;
class DeleteDB;
class DeleteSurvey;
class frmAdminSetup;
class frmLoadDataFile;
class frmOpenSurvey;
class frmSpeed_Profile;

class frmRoadtally : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmRoadtally(QWidget *parent = nullptr);
    ~frmRoadtally() override;

    // ---- The tabs, in the order of SSTab, and the print options panel ------
    SummaryTab *summary = nullptr;             // 0 "Survey Summary"
    SpeedChartTab *speeds = nullptr;           // 1 "Vehicle Speeds"
    DailyVolumeTab *volume = nullptr;          // 2 "Daily Volume/Time"
    SpeedChartTab *percentile = nullptr;       // 3 "85th Percentile"
    FifteenMinuteTab *fifteen = nullptr;       // 4 "15 Minute Breakdown"
    WeeklyTab *weekly = nullptr;               // 5 "Weekly Summary"
    SpeedStudyTab *study = nullptr;            // 6 "Speed Study": ranked percentiles
    PrintOptionsPanel *printOptions = nullptr; // framePrintOption

    QTabWidget *SSTab = nullptr;

    BoundDataSource *Data1 = nullptr;
    BoundDataSource *Data2 = nullptr; // Header: the current survey
    BoundDataSource *Data3 = nullptr; // Summary: the current survey
    BoundDataSource *Data4 = nullptr;
    BoundDataSource *Data5 = nullptr; // Agency
    BoundDataSource *Data6 = nullptr; // Officer

    // ---- Start panel -------------------------------------------------------
    QFrame *splashframe = nullptr;
    QLabel *Image3 = nullptr;  // logo
    QLabel *Label30 = nullptr; // empty: the program has one name
    QLabel *Label29 = nullptr; // "Roadtally"
    QFrame *Line1 = nullptr;
    QToolButton *Command9 = nullptr;
    ClickLabel *Label14 = nullptr; // "Open An Existing Survey"
    QToolButton *Command10 = nullptr;
    ClickLabel *Label28 = nullptr; // Load / Process "Raw" Data File
    QToolButton *LastButton = nullptr;
    QLabel *LastText = nullptr; // "View Last Survey" (no click action)

    // ---- Menus -------------------------------------------------------------
    QMenu *m1 = nullptr, *m2 = nullptr, *m3 = nullptr, *m4 = nullptr, *m5 = nullptr; // m4 Reports
    QAction *mnuPrintForm = nullptr, *mnuOpenStudy = nullptr, *mnuProcessRawData = nullptr,
            *mnuExit = nullptr;
    QMenu *mnuSaveStudy = nullptr;
    QAction *mnuExcel = nullptr, *mnuAccess = nullptr;
    QAction *mnuDeleteSurvey = nullptr, *mnuManageDatabase = nullptr, *mnudeletedatabase = nullptr,
            *mnuAdminSetup = nullptr;
    QAction *mnuSummary = nullptr, *mnuDailyVolume = nullptr, *mnu15Minute = nullptr,
            *mnuWeeklySummary = nullptr;
    QMenu *mnuDailyTraffic = nullptr, *mnu85Percent = nullptr;
    QAction *mnuDailyTrafficApproaching = nullptr, *mnuDailyTrafficReceeding = nullptr,
            *mnuDailyTrafficBoth = nullptr, *mnu85percentApproach = nullptr,
            *mnu85PercentReceed = nullptr, *mnu85PercentBoth = nullptr;
    QAction *mnuSpeedStudy = nullptr;     // "Speed Zone Study" (report 8)
    QAction *mnuCompareSurveys = nullptr; // "Compare Surveys..." (report 9)
    QAction *mnuCopySurveys = nullptr;    // File > "Copy Surveys To..."
    QAction *mnuSurveyDatabase = nullptr; // Options > "Survey Database..."
    QLabel *DatabaseInUse = nullptr;      // the status bar: which database is in use
    QAction *mnuTopics = nullptr, *mnuAbout = nullptr;

    // ---- The window's procedures and handlers --------------------------------
    // Activation: band headers, display scheme list of the survey's unit.
    void Form_Activate();
    // Tab change: start panel hidden, date lists refilled.
    void SSTab_Click(int previousTab);
    // Gates every tab's print button; a tab enables its own only while its
    // view is current.
    void setPrintingEnabled(bool enabled);

    // Entry commands.
    void openSurvey(bool fromStartPanel);  // Label14, Command9, mnuOpenStudy
    void loadRawData(bool fromStartPanel); // Label28, Command10, mnuProcessRawData
    // A raw data file from anywhere (the command line, the file type's double
    // click): copied into the survey folder and loaded in the processing window.
    void openDataFile(const QString &path);
    void LastButton_Click();

    // The child windows, created on first use and connected to this window.
    frmOpenSurvey &openSurveyWindow();
    frmLoadDataFile &loadDataFileWindow();
    DeleteSurvey &deleteSurveyWindow();
    DeleteDB &deleteDatabaseWindow();

    // Edit menu: delete one survey, database management, erase every survey.
    void mnuDeleteSurvey_Click();
    void mnuManageDatabase_Click();
    void mnudeletedatabase_Click();
    frmAdminSetup &adminSetupWindow();
    frmSpeed_Profile &speedProfileWindow();

    // Options > "Survey Database...": this computer or the agency server; the
    // views start afresh on the database chosen.
    void mnuSurveyDatabase_Click();
    // File > "Copy Surveys To...": surveys of the database in use to a folder or the server.
    void mnuCopySurveys_Click();
    // The status bar names the database in use; the one-file upkeep is out of
    // reach, with the reason, on a server.
    void showDatabaseInUse();

    // mnuAdminSetup: this window disabled, "Administration Setup" shown.
    void showAdminSetup();
    // Command1 "View Speeding Vehicle Profile": this window disabled, the
    // speeding vehicles of the current survey and direction shown.
    void showSpeedProfile();

    // ---- Printing (frmRoadtallyReports.cpp) ----------------------------------
    // The survey this window shows, as the summary tab captions it.
    ShownSurvey shownSurvey() const;
    // A Reports-menu chart command: the chart of the tab drawn for the fixed
    // direction, then its report previewed.
    void chartMenu(SpeedChartTab *tab, SurveyDirection direction);
    // Weekly totals computed, then the weekly report previewed.
    void mnuWeeklySummary_Click();
    // mnuSummary, mnuDailyVolume, mnu15Minute: the print options panel in a mode.
    void openPrintOptions(const QString &mode);
    // A print button: this window disabled, the preview of the report shown.
    void printButton(ReportKind report);
    // A report built from what the tabs show (the preview calls it on each
    // activation). Throws DatabaseError when the database fails.
    void buildReport(ReportKind report, DocumentEngine &vp) const;

    // "Compare Surveys...": this window disabled, the comparison window shown
    // with the shown survey offered as the before survey.
    void showCompareSurveys();
    // The comparison window this window owns (made on first use).
    CompareSurveys &compareSurveysWindow();

    // The user guide at a page (Help > Topics, F1).
    static void showHelp(const QString &page);

    // Shows the start panel (after a cancelled dialog or a finished import).
    void showStartPanel();

    // The direction chosen on the summary tab (Approaching when none is chosen).
    SurveyDirection summaryDirection() const;
    // Why the survey database could not be read at start-up ("" when it could).
    QString databaseError() const { return m_databaseError; }
    // Decides when Form_Activate runs.
    ActivationWatch *activationWatch() const { return m_activation; }

public slots:
    // A child window is done: this window is usable again and, when asked,
    // shows its start panel.
    void returnFromChild(bool showStartPanel);
    // A raw data file deleted in the data file dialog, which stays open: this
    // window is usable again behind it.
    void fileDeleted();
    // A line chosen in the open-survey window: the survey sources move to the
    // batch at once (a batch that matches nothing leaves a source where it was).
    void surveySelected(const QString &batch);
    // The chosen survey opened: the summary panel, the tabs and the Reports
    // menu become usable and every view starts from its first choice.
    void surveyChosen(const QString &batch);
    // A survey deleted: when it is the survey this window shows, it stops
    // showing it (start panel, no "View Last Survey").
    void surveyDeleted(const QString &batch);
    // Every survey erased: this window stops showing the survey it showed.
    void databaseErased();
    // An officer chosen in the administration window: Officer_Select shows it.
    void officerChosen(const QString &name);
    // The administration window stored the agency: the agency and officer
    // sources read their rows again.
    void agencyUpdated();
    // "Print This Profile": the speeding profile report (selector 7); this
    // window stays disabled until the preview closes.
    void speedProfilePrintRequested();
    // "Print Comparison": the before-and-after report (selector 9) of the
    // comparison window; this window stays disabled until the preview closes.
    void compareSurveysPrintRequested();
    // An import stored a survey: the status bar says which and how many vehicles.
    void surveyStored(const QString &batch, int vehicles);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void buildMenus();
    void buildStartPanel(QWidget *central);
    void connectTabs();
    void placeOverlays();
    void connectReports();
    void connectExport();
    void printOptionDirection(int index);
    void printOptionEntry(const QString &entry);
    void showPreview(ReportKind report);
    ReportFrame reportFrame(DatabaseSession &session) const;
    ChartReportInput chartReportInput(DatabaseSession &session) const;
    void showAbout();
    void printForm();
    // Paints the picture of the window's contents on the page.
    bool paintForm(QPrinter &printer);
    void reportDatabaseProblem();
    // The tab control scrolls when the window is smaller than its pages need.
    void scrollTabs();
    // The window no larger than the screen's work area.
    void fitToScreen(const QRect &available);
    // The start panel with no survey behind it: the summary panel, the tabs,
    // "View Last Survey" and the Reports menu stay out of reach until a survey
    // is chosen again.
    void forgetSurvey();
    // Database management has ended: a new main window, its load step run again.
    static void recreateAfterMaintenance();

    ActivationWatch *m_activation = nullptr;
    QString m_databaseError;
    QString m_databaseDetail; // the engine's words, under the message's "Details"
    bool m_databaseReported = false;
    int m_lastTab = 0;
    // A window of its own (no parent), closed and deleted with this one.
    std::unique_ptr<CompareSurveys> m_compare;
};

} // namespace roadtally
