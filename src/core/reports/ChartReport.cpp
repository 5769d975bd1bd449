#include "core/reports/ChartReport.h"

#include "core/analysis/Graph.h"

namespace roadtally {

QPicture speedChartForPage(const ChartData &data)
{
    return recordChart(data, QSizeF(864, 547.2)).picture; // 8640 x 5472 twips
}

QPicture volumeChartForPage(const ChartData &data)
{
    return recordChart(data, QSizeF(1152, 504)).picture; // 11520 x 5040 twips
}

} // namespace roadtally

namespace roadtally::chartreport {

namespace {

// Texts keep clear of the boxes' borders (the heavy pen is 25 twips wide).
constexpr double BoxClearance = 12.5 + TextClearance;

} // namespace

QStringList labels()
{
    return {QStringLiteral("Posted Speed Limit: "),
            QStringLiteral("# At/Under Posted Speed: "),
            QStringLiteral("# Over Posted Speed: "),
            QStringLiteral("Average Speed: "),
            QStringLiteral("Pace Range: "),
            QStringLiteral("Total Vehicles in Pace: "),
            QStringLiteral("% of Vehicles in Pace: "),
            QStringLiteral("85th Percentile: "),
            QStringLiteral("Total # Veh Surveyed: "),
            QStringLiteral("Approaching: "),
            QStringLiteral("Receding: "),
            QStringLiteral("Number Unknown: ")};
}

QStringList values(const ChartReportInput &in)
{
    const SpeedStatistics &s = in.statistics;
    const QString unit = in.facts.unit;
    return {in.facts.postedLimit + QStringLiteral("  ") + unit,
            s.atOrUnder,
            s.over,
            s.average + QStringLiteral("  ") + unit,
            s.pace + QStringLiteral(" ") + unit,
            s.paceCount,
            s.pacePercent,
            s.percentile85,
            in.totals.total,
            in.totals.approaching,
            in.totals.receding,
            in.totals.unknown};
}

bool begin(DocumentEngine &vp, Pen pen, const QVector<QRectF> &extraBoxes)
{
    if (!beginReport(vp, DocumentStart::Action3))
        return false;
    vp.setCursorX(0);
    vp.setCursorY(0);
    vp.setLeftMargin(1008);
    vp.setRightMargin(1008);
    if (pen == Pen::Heavy) {
        vp.setLineColour(Qt::black);
        vp.setLineWidth(25);
    }
    const double x0 = vp.CursorX(), y0 = vp.CursorY();
    vp.DrawSegment(x0 + 1008, y0 + 14400, x0 + 11088, y0 + 14400);
    const QRectF boxes[] = {
        QRectF(QPointF(1008, 2592), QPointF(11088, 3024)), // the band of batch and location
        QRectF(QPointF(1008, 3456), QPointF(6480, 7632)),  // around the labels and values
        QRectF(QPointF(6768, 3456), QPointF(11088, 7632)), // around the third column
    };
    for (const QRectF &box : boxes) {
        vp.setFillMode(1);
        vp.DrawBox(x0 + box.left(), y0 + box.top(), x0 + box.right(), y0 + box.bottom());
    }
    for (const QRectF &box : extraBoxes) {
        vp.setFillMode(1);
        vp.DrawBox(x0 + box.left(), y0 + box.top(), x0 + box.right(), y0 + box.bottom());
    }
    return true;
}

QString statisticsCaption(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Approaching vehicles");
    case SurveyDirection::Receding:
        return QStringLiteral("Receding vehicles");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Vehicles both directions");
}

void writeFacts(DocumentEngine &vp, const ChartReportInput &in, const QString &title,
                const QString &batchNote)
{
    // The heading ends above the batch line.
    writeAgencyHeading(vp, in.frame, 432, title, 2088);

    const SurveyFacts &f = in.facts;
    vp.setLeftMargin(1440);
    vp.setRightMargin(1440);
    vp.setTypeSize(12);
    vp.setAlignment(0);
    vp.setBold(false);
    vp.setCursorY(2088);
    vp.WriteParagraph(QStringLiteral("  Batch Number: ") + f.batch);
    if (!batchNote.isEmpty()) {
        vp.setAlignment(8);
        vp.setCursorY(2088);
        vp.WriteParagraph(batchNote);
        vp.setAlignment(0);
    }
    // One line inside the band's box, however long the location.
    vp.setCursorY(2664);
    vp.setCursorX(vp.LeftMargin());
    writeFittedParagraphs(vp, {QStringLiteral("Survey Location: ") + f.location},
                          3024 - BoxClearance);

    vp.setColumnCount(3);
    vp.setCursorY(3744);
    vp.setAlignment(8);
    vp.setLeadingPercent(100);
    for (const QString &label : labels())
        vp.WriteParagraph(label);

    vp.DocumentAction(DocumentEngine::NextColumnAction);
    vp.setCursorY(3744);
    vp.setAlignment(6);
    vp.setLeadingPercent(100);
    for (const QString &value : values(in))
        vp.WriteParagraph(value);

    vp.DocumentAction(DocumentEngine::NextColumnAction);
    vp.setAlignment(6);
    vp.setTypeSize(12);
    vp.setLeadingPercent(120);
    vp.setCursorY(3744);
    vp.WriteParagraph(QStringLiteral("Start Date: ") + f.startDate);
    vp.WriteParagraph(QStringLiteral("End Date: ") + f.endDate);
    vp.WriteParagraph(QStringLiteral("Start Time: ") + f.startTime);
    vp.WriteParagraph(QStringLiteral("End Time: ") + f.endTime);
    vp.WriteParagraph(QStringLiteral("Total Time: "));
    vp.WriteParagraph(f.totalTime + QStringLiteral("  "));
    vp.setCursorY(5904);
    // Inside the right box, however long the zone and the direction.
    writeFittedParagraphs(
        vp,
        {QStringLiteral("Survey Zone: ") + f.zone, QStringLiteral("Direction of travel.. "),
         f.direction + QStringLiteral("  "), QStringLiteral("(Approaching Sign)")},
        7632 - BoxClearance);

    vp.setColumnCount(1);

    // The direction the statistics describe, over the labels inside the left box.
    if (in.statisticsDirection) {
        vp.setLeftMargin(1008);
        vp.setRightMargin(PaperWidth - 6480);
        vp.setAlignment(7);
        vp.setTypeSize(10);
        vp.setBold(true);
        vp.setLeadingPercent(100);
        vp.setCursorY(3456 + BoxClearance);
        vp.WriteParagraph(statisticsCaption(*in.statisticsDirection));
        vp.setBold(false);
        vp.setTypeSize(12);
        vp.setAlignment(6);
        vp.setLeadingPercent(120);
        vp.setLeftMargin(1440);
        vp.setRightMargin(1440);
    }
}

void placeChart(DocumentEngine &vp, const QPicture &chart, const QRectF &rect)
{
    vp.setPictureLeft(rect.left());
    vp.setPictureTop(rect.top());
    vp.setPictureRight(rect.right());
    vp.setPictureBottom(rect.bottom());
    vp.PlacePicture(chart);
}

void finish(DocumentEngine &vp, const ChartReportInput &in)
{
    writeSignatureFooter(vp, in.frame);
    vp.DocumentAction(DocumentEngine::FinishAction);
}

} // namespace roadtally::chartreport
