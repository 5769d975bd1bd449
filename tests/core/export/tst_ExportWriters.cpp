// The two writers of an export: CSV quoting and a round trip of every cell
// type; the workbook read back part by part (types, values, formats, the bold
// frozen header, widths, charts, sheets continued past the row limit); and a
// failure part-way that leaves nothing under the chosen name.
#include "fixtures/CsvReader.h"
#include "fixtures/XlsxReader.h"

#include "core/export/CsvWriter.h"
#include "core/export/ExportTable.h"
#include "core/export/WorkbookWriter.h"
#include "core/store/DatabaseSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(roadtally::ExportCell)

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// A table with every kind of cell, and texts that need quoting.
ExportTable mixedTable()
{
    ExportTable t;
    t.name = QStringLiteral("Mixed");
    t.columns = {{QStringLiteral("Text")},
                 {QStringLiteral("Number")},
                 {QStringLiteral("Date")},
                 {QStringLiteral("Time")},
                 {QStringLiteral("Empty")}};
    t.addRow({ExportCell::ofText(QStringLiteral("Maple Avenue, 5th \"Street\"")),
              ExportCell::ofNumber(35), ExportCell::ofDate(QDate(2025, 12, 30)),
              ExportCell::ofTime(QTime(13, 45), QStringLiteral("hh:mm AM/PM")),
              ExportCell::empty()});
    t.addRow({ExportCell::ofText(QStringLiteral("two\r\nlines")),
              ExportCell::ofNumber(34.15, QStringLiteral("0.0")),
              ExportCell::ofDate(QDate(2026, 1, 2)),
              ExportCell::ofTime(QTime(0, 0, 9), QStringLiteral("hh:mm:ss")),
              ExportCell::ofText(QStringLiteral("Café – Straße"))});
    t.addRow(
        {ExportCell::ofText(QStringLiteral("Heading")), ExportCell::ofText(QStringLiteral("All"))},
        true);
    t.addRow({ExportCell::ofText(QStringLiteral("=1+1")), ExportCell::ofNumber(-0.5),
              ExportCell::empty(), ExportCell::empty(), ExportCell::ofNumber(1234567)});
    return t;
}

// A long table whose rows are made as they are written: row i holds i and "row i".
ExportTable countingTable(const QString &name, int rows, int failAt = -1)
{
    ExportTable t;
    t.name = name;
    t.columns = {{QStringLiteral("N")}, {QStringLiteral("Label")}};
    t.stream = [rows, failAt](const ExportRowSink &sink) {
        for (int i = 0; i < rows; ++i) {
            if (i == failAt)
                throw DatabaseError("the survey database went away");
            sink({{ExportCell::ofNumber(i), ExportCell::ofText(QStringLiteral("row %1").arg(i))},
                  false});
        }
    };
    return t;
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class tst_ExportWriters : public QObject
{
    Q_OBJECT

private slots:
    void csvField_data();
    void csvField();
    void csvFormulaGuard_data();
    void csvFormulaGuard();
    void csvRoundTrip();
    void csvFileNames_data();
    void csvFileNames();
    void workbookCells();
    void workbookLayout();
    void workbookRowLimit_data();
    void workbookRowLimit();
    void workbookCharts();
    void failureLeavesNothing_data();
    void failureLeavesNothing();
    void missingFolder();
};

void tst_ExportWriters::csvField_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << QStringLiteral("Maple Avenue") << QByteArray("Maple Avenue");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("comma") << QStringLiteral("Maple, 5th") << QByteArray("\"Maple, 5th\"");
    QTest::newRow("quotes") << QStringLiteral("the \"old\" road")
                            << QByteArray("\"the \"\"old\"\" road\"");
    QTest::newRow("only a quote") << QStringLiteral("\"") << QByteArray("\"\"\"\"");
    QTest::newRow("line feed") << QStringLiteral("a\nb") << QByteArray("\"a\nb\"");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << QByteArray("\"a\rb\"");
    QTest::newRow("CRLF") << QStringLiteral("a\r\nb") << QByteArray("\"a\r\nb\"");
    QTest::newRow("blanks kept") << QStringLiteral("  padded  ") << QByteArray("  padded  ");
    QTest::newRow("UTF-8") << QStringLiteral("Café – Straße")
                           << QStringLiteral("Café – Straße").toUtf8();
    QTest::newRow("time text") << QStringLiteral("01:50:09 PM") << QByteArray("01:50:09 PM");
}

