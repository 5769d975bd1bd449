// The document engine on its own: paragraphs, alignment, text columns, tables,
// page header and footer, pictures, the painter and the PDF writer.
#include "core/reports/DocumentEngine.h"
#include "core/reports/PageDump.h"
#include "core/reports/PagePainter.h"
#include "core/reports/PdfOutput.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;

namespace {

// A fresh engine in the default page style of the reports.
void defaultStyle(DocumentEngine &vp)
{
    vp.setTypeFace(QStringLiteral("Arial"));
    vp.setTypeSize(10);
    vp.setAlignment(0);
    vp.setColumnCount(1);
    vp.setLeftMargin(720);
    vp.setRightMargin(720);
}

std::vector<TextRun> runsOf(const Document &doc, int page = 0)
{
    std::vector<TextRun> runs;
    for (const PageItem &item : doc.pages[size_t(page)].items)
        if (const auto *run = std::get_if<TextRun>(&item))
            runs.push_back(*run);
    return runs;
}

std::vector<TableSlice> slicesOf(const Document &doc, int page)
{
    std::vector<TableSlice> slices;
    for (const PageItem &item : doc.pages[size_t(page)].items)
        if (const auto *slice = std::get_if<TableSlice>(&item))
            slices.push_back(*slice);
    return slices;
}

// The darkest lightness within two pixels of (x, y).
int darkest(const QImage &image, int x, int y)
{
    int least = 255;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy)
            least = std::min(least, image.pixelColor(x + dx, y + dy).lightness());
    return least;
}

double lineHeight(double points, bool bold = false)
{
    return QFontMetricsF(FontTable::twipFont({QStringLiteral("Arial"), points, bold, false}))
        .height();
}

} // namespace

class tst_DocumentEngine : public QObject
{
    Q_OBJECT

private slots:
    void arialIsLiberationSans();
    void paragraphsStack();
    void emptyParagraphIsAnEmptyLine();
    void leadingPercentStretchesLines();
    void alignment_data();
    void alignment();
    void longParagraphWraps();
    void wrapKeepsTextInsideItsWidth_data();
    void wrapKeepsTextInsideItsWidth();
    void headingCellsFitTheirCells_data();
    void headingCellsFitTheirCells();
    void textColumns_data();
    void textColumns();
    void nextColumnAfterTheLastStartsAPage();
    void paragraphReachingTheBottomContinuesInTheNextColumn();
    void measureHeight_data();
    void measureHeight();
    void headerFooterParts_data();
    void headerFooterParts();
    void headerAndFooterOnEveryPage();
    void linesAndBoxes();
    void engineErrorBeforeAndAfterBegin();
    void failedBeginDrawsNothing();
    void tableFormatAndRows_data();
    void tableFormatAndRows();
    void rowHeights_data();
    void rowHeights();
    void spansColoursAlignmentAndEmphasis();
    void wholeTableSettingOverridesCells();
    void tableRules_data();
    void tableRules();
    void tableWiderThanMarginsIsCentredBeyondBoth();
    void tablePlacement_data();
    void tablePlacement();
    void tableFlowsIntoNextColumnAndPage();
    void appendTableRowsFromRecords();
    void manyRowsStayCompact();
    void picturePlacedScaled();
    void painterDrawsCellsAndLines();
    void pdfWritten();
    void pdfUnwritableLeavesNothing();
};

void tst_DocumentEngine::arialIsLiberationSans()
{
    const QFont font = FontTable::twipFont({QStringLiteral("Arial"), 10, false, false});
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(font.pixelSize(), 200); // one pixel a twip
}

void tst_DocumentEngine::paragraphsStack()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    QCOMPARE(vp.EngineError(), 0);
    QCOMPARE(vp.CursorY(), 1440.0); // the top margin
    vp.setCursorY(2000);
    vp.setCursorX(1500);
    vp.WriteParagraph(QStringLiteral("First"));
    QCOMPARE(vp.CursorX(), 720.0); // back at the column's left edge
    vp.WriteParagraph(QStringLiteral("Second"));
    vp.WriteParagraph(QStringLiteral("Third"));
    const double h = lineHeight(10);
    QVERIFY(qAbs(vp.CursorY() - (2000 + 3 * h)) < 0.01);
    vp.FinishDocument();
    const auto runs = runsOf(*vp.document());
    QCOMPARE(runs.size(), size_t(3));
    QCOMPARE(runs[0].x, 1500.0); // the first starts at CursorX
    QCOMPARE(runs[1].x, 720.0);  // the next at the left margin
    QCOMPARE(runs[0].y, 2000.0);
    QVERIFY(qAbs(runs[1].y - (2000 + h)) < 0.01);
    QVERIFY(qAbs(runs[2].y - (2000 + 2 * h)) < 0.01);
    QCOMPARE(runs[2].text, QStringLiteral("Third"));
}

