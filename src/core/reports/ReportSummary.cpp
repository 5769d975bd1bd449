#include "core/reports/ReportSummary.h"

namespace roadtally {

namespace {

const QColor Yellow(255, 255, 0);
const QColor Grey(200, 200, 200);
const QColor Black(0, 0, 0);

void speedTable(DocumentEngine &vp, const ReportSummaryInput &in)
{
    using E = DocumentEngine;
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1025|790|790|790|790|790|790|790|790|790|790|790|790|790"),
                   QString(), QString(), QString());
    vp.SetCell(E::RowCount, 5);
    vp.SetCell(E::CellAlignment, 7);
    vp.SetCell(E::RowHeight, QStringLiteral("0.23in"));
    vp.SetCell(E::RowHeight, 1, QStringLiteral("0.4in"));
    vp.SetCell(E::RowHeight, 4, QStringLiteral("0.1in"));

    vp.SetCell(E::CellText, 1, 1, QStringLiteral("Speed"));
    vp.SetCell(E::CellText, 2, 1, QStringLiteral("Volume"));
    vp.SetCell(E::CellText, 3, 1, QStringLiteral("% of Total"));
    for (int bin = 0; bin < 13; ++bin) {
        vp.SetCell(E::CellText, 1, bin + 2, in.binHeadings[size_t(bin)]);
        vp.SetCell(E::CellText, 2, bin + 2, in.volumes[size_t(bin)]);
        vp.SetCell(E::CellText, 3, bin + 2, in.percents[size_t(bin)]);
    }
    // Row 4: a thin gap, one cell across the table.
    vp.SetCell(E::ColumnSpan, 4, 1, 14);
    // Row 5: the direction totals, three columns each.
    const struct
    {
        int column;
        QString text;
    } totals[] = {
        {2, QStringLiteral("Unknown: ") + in.totals.unknown},
        {5, QStringLiteral("Approaching: ") + in.totals.approaching},
        {8, QStringLiteral("Receding: ") + in.totals.receding},
        {11, QStringLiteral("Total Vehicles: ") + in.totals.total},
    };
    for (const auto &t : totals) {
        vp.SetCell(E::ColumnSpan, 5, t.column, 3);
        vp.SetCell(E::CellText, 5, t.column, t.text);
    }

    vp.SetCell(E::CellBackColour, 1, Yellow);
    vp.SetCell(E::CellBackColour, 3, Grey);
    vp.SetCell(E::CellBackColour, 2, 1, Grey);
    vp.SetCell(E::CellBackColour, 5, 1, Grey);
    vp.SetCell(E::CellBackColour, 5, 14, Grey);
    vp.FinishTable();
}

void statisticsTable(DocumentEngine &vp, const ReportSummaryInput &in)
{
    using E = DocumentEngine;
    const SpeedStatistics &s = in.statistics;
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("2000|1000|200|1500|1200|200|900|900|900|900|900"), QString(),
                   QString(), QString());
    vp.SetCell(E::RowCount, 5);
    vp.SetCell(E::CellAlignment, 7);
    for (int row = 2; row <= 5; ++row) {
        vp.SetCell(E::CellAlignment, row, 1, 6);
        vp.SetCell(E::CellAlignment, row, 4, 6);
    }
    vp.SetCell(E::RowHeight, QStringLiteral("0.3in"));

    vp.SetCell(E::ColumnSpan, 1, 1, 2);
    vp.SetCell(E::CellText, 1, 1, QStringLiteral("Speed Statistics"));
    vp.SetCell(E::ColumnSpan, 1, 4, 2);
    vp.SetCell(E::CellText, 1, 4,
               QString(QStringLiteral("10 ") + in.facts.unit + QStringLiteral(" Pace")));
    vp.SetCell(E::ColumnSpan, 1, 7, 5);
    vp.SetCell(E::CellText, 1, 7, QStringLiteral("Number Exceeding Limit"));

