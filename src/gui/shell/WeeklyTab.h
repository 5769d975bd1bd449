#pragma once
// The "Weekly Summary" tab: a grid of the hourly volumes of each weekday in
// both directions, with totals, the combined and split rows and the averages.

#include "core/analysis/WeeklyGrid.h"
#include "core/reports/ReportKind.h"
#include "gui/kit/ControlArray.h"
#include "gui/kit/PrintGate.h"
#include "gui/shell/ShownSurvey.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace roadtally {

class WeeklyTab : public QFrame
{
    Q_OBJECT
public:
    explicit WeeklyTab(QWidget *parent = nullptr);

    QFrame *VSViewPort5 = nullptr; // the tab's container
    // Day1A .. Day7R, WDAA, WDAR, WKAA, WKAR: rows 0..23 hours, 24 totals.
    ControlArray<QLabel> Day1A, Day1R, Day2A, Day2R, Day3A, Day3R, Day4A, Day4R, Day5A, Day5R,
        Day6A, Day6R, Day7A, Day7R, WDAA, WDAR, WKAA, WKAR;
    ControlArray<QLabel> DayComb; // combined row: 55..63 (0..54 are holes)
    ControlArray<QLabel> Split;   // split row: 0..8
    QLabel *Date1 = nullptr, *Date2 = nullptr, *Date3 = nullptr, *Date4 = nullptr, *Date5 = nullptr,
           *Date6 = nullptr, *Date7 = nullptr; // day headers
    // Row and column captions: 0..23 hours, 24 "Totals", 25 "Combined", 26, 27,
    // 28..45 "A"/"R", 53, 54 the averages, 64 "Split %" (46..52, 55..63 are holes).
    ControlArray<QLabel> legend;
    QPushButton *Command8 = nullptr; // "Calculate Weekly Totals"
    QPushButton *Command3 = nullptr; // "Print Chart"

    // Every cell of the grid, its totals, combined and split rows to "*".
    void ClearWeekData();

    void setSurveyReader(ShownSurveyReader reader) { m_survey = std::move(reader); }

    // "Calculate Weekly Totals": the grid computed; Print Chart once it is.
    void Command8_Click();
    // Computes the grid from the shown survey onto the cells as they stand
    // (weekdays the survey does not cover keep theirs). False, with the user
    // told why and the grid untouched, when nothing could be computed.
    bool calculateWeeklyTotals();
    // The cells as the tab shows them, and back.
    WeeklyGrid grid() const;
    void showGrid(const WeeklyGrid &grid);

    // The window's gate on Print Chart, which the tab enables while its grid
    // holds the totals of the survey shown.
    void setPrintingEnabled(bool enabled);
    bool isCurrent() const { return m_print.isCurrent(); }

signals:
    // "Print Chart" (report selector 6).
    void printRequested(roadtally::ReportKind report);

private:
    QVector<const ControlArray<QLabel> *> columnArrays() const;
    QVector<QLabel *> dayHeaders() const;
    ShownSurveyReader m_survey;
    kit::PrintGate m_print;
};

} // namespace roadtally
