// roadtally-bench: how long the import of a long survey takes, next to a bare
// SQLite insert of the rows it stores; then how long each view of the largest
// survey takes, as the user's action (open the database, query, compute, put
// the chart on a Graph); how long the reports take to lay out and to write as
// PDF (ReportBench.cpp); and how long the export of a survey with some 200,000
// speeding vehicles to an Excel workbook takes, in a child process of its own
// for its peak memory; last, the comparison window and roadtally-cli compare on
// two surveys of the largest size (CompareBench.cpp).
//
// For each size (10,000, 100,000 and 1,000,000 vehicles over 14 days) it writes
// a generated raw data file, imports it the way the processing window and
// roadtally-cli do (load with end marks, parse, store, all four statistics) in a
// child process of its own, so that the child's peak memory is the import's,
// then reads the stored rows back and times inserting them into a fresh blank
// database (same schema and indexes), one transaction, one prepared statement
// per table, one row per statement: once only the Veh_Data rows, once every row
// the import stores (Header, Veh_Data, Summary, Speed, Speed_Profile, Time_15).
#include "CompareBench.h"
#include "PeakMemory.h"
#include "ProfileListBench.h"
#include "ProfileReportBench.h"
#include "ReportBench.h"
#include "ServerBench.h"
#include "core/analysis/ChartSeries.h"
#include "core/analysis/DailyVolume.h"
#include "core/analysis/DisplayScheme.h"
#include "core/analysis/FifteenMinute.h"
#include "core/analysis/SpeedCharts.h"
#include "core/analysis/SurveyCaptions.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/analysis/WeeklyGrid.h"
#include "core/export/SurveyExport.h"
#include "core/intake/ImportRequest.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyDates.h"
#include "sample/SampleSurvey.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace roadtally;

namespace {

// Processor seconds of this process so far (user and system). On a shared
// machine they vary less than the wall-clock time.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Child mode: import one file into the folder's database (or the server's, for
// a server URI) and report
// "seconds stored peak-kB start-kB outcome cpu-seconds" and the seconds at the
// end of each phase: load, parse and store (progress 25), Summary2 and the speed
// table (50), Speed_Profile (75), Time15min (90); the commit follows.
int importChild(const QString &file, const QString &folder, bool plainSql)
{
    DatabaseSession::setDirectEngineAllowed(!plainSql);
    const long before = peakKilobytes();
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const LoadResult loaded = loadRawDataPath(file);
    QList<double> phases{timer.nsecsElapsed() / 1e9};
    ImportRequest request;
    request.location = QStringLiteral("Benchmark Road");
    request.direction = QStringLiteral("North");
    request.zone = QStringLiteral("Highway");
    const ImportResult result =
        importSurvey(isServerDatabase(folder) ? folder : databasePathIn(folder),
                     buildImportInput(loaded.text, request), [&](int p) {
                         if (p == 25 || p == 50 || p == 75 || p == 90)
                             phases << timer.nsecsElapsed() / 1e9;
                     });
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%.6f %d %ld %ld %d %.6f", seconds, result.storedVehicles, peakKilobytes(), before,
                int(result.outcome), cpuSeconds() - cpuBefore);
    for (double at : std::as_const(phases))
        std::printf(" %.6f", at);
    std::printf("\n");
    if (result.outcome != ImportOutcome::Stored)
        std::fprintf(stderr, "import failed: %s %s\n", qPrintable(importMessage(result.outcome)),
                     qPrintable(result.detail));
    return result.outcome == ImportOutcome::Stored ? 0 : 1;
}

// Child mode: export the folder's survey to a workbook and report
// "seconds peak-kB start-kB rows cpu-seconds" (the processor time of the whole
// child: on a busy machine the wall-clock time also counts the neighbours).
int exportChild(const QString &folder, const QString &file)
{
    const long before = peakKilobytes();
    QString batch;
    {
        DatabaseSession session(databasePathIn(folder));
        session.requireOpen();
        batch = session.scalar(QStringLiteral("SELECT [Batch_Number] FROM [Header]")).toString();
    }
    QElapsedTimer timer;
    timer.start();
    const ExportWriteResult result = exportSurveyWorkbook(databasePathIn(folder), batch, file);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!result.ok()) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(result.error));
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%.6f %ld %ld %lld %.6f\n", seconds, peakKilobytes(), before,
                static_cast<long long>(result.rows), cpu);
    return 0;
}

