#include "Commands.h"

namespace roadtally {

const std::vector<CommandEntry> &moreCommands()
{
    static const std::vector<CommandEntry> commands = {
        {"show",
         "print a view of a stored survey: summary, fifteen, volume, weekly, speeds, percentile, "
         "study",
         showCommand},
        {"backup", "back up and compact a folder's survey database (OV97.BAK, OV97.mdb)",
         backupCommandRun},
        {"restore", "put the backup OV97.BAK in the place of the survey database",
         restoreCommandRun},
        {"repair", "check the survey database and repair it", repairCommandRun},
        {"replace", "put the blank database ov97.emp in the place of the survey database",
         replaceCommandRun},
        {"delete", "delete one survey by its batch number", deleteCommandRun},
        {"erase", "delete every survey from the survey database", eraseCommandRun},
        {"report", "write a report of a stored survey as a PDF file", reportCommand},
        {"export", "write a stored survey to an Excel workbook or to CSV files", exportCommand},
    };
    return commands;
}

} // namespace roadtally
