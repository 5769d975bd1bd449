// roadtally-cli upkeep of a folder's survey database, for scripts (a nightly
// backup): backup, restore, repair, replace, delete, erase. The same steps as
// the "Database Management", "Delete Survey" and "Delete Database" windows; where
// a window asks before it acts, the command wants --yes.

#include "CliArguments.h"
#include "Commands.h"

#include "core/store/SharedState.h"
#include "core/upkeep/DatabaseMaintenance.h"
#include "core/upkeep/SurveyDeletion.h"

#include <QDir>
#include <QFileInfo>

namespace roadtally {

namespace {

enum Exit { Done = 0, Failed = 1, Usage = 2 };

const OptionSpec FolderOption{QStringLiteral("folder"), 1, QStringLiteral("DIR"),
                              QStringLiteral("the program folder that holds OV97.mdb")};
const OptionSpec YesOption{QStringLiteral("yes"), 0, QString(),
                           QStringLiteral("answer the window's question with yes")};
const OptionSpec BatchOption{QStringLiteral("batch"), 1, QStringLiteral("B"),
                             QStringLiteral("the batch number of the survey, e.g. 052401-A")};

// Texts of the program use CR LF; a terminal wants plain line ends.
QString plain(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

struct Command
{
    QString name;
    QString synopsis;
    QString description;
    QVector<OptionSpec> options;
    QString question; // asked by the window; "" when the window asks nothing
};

int usage(const Command &command, const QString &problem, QTextStream &err)
{
    err << "roadtally-cli " << command.name << ": " << problem << "\n(roadtally-cli "
        << command.name << " --help shows the options)\n";
    return Usage;
}

// Parses the arguments; returns -1 when the command is to run, else the exit code.
int prepare(const Command &command, const QStringList &arguments, QTextStream &out,
            QTextStream &err, ParsedArguments &args)
{
    args = parseArguments(arguments, command.options);
    if (args.help) {
        out << "Usage: roadtally-cli " << command.name << " " << command.synopsis << "\n\n"
            << command.description << "\n\nOptions:\n"
            << optionHelp(command.options);
        return Done;
    }
    if (!args.error.isEmpty())
        return usage(command, args.error, err);
    if (!args.positional.isEmpty())
        return usage(command, QStringLiteral("unexpected argument %1").arg(args.positional.first()),
                     err);
    if (args.value(QStringLiteral("folder")).isEmpty())
        return usage(command, QStringLiteral("missing --folder DIR"), err);
    if (!QFileInfo(args.value(QStringLiteral("folder"))).isDir()) {
        err << "roadtally-cli " << command.name << ": there is no folder "
            << QDir::toNativeSeparators(args.value(QStringLiteral("folder"))) << "\n";
        return Failed;
    }
    if (!command.question.isEmpty() && !args.has(QStringLiteral("yes"))) {
        err << "roadtally-cli " << command.name << ": the program asks first:\n\n"
            << plain(command.question) << "\n\nNothing was changed. Add --yes to go ahead.\n";
        return Usage;
    }
    return -1;
}

int report(const MaintenanceResult &result, QTextStream &out, QTextStream &err)
{
    if (result.ok()) {
        out << plain(result.message) << "\n";
        return Done;
    }
    err << plain(result.message) << "\n";
    return Failed;
}

const Command &backupCommand()
{
    static const Command c{
        QStringLiteral("backup"),
        QStringLiteral("--folder DIR"),
        QStringLiteral(
            "Backs up and compacts DIR/OV97.mdb: afterwards OV97.BAK is the database as it\n"
            "was and OV97.mdb its compacted copy. A failure at any step leaves OV97.mdb\n"
            "(and the earlier backup) in place."),
        {FolderOption},
        {}};
    return c;
}

const Command &restoreCommand()
{
    static const Command c{
        QStringLiteral("restore"),
        QStringLiteral("--folder DIR --yes"),
        QStringLiteral("Puts a copy of the backup DIR/OV97.BAK in the place of OV97.mdb."),
        {FolderOption, YesOption},
        QString::fromLatin1(RestoreQuestionText)};
    return c;
}

const Command &repairCommand()
{
    static const Command c{
        QStringLiteral("repair"),
        QStringLiteral("--folder DIR"),
        QStringLiteral(
            "Checks DIR/OV97.mdb and prints the check's findings. A sound database is\n"
            "re-indexed and compacted; a damaged one is rebuilt from the rows that can be\n"
            "read, and the damaged file is kept beside it under a new name."),
        {FolderOption},
        {}};
    return c;
}

const Command &replaceCommand()
{
    static const Command c{
        QStringLiteral("replace"),
        QStringLiteral("--folder DIR --yes"),
        QStringLiteral("Puts a copy of the blank database DIR/ov97.emp in the place of OV97.mdb."),
        {FolderOption, YesOption},
        QString::fromLatin1(ReplaceQuestionText)};
    return c;
}

const Command &deleteCommand()
{
    static const Command c{
        QStringLiteral("delete"),
        QStringLiteral("--folder DIR --batch B"),
        QStringLiteral(
            "Deletes the survey B from Header, Speed, Speed_Profile, Summary and Time_15\n"
            "(the vehicle rows, the settings, officers and agency stay)."),
        {FolderOption, BatchOption},
        {}};
    return c;
}

const Command &eraseCommand()
{
    static const Command c{
        QStringLiteral("erase"),
        QStringLiteral("--folder DIR --yes"),
        QStringLiteral("Deletes every survey: all rows of Header, Speed, Speed_Profile, Summary,\n"
                       "Time_15 and Veh_Data (Radar, Officer and Agency stay)."),
        {FolderOption, YesOption},
        QString::fromLatin1(EraseQuestionText)};
    return c;
}

QString databaseOf(const ParsedArguments &args)
{
    const QString folder = args.value(QStringLiteral("folder"));
    const QString found = databaseFileIn(folder);
    return found.isEmpty() ? databasePathIn(folder) : found;
}

} // namespace

int backupCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    ParsedArguments args;
    if (const int code = prepare(backupCommand(), arguments, out, err, args); code >= 0)
        return code;
    return report(backupDatabase(args.value(QStringLiteral("folder"))), out, err);
}

int restoreCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    ParsedArguments args;
    if (const int code = prepare(restoreCommand(), arguments, out, err, args); code >= 0)
        return code;
    return report(restoreDatabase(args.value(QStringLiteral("folder"))), out, err);
}

int repairCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    ParsedArguments args;
    if (const int code = prepare(repairCommand(), arguments, out, err, args); code >= 0)
        return code;
    const RepairResult result = repairDatabase(args.value(QStringLiteral("folder")));
    if (!result.check.isEmpty()) {
        out << "Integrity check:\n";
        for (const QString &line : result.check)
            out << "    " << line << "\n";
        out.flush();
    }
    return report(result, out, err);
}

int replaceCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    ParsedArguments args;
    if (const int code = prepare(replaceCommand(), arguments, out, err, args); code >= 0)
        return code;
    return report(replaceDatabase(args.value(QStringLiteral("folder"))), out, err);
}

int deleteCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    ParsedArguments args;
    if (const int code = prepare(deleteCommand(), arguments, out, err, args); code >= 0)
        return code;
    const QString batch = args.value(QStringLiteral("batch"));
    if (batch.trimmed().isEmpty())
        return usage(deleteCommand(), QStringLiteral("missing --batch B"), err);
    const DeletionResult result = deleteSurvey(databaseOf(args), batch);
    if (!result.ok) {
        err << plain(result.message) << "\n";
        return Failed;
    }
    if (result.total() == 0) {
        err << "roadtally-cli delete: there is no survey " << batch << "; nothing was deleted\n";
        return Failed;
    }
    out << "Survey " << batch << " deleted:";
    for (const TableRows &t : result.deleted)
        out << " " << t.table << " " << t.rows << (&t == &result.deleted.constLast() ? "" : ",");
    out << " rows\n";
    return Done;
}

int eraseCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    ParsedArguments args;
    if (const int code = prepare(eraseCommand(), arguments, out, err, args); code >= 0)
        return code;
    const EraseResult result = eraseDatabase(databaseOf(args));
    if (!result.ok) {
        err << plain(result.message) << "\n";
        return Failed;
    }
    out << result.doneText() << "\n";
    return Done;
}

} // namespace roadtally
