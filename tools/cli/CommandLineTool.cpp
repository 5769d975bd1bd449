#include "CommandLineTool.h"
#include "CliArguments.h"
#include "Commands.h"
#include "core/survey/SurveyList.h"

#include "core/intake/ImportRequest.h"
#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Installation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlQuery>

#include <optional>

namespace roadtally {

namespace {

const QVector<OptionSpec> &folderOnly()
{
    static const QVector<OptionSpec> specs = {
        {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
         QStringLiteral("the program folder that holds OV97.mdb")},
    };
    return specs;
}

const QVector<OptionSpec> &importOptions()
{
    static const QVector<OptionSpec> specs = {
        {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
         QStringLiteral("the program folder that holds OV97.mdb")},
        {QStringLiteral("location"), 1, QStringLiteral("TEXT"),
         QStringLiteral("survey location (required)")},
        {QStringLiteral("direction"), 1, QStringLiteral("TEXT"),
         QStringLiteral("direction of travel, e.g. North, \"South West\", NW (required)")},
        {QStringLiteral("zone"), 1, QStringLiteral("TEXT"),
         QStringLiteral("survey zone, e.g. School, Residential, \"Parks & Rec\" (required)")},
        {QStringLiteral("posted-speed"), 1, QStringLiteral("TEXT"),
         QStringLiteral(
             "posted speed limit, e.g. 035 (default: the file's violation alert speed)")},
        {QStringLiteral("unit"), 1, QStringLiteral("MPH|KPH"),
         QStringLiteral("speed unit (default MPH)")},
        {QStringLiteral("letter"), 1, QStringLiteral("A-Z"),
         QStringLiteral("batch letter (default A)")},
        {QStringLiteral("range"), 2, QStringLiteral("LOW HIGH"),
         QStringLiteral(
             "speeds to import, both ends included (default 10 100 for MPH, 15 160 for KPH)")},
        {QStringLiteral("headway"), 1, QStringLiteral("N"),
         QStringLiteral("minimum seconds between imported vehicles (default 0: no headway)")},
        {QStringLiteral("start-date"), 1, QStringLiteral("mm/dd/yyyy"),
         QStringLiteral("corrected survey start date")},
        {QStringLiteral("start-time"), 1, QStringLiteral("hh:mm"),
         QStringLiteral("corrected survey start time")},
        {QStringLiteral("batch"), 1, QStringLiteral("mmddyy-L"),
         QStringLiteral(
             "corrected batch number (replaces the one made from the date and --letter)")},
        {QStringLiteral("location-code"), 1, QStringLiteral("CODE"),
         QStringLiteral("corrected five-digit location code")},
        {QStringLiteral("wait"), 1, QStringLiteral("SECONDS"),
         QStringLiteral(
             "how long to wait for a database another program or import is writing (default 10)")},
    };
    return specs;
}

QString commonHelp()
{
    return QStringLiteral(
        "Usage: roadtally-cli <command> [options]\n"
        "\n"
        "Commands:\n"
        "  init     write a blank survey database (OV97.mdb, ov97.emp) into a folder\n"
        "  import   process a raw data file (.ovd) into a folder's survey database\n"
        "  list     list the surveys stored in a folder's survey database\n");
}

QString generalHelp()
{
    QString text = commonHelp();
    for (const CommandEntry &entry : moreCommands())
        text += QStringLiteral("  %1 %2\n")
                    .arg(QString::fromLatin1(entry.name).leftJustified(8),
                         QString::fromUtf8(entry.summary));
    return text +
           QStringLiteral("\nroadtally-cli <command> --help shows the options of a command.\n");
}

QString commandHelp(const QString &command)
{
    if (command == QLatin1String("init"))
        return QStringLiteral(
                   "Usage: roadtally-cli init --folder DIR\n\n"
                   "Writes a blank survey database OV97.mdb and its blank copy ov97.emp into DIR\n"
                   "(made when missing). An existing OV97.mdb is never "
                   "overwritten.\n\nOptions:\n") +
               optionHelp(folderOnly());
    if (command == QLatin1String("list"))
        return QStringLiteral(
                   "Usage: roadtally-cli list --folder DIR\n\n"
                   "Prints one line per survey stored in DIR/OV97.mdb: batch number, start date,\n"
                   "start time and location, in batch number order.\n\nOptions:\n") +
               optionHelp(folderOnly());
    return QStringLiteral(
               "Usage: roadtally-cli import --folder DIR FILE --location TEXT --direction TEXT "
               "--zone TEXT\n"
               "                           [--posted-speed TEXT] [--unit MPH|KPH] [--letter A-Z]\n"
               "                           [--range LOW HIGH] [--headway N] [--start-date "
               "mm/dd/yyyy]\n"
               "                           [--start-time hh:mm] [--batch mmddyy-L] "
               "[--location-code CODE]\n"
               "                           [--wait SECONDS]\n"
               "\n"
               "Loads the raw data file FILE as the program's loader does, takes the header "
               "values\n"
               "from it, applies the corrections given (as \"Accept These Changes\" does) and\n"
               "processes it into DIR/OV97.mdb as the \"Process\" command does. Prints the batch\n"
               "number and the number of vehicles stored; on failure prints the program's message\n"
               "and exits with status 1. Imports into one folder at the same time run one after\n"
               "the other: each waits up to --wait seconds for the database.\n\nOptions:\n") +
           optionHelp(importOptions());
}

bool readWholeNumber(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

} // namespace

CommandLineTool::CommandLineTool(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

int CommandLineTool::run(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        m_err << "roadtally-cli: no command given\n\n" << generalHelp();
        return UsageError;
    }
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        const QStringList commands = {QStringLiteral("init"), QStringLiteral("import"),
                                      QStringLiteral("list")};
        if (command == QLatin1String("help") && !rest.isEmpty() &&
            commands.contains(rest.first())) {
            m_out << commandHelp(rest.first());
            return Success;
        }
        for (const CommandEntry &entry : moreCommands()) {
            if (command == QLatin1String("help") && !rest.isEmpty() &&
                rest.first() == QLatin1String(entry.name))
                return entry.run({QStringLiteral("--help")}, m_out, m_err);
        }
        m_out << generalHelp();
        return Success;
    }
    if (command == QLatin1String("--version")) {
        const SurveyLocation location = resolveSurveyLocation({});
        m_out << "roadtally-cli " << programVersion() << "\nSurveys are kept in the "
              << folderNoun(location.folder) << ' ' << QDir::toNativeSeparators(location.folder)
              << '\n';
        return Success;
    }
    if (command == QLatin1String("init"))
        return init(rest);
    if (command == QLatin1String("import"))
        return importFile(rest);
    if (command == QLatin1String("list"))
        return list(rest);
    for (const CommandEntry &entry : moreCommands()) {
        if (command == QLatin1String(entry.name))
            return entry.run(rest, m_out, m_err);
    }
    m_err << "roadtally-cli: unknown command " << command << "\n\n" << generalHelp();
    return UsageError;
}

int CommandLineTool::usage(const QString &command, const QString &problem)
{
    m_err << "roadtally-cli " << command << ": " << problem << "\n(roadtally-cli " << command
          << " --help shows the options)\n";
    return UsageError;
}

QString CommandLineTool::surveyLine(const QString &batchNumber, const QString &date,
                                    const QString &time, const QString &location)
{
    return surveyListLine({batchNumber, date, time, location});
}

int CommandLineTool::init(const QStringList &arguments)
{
    const QString command = QStringLiteral("init");
    const ParsedArguments args = parseArguments(arguments, folderOnly());
    if (args.help) {
        m_out << commandHelp(command);
        return Success;
    }
    if (!args.error.isEmpty())
        return usage(command, args.error);
    if (!args.positional.isEmpty())
        return usage(command,
                     QStringLiteral("unexpected argument %1").arg(args.positional.first()));
    if (!args.has(QStringLiteral("folder")) || args.value(QStringLiteral("folder")).isEmpty())
        return usage(command, QStringLiteral("missing --folder DIR"));

    const QString folder = args.value(QStringLiteral("folder"));
    if (!QDir().mkpath(folder)) {
        m_err << "roadtally-cli init: cannot make the folder " << folder << "\n";
        return Failure;
    }
    if (const QString existing = existingDatabase(folder); !existing.isEmpty()) {
        m_err << "roadtally-cli init: " << QDir::toNativeSeparators(existing)
              << " already exists; it is left as it is\n";
        return Failure;
    }
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
        m_err << "roadtally-cli init: " << error << "\n";
        return Failure;
    }
    // A copy keeps the blank file's read-only bit; the database must be writable.
    QFile::setPermissions(database,
                          QFile::permissions(database) | QFile::WriteOwner | QFile::ReadOwner);
    m_out << "Blank survey database written: " << QDir::toNativeSeparators(database) << "\n";
    return Success;
}