void tst_DocumentEngine::emptyParagraphIsAnEmptyLine()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.setCursorY(3000);
    vp.WriteParagraph(QString());
    vp.WriteParagraph(QStringLiteral("After"));
    vp.FinishDocument();
    const auto runs = runsOf(*vp.document());
    QCOMPARE(runs.size(), size_t(1));
    QVERIFY(qAbs(runs[0].y - (3000 + lineHeight(10))) < 0.01);
}

void tst_DocumentEngine::leadingPercentStretchesLines()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setTypeSize(12);
    vp.setLeadingPercent(120);
    vp.BeginDocument();
    vp.setCursorY(3744);
    vp.WriteParagraph(QStringLiteral("a"));
    vp.WriteParagraph(QStringLiteral("b"));
    QVERIFY(qAbs(vp.CursorY() - (3744 + 2 * 1.2 * lineHeight(12))) < 0.01);
}

void tst_DocumentEngine::alignment_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("where"); // left, centre, right
    QTest::newRow("0 left") << 0 << "left";
    QTest::newRow("6 left") << 6 << "left";
    QTest::newRow("7 centre") << 7 << "centre";
    QTest::newRow("8 right") << 8 << "right";
}

void tst_DocumentEngine::alignment()
{
    QFETCH(int, code);
    QFETCH(QString, where);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setLeftMargin(1008);
    vp.setRightMargin(1440);
    vp.setAlignment(code);
    vp.BeginDocument();
    vp.setCursorX(0); // left of the margin: left-aligned text stays inside it
    // Trailing blanks count: a right-aligned line ends with them at the margin.
    const QString text = QStringLiteral("Wk Day         Wk End          ");
    vp.WriteParagraph(text);
    vp.FinishDocument();
    const TextRun run = runsOf(*vp.document()).at(0);
    const double right = PaperWidth - 1440;
    if (where == QLatin1String("left"))
        QCOMPARE(run.x, 1008.0);
    else if (where == QLatin1String("centre"))
        QVERIFY(qAbs(run.x + run.width / 2 - (1008 + right) / 2) < 0.01);
    else
        QVERIFY(qAbs(run.x + run.width - right) < 0.01);
    QVERIFY(run.width >
            QFontMetricsF(FontTable::twipFont({QStringLiteral("Arial"), 10, false, false}))
                .horizontalAdvance(text.trimmed()));
}

void tst_DocumentEngine::longParagraphWraps()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setLeftMargin(4000);
    vp.setRightMargin(4000); // 4240 twips of text width
    vp.BeginDocument();
    vp.setCursorY(2000);
    vp.WriteParagraph(QStringLiteral(
        "Survey Location: Maple Avenue at Fifth Street near the old railway bridge"));
    vp.FinishDocument();
    const auto runs = runsOf(*vp.document());
    QVERIFY(runs.size() >= 2);
    for (const TextRun &run : runs) {
        QVERIFY(run.width <= 4240.01);
        QVERIFY(!run.text.endsWith(QLatin1Char(' ')));
    }
    QVERIFY(runs[0].text.startsWith(QStringLiteral("Survey Location:")));
    QVERIFY(runs.back().text.endsWith(QStringLiteral("bridge")));
}

void tst_DocumentEngine::wrapKeepsTextInsideItsWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("ellipsis");
    QTest::newRow("a word wider than the column is broken")
        << QString(60, QLatin1Char('W')) << 0 << 3 << false;
    QTest::newRow("trailing blanks make no line of their own") << "North  " << 0 << 1 << false;
    QTest::newRow("cut to one line") << "Survey Location: Maple Avenue at Fifth Street near the "
                                        "old railway bridge"
                                     << 1 << 1 << true;
    QTest::newRow("short enough already") << "Maple Avenue" << 1 << 1 << false;
}

void tst_DocumentEngine::wrapKeepsTextInsideItsWidth()
{
    QFETCH(QString, text);
    QFETCH(int, maxLines);
    QFETCH(int, lines);
    QFETCH(bool, ellipsis);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setLeftMargin(4000);
    vp.setRightMargin(4000); // 4240 twips of text width
    vp.BeginDocument();
    const QStringList wrapped = vp.WrapParagraph(text, maxLines);
    QCOMPARE(wrapped.size(), lines);
    QCOMPARE(wrapped.last().endsWith(QChar(0x2026)), ellipsis);
    vp.setCursorY(2000);
    vp.WriteParagraph(text);
    vp.FinishDocument();
    for (const TextRun &run : runsOf(*vp.document()))
        QVERIFY2(run.width <= 4240.01, qPrintable(run.text));
}

