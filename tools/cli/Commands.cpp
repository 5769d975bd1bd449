#include "Commands.h"

#include "core/upkeep/DatabaseMaintenance.h"
#include "core/upkeep/SurveyDeletion.h"

namespace roadtally {

OptionSpec folderOption()
{
    return {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
            QStringLiteral(
                "the survey folder that holds OV97.mdb (default: see roadtally-cli --help)")};
}

OptionSpec databaseOption()
{
    return {QStringLiteral("database"), 1, QStringLiteral("URI"),
            QStringLiteral("the survey database on a server, postgresql://USER@HOST:PORT/DBNAME, "
                           "in place of --folder (default: ROADTALLY_DATABASE; the password "
                           "comes from ~/.pgpass)")};
}

QList<OptionSpec> optionsOf(const Command &command)
{
    QList<OptionSpec> options = command.options;
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options.at(i).name == QLatin1String("folder")) {
            options.insert(i + 1, databaseOption());
            break;
        }
    }
    return options;
}

namespace {

OptionSpec yesOption()
{
    return {QStringLiteral("yes"), 0, QString(),
            QStringLiteral("answer the window's question with yes")};
}

// The surveys of a comparison, for compare and report --report compare.
QList<OptionSpec> comparisonOptions()
{
    return {
        {QStringLiteral("before"), 1, QStringLiteral("B1"),
         QStringLiteral("batch number of the survey before the measure")},
        {QStringLiteral("after"), 1, QStringLiteral("B2"),
         QStringLiteral("batch number of the survey after it")},
        {QStringLiteral("control-before"), 1, QStringLiteral("C1"),
         QStringLiteral("a control site's survey over the before period (with --control-after)")},
        {QStringLiteral("control-after"), 1, QStringLiteral("C2"),
         QStringLiteral("the control site's survey over the after period")},
    };
}

QString adminBatchHelp()
{
    return QStringLiteral("the batch number of the survey, e.g. 052401-A");
}

} // namespace