    const QString left[4][2] = {
        {QStringLiteral("Posted"), s.postedLimit},
        {QStringLiteral("# At/Under Limit"), s.atOrUnder},
        {QStringLiteral("# Over Limit"), s.over},
        {QStringLiteral("Average Speed"), s.average},
    };
    const QString middle[4][2] = {
        {QStringLiteral("Pace Speed"), s.pace},
        {QStringLiteral("# in Pace"), s.paceCount},
        {QStringLiteral("% in Pace"), s.pacePercent},
        {QStringLiteral("85th Percentile"), s.percentile85},
    };
    for (int i = 0; i < 4; ++i) {
        const int row = i + 2;
        vp.SetCell(E::CellText, row, 1, left[i][0]);
        vp.SetCell(E::CellText, row, 2, left[i][1]);
        vp.SetCell(E::CellText, row, 4, middle[i][0]);
        vp.SetCell(E::CellText, row, 5, middle[i][1]);
    }
    vp.SetCell(E::CellText, 2, 7, QStringLiteral("Speed"));
    vp.SetCell(E::CellText, 3, 7, QStringLiteral("Number"));
    vp.SetCell(E::CellText, 4, 7, QStringLiteral("Percent"));
    for (int band = 0; band < 3; ++band) {
        vp.SetCell(E::CellText, 2, 8 + band, s.bandHeadings[size_t(band)]);
        vp.SetCell(E::CellText, 3, 8 + band, s.bandNumbers[size_t(band)]);
        vp.SetCell(E::CellText, 4, 8 + band, s.bandPercents[size_t(band)]);
    }
    vp.SetCell(E::CellText, 2, 11, QStringLiteral("Total"));
    vp.SetCell(E::CellText, 3, 11, s.bandNumbers[3]);
    vp.SetCell(E::CellText, 4, 11, s.bandPercents[3]);

    vp.SetCell(E::CellBackColour, 1, Yellow);
    for (int row = 1; row <= 5; ++row) {
        vp.SetCell(E::CellBackColour, row, 3, Black);
        vp.SetCell(E::CellBackColour, row, 6, Black);
    }
    for (int column = 7; column <= 11; ++column)
        vp.SetCell(E::CellBackColour, 5, column, Grey);
    for (int row = 2; row <= 4; ++row)
        vp.SetCell(E::CellBackColour, row, 7, Grey);
    vp.SetCell(E::CellBackColour, 2, 11, Grey);
    vp.FinishTable();
}

} // namespace

bool ReportSummary(DocumentEngine &vp, const ReportSummaryInput &in)
{
    if (!beginReport(vp, DocumentStart::Action3))
        return false;

    // Frame: two rules across the page, positions taken from the cursor at 0, 0.
    vp.setCursorX(0);
    vp.setCursorY(0);
    vp.setTopMargin(1008);
    vp.setLeftMargin(1008);
    vp.setRightMargin(1008);
    vp.setLineColour(Black);
    vp.setLineWidth(25);
    const double x0 = vp.CursorX(), y0 = vp.CursorY();
    vp.DrawSegment(x0 + 1008, y0 + 2160, x0 + 11088, y0 + 2160);
    vp.DrawSegment(x0 + 1008, y0 + 14400, x0 + 11088, y0 + 14400);

    writeAgencyHeading(vp, in.frame, 864, QStringLiteral("Traffic Survey Summary"),
                       y0 + 2160 - 12.5 - TextClearance);

    vp.setLeftMargin(1008);
    vp.setRightMargin(1008);
    // Above the caption of the speed table.
    writeSurveyFactColumns(vp, in.facts, 5040);

    // The speed distribution, centred and wider than the margins.
    vp.setColumnCount(1);
    vp.setLeftMargin(1008);
    vp.setRightMargin(1008);
    vp.setAlignment(7);
    vp.setCursorY(5328);
    vp.setTypeSize(9);
    vp.setTableParameter(DocumentEngine::CellMarginLeft, 40);
    vp.setTableParameter(DocumentEngine::CellMarginRight, 40);
    speedTable(vp, in);

    vp.setCursorY(7776);
    statisticsTable(vp, in);

    // The caption of the speed table, written last but placed above it.
    vp.setCursorY(5040);
    vp.setTypeSize(10);
    vp.setAlignment(7);
    if (in.direction)
        vp.WriteParagraph(QStringLiteral("Display Scheme: ") + in.schemeName +
                          QStringLiteral("         -         ") +
                          reportDirectionWords(*in.direction));

    writeSignatureFooter(vp, in.frame);
    vp.DocumentAction(DocumentEngine::FinishAction);
    return true;
}

} // namespace roadtally
