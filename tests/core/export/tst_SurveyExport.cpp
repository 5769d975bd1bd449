// A stored survey exported to a workbook and to CSV files, read back and held
// against the database: the sheet names, every cell of every table with its
// type, the survey facts and figures, the speed rows and their chart, the
// speeding rows, the quoting of an awkward location, and the failures
// (no database, no such survey) with the command-line tool's answers.
#include "cli/CommandLineTool.h"
#include "fixtures/CliRun.h"
#include "fixtures/ExportFixture.h"

#include "core/export/CsvWriter.h"
#include "core/export/SurveyExport.h"
#include "core/export/SurveySheets.h"
#include "core/store/DatabaseSession.h"
#include "core/text/TextPatterns.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

const QStringList SheetNames = {QStringLiteral("Survey"),     QStringLiteral("Speeds"),
                                QStringLiteral("15 Minute"),  QStringLiteral("Daily Volume"),
                                QStringLiteral("Weekly"),     QStringLiteral("Speeding"),
                                QStringLiteral("Speed Study")};

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class tst_SurveyExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sheetNames();
    void everyTableInWorkbook();
    void everyTableInCsv();
    void surveyFacts();
    void summaryFigures_data();
    void summaryFigures();
    void speeds();
    void speeding();
    void awkwardLocationInCsv();
    void batchWithTrailingBlanks();
    void failures_data();
    void failures();
    void commandLine_data();
    void commandLine();
    void commandLineProgram();

private:
    QTemporaryDir m_dir;
    QString m_folder;
    ImportedSurvey m_survey;
    QString m_workbook;
    QString m_csvFolder;
    XlsxBook m_book;
};

void tst_SurveyExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(m_folder));
    SampleOptions options;
    options.vehicles = 4000;
    options.days = 3;
    options.startDate = QDate(2025, 12, 30); // into the new year
    options.startTime = QTime(13, 45);
    options.seed = 7;
    m_survey = importSample(m_folder, options);
    QVERIFY2(m_survey.error.isEmpty(), qPrintable(m_survey.error));
    QCOMPARE(m_survey.batch, QStringLiteral("123025-A"));

    m_workbook = m_dir.filePath(QStringLiteral("out/survey.xlsx"));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("out"))));
    const ExportWriteResult book =
        exportSurveyWorkbook(m_survey.database, m_survey.batch, m_workbook);
    QVERIFY2(book.ok(), qPrintable(book.error));
    QCOMPARE(book.files, QStringList{m_workbook});
    m_book = XlsxBook::read(m_workbook);
    QVERIFY2(m_book.error.isEmpty(), qPrintable(m_book.error));

    m_csvFolder = m_dir.filePath(QStringLiteral("csv"));
    QVERIFY(QDir().mkpath(m_csvFolder));
    const ExportWriteResult csv = exportSurveyCsv(m_survey.database, m_survey.batch, m_csvFolder);
    QVERIFY2(csv.ok(), qPrintable(csv.error));
    QCOMPARE(csv.files.size(), SheetNames.size());
}

void tst_SurveyExport::sheetNames()
{
    QCOMPARE(m_book.sheetNames(), SheetNames);
    QStringList files;
    for (const QString &name : SheetNames)
        files << QStringLiteral("123025-A %1.csv").arg(name);
    files.sort();
    QCOMPARE(folderEntries(m_csvFolder), files);
    QCOMPARE(defaultWorkbookName(QStringLiteral("123025-A  ")), QStringLiteral("123025-A.xlsx"));
}

void tst_SurveyExport::everyTableInWorkbook()
{
    DatabaseSession session(m_survey.database);
    session.requireOpen();
    const QVector<ExportTable> tables = surveyExportTables(session, m_survey.batch);
    QCOMPARE(tables.size(), SheetNames.size());
    for (const ExportTable &table : tables) {
        const XlsxSheet *sheet = m_book.sheet(table.name);
        QVERIFY2(sheet, qPrintable(table.name));
        QCOMPARE(sheet->frozenCell, QStringLiteral("A2"));
        for (int c = 0; c < table.columns.size(); ++c) {
            const QString ref = XlsxBook::reference(1, c + 1);
            QCOMPARE(sheet->cell(ref).value, table.columns.at(c).header);
            if (!table.columns.at(c).header.isEmpty())
                QVERIFY2(m_book.style(sheet->cell(ref).style).bold, qPrintable(table.name + ref));
        }
        const QVector<ExportRow> rows = table.allRows();
        QCOMPARE(sheet->lastRow, int(rows.size()) + 1);
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < table.columns.size(); ++c) {
                const ExportCell cell =
                    c < rows.at(r).cells.size() ? rows.at(r).cells.at(c) : ExportCell();
                const QString why = workbookCellMismatch(m_book, *sheet, r + 2, c + 1, cell);
                QVERIFY2(why.isEmpty(), qPrintable(why));
            }
        }
    }
}