// Child mode: write the generated survey of the benchmark.
int generateChild(int vehicles, const QString &file)
{
    SampleOptions options;
    options.vehicles = vehicles;
    options.days = 14;
    options.startDate = QDate(2025, 5, 20); // runs into June
    options.startTime = QTime(7, 30);
    options.postedSpeed = 35;
    const QString error = writeSampleSurvey(generateSampleSurvey(options), file);
    if (!error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return error.isEmpty() ? 0 : 1;
}

// The stored rows of one table, read back as the engine keeps them, ready to
// bind: every value is an integer, a text or NULL.
struct TableRows
{
    std::string insert; // INSERT INTO [T] ([a], ...) VALUES (?, ...)
    int columns = 0;
    struct Cell
    {
        int type = SQLITE_NULL;
        qint64 number = 0;
        std::string text;
    };
    std::vector<Cell> cells; // row after row
    size_t rows() const { return columns ? cells.size() / size_t(columns) : 0; }
};

// The tables the import writes, in the order it writes them.
const char *const ImportedTables[] = {"Header", "Veh_Data",      "Summary",
                                      "Speed",  "Speed_Profile", "Time_15"};

bool readTable(sqlite3 *db, const char *table, TableRows &out)
{
    sqlite3_stmt *q = nullptr;
    const std::string select = std::string("SELECT * FROM [") + table + "] ORDER BY rowid";
    if (sqlite3_prepare_v2(db, select.c_str(), -1, &q, nullptr) != SQLITE_OK)
        return false;
    out.columns = sqlite3_column_count(q);
    std::string names, marks;
    for (int c = 0; c < out.columns; ++c) {
        names += std::string(c ? ", [" : "[") + sqlite3_column_name(q, c) + "]";
        marks += c ? ", ?" : "?";
    }
    out.insert = std::string("INSERT INTO [") + table + "] (" + names + ") VALUES (" + marks + ")";
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
        for (int c = 0; c < out.columns; ++c) {
            TableRows::Cell cell;
            cell.type = sqlite3_column_type(q, c);
            if (cell.type == SQLITE_INTEGER)
                cell.number = sqlite3_column_int64(q, c);
            else if (cell.type != SQLITE_NULL)
                cell.text.assign(reinterpret_cast<const char *>(sqlite3_column_text(q, c)),
                                 size_t(sqlite3_column_bytes(q, c)));
            out.cells.push_back(std::move(cell));
        }
    }
    sqlite3_finalize(q);
    return rc == SQLITE_DONE;
}

std::vector<TableRows> readImportedRows(const QString &database)
{
    std::vector<TableRows> tables;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        for (const char *table : ImportedTables) {
            TableRows rows;
            if (!readTable(db, table, rows)) {
                tables.clear();
                break;
            }
            tables.push_back(std::move(rows));
        }
    }
    sqlite3_close(db);
    return tables;
}

