#pragma once
// Where the program keeps its files. The survey folder holds OV97.mdb, ov97.emp
// and the raw data files: the program folder where the program may write there
// (a build tree, a copy on a USB stick), otherwise the user's data folder. An
// installed program finds its blank database and samples in share/roadtally.

#include <QString>

namespace roadtally {

// The version of the build, "3.0.2".
QString programVersion();

// The share/roadtally folder of an installed program whose executable lives in
// programFolder; "" when the program is not installed there.
QString installedShareFolder(const QString &programFolder);

// True when the program keeps its surveys in its own folder: the folder may be
// written and is not the bin folder of an installed program.
bool programFolderHoldsSurveys(const QString &programFolder);

// The user's data folder of the program (QStandardPaths::AppDataLocation of
// "Roadtally"), the same for the program and the command-line tool.
QString userDataFolder();

// What start-up was told about where the surveys are. The server backend adds
// its database here.
struct LocationOptions
{
    QString folder; // --folder; when empty ROADTALLY_FOLDER, when empty too the rule
    // --database: a server URI; when empty ROADTALLY_DATABASE, when empty too
    // the user's choice in Options > "Survey Database..." (none: the folder's file)
    QString database;
};

struct SurveyLocation
{
    enum Origin { ProgramFolder, DataFolder, Chosen };
    QString folder;
    Origin origin = ProgramFolder;
};

// The facts the decision rests on; fromProcess() reads them from the running
// program, tests make their own.
struct LocationFacts
{
    QString environmentFolder; // ROADTALLY_FOLDER
    QString programFolder;
    bool programFolderHoldsSurveys = true;
    QString dataFolder;

    static LocationFacts fromProcess();
};

// The one decision: --folder, else ROADTALLY_FOLDER, else the program folder
// where it holds surveys, else the user's data folder.
SurveyLocation resolveSurveyLocation(const LocationOptions &options, const LocationFacts &facts);
SurveyLocation resolveSurveyLocation(const LocationOptions &options);

// How messages name a folder: "program folder" when it is the program folder,
// "survey folder" otherwise.
QString folderNoun(const QString &folder);

// Makes a folder ready to hold surveys: created when missing, with ov97.emp
// and OV97.mdb from the blank database where they are missing and, in a folder
// that had neither, the sample files. Every file arrives under a temporary name and is
// renamed into place, so two programs starting at once leave one whole
// database. Returns "" or one message naming the folder and the reason; on
// failure nothing made here is left behind.
QString prepareSurveyFolder(const QString &folder, const QString &shareFolder);

// Start-up of either program: resolves the survey folder, prepares it unless it
// is the program folder (which is used as it stands) and makes it the shared
// state's survey folder. Returns what prepareSurveyFolder returned.
QString startInSurveyFolder(const LocationOptions &options);

} // namespace roadtally
