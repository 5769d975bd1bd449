#include "ServerBench.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/Schema.h"
#include "fixtures/TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace roadtally {

namespace {

// The tables the import fills.
const char *const FilledTables[] = {"Header", "Veh_Data",      "Summary",
                                    "Speed",  "Speed_Profile", "Time_15"};

QString columnsOf(const QString &table)
{
    for (const TableDef &t : surveyTables()) {
        if (t.name != table)
            continue;
        QStringList names;
        for (const ColumnDef &c : t.columns)
            names << QLatin1Char('"') + c.name + QLatin1Char('"');
        return names.join(QStringLiteral(", "));
    }
    return QString();
}

QString qualified(const QString &table)
{
    return QStringLiteral("%1.\"%2\"").arg(QLatin1String(ServerSchema), table);
}

bool psql(const QString &uri, const QStringList &arguments, double *seconds = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    p.start(QStringLiteral("psql"),
            QStringList{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                        QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"), uri} +
                arguments);
    const bool ok =
        p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (seconds)
        *seconds = timer.nsecsElapsed() / 1e9;
    return ok;
}

QString freshDatabase(test::TestServer &server)
{
    const QString uri = server.createDatabase();
    if (uri.isEmpty() || !createServerDatabase(uri).isEmpty())
        return QString();
    return uri;
}

double middle(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int benchServer(const QString &work, const QList<int> &sizes, int repeats)
{
    test::TestServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "cannot start a server: %s\n", qPrintable(server.error()));
        return 1;
    }
    std::printf("Import of a generated 14-day survey into a server (a throwaway local cluster)\n"
                "next to psql's \\copy of the same stored rows into the same tables in one\n"
                "transaction (psql started and connected included); median of %d runs each.\n\n",
                repeats);
    std::printf("%10s %10s %10s %11s %7s\n", "vehicles", "all rows", "import s", "\\copy s",
                "ratio");
    double lastRatio = 0;
    for (const int vehicles : sizes) {
        const QString file = QDir(work).filePath(QStringLiteral("server-%1.ovd").arg(vehicles));
        if (QProcess::execute(
                QCoreApplication::applicationFilePath(),
                {QStringLiteral("--generate-child"), QString::number(vehicles), file}) != 0)
            return 1;
        QList<double> imports;
        QString imported;
        for (int run = 0; run < repeats; ++run) {
            imported = freshDatabase(server);
            if (imported.isEmpty())
                return 1;
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--import-child"), file, imported});
            if (!child.waitForFinished(-1) || child.exitCode() != 0) {
                std::fprintf(stderr, "the import of %d vehicles failed\n", vehicles);
                return 1;
            }
            imports << QString::fromLatin1(child.readAllStandardOutput())
                           .section(QLatin1Char(' '), 0, 0)
                           .toDouble();
        }
        // The stored rows, as files for \copy.
        QStringList load;
        qint64 rows = 0;
        for (const char *name : FilledTables) {
            const QString table = QString::fromLatin1(name);
            const QString path = QDir(work).filePath(table + QStringLiteral(".copy"));
            if (!psql(imported,
                      {QStringLiteral("-c"), QStringLiteral("\\copy (SELECT %1 FROM %2) TO '%3'")
                                                 .arg(columnsOf(table), qualified(table), path)}))
                return 1;
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                rows += f.readAll().count('\n');
            load << QStringLiteral("\\copy %1 (%2) FROM '%3'")
                        .arg(qualified(table), columnsOf(table), path);
        }
        const QString script = QDir(work).filePath(QStringLiteral("load.sql"));
        QFile s(script);
        if (!s.open(QIODevice::WriteOnly))
            return 1;
        s.write(load.join(QLatin1Char('\n')).toUtf8() + '\n');
        s.close();
        QList<double> copies;
        for (int run = 0; run < repeats; ++run) {
            const QString target = freshDatabase(server);
            double seconds = 0;
            if (target.isEmpty() ||
                !psql(target, {QStringLiteral("-1"), QStringLiteral("-f"), script}, &seconds))
                return 1;
            copies << seconds;
        }
        const double import = middle(imports), copy = middle(copies);
        lastRatio = import / copy;
        std::printf("%10d %10lld %10.3f %11.3f %7.2f\n", vehicles, static_cast<long long>(rows),
                    import, copy, lastRatio);
        std::fflush(stdout);
        QFile::remove(file);
    }
    std::printf("\nLargest run: ratio %.2f (target at most 1.5)\n", lastRatio);
    return 0;
}

} // namespace roadtally
