#pragma once
// Commands of roadtally-cli that live in files of their own. Each takes its
// arguments without the command name, writes its output and messages to the
// two streams and returns the exit code (0 done, 1 failed, 2 not understood);
// "--help" among its arguments prints its help.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <vector>

namespace roadtally {

using CommandFunction = int (*)(const QStringList &arguments, QTextStream &out, QTextStream &err);

struct CommandEntry
{
    const char *name;
    const char *summary; // one line for the general help
    CommandFunction run;
};

// show: any view of a stored survey (ShowCommand.cpp).
int showCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
// Upkeep of a folder's survey database (AdminCommands.cpp).
int backupCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err);
int restoreCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err);
int repairCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err);
int replaceCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err);
int deleteCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err);
int eraseCommandRun(const QStringList &arguments, QTextStream &out, QTextStream &err);
// report: a report of a stored survey as a PDF file (ReportCommand.cpp).
int reportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
// export: a stored survey to a workbook or CSV files (ExportCommand.cpp).
int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

// Every command below, in the order the general help lists them.
const std::vector<CommandEntry> &moreCommands();

} // namespace roadtally