void tst_ExportWriters::csvField()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, field);
    QCOMPARE(roadtally::csvField(value), field);
    // A field read back alone is the value again.
    const CsvText back = parseCsv(csvRecord({value}));
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.records.size(), 1);
    QCOMPARE(back.records.first(), QStringList{value});
}

void tst_ExportWriters::csvFormulaGuard_data()
{
    QTest::addColumn<ExportCell>("cell");
    QTest::addColumn<QString>("text");
    const auto text = [](const char *t) { return ExportCell::ofText(QString::fromUtf8(t)); };
    QTest::newRow("formula") << text("=HYPERLINK(\"http://x\")") << "'=HYPERLINK(\"http://x\")";
    QTest::newRow("plus") << text("+1+cmd") << "'+1+cmd";
    QTest::newRow("minus") << text("-2+3") << "'-2+3";
    QTest::newRow("at") << text("@SUM(A1)") << "'@SUM(A1)";
    QTest::newRow("tab") << text("\t=1") << "'\t=1";
    QTest::newRow("plain text") << text("Maple Avenue") << "Maple Avenue";
    QTest::newRow("sign inside") << text("Route 9 - east") << "Route 9 - east";
    QTest::newRow("direction code") << text("-") << "-";
    QTest::newRow("plus code") << text("+") << "+";
    QTest::newRow("number as text") << text("-12.5") << "-12.5";
    QTest::newRow("negative number") << ExportCell::ofNumber(-3) << "-3";
    QTest::newRow("negative fraction") << ExportCell::ofNumber(-0.5) << "-0.5";
    QTest::newRow("empty") << ExportCell::empty() << "";
}

void tst_ExportWriters::csvFormulaGuard()
{
    QFETCH(ExportCell, cell);
    QFETCH(QString, text);
    QCOMPARE(csvCellText(cell), text);
}

void tst_ExportWriters::csvRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ExportTable table = mixedTable();
    const ExportWriteResult result =
        writeCsvFiles({table, countingTable(QStringLiteral("Long"), 2500)}, dir.path(),
                      QStringLiteral("123025-A "));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.files, (QStringList{dir.filePath(QStringLiteral("123025-A Mixed.csv")),
                                        dir.filePath(QStringLiteral("123025-A Long.csv"))}));
    QCOMPARE(result.rows, qint64(4 + 2500));
    QCOMPARE(folderEntries(dir.path()), (QStringList{QStringLiteral("123025-A Long.csv"),
                                                     QStringLiteral("123025-A Mixed.csv")}));

    const CsvText mixed = readCsvFile(result.files.at(0));
    QVERIFY2(mixed.error.isEmpty(), qPrintable(mixed.error));
    QCOMPARE(mixed.records.size(), 5);
    QCOMPARE(mixed.records.at(0),
             (QStringList{QStringLiteral("Text"), QStringLiteral("Number"), QStringLiteral("Date"),
                          QStringLiteral("Time"), QStringLiteral("Empty")}));
    // Every record has the header's five fields; values in their plain forms.
    QCOMPARE(mixed.records.at(1),
             (QStringList{QStringLiteral("Maple Avenue, 5th \"Street\""), QStringLiteral("35"),
                          QStringLiteral("2025-12-30"), QStringLiteral("13:45:00"), QString()}));
    QCOMPARE(mixed.records.at(2),
             (QStringList{QStringLiteral("two\r\nlines"), QStringLiteral("34.15"),
                          QStringLiteral("2026-01-02"), QStringLiteral("00:00:09"),
                          QStringLiteral("Café – Straße")}));
    QCOMPARE(mixed.records.at(3), (QStringList{QStringLiteral("Heading"), QStringLiteral("All"),
                                               QString(), QString(), QString()}));
    // A text that a spreadsheet would run as a formula is guarded; a negative number is not.
    QCOMPARE(mixed.records.at(4), (QStringList{QStringLiteral("'=1+1"), QStringLiteral("-0.5"),
                                               QString(), QString(), QStringLiteral("1234567")}));

    const CsvText longTable = readCsvFile(result.files.at(1));
    QVERIFY2(longTable.error.isEmpty(), qPrintable(longTable.error));
    QCOMPARE(longTable.records.size(), 2501);
    QCOMPARE(longTable.records.at(2500),
             (QStringList{QStringLiteral("2499"), QStringLiteral("row 2499")}));
}