void tst_SurveyExport::everyTableInCsv()
{
    DatabaseSession session(m_survey.database);
    session.requireOpen();
    for (const ExportTable &table : surveyExportTables(session, m_survey.batch)) {
        const CsvText csv = readCsvFile(
            QDir(m_csvFolder).filePath(csvFileName(QStringLiteral("123025-A "), table)));
        QVERIFY2(csv.error.isEmpty(), qPrintable(table.name + QLatin1String(": ") + csv.error));
        QStringList header;
        for (const ExportColumn &column : table.columns)
            header << column.header;
        const QVector<ExportRow> rows = table.allRows();
        QCOMPARE(csv.records.size(), rows.size() + 1);
        QCOMPARE(csv.records.first(), header);
        for (int r = 0; r < rows.size(); ++r) {
            QStringList expected;
            for (int c = 0; c < header.size(); ++c)
                expected << (c < rows.at(r).cells.size() ? rows.at(r).cells.at(c).plainText()
                                                         : QString());
            QCOMPARE(csv.records.at(r + 1), expected);
        }
    }
}

void tst_SurveyExport::surveyFacts()
{
    const XlsxSheet *s = m_book.sheet(QStringLiteral("Survey"));
    QVERIFY(s);
    DatabaseSession session(m_survey.database);
    session.requireOpen();
    QSqlQuery q = session.exec(
        QStringLiteral("SELECT Location_Code, Start_Date, Start_Time, Stop_Date, Stop_Time, "
                       "Total_Time, total_seconds FROM Header JOIN Summary USING (Batch_Number) "
                       "WHERE Batch_Number = ?"),
        {m_survey.batch});
    QVERIFY(q.next());
    auto fact = [&](const QString &item) {
        for (int r = 2; r <= s->lastRow; ++r) {
            if (s->cell(XlsxBook::reference(r, 1)).value == item)
                return s->cell(XlsxBook::reference(r, 2));
        }
        return XlsxCell{QStringLiteral("missing"), item, 0};
    };
    auto text = [&](const QString &item, const QString &value) {
        const XlsxCell c = fact(item);
        QCOMPARE(c.type, QStringLiteral("inlineStr"));
        QCOMPARE(c.value, value);
    };
    auto number = [&](const QString &item, double value, const QString &format) {
        const XlsxCell c = fact(item);
        QCOMPARE(c.type, QStringLiteral("n"));
        QCOMPARE(c.value.toDouble(), value);
        QCOMPARE(m_book.style(c.style).numberFormat, format);
    };
    text(QStringLiteral("Batch Number"), QStringLiteral("123025-A"));
    text(QStringLiteral("Location Code"), q.value(0).toString()); // leading zeros kept
    QVERIFY(q.value(0).toString().startsWith(QLatin1Char('0')));
    text(QStringLiteral("Location"), AwkwardLocation);
    text(QStringLiteral("Zone"), QStringLiteral("School"));
    text(QStringLiteral("Direction of Travel"), QStringLiteral("North"));
    number(QStringLiteral("Posted Speed Limit"), 35, QString());
    text(QStringLiteral("Unit"), QStringLiteral("MPH"));
    number(QStringLiteral("Start Date"), excelDateNumber(QDate(2025, 12, 30)),
           QStringLiteral("mm/dd/yyyy"));
    number(QStringLiteral("Start Time"), (13 * 60 + 45) / 1440.0, QStringLiteral("hh:mm AM/PM"));
    number(QStringLiteral("End Date"), excelDateNumber(parseDate(q.value(3).toString())),
           QStringLiteral("mm/dd/yyyy"));
    QVERIFY(parseDate(q.value(3).toString()) >= QDate(2026, 1, 1));
    number(QStringLiteral("End Time"),
           parseTime(q.value(4).toString()).msecsSinceStartOfDay() / 86400000.0,
           QStringLiteral("hh:mm AM/PM"));
    text(QStringLiteral("Total Time"), q.value(5).toString());
    number(QStringLiteral("Total Seconds"), q.value(6).toDouble(), QString());
}

