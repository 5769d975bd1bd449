#pragma once
// The main window "Orvanta Roadtally": start panel, six tabs of views of the
// current survey, menus, print buttons and the six bound data sources.

#include "store/BoundDataSource.h"
#include "views/SurveyDirection.h"

#include <QMainWindow>

#include <QVector>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QWidget;

namespace roadtally {

class ClickLabel;

class frmRoadtally : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmRoadtally(QWidget *parent = nullptr);

    // Controls other windows reach (the program's own names).
    QFrame *splashframe = nullptr; // start panel
    QFrame *FrameS = nullptr;      // summary panel
    QTabWidget *SSTab = nullptr;
    QMenu *m4 = nullptr; // Reports menu

    BoundDataSource *Data1 = nullptr;
    BoundDataSource *Data2 = nullptr; // Header: the current survey
    BoundDataSource *Data3 = nullptr; // Summary: the current survey
    BoundDataSource *Data4 = nullptr;
    BoundDataSource *Data5 = nullptr; // Agency
    BoundDataSource *Data6 = nullptr; // Officer

    // Controls the open-survey window sets (see frmOpenSurvey).
    QVector<QLabel *> PaceCaption;   // PaceCaption(2): "10 MPH Pace"
    QLabel *Radar_Mode = nullptr;    // hidden, bound to Header.Radar_Mode
    QVector<QRadioButton *> Option1; // summary direction (0..2)
    QVector<QRadioButton *> Option3; // vehicle speeds chart direction (3..5)
    QVector<QRadioButton *> option4; // daily volume direction
    QVector<QRadioButton *> option6; // 85th percentile chart direction (3..5)
    QVector<QRadioButton *> option7; // fifteen-minute direction
    // Date lists and scheme selector: editable lists whose edit text shows the
    // prompt ("**Select a Date**"); setEditText()/currentText() give their text.
    QComboBox *Date15min = nullptr;
    QComboBox *DateVolume = nullptr;

    // Clears the weekly grid.
    void ClearWeekData();

    // A child window closing: enables the main window again and, when asked,
    // shows its start panel. A main window already gone (the program is
    // ending) is not made anew.
    static void returnFromChild(bool startPanel);

    // Shows the start panel (after a cancelled dialog or a finished import).
    void showStartPanel();

    // ---- Start panel -------------------------------------------------------
    QLabel *Image3 = nullptr;  // logo
    QLabel *Label30 = nullptr; // "Orvanta"
    QLabel *Label29 = nullptr; // "Roadtally"
    QFrame *Line1 = nullptr;
    QToolButton *Command9 = nullptr;
    ClickLabel *Label14 = nullptr; // "Open An Existing Survey"
    QToolButton *Command10 = nullptr;
    ClickLabel *Label28 = nullptr; // Load / Process "Raw" Data File
    QToolButton *LastButton = nullptr;
    QLabel *LastText = nullptr; // "View Last Survey" (no click action)

    // ---- Summary panel (tab 0) --------------------------------------------
    QLabel *Agency = nullptr;            // bound to Agency.Admin_Agency
    QComboBox *Officer_Select = nullptr; // bound to Officer.Admin_Officer
    QVector<QLabel *> Label3;            // 0 "Display Scheme", 2 "Direction of travel"
    QComboBox *Combo1 = nullptr;         // display scheme selector
    QFrame *Shape8 = nullptr;            // header block
    QVector<QLabel *> Label6;            // header captions; 9 "Reports prepared by:"
    QVector<QLabel *> Label7;            // 0, 1, 3, 4, 5, 8, 9: bound header values
    QLabel *Label8 = nullptr;            // Start Time
    QLabel *Label9 = nullptr;            // Total Time
    QLabel *Label10 = nullptr;           // Location
    QVector<QLabel *> Label1;            // distribution captions and totals line (0..23)
    QVector<QLabel *> Label2;            // values of the distribution and the boxes (0..57)
    QFrame *Shape9 = nullptr;            // "Speed Statistics"
    QFrame *Shape10 = nullptr;           // pace box
    QFrame *Shape11 = nullptr;           // "Number Exceeding Limit"
    QVector<QLabel *> Label4;            // 0 "Speed Statistics", 1 "Number Exceeding Limit"
    QVector<ClickLabel *> Label5;        // explained captions (0..5)
    ClickLabel *Label85th = nullptr;     // "85th Percentile"
    ClickLabel *Image1 = nullptr;        // pace box information picture
    QPushButton *Command6 = nullptr;     // "Print Report"
    QPushButton *Command1 = nullptr;     // "View Speeding Vehicle Profile"

    // ---- Vehicle Speeds (tab 1) --------------------------------------------
    QFrame *VSViewPort1 = nullptr;
    QLabel *Label11 = nullptr; // chart title
    QGroupBox *Frame7 = nullptr;
    QGroupBox *Frame12 = nullptr;
    QVector<QRadioButton *> PrinterBW;    // 0: 85th percentile tab, 1: vehicle speeds tab
    QVector<QRadioButton *> PrinterColor; // likewise
    QPushButton *Command4 = nullptr;      // "Print Graph"

