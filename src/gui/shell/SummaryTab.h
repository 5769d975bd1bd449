#pragma once
// The "Survey Summary" tab: the survey header, the speed distribution in a
// display scheme, the survey criteria of one direction and the print button.

#include "core/reports/ReportKind.h"
#include "core/reports/ReportSummary.h"
#include "core/reports/SurveyAsShown.h"
#include "core/survey/SurveyDirection.h"
#include "gui/kit/ControlArray.h"
#include "gui/kit/PrintGate.h"

#include <QFrame>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace roadtally {

class BoundDataSource;
class ClickLabel;

class SummaryTab : public QFrame
{
    Q_OBJECT
public:
    explicit SummaryTab(QWidget *parent = nullptr);

    QFrame *FrameS = nullptr;            // the summary panel, hidden until a survey is open
    QLabel *Agency = nullptr;            // bound to Agency.Admin_Agency
    QComboBox *Officer_Select = nullptr; // bound to Officer.Admin_Officer
    ControlArray<QLabel> Label3;         // 0 "Display Scheme", 2 "Direction of travel"
    QComboBox *Combo1 = nullptr;         // display scheme selector
    ControlArray<QRadioButton> Option1;  // direction (0..2)
    QFrame *Shape8 = nullptr;            // header block
    ControlArray<QLabel> Label6;         // header captions; 9 "Reports prepared by:"
    ControlArray<QLabel> Label7;         // 0, 1, 3, 4, 5, 8, 9: bound header values
    QLabel *Label8 = nullptr;            // Start Time
    QLabel *Label9 = nullptr;            // Total Time
    QLabel *Label10 = nullptr;           // Location
    ControlArray<QLabel> Label1;         // distribution captions and totals line (0..23)
    ControlArray<QLabel> Label2;         // values of the distribution and the boxes (0..57)
    QFrame *Shape9 = nullptr;            // "Speed Statistics"
    QFrame *Shape10 = nullptr;           // pace box
    QFrame *Shape11 = nullptr;           // "Number Exceeding Limit"
    ControlArray<QLabel> Label4;         // 0 "Speed Statistics", 1 "Number Exceeding Limit"
    ControlArray<ClickLabel> Label5;     // explained captions (0..5, no 3)
    ClickLabel *Label85th = nullptr;     // "85th Percentile"
    ControlArray<QLabel> PaceCaption;    // PaceCaption(2): "10 MPH Pace"
    ClickLabel *Image1 = nullptr;        // pace box information picture
    QLabel *Radar_Mode = nullptr;        // hidden, bound to Header.Radar_Mode
    QPushButton *Command6 = nullptr;     // "Print Report"
    QPushButton *Command1 = nullptr;     // "View Speeding Vehicle Profile"

    // Binds the header and summary labels to the window's sources: Header
    // (the current survey), Summary (likewise), Agency and Officer.
    void bindSources(BoundDataSource *header, BoundDataSource *summary, BoundDataSource *agency,
                     BoundDataSource *officer);

    // Band headers of the "Number Exceeding Limit" box from the posted limit.
    void showBandHeaders();
    // The display schemes of the survey's unit, with the prompt shown.
    void fillSchemeList();

    // Direction (index 0..2): recomputes the criteria and the distribution of
    // the chosen scheme for the direction (blank while no scheme is chosen).
    void Option1_Click(int index);
    // Scheme choice: runs the chosen scheme and writes its bin labels; Print
    // Report while a scheme's distribution is shown.
    void Combo1_Click();
    void Survey_Criteria();
    void schemeAA();
    void schemeA();
    void SchemeB();
    void SchemeC();
    void schemeK();
    void schemeK2();

    // The direction chosen with Option1 (Approaching when none is chosen).
    SurveyDirection summaryDirection() const;

    // ---- What the main window asks of the tab --------------------------------
    // The survey as the tab shows it: the header facts, the totals line and the
    // statistics of the chosen direction.
    SurveyAsShown surveyAsShown() const;
    // The batch number of the survey shown.
    QString batch() const;
    // The survey summary report as the tab shows it (all but the frame).
    ReportSummaryInput summaryReport() const;
    // The agency and the officer shown above the header.
    QString agency() const;
    QString officer() const;
    // Shows an officer's name in the officer list without choosing it.
    void showOfficer(const QString &name);
    // The summary panel shown (a survey is open) or hidden.
    void setPanelVisible(bool visible);
    // The window's gate on Print Report, which the tab enables while the
    // distribution of a chosen scheme is shown.
    void setPrintingEnabled(bool enabled);
    bool isCurrent() const { return m_print.isCurrent(); }
    // The display scheme whose distribution is shown ("" when none is).
    QString chosenScheme() const { return m_scheme; }
    // Selects a direction and runs its click step (also while the tab is disabled).
    void selectDirection(SurveyDirection direction);
    // The print options panel's scheme: the distribution shown in it, ready
    // to print; false when it is not a scheme of the survey's unit.
    bool prepareReport(const QString &scheme);
    // A survey was opened: the pace caption in its unit, approaching chosen,
    // no scheme chosen.
    void surveyOpened();
    // The band headers and the list of display schemes afresh; a chosen
    // scheme of the list stays chosen with its distribution.
    void refreshSchemes();
    // The display schemes of the survey's unit.
    QStringList schemeNames() const;

signals:
    // "Print Report" (report selector 3).
    void printRequested(roadtally::ReportKind report);
    // "View Speeding Vehicle Profile".
    void speedProfileRequested();

private:
    void buildHeader(QVBoxLayout *v);
    void buildDistribution(QVBoxLayout *v);
    void buildBoxes(QVBoxLayout *v);
    int checkedDirection() const;
    bool runScheme(const QString &name);
    // The distribution blank, the scheme prompt shown, nothing to print.
    void forgetScheme();
    void showPaceDescription();
    void showPercentDescription();

    BoundDataSource *m_summary = nullptr;
    QString m_scheme;
    kit::PrintGate m_print;
};

} // namespace roadtally