void tst_SurveyExport::summaryFigures_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("fields"); // all, approaching, receding ("" for none)
    QTest::addColumn<QString>("format");
    auto row = [](const char *item, const char *all, const char *a, const char *r,
                  const char *format = "") {
        QTest::newRow(item) << QString::fromLatin1(item)
                            << QStringList{QString::fromLatin1(all), QString::fromLatin1(a),
                                           QString::fromLatin1(r)}
                            << QString::fromLatin1(format);
    };
    row("Vehicles", "Total_Vehicles", "Total_Approach", "Total_Receeding");
    row("Unknown Direction", "Total_Unknown", "", "");
    row("At or Under Limit", "Number_Under", "Number_UnderA", "Number_UnderR");
    row("Over Limit", "Number_Over", "Number_OverA", "Number_OverR");
    row("Over Limit by 1 to 10", "Number_Over10", "Number_OverA10", "Number_OverR10");
    row("Over Limit by 11 to 20", "Number_Over20", "Number_OverA20", "Number_OverR20");
    row("Over Limit by More Than 20", "Number_Over30", "Number_OverA30", "Number_OverR30");
    row("Maximum Speed", "Max_Speed", "", "");
    row("Average Speed", "50th_Percentile", "50th_PercentileA", "50th_PercentileR", "0.0");
    row("85th Percentile", "85th_Percentile", "85th_PercentileA", "85th_PercentileR");
    row("Vehicles in Pace", "Pace_Total", "Pace_TotalA", "Pace_TotalR");
    row("Percent in Pace", "Pace_Percent", "Pace_PercentA", "Pace_PercentR", "0\" %\"");
    row("Pace", "Pace", "PaceA", "PaceR", "text");
}

void tst_SurveyExport::summaryFigures()
{
    QFETCH(QString, item);
    QFETCH(QStringList, fields);
    QFETCH(QString, format);
    const XlsxSheet *s = m_book.sheet(QStringLiteral("Survey"));
    QVERIFY(s);
    int row = 0;
    for (int r = 2; r <= s->lastRow && !row; ++r) {
        if (s->cell(XlsxBook::reference(r, 1)).value == item)
            row = r;
    }
    QVERIFY2(row > 0, qPrintable(item));
    // The heading over the three columns.
    int heading = 0;
    for (int r = 2; r <= s->lastRow && !heading; ++r) {
        if (s->cell(XlsxBook::reference(r, 1)).value == QLatin1String("Summary"))
            heading = r;
    }
    QVERIFY(heading > 0 && heading < row);
    QCOMPARE(s->cell(XlsxBook::reference(heading, 2)).value, QStringLiteral("All Vehicles"));
    QCOMPARE(s->cell(XlsxBook::reference(heading, 3)).value, QStringLiteral("Approaching"));
    QCOMPARE(s->cell(XlsxBook::reference(heading, 4)).value, QStringLiteral("Receding"));
    QVERIFY(m_book.style(s->cell(XlsxBook::reference(heading, 3)).style).bold);

    DatabaseSession session(m_survey.database);
    session.requireOpen();
    for (int i = 0; i < 3; ++i) {
        const QString ref = XlsxBook::reference(row, i + 2);
        if (fields.at(i).isEmpty()) {
            QVERIFY2(!s->has(ref), qPrintable(ref));
            continue;
        }
        const QString stored =
            session
                .scalar(QStringLiteral("SELECT [%1] FROM Summary WHERE Batch_Number = ?")
                            .arg(fields.at(i)),
                        {m_survey.batch})
                .toString();
        QVERIFY2(!stored.isEmpty(), qPrintable(fields.at(i)));
        const XlsxCell cell = s->cell(ref);
        if (format == QLatin1String("text")) {
            QCOMPARE(cell.type, QStringLiteral("inlineStr"));
            QCOMPARE(cell.value, stored);
        } else {
            QCOMPARE(cell.type, QStringLiteral("n"));
            QCOMPARE(cell.value.toDouble(), numericValue(stored)); // "56 %" is 56
            QCOMPARE(m_book.style(cell.style).numberFormat, format);
        }
    }
}