void tst_DocumentEngine::headingCellsFitTheirCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("size"); // points it is drawn in
    QTest::addColumn<bool>("elided");
    QTest::newRow("fits") << "Dir" << 10.0 << false;
    QTest::newRow("set smaller") << "050+ mph" << 8.0 << false;
    QTest::newRow("cut short at the floor") << "a heading far too long for its cell" << 7.0 << true;
}

void tst_DocumentEngine::headingCellsFitTheirCells()
{
    // A heading or caption wider than its cell is set smaller, down to the
    // floor, then cut short; the body rows stay as they are.
    QFETCH(QString, text);
    QFETCH(double, size);
    QFETCH(bool, elided);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("^900|^900"), text + QStringLiteral("|Head;"),
                   text + QStringLiteral("|x;"));
    vp.SetCell(DocumentEngine::CellText, 1, 2, text);
    vp.FinishTable();
    vp.FinishDocument();
    const Document &doc = *vp.document();
    const DocumentTable &table = *doc.tables.at(0);
    for (const int row : {0, 1}) {
        const int column = row == 0 ? 0 : 1;
        const CellPlace cell{row, column, 1, QRectF(0, 0, 900, 250)};
        const QString shown = table.text(row, column);
        const CellTextPlace place = cellTextPlace(doc, table, cell, shown);
        QCOMPARE(doc.fonts.spec(place.font).size, size);
        QVERIFY(!place.clipped);
        QCOMPARE(shown.endsWith(QChar(0x2026)), elided);
    }
    // Body text appended in bulk is data: left as it is.
    QCOMPARE(table.text(1, 0), text);
}

void tst_DocumentEngine::textColumns_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<int>("alignment");
    // Each column is (text width - gaps) / columns wide; the second starts one
    // column and one gap to the right of the first.
    QTest::newRow("two columns, left") << 2 << 1008.0 << 1008.0 << 0;
    QTest::newRow("two columns, right") << 2 << 1008.0 << 1008.0 << 8;
    QTest::newRow("three columns, left") << 3 << 1440.0 << 1440.0 << 6;
    QTest::newRow("three columns, right") << 3 << 1440.0 << 1440.0 << 8;
}

void tst_DocumentEngine::textColumns()
{
    QFETCH(int, columns);
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(int, alignment);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setLeftMargin(left);
    vp.setRightMargin(right);
    vp.setColumnCount(columns);
    vp.setAlignment(alignment);
    vp.BeginDocument();
    const double width =
        (PaperWidth - left - right - (columns - 1) * DocumentEngine::ColumnGap) / columns;
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            vp.DocumentAction(DocumentEngine::NextColumnAction);
        QCOMPARE(vp.currentColumn(), c + 1);
        QCOMPARE(vp.CursorY(), vp.TopMargin()); // at the column's top
        vp.setCursorY(3744);
        vp.WriteParagraph(QStringLiteral("Column %1").arg(c + 1));
    }
    vp.FinishDocument();
    const auto runs = runsOf(*vp.document());
    QCOMPARE(int(runs.size()), columns);
    QCOMPARE(vp.pageCount(), 1);
    for (int c = 0; c < columns; ++c) {
        const double columnLeft = left + c * (width + DocumentEngine::ColumnGap);
        const TextRun &run = runs[size_t(c)];
        QCOMPARE(run.y, 3744.0);
        if (alignment == 8)
            QVERIFY(qAbs(run.x + run.width - (columnLeft + width)) < 0.01);
        else
            QVERIFY(qAbs(run.x - columnLeft) < 0.01);
    }
}

void tst_DocumentEngine::nextColumnAfterTheLastStartsAPage()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setColumnCount(2);
    vp.BeginDocument();
    vp.DocumentAction(5);
    QCOMPARE(vp.currentPage(), 1);
    QCOMPARE(vp.currentColumn(), 2);
    vp.DocumentAction(5);
    QCOMPARE(vp.currentPage(), 2);
    QCOMPARE(vp.currentColumn(), 1);
    // With one column, the next column is the next page.
    vp.setColumnCount(1);
    vp.DocumentAction(5);
    QCOMPARE(vp.currentPage(), 3);
    vp.DocumentAction(6);
    QCOMPARE(vp.pageCount(), 3);
    QVERIFY(vp.document()->finished);
}

void tst_DocumentEngine::paragraphReachingTheBottomContinuesInTheNextColumn()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setColumnCount(2);
    vp.BeginDocument();
    vp.setCursorY(PaperHeight - 1440 - lineHeight(10) * 1.5);
    vp.WriteParagraph(QStringLiteral("fits"));
    vp.WriteParagraph(QStringLiteral("next column"));
    vp.FinishDocument();
    const auto runs = runsOf(*vp.document());
    QCOMPARE(runs.size(), size_t(2));
    QCOMPARE(runs[1].y, 1440.0);
    QVERIFY(runs[1].x > PaperWidth / 2);
}

