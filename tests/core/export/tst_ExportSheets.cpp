// The contents of the export's sheets: whole CSV outputs of a fixed survey
// against golden files, and the time sheets held against the stored Time_15
// rows (counts as numbers, "*" as 0, hour totals on the hour rows only), the
// weekly grid (weekdays the survey does not cover stay empty), the study's
// vehicle counts, and a survey that stopped part-way.
//
// ROADTALLY_UPDATE_GOLDEN=1 writes the golden files afresh.
#include "fixtures/ExportFixture.h"

#include "core/analysis/SurveyCaptions.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/export/CsvWriter.h"
#include "core/export/SurveyExport.h"
#include "core/store/DatabaseSession.h"
#include "core/text/TextPatterns.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

const QString RawData = QStringLiteral(ROADTALLY_TEST_DATA "/raw");
const QString Golden = QStringLiteral(ROADTALLY_TEST_DATA "/export");

const ExportTable *tableNamed(const QVector<ExportTable> &tables, const QString &name)
{
    for (const ExportTable &t : tables)
        if (t.name == name)
            return &t;
    return nullptr;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A number cell's value; NaN for any other cell.
double numberIn(const ExportRow &row, int column)
{
    if (column >= row.cells.size() || row.cells.at(column).type != ExportCell::Type::Number)
        return qQNaN();
    return row.cells.at(column).number;
}

} // namespace

class tst_ExportSheets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void golden_data();
    void golden();
    void fifteenMinute();
    void dailyVolume();
    void weekly();
    void speedStudy();
    void surveyStoppedPartWay();

private:
    QTemporaryDir m_dir;
    ImportedSurvey m_survey; // month-end-3day.ovd: Thursday 01/30/2025 22:00 to Sunday
    QVector<ExportTable> m_tables;
    std::unique_ptr<DatabaseSession> m_session;
};

void tst_ExportSheets::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString folder = m_dir.filePath(QStringLiteral("month-end"));
    QVERIFY(QDir().mkpath(folder));
    m_survey =
        importFile(folder, RawData + QStringLiteral("/month-end-3day.ovd"), QStringLiteral("MPH"));
    QVERIFY2(m_survey.error.isEmpty(), qPrintable(m_survey.error));
    m_session = std::make_unique<DatabaseSession>(m_survey.database);
    m_session->requireOpen();
    m_tables = surveyExportTables(*m_session, m_survey.batch);
    QCOMPARE(m_tables.size(), 7);
}

void tst_ExportSheets::golden_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("batch");
    // Three days across a year end, in km/h: 93 speed rows, dates of two years.
    QTest::newRow("year-end-kph") << QStringLiteral("year-end-kph.ovd") << QStringLiteral("KPH")
                                  << QStringLiteral("123024-A");
    // Three days across a month end, in mph, from 10 PM.
    QTest::newRow("month-end-3day") << QStringLiteral("month-end-3day.ovd") << QStringLiteral("MPH")
                                    << QStringLiteral("013025-A");
}

void tst_ExportSheets::golden()
{
    QFETCH(QString, raw);
    QFETCH(QString, unit);
    QFETCH(QString, batch);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ImportedSurvey survey = importFile(dir.path(), RawData + QLatin1Char('/') + raw, unit);
    QVERIFY2(survey.error.isEmpty(), qPrintable(survey.error));
    QCOMPARE(survey.batch, batch);
    const QString out = dir.filePath(QStringLiteral("csv"));
    QVERIFY(QDir().mkpath(out));
    const ExportWriteResult result = exportSurveyCsv(survey.database, batch, out);
    QVERIFY2(result.ok(), qPrintable(result.error));

    // The study's figures and notes belong to the study; its sheet is checked apart.
    const QStringList sheets = {QStringLiteral("Survey"),    QStringLiteral("Speeds"),
                                QStringLiteral("15 Minute"), QStringLiteral("Daily Volume"),
                                QStringLiteral("Weekly"),    QStringLiteral("Speeding")};
    const QString goldenFolder =
        Golden + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag());
    const bool update = qEnvironmentVariableIntValue("ROADTALLY_UPDATE_GOLDEN") == 1;
    for (const QString &sheet : sheets) {
        const QString name = batch + QLatin1Char(' ') + sheet + QStringLiteral(".csv");
        const QByteArray written = fileBytes(QDir(out).filePath(name));
        QVERIFY2(!written.isEmpty(), qPrintable(name));
        const QString goldenFile = QDir(goldenFolder).filePath(name);
        if (update) {
            QDir().mkpath(goldenFolder);
            QFile f(goldenFile);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(written);
            continue;
        }
        const QByteArray expected = fileBytes(goldenFile);
        QVERIFY2(!expected.isEmpty(), qPrintable(goldenFile + QLatin1String(" is missing")));
        if (written != expected) {
            // Name the first line that differs.
            const QList<QByteArray> a = written.split('\n'), b = expected.split('\n');
            for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
                const QByteArray x = a.value(i), y = b.value(i);
                QVERIFY2(x == y,
                         qPrintable(QStringLiteral("%1 line %2: written \"%3\", expected \"%4\"")
                                        .arg(name)
                                        .arg(i + 1)
                                        .arg(QString::fromUtf8(x.trimmed()),
                                             QString::fromUtf8(y.trimmed()))));
            }
        }
    }
}