// The bare insert: open, one transaction, one prepared statement per table,
// one row per run, commit. Returns the seconds taken, or a negative value on failure.
double bareInsert(const QString &database, const std::vector<const TableRows *> &tables,
                  double &cpu)
{
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        return -1;
    bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (const TableRows *table : tables) {
        sqlite3_stmt *stmt = nullptr;
        ok = ok && sqlite3_prepare_v2(db, table->insert.c_str(), -1, &stmt, nullptr) == SQLITE_OK;
        const TableRows::Cell *cell = table->cells.data();
        for (size_t r = 0; ok && r < table->rows(); ++r) {
            for (int c = 1; c <= table->columns; ++c, ++cell) {
                if (cell->type == SQLITE_INTEGER)
                    sqlite3_bind_int64(stmt, c, cell->number);
                else if (cell->type == SQLITE_NULL)
                    sqlite3_bind_null(stmt, c);
                else
                    sqlite3_bind_text(stmt, c, cell->text.data(), int(cell->text.size()),
                                      SQLITE_STATIC);
            }
            ok = sqlite3_step(stmt) == SQLITE_DONE;
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
    }
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    cpu = cpuSeconds() - cpuBefore;
    return ok ? timer.nsecsElapsed() / 1e9 : -1;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Measure
{
    int vehicles = 0;
    int stored = 0;
    qsizetype rows = 0;   // every row the import stores
    double import = 0;    // medians of the runs
    double bare = 0;      // Veh_Data only
    double bareAll = 0;   // every row
    double importCpu = 0; // processor seconds, medians too
    double bareAllCpu = 0;
    long peakKb = 0;
    long startKb = 0;
    QList<double> phases; // of the median import run, seconds since its start
};

// A fresh folder holding a blank database.
bool blankFolder(const QString &folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString error = createBlankDatabase(databasePathIn(folder));
    if (!error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return error.isEmpty();
}

// Each time is the median of `repeats` runs: on a shared machine single runs
// measure the neighbours as much as the program.
bool measure(int vehicles, int repeats, bool plainSql, const QDir &work, Measure &m)
{
    m.vehicles = vehicles;
    // The file is made by a child too: a child process starts with its parent's
    // peak memory, so the parent stays small until the import has run.
    const QString file = work.filePath(QStringLiteral("bench-%1.ovd").arg(vehicles));
    if (QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--generate-child"), QString::number(vehicles), file}) !=
        0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    const QString importFolder = work.filePath(QStringLiteral("import-%1").arg(vehicles));
    const QString bareFolder = work.filePath(QStringLiteral("bare-%1").arg(vehicles));

    QList<double> imports, importCpus;
    QList<QList<double>> phases;
    for (int run = 0; run < repeats; ++run) {
        if (!blankFolder(importFolder))
            return false;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{QStringLiteral("--import-child"), file, importFolder};
        if (plainSql)
            arguments << QStringLiteral("--plain-sql");
        child.start(QCoreApplication::applicationFilePath(), arguments);
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the import of %d vehicles failed\n", vehicles);
            return false;
        }
        const QStringList report =
            QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (report.size() < 6)
            return false;
        imports << report[0].toDouble();
        importCpus << report[5].toDouble();
        phases << QList<double>();
        for (qsizetype i = 6; i < report.size(); ++i)
            phases.last() << report[i].toDouble();
        m.stored = report[1].toInt();
        m.peakKb = std::max(m.peakKb, report[2].toLong());
        m.startKb = std::max(m.startKb, report[3].toLong());
    }
    m.import = median(imports);
    m.importCpu = median(importCpus);
    // The phases of the run nearest the median.
    qsizetype nearest = 0;
    for (qsizetype i = 1; i < imports.size(); ++i)
        if (std::abs(imports[i] - m.import) < std::abs(imports[nearest] - m.import))
            nearest = i;
    m.phases = phases.value(nearest);

    const std::vector<TableRows> tables = readImportedRows(databasePathIn(importFolder));
    if (tables.size() != std::size(ImportedTables) || int(tables[1].rows()) != m.stored)
        return false;
    std::vector<const TableRows *> all;
    for (const TableRows &table : tables) {
        all.push_back(&table);
        m.rows += qsizetype(table.rows());
    }
    QList<double> bare, bareAll, bareAllCpu;
    for (int run = 0; run < repeats; ++run) {
        double cpu = 0;
        if (!blankFolder(bareFolder))
            return false;
        bare << bareInsert(databasePathIn(bareFolder), {&tables[1]}, cpu);
        if (!blankFolder(bareFolder))
            return false;
        bareAll << bareInsert(databasePathIn(bareFolder), all, cpu);
        bareAllCpu << cpu;
        if (bare.last() < 0 || bareAll.last() < 0)
            return false;
    }
    m.bare = median(bare);
    m.bareAll = median(bareAll);
    m.bareAllCpu = median(bareAllCpu);
    QFile::remove(file);
    return true;
}

// Milliseconds of the fastest and the median of `repeats` runs of a view.
struct ViewTime
{
    double best = 0;
    double median = 0;
};

template <typename F> ViewTime timeView(int repeats, F &&view)
{
    std::vector<double> ms;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        view();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

// Each view of the survey stored in the folder, as one user action: a fresh
// session, the queries, the computation and, for charts, the Graph with its
// DrawMode 4 picture. Returns false when a view fails.
bool measureViews(const QString &folder, int vehicles, int repeats)
{
    const QString database = databasePathIn(folder);
    QString batch;
    QString date;
    {
        DatabaseSession session(database);
        session.requireOpen();
        batch = session.scalar(QStringLiteral("SELECT [Batch_Number] FROM [Header]")).toString();
        const QStringList dates = surveyDates(session, batch);
        if (dates.isEmpty())
            return false;
        date = dates.at(dates.size() / 2);
    }
    std::printf("\nViews of the %d-vehicle survey %s (best and median of %d runs, milliseconds;\n"
                "each a whole user action: open the database, query, compute, draw)\n\n",
                vehicles, qPrintable(batch), repeats);
    std::printf("%-44s %9s %9s %9s\n", "view", "best", "median", "target");
    bool ok = true;
    auto row = [&](const char *name, double target, const ViewTime &t) {
        std::printf("%-44s %9.2f %9.2f %9.0f%s\n", name, t.best, t.median, target,
                    t.median < target ? "" : "  (over)");
    };

    SurveyCaptions captions;
    row("open a survey (rows, criteria, date lists)", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            captions = readSurveyCaptions(s, batch).value_or(SurveyCaptions());
            computeCriteria(
                criteriaInputFromSummary(captions.summary, SurveyDirection::Approaching),
                SurveyDirection::Approaching);
            ok = ok && !surveyDates(s, batch).isEmpty();
        }));
    row("display scheme \"15 to 70 by 5 MPH\"", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            computeScheme(s, batch, *findDisplayScheme(QStringLiteral("15 to 70 by 5 MPH")),
                          SurveyDirection::Approaching,
                          captions.summaryField(QStringLiteral("Total_Approach")));
        }));
    SpeedChartInput in;
    in.batch = batch;
    in.postedLimit = captions.postedLimit();
    in.radarMode = captions.radarMode();
    in.pace = captions.summaryField(QStringLiteral("PaceA"));
    in.percentile85 = captions.summaryField(QStringLiteral("85th_PercentileA"));
    Graph graph;
    row("vehicle speeds chart (Traffic_Flow)", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            const SpeedChartResult r = trafficFlowChart(s, in);
            ok = ok && r.hasChart();
            drawChart(graph, r.chart);
        }));
    row("85th percentile chart (Percent85)", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            const SpeedChartResult r = percent85Chart(s, in);
            ok = ok && r.hasChart();
            drawChart(graph, r.chart);
        }));
    row("daily volume date click", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            const DailyVolumeResult r = dailyVolume(s, {batch, date, SurveyDirection::Both});
            ok = ok && r.hasChart();
            drawChart(graph, r.chart);
        }));
    row("fifteen-minute date click", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            ok = ok && fifteenMinute(s, {batch, date, SurveyDirection::Both}).rows.size() == 48;
        }));
    row("weekly totals (Command8)", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            WeeklyGrid grid = WeeklyGrid::designState();
            clearWeekData(grid);
            const WeeklyResult r = computeWeeklyGrid(s, weeklyInputOf(captions, grid));
            if (!r.computed())
                std::fprintf(stderr, "%s\n", qPrintable(r.message));
            ok = ok && r.computed();
        }));
    // The busiest chart: the 85th percentile chart of a km/h survey has 120 bars.
    {
        DatabaseSession s(database);
        drawChart(graph, trafficFlowChart(s, in).chart);
    }
    QImage image(1000, 560, QImage::Format_RGB32);
    row("paint the vehicle speeds chart, 1000 x 560", 16, timeView(repeats, [&] {
            QPainter p(&image);
            paintChart(p, QRectF(0, 0, 1000, 560), graph.drawnData());
        }));
    return ok;
}

