#include "Commands.h"

namespace roadtally {

const std::vector<CommandEntry> &moreCommands()
{
    static const std::vector<CommandEntry> commands = {
        {"show", "print a view of a stored survey: summary, fifteen, volume, weekly, speeds, percentile",
         showCommand},
    };
    return commands;
}

} // namespace roadtally
