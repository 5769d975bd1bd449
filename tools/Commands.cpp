#include "Commands.h"

namespace roadtally {

const std::vector<CommandEntry> &moreCommands()
{
    static const std::vector<CommandEntry> commands = {
    };
    return commands;
}

} // namespace roadtally