int CommandLineTool::importFile(const QStringList &arguments)
{
    const QString command = QStringLiteral("import");
    const ParsedArguments args = parseArguments(arguments, importOptions());
    if (args.help) {
        m_out << commandHelp(command);
        return Success;
    }
    if (!args.error.isEmpty())
        return usage(command, args.error);
    if (!args.has(QStringLiteral("folder")) || args.value(QStringLiteral("folder")).isEmpty())
        return usage(command, QStringLiteral("missing --folder DIR"));
    if (args.positional.isEmpty())
        return usage(command, QStringLiteral("missing the raw data FILE"));
    if (args.positional.size() > 1)
        return usage(
            command,
            QStringLiteral("unexpected argument %1 (only one FILE)").arg(args.positional.at(1)));

    ImportRequest request;
    request.location = args.value(QStringLiteral("location"));
    request.direction = args.value(QStringLiteral("direction"));
    request.zone = args.value(QStringLiteral("zone"));
    if (args.has(QStringLiteral("unit"))) {
        request.unit = args.value(QStringLiteral("unit")).toUpper();
        if (request.unit != QLatin1String("MPH") && request.unit != QLatin1String("KPH"))
            return usage(command, QStringLiteral("--unit must be MPH or KPH"));
    }
    if (args.has(QStringLiteral("letter"))) {
        request.letter = args.value(QStringLiteral("letter")).toUpper();
        if (request.letter.size() != 1 || request.letter.at(0) < QLatin1Char('A') ||
            request.letter.at(0) > QLatin1Char('Z'))
            return usage(command, QStringLiteral("--letter must be one letter A to Z"));
    }
    if (args.has(QStringLiteral("range"))) {
        const QStringList ends = args.options.value(QStringLiteral("range"));
        int low = 0, high = 0;
        if (!readWholeNumber(ends.at(0), low) || !readWholeNumber(ends.at(1), high))
            return usage(command, QStringLiteral("--range needs two whole speeds LOW HIGH"));
        request.range = {QString::number(low), QString::number(high)};
    }
    if (args.has(QStringLiteral("headway"))) {
        int headway = 0;
        if (!readWholeNumber(args.value(QStringLiteral("headway")), headway))
            return usage(command, QStringLiteral("--headway needs a whole number of seconds"));
        request.headway = QString::number(headway);
    }
    request.corrections.startDate = args.value(QStringLiteral("start-date"));
    request.corrections.startTime = args.value(QStringLiteral("start-time"));
    request.corrections.batchNumber = args.value(QStringLiteral("batch"));
    request.corrections.locationCode = args.value(QStringLiteral("location-code"));
    request.corrections.postedSpeed = args.value(QStringLiteral("posted-speed"));
    ImportOptions options;
    if (args.has(QStringLiteral("wait"))) {
        bool ok = false;
        const double seconds = args.value(QStringLiteral("wait")).toDouble(&ok);
        if (!ok || !(seconds >= 0) || seconds > 3600)
            return usage(command,
                         QStringLiteral("--wait needs a number of seconds from 0 to 3600"));
        options.busyTimeoutMs = int(seconds * 1000);
    }

    const QString folder = args.value(QStringLiteral("folder"));
    const LoadResult loaded = loadRawDataPath(args.positional.first());
    if (loaded.status != LoadStatus::Loaded) {
        m_err << loadMessage(loaded) << "\n";
        return Failure;
    }
    const QString database = databasePathIn(folder);
    if (!QFileInfo(database).isFile()) {
        m_err << "roadtally-cli import: there is no survey database " << database
              << " (roadtally-cli init --folder " << folder << " writes a blank one)\n";
        return Failure;
    }

    const ImportInput input = buildImportInput(loaded.text, request);
    const ImportResult result = importSurvey(database, input, {}, options);
    if (result.outcome != ImportOutcome::Stored) {
        m_err << importMessage(result) << "\n";
        if (!result.detail.isEmpty())
            m_err << "(" << result.detail << ")\n";
        return Failure;
    }
    m_out << "Batch number: " << input.batchNumber << "\n"
          << "Vehicles stored: " << result.storedVehicles << "\n";
    return Success;
}

int CommandLineTool::list(const QStringList &arguments)
{
    const QString command = QStringLiteral("list");
    const ParsedArguments args = parseArguments(arguments, folderOnly());
    if (args.help) {
        m_out << commandHelp(command);
        return Success;
    }
    if (!args.error.isEmpty())
        return usage(command, args.error);
    if (!args.positional.isEmpty())
        return usage(command,
                     QStringLiteral("unexpected argument %1").arg(args.positional.first()));
    if (!args.has(QStringLiteral("folder")) || args.value(QStringLiteral("folder")).isEmpty())
        return usage(command, QStringLiteral("missing --folder DIR"));

    const QString database = databasePathIn(args.value(QStringLiteral("folder")));
    if (!QFileInfo(database).isFile()) {
        m_err << "roadtally-cli list: there is no survey database " << database << "\n";
        return Failure;
    }
    try {
        DatabaseSession session(database);
        session.requireOpen();
        // The same list, in the same order, as the open-survey window shows.
        for (const SurveyListEntry &entry : readSurveyList(session))
            m_out << surveyListLine(entry) << "\n";
    } catch (const DatabaseError &error) {
        m_err << "roadtally-cli list: " << error.what() << "\n";
        return Failure;
    }
    return Success;
}

} // namespace roadtally