void tst_ExportSheets::fifteenMinute()
{
    const ExportTable *t = tableNamed(m_tables, QStringLiteral("15 Minute"));
    QVERIFY(t);
    QSqlQuery q = m_session->exec(
        QStringLiteral(
            "SELECT Date, TimeAM, AMApp, AMRec, AMHourTotal, TimePM, PMApp, PMRec, PMHourTotal "
            "FROM Time_15 WHERE Batch_Number = ?"),
        {m_survey.batch});
    // The stored rows by date and block; the sheet lists the dates in calendar order.
    QMap<QPair<QDate, QString>, QStringList> stored;
    while (q.next()) {
        QStringList fields;
        for (int i = 1; i < 9; ++i)
            fields << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        stored.insert({parseDate(q.value(0).toString()), q.value(1).toString()}, fields);
    }
    QCOMPARE(t->rows.size(), 4 * 48); // 01/30 to 02/02
    QCOMPARE(qsizetype(stored.size()), t->rows.size());
    QDate previous;
    int hourRows = 0;
    for (int r = 0; r < t->rows.size(); ++r) {
        const ExportRow &row = t->rows.at(r);
        QCOMPARE(row.cells.size(), 9);
        QCOMPARE(row.cells.at(0).type, ExportCell::Type::Date);
        const QDate date = row.cells.at(0).date;
        QVERIFY(!previous.isValid() || date >= previous);
        previous = date;
        QCOMPARE(row.cells.at(1).type, ExportCell::Type::Text);
        const QStringList fields = stored.value({date, row.cells.at(1).text});
        QVERIFY2(!fields.isEmpty(), qPrintable(row.cells.at(1).text));
        QCOMPARE(row.cells.at(5).text, fields.at(4)); // TimePM
        for (int c : {2, 3, 4, 6, 7, 8}) {
            const QString text = fields.at(c - 1);
            const ExportCell &cell = row.cells.at(c);
            if (text == QLatin1String("<null>")) {
                QVERIFY2(cell.isEmpty(),
                         qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
            } else {
                QCOMPARE(cell.type, ExportCell::Type::Number);
                QCOMPARE(cell.number, text == QLatin1String("*") ? 0.0 : text.toDouble());
            }
        }
        // Hour totals on every fourth row only.
        QCOMPARE(!row.cells.at(4).isEmpty(), r % 4 == 3);
        hourRows += !row.cells.at(8).isEmpty();
    }
    QCOMPARE(hourRows, 4 * 12);
    QCOMPARE(t->charts.size(), 1);
    QCOMPARE(t->charts.first().dataSheet, QStringLiteral("Daily Volume"));
    QCOMPARE(t->charts.first().series.size(), 4);
    QCOMPARE(t->charts.first().series.first().name, QStringLiteral("01/30/2025"));
}

void tst_ExportSheets::dailyVolume()
{
    const ExportTable *t = tableNamed(m_tables, QStringLiteral("Daily Volume"));
    QVERIFY(t);
    QCOMPARE(t->columns.size(), 5);
    QCOMPARE(t->columns.at(4).header, QStringLiteral("02/02/2025"));
    QCOMPARE(t->rows.size(), 24);
    QCOMPARE(t->rows.at(13).cells.at(0).text, QStringLiteral("13:00"));
    for (int d = 0; d < 4; ++d) {
        const QDate date = QDate(2025, 1, 30).addDays(d);
        // The hour totals of both halves of the day, "*" counting 0.
        QSqlQuery q = m_session->exec(
            QStringLiteral("SELECT AMHourTotal, PMHourTotal FROM Time_15 WHERE "
                           "Batch_Number = ? AND Date = ? AND AMHourTotal IS NOT NULL "
                           "ORDER BY TimeAM"),
            {m_survey.batch, formatDate(date, QStringLiteral("mm/dd/yy"))});
        int k = 0;
        while (q.next()) {
            QCOMPARE(numberIn(t->rows.at(k), d + 1), numericValue(q.value(0).toString()));
            QCOMPARE(numberIn(t->rows.at(k + 12), d + 1), numericValue(q.value(1).toString()));
            ++k;
        }
        QCOMPARE(k, 12);
    }
}

void tst_ExportSheets::weekly()
{
    const ExportTable *t = tableNamed(m_tables, QStringLiteral("Weekly"));
    QVERIFY(t);
    QCOMPARE(t->columns.size(), 19);
    QCOMPARE(t->columns.at(0).header, QStringLiteral("Interval"));
    QCOMPARE(t->columns.at(17).header, QStringLiteral("Weekend Avg. A"));
    QCOMPARE(t->rows.size(), 27); // 24 hours, totals, combined, split

    const std::optional<SurveyCaptions> survey = readSurveyCaptions(*m_session, m_survey.batch);
    QVERIFY(survey);
    WeeklyGrid cleared = WeeklyGrid::designState();
    clearWeekData(cleared);
    const WeeklyResult r = computeWeeklyGrid(
        *m_session, {m_survey.batch, survey->startDate(), survey->stopDate(), cleared});
    QVERIFY(r.computed());
    // Thursday to Sunday are surveyed; Monday to Wednesday show nothing.
    for (int c = 0; c < WeeklyGrid::ColumnCount; ++c) {
        const bool covered = c >= 6;
        QCOMPARE(
            t->columns.at(c + 1).header,
            (c < 14 ? r.grid.headers.at(c / 2)
                    : QString::fromLatin1(c < 16 ? WeekdayAverageCaption : WeekendAverageCaption)) +
                (c % 2 ? QStringLiteral(" R") : QStringLiteral(" A")));
        for (int row = 0; row < WeeklyGrid::RowCount; ++row) {
            const ExportCell &cell = t->rows.at(row).cells.at(c + 1);
            const QString where = QStringLiteral("column %1 row %2").arg(c).arg(row);
            if (!covered) {
                QVERIFY2(cell.isEmpty(), qPrintable(where));
                continue;
            }
            QVERIFY2(cell.type == ExportCell::Type::Number, qPrintable(where));
            QCOMPARE(cell.number, numericValue(r.grid.cell(c, row))); // "*" and "" count 0
        }
    }
    QCOMPARE(t->rows.at(24).cells.at(0).text, QStringLiteral("Totals"));
    QVERIFY(t->rows.at(24).emphasis);
    // Combined in the A column of each pair; the split as two shares.
    const ExportRow &combined = t->rows.at(25);
    const ExportRow &split = t->rows.at(26);
    QCOMPARE(combined.cells.at(0).text, QStringLiteral("Combined"));
    QCOMPARE(split.cells.at(0).text, QStringLiteral("Split %"));
    for (int p = 0; p < 9; ++p) {
        const bool covered = p >= 3;
        QCOMPARE(combined.cells.at(1 + 2 * p + 1).isEmpty(), true);
        if (!covered) {
            QVERIFY(combined.cells.at(1 + 2 * p).isEmpty());
            QVERIFY(split.cells.at(1 + 2 * p).isEmpty());
            continue;
        }
        QCOMPARE(numberIn(combined, 1 + 2 * p), numericValue(r.grid.combined.at(p)));
        const QStringList shares = r.grid.split.at(p).split(QStringLiteral(" | "));
        QCOMPARE(shares.size(), 2);
        QCOMPARE(numberIn(split, 1 + 2 * p), numericValue(shares.at(0)));
        QCOMPARE(numberIn(split, 2 + 2 * p), numericValue(shares.at(1)));
        QCOMPARE(numberIn(split, 1 + 2 * p) + numberIn(split, 2 + 2 * p), 100.0);
    }
}

void tst_ExportSheets::speedStudy()
{
    const ExportTable *t = tableNamed(m_tables, QStringLiteral("Speed Study"));
    QVERIFY(t);
    QCOMPARE(t->columns.at(1).header, QStringLiteral("All Vehicles"));
    QCOMPARE(t->rows.first().cells.at(0).text, QStringLiteral("Vehicles"));
    // The study counts the vehicles of the Speed rows: every vehicle, "+" and "-".
    const QStringList totals = {QStringLiteral("all_total"), QStringLiteral("All_app"),
                                QStringLiteral("all_rec")};
    for (int c = 0; c < 3; ++c) {
        const double n =
            m_session
                ->scalar(QStringLiteral("SELECT SUM([%1]) FROM Speed WHERE batch_number = ?")
                             .arg(totals.at(c)),
                         {m_survey.batch})
                .toDouble();
        QCOMPARE(numberIn(t->rows.first(), c + 1), n);
    }
    // Speeds are numbers, with the unit in the row's name.
    for (const ExportRow &row : t->rows) {
        if (row.cells.value(0).text.startsWith(QLatin1String("Mean Speed"))) {
            QCOMPARE(row.cells.at(0).text, QStringLiteral("Mean Speed (mph)"));
            QCOMPARE(row.cells.at(1).type, ExportCell::Type::Number);
            QCOMPARE(row.cells.at(1).format, QStringLiteral("0.0"));
        }
    }
}

void tst_ExportSheets::surveyStoppedPartWay()
{
    // A Header row without any derived rows: every sheet is still written, with
    // what exists, and the weekly sheet says why it has no grid.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString database = databasePathIn(dir.path());
    QVERIFY(createBlankDatabase(database).isEmpty());
    {
        DatabaseSession s(database);
        s.requireOpen();
        s.exec(QStringLiteral("INSERT INTO Header (Batch_Number, Location, Date, Time, Radar_Mode, "
                              "Violation_Alert) "
                              "VALUES (?, ?, ?, ?, ?, ?)"),
               {QStringLiteral("060125-B"), QStringLiteral("Elm Street"),
                QStringLiteral("06/01/2025"), QStringLiteral("09:30"), QStringLiteral("MPH"),
                QStringLiteral("025")});
    }
    const QString file = dir.filePath(QStringLiteral("partial.xlsx"));
    const ExportWriteResult result =
        exportSurveyWorkbook(database, QStringLiteral("060125-B"), file);
    QVERIFY2(result.ok(), qPrintable(result.error));
    const XlsxBook book = XlsxBook::read(file);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.sheets.size(), 7);
    const XlsxSheet *survey = book.sheet(QStringLiteral("Survey"));
    QVERIFY(survey);
    // The start from the Header row, the limit from the alert speed.
    QCOMPARE(survey->cell(QStringLiteral("B9")).value.toDouble(),
             excelDateNumber(QDate(2025, 6, 1)));
    QCOMPARE(survey->cell(QStringLiteral("B10")).value.toDouble(), (9 * 60 + 30) / 1440.0);
    QCOMPARE(survey->cell(QStringLiteral("B7")).value, QStringLiteral("25"));
    QVERIFY(!survey->has(QStringLiteral("B11"))); // no end date
    QCOMPARE(book.sheet(QStringLiteral("Speeds"))->lastRow, 1);
    QCOMPARE(book.sheet(QStringLiteral("15 Minute"))->lastRow, 1);
    QVERIFY(book.sheet(QStringLiteral("15 Minute"))->chartParts.isEmpty());
    QCOMPARE(book.sheet(QStringLiteral("Speeding"))->lastRow, 1);
    const XlsxSheet *weekly = book.sheet(QStringLiteral("Weekly"));
    QCOMPARE(weekly->lastRow, 2);
    QCOMPARE(weekly->cell(QStringLiteral("A2")).type, QStringLiteral("inlineStr"));
    QVERIFY(!weekly->cell(QStringLiteral("A2")).value.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ExportSheets)
#include "tst_ExportSheets.moc"
