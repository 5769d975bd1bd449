// The same surveys imported into the one-file database and into a server give
// the same tables, views, report rows and export files; imports on several
// workstations at once neither fail nor double a survey, and a connection lost
// mid-import leaves nothing behind.

#include "core/analysis/DisplayScheme.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/export/SurveyExport.h"
#include "core/export/SurveySheets.h"
#include "core/intake/ImportRequest.h"
#include "core/intake/VehicleImport.h"
#include "core/reports/Report15min.h"
#include "core/reports/SpeedProfile.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyDates.h"
#include "core/survey/SurveyList.h"
#include "core/upkeep/SurveyCopy.h"
#include "core/upkeep/SurveyDeletion.h"
#include "fixtures/SurveyTables.h"
#include "fixtures/TestServer.h"
#include "sample/SampleSurvey.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace roadtally;

namespace {

ImportInput inputOf(const QString &file, const QString &unit, const QString &letter)
{
    ImportRequest request;
    request.location = u"Maple Avenue"_qs;
    request.direction = u"North"_qs;
    request.zone = u"School"_qs;
    request.unit = unit;
    request.letter = letter;
    return buildImportInput(loadRawDataPath(file).text, request);
}

// A child process importing one file: "--import DATABASE FILE UNIT LETTER".
// Exit status 0 stored, 3 already there, 1 anything else.
int childImport(const QStringList &args)
{
    const ImportResult result =
        importSurvey(args.at(0), inputOf(args.at(1), args.at(2), args.at(3)));
    std::fprintf(stderr, "%s\n", qPrintable(importMessage(result)));
    return result.outcome == ImportOutcome::Stored           ? 0
           : result.outcome == ImportOutcome::DuplicateBatch ? 3
                                                             : 1;
}

QString exportCellsText(const QVector<ExportTable> &tables)
{
    QStringList out;
    for (const ExportTable &table : tables) {
        out << table.name;
        for (const ExportColumn &c : table.columns)
            out << c.header;
        table.forEachRow([&](const ExportRow &row) {
            QStringList cells;
            for (const ExportCell &cell : row.cells)
                cells << cell.plainText() + QLatin1Char('/') + cell.format;
            out << cells.join(QLatin1Char('|'));
        });
    }
    return out.join(QLatin1Char('\n'));
}

QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            out.insert(it.fileName(), f.readAll());
    }
    return out;
}

} // namespace

class tst_ServerBackend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tablesAreEqual();
    void viewsAreEqual_data();
    void viewsAreEqual();
    void exportFilesAreEqual();
    void sameSurveyAgainIsRefused();
    void differentFilesAtOnce();
    void sameFileAtOnce();
    void connectionKilledMidImport();
    void copyThroughServer();
    void deleteAndErase();

private:
    QString writeSample(const QString &name, const SampleOptions &options);
    QProcess *startImport(const QString &database, const QString &file, const QString &unit,
                          const QString &letter);
    QString freshServerDatabase();

    std::unique_ptr<test::TestServer> m_server;
    QTemporaryDir m_dir;
    QString m_file; // the one-file database
    QString m_uri;  // the server database with the same surveys
    QStringList m_batches;
};

QString tst_ServerBackend::writeSample(const QString &name, const SampleOptions &options)
{
    const QString file = m_dir.filePath(name);
    const QString error = writeSampleSurvey(generateSampleSurvey(options), file);
    return error.isEmpty() ? file : QString();
}

QString tst_ServerBackend::freshServerDatabase()
{
    const QString uri = m_server->createDatabase();
    if (uri.isEmpty() || !createServerDatabase(uri).isEmpty())
        return QString();
    return uri;
}

QProcess *tst_ServerBackend::startImport(const QString &database, const QString &file,
                                         const QString &unit, const QString &letter)
{
    auto *p = new QProcess(this);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QCoreApplication::applicationFilePath(),
             {u"--import"_qs, database, file, unit, letter});
    return p;
}

