// roadtally-bench: how long the import of a long survey takes, next to the
// least any import can take: a bare SQLite insert of the same Veh_Data rows;
// then how long each view of the largest survey takes, as the user's action
// (open the database, query, compute, put the chart on a Graph), and how long
// the reports take to lay out and to write as PDF (ReportBench.cpp).
// (open the database, query, compute, put the chart on a Graph); and how long
// the export of a survey with some 200,000 speeding vehicles to an Excel
// workbook takes, in a child process of its own for its peak memory.
//
// For each size (10,000, 100,000 and 1,000,000 vehicles over 14 days) it writes
// a generated raw data file, imports it the way the processing window and
// roadtally-cli do (load with end marks, parse, store, all four statistics) in a
// child process of its own, so that the child's peak memory is the import's,
// then reads the stored Veh_Data rows back and times inserting them into a fresh
// blank database with one prepared statement in one transaction.
#include "ReportBench.h"
#include "ProfileListBench.h"
#include "SampleSurvey.h"
#include "export/SurveyExport.h"
#include "intake/ImportRequest.h"
#include "intake/VehicleImport.h"
#include "store/DatabaseSession.h"
#include "store/Schema.h"
#include "store/SharedState.h"
#include "views/ChartSeries.h"
#include "views/DailyVolume.h"
#include "views/DisplayScheme.h"
#include "views/FifteenMinute.h"
#include "views/SpeedCharts.h"
#include "views/SurveyCaptions.h"
#include "views/SurveyCriteria.h"
#include "views/SurveyDates.h"
#include "views/WeeklyGrid.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace roadtally;

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss; // kilobytes on Linux
}

// Child mode: import one file into the folder's database and report
// "seconds stored peak-kB start-kB outcome" and the seconds at the end of each
// phase: load, parse and store (progress 25), Summary2 and the speed table (50),
// Speed_Profile (75), Time15min (100).
int importChild(const QString &file, const QString &folder)
{
    const long before = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    const LoadResult loaded = loadRawDataPath(file);
    QList<double> phases{timer.nsecsElapsed() / 1e9};
    ImportRequest request;
    request.location = QStringLiteral("Benchmark Road");
    request.direction = QStringLiteral("North");
    request.zone = QStringLiteral("Highway");
    const ImportResult result = importSurvey(databasePathIn(folder), buildImportInput(loaded.text, request),
                                             [&](int) { phases << timer.nsecsElapsed() / 1e9; });
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%.6f %d %ld %ld %d", seconds, result.storedVehicles, peakKilobytes(), before, int(result.outcome));
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
    const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
                       + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%.6f %ld %ld %lld %.6f\n", seconds, peakKilobytes(), before, static_cast<long long>(result.rows),
                cpu);
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

struct Row
{
    QByteArray batch, direction, time, date;
    qint64 offset;
    qint64 speed;
};

std::vector<Row> readVehicles(const QString &database)
{
    std::vector<Row> rows;
    DatabaseSession session(database);
    session.requireOpen();
    QSqlQuery q = session.exec(QStringLiteral(
        "SELECT Batch_Number, Offset, Veh_Direction, Speed, Time, Date FROM Veh_Data ORDER BY rowid"));
    while (q.next())
        rows.push_back({q.value(0).toString().toUtf8(), q.value(2).toString().toUtf8(),
                        q.value(4).toString().toUtf8(), q.value(5).toString().toUtf8(), q.value(1).toLongLong(),
                        q.value(3).toLongLong()});
    return rows;
}