void tst_DocumentEngine::measureHeight_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<double>("expected"); // Liberation Sans: ascent + descent = 1.117 em
    QTest::newRow("9 pt") << 9.0 << false << 201.1;
    QTest::newRow("10 pt") << 10.0 << false << 223.4;
    QTest::newRow("10 pt bold") << 10.0 << true << 223.4;
    QTest::newRow("12 pt") << 12.0 << false << 268.1;
}

void tst_DocumentEngine::measureHeight()
{
    QFETCH(double, points);
    QFETCH(bool, bold);
    QFETCH(double, expected);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setTypeSize(points);
    vp.setBold(bold);
    QVERIFY2(qAbs(vp.MeasureHeight(QStringLiteral("Test")) - expected) < 1.0,
             qPrintable(QString::number(vp.MeasureHeight(QStringLiteral("Test")))));
}

void tst_DocumentEngine::headerFooterParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("centre");
    QTest::addColumn<QString>("right");
    QTest::newRow("left only") << "Report Prepared By: Sgt. O'Brien" << 1
                               << "Report Prepared By: Sgt. O'Brien"
                               << ""
                               << "";
    QTest::newRow("right page number") << "|| page%d" << 12 << ""
                                       << ""
                                       << " page12";
    QTest::newRow("three parts") << "a|b %d|c" << 3 << "a"
                                 << "b 3"
                                 << "c";
    QTest::newRow("centre only") << "|Page %d of the report" << 2 << ""
                                 << "Page 2 of the report"
                                 << "";
    QTest::newRow("empty") << "" << 1 << ""
                           << ""
                           << "";
}

void tst_DocumentEngine::headerFooterParts()
{
    QFETCH(QString, text);
    QFETCH(int, page);
    const HeaderParts parts = headerParts(text, page);
    QTEST(parts.left, "left");
    QTEST(parts.centre, "centre");
    QTEST(parts.right, "right");
}

void tst_DocumentEngine::headerAndFooterOnEveryPage()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setHeaderFace(QStringLiteral("Arial"));
    vp.setHeaderSize(12);
    vp.setHeaderBold(true);
    vp.setPageHeader(QStringLiteral("Header left"));
    vp.BeginDocument(); // the header set before the document stays in force
    vp.DocumentAction(5);
    vp.DocumentAction(5);
    vp.setPageFooter(QStringLiteral("|| page%d"));
    vp.FinishDocument();
    const Document &doc = *vp.document();
    QCOMPARE(doc.pageCount(), 3);
    for (int page = 1; page <= 3; ++page) {
        const std::vector<TextRun> runs = headerFooterRuns(doc, page);
        QCOMPARE(runs.size(), size_t(2));
        QCOMPARE(runs[0].text, QStringLiteral("Header left"));
        QCOMPARE(runs[0].x, 720.0);
        QVERIFY(runs[0].y < 1440);
        QCOMPARE(runs[1].text, QStringLiteral(" page%1").arg(page));
        QVERIFY(qAbs(runs[1].x + runs[1].width - (PaperWidth - 720)) < 0.01);
        QVERIFY(runs[1].y > PaperHeight - 1440);
        QVERIFY(doc.fonts.spec(runs[1].font).bold);
        QCOMPARE(doc.fonts.spec(runs[1].font).size, 12.0);
    }
}

void tst_DocumentEngine::linesAndBoxes()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.setLineColour(Qt::black);
    vp.setLineWidth(25);
    vp.DrawSegment(1008, 2160, 11088, 2160);
    vp.setFillColour(QColor(255, 255, 0));
    vp.setLineColour(Qt::white);
    vp.DrawBox(11851.2, 5256, 360, 4464); // corners in any order
    vp.setFillMode(1);
    vp.DrawBox(2448, 13680, 6048, 14976);
    vp.FinishDocument();
    QCOMPARE(dumpPage(*vp.document(), 0),
             QStringLiteral("line 1008 2160 11088 2160 pen #000000 25\n"
                            "box 360 4464 11851.2 5256 pen #ffffff 25 fill #ffff00\n"
                            "box 2448 13680 6048 14976 pen #ffffff 25 fill none\n"));
}

void tst_DocumentEngine::engineErrorBeforeAndAfterBegin()
{
    DocumentEngine vp;
    QVERIFY(vp.EngineError() != 0); // no document yet
    vp.WriteParagraph(QStringLiteral("nowhere"));
    QVERIFY(!vp.document());
    vp.DocumentAction(3);
    QCOMPARE(vp.EngineError(), 0);
    vp.FinishTable(); // no table open
    QCOMPARE(vp.EngineError(), int(DocumentEngine::NoTable));
    vp.BeginDocument(); // a new document clears it
    QCOMPARE(vp.EngineError(), 0);
}

