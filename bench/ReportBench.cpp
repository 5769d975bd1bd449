#include "ReportBench.h"
#include "PeakMemory.h"

#include "fixtures/ReportInputs.h"

#include "core/reports/PdfOutput.h"
#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyDates.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace roadtally {

namespace {

double best(int repeats, const std::function<void()> &work)
{
    double least = 0;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        const double s = t.nsecsElapsed() / 1e9;
        least = i == 0 ? s : std::min(least, s);
    }
    return least;
}

using Builder = std::function<void(DocumentEngine &)>;

} // namespace

int profileChild(int rows, const QString &pdf)
{
    const SpeedProfileInput input = testing::profileInput(rows);
    QElapsedTimer t;
    t.start();
    DocumentEngine vp;
    SetDefaultStyle(vp);
    SpeedProfile(vp, input);
    const double build = t.nsecsElapsed() / 1e9;
    t.restart();
    const QString error = writePdf(*vp.document(), pdf);
    const double write = t.nsecsElapsed() / 1e9;
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%.6f %.6f %d %ld\n", build, write, vp.pageCount(), peakKilobytes());
    return 0;
}

bool measureReports(const QString &folder, int repeats)
{
    QTemporaryDir out;
    const struct
    {
        const char *name;
        Builder build;
    } reports[] = {
        {"summary", [](DocumentEngine &vp) { ReportSummary(vp, testing::summaryInput()); }},
        {"fifteen",
         [](DocumentEngine &vp) { Report15min(vp, testing::fifteenInput(SurveyDirection::Both)); }},
        {"weekly", [](DocumentEngine &vp) { ReportWeekly(vp, testing::weeklyInput()); }},
        {"speeds", [](DocumentEngine &vp) { TrafficFlow_Graph(vp, testing::chartInput()); }},
        {"percentile", [](DocumentEngine &vp) { Percent85_Graph(vp, testing::chartInput()); }},
        {"volume", [](DocumentEngine &vp) { DailyVolume_Graph(vp, testing::dailyVolumeInput()); }},
    };
    std::printf(
        "\nReports: laying out each report (engine and builder) and writing its PDF in process,\n"
        "best of %d; then roadtally-cli report as a whole process on the survey above, best of "
        "3.\n\n",
        repeats * 4);
    std::printf("%-11s %12s %12s %14s\n", "report", "build ms", "PDF ms", "command s");

    // The command line on the stored survey: its batch and first date.
    QString batch, date;
    {
        DatabaseSession session(databasePathIn(folder));
        if (!session.isOpen())
            return false;
        batch = session.scalar(QStringLiteral("SELECT [Batch_Number] FROM [Header]")).toString();
        const QStringList dates = surveyDates(session, batch);
        date = dates.value(dates.size() / 2);
    }
    const QString cli =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("roadtally-cli"));
    double worstBuild = 0, worstCommand = 0;
    for (const auto &report : reports) {
        const QString name = QString::fromLatin1(report.name);
        const double build = best(repeats * 4, [&] {
            DocumentEngine vp;
            SetDefaultStyle(vp);
            report.build(vp);
        });
        DocumentEngine vp;
        SetDefaultStyle(vp);
        report.build(vp);
        const QString pdf = QDir(out.path()).filePath(name + QStringLiteral(".pdf"));
        const double write = best(repeats, [&] { writePdf(*vp.document(), pdf); });
        QStringList arguments{QStringLiteral("report"),
                              QStringLiteral("--folder"),
                              folder,
                              QStringLiteral("--batch"),
                              batch,
                              QStringLiteral("--report"),
                              name,
                              QStringLiteral("--pdf"),
                              pdf};
        if (name == QLatin1String("fifteen") || name == QLatin1String("volume"))
            arguments << QStringLiteral("--date") << date;
        bool ok = true;
        const double command = best(3, [&] {
            QProcess p;
            p.start(cli, arguments);
            ok = ok && p.waitForFinished(60000) && p.exitCode() == 0;
        });
        if (!ok) {
            std::fprintf(stderr, "roadtally-cli report --report %s failed\n", report.name);
            return false;
        }
        std::printf("%-11s %12.1f %12.1f %14.3f\n", report.name, build * 1000, write * 1000,
                    command);
        worstBuild = std::max(worstBuild, build);
        worstCommand = std::max(worstCommand, command);
    }
    std::printf("\nSlowest layout %.1f ms (target under 200 ms); slowest report command %.3f s "
                "(target under 1 s)\n",
                worstBuild * 1000, worstCommand);

    std::printf("\nSpeeding profile of many rows (each size in a child process of its own)\n\n");
    std::printf("%10s %8s %10s %10s %10s\n", "rows", "pages", "layout s", "PDF s", "peak MB");
    for (int rows : {2'000, 20'000, 200'000}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--profile-child"), QString::number(rows),
                     QDir(out.path()).filePath(QStringLiteral("profile.pdf"))});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return false;
        const QStringList r =
            QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (r.size() < 4)
            return false;
        std::printf("%10d %8d %10.3f %10.3f %10.1f\n", rows, r[2].toInt(), r[0].toDouble(),
                    r[1].toDouble(), r[3].toLong() / 1024.0);
        std::fflush(stdout);
    }
    return true;
}

} // namespace roadtally
