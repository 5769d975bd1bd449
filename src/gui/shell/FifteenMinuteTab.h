#pragma once
// The "15 Minute Breakdown" tab: the fifteen-minute volumes of one date and
// direction with the morning and afternoon peak analysis.

#include "core/reports/Report15min.h"
#include "core/reports/ReportKind.h"
#include "core/survey/SurveyDirection.h"
#include "gui/kit/ControlArray.h"
#include "gui/kit/PrintGate.h"
#include "gui/shell/ShownSurvey.h"

#include <QFrame>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace roadtally {

class FifteenMinuteTab : public QFrame
{
    Q_OBJECT
public:
    explicit FifteenMinuteTab(QWidget *parent = nullptr);

    QFrame *VSViewPort4 = nullptr;      // the tab's container
    QTableWidget *Flex2 = nullptr;      // the fifteen-minute grid
    QGroupBox *Frame10 = nullptr;       // "Date & Direction"
    ControlArray<QRadioButton> option7; // 0 approaching, 1 receding, 2 both
    // Editable list whose edit text shows the prompt ("**Select a Date**").
    QComboBox *Date15min = nullptr;
    QLabel *DateChoice = nullptr; // the chosen date (hidden)
    QGroupBox *AMAnalysis = nullptr;
    QGroupBox *PMAnalysis = nullptr;
    ControlArray<QLabel> Label21;         // analysis values (0..4 AM, 5..9 PM from the bottom)
    ControlArray<QLabel> AnalysisCaption; // Label16 .. Label26 by number (16..20, 22..26)
    QPushButton *Command7 = nullptr;      // "Print Graph"

    void setSurveyReader(ShownSurveyReader reader) { m_survey = std::move(reader); }

    // Direction click: the date list shown with its prompt; the grid and the
    // analysis hidden and emptied until the next date click; nothing to print.
    void option7_Click();
    // Date click: the date's rows in the grid and the peak-hour analysis;
    // Print Graph while they are shown.
    void Date15min_Click();
    // The rows and analysis of a date and direction. False when the survey
    // database could not be read (the grid is hidden); the user has been told.
    bool showDate(const QString &date, SurveyDirection direction);
    // The selected direction option (both when none is selected).
    SurveyDirection selectedDirection() const;

    // The report as the tab shows it: the chosen date and direction and the
    // peak-hour analysis (the caller adds the frame, the facts and the rows).
    Report15minInput reportInput() const;
    // Selects a direction and runs its click step (also while the tab is disabled).
    void selectDirection(SurveyDirection direction);
    // The print options panel's date: its rows and analysis shown, ready to
    // print; false when the survey database could not be read.
    bool prepareReport(SurveyDirection direction, const QString &date);
    // The window's gate on Print Graph, which the tab enables while its grid is current.
    void setPrintingEnabled(bool enabled);
    // The grid shows the date and direction chosen.
    bool isCurrent() const { return m_print.isCurrent(); }
    // The survey's dates in the date list. It shows the date of the grid when
    // the grid is current and the date among them, else its prompt (and the
    // grid is hidden).
    void setDates(const QStringList &dates);
    // The date list shows its prompt (no choice of a date).
    void showDatePrompt();

signals:
    // "Print Graph" (report selector 4).
    void printRequested(roadtally::ReportKind report);

private:
    void setGridWidth(int twips);
    int columnPixels(int twips) const;
    void clearGrid();
    ShownSurveyReader m_survey;
    kit::PrintGate m_print;
};

} // namespace roadtally
