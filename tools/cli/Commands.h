#pragma once
// The commands of roadtally-cli: one table (Commands.cpp) of commands, each a
// function that takes its parsed options and returns an ExitCode. What every
// command shares (the help, option parsing, required options, the one
// argument, the question asked before acting) is done before the function
// runs, by CommandLineTool::run.

#include "CliArguments.h"

#include "core/analysis/SurveyComparison.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>
#include <utility>

namespace roadtally {

// The process's exit status: the command did its work, failed (with the
// program's message), or was not understood.
enum class ExitCode { Success = 0, Failure = 1, UsageError = 2 };

// A command as it runs: its name, parsed options and the two streams.
class Invocation
{
public:
    Invocation(QString command, ParsedArguments arguments, QTextStream &out, QTextStream &err,
               bool progress = false)
        : out(out), err(err), progress(progress), m_command(std::move(command)),
          m_arguments(std::move(arguments))
    {
    }

    const QString &command() const { return m_command; }
    bool has(const QString &option) const { return m_arguments.has(option); }
    // The option's value ("" when not given); both values of a two-value option.
    QString value(const QString &option) const { return m_arguments.value(option); }
    QStringList values(const QString &option) const { return m_arguments.options.value(option); }
    // The names of the options given, in name order.
    QStringList optionNames() const { return m_arguments.options.keys(); }
    // The command's one argument besides the options ("" when it takes none).
    QString operand() const { return m_arguments.positional.value(0); }
    // With the value some choices take after it ("add NAME"): all of them.
    QStringList operands() const { return m_arguments.positional; }

    // A usage problem: the message and a pointer to --help.
    ExitCode usage(const QString &problem) const;
    // A failure: the message, prefixed with the command.
    ExitCode fail(const QString &problem) const;
    // The failure of a batch number that names no survey of the database.
    ExitCode unknownSurvey(const QString &batch, const QString &database) const;
    // The survey database: the server of --database (or ROADTALLY_DATABASE when
    // no --folder is given), else the one in the --folder (any case of its
    // name); "" after saying so when there is none. Without --folder the folder
    // is the survey folder both programs would use.
    QString database() const;
    // The server URI in use (--database, else ROADTALLY_DATABASE unless --folder
    // is given); "" for a folder's database.
    QString serverDatabase() const;

    QTextStream &out;
    QTextStream &err;
    // Long work shows a ProgressLine on err (a person at a terminal is waiting).
    bool progress = false;

private:
    QString m_command;
    ParsedArguments m_arguments;
};

// "there is no survey 052401-A in /srv/OV97.mdb": every command says it so.
QString unknownSurveyText(const QString &batch, const QString &database);

using CommandFunction = ExitCode (*)(const Invocation &);

// The one argument a command takes besides its options.
struct Operand
{
    QString name;        // FILE, KIND
    QString description; // "missing ..." names it so: "the raw data FILE"
    QStringList choices; // the values it may take; any when empty
    QString value;       // a value some choices take after it (NAME); the command checks it
};

struct Command
{
    QString name;
    QString summary;     // its line in the general help
    QString synopsis;    // the usage line after "roadtally-cli NAME"
    QString description; // the help between the usage line and the options
    QList<OptionSpec> options;
    QStringList required;        // options that must have a value, checked in this order
    Operand operand;             // none when its name is empty
    bool existingFolder = false; // --folder must be there already
    QString question;            // asked first by the window; --yes answers it
    CommandFunction run = nullptr;
    bool oneFileOnly = false; // upkeep of the one file: refused on a server
};

// Every command, in the order the general help lists them.
const QList<Command> &commands();

// --folder DIR, which most commands take; the survey folder when not given.
OptionSpec folderOption();
// --database URI, which every command that takes --folder takes in its place.
OptionSpec databaseOption();
// A command's options as parsed and shown in its help: --database beside --folder.
QList<OptionSpec> optionsOf(const Command &command);

// init, import, list (FolderCommands.cpp).
ExitCode initCommand(const Invocation &invocation);
ExitCode importCommand(const Invocation &invocation);
ExitCode listCommand(const Invocation &invocation);
// show: any view of a stored survey (ShowCommand.cpp).
ExitCode showCommand(const Invocation &invocation);
// Upkeep of a folder's survey database (AdminCommands.cpp).
ExitCode backupCommand(const Invocation &invocation);
ExitCode restoreCommand(const Invocation &invocation);
ExitCode repairCommand(const Invocation &invocation);
ExitCode replaceCommand(const Invocation &invocation);
ExitCode deleteCommand(const Invocation &invocation);
ExitCode eraseCommand(const Invocation &invocation);
// report: a report of a stored survey as a PDF file (ReportCommand.cpp).
ExitCode reportCommand(const Invocation &invocation);
// export: a stored survey to a workbook or CSV files (ExportCommand.cpp).
ExitCode exportCommand(const Invocation &invocation);
// compare: two surveys before and after a measure (CompareCommand.cpp).
ExitCode compareCommand(const Invocation &invocation);
// The comparison that --before, --after, --control-before, --control-after and
// --direction name; none after saying why (code then holds the exit status).
std::optional<SurveyComparison> loadComparison(const Invocation &invocation, ExitCode &code);
// copy: surveys from one database to another (CopyCommand.cpp).
ExitCode copyCommand(const Invocation &invocation);
// The agency, the officer list and the report options (AgencyCommands.cpp).
ExitCode agencyCommand(const Invocation &invocation);
ExitCode officerCommand(const Invocation &invocation);
ExitCode reportOptionsCommand(const Invocation &invocation);

} // namespace roadtally