void tst_DocumentEngine::failedBeginDrawsNothing()
{
    DocumentEngine vp;
    vp.setDeviceError(DocumentEngine::DeviceFailure);
    vp.BeginDocument();
    QCOMPARE(vp.EngineError(), int(DocumentEngine::DeviceFailure));
    vp.DrawSegment(0, 0, 100, 100);
    vp.DocumentAction(3);
    QCOMPARE(vp.EngineError(), int(DocumentEngine::DeviceFailure));
    QVERIFY(!vp.document());
    vp.setDeviceError(0);
    vp.BeginDocument();
    QCOMPARE(vp.EngineError(), 0);
}

void tst_DocumentEngine::tableFormatAndRows_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("columns"); // widths, "^" centred
    QTest::addColumn<int>("bodyRows");
    QTest::addColumn<QString>("lastCell");
    QTest::newRow("plain widths") << "2000|1000|200|1500"
                                  << ""
                                  << ""
                                  << "2000|1000|200|1500" << 0 << "";
    QTest::newRow("centred, closed by ;")
        << "^1500|^1000|^1500|^1500|^1000|^1500;"
        << "Time AM|App|Hour Total|Time PM|App|Hour Total;"
        << ""
        << "^1500|^1000|^1500|^1500|^1000|^1500" << 0 << "Hour Total";
    QTest::newRow("header without ;") << "800|590|590"
                                      << "DIR|A|R"
                                      << ""
                                      << "800|590|590" << 0 << "R";
    QTest::newRow("body rows") << "100|100"
                               << ""
                               << "a|b;c|d;e|f;"
                               << "100|100" << 3 << "f";
    QTest::newRow("short row") << "100|100|100"
                               << ""
                               << "a;b|c"
                               << "100|100|100" << 2 << "";
}

void tst_DocumentEngine::tableFormatAndRows()
{
    QFETCH(QString, format);
    QFETCH(QString, header);
    QFETCH(QString, body);
    QFETCH(QString, columns);
    QFETCH(int, bodyRows);
    QFETCH(QString, lastCell);
    DocumentTable table;
    table.appendTable(format, header, body);
    QStringList widths;
    for (const DocumentTable::Column &c : table.columns())
        widths << (c.centred ? QStringLiteral("^") : QString()) + QString::number(c.width);
    QCOMPARE(widths.join(QLatin1Char('|')), columns);
    QCOMPARE(table.hasHeader(), !header.isEmpty());
    QCOMPARE(table.bodyRows(), bodyRows);
    const int lastRow = bodyRows > 0 ? bodyRows : 0;
    QCOMPARE(table.text(lastRow, table.columnCount() - 1), lastCell);
}

void tst_DocumentEngine::rowHeights_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("twips");
    QTest::newRow("0.23in") << QVariant(QStringLiteral("0.23in")) << 331.2;
    QTest::newRow("0.4in") << QVariant(QStringLiteral("0.4in")) << 576.0;
    QTest::newRow("0.1 in with blank") << QVariant(QStringLiteral("0.1 in")) << 144.0;
    QTest::newRow("twips as number") << QVariant(500) << 500.0;
    QTest::newRow("twips as text") << QVariant(QStringLiteral("432")) << 432.0;
    QTest::newRow("points") << QVariant(QStringLiteral("12pt")) << 240.0;
    QTest::newRow("centimetres") << QVariant(QStringLiteral("2.54cm")) << 1440.0;
    QTest::newRow("measured, as a double") << QVariant(221.5) << 221.5;
}

void tst_DocumentEngine::rowHeights()
{
    QFETCH(QVariant, value);
    QFETCH(double, twips);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.setCursorY(2000);
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1000|1000"), QString(), QString());
    vp.SetCell(DocumentEngine::RowCount, 3);
    vp.SetCell(DocumentEngine::RowHeight, QStringLiteral("0.3in")); // every row
    vp.SetCell(DocumentEngine::RowHeight, 2, value);                // then row 2
    vp.FinishTable();
    const Document &doc = *vp.document();
    const DocumentTable &table = *doc.tables.at(0);
    QVERIFY(qAbs(table.heights[1] - 432.0) < 0.01);
    QVERIFY(qAbs(table.heights[2] - twips) < 0.01);
    QVERIFY(qAbs(table.heights[3] - 432.0) < 0.01);
    QVERIFY(qAbs(vp.CursorY() - (2000 + 864 + twips)) < 0.01);
}