void tst_SurveyExport::speeds()
{
    const XlsxSheet *s = m_book.sheet(QStringLiteral("Speeds"));
    QVERIFY(s);
    QCOMPARE(s->cell(QStringLiteral("A1")).value, QStringLiteral("Speed"));
    QCOMPARE(s->cell(QStringLiteral("D1")).value, QStringLiteral("Receding"));
    DatabaseSession session(m_survey.database);
    session.requireOpen();
    QSqlQuery q =
        session.exec(QStringLiteral("SELECT speed, all_total, All_app, all_rec FROM Speed "
                                    "WHERE batch_number = ? ORDER BY speed"),
                     {m_survey.batch});
    int row = 1;
    qint64 total = 0;
    while (q.next()) {
        ++row;
        for (int c = 0; c < 4; ++c) {
            const XlsxCell cell = s->cell(XlsxBook::reference(row, c + 1));
            QCOMPARE(cell.type, QStringLiteral("n"));
            QCOMPARE(cell.value.toLongLong(), q.value(c).toLongLong());
        }
        total += q.value(1).toLongLong();
    }
    QCOMPARE(row, 61); // 60 mph rows, 14 to 73
    QCOMPARE(s->cell(QStringLiteral("A2")).value, QStringLiteral("14"));
    QCOMPARE(s->cell(QStringLiteral("A61")).value, QStringLiteral("73"));
    QCOMPARE(total, session
                        .scalar(QStringLiteral(
                                    "SELECT Total_Vehicles FROM Summary WHERE Batch_Number = ?"),
                                {m_survey.batch})
                        .toLongLong());

    QCOMPARE(s->chartParts.size(), 1);
    const QString chart = QString::fromUtf8(XlsxBook::readPart(m_workbook, s->chartParts.first()));
    QVERIFY(chart.contains(QLatin1String("<c:barChart>")));
    for (const char *range :
         {"Speeds!$A$2:$A$61", "Speeds!$B$2:$B$61", "Speeds!$C$2:$C$61", "Speeds!$D$2:$D$61"})
        QVERIFY2(chart.contains(QLatin1String(range)), range);
    QVERIFY(chart.contains(QLatin1String("Speed (MPH)")));
}

void tst_SurveyExport::speeding()
{
    const XlsxSheet *s = m_book.sheet(QStringLiteral("Speeding"));
    QVERIFY(s);
    // The band headers of the criteria panel.
    QCOMPARE(s->cell(QStringLiteral("A1")).value, QStringLiteral("Date"));
    QCOMPARE(s->cell(QStringLiteral("B1")).value, QStringLiteral("Time"));
    QCOMPARE(s->cell(QStringLiteral("C1")).value, QStringLiteral("035+"));
    QCOMPARE(s->cell(QStringLiteral("D1")).value, QStringLiteral("45+"));
    QCOMPARE(s->cell(QStringLiteral("E1")).value, QStringLiteral("55+"));
    QCOMPARE(s->cell(QStringLiteral("F1")).value, QStringLiteral("Dir"));

    DatabaseSession session(m_survey.database);
    session.requireOpen();
    QSqlQuery q = session.exec(
        QStringLiteral("SELECT Date, Time, speed_Over, Plus10, Plus20, Dir FROM Speed_Profile "
                       "WHERE Batch_Number = ? ORDER BY rowid"),
        {m_survey.batch});
    int row = 1;
    int bands[3] = {0, 0, 0};
    while (q.next()) {
        ++row;
        const XlsxCell date = s->cell(XlsxBook::reference(row, 1));
        QCOMPARE(date.value.toDouble(), excelDateNumber(parseDate(q.value(0).toString())));
        QCOMPARE(m_book.style(date.style).numberFormat, QStringLiteral("mm/dd/yyyy"));
        const XlsxCell time = s->cell(XlsxBook::reference(row, 2));
        QCOMPARE(time.value.toDouble(),
                 parseTime(q.value(1).toString()).msecsSinceStartOfDay() / 86400000.0);
        QCOMPARE(m_book.style(time.style).numberFormat, QStringLiteral("hh:mm:ss AM/PM"));
        for (int b = 0; b < 3; ++b) {
            const QString stored = q.value(2 + b).toString();
            const QString ref = XlsxBook::reference(row, 3 + b);
            if (stored == QLatin1String("--")) {
                QVERIFY2(!s->has(ref), qPrintable(ref));
            } else {
                ++bands[b];
                QCOMPARE(s->cell(ref).type, QStringLiteral("n"));
                QCOMPARE(s->cell(ref).value, stored);
            }
        }
        QCOMPARE(s->cell(XlsxBook::reference(row, 6)).value, q.value(5).toString());
    }
    QCOMPARE(s->lastRow, row);
    QVERIFY(row > 100);
    // Each band column holds as many speeds as the summary counts in that band.
    const QStringList fields = {QStringLiteral("Number_Over10"), QStringLiteral("Number_Over20"),
                                QStringLiteral("Number_Over30")};
    for (int b = 0; b < 3; ++b)
        QCOMPARE(bands[b],
                 session
                     .scalar(QStringLiteral("SELECT [%1] FROM Summary WHERE Batch_Number = ?")
                                 .arg(fields.at(b)),
                             {m_survey.batch})
                     .toInt());
}