void tst_ExportWriters::csvFileNames_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("file");
    QTest::newRow("sheet with a blank")
        << QStringLiteral("052425-A ") << QStringLiteral("15 Minute")
        << QStringLiteral("052425-A 15 Minute.csv");
    QTest::newRow("no prefix") << QString() << QStringLiteral("Survey")
                               << QStringLiteral("Survey.csv");
    QTest::newRow("slashes and colons") << QStringLiteral("05/24:25 ") << QStringLiteral("Speeding")
                                        << QStringLiteral("05_24_25 Speeding.csv");
}

void tst_ExportWriters::csvFileNames()
{
    QFETCH(QString, prefix);
    QFETCH(QString, table);
    QFETCH(QString, file);
    ExportTable t;
    t.name = table;
    QCOMPARE(csvFileName(prefix, t), file);
}

void tst_ExportWriters::workbookCells()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mixed.xlsx"));
    const ExportWriteResult result = writeWorkbook({mixedTable()}, path);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.sheets, QStringList{QStringLiteral("Mixed")});
    QCOMPARE(folderEntries(dir.path()), QStringList{QStringLiteral("mixed.xlsx")});

    const XlsxBook book = XlsxBook::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheetNames(), QStringList{QStringLiteral("Mixed")});
    const XlsxSheet &s = book.sheets.first();

    // The header: bold text, frozen above the data.
    QCOMPARE(s.frozenCell, QStringLiteral("A2"));
    for (const char *ref : {"A1", "B1", "C1", "D1", "E1"}) {
        QVERIFY2(s.has(QString::fromLatin1(ref)), ref);
        QVERIFY2(book.style(s.cell(QString::fromLatin1(ref)).style).bold, ref);
    }
    QCOMPARE(s.cell(QStringLiteral("C1")).value, QStringLiteral("Date"));

    // Texts are texts, numbers numbers, dates and times numbers with their formats.
    QCOMPARE(s.cell(QStringLiteral("A2")).type, QStringLiteral("inlineStr"));
    QCOMPARE(s.cell(QStringLiteral("A2")).value, QStringLiteral("Maple Avenue, 5th \"Street\""));
    QCOMPARE(s.cell(QStringLiteral("B2")).type, QStringLiteral("n"));
    QCOMPARE(s.cell(QStringLiteral("B2")).value, QStringLiteral("35"));
    QCOMPARE(s.cell(QStringLiteral("C2")).type, QStringLiteral("n"));
    QCOMPARE(s.cell(QStringLiteral("C2")).value, QStringLiteral("46021")); // 12/30/2025
    QCOMPARE(book.style(s.cell(QStringLiteral("C2")).style).numberFormat,
             QStringLiteral("mm/dd/yyyy"));
    QCOMPARE(s.cell(QStringLiteral("D2")).value.toDouble(), (13 * 60 + 45) / 1440.0);
    QCOMPARE(book.style(s.cell(QStringLiteral("D2")).style).numberFormat,
             QStringLiteral("hh:mm AM/PM"));
    QVERIFY(!s.has(QStringLiteral("E2"))); // an empty cell is not written

    // Line breaks become Excel's in-cell line break, the cell wrapping its lines.
    QCOMPARE(s.cell(QStringLiteral("A3")).value, QStringLiteral("two\nlines"));
    QVERIFY(book.style(s.cell(QStringLiteral("A3")).style).wrap);
    QVERIFY(!book.style(s.cell(QStringLiteral("A2")).style).wrap);
    QCOMPARE(s.cell(QStringLiteral("B3")).value.toDouble(), 34.15);
    QCOMPARE(book.style(s.cell(QStringLiteral("B3")).style).numberFormat, QStringLiteral("0.0"));
    QCOMPARE(s.cell(QStringLiteral("C3")).value, QStringLiteral("46024"));
    QCOMPARE(s.cell(QStringLiteral("D3")).value.toDouble(), 9 / 86400.0);
    QCOMPARE(s.cell(QStringLiteral("E3")).value, QStringLiteral("Café – Straße"));

    // A heading row inside the sheet is bold like the header; other cells are not.
    QVERIFY(book.style(s.cell(QStringLiteral("A4")).style).bold);
    QVERIFY(book.style(s.cell(QStringLiteral("B4")).style).bold);
    QVERIFY(!book.style(s.cell(QStringLiteral("A2")).style).bold);

    // A text that looks like a formula stays a text.
    QCOMPARE(s.cell(QStringLiteral("A5")).type, QStringLiteral("inlineStr"));
    QCOMPARE(s.cell(QStringLiteral("A5")).value, QStringLiteral("=1+1"));
    QCOMPARE(s.cell(QStringLiteral("B5")).value.toDouble(), -0.5);
    QCOMPARE(s.lastRow, 5);

    // Columns are wide enough for the widest value.
    QVERIFY(s.columnWidths.value(1) >= QStringLiteral("Maple Avenue, 5th \"Street\"").size());
    QVERIFY(s.columnWidths.value(3) >= 10); // mm/dd/yyyy
    QVERIFY(s.columnWidths.value(4) >= 8);  // 01:45 PM
    QVERIFY(s.columnWidths.value(5) >= QStringLiteral("Café – Straße").size());
}

