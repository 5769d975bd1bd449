#include "CommandLineTool.h"
#include "Commands.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/Installation.h"
#include "core/store/SharedState.h"
#include "core/survey/SurveyList.h"
#include "core/upkeep/DatabaseFiles.h"
#include "core/upkeep/SurveyCopy.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace roadtally {

namespace {

QString generalHelp()
{
    QString text = QStringLiteral("Usage: roadtally-cli <command> [options]\n\nCommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1 %2\n").arg(command.name.leftJustified(8), command.summary);
    return text + QStringLiteral(
                      "\nroadtally-cli <command> --help shows the options of a command.\n"
                      "roadtally-cli --version shows the version and the survey folder.\n"
                      "\nWithout --folder a command works in the survey folder: ROADTALLY_FOLDER "
                      "when set,\nelse the program folder when the program may write there, "
                      "else the user's\ndata folder.\n");
}

QString commandHelp(const Command &command)
{
    return QStringLiteral("Usage: roadtally-cli %1 %2\n\n%3\n\nOptions:\n")
               .arg(command.name, command.synopsis, command.description) +
           optionHelp(optionsOf(command));
}

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands())
        if (command.name == name)
            return &command;
    return nullptr;
}

// Texts of the program use CR LF; a terminal wants plain line ends.
QString plainLines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// What is wrong with the arguments besides the options, if anything.
std::optional<QString> operandProblem(const Operand &operand, const QStringList &positional)
{
    const QString choices = operand.choices.join(QStringLiteral(", "));
    if (operand.name.isEmpty()) {
        if (!positional.isEmpty())
            return QStringLiteral("unexpected argument %1").arg(positional.first());
    } else if (positional.isEmpty()) {
        return QStringLiteral("missing ") + operand.description +
               (choices.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(choices));
    } else if (positional.size() > (operand.value.isEmpty() ? 1 : 2)) {
        return QStringLiteral("unexpected argument %1 (only one %2)")
            .arg(positional.at(operand.value.isEmpty() ? 1 : 2), operand.name);
    } else if (!operand.choices.isEmpty() && !operand.choices.contains(positional.first())) {
        return QStringLiteral("unknown %1 %2 (one of %3)")
            .arg(operand.name.toLower(), positional.first(), choices);
    }
    return std::nullopt;
}

// What every command checks before it runs: help, the options, the required
// ones, its one argument, the folder, the window's question.
ExitCode runCommand(const Command &command, const QStringList &arguments, QTextStream &out,
                    QTextStream &err, bool progress)
{
    const QList<OptionSpec> options = optionsOf(command);
    ParsedArguments parsed = parseArguments(arguments, options);
    const bool takesFolder =
        std::any_of(command.options.cbegin(), command.options.cend(),
                    [](const OptionSpec &spec) { return spec.name == QLatin1String("folder"); });
    if (takesFolder && parsed.error.isEmpty() && !parsed.has(QStringLiteral("folder")) &&
        !parsed.has(QStringLiteral("database"))) {
        // Without either: the server of ROADTALLY_DATABASE, else the survey
        // folder the program itself would use.
        const QString server = qEnvironmentVariable("ROADTALLY_DATABASE").trimmed();
        if (!server.isEmpty())
            parsed.options.insert(QStringLiteral("database"), {server});
        else
            parsed.options.insert(QStringLiteral("folder"), {resolveSurveyLocation({}).folder});
    }
    const Invocation invocation(command.name, parsed, out, err, progress);
    if (parsed.help) {
        out << commandHelp(command);
        return ExitCode::Success;
    }
    if (!parsed.error.isEmpty())
        return invocation.usage(parsed.error);
    // An argument that names what to do (show's KIND) comes before the options;
    // any other after them.
    const bool operandFirst = !command.operand.choices.isEmpty();
    if (operandFirst)
        if (const auto problem = operandProblem(command.operand, parsed.positional))
            return invocation.usage(*problem);
    if (invocation.has(QStringLiteral("database")) && invocation.has(QStringLiteral("folder")))
        return invocation.usage(
            QStringLiteral("--database and --folder name two databases; give one"));
    const QString server = invocation.serverDatabase();
    if (!server.isEmpty()) {
        QString why;
        if (!parseServerUri(server, &why))
            return invocation.usage(why);
        // The upkeep of the one file has nothing to work on.
        if (command.oneFileOnly) {
            err << "roadtally-cli " << command.name << ": " << serverUpkeepRefusal() << "\n";
            return ExitCode::UsageError;
        }
    }
    for (const QString &name : command.required) {
        if (name == QLatin1String("folder") && !server.isEmpty())
            continue;
        if (invocation.value(name).trimmed().isEmpty()) {
            const auto spec = std::find_if(options.cbegin(), options.cend(),
                                           [&](const OptionSpec &s) { return s.name == name; });
            return invocation.usage(QStringLiteral("missing --%1 %2").arg(name, spec->valueName));
        }
    }
    if (!operandFirst)
        if (const auto problem = operandProblem(command.operand, parsed.positional))
            return invocation.usage(*problem);
    const QString folder = invocation.value(QStringLiteral("folder"));
    if (server.isEmpty() && command.existingFolder && !QFileInfo(folder).isDir())
        return invocation.fail(
            QStringLiteral("there is no folder %1").arg(QDir::toNativeSeparators(folder)));
    if (!command.question.isEmpty() && !invocation.has(QStringLiteral("yes"))) {
        err << "roadtally-cli " << command.name << ": the program asks first:\n\n"
            << plainLines(command.question) << "\n\nNothing was changed. Add --yes to go ahead.\n";
        return ExitCode::UsageError;
    }
    return command.run(invocation);
}

} // namespace