void tst_ServerBackend::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_server = std::make_unique<test::TestServer>();
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    m_uri = freshServerDatabase();
    QVERIFY2(!m_uri.isEmpty(), qPrintable(m_server->error()));
    m_file = databasePathIn(m_dir.path());
    QCOMPARE(createBlankDatabase(m_file), QString());

    SampleOptions week;
    week.vehicles = 6000;
    week.days = 8;
    week.startDate = QDate(2025, 12, 28); // across a year end
    SampleOptions kph;
    kph.kph = true;
    kph.vehicles = 2500;
    kph.seed = 7;
    kph.startDate = QDate(2026, 3, 16);
    const QList<std::tuple<SampleOptions, QString, QString>> surveys{
        {week, u"MPH"_qs, u"A"_qs},
        {kph, u"KPH"_qs, u"B"_qs},
        {SampleOptions(), u"MPH"_qs, u"C"_qs}};
    int n = 0;
    for (const auto &[options, unit, letter] : surveys) {
        const QString file = writeSample(u"s%1.ovd"_qs.arg(++n), options);
        QVERIFY(!file.isEmpty());
        const ImportInput input = inputOf(file, unit, letter);
        for (const QString &database : {m_file, m_uri}) {
            const ImportResult result = importSurvey(database, input);
            QVERIFY2(result.outcome == ImportOutcome::Stored,
                     qPrintable(importMessage(result) + result.detail));
        }
        m_batches << input.batchNumber;
    }
}

void tst_ServerBackend::tablesAreEqual()
{
    DatabaseSession file(m_file), server(m_uri);
    QVERIFY(server.isOpen());
    const QStringList a = test::surveyTableLines(file), b = test::surveyTableLines(server);
    QVERIFY(a.size() > 1000);
    QCOMPARE(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i)
        QCOMPARE(b.at(i), a.at(i));
}

void tst_ServerBackend::viewsAreEqual_data()
{
    QTest::addColumn<QString>("batch");
    for (const QString &batch : std::as_const(m_batches))
        QTest::newRow(qPrintable(batch)) << batch;
}

void tst_ServerBackend::viewsAreEqual()
{
    QFETCH(QString, batch);
    DatabaseSession file(m_file), server(m_uri);
    // Everything the survey's sheets show: speeds, 15-minute tables, daily
    // volume, weekly grid, speeding list and speed study.
    QCOMPARE(exportCellsText(surveyExportTables(server, batch)),
             exportCellsText(surveyExportTables(file, batch)));
    QCOMPARE(surveyDates(server, batch), surveyDates(file, batch));
    const auto list = [](DatabaseSession &s) {
        QStringList lines;
        for (const SurveyListEntry &e : readSurveyList(s))
            lines << surveyListLine(e);
        return lines;
    };
    QCOMPARE(list(server), list(file));
    const auto summaryA = summaryRow(file, batch), summaryB = summaryRow(server, batch);
    QVERIFY(summaryA.size() > 40);
    for (auto it = summaryA.cbegin(); it != summaryA.cend(); ++it) {
        QVERIFY2(summaryB.contains(it.key()), qPrintable(it.key()));
        QCOMPARE(summaryB.value(it.key()).toString(), it.value().toString());
    }
    // The rows the reports print.
    for (const SurveyDirection d :
         {SurveyDirection::Approaching, SurveyDirection::Receding, SurveyDirection::Both})
        QCOMPARE(speedProfileRows(server, batch, d), speedProfileRows(file, batch, d));
    for (const QString &date : surveyDates(file, batch)) {
        for (const SurveyDirection d :
             {SurveyDirection::Approaching, SurveyDirection::Receding, SurveyDirection::Both}) {
            const TextRecords a = fifteenMinuteRows(file, batch, date, d);
            const TextRecords b = fifteenMinuteRows(server, batch, date, d);
            QCOMPARE(b, a);
        }
    }
}