void tst_ExportWriters::workbookLayout()
{
    ExportTable t;
    t.name = QStringLiteral("Layout");
    t.columns = {{QStringLiteral("Item")},
                 {QStringLiteral("Count"), 0, true},
                 {QStringLiteral("Fixed"), 30}};
    t.addRow({ExportCell::ofText(QStringLiteral("Vehicles")), ExportCell::ofNumber(2471),
              ExportCell::ofText(QStringLiteral("short"))});
    const QString note = QString(200, QLatin1Char('n'));
    t.addNote({ExportCell::ofText(QStringLiteral("All")), ExportCell::ofText(note)});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("layout.xlsx"));
    const ExportWriteResult result = writeWorkbook({t}, path);
    QVERIFY2(result.ok(), qPrintable(result.error));
    const XlsxBook book = XlsxBook::read(path);
    const XlsxSheet &s = book.sheets.first();
    // A centred column: its header and its values.
    QVERIFY(book.style(s.cell(QStringLiteral("B1")).style).centred);
    QVERIFY(book.style(s.cell(QStringLiteral("B1")).style).bold);
    QVERIFY(book.style(s.cell(QStringLiteral("B2")).style).centred);
    QVERIFY(!book.style(s.cell(QStringLiteral("A2")).style).centred);
    // A note keeps its text whole but leaves the width to the other values.
    QCOMPARE(s.cell(QStringLiteral("B3")).value, note);
    QVERIFY(s.columnWidths.value(2) < 20);
    QCOMPARE(s.columnWidths.value(3), 32.0 + 0.7109375); // as set, with Excel's padding
    // Printed one page wide, landscape, the header on every page.
    const QString part = QString::fromUtf8(XlsxBook::readPart(path, s.part));
    QVERIFY(part.contains(QLatin1String("fitToPage=\"1\"")));
    QVERIFY(part.contains(QLatin1String("orientation=\"landscape\"")));
    const QString workbook =
        QString::fromUtf8(XlsxBook::readPart(path, QStringLiteral("xl/workbook.xml")));
    QVERIFY(workbook.contains(QLatin1String("_xlnm.Print_Titles")));
}