// Imports a generated 14-day survey of `vehicles` vehicles (over half of them
// above the posted limit of 35) and exports it to a workbook `repeats` times.
bool measureExport(int vehicles, int repeats, const QDir &work)
{
    const QString file = work.filePath(QStringLiteral("export-%1.ovd").arg(vehicles));
    const QString folder = work.filePath(QStringLiteral("export-%1").arg(vehicles));
    if (QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--generate-child"), QString::number(vehicles), file}) !=
            0 ||
        !blankFolder(folder)) {
        std::fprintf(stderr, "cannot write the survey to export\n");
        return false;
    }
    QProcess import;
    import.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    import.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--import-child"), file, folder});
    if (!import.waitForFinished(-1) || import.exitCode() != 0)
        return false;
    QFile::remove(file);
    qint64 speeding = 0;
    {
        DatabaseSession session(databasePathIn(folder));
        session.requireOpen();
        speeding =
            session.scalar(QStringLiteral("SELECT COUNT(*) FROM [Speed_Profile]")).toLongLong();
    }
    const QString workbook = work.filePath(QStringLiteral("export-%1.xlsx").arg(vehicles));
    double best = 0;
    double bestCpu = 0;
    long peakKb = 0;
    qint64 rows = 0;
    for (int run = 0; run < repeats; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--export-child"), folder, workbook});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the export failed\n");
            return false;
        }
        const QStringList report =
            QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (report.size() < 5)
            return false;
        const double seconds = report[0].toDouble();
        best = run == 0 ? seconds : std::min(best, seconds);
        bestCpu = run == 0 ? report[4].toDouble() : std::min(bestCpu, report[4].toDouble());
        peakKb = std::max(peakKb, report[1].toLong());
        rows = report[3].toLongLong();
    }
    const double megabytes = QFileInfo(workbook).size() / (1024.0 * 1024.0);
    std::printf("\nExport to an Excel workbook of a survey of %d vehicles, %lld of them speeding\n"
                "(%lld rows on all sheets, a %.1f MB file): %.3f s (%.3f s of processor time), "
                "peak memory\n"
                "%.1f MB; best of %d runs (target under 5 s and 300 MB)\n",
                vehicles, static_cast<long long>(speeding), static_cast<long long>(rows), megabytes,
                best, bestCpu, peakKb / 1024.0, repeats);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The speeding profile window runs in a child of its own, as a widget application.
    if (argc == 4 && std::strcmp(argv[1], "--profile-list-child") == 0)
        return profileListChild(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--profile-preview-child") == 0)
        return profilePreviewChild(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "--compare-window-child") == 0)
        return compareWindowChild(argc, argv);
    // The children import or generate only; the parent paints charts too.
    const bool child = argc > 1 && (std::strcmp(argv[1], "--import-child") == 0 ||
                                    std::strcmp(argv[1], "--generate-child") == 0 ||
                                    std::strcmp(argv[1], "--export-child") == 0);
    if (!child && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(child ? new QCoreApplication(argc, argv)
                                                : new QGuiApplication(argc, argv));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("--import-child"))
        return importChild(args[2], args[3],
                           args.size() == 5 && args[4] == QLatin1String("--plain-sql"));
    if (args.size() == 4 && args[1] == QLatin1String("--generate-child"))
        return generateChild(args[2].toInt(), args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("--profile-child"))
        return profileChild(args[2].toInt(), args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("--export-child"))
        return exportChild(args[2], args[3]);

    QList<int> sizes{10'000, 100'000, 1'000'000};
    QList<int> profileSizes{2'000, 20'000, 200'000};
    bool importPart = true;
    bool profilePart = true;
    bool profileReportsOnly = false; // the speeding profile report alone
    bool compareOnly = false;        // the comparison of two long surveys alone
    bool serverOnly = false;         // the import into a server next to psql's \copy
    int repeats = 3;
    bool plainSql = false;
    int exportVehicles = 380'000; // about 200,000 of them over the limit
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (args[i] == QLatin1String("--plain-sql")) {
            plainSql = true; // the import without the direct engine: the plain Qt SQL path
            --i;
            continue;
        }
        bool ok = i + 1 < args.size();
        if (ok && args[i] == QLatin1String("--sizes")) {
            sizes.clear();
            for (const QString &s : args[i + 1].split(QLatin1Char(','))) {
                bool number = false;
                sizes << s.toInt(&number);
                ok = ok && number && sizes.last() > 0;
            }
        } else if (ok && args[i] == QLatin1String("--only")) {
            importPart = args[i + 1] == QLatin1String("import");
            profilePart = args[i + 1] == QLatin1String("profile");
            profileReportsOnly = args[i + 1] == QLatin1String("profile-report");
            compareOnly = args[i + 1] == QLatin1String("compare");
            serverOnly = args[i + 1] == QLatin1String("server");
            ok = importPart || profilePart || profileReportsOnly || compareOnly || serverOnly;
        } else if (ok && args[i] == QLatin1String("--export-vehicles")) {
            exportVehicles = args[i + 1].toInt(&ok);
            ok = ok && exportVehicles >= 0;
        } else if (ok && args[i] == QLatin1String("--repeats")) {
            repeats = args[i + 1].toInt(&ok);
            ok = ok && repeats > 0;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(
                stderr,
                "usage: roadtally-bench [--sizes N,N,...] [--repeats R] [--only "
                "import|profile|profile-report|compare|server]\n"
                "                      [--export-vehicles N] [--plain-sql]\n"
                "(--export-vehicles 0 leaves the export out; --plain-sql imports without the\n"
                "direct engine, on the plain Qt SQL path)\n");
            return 2;
        }
    }

    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    if (profileReportsOnly)
        return benchProfileReports(work.path(), profileSizes, repeats);
    if (compareOnly)
        return benchCompare(work.path(), sizes.last(), repeats);
    if (serverOnly)
        return benchServer(work.path(), sizes, repeats);
    if (!importPart) {
        if (benchProfileList(work.path(), profileSizes, repeats) != 0)
            return 1;
        return benchProfileReports(work.path(), profileSizes, repeats);
    }
    std::printf(
        "Import of a generated 14-day survey (load, parse, store, four statistics)%s\n"
        "next to a bare SQLite insert (one row per statement, one transaction) of the same\n"
        "Veh_Data rows, and of every row the import stores; median of %d runs each.\n\n",
        plainSql ? " on the plain Qt SQL path" : "", repeats);
    std::printf("%10s %10s %10s %9s %11s %11s %7s %9s %11s %9s %10s\n", "vehicles", "stored",
                "all rows", "import s", "Veh_Data s", "all rows s", "ratio", "ratio VD",
                "vehicles/s", "peak MB", "cpu ratio");
    Measure last;
    for (int n : sizes) {
        Measure m;
        if (!measure(n, repeats, plainSql, QDir(work.path()), m))
            return 1;
        std::printf("%10d %10d %10lld %9.3f %11.3f %11.3f %7.2f %9.2f %11.0f %9.1f %10.2f\n",
                    m.vehicles, m.stored, static_cast<long long>(m.rows), m.import, m.bare,
                    m.bareAll, m.import / m.bareAll, m.import / m.bare, m.vehicles / m.import,
                    m.peakKb / 1024.0, m.importCpu / m.bareAllCpu);
        std::fflush(stdout);
        last = m;
    }
    std::printf("\nLargest run: %d vehicles imported in %.3f s; bare insert of its %lld rows %.3f "
                "s, ratio %.2f "
                "(target at most 1); of its Veh_Data rows alone %.3f s, ratio %.2f; %.0f "
                "vehicles/s; peak memory "
                "of the import %.1f MB (%.1f MB at its start; target under 300 MB)\n",
                last.vehicles, last.import, static_cast<long long>(last.rows), last.bareAll,
                last.import / last.bareAll, last.bare, last.import / last.bare,
                last.vehicles / last.import, last.peakKb / 1024.0, last.startKb / 1024.0);
    std::printf("Processor time: import %.3f s, bare insert of every row %.3f s, ratio %.2f\n",
                last.importCpu, last.bareAllCpu, last.importCpu / last.bareAllCpu);
    if (last.phases.size() == 5) {
        const QList<double> &p = last.phases;
        std::printf(
            "Its phases: load %.3f s, parse and store %.3f s, Summary2 and speed table %.3f s, "
            "Speed_Profile %.3f s, Time15min %.3f s, commit %.3f s\n",
            p[0], p[1] - p[0], p[2] - p[1], p[3] - p[2], p[4] - p[3], last.import - p[4]);
    }
    std::fflush(stdout);
    const QString viewsFolder =
        QDir(work.path()).filePath(QStringLiteral("import-%1").arg(last.vehicles));
    if (!measureViews(viewsFolder, last.vehicles, std::max(9, repeats)))
        return 1;
    std::fflush(stdout);
    if (!measureReports(viewsFolder, std::max(5, repeats)))
        return 1;
    if (profilePart && (benchProfileList(work.path(), profileSizes, repeats) != 0 ||
                        benchProfileReports(work.path(), profileSizes, repeats) != 0))
        return 1;
    if (exportVehicles > 0 && !measureExport(exportVehicles, repeats, QDir(work.path())))
        return 1;
    return benchCompare(work.path(), sizes.last(), repeats);
}