// To add a command: add a row here (its name, help and options; the options
// it cannot run without in `required`) and write its function, declared in
// Commands.h. The function runs only once the options are understood and the
// required ones given; it reports through Invocation::usage and ::fail.
const QList<Command> &commands()
{
    static const QList<Command> table = {
        {
            QStringLiteral("init"),
            QStringLiteral("write a blank survey database (OV97.mdb, ov97.emp) into a folder"),
            QStringLiteral("[--folder DIR]"),
            QStringLiteral(
                "Writes a blank survey database OV97.mdb and its blank copy ov97.emp into DIR\n"
                "(made when missing). An existing OV97.mdb is never overwritten."),
            {folderOption()},
            {QStringLiteral("folder")},
            {},
            false,
            {},
            initCommand,
        },
        {
            QStringLiteral("import"),
            QStringLiteral("process a raw data file (.ovd) into a folder's survey database"),
            QStringLiteral(
                "[--folder DIR] FILE --location TEXT --direction TEXT --zone TEXT\n"
                "                           [--posted-speed TEXT] [--unit MPH|KPH] [--letter "
                "A-Z]\n"
                "                           [--range LOW HIGH] [--headway N] [--start-date "
                "mm/dd/yyyy]\n"
                "                           [--start-time hh:mm] [--batch mmddyy-L] "
                "[--location-code CODE]\n"
                "                           [--wait SECONDS]"),
            QStringLiteral(
                "Loads the raw data file FILE as the program's loader does, takes the header "
                "values\n"
                "from it, applies the corrections given (as \"Accept These Changes\" does) and\n"
                "processes it into DIR/OV97.mdb as the \"Process\" command does. Prints the batch\n"
                "number and the number of vehicles stored; on failure prints the program's "
                "message\n"
                "and exits with status 1. Imports into one folder at the same time run one after\n"
                "the other: each waits up to --wait seconds for the database."),
            {
                folderOption(),
                {QStringLiteral("location"), 1, QStringLiteral("TEXT"),
                 QStringLiteral("survey location (required)")},
                {QStringLiteral("direction"), 1, QStringLiteral("TEXT"),
                 QStringLiteral("direction of travel, e.g. North, \"South West\", NW (required)")},
                {QStringLiteral("zone"), 1, QStringLiteral("TEXT"),
                 QStringLiteral(
                     "survey zone, e.g. School, Residential, \"Parks & Rec\" (required)")},
                {QStringLiteral("posted-speed"), 1, QStringLiteral("TEXT"),
                 QStringLiteral(
                     "posted speed limit, e.g. 035 (default: the file's violation alert speed)")},
                {QStringLiteral("unit"), 1, QStringLiteral("MPH|KPH"),
                 QStringLiteral("speed unit (default MPH)")},
                {QStringLiteral("letter"), 1, QStringLiteral("A-Z"),
                 QStringLiteral("batch letter (default A)")},
                {QStringLiteral("range"), 2, QStringLiteral("LOW HIGH"),
                 QStringLiteral("speeds to import, both ends included (default 10 100 for MPH, "
                                "15 160 for KPH)")},
                {QStringLiteral("headway"), 1, QStringLiteral("N"),
                 QStringLiteral(
                     "minimum seconds between imported vehicles (default 0: no headway)")},
                {QStringLiteral("start-date"), 1, QStringLiteral("mm/dd/yyyy"),
                 QStringLiteral("corrected survey start date")},
                {QStringLiteral("start-time"), 1, QStringLiteral("hh:mm"),
                 QStringLiteral("corrected survey start time")},
                {QStringLiteral("batch"), 1, QStringLiteral("mmddyy-L"),
                 QStringLiteral("corrected batch number (replaces the one made from the date and "
                                "--letter)")},
                {QStringLiteral("location-code"), 1, QStringLiteral("CODE"),
                 QStringLiteral("corrected five-digit location code")},
                {QStringLiteral("wait"), 1, QStringLiteral("SECONDS"),
                 QStringLiteral("how long to wait for a database another program or import is "
                                "writing (default 10)")},
            },
            {QStringLiteral("folder")},
            {QStringLiteral("FILE"), QStringLiteral("the raw data FILE"), {}},
            false,
            {},
            importCommand,
        },
        {
            QStringLiteral("list"),
            QStringLiteral("list the surveys stored in a folder's survey database"),
            QStringLiteral("[--folder DIR]"),
            QStringLiteral(
                "Prints one line per survey stored in DIR/OV97.mdb: batch number, start date,\n"
                "start time and location, in batch number order."),
            {folderOption()},
            {QStringLiteral("folder")},
            {},
            false,
            {},
            listCommand,
        },
        {
            QStringLiteral("show"),
            QStringLiteral("print a view of a stored survey: summary, fifteen, volume, weekly, "
                           "speeds, percentile, study"),
            QStringLiteral("[--folder DIR] --batch BATCH KIND [options] [--json]"),
            QStringLiteral(
                "Prints a view of a stored survey as the main window shows it:\n"
                "  summary     speed distribution (with --scheme) and the survey criteria\n"
                "  fifteen     the 48 fifteen-minute rows of --date and the peak-hour analysis\n"
                "  volume      the 24 hourly volumes of --date (the daily volume chart)\n"
                "  weekly      the weekly summary grid, computed from a cleared grid\n"
                "  speeds      the vehicle speeds chart\n"
                "  percentile  the 85th percentile chart\n"
                "  study       the speed zone study: ranked and interpolated percentiles, the "
                "best\n"
                "              pace, spread, shares over the limit, sample size and daily "
                "traffic,\n"
                "              beside the program's own estimates\n"
                "Values are the texts the window shows. Exit status 1 for an unknown batch,\n"
                "scheme or date."),
            {
                folderOption(),
                {QStringLiteral("batch"), 1, QStringLiteral("BATCH"),
                 QStringLiteral("the survey's batch number, e.g. 052401-A")},
                {QStringLiteral("direction"), 1, QStringLiteral("DIR"),
                 QStringLiteral(
                     "approaching, receding or both (default: approaching for summary and study, "
                     "both otherwise)")},
                {QStringLiteral("scheme"), 1, QStringLiteral("NAME"),
                 QStringLiteral("summary: the display scheme, e.g. \"15 to 70 by 5 MPH\"")},
                {QStringLiteral("date"), 1, QStringLiteral("mm/dd/yy"),
                 QStringLiteral("fifteen, volume: a date of the survey")},
                {QStringLiteral("printer"), 1, QStringLiteral("MODE"),
                 QStringLiteral("speeds, percentile: color or bw (default color)")},
                {QStringLiteral("criteria"), 1, QStringLiteral("DIR"),
                 QStringLiteral(
                     "percentile: the summary direction whose pace and 85th percentile are marked "
                     "(default approaching)")},
                {QStringLiteral("json"), 0, QString(),
                 QStringLiteral("write JSON instead of a table")},
            },
            {QStringLiteral("folder"), QStringLiteral("batch")},
            {QStringLiteral("KIND"),
             QStringLiteral("the KIND"),
             {QStringLiteral("summary"), QStringLiteral("fifteen"), QStringLiteral("volume"),
              QStringLiteral("weekly"), QStringLiteral("speeds"), QStringLiteral("percentile"),
              QStringLiteral("study")}},
            false,
            {},
            showCommand,
        },
        {
            QStringLiteral("backup"),
            QStringLiteral("back up and compact a folder's survey database (OV97.BAK, OV97.mdb)"),
            QStringLiteral("[--folder DIR]"),
            QStringLiteral(
                "Backs up and compacts DIR/OV97.mdb: afterwards OV97.BAK is the database as it\n"
                "was and OV97.mdb its compacted copy. A failure at any step leaves OV97.mdb\n"
                "(and the earlier backup) in place."),
            {folderOption()},
            {QStringLiteral("folder")},
            {},
            true,
            {},
            backupCommand,
            true,
        },
        {
            QStringLiteral("restore"),
            QStringLiteral("put the backup OV97.BAK in the place of the survey database"),
            QStringLiteral("[--folder DIR] --yes"),
            QStringLiteral("Puts a copy of the backup DIR/OV97.BAK in the place of OV97.mdb."),
            {folderOption(), yesOption()},
            {QStringLiteral("folder")},
            {},
            true,
            QString::fromLatin1(RestoreQuestionText),
            restoreCommand,
            true,
        },
        {
            QStringLiteral("repair"),
            QStringLiteral("check the survey database and repair it"),
            QStringLiteral("[--folder DIR]"),
            QStringLiteral(
                "Checks DIR/OV97.mdb and prints the check's findings. A sound database is\n"
                "re-indexed and compacted; a damaged one is rebuilt from the rows that can be\n"
                "read, and the damaged file is kept beside it under a new name."),
            {folderOption()},
            {QStringLiteral("folder")},
            {},
            true,
            {},
            repairCommand,
            true,
        },
        {
            QStringLiteral("replace"),
            QStringLiteral("put the blank database ov97.emp in the place of the survey database"),
            QStringLiteral("[--folder DIR] --yes"),
            QStringLiteral(
                "Puts a copy of the blank database DIR/ov97.emp in the place of OV97.mdb."),
            {folderOption(), yesOption()},
            {QStringLiteral("folder")},
            {},
            true,
            QString::fromLatin1(ReplaceQuestionText),
            replaceCommand,
            true,
        },
        {
            QStringLiteral("delete"),
            QStringLiteral("delete one survey by its batch number"),
            QStringLiteral("[--folder DIR] --batch B --yes"),
            QStringLiteral(
                "Deletes the survey B from Header, Speed, Speed_Profile, Summary and Time_15\n"
                "(the vehicle rows, the settings, officers and agency stay). Without --yes it\n"
                "names the survey, as the window asks, and deletes nothing."),
            {folderOption(),
             {QStringLiteral("batch"), 1, QStringLiteral("B"), adminBatchHelp()},
             yesOption()},
            {QStringLiteral("folder"), QStringLiteral("batch")},
            {},
            true,
            {},
            deleteCommand,
        },
        {
            QStringLiteral("erase"),
            QStringLiteral("delete every survey from the survey database"),
            QStringLiteral("[--folder DIR] --yes"),
            QStringLiteral(
                "Deletes every survey: all rows of Header, Speed, Speed_Profile, Summary,\n"
                "Time_15 and Veh_Data (Radar, Officer and Agency stay)."),
            {folderOption(), yesOption()},
            {QStringLiteral("folder")},
            {},
            true,
            QString::fromLatin1(EraseQuestionText),
            eraseCommand,
        },
        {
            QStringLiteral("report"),
            QStringLiteral("write a report of a stored survey as a PDF file"),
            QStringLiteral("[--folder DIR] --batch B --report KIND --pdf OUT.pdf\n"
                           "                           [--scheme NAME] [--direction "
                           "approaching|receding|both]\n"
                           "                           [--date mm/dd/yy] [--printer color|bw] "
                           "[--criteria DIR]\n"
                           "                           [--officer NAME]\n"
                           "       roadtally-cli report --folder DIR --report compare --before B1 "
                           "--after B2\n"
                           "                           [--control-before C1 --control-after C2] "
                           "--pdf OUT.pdf"),
            QStringLiteral(
                "Builds one report of the survey B in DIR/OV97.mdb as the print preview builds "
                "it and\n"
                "writes it as a PDF file (US Letter):\n"
                "  summary     survey summary in a display scheme (--scheme, --direction)\n"
                "  fifteen     fifteen-minute flow of one date (--date, --direction)\n"
                "  weekly      weekly summary\n"
                "  speeds      vehicle speed comparison chart (--direction, --printer)\n"
                "  percentile  85th percentile speed and pace chart (--direction, --printer)\n"
                "  volume      daily volume chart of one date (--date, --direction)\n"
                "  profile     every speeding vehicle (--direction), any number of pages\n"
                "  study       speed zone study: ranked percentiles, pace, spread, sample size\n"
                "              (--direction)\n"
                "  compare     before and after speed study of two surveys (--before, --after,\n"
                "              --control-before, --control-after, --direction; no --batch)\n"
                "The agency heading, the address and the two report options come from the "
                "database,\n"
                "as the administration window keeps them. An existing OUT.pdf is replaced only "
                "when\n"
                "the new file is complete."),
            QList<OptionSpec>{
                folderOption(),
                {QStringLiteral("batch"), 1, QStringLiteral("B"),
                 QStringLiteral("batch number of the survey (required but for compare)")},
                {QStringLiteral("report"), 1, QStringLiteral("KIND"),
                 QStringLiteral("summary, fifteen, weekly, speeds, percentile, volume, profile, "
                                "study or compare (required)")},
                {QStringLiteral("pdf"), 1, QStringLiteral("OUT.pdf"),
                 QStringLiteral("the PDF file to write (required)")},
                {QStringLiteral("scheme"), 1, QStringLiteral("NAME"),
                 QStringLiteral("summary: display scheme (default \"15 to 70 by 5 MPH\" or \"35 "
                                "to 90 by 5 KPH\")")},
                {QStringLiteral("direction"), 1, QStringLiteral("DIR"),
                 QStringLiteral("approaching, receding or both (default: approaching for summary "
                                "and study, both otherwise)")},
                {QStringLiteral("date"), 1, QStringLiteral("mm/dd/yy"),
                 QStringLiteral("fifteen, volume: a date of the survey")},
                {QStringLiteral("printer"), 1, QStringLiteral("color|bw"),
                 QStringLiteral("speeds, percentile: chart colours (default color)")},
                {QStringLiteral("criteria"), 1, QStringLiteral("DIR"),
                 QStringLiteral("speeds, percentile, volume: the direction of the statistics "
                                "printed beside the chart (default: --direction)")},
                {QStringLiteral("officer"), 1, QStringLiteral("NAME"),
                 QStringLiteral("officer who prepares the report, one of the officer list "
                                "(default: the first of the list)")},
                {QStringLiteral("pages"), 1, QStringLiteral("OUT.txt"),
                 QStringLiteral("also write every item of every page as text (place, font, "
                                "colour, words), to compare reports line by line")},
            } + comparisonOptions(),
            // --batch is checked by the command: the comparison takes --before and --after.
            {QStringLiteral("folder"), QStringLiteral("report"), QStringLiteral("pdf")},
            {},
            false,
            {},
            reportCommand,
        },
        {
            QStringLiteral("export"),
            QStringLiteral("write a stored survey to an Excel workbook or to CSV files"),
            QStringLiteral("[--folder DIR] --batch B (--xlsx OUT.xlsx | --csv OUTDIR)"),
            QStringLiteral(
                "Writes the survey B stored in DIR/OV97.mdb to an Excel workbook with the sheets\n"
                "Survey, Speeds, 15 Minute, Daily Volume, Weekly, Speeding (continued on further\n"
                "sheets past Excel's row limit) and Speed Study, or to one CSV file per sheet "
                "named\n"
                "after the batch number (\"052425-A Survey.csv\"). The output folder is made when\n"
                "missing. A file appears only when it is complete; an existing file is replaced\n"
                "then."),
            {
                folderOption(),
                {QStringLiteral("batch"), 1, QStringLiteral("B"),
                 QStringLiteral("batch number of the survey, e.g. 052425-A")},
                {QStringLiteral("xlsx"), 1, QStringLiteral("OUT.xlsx"),
                 QStringLiteral("write an Excel workbook to this file")},
                {QStringLiteral("csv"), 1, QStringLiteral("OUTDIR"),
                 QStringLiteral("write one CSV file per sheet into this folder")},
            },
            {QStringLiteral("folder"), QStringLiteral("batch")},
            {},
            false,
            {},
            exportCommand,
        },
        {
            QStringLiteral("compare"),
            QStringLiteral("compare two surveys of a site before and after a measure"),
            QStringLiteral("--folder DIR --before B1 --after B2\n"
                           "                           [--control-before C1 --control-after C2]\n"
                           "                           [--direction approaching|receding|both] "
                           "[--json]"),
            QStringLiteral(
                "Compares the survey B2 after a measure with the survey B1 before it, both in\n"
                "DIR/OV97.mdb: vehicles, average daily traffic, mean and standard deviation, the\n"
                "50th and 85th percentile speeds and the shares over the limit, the limit + 5 and\n"
                "the limit + 10, each with its change and a test (Welch's t for the mean, a\n"
                "large-sample test of each percentile, a two-proportion z-test of each share,\n"
                "Kolmogorov-Smirnov for the whole distribution; significant at p < 0.05). A\n"
                "control pair surveyed at an untreated street over the same periods gives the\n"
                "net change. --json writes every figure unrounded. Surveys in different units,\n"
                "the same survey twice and a missing survey are refused."),
            QList<OptionSpec>{folderOption()} + comparisonOptions() +
                QList<OptionSpec>{
                    {QStringLiteral("direction"), 1, QStringLiteral("DIR"),
                     QStringLiteral("approaching, receding or both (default approaching)")},
                    {QStringLiteral("json"), 0, QString(),
                     QStringLiteral("write JSON instead of the table")},
                },
            {QStringLiteral("folder"), QStringLiteral("before"), QStringLiteral("after")},
            {},
            true,
            {},
            compareCommand,
        },
        {
            QStringLiteral("copy"),
            QStringLiteral("copy surveys from one survey database to another"),
            QStringLiteral("--from DIR|URI --to DIR|URI [--batch B ...]"),
            QStringLiteral(
                "Copies every table's rows of the surveys B (all surveys when no --batch is\n"
                "given) from one survey database to another: a program folder's OV97.mdb or a\n"
                "server's (postgresql://USER@HOST:PORT/DBNAME), in one transaction on the\n"
                "target. A survey the target already holds is skipped and named. A folder\n"
                "without a survey database gets a blank one first."),
            {
                {QStringLiteral("from"), 1, QStringLiteral("DIR|URI"),
                 QStringLiteral("the folder or server the surveys come from")},
                {QStringLiteral("to"), 1, QStringLiteral("DIR|URI"),
                 QStringLiteral("the folder or server the surveys go to")},
                {QStringLiteral("batch"), 1, QStringLiteral("B"),
                 QStringLiteral("batch number of a survey to copy; may be given again"), true},
            },
            {QStringLiteral("from"), QStringLiteral("to")},
            {},
            false,
            {},
            copyCommand,
        },
        {
            QStringLiteral("agency"),
            QStringLiteral("show or set the agency that heads the reports"),
            QStringLiteral("--folder DIR [--name TEXT] [--address1 TEXT] [--address2 TEXT]"),
            QStringLiteral(
                "Shows the agency name and the two address lines that head every report, as the\n"
                "\"Administration Setup\" window keeps them; the options given set those lines\n"
                "(an empty text clears one)."),
            {
                folderOption(),
                {QStringLiteral("name"), 1, QStringLiteral("TEXT"),
                 QStringLiteral("\"Name of agency\": the report heading")},
                {QStringLiteral("address1"), 1, QStringLiteral("TEXT"),
                 QStringLiteral("\"Address 1\" under the heading")},
                {QStringLiteral("address2"), 1, QStringLiteral("TEXT"),
                 QStringLiteral("\"Address 2\" under the heading")},
            },
            {QStringLiteral("folder")},
            {},
            true,
            {},
            agencyCommand,
        },
        {
            QStringLiteral("officer"),
            QStringLiteral("list, add or remove the officers who sign the reports"),
            QStringLiteral("--folder DIR list | add NAME | remove NAME"),
            QStringLiteral(
                "Lists the officer list of the \"Administration Setup\" window, adds a name to "
                "it\n"
                "or removes one. The report command's --officer takes a name of this list."),
            {folderOption()},
            {QStringLiteral("folder")},
            {QStringLiteral("ACTION"),
             QStringLiteral("what to do with the officer list"),
             {QStringLiteral("list"), QStringLiteral("add"), QStringLiteral("remove")},
             QStringLiteral("NAME")},
            true,
            {},
            officerCommand,
        },
        {
            QStringLiteral("report-options"),
            QStringLiteral("show or set the two report options of the signature footer"),
            QStringLiteral("--folder DIR [--signature on|off] [--officer-name on|off]"),
            QStringLiteral("Shows the two report options of the \"Administration Setup\" window; "
                           "the options\n"
                           "given set them."),
            {
                folderOption(),
                {QStringLiteral("signature"), 1, QStringLiteral("on|off"),
                 QStringLiteral("\"Include system date on all forms and reports\": the date in "
                                "the footer")},
                {QStringLiteral("officer-name"), 1, QStringLiteral("on|off"),
                 QStringLiteral("\"Include officer name on all forms and reports\"")},
            },
            {QStringLiteral("folder")},
            {},
            true,
            {},
            reportOptionsCommand,
        },
    };
    return table;
}

} // namespace roadtally