void tst_ExportWriters::workbookRowLimit_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("sheets");
    QTest::addColumn<QList<int>>("lastRows"); // per sheet, the header being row 1
    const QString s = QStringLiteral("Speeding");
    const QString s2 = QStringLiteral("Speeding (2)");
    const QString s3 = QStringLiteral("Speeding (3)");
    // Five rows per sheet: the header and four data rows.
    QTest::newRow("no rows") << 0 << QStringList{s} << QList<int>{1};
    QTest::newRow("one short of full") << 3 << QStringList{s} << QList<int>{4};
    QTest::newRow("exactly full") << 4 << QStringList{s} << QList<int>{5};
    QTest::newRow("one over") << 5 << QStringList{s, s2} << QList<int>{5, 2};
    QTest::newRow("three sheets") << 10 << QStringList{s, s2, s3} << QList<int>{5, 5, 3};
}

void tst_ExportWriters::workbookRowLimit()
{
    QFETCH(int, rows);
    QFETCH(QStringList, sheets);
    QFETCH(QList<int>, lastRows);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("long.xlsx"));
    WorkbookOptions options;
    options.rowsPerSheet = 5;
    ExportTable after;
    after.name = QStringLiteral("After");
    after.columns = {{QStringLiteral("X")}};
    const ExportWriteResult result =
        writeWorkbook({countingTable(QStringLiteral("Speeding"), rows), after}, path, options);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.rows, qint64(rows));
    QCOMPARE(result.sheets, sheets + QStringList{QStringLiteral("After")});

    const XlsxBook book = XlsxBook::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    // The continuation sheets follow their table, before the next table.
    QCOMPARE(book.sheetNames(), sheets + QStringList{QStringLiteral("After")});
    int next = 0;
    for (int i = 0; i < sheets.size(); ++i) {
        const XlsxSheet &sheet = book.sheets.at(i);
        QCOMPARE(sheet.lastRow, lastRows.at(i));
        QCOMPARE(sheet.cell(QStringLiteral("A1")).value, QStringLiteral("N")); // the header again
        QCOMPARE(sheet.frozenCell, QStringLiteral("A2"));
        for (int r = 2; r <= sheet.lastRow; ++r, ++next) {
            QCOMPARE(sheet.cell(XlsxBook::reference(r, 1)).value, QString::number(next));
            QCOMPARE(sheet.cell(XlsxBook::reference(r, 2)).value,
                     QStringLiteral("row %1").arg(next));
        }
    }
    QCOMPARE(next, rows); // every row once, in order
}

void tst_ExportWriters::workbookCharts()
{
    ExportTable hours;
    hours.name = QStringLiteral("Daily Volume");
    hours.columns = {
        {QStringLiteral("Hour")}, {QStringLiteral("12/30/25")}, {QStringLiteral("12/31/25")}};
    for (int h = 0; h < 24; ++h)
        hours.addRow({ExportCell::ofText(QStringLiteral("%1:00").arg(h, 2, 10, QLatin1Char('0'))),
                      ExportCell::ofNumber(h * 2), ExportCell::ofNumber(h * 3)});
    ExportTable main;
    main.name = QStringLiteral("15 Minute");
    main.columns = {{QStringLiteral("Date")}, {QStringLiteral("Speed")}, {QStringLiteral("All")}};
    for (int i = 0; i < 3; ++i)
        main.addRow({ExportCell::ofDate(QDate(2025, 12, 30)), ExportCell::ofNumber(30 + i),
                     ExportCell::ofNumber(i)});
    ExportChart own;
    own.kind = ExportChart::Kind::Column;
    own.title = QStringLiteral("Vehicles by Speed");
    own.categoryColumn = 1;
    own.rowCount = 3;
    own.series = {{QStringLiteral("All"), 2}};
    ExportChart other;
    other.kind = ExportChart::Kind::Line;
    other.title = QStringLiteral("Hourly Volume");
    other.dataSheet = hours.name;
    other.rowCount = 24;
    other.series = {{QStringLiteral("12/30/25"), 1}, {QStringLiteral("12/31/25"), 2}};
    main.charts = {own, other};

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("charts.xlsx"));
    const ExportWriteResult result = writeWorkbook({main, hours}, path);
    QVERIFY2(result.ok(), qPrintable(result.error));
    const XlsxBook book = XlsxBook::read(path);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    const XlsxSheet *sheet = book.sheet(QStringLiteral("15 Minute"));
    QVERIFY(sheet);
    QCOMPARE(sheet->chartParts.size(), 2);
    QVERIFY(book.sheet(QStringLiteral("Daily Volume"))->chartParts.isEmpty());

    const QString bars = QString::fromUtf8(XlsxBook::readPart(path, sheet->chartParts.at(0)));
    const QString lines = QString::fromUtf8(XlsxBook::readPart(path, sheet->chartParts.at(1)));
    QVERIFY(bars.contains(QLatin1String("<c:barChart>")));
    QVERIFY(bars.contains(QLatin1String("'15 Minute'!$B$2:$B$4")));
    QVERIFY(bars.contains(QLatin1String("'15 Minute'!$C$2:$C$4")));
    QVERIFY(bars.contains(QLatin1String("Vehicles by Speed")));
    QVERIFY(lines.contains(QLatin1String("<c:lineChart>")));
    QVERIFY(lines.contains(QLatin1String("'Daily Volume'!$A$2:$A$25")));
    QVERIFY(lines.contains(QLatin1String("'Daily Volume'!$B$2:$B$25")));
    QVERIFY(lines.contains(QLatin1String("'Daily Volume'!$C$2:$C$25")));
    QVERIFY(lines.contains(QLatin1String("12/31/25")));
}

