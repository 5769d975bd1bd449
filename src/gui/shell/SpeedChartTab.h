#pragma once
// A speed chart tab: "Vehicle Speeds" and "85th Percentile" have the same
// controls under different names, so one class builds both from a table of
// the names that differ (vehicleSpeeds(), percentile85()).

#include "core/analysis/Graph.h"
#include "core/analysis/SpeedCharts.h"
#include "core/reports/ReportKind.h"
#include "gui/kit/ControlArray.h"
#include "gui/kit/PrintGate.h"
#include "gui/shell/ShownSurvey.h"

#include <QFrame>
#include <QStringList>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace roadtally {

class GraphView;

class SpeedChartTab : public QFrame
{
    Q_OBJECT
public:
    // The program's names of one speed chart tab's controls.
    struct Names
    {
        const char *viewPort;        // VSViewPort1 / VSViewPort3
        const char *title;           // Label11 / Label13
        const char *chartArea;       // chartArea1 / chartArea3
        const char *directionFrame;  // Frame7 / Frame9
        const char *directionOption; // Option3 / option6 (items 3..5)
        QStringList directionCaptions;
        const char *printerFrame; // Frame12 / Frame11
        int printerIndex;         // PrinterBW(1) / PrinterBW(0), PrinterColor likewise
        bool colourFirst;         // the colour option stands above the black-and-white one
        const char *printButton;  // Command4 / Command2
        ReportKind report;        // TrafficFlow / Percentile85
        bool percentile;          // Percent85 rather than Traffic_Flow
    };
    static Names vehicleSpeeds();
    static Names percentile85();

    SpeedChartTab(const Names &names, QWidget *parent = nullptr);

    QFrame *viewPort = nullptr;           // VSViewPort1 / VSViewPort3: the tab's container
    QLabel *title = nullptr;              // Label11 / Label13: the chart's title
    QFrame *chartArea = nullptr;          // where the chart widget goes (its layout is empty)
    QGroupBox *directionFrame = nullptr;  // Frame7 / Frame9 " Vehicle Direction "
    ControlArray<QRadioButton> direction; // Option3 / option6: 3 both, 4 receding, 5 approaching
    QGroupBox *printerFrame = nullptr;    // Frame12 / Frame11 "Printer Mode"
    QRadioButton *PrinterBW = nullptr;    // "Laser (B&W)"
    QRadioButton *PrinterColor = nullptr; // "Color Printer"
    QPushButton *printGraph = nullptr;    // Command4 / Command2 "Print Graph"
    GraphView *graph = nullptr;           // Graph1 / Graph3, hidden until drawn

    void setSurveyReader(ShownSurveyReader reader) { m_survey = std::move(reader); }

    // The direction option's click (and a printer mode's): title and chart of
    // the selected direction in the chosen mode; Print Graph while it is drawn.
    void directionClicked();
    // Traffic_Flow / Percent85 for a direction with this tab's printer mode
    // (the Reports menu passes its fixed direction). False when nothing was
    // drawn; the user has been told why.
    bool drawChart(SurveyDirection direction);
    // The selected direction option (both when none is selected).
    SurveyDirection selectedDirection() const;
    PrinterMode printerMode() const;
    // The chart's title for the shown survey.
    QString titleText() const;

    const Names &names() const { return m_names; }
    // The tab's report.
    ReportKind report() const { return m_names.report; }
    // Selects a direction and runs its click step (also while the tab is disabled).
    void selectDirection(SurveyDirection chosen);
    // The direction selected and its chart drawn under its title, ready to
    // print; false when nothing was drawn (the user has been told why).
    bool prepareReport(SurveyDirection chosen);
    // The window's gate on Print Graph, which the tab enables while its chart is current.
    void setPrintingEnabled(bool enabled);
    // The chart shows the selected direction in the chosen printer mode.
    bool isCurrent() const { return m_print.isCurrent(); }
    // The chart drawn again when what it was drawn from has changed since (the
    // summary's direction gives the pace and the 85th percentile).
    void refresh();
    // The chart as drawn last, for the tab's report.
    const ChartPicture &chart() const;

signals:
    // "Print Graph": the tab's report.
    void printRequested(roadtally::ReportKind report);

private:
    void printerModeToggled(bool checked);
    SpeedChartInput inputFor(SurveyDirection direction) const;

    Names m_names;
    ShownSurveyReader m_survey;
    kit::PrintGate m_print;
    SpeedChartInput m_drawnFrom; // what the chart shown was drawn from
};

} // namespace roadtally
