#include "core/reports/ReportWeekly.h"

namespace roadtally {

namespace {

const QColor Yellow(255, 255, 0);
const QColor Grey(200, 200, 200);
const QColor White(255, 255, 255);

// The table's columns: the hour headings, then eighteen day and average columns.
constexpr double HeadingColumn = 800;
constexpr double DayColumn = 590;
constexpr double TableWidth = HeadingColumn + 18 * DayColumn;

} // namespace

void fillFromGrid(ReportWeeklyInput &in, const WeeklyGrid &g)
{
    for (int day = 0; day < 7; ++day)
        in.dayHeadings[size_t(day)] = g.headers.value(day);
    const QStringList &captions = weeklyRowCaptions();
    for (int k = 0; k < WeeklyGrid::RowCount; ++k) {
        in.legend[size_t(k)] = captions.value(k);
        for (int day = 0; day < 7; ++day) {
            in.approaching[size_t(day)][size_t(k)] = g.cell(2 * day, k);
            in.receding[size_t(day)][size_t(k)] = g.cell(2 * day + 1, k);
        }
        in.weekdayApproaching[size_t(k)] = g.cell(14, k);
        in.weekdayReceding[size_t(k)] = g.cell(15, k);
        in.weekendApproaching[size_t(k)] = g.cell(16, k);
        in.weekendReceding[size_t(k)] = g.cell(17, k);
    }
    for (int i = 0; i < 9; ++i) {
        in.combined[size_t(i)] = g.combined.value(i);
        in.split[size_t(i)] = g.split.value(i);
    }
}

QStringList weeklyPairHeadings(const std::array<QString, 7> &d)
{
    QStringList texts(d.cbegin(), d.cend());
    texts << QStringLiteral("Avg") << QStringLiteral("Avg");
    return texts;
}

bool ReportWeekly(DocumentEngine &vp, const ReportWeeklyInput &in)
{
    if (!beginReport(vp, DocumentStart::BeginThenAction3))
        return false;

    // Frame: the rule under the heading and the yellow band behind the column headings.
    vp.setCursorX(0);
    vp.setCursorY(0);
    vp.setTopMargin(1008);
    vp.setLeftMargin(720);
    vp.setRightMargin(720);
    vp.setLineColour(Qt::black);
    vp.setLineWidth(25);
    const double x0 = vp.CursorX(), y0 = vp.CursorY();
    vp.DrawSegment(x0 + 720, y0 + 2160, x0 + 11520, y0 + 2160);
    vp.setFillColour(Yellow);
    vp.setLineColour(White);
    vp.DrawBox(x0 + 360, y0 + 4464, x0 + 11851.2, y0 + 5256);

    writeAgencyHeading(vp, in.frame, 864, QStringLiteral("Traffic Summary (Week)"),
                       y0 + 2160 - 12.5 - TextClearance);

    // Above the yellow band of the column headings.
    writeSurveyFactColumns(vp, in.facts, y0 + 4464 - 12.5 - TextClearance);

    vp.setColumnCount(1);
    vp.setLeftMargin(144);
    vp.setRightMargin(144);
    vp.setTypeSize(10);

    // Column headings over the table.
    vp.setAlignment(8);
    vp.setCursorY(4536);
    vp.WriteParagraph(QStringLiteral("Wk Day         Wk End          "));
    // Each heading centred over its column pair: a heading that names two
    // dates ("Wed-28/04") is longer than the blanks of one line allowed for.
    vp.setAlignment(7);
    const double tableLeft = 144 + (PaperWidth - 2 * 144 - TableWidth) / 2;
    const QStringList pairHeadings = weeklyPairHeadings(in.dayHeadings);
    for (int pair = 0; pair < 9; ++pair) {
        const double left = tableLeft + HeadingColumn + pair * 2 * DayColumn;
        vp.setLeftMargin(left);
        vp.setRightMargin(PaperWidth - left - 2 * DayColumn);
        vp.setCursorY(4752);
        vp.WriteParagraph(pairHeadings.at(pair));
    }
    vp.setLeftMargin(144);
    vp.setRightMargin(144);

    // The table.
    using E = DocumentEngine;
    vp.setCursorY(5040);
    vp.setAlignment(7);
    vp.setTypeSize(9);
    vp.setTableParameter(E::CellMarginLeft, 40);
    vp.setTableParameter(E::CellMarginRight, 40);
    vp.BeginTable();
    vp.AppendTable(
        QStringLiteral(
            "800|590|590|590|590|590|590|590|590|590|590|590|590|590|590|590|590|590|590"),
        QStringLiteral("DIR|A|R|A|R|A|R|A|R|A|R|A|R|A|R|A|R|A|R"), QString(), QString());
    vp.SetCell(E::RowCount, 29);
    vp.SetCell(E::CellAlignment, 7);
    for (int k = 0; k <= 24; ++k) {
        const int row = k + 1;
        vp.SetCell(E::CellText, row, 1, in.legend[size_t(k)]);
        for (int day = 0; day < 7; ++day) {
            vp.SetCell(E::CellText, row, 2 + 2 * day, in.approaching[size_t(day)][size_t(k)]);
            vp.SetCell(E::CellText, row, 3 + 2 * day, in.receding[size_t(day)][size_t(k)]);
        }
        vp.SetCell(E::CellText, row, 16, in.weekdayApproaching[size_t(k)]);
        vp.SetCell(E::CellText, row, 17, in.weekdayReceding[size_t(k)]);
        vp.SetCell(E::CellText, row, 18, in.weekendApproaching[size_t(k)]);
        vp.SetCell(E::CellText, row, 19, in.weekendReceding[size_t(k)]);
    }
    // Row 26: the pairs of the first six days joined, empty.
    for (int column = 2; column <= 12; column += 2)
        vp.SetCell(E::ColumnSpan, 26, column, 2);
    // Rows 27 and 29: the combined volume and the split, one cell per pair.
    vp.SetCell(E::CellText, 27, 1, QStringLiteral("Comb"));
    vp.SetCell(E::CellText, 29, 1, QStringLiteral("Split %"));
    for (int pair = 0; pair < 9; ++pair) {
        const int column = 2 + 2 * pair;
        vp.SetCell(E::ColumnSpan, 27, column, 2);
        vp.SetCell(E::CellAlignment, 27, column, 7);
        vp.SetCell(E::CellText, 27, column, in.combined[size_t(pair)]);
        vp.SetCell(E::ColumnSpan, 29, column, 2);
        vp.SetCell(E::CellAlignment, 29, column, 7);
        vp.SetCell(E::CellText, 29, column, in.split[size_t(pair)]);
    }
    // Shading: hour headings, days 6 and 7 and the weekend averages grey;
    // the totals and the combined row yellow.
    for (int row = 1; row <= 24; ++row)
        for (int column : {1, 12, 13, 14, 15, 18, 19})
            vp.SetCell(E::CellBackColour, row, column, Grey);
    vp.SetCell(E::CellBackColour, 25, Yellow);
    vp.SetCell(E::CellBackColour, 27, 1, Yellow);
    for (int pair = 0; pair < 9; ++pair)
        vp.SetCell(E::CellBackColour, 27, 2 + 2 * pair, Yellow);
    vp.setTableRules(0);
    vp.FinishTable();

    // What the grid shows of a weekday the survey met twice.
    vp.setAlignment(7);
    vp.setCursorY(vp.CursorY() + 72);
    vp.WriteParagraph(weeklyRepeatNote());

    vp.setLeftMargin(1152);
    writeSignatureFooter(vp, in.frame);
    vp.FinishDocument();
    return true;
}

} // namespace roadtally
