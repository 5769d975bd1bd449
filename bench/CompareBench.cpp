// The comparison of two long surveys: how long the Compare Surveys window
// takes from a changed choice to the table and both charts painted, and how
// long a whole roadtally-cli compare process takes. The figures come from the
// surveys' Speed rows, so the length of the surveys should not show.
#include "CompareBench.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "gui/compare/CompareSurveys.h"
#include "sample/SampleSurvey.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace roadtally {

namespace {

// Imports a generated survey; returns its batch number, "" on failure.
QString importSample(const QString &folder, const SampleOptions &options, const QString &letter)
{
    const QString file = QDir(folder).filePath(QStringLiteral("survey-%1.ovd").arg(letter));
    if (!writeSampleSurvey(generateSampleSurvey(options), file).isEmpty())
        return {};
    ImportRequest request;
    request.location = QStringLiteral("Benchmark Road");
    request.direction = QStringLiteral("North");
    request.zone = QStringLiteral("Residential");
    const ImportInput input = buildImportInput(loadRawDataPath(file).text, request);
    const ImportResult result = importSurvey(databasePathIn(folder), input, {});
    QFile::remove(file);
    if (result.outcome != ImportOutcome::Stored) {
        std::fprintf(stderr, "import failed: %s %s\n", qPrintable(importMessage(result.outcome)),
                     qPrintable(result.detail));
        return {};
    }
    return input.batchNumber;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int compareWindowChild(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString before = QString::fromLocal8Bit(argv[3]);
    const QString after = QString::fromLocal8Bit(argv[4]);
    sharedState().setProgramFolder(folder);

    CompareSurveys window;
    window.resize(1220, 860);
    QElapsedTimer timer;
    timer.start();
    window.open(databasePathIn(folder), before);
    window.chooseAfter(after);
    window.grab();
    const double opened = timer.nsecsElapsed() / 1e6;
    if (!window.comparison()) {
        std::fprintf(stderr, "no comparison: %s\n", qPrintable(window.message()));
        return 1;
    }
    // Each run: another direction chosen, read, compared, the table filled
    // and the window with both charts painted.
    QList<double> shown, computed;
    for (int run = 0; run < 12; ++run) {
        timer.restart();
        window.setDirection(SurveyDirection((run + 1) % 3));
        window.grab();
        shown << timer.nsecsElapsed() / 1e6;
        computed << window.lastMilliseconds();
    }
    std::printf("%.3f %.3f %.3f %.3f %.3f %lld %lld\n", opened,
                *std::min_element(shown.cbegin(), shown.cend()), median(shown),
                *std::max_element(shown.cbegin(), shown.cend()), median(computed),
                static_cast<long long>(window.comparison()->before.n),
                static_cast<long long>(window.comparison()->after.n));
    return 0;
}

int benchCompare(const QString &workFolder, int vehicles, int repeats)
{
    const QString folder = QDir(workFolder).filePath(QStringLiteral("compare"));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    if (!createBlankDatabase(databasePathIn(folder)).isEmpty())
        return 1;
    std::printf("\nBefore and after: two surveys of %d vehicles each (14 days), imported ...\n",
                vehicles);
    std::fflush(stdout);
    SampleOptions first;
    first.vehicles = vehicles;
    first.days = 14;
    first.startDate = QDate(2025, 5, 6);
    first.seed = 3;
    SampleOptions second = first;
    second.startDate = QDate(2025, 7, 15);
    second.seed = 5;
    second.speedShift = -3;
    const QString before = importSample(folder, first, QStringLiteral("a"));
    const QString after = importSample(folder, second, QStringLiteral("b"));
    if (before.isEmpty() || after.isEmpty())
        return 1;

    QList<double> window[5];
    QStringList counts;
    for (int run = 0; run < repeats; ++run) {
        QProcess child;
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--compare-window-child"), folder, before, after});
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            std::fprintf(stderr, "the comparison window run failed\n");
            return 1;
        }
        const QStringList r =
            QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(u' ');
        if (r.size() < 7)
            return 1;
        for (int i = 0; i < 5; ++i)
            window[i] << r.at(i).toDouble();
        counts = r.mid(5, 2);
    }
    const QString cli =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("roadtally-cli"));
    QList<double> command;
    for (int run = 0; run < std::max(repeats, 5); ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(cli, {QStringLiteral("compare"), QStringLiteral("--folder"), folder,
                            QStringLiteral("--before"), before, QStringLiteral("--after"), after,
                            QStringLiteral("--json")});
        if (!process.waitForFinished(-1) || process.exitCode() != 0) {
            std::fprintf(stderr, "roadtally-cli compare failed: %s\n",
                         process.readAllStandardError().constData());
            return 1;
        }
        command << timer.nsecsElapsed() / 1e6;
    }
    std::printf("Surveys %s and %s: %s and %s approaching vehicles compared.\n", qPrintable(before),
                qPrintable(after), qPrintable(counts.value(0)), qPrintable(counts.value(1)));
    std::printf("%-48s %10s %10s %10s\n", "", "best ms", "median ms", "worst ms");
    std::printf("%-48s %10.1f %10.1f %10.1f\n", "window opened (lists, comparison, painted)",
                *std::min_element(window[0].cbegin(), window[0].cend()), median(window[0]),
                *std::max_element(window[0].cbegin(), window[0].cend()));
    std::printf("%-48s %10.1f %10.1f %10.1f\n", "window, another direction to painted",
                *std::min_element(window[1].cbegin(), window[1].cend()), median(window[2]),
                *std::max_element(window[3].cbegin(), window[3].cend()));
    std::printf("%-48s %10s %10.1f %10s\n", "  of which read and compared", "", median(window[4]),
                "");
    std::printf("%-48s %10.1f %10.1f %10.1f\n", "roadtally-cli compare --json (whole process)",
                *std::min_element(command.cbegin(), command.cend()), median(command),
                *std::max_element(command.cbegin(), command.cend()));
    std::printf("\nTargets: under 100 ms in the window, under 1 s for the command.\n");
    QDir(folder).removeRecursively();
    return 0;
}

} // namespace roadtally