    // ---- Daily Volume/Time (tab 2) -----------------------------------------
    QFrame *Picture1 = nullptr;
    QGroupBox *Frame8 = nullptr;
    QLabel *DChoice = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *AM = nullptr;
    QLabel *PM = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QPushButton *Command5 = nullptr;

    // ---- 85th Percentile (tab 3) -------------------------------------------
    QFrame *VSViewPort3 = nullptr;
    QLabel *Label13 = nullptr;
    QGroupBox *Frame9 = nullptr;
    QGroupBox *Frame11 = nullptr;
    QPushButton *Command2 = nullptr;

    // ---- 15 Minute Breakdown (tab 4) ---------------------------------------
    QFrame *VSViewPort4 = nullptr;
    QGroupBox *Frame10 = nullptr;
    QLabel *DateChoice = nullptr;
    QTableWidget *Flex2 = nullptr;
    QGroupBox *AMAnalysis = nullptr;
    QGroupBox *PMAnalysis = nullptr;
    QVector<QLabel *> Label21;         // analysis values (0..9)
    QVector<QLabel *> AnalysisCaption; // Label16 .. Label26 by number (16..26)
    QPushButton *Command7 = nullptr;

    // ---- Weekly Summary (tab 5) --------------------------------------------
    QFrame *VSViewPort5 = nullptr;
    // Day1A .. Day7R, WDAA, WDAR, WKAA, WKAR: rows 0..23 hours, 24 totals.
    QVector<QLabel *> Day1A, Day1R, Day2A, Day2R, Day3A, Day3R, Day4A, Day4R, Day5A, Day5R, Day6A,
        Day6R, Day7A, Day7R, WDAA, WDAR, WKAA, WKAR;
    QVector<QLabel *> DayComb; // 55..63
    QVector<QLabel *> Split;   // 0..8
    QLabel *Date1 = nullptr, *Date2 = nullptr, *Date3 = nullptr, *Date4 = nullptr, *Date5 = nullptr,
           *Date6 = nullptr, *Date7 = nullptr;
    QVector<QLabel *> legend;        // 0..64
    QPushButton *Command8 = nullptr; // "Calculate Weekly Totals"
    QPushButton *Command3 = nullptr; // "Print Chart"

    // ---- Print options panel -----------------------------------------------
    QFrame *framePrintOption = nullptr;
    QLabel *Label27 = nullptr;
    QLabel *PrintTitle = nullptr;
    QRadioButton *PrintOptionA = nullptr;
    QRadioButton *PrintOptionR = nullptr;
    QRadioButton *PrintOptionB = nullptr;
    QComboBox *Combo2 = nullptr;
    QLabel *DateChoice2 = nullptr;
    QPushButton *PrintSelection = nullptr;
    QPushButton *Command11 = nullptr;

    // ---- Menus -------------------------------------------------------------
    QMenu *m1 = nullptr, *m2 = nullptr, *m3 = nullptr, *m5 = nullptr;
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
    QAction *mnuTopics = nullptr, *mnuAbout = nullptr;

    // ---- The window's procedures and handlers --------------------------------
    // Activation: band headers, display scheme list of the survey's unit.
    void Form_Activate();
    // Tab change: start panel hidden, print buttons disabled, date lists refilled.
    void SSTab_Click(int previousTab);
    // Direction of the summary panel (index 0..2): blanks the distribution,
    // resets the scheme selector and recomputes the criteria.
    void Option1_Click(int index);
    // Scheme choice: runs the chosen scheme and writes its bin labels.
    void Combo1_Click();
    void Survey_Criteria();
    void schemeAA();
    void schemeA();
    void SchemeB();
    void SchemeC();
    void schemeK();
    void schemeK2();

    // Entry commands.
    void openSurvey(bool fromStartPanel);  // Label14, Command9, mnuOpenStudy
    void loadRawData(bool fromStartPanel); // Label28, Command10, mnuProcessRawData
    void LastButton_Click();

    // The direction chosen with Option1 (Approaching when none is chosen).
    SurveyDirection summaryDirection() const;
    // Why the survey database could not be read at start-up ("" when it could).
    QString databaseError() const { return m_databaseError; }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void buildMenus();
    void buildStartPanel(QWidget *central);
    QWidget *buildSummaryTab();
    QWidget *buildVehicleSpeedsTab();
    QWidget *buildDailyVolumeTab();
    QWidget *build85thPercentileTab();
    QWidget *buildFifteenMinuteTab();
    QWidget *buildWeeklyTab();
    void buildPrintOptionPanel(QWidget *central);
    void bindSources();
    void placeOverlays();
    void runScheme(const QString &name);
    void printButton(int reportSelector);
    void showPaceDescription();
    void showPercentDescription();
    void showAbout();
    void printForm();
    void reportDatabaseProblem();

    QString m_databaseError;
    bool m_databaseReported = false;
    int m_lastTab = 0;
};

} // namespace roadtally