void tst_DocumentEngine::spansColoursAlignmentAndEmphasis()
{
    using E = DocumentEngine;
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setTypeSize(9);
    vp.BeginDocument();
    vp.setCursorY(2000);
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1000|1000|1000|1000"), QStringLiteral("H1|H2|H3|H4"), QString());
    vp.SetCell(E::RowCount, 2);
    vp.SetCell(E::CellAlignment, 7);
    vp.SetCell(E::CellAlignment, 2, 1, 8);
    vp.SetCell(E::RowEmphasis, 0, true);
    vp.SetCell(E::CellBackColour, 0, QColor(255, 255, 0));
    vp.SetCell(E::CellBackColour, 1, 3, QColor(200, 200, 200));
    vp.SetCell(E::ColumnSpan, 1, 2, 3);
    vp.SetCell(E::CellText, 1, 2, QStringLiteral("spans three"));
    vp.SetCell(E::CellText, 2, 1, QStringLiteral("right"));
    vp.FinishTable();
    QCOMPARE(dumpPage(*vp.document(), 0).section(QLatin1Char('\n'), 0, 0),
             QStringLiteral(
                 "table 1 at 720 2000 rows 1-2 header yes rules 7 margins 72 72 [Arial 9] columns "
                 "1000|1000|1000|1000"));
    const DocumentTable &table = *vp.document()->tables.at(0);
    QCOMPARE(table.spanOf(1, 1), 3);
    QVERIFY(table.isCovered(1, 2));
    QVERIFY(table.isCovered(1, 3));
    QVERIFY(!table.isCovered(2, 2));
    QCOMPARE(table.alignmentOf(2, 0), 8);
    QCOMPARE(table.alignmentOf(2, 1), 7);
    QCOMPARE(table.backColour.value(0, 3).value(), qRgb(255, 255, 0));
    QCOMPARE(table.backColour.value(1, 2).value(), qRgb(200, 200, 200)); // covered, kept
    QVERIFY(!table.backColour.value(1, 0));
    // The emphasised header row is bold, and its row is as high as a bold line.
    QVERIFY(table.emphasis.value(0, 2).value_or(false));
    QVERIFY(qAbs(table.heights[0] - (lineHeight(9, true) + 2 * DocumentTable::PaddingY)) < 0.01);
    const QString dump = dumpPage(*vp.document(), 0);
    QVERIFY2(dump.contains(QStringLiteral("  cell 1,2+2 1720 ")), qPrintable(dump));
    QVERIFY(dump.contains(QStringLiteral("3000x")));
    QVERIFY(dump.contains(QStringLiteral("emphasis")));
}

void tst_DocumentEngine::wholeTableSettingOverridesCells()
{
    using E = DocumentEngine;
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("500|500"), QString(), QString());
    vp.SetCell(E::RowCount, 2);
    vp.SetCell(E::CellBackColour, 1, 1, QColor(Qt::red));
    vp.SetCell(E::CellBackColour, 2, QColor(Qt::blue));
    vp.SetCell(E::CellBackColour, QColor(Qt::green)); // every row, every cell
    vp.SetCell(E::CellBackColour, 2, 2, QColor(Qt::black));
    vp.FinishTable();
    const DocumentTable &table = *vp.document()->tables.at(0);
    QCOMPARE(table.backColour.value(1, 0).value(), QColor(Qt::green).rgba());
    QCOMPARE(table.backColour.value(2, 0).value(), QColor(Qt::green).rgba());
    QCOMPARE(table.backColour.value(2, 1).value(), QColor(Qt::black).rgba());
}

void tst_DocumentEngine::tableRules_data()
{
    QTest::addColumn<int>("rules");
    QTest::addColumn<bool>("ruled");
    QTest::newRow("7 all") << 7 << true;
    QTest::newRow("0 none") << 0 << false;
}

void tst_DocumentEngine::tableRules()
{
    QFETCH(int, rules);
    QFETCH(bool, ruled);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.setCursorY(1440);
    vp.setTableRules(rules);
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1440|1440"), QString(), QStringLiteral("|;|;"));
    vp.SetCell(DocumentEngine::RowHeight, 1440);
    vp.setTableRules(7 - rules); // the setting at FinishTable counts
    vp.setTableRules(rules);
    vp.setAlignment(0);
    vp.FinishTable();
    QCOMPARE(vp.document()->tables.at(0)->rules, rules);
    // At 144 dpi the table is 2 x 2 inches from (0.5, 1) in: 288 pixels square from (72, 144).
    const QImage image = renderPage(*vp.document(), 0, 144);
    QCOMPARE(image.pixelColor(72 + 72, 144 + 72), QColor(Qt::white));
    QCOMPARE(darkest(image, 72 + 144, 144 + 72) < 200, ruled); // the rule between the columns
    QCOMPARE(darkest(image, 72 + 72, 144 + 144) < 200, ruled); // the rule between the rows
    QCOMPARE(darkest(image, 72, 144 + 72) < 200, ruled);       // the outline
}