void tst_ServerBackend::exportFilesAreEqual()
{
    const QString a = m_dir.filePath(u"csv-file"_qs), b = m_dir.filePath(u"csv-server"_qs);
    QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
    for (const QString &batch : std::as_const(m_batches)) {
        const ExportWriteResult x = exportSurveyCsv(m_file, batch, a);
        QVERIFY2(x.error.isEmpty(), qPrintable(x.error));
        const ExportWriteResult y = exportSurveyCsv(m_uri, batch, b);
        QVERIFY2(y.error.isEmpty(), qPrintable(y.error));
    }
    const auto filesA = filesIn(a), filesB = filesIn(b);
    QVERIFY(filesA.size() >= 3 * 5);
    QCOMPARE(filesB.keys(), filesA.keys());
    for (auto it = filesA.cbegin(); it != filesA.cend(); ++it)
        QVERIFY2(filesB.value(it.key()) == it.value(), qPrintable(it.key()));
}

void tst_ServerBackend::sameSurveyAgainIsRefused()
{
    const ImportInput input = inputOf(m_dir.filePath(u"s3.ovd"_qs), u"MPH"_qs, u"C"_qs);
    const ImportResult result = importSurvey(m_uri, input);
    QCOMPARE(result.outcome, ImportOutcome::DuplicateBatch);
}

void tst_ServerBackend::differentFilesAtOnce()
{
    const QString uri = freshServerDatabase();
    QVERIFY(!uri.isEmpty());
    SampleOptions one, two;
    one.vehicles = two.vehicles = 40000;
    two.startDate = QDate(2025, 6, 2);
    two.seed = 3;
    const QString a = writeSample(u"d1.ovd"_qs, one), b = writeSample(u"d2.ovd"_qs, two);
    QProcess *first = startImport(uri, a, u"MPH"_qs, u"A"_qs);
    QProcess *second = startImport(uri, b, u"MPH"_qs, u"A"_qs);
    QVERIFY(first->waitForFinished(120000) && second->waitForFinished(120000));
    QCOMPARE(first->exitCode(), 0);
    QCOMPARE(second->exitCode(), 0);
    DatabaseSession session(uri);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Header]"_qs).toInt(), 2);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Summary]"_qs).toInt(), 2);
    // As one after the other: Veh_Data holds the vehicles of the survey stored last.
    const QString last =
        session.scalar(u"SELECT min([Batch_Number]) FROM [Veh_Data]"_qs).toString();
    QCOMPARE(session.scalar(u"SELECT count(DISTINCT [Batch_Number]) FROM [Veh_Data]"_qs).toInt(),
             1);
    QCOMPARE(
        session.scalar(u"SELECT count(*) FROM [Veh_Data]"_qs).toInt(),
        session
            .scalar(u"SELECT [Total_Vehicles] FROM [Summary] WHERE [Batch_Number] = ?"_qs, {last})
            .toInt());
}

void tst_ServerBackend::sameFileAtOnce()
{
    const QString uri = freshServerDatabase();
    QVERIFY(!uri.isEmpty());
    SampleOptions options;
    options.vehicles = 40000;
    const QString file = writeSample(u"same.ovd"_qs, options);
    QProcess *first = startImport(uri, file, u"MPH"_qs, u"A"_qs);
    QProcess *second = startImport(uri, file, u"MPH"_qs, u"A"_qs);
    QVERIFY(first->waitForFinished(120000) && second->waitForFinished(120000));
    QList<int> codes{first->exitCode(), second->exitCode()};
    std::sort(codes.begin(), codes.end());
    QCOMPARE(codes, QList<int>({0, 3}));
    DatabaseSession session(uri);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Header]"_qs).toInt(), 1);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Summary]"_qs).toInt(), 1);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Veh_Data]"_qs).toInt(),
             session.scalar(u"SELECT [Total_Vehicles] FROM [Summary]"_qs).toInt());
}