void tst_ExportWriters::failureLeavesNothing_data()
{
    QTest::addColumn<bool>("workbook");
    QTest::addColumn<bool>("existing");
    QTest::newRow("workbook, new file") << true << false;
    QTest::newRow("workbook, replacing a file") << true << true;
    QTest::newRow("CSV, new files") << false << false;
    QTest::newRow("CSV, replacing files") << false << true;
}

void tst_ExportWriters::failureLeavesNothing()
{
    QFETCH(bool, workbook);
    QFETCH(bool, existing);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString xlsx = dir.filePath(QStringLiteral("survey.xlsx"));
    const QStringList csvFiles = {dir.filePath(QStringLiteral("Mixed.csv")),
                                  dir.filePath(QStringLiteral("Long.csv"))};
    const QByteArray old("an earlier export");
    if (existing) {
        for (const QString &f : workbook ? QStringList{xlsx} : csvFiles)
            QVERIFY(writeBytes(f, old));
    }
    const QStringList before = folderEntries(dir.path());

    // The second table fails after many of its rows were written.
    const QVector<ExportTable> tables = {mixedTable(),
                                         countingTable(QStringLiteral("Long"), 50000, 40000)};
    const ExportWriteResult result =
        workbook ? writeWorkbook(tables, xlsx) : writeCsvFiles(tables, dir.path());
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(QLatin1String("the survey database went away")),
             qPrintable(result.error));
    QVERIFY(result.files.isEmpty());
    // No temporary file left behind, no new file, earlier files unchanged.
    QCOMPARE(folderEntries(dir.path()), before);
    for (const QString &f : before)
        QCOMPARE(fileBytes(dir.filePath(f)), old);
}

void tst_ExportWriters::missingFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString nowhere = dir.filePath(QStringLiteral("no such folder"));
    const ExportWriteResult book =
        writeWorkbook({mixedTable()}, nowhere + QStringLiteral("/out.xlsx"));
    QVERIFY(!book.ok());
    QVERIFY2(book.error.contains(QLatin1String("does not exist")), qPrintable(book.error));
    const ExportWriteResult csv = writeCsvFiles({mixedTable()}, nowhere);
    QVERIFY(!csv.ok());
    QVERIFY2(csv.error.contains(QLatin1String("does not exist")), qPrintable(csv.error));
    // A target that is a folder is refused, and the folder stays.
    const ExportWriteResult onFolder = writeWorkbook({mixedTable()}, dir.path());
    QVERIFY(!onFolder.ok());
    QVERIFY(QFileInfo(dir.path()).isDir());
    QVERIFY(folderEntries(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(tst_ExportWriters)
#include "tst_ExportWriters.moc"
