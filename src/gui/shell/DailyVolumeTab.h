#pragma once
// The "Daily Volume/Time" tab: the hourly volumes of one date and direction.

#include "core/analysis/Graph.h"
#include "core/reports/ReportKind.h"
#include "core/survey/SurveyDirection.h"
#include "gui/kit/ControlArray.h"
#include "gui/kit/PrintGate.h"
#include "gui/shell/ShownSurvey.h"

#include <QFrame>

#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace roadtally {

class GraphView;

class DailyVolumeTab : public QFrame
{
    Q_OBJECT
public:
    explicit DailyVolumeTab(QWidget *parent = nullptr);

    QFrame *Picture1 = nullptr;  // the tab's container
    QFrame *chartArea = nullptr; // where the chart widget goes (its layout is empty)
    QLabel *Label12 = nullptr;   // chart title (hidden until drawn)
    QLabel *Label15 = nullptr;   // "Vehicle Volume / Hour"
    QFrame *Shape1 = nullptr;    // frames of AM and PM under the chart
    QFrame *Shape2 = nullptr;
    QLabel *AM = nullptr;
    QLabel *PM = nullptr;
    QGroupBox *Frame8 = nullptr;        // "Date & Direction"
    ControlArray<QRadioButton> option4; // 0 approaching, 1 receding, 2 both
    // Editable list whose edit text shows the prompt ("**Select a Date**").
    QComboBox *DateVolume = nullptr;
    QLabel *DChoice = nullptr;       // the chosen date (hidden)
    QPushButton *Command5 = nullptr; // "Print Graph"
    GraphView *Graph2 = nullptr;     // the chart, hidden until a date is chosen

    void setSurveyReader(ShownSurveyReader reader) { m_survey = std::move(reader); }

    // Direction click: the chart and its captions hidden, the date list shown
    // with its prompt (the list is filled by the tab change); nothing to print.
    void option4_Click();
    // Date click: the hourly chart of the chosen date and direction; Print
    // Graph while it is drawn.
    void DateVolume_Click();
    // The chart of a date and direction on Graph2 under its title (the print
    // options panel draws it so, leaving the tab's choice as it is). False when
    // nothing was drawn (the last chart is gone); the user has been told why.
    bool drawVolumeChart(const QString &date, SurveyDirection direction);
    // The selected direction option (both when none is selected).
    SurveyDirection selectedDirection() const;

    // The chart as drawn last, for the report.
    const ChartPicture &chart() const;
    // The direction the report names: the option selected, none when none is.
    std::optional<SurveyDirection> reportDirection() const;
    // The date the chart was drawn for.
    QString chosenDate() const;
    // Selects a direction and runs its click step (also while the tab is disabled).
    void selectDirection(SurveyDirection direction);
    // The print options panel's date: the chart of it drawn, ready to print;
    // false when nothing was drawn (the user has been told why).
    bool prepareReport(SurveyDirection direction, const QString &date);
    // The window's gate on Print Graph, which the tab enables while its chart is current.
    void setPrintingEnabled(bool enabled);
    // The chart shows the date and direction chosen.
    bool isCurrent() const { return m_print.isCurrent(); }
    // The survey's dates in the date list. It shows the date of the chart
    // when the chart is current and the date among them, else its prompt
    // (and the chart is gone).
    void setDates(const QStringList &dates);
    // The date list shows its prompt (no choice of a date).
    void showDatePrompt();

signals:
    // "Print Graph" (report selector 5).
    void printRequested(roadtally::ReportKind report);

private:
    void showChartParts(bool shown);
    void clearChart();
    ShownSurveyReader m_survey;
    kit::PrintGate m_print;
    QString m_chartDate; // the date of the chart drawn last
};

} // namespace roadtally