void tst_DocumentEngine::tableWiderThanMarginsIsCentredBeyondBoth()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setLeftMargin(1008);
    vp.setRightMargin(1008);
    vp.setAlignment(7);
    vp.BeginDocument();
    vp.setCursorY(5328);
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1025|790|790|790|790|790|790|790|790|790|790|790|790|790"),
                   QString(), QString());
    vp.SetCell(DocumentEngine::RowCount, 5);
    vp.FinishTable();
    const TableSlice slice = slicesOf(*vp.document(), 0).at(0);
    // 11295 twips between margins 10224 apart: 535.5 beyond each, 0.33 in from the paper edges.
    QCOMPARE(slice.x, 472.5);
    QCOMPARE(PaperWidth - (slice.x + 11295), 472.5);
}

void tst_DocumentEngine::tablePlacement_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<double>("x");
    QTest::newRow("0 at the left margin") << 0 << 720.0;
    QTest::newRow("6 at the left margin") << 6 << 720.0;
    QTest::newRow("7 centred") << 7 << (PaperWidth - 5250) / 2;
    QTest::newRow("8 at the right margin") << 8 << PaperWidth - 720 - 5250;
}

void tst_DocumentEngine::tablePlacement()
{
    QFETCH(int, alignment);
    QFETCH(double, x);
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setAlignment(alignment);
    vp.BeginDocument();
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("^1250|^1250|^750|^750|^750|^500;"),
                   QStringLiteral("a|b|c|d|e|f;"), QString());
    vp.FinishTable();
    QCOMPARE(slicesOf(*vp.document(), 0).at(0).x, x);
}

void tst_DocumentEngine::tableFlowsIntoNextColumnAndPage()
{
    using E = DocumentEngine;
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setAlignment(7);
    vp.setColumnCount(2);
    vp.BeginDocument();
    vp.setCursorY(8000); // half way down: the first column holds fewer rows
    vp.BeginTable();
    TextRecords rows(2);
    for (int i = 1; i <= 150; ++i)
        rows.append(QStringList{QString::number(i), QStringLiteral("x")});
    vp.AppendTableRows(QStringLiteral("^1000|^1000"), QStringLiteral("N|X"), std::move(rows));
    vp.SetCell(E::RowHeight, 200);
    vp.SetCell(E::RowHeight, 0, 300);
    vp.FinishTable();
    vp.FinishDocument();
    const Document &doc = *vp.document();
    // Column height 12960: the first column from 8000 holds (14400-8000-300)/200 = 30
    // rows, every later one (12960-300)/200 = 63.
    QCOMPARE(doc.pageCount(), 2);
    const auto first = slicesOf(doc, 0);
    QCOMPARE(first.size(), size_t(2));
    QCOMPARE(first[0].firstRow, 1);
    QCOMPARE(first[0].lastRow, 30);
    QCOMPARE(first[0].y, 8000.0);
    QCOMPARE(first[1].firstRow, 31);
    QCOMPARE(first[1].lastRow, 93);
    QCOMPARE(first[1].y, 1440.0);
    QVERIFY(first[1].header); // the header row repeats at the top of each column
    const double columnWidth = (PaperWidth - 1440 - DocumentEngine::ColumnGap) / 2;
    QCOMPARE(first[0].x, 720 + (columnWidth - 2000) / 2);
    QCOMPARE(first[1].x, 720 + columnWidth + DocumentEngine::ColumnGap + (columnWidth - 2000) / 2);
    const auto second = slicesOf(doc, 1);
    QCOMPARE(second.size(), size_t(1));
    QCOMPARE(second[0].firstRow, 94);
    QCOMPARE(second[0].lastRow, 150);
    QCOMPARE(second[0].x, first[0].x);
    QCOMPARE(vp.CursorY(), 1440 + 300 + 57 * 200.0);
    QCOMPARE(vp.currentPage(), 2);
    // The last row's cells, as the dump writes them.
    QVERIFY(dumpPage(doc, 1).contains(QStringLiteral("  cell 150,1 ")));
}

void tst_DocumentEngine::appendTableRowsFromRecords()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.BeginTable();
    vp.AppendTableRows(QStringLiteral("^1250|^1250|^500;"), QStringLiteral("Date|Time|Dir;"),
                       QVector<QVariantList>{{QStringLiteral("05/24/25"),
                                              QStringLiteral("13:45:10"), QStringLiteral("+")},
                                             {QStringLiteral("05/24/25"), QVariant(), 7}});
    vp.FinishTable();
    const DocumentTable &table = *vp.document()->tables.at(0);
    QCOMPARE(table.bodyRows(), 2);
    QCOMPARE(table.text(0, 0), QStringLiteral("Date"));
    QCOMPARE(table.text(1, 1), QStringLiteral("13:45:10"));
    QCOMPARE(table.text(2, 1), QString()); // null is an empty cell
    QCOMPARE(table.text(2, 2), QStringLiteral("7"));
}

