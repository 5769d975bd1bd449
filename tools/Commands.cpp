#include "Commands.h"

namespace roadtally {

const std::vector<CommandEntry> &moreCommands()
{
    static const std::vector<CommandEntry> commands = {
        {"report", "write a report of a stored survey as a PDF file", reportCommand},
    };
    return commands;
}

} // namespace roadtally
