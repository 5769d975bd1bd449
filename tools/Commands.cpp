#include "Commands.h"

namespace roadtally {

const std::vector<CommandEntry> &moreCommands()
{
    static const std::vector<CommandEntry> commands = {
        {"export", "write a stored survey to an Excel workbook or to CSV files", exportCommand},
    };
    return commands;
}

} // namespace roadtally