// The bare insert: open, one transaction, one prepared statement, commit.
// Returns the seconds taken, or a negative value on failure.
double bareInsert(const QString &database, const std::vector<Row> &rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return -1;
    sqlite3_stmt *stmt = nullptr;
    bool ok = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK
              && sqlite3_prepare_v2(db,
                                    "INSERT INTO [Veh_Data] ([Batch_Number], [Offset], [Veh_Direction], [Speed], "
                                    "[Time], [Date]) VALUES (?, ?, ?, ?, ?, ?)",
                                    -1, &stmt, nullptr)
                     == SQLITE_OK;
    for (size_t i = 0; ok && i < rows.size(); ++i) {
        const Row &r = rows[i];
        sqlite3_bind_text(stmt, 1, r.batch.constData(), int(r.batch.size()), SQLITE_STATIC);
        sqlite3_bind_int64(stmt, 2, r.offset);
        sqlite3_bind_text(stmt, 3, r.direction.constData(), int(r.direction.size()), SQLITE_STATIC);
        sqlite3_bind_int64(stmt, 4, r.speed);
        sqlite3_bind_text(stmt, 5, r.time.constData(), int(r.time.size()), SQLITE_STATIC);
        sqlite3_bind_text(stmt, 6, r.date.constData(), int(r.date.size()), SQLITE_STATIC);
        ok = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok ? timer.nsecsElapsed() / 1e9 : -1;
}

struct Measure
{
    int vehicles = 0;
    int stored = 0;
    double import = 0;
    double bare = 0;
    long peakKb = 0;
    long startKb = 0;
    QList<double> phases; // of the best import run, seconds since its start
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

// Each time is the best of `repeats` runs: on a shared machine the other runs
// only measure the neighbours.
bool measure(int vehicles, int repeats, const QDir &work, Measure &m)
{
    m.vehicles = vehicles;
    // The file is made by a child too: a child process starts with its parent's
    // peak memory, so the parent stays small until the import has run.
    const QString file = work.filePath(QStringLiteral("bench-%1.ovd").arg(vehicles));
    if (QProcess::execute(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--generate-child"), QString::number(vehicles), file})
        != 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    const QString importFolder = work.filePath(QStringLiteral("import-%1").arg(vehicles));
    const QString bareFolder = work.filePath(QStringLiteral("bare-%1").arg(vehicles));

    for (int run = 0; run < repeats; ++run) {
        if (!blankFolder(importFolder))
            return false;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--import-child"), file, importFolder});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the import of %d vehicles failed\n", vehicles);
            return false;
        }
        const QStringList report = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (report.size() < 4)
            return false;
        const double seconds = report[0].toDouble();
        if (run == 0 || seconds < m.import) {
            m.phases.clear();
            for (qsizetype i = 5; i < report.size(); ++i)
                m.phases << report[i].toDouble();
        }
        m.import = run == 0 ? seconds : std::min(m.import, seconds);
        m.stored = report[1].toInt();
        m.peakKb = std::max(m.peakKb, report[2].toLong());
        m.startKb = std::max(m.startKb, report[3].toLong());
    }

    const std::vector<Row> rows = readVehicles(databasePathIn(importFolder));
    if (int(rows.size()) != m.stored)
        return false;
    for (int run = 0; run < repeats; ++run) {
        if (!blankFolder(bareFolder))
            return false;
        const double seconds = bareInsert(databasePathIn(bareFolder), rows);
        if (seconds < 0)
            return false;
        m.bare = run == 0 ? seconds : std::min(m.bare, seconds);
    }
    QFile::remove(file);
    return true;
}

// Milliseconds of the fastest and the median of `repeats` runs of a view.
struct ViewTime
{
    double best = 0;
    double median = 0;
};

template <typename F>
ViewTime timeView(int repeats, F &&view)
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
            computeCriteria(criteriaInputFromSummary(captions.summary, SurveyDirection::Approaching),
                            SurveyDirection::Approaching);
            ok = ok && !surveyDates(s, batch).isEmpty();
        }));
    row("display scheme \"15 to 70 by 5 MPH\"", 50, timeView(repeats, [&] {
            DatabaseSession s(database);
            computeScheme(s, batch, *findDisplayScheme(QStringLiteral("15 to 70 by 5 MPH")),
                          SurveyDirection::Approaching, captions.summaryField(QStringLiteral("Total_Approach")));
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
            const WeeklyResult r = computeWeeklyGrid(
                s, {batch, captions.startDate(), captions.stopDate(), grid});
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
                          {QStringLiteral("--generate-child"), QString::number(vehicles), file})
            != 0
        || !blankFolder(folder)) {
        std::fprintf(stderr, "cannot write the survey to export\n");
        return false;
    }
    QProcess import;
    import.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    import.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--import-child"), file, folder});
    if (!import.waitForFinished(-1) || import.exitCode() != 0)
        return false;
    QFile::remove(file);
    qint64 speeding = 0;
    {
        DatabaseSession session(databasePathIn(folder));
        session.requireOpen();
        speeding = session.scalar(QStringLiteral("SELECT COUNT(*) FROM [Speed_Profile]")).toLongLong();
    }
    const QString workbook = work.filePath(QStringLiteral("export-%1.xlsx").arg(vehicles));
    double best = 0;
    double bestCpu = 0;
    long peakKb = 0;
    qint64 rows = 0;
    for (int run = 0; run < repeats; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--export-child"), folder, workbook});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the export failed\n");
            return false;
        }
        const QStringList report = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
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
                "(%lld rows on all sheets, a %.1f MB file): %.3f s (%.3f s of processor time), peak memory\n"
                "%.1f MB; best of %d runs (target under 5 s and 300 MB)\n",
                vehicles, static_cast<long long>(speeding), static_cast<long long>(rows), megabytes, best, bestCpu,
                peakKb / 1024.0, repeats);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The speeding profile window runs in a child of its own, as a widget application.
    if (argc == 4 && std::strcmp(argv[1], "--profile-list-child") == 0)
        return profileListChild(argc, argv);
    // The children import or generate only; the parent paints charts too.
    const bool child = argc > 1 && (std::strcmp(argv[1], "--import-child") == 0 ||
                                    std::strcmp(argv[1], "--generate-child") == 0 ||
                                    std::strcmp(argv[1], "--export-child") == 0);
    if (!child && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(child ? new QCoreApplication(argc, argv)
                                                : new QGuiApplication(argc, argv));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--import-child"))
        return importChild(args[2], args[3]);
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
    int repeats = 3;
    int exportVehicles = 380'000; // about 200,000 of them over the limit
    for (qsizetype i = 1; i < args.size(); i += 2) {
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
            ok = importPart || profilePart;
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
            std::fprintf(stderr, "usage: roadtally-bench [--sizes N,N,...] [--repeats R] [--only import|profile]\n"
                                 "                      [--export-vehicles N]\n"
                                 "(--export-vehicles 0 leaves the export out)\n");
            return 2;
        }
    }

    QTemporaryDir work;
    if (!work.isValid())
        return 1;
    if (!importPart)
        return benchProfileList(work.path(), profileSizes, repeats);
    std::printf("Import of a generated 14-day survey (load, parse, store, four statistics)\n"
                "next to a bare SQLite insert of the same Veh_Data rows; best of %d runs each.\n\n",
                repeats);
    std::printf("%10s %10s %11s %11s %7s %13s %12s\n", "vehicles", "stored", "import s", "bare s", "ratio",
                "vehicles/s", "peak MB");
    Measure last;
    for (int n : sizes) {
        Measure m;
        if (!measure(n, repeats, QDir(work.path()), m))
            return 1;
        std::printf("%10d %10d %11.3f %11.3f %7.2f %13.0f %12.1f\n", m.vehicles, m.stored, m.import, m.bare,
                    m.import / m.bare, m.vehicles / m.import, m.peakKb / 1024.0);
        std::fflush(stdout);
        last = m;
    }
    std::printf("\nLargest run: %d vehicles imported in %.3f s, bare insert %.3f s, ratio %.2f "
                "(target at most 2), %.0f vehicles/s, peak memory of the import %.1f MB (%.1f MB at its start; "
                "target under 300 MB)\n",
                last.vehicles, last.import, last.bare, last.import / last.bare, last.vehicles / last.import,
                last.peakKb / 1024.0, last.startKb / 1024.0);
    if (last.phases.size() == 5) {
        const QList<double> &p = last.phases;
        std::printf("Its phases: load %.3f s, parse and store %.3f s, Summary2 and speed table %.3f s, "
                    "Speed_Profile %.3f s, Time15min %.3f s, commit %.3f s\n",
                    p[0], p[1] - p[0], p[2] - p[1], p[3] - p[2], p[4] - p[3], last.import - p[4]);
    }
    std::fflush(stdout);
    const QString viewsFolder = QDir(work.path()).filePath(QStringLiteral("import-%1").arg(last.vehicles));
    if (!measureViews(viewsFolder, last.vehicles, std::max(9, repeats)))
        return 1;
    std::fflush(stdout);
    if (!measureReports(viewsFolder, std::max(5, repeats)))
        return 1;
    if (profilePart && benchProfileList(work.path(), profileSizes, repeats) != 0)
        return 1;
    if (exportVehicles > 0 && !measureExport(exportVehicles, repeats, QDir(work.path())))
        return 1;
    return 0;
}
