// The speeding profile report of 2,000, 20,000 and 200,000 speeding vehicles:
// the print preview from showReport() to its first page painted (rows read,
// report laid out, page drawn), in a child process of its own (offscreen); and
// roadtally-cli report --report profile writing every page, as a whole process,
// with its peak memory.
#include "ProfileReportBench.h"
#include "PeakMemory.h"
#include "ProfileListBench.h"

#include "core/analysis/SurveyCaptions.h"
#include "core/analysis/SurveyCriteria.h"
#include "core/reports/SpeedProfile.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "gui/preview/VSPrint.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace roadtally {

namespace {

struct ProcessFigures
{
    bool ok = false;
    double seconds = 0;
    double cpu = 0;
    long peakKb = 0;
};

// Runs a program to its end, its output discarded; its own time and peak memory.
ProcessFigures runMeasured(const QString &program, const QStringList &arguments)
{
    std::vector<QByteArray> words{program.toLocal8Bit()};
    for (const QString &a : arguments)
        words.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    ProcessFigures f;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid < 0)
        return f;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return f;
    f.seconds = timer.nsecsElapsed() / 1e9;
    f.cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    f.peakKb = usage.ru_maxrss;
    f.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return f;
}

} // namespace

int profilePreviewChild(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString batch = QString::fromLocal8Bit(argv[3]);
    sharedState().setProgramFolder(folder);

    double built = 0;
    QElapsedTimer timer;
    // As the main window's print command: the captions as shown, the rows from the database.
    auto build = [&](DocumentEngine &vp) {
        DatabaseSession session(databasePathIn(folder));
        const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, batch);
        if (!survey)
            throw DatabaseError("no such survey");
        SpeedProfileInput in;
        in.batch = survey->batch();
        in.startDate = survey->startDate();
        in.endDate = survey->stopDate();
        const BandHeaders bands = bandHeaders(survey->postedLimit());
        in.bandHeadings = {bands.first, bands.second, bands.third};
        in.rows = speedProfileRows(session, batch, SurveyDirection::Both);
        SpeedProfile(vp, in);
        built = timer.nsecsElapsed() / 1e9;
    };
    auto *window = new VSPrint;
    timer.start();
    window->showReport(ReportKind::SpeedProfile, build);
    while (window->buildCount() == 0 && timer.elapsed() < 120'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Page 1 on screen: the window painted as the user sees it.
    const QPixmap shown = window->grab();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (window->pageCount() == 0 || shown.isNull()) {
        std::fprintf(stderr, "the preview showed no pages\n");
        return 1;
    }
    std::printf("%.6f %.6f %d %ld\n", seconds, built, window->pageCount(), peakKilobytes());
    delete window;
    return 0;
}

int benchProfileReports(const QString &workFolder, const QList<int> &sizes, int repeats)
{
    std::printf(
        "\nSpeeding profile report on a survey with many speeding vehicles: the print preview\n"
        "from showReport() to page 1 painted (rows read and laid out, then the page drawn),\n"
        "and roadtally-cli report --report profile writing every page as PDF, each as a whole\n"
        "process; best of %d.\n\n",
        repeats);
    std::printf("%10s %7s %11s %10s %10s %8s %8s %9s\n", "speeding", "pages", "preview s",
                "layout s", "peak MB", "PDF s", "cpu s", "peak MB");
    const QString cli =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("roadtally-cli"));
    double worstPreview = 0, worstPdf = 0;
    long worstPeak = 0;
    for (int n : sizes) {
        const QString folder = QDir(workFolder).filePath(QStringLiteral("report-%1").arg(n));
        int stored = 0;
        const QString batch = makeProfileSurvey(folder, n, stored);
        if (batch.isEmpty()) {
            std::fprintf(stderr, "cannot make a survey with %d speeding vehicles\n", n);
            return 1;
        }
        double preview = 0, layout = 0, pdf = 0, cpu = 0;
        long previewPeak = 0, pdfPeak = 0;
        int pages = 0;
        for (int run = 0; run < repeats; ++run) {
            QProcess child;
            child.setStandardErrorFile(QProcess::nullDevice());
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--profile-preview-child"), folder, batch});
            if (!child.waitForFinished(-1) || child.exitCode() != 0) {
                std::fprintf(stderr, "the preview run failed\n");
                return 1;
            }
            const QStringList r =
                QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
            if (r.size() < 4)
                return 1;
            preview = run == 0 ? r[0].toDouble() : std::min(preview, r[0].toDouble());
            layout = run == 0 ? r[1].toDouble() : std::min(layout, r[1].toDouble());
            pages = r[2].toInt();
            previewPeak = std::max(previewPeak, r[3].trimmed().toLong());

            const ProcessFigures f =
                runMeasured(cli, {QStringLiteral("report"), QStringLiteral("--folder"), folder,
                                  QStringLiteral("--batch"), batch, QStringLiteral("--report"),
                                  QStringLiteral("profile"), QStringLiteral("--pdf"),
                                  QDir(folder).filePath(QStringLiteral("profile.pdf"))});
            if (!f.ok) {
                std::fprintf(stderr, "roadtally-cli report --report profile failed\n");
                return 1;
            }
            pdf = run == 0 ? f.seconds : std::min(pdf, f.seconds);
            cpu = run == 0 ? f.cpu : std::min(cpu, f.cpu);
            pdfPeak = std::max(pdfPeak, f.peakKb);
        }
        std::printf("%10d %7d %11.3f %10.3f %10.1f %8.3f %8.3f %9.1f\n", stored, pages, preview,
                    layout, previewPeak / 1024.0, pdf, cpu, pdfPeak / 1024.0);
        std::fflush(stdout);
        worstPreview = std::max(worstPreview, preview);
        worstPdf = std::max(worstPdf, pdf);
        worstPeak = std::max({worstPeak, previewPeak, pdfPeak});
        QDir(folder).removeRecursively();
    }
    std::printf("\nLargest: preview page 1 in %.3f s (target under 2 s), every page as PDF in "
                "%.3f s (target under 10 s), peak memory %.1f MB (target under 500 MB).\n",
                worstPreview, worstPdf, worstPeak / 1024.0);
    return 0;
}

} // namespace roadtally