ExitCode Invocation::usage(const QString &problem) const
{
    err << "roadtally-cli " << m_command << ": " << problem << "\n(roadtally-cli " << m_command
        << " --help shows the options)\n";
    return ExitCode::UsageError;
}

ExitCode Invocation::fail(const QString &problem) const
{
    err << "roadtally-cli " << m_command << ": " << problem << "\n";
    return ExitCode::Failure;
}

ExitCode Invocation::unknownSurvey(const QString &batch, const QString &database) const
{
    return fail(unknownSurveyText(batch, database));
}

QString unknownSurveyText(const QString &batch, const QString &database)
{
    return QStringLiteral("there is no survey %1 in %2")
        .arg(batch.trimmed(), QDir::toNativeSeparators(database));
}

QString Invocation::serverDatabase() const
{
    return value(QStringLiteral("database")).trimmed();
}

QString Invocation::database() const
{
    if (const QString server = serverDatabase(); !server.isEmpty())
        return server;
    const QString folder = value(QStringLiteral("folder"));
    const QString found = findFileNoCase(folder, QString::fromLatin1(DatabaseFileName));
    if (found.isEmpty())
        fail(QStringLiteral("there is no survey database %1 in the %2 %3 (roadtally-cli init "
                            "writes a blank one)")
                 .arg(QString::fromLatin1(DatabaseFileName), folderNoun(folder),
                      QDir::toNativeSeparators(folder)));
    return found;
}

CommandLineTool::CommandLineTool(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

int CommandLineTool::run(const QStringList &arguments)
{
    if (arguments.isEmpty()) {
        m_err << "roadtally-cli: no command given\n\n" << generalHelp();
        return int(ExitCode::UsageError);
    }
    const QString name = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        const Command *command =
            name == QLatin1String("help") && !rest.isEmpty() ? findCommand(rest.first()) : nullptr;
        m_out << (command ? commandHelp(*command) : generalHelp());
        return int(ExitCode::Success);
    }
    if (name == QLatin1String("--version")) {
        const QString folder = resolveSurveyLocation({}).folder;
        m_out << "roadtally-cli " << programVersion() << "\nSurveys are kept in the "
              << folderNoun(folder) << ' ' << QDir::toNativeSeparators(folder) << '\n';
        return int(ExitCode::Success);
    }
    if (const Command *command = findCommand(name))
        return int(runCommand(*command, rest, m_out, m_err, m_progress));
    m_err << "roadtally-cli: unknown command " << name << "\n\n" << generalHelp();
    return int(ExitCode::UsageError);
}

QString CommandLineTool::surveyLine(const QString &batchNumber, const QString &date,
                                    const QString &time, const QString &location)
{
    return surveyListLine({batchNumber, date, time, location});
}

} // namespace roadtally
