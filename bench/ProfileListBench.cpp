// The speeding profile list: how long the window takes to show its first rows
// for surveys with 2,000, 20,000 and 200,000 speeding vehicles, and how long the
// full count takes in idle time. Each survey is generated and imported with a low
// posted limit (nearly every vehicle speeds); each measurement runs in a child
// process of its own (offscreen), so its peak memory is the window's.
#include "ProfileListBench.h"
#include "PeakMemory.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseSession.h"
#include "core/store/PagedQueryModel.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "gui/admin/frmSpeed_Profile.h"
#include "sample/SampleSurvey.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableView>

#include <algorithm>
#include <cstdio>

namespace roadtally {

// A folder whose database holds one survey with about `speeding` vehicles over
// its limit: the traffic of a 35 mph street, entered with a limit of 10. Returns the batch number
// and the exact count, or "" on failure.
QString makeProfileSurvey(const QString &folder, int speeding, int &stored)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    if (!createBlankDatabase(databasePathIn(folder)).isEmpty())
        return {};
    SampleOptions options;
    options.vehicles = speeding + speeding / 100 + 20; // a few drive at or under 10
    options.days = 14;
    options.startDate = QDate(2025, 5, 20);
    const QString file = QDir(folder).filePath(QStringLiteral("survey.ovd"));
    if (!writeSampleSurvey(generateSampleSurvey(options), file).isEmpty())
        return {};
    ImportRequest request;
    request.location = QStringLiteral("Benchmark Road");
    request.direction = QStringLiteral("North");
    request.zone = QStringLiteral("Highway");
    request.corrections.postedSpeed = QStringLiteral("10");
    const ImportInput input = buildImportInput(loadRawDataPath(file).text, request);
    const ImportResult result = importSurvey(databasePathIn(folder), input, {});
    QFile::remove(file);
    if (result.outcome != ImportOutcome::Stored)
        return {};
    DatabaseSession session(databasePathIn(folder));
    const QString batch =
        session.scalar(QStringLiteral("SELECT [Batch_Number] FROM [Header] LIMIT 1")).toString();
    stored =
        session
            .scalar(QStringLiteral("SELECT count(*) FROM [Speed_Profile] WHERE [Batch_Number] = ?"),
                    {batch})
            .toInt();
    return batch;
}

int profileListChild(int argc, char *argv[])
{
    // argv: program --profile-list-child folder batch
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString batch = QString::fromLocal8Bit(argv[3]);
    sharedState().setProgramFolder(folder);
    const long startKb = peakKilobytes();

    SpeedProfileSelection selection;
    selection.batchNumber = batch;
    selection.postedLimit = QStringLiteral("10");
    selection.bandCaptions = {QStringLiteral("10+"), QStringLiteral("20+"), QStringLiteral("30+")};
    selection.direction = SurveyDirection::Both;

    // The list alone: the model opening on the selection.
    QElapsedTimer timer;
    timer.start();
    {
        PagedQueryModel model;
        model.setCountInBackground(false);
        model.setQuery(databasePathIn(folder), speedProfileQuery(batch, selection.direction));
    }
    const double listOpen = timer.nsecsElapsed() / 1e6;

    frmSpeed_Profile window;
    window.resize(640, 540);
    timer.restart();
    window.showFor(selection);
    // The first rows are on screen once the grid has painted them.
    window.Flex1->viewport()->grab();
    const double firstRows = timer.nsecsElapsed() / 1e6;
    const int visibleRows = window.Flex1->rowAt(window.Flex1->viewport()->height() - 1);

    timer.restart();
    while (!window.Data1->isComplete())
        QCoreApplication::processEvents();
    const double fullCount = timer.nsecsElapsed() / 1e6;

    timer.restart();
    window.Flex1->scrollToBottom();
    window.Flex1->viewport()->grab();
    const double toEnd = timer.nsecsElapsed() / 1e6;
    const QString last = window.Data1->index(window.Data1->rowCount() - 1, 1).data().toString();
    const long peakKb = peakKilobytes();

    // For comparison: what reading every row takes, the least any grid that
    // loads the whole list before showing it would need.
    timer.restart();
    {
        DatabaseSession session(databasePathIn(folder));
        const PagedQueryModel::Query q = speedProfileQuery(batch, selection.direction);
        QSqlQuery rows =
            session.exec(QStringLiteral("SELECT %1 FROM [%2] WHERE %3 ORDER BY rowid")
                             .arg(q.columns.join(QStringLiteral(", ")), q.table, q.condition),
                         q.values);
        QVector<QVector<QVariant>> all;
        while (rows.next()) {
            QVector<QVector<QVariant>>::value_type row(q.columns.size());
            for (int c = 0; c < q.columns.size(); ++c)
                row[c] = rows.value(c);
            all.append(row);
        }
    }
    const double allRows = timer.nsecsElapsed() / 1e6;

    std::printf("%.3f %.3f %.3f %d %ld %ld %d %.3f %.3f %s\n", firstRows, fullCount, toEnd,
                window.Data1->rowCount(), peakKb, startKb, visibleRows, listOpen, allRows,
                qPrintable(last.isEmpty() ? QStringLiteral("-") : last));
    return 0;
}

int benchProfileList(const QString &workFolder, const QList<int> &sizes, int repeats)
{
    std::printf(
        "\nSpeeding profile window on a survey with many speeding vehicles: the list opening\n"
        "(its first rows read), first rows on screen (showFor() to the grid painted, window\n"
        "included), the full count in idle time, a jump to the last row; next to reading every\n"
        "row at once. Best of %d runs, each in a process of its own.\n\n",
        repeats);
    std::printf("%10s %10s %10s %10s %10s %10s %10s %10s\n", "speeding", "open ms", "first ms",
                "count ms", "to end ms", "rows", "peak MB", "all ms");
    for (int n : sizes) {
        const QString folder = QDir(workFolder).filePath(QStringLiteral("profile-%1").arg(n));
        int stored = 0;
        const QString batch = makeProfileSurvey(folder, n, stored);
        if (batch.isEmpty()) {
            std::fprintf(stderr, "cannot make a survey with %d speeding vehicles\n", n);
            return 1;
        }
        double best[5] = {0, 0, 0, 0, 0};
        long peak = 0;
        int rows = 0;
        for (int run = 0; run < repeats; ++run) {
            QProcess child;
            // The offscreen platform's notes are of no interest here.
            child.setStandardErrorFile(QProcess::nullDevice());
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--profile-list-child"), folder, batch});
            if (!child.waitForFinished(-1) || child.exitCode() != 0) {
                std::fprintf(stderr, "the speeding profile run failed\n");
                return 1;
            }
            const QStringList r =
                QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
            if (r.size() < 10)
                return 1;
            const double times[5] = {r[7].toDouble(), r[0].toDouble(), r[1].toDouble(),
                                     r[2].toDouble(), r[8].toDouble()};
            for (int i = 0; i < 5; ++i)
                best[i] = run == 0 ? times[i] : std::min(best[i], times[i]);
            rows = r[3].toInt();
            peak = std::max(peak, r[4].toLong());
        }
        if (rows != stored) {
            std::fprintf(stderr, "the window counted %d rows of %d\n", rows, stored);
            return 1;
        }
        std::printf("%10d %10.1f %10.1f %10.1f %10.1f %10d %10.1f %10.1f\n", stored, best[0],
                    best[1], best[2], best[3], rows, peak / 1024.0, best[4]);
        std::fflush(stdout);
        QDir(folder).removeRecursively();
    }
    std::printf("\nTarget: first rows in under 300 ms at 200,000 speeding vehicles.\n");
    return 0;
}

} // namespace roadtally
