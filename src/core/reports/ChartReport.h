#pragma once
// The layout the three chart reports share: the frame, the survey facts and
// speed statistics in three text columns, and the chart picture scaled into
// its rectangle. Percent85_Graph, TrafficFlow_Graph and DailyVolume_Graph add
// their own pen, boxes, picture rectangle and captions.

#include "core/reports/ReportFrame.h"

#include <QPicture>

namespace roadtally {

struct ChartData;

// A drawn chart as a page prints it: recorded in the proportions of the page's
// picture box, so that the page does not depend on the size of the window it
// was shown in, and the window and the command line print the same page.
QPicture speedChartForPage(const ChartData &data);  // the two speed charts
QPicture volumeChartForPage(const ChartData &data); // the daily volume chart

struct ChartReportInput
{
    ReportFrame frame;
    SurveyFacts facts;
    SurveyTotals totals;
    SpeedStatistics statistics;
    // The direction the statistics describe: the summary tab's Option1(0..2);
    // none leaves the statistics box without its caption.
    DirectionChoice statisticsDirection;
    QPicture chart; // the chart the view drew last; a null picture leaves its place empty
};

namespace chartreport {

// The twelve labels of the first column and their values, in order.
QStringList labels();
QStringList values(const ChartReportInput &in);

// Steps shared by the three reports, in the order they run.
enum class Pen { Default, Heavy };
// Begins the document and draws the frame (the rule, the three boxes and any
// extra boxes); false when the engine was not ready.
bool begin(DocumentEngine &vp, Pen pen, const QVector<QRectF> &extraBoxes = {});
// "Approaching vehicles", "Receding vehicles", "Vehicles both directions":
// the caption of the statistics box.
QString statisticsCaption(SurveyDirection direction);

// Heading, batch and location, the three columns of facts and statistics;
// beside the batch number, right-aligned, the text batchNote when not empty.
void writeFacts(DocumentEngine &vp, const ChartReportInput &in, const QString &title,
                const QString &batchNote = QString());
// The picture scaled into the rectangle.
void placeChart(DocumentEngine &vp, const QPicture &chart, const QRectF &rect);
// Footer and finish.
void finish(DocumentEngine &vp, const ChartReportInput &in);

} // namespace chartreport

} // namespace roadtally