void tst_SurveyExport::awkwardLocationInCsv()
{
    QFile f(QDir(m_csvFolder).filePath(QStringLiteral("123025-A Survey.csv")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains(
        "\r\nLocation,\"Maple Avenue, north of \"\"5th\"\"\nnear the school\",,\r\n"));
    QVERIFY(bytes.startsWith("Survey,Value,,\r\nBatch Number,123025-A,,\r\n"));
}

void tst_SurveyExport::batchWithTrailingBlanks()
{
    // The survey list pads batch numbers; the padded number finds the survey.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ExportWriteResult result =
        exportSurveyCsv(m_survey.database, m_survey.batch + QStringLiteral("  "), dir.path());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("123025-A Speeds.csv"))));
}

void tst_SurveyExport::failures_data()
{
    QTest::addColumn<bool>("workbook");
    QTest::addColumn<QString>("batch");
    QTest::addColumn<bool>("noDatabase");
    QTest::addColumn<QString>("message");
    QTest::newRow("workbook, unknown batch")
        << true << QStringLiteral("010101-Z") << false
        << QStringLiteral("There is no survey with batch number 010101-Z");
    QTest::newRow("CSV, unknown batch")
        << false << QStringLiteral("010101-Z") << false
        << QStringLiteral("There is no survey with batch number 010101-Z");
    QTest::newRow("workbook, no batch")
        << true << QStringLiteral("   ") << false << QStringLiteral("No survey is chosen.");
    QTest::newRow("workbook, no database") << true << QStringLiteral("123025-A") << true
                                           << QStringLiteral("There is no survey database");
    QTest::newRow("CSV, no database") << false << QStringLiteral("123025-A") << true
                                      << QStringLiteral("There is no survey database");
}

void tst_SurveyExport::failures()
{
    QFETCH(bool, workbook);
    QFETCH(QString, batch);
    QFETCH(bool, noDatabase);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString database =
        noDatabase ? dir.filePath(QStringLiteral("OV97.mdb")) : m_survey.database;
    const ExportWriteResult result =
        workbook ? exportSurveyWorkbook(database, batch, dir.filePath(QStringLiteral("x.xlsx")))
                 : exportSurveyCsv(database, batch, dir.path());
    QVERIFY(!result.ok());
    QVERIFY2(result.error.startsWith(message), qPrintable(result.error));
    QVERIFY(folderEntries(dir.path()).isEmpty());
}

