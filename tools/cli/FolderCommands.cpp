// roadtally-cli init, import and list: a folder's survey database made,
// filled from raw data files and listed.
#include "Commands.h"
#include "ProgressLine.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyList.h"
#include "core/upkeep/DatabaseFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace roadtally {

namespace {

bool readWholeNumber(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

} // namespace

ExitCode initCommand(const Invocation &invocation)
{
    if (const QString server = invocation.serverDatabase(); !server.isEmpty()) {
        bool existed = false;
        if (const QString error = createServerDatabase(server, &existed); !error.isEmpty())
            return invocation.fail(error);
        if (existed)
            return invocation.fail(QStringLiteral("%1 already holds the survey tables; they are "
                                                  "left as they are")
                                       .arg(databaseDisplayName(server)));
        invocation.out << "Survey tables created in " << databaseDisplayName(server) << " (schema "
                       << ServerSchema << ")\n";
        return ExitCode::Success;
    }
    const QString folder = invocation.value(QStringLiteral("folder"));
    if (!QDir().mkpath(folder))
        return invocation.fail(QStringLiteral("cannot make the folder %1").arg(folder));
    if (const QString existing = findFileNoCase(folder, QString::fromLatin1(DatabaseFileName));
        !existing.isEmpty())
        return invocation.fail(QStringLiteral("%1 already exists; it is left as it is")
                                   .arg(QDir::toNativeSeparators(existing)));
    const QDir dir(folder);
    const QString database = dir.filePath(QString::fromLatin1(DatabaseFileName));
    const QString blank = dir.filePath(QString::fromLatin1(BlankFileName));
    const QString fresh = blank + QStringLiteral(".new");
    QFile::remove(fresh);
    QString error = createBlankDatabase(fresh);
    if (error.isEmpty()) {
        QFile::remove(blank);
        if (!QFile::rename(fresh, blank))
            error = QStringLiteral("cannot write %1").arg(blank);
    }
    if (error.isEmpty() && !QFile::copy(blank, database))
        error = QStringLiteral("cannot write %1").arg(database);
    if (!error.isEmpty()) {
        QFile::remove(fresh);
        return invocation.fail(error);
    }
    // A copy keeps the blank file's read-only bit; the database must be writable.
    QFile::setPermissions(database,
                          QFile::permissions(database) | QFile::WriteOwner | QFile::ReadOwner);
    invocation.out << "Blank survey database written: " << QDir::toNativeSeparators(database)
                   << "\n";
    return ExitCode::Success;
}

ExitCode importCommand(const Invocation &invocation)
{
    ImportRequest request;
    request.location = invocation.value(QStringLiteral("location"));
    request.direction = invocation.value(QStringLiteral("direction"));
    request.zone = invocation.value(QStringLiteral("zone"));
    if (invocation.has(QStringLiteral("unit"))) {
        request.unit = invocation.value(QStringLiteral("unit")).toUpper();
        if (request.unit != QLatin1String("MPH") && request.unit != QLatin1String("KPH"))
            return invocation.usage(QStringLiteral("--unit must be MPH or KPH"));
    }
    if (invocation.has(QStringLiteral("letter"))) {
        request.letter = invocation.value(QStringLiteral("letter")).toUpper();
        if (request.letter.size() != 1 || request.letter.at(0) < QLatin1Char('A') ||
            request.letter.at(0) > QLatin1Char('Z'))
            return invocation.usage(QStringLiteral("--letter must be one letter A to Z"));
    }
    if (invocation.has(QStringLiteral("range"))) {
        const QStringList ends = invocation.values(QStringLiteral("range"));
        int low = 0, high = 0;
        if (!readWholeNumber(ends.at(0), low) || !readWholeNumber(ends.at(1), high))
            return invocation.usage(QStringLiteral("--range needs two whole speeds LOW HIGH"));
        request.range = {QString::number(low), QString::number(high)};
    }
    if (invocation.has(QStringLiteral("headway"))) {
        int headway = 0;
        if (!readWholeNumber(invocation.value(QStringLiteral("headway")), headway))
            return invocation.usage(QStringLiteral("--headway needs a whole number of seconds"));
        request.headway = QString::number(headway);
    }
    request.corrections.startDate = invocation.value(QStringLiteral("start-date"));
    request.corrections.startTime = invocation.value(QStringLiteral("start-time"));
    request.corrections.batchNumber = invocation.value(QStringLiteral("batch"));
    request.corrections.locationCode = invocation.value(QStringLiteral("location-code"));
    request.corrections.postedSpeed = invocation.value(QStringLiteral("posted-speed"));
    ImportOptions options;
    if (invocation.has(QStringLiteral("wait"))) {
        bool ok = false;
        const double seconds = invocation.value(QStringLiteral("wait")).toDouble(&ok);
        if (!ok || !(seconds >= 0) || seconds > 3600)
            return invocation.usage(
                QStringLiteral("--wait needs a number of seconds from 0 to 3600"));
        options.busyTimeoutMs = int(seconds * 1000);
    }

    const LoadResult loaded = loadRawDataPath(invocation.operand());
    if (loaded.status != LoadStatus::Loaded) {
        invocation.err << loadMessage(loaded) << "\n";
        return ExitCode::Failure;
    }
    const QString database = invocation.database();
    if (database.isEmpty())
        return ExitCode::Failure;

    const ImportInput input = buildImportInput(loaded.text, request);
    ImportResult result;
    {
        ProgressLine line(
            invocation.err, invocation.progress,
            QStringLiteral("Importing %1").arg(QFileInfo(invocation.operand()).fileName()));
        result = importSurvey(
            database, input, [&line](int percent) { line.percent(percent); }, options);
    }
    if (result.outcome != ImportOutcome::Stored) {
        invocation.err << importMessage(result) << "\n";
        if (!result.detail.isEmpty())
            invocation.err << "(" << result.detail << ")\n";
        return ExitCode::Failure;
    }
    invocation.out << "Batch number: " << input.batchNumber << "\n"
                   << "Vehicles stored: " << result.storedVehicles << "\n";
    return ExitCode::Success;
}

ExitCode listCommand(const Invocation &invocation)
{
    const QString database = invocation.database();
    if (database.isEmpty())
        return ExitCode::Failure;
    try {
        DatabaseSession session(database);
        session.requireOpen();
        // The same list, in the same order, as the open-survey window shows.
        for (const SurveyListEntry &entry : readSurveyList(session))
            invocation.out << surveyListLine(entry) << "\n";
    } catch (const DatabaseError &error) {
        return invocation.fail(QString::fromUtf8(error.what()));
    }
    return ExitCode::Success;
}

} // namespace roadtally