void tst_DocumentEngine::manyRowsStayCompact()
{
    using E = DocumentEngine;
    DocumentEngine vp;
    defaultStyle(vp);
    vp.setColumnCount(2);
    vp.setAlignment(7);
    vp.BeginDocument();
    const int n = 40000; // past 32,767
    TextRecords rows(6);
    rows.reserve(n, 30);
    for (int i = 1; i <= n; ++i)
        rows.append(QStringList{QStringLiteral("05/24/25"), QString::number(i),
                                QStringLiteral("41"), QStringLiteral("--"), QStringLiteral("--"),
                                QStringLiteral("+")});
    vp.BeginTable();
    vp.AppendTableRows(QStringLiteral("^1250|^1250|^750|^750|^750|^500;"),
                       QStringLiteral("Date|Time|35+|45+|55+|Dir;"), std::move(rows));
    const QVariant grey = QColor(200, 200, 200);
    for (int r = 1; r <= n; ++r)
        for (int c = 3; c <= 5; ++c)
            vp.SetCell(E::CellBackColour, r, c, grey);
    vp.FinishTable();
    vp.FinishDocument();
    const Document &doc = *vp.document();
    QVERIFY(doc.pageCount() > 300);
    // A table slice per column: a handful of items a page, whatever the rows.
    for (int p = 0; p < doc.pageCount(); ++p)
        QVERIFY(doc.pages[size_t(p)].items.size() <= 2);
    const auto last = slicesOf(doc, doc.pageCount() - 1);
    QCOMPARE(last.back().lastRow, n);
    QCOMPARE(doc.tables.at(0)->text(n, 1), QString::number(n));
}

void tst_DocumentEngine::picturePlacedScaled()
{
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 100, 50), Qt::red);
    }
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.setPictureLeft(1440);
    vp.setPictureTop(1440);
    vp.setPictureRight(1440 + 2880);
    vp.setPictureBottom(1440 + 1440);
    vp.PlacePicture(picture);
    vp.setPictureLeft(7200);
    vp.PlacePicture(QPicture()); // nothing to place: an empty area
    vp.FinishDocument();
    QCOMPARE(dumpPage(*vp.document(), 0),
             QStringLiteral("picture 1440 1440 4320 2880 bounds 0 0 100x50\n"
                            "picture 4320 1440 7200 2880 empty\n"));
    const QImage image = renderPage(*vp.document(), 0, 72);
    QCOMPARE(image.pixelColor(72 + 140, 72 + 36), QColor(Qt::red));   // inside, scaled to 2 x 1 in
    QCOMPARE(image.pixelColor(72 + 150, 72 + 36), QColor(Qt::white)); // beyond its rectangle
}

void tst_DocumentEngine::painterDrawsCellsAndLines()
{
    using E = DocumentEngine;
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.setLineWidth(144);
    vp.DrawSegment(720, 720, 2160, 720);
    vp.setCursorY(2880);
    vp.setAlignment(0);
    vp.BeginTable();
    vp.AppendTable(QStringLiteral("1440|1440"), QString(), QString());
    vp.SetCell(E::RowCount, 1);
    vp.SetCell(E::RowHeight, 1440);
    vp.SetCell(E::CellBackColour, 1, 1, QColor(255, 255, 0));
    vp.SetCell(E::CellBackColour, 1, 2, QColor(200, 200, 200));
    vp.FinishTable();
    vp.FinishDocument();
    const QImage image = renderPage(*vp.document(), 0, 72);
    QCOMPARE(image.pixelColor(72, 36), QColor(Qt::black));              // the thick line
    QCOMPARE(image.pixelColor(36 + 36, 144 + 36), QColor(255, 255, 0)); // first cell
    QCOMPARE(image.pixelColor(36 + 108, 144 + 36), QColor(200, 200, 200));
}

void tst_DocumentEngine::pdfWritten()
{
    DocumentEngine vp;
    defaultStyle(vp);
    vp.BeginDocument();
    vp.WriteParagraph(QStringLiteral("Page one"));
    vp.DocumentAction(5);
    vp.WriteParagraph(QStringLiteral("Page two"));
    vp.FinishDocument();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    QCOMPARE(writePdf(*vp.document(), path, QStringLiteral("Test")), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                 bytes.count("/Type /Page ") + bytes.count("/Type /Page/"),
             2);
    QVERIFY(QRegularExpression(QStringLiteral("/MediaBox \\[0 0 612(\\.0+)? 792(\\.0+)?\\]"))
                .match(QString::fromLatin1(bytes))
                .hasMatch()); // US Letter
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.pdf")});
}

void tst_DocumentEngine::pdfUnwritableLeavesNothing()
{
    DocumentEngine vp;
    vp.BeginDocument();
    vp.FinishDocument();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/out.pdf"));
    const QString error = writePdf(*vp.document(), path);
    QVERIFY(error.contains(path));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(tst_DocumentEngine)
#include "tst_DocumentEngine.moc"