void tst_ServerBackend::connectionKilledMidImport()
{
    const QString uri = freshServerDatabase();
    QVERIFY(!uri.isEmpty());
    SampleOptions options;
    options.vehicles = 400000;
    options.days = 7;
    const QString file = writeSample(u"long.ovd"_qs, options);
    QProcess *import = startImport(uri, file, u"MPH"_qs, u"A"_qs);
    // Wait until the vehicles stream in, then cut the connection.
    const QString database = uri.section(QLatin1Char('/'), -1);
    QElapsedTimer timer;
    timer.start();
    QVariant killed;
    while (timer.elapsed() < 60000 && import->state() != QProcess::NotRunning) {
        QVERIFY(m_server->adminExec(
            u"SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE datname = "
            "'%1' AND application_name = 'roadtally' AND query LIKE 'COPY%%'"_qs.arg(database),
            &killed));
        if (killed.toInt() > 0)
            break;
        QTest::qWait(5);
    }
    QCOMPARE(killed.toInt(), 1);
    QVERIFY(import->waitForFinished(60000));
    QCOMPARE(import->exitCode(), 1);
    DatabaseSession session(uri);
    QVERIFY(session.isOpen());
    for (const TableDef &table : surveyTables()) {
        if (table.name == u"Radar"_qs || table.name == u"Agency"_qs)
            continue;
        QCOMPARE(session.scalar(u"SELECT count(*) FROM [%1]"_qs.arg(table.name)).toInt(), 0);
    }
}

void tst_ServerBackend::copyThroughServer()
{
    const QString server = freshServerDatabase();
    QVERIFY(!server.isEmpty());
    const QString folder = m_dir.filePath(u"copied"_qs);
    QVERIFY(QDir().mkpath(folder));
    const QString back = databasePathIn(folder);
    QCOMPARE(createBlankDatabase(back), QString());

    const CopyResult up = copySurveys(m_file, server);
    QVERIFY2(up.ok(), qPrintable(up.error));
    QCOMPARE(up.copied.size(), m_batches.size());
    const CopyResult down = copySurveys(server, back);
    QVERIFY2(down.ok(), qPrintable(down.error));
    QCOMPARE(down.rows, up.rows);
    DatabaseSession original(m_file), copy(back);
    QCOMPARE(test::surveyTableLines(copy), test::surveyTableLines(original));

    // Again: every survey is there already, and named.
    const CopyResult again = copySurveys(m_file, server, {m_batches.first()});
    QVERIFY(again.ok());
    QCOMPARE(again.copied, QStringList());
    QCOMPARE(again.skipped, QStringList{m_batches.first()});
    QVERIFY(again.summary(server).contains(m_batches.first()));
    // A batch the source lacks: nothing is written.
    const CopyResult missing = copySurveys(m_file, back, {u"999999-Z"_qs});
    QVERIFY(missing.error.contains(u"999999-Z"_qs));
    QVERIFY(!copySurveys(m_file, m_file).ok());
}

void tst_ServerBackend::deleteAndErase()
{
    const QString batch = m_batches.constLast();
    const DeletionResult deleted = deleteSurvey(m_uri, batch);
    QVERIFY2(deleted.message.isEmpty(), qPrintable(deleted.message));
    QVERIFY(!surveyBatchNumbers(m_uri).contains(batch));
    QCOMPARE(surveyBatchNumbers(m_uri).size(), m_batches.size() - 1);
    const EraseResult erased = eraseDatabase(m_uri);
    QVERIFY2(erased.message.isEmpty(), qPrintable(erased.message));
    QVERIFY(surveyBatchNumbers(m_uri).isEmpty());
    DatabaseSession session(m_uri);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Radar]"_qs).toInt(), 1);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args.at(1) == u"--import"_qs)
        return childImport(args.mid(2));
    tst_ServerBackend test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ServerBackend.moc"
