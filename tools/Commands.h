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

int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

// Every command below, in the order the general help lists them.
const std::vector<CommandEntry> &moreCommands();

} // namespace roadtally