void tst_SurveyExport::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString f = QStringLiteral("--folder");
    const QString b = QStringLiteral("--batch");
    QTest::newRow("no batch") << QStringList{f, QStringLiteral("<folder>"),
                                             QStringLiteral("--xlsx"), QStringLiteral("x.xlsx")}
                              << 2 << QStringLiteral("missing --batch B");
    QTest::newRow("no output") << QStringList{f, QStringLiteral("<folder>"), b,
                                              QStringLiteral("123025-A")}
                               << 2
                               << QStringLiteral("give either --xlsx OUT.xlsx or --csv OUTDIR");
    QTest::newRow("both outputs") << QStringList{f,
                                                 QStringLiteral("<folder>"),
                                                 b,
                                                 QStringLiteral("123025-A"),
                                                 QStringLiteral("--xlsx"),
                                                 QStringLiteral("x.xlsx"),
                                                 QStringLiteral("--csv"),
                                                 QStringLiteral("<out>")}
                                  << 2
                                  << QStringLiteral("give either --xlsx OUT.xlsx or --csv OUTDIR");
    QTest::newRow("stray argument") << QStringList{f,
                                                   QStringLiteral("<folder>"),
                                                   b,
                                                   QStringLiteral("123025-A"),
                                                   QStringLiteral("--xlsx"),
                                                   QStringLiteral("x.xlsx"),
                                                   QStringLiteral("extra")}
                                    << 2 << QStringLiteral("unexpected argument extra");
    QTest::newRow("unknown survey")
        << QStringList{f,
                       QStringLiteral("<folder>"),
                       b,
                       QStringLiteral("999999-Q"),
                       QStringLiteral("--xlsx"),
                       QStringLiteral("<out>/x.xlsx")}
        << 1 << QStringLiteral("There is no survey with batch number 999999-Q");
    QTest::newRow("no database") << QStringList{f,
                                                QStringLiteral("<out>"),
                                                b,
                                                QStringLiteral("123025-A"),
                                                QStringLiteral("--xlsx"),
                                                QStringLiteral("<out>/x.xlsx")}
                                 << 1 << QStringLiteral("there is no survey database OV97.mdb in");
    QTest::newRow("workbook") << QStringList{f,
                                             QStringLiteral("<folder>"),
                                             b,
                                             QStringLiteral("123025-A"),
                                             QStringLiteral("--xlsx"),
                                             QStringLiteral("<out>/x.xlsx")}
                              << 0 << QStringLiteral("Workbook written: <out>/x.xlsx");
    QTest::newRow("workbook into a new folder")
        << QStringList{f,
                       QStringLiteral("<folder>"),
                       b,
                       QStringLiteral("123025-A"),
                       QStringLiteral("--xlsx"),
                       QStringLiteral("<out>/new/x.xlsx")}
        << 0 << QStringLiteral("Workbook written: <out>/new/x.xlsx");
    QTest::newRow("CSV into a new folder") << QStringList{f,
                                                          QStringLiteral("<folder>"),
                                                          b,
                                                          QStringLiteral("123025-A"),
                                                          QStringLiteral("--csv"),
                                                          QStringLiteral("<out>/new")}
                                           << 0 << QStringLiteral("CSV files written:");
}

void tst_SurveyExport::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    QTemporaryDir out;
    QVERIFY(out.isValid());
    for (QString &a : arguments) {
        a.replace(QStringLiteral("<folder>"), m_folder);
        a.replace(QStringLiteral("<out>"), out.path());
    }
    message.replace(QStringLiteral("<out>"), out.path());
    const Run r = runCli(QStringList{QStringLiteral("export")} + arguments);
    QCOMPARE(r.code, code);
    QVERIFY2((code == 0 ? r.out : r.err).contains(message), qPrintable(r.out + r.err));
    if (code == 0 && arguments.contains(QStringLiteral("--xlsx"))) {
        const QString file = arguments.at(arguments.indexOf(QStringLiteral("--xlsx")) + 1);
        QCOMPARE(XlsxBook::read(file).sheetNames(), SheetNames);
    } else if (code == 0) {
        QCOMPARE(folderEntries(out.filePath(QStringLiteral("new"))).size(), SheetNames.size());
    } else {
        QVERIFY(folderEntries(out.path()).isEmpty());
    }
}

void tst_SurveyExport::commandLineProgram()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess p;
    p.start(QStringLiteral(ROADTALLY_CLI),
            {QStringLiteral("export"), QStringLiteral("--folder"), m_folder,
             QStringLiteral("--batch"), m_survey.batch, QStringLiteral("--xlsx"),
             out.filePath(QStringLiteral("s.xlsx"))});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(p.readAllStandardOutput())
                .contains(QLatin1String("Sheets: Survey, Speeds")));
    QCOMPARE(XlsxBook::read(out.filePath(QStringLiteral("s.xlsx"))).sheetNames(), SheetNames);

    p.start(QStringLiteral(ROADTALLY_CLI), {QStringLiteral("help")});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY(QString::fromLocal8Bit(p.readAllStandardOutput()).contains(QLatin1String("export")));
}

QTEST_GUILESS_MAIN(tst_SurveyExport)
#include "tst_SurveyExport.moc"
