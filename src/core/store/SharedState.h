#pragma once
// The few values every window shares for the life of the process.

#include <QString>

namespace roadtally {

// File names in the survey folder, always in this one form.
inline constexpr const char *DatabaseFileName = "OV97.mdb";
inline constexpr const char *BackupFileName = "OV97.BAK";
inline constexpr const char *BlankFileName = "ov97.emp";

// The database path for a survey folder: the folder, the platform's separator
// and OV97.mdb.
QString databasePathIn(const QString &folder);

struct SharedState
{
    QString databasePath; // last derived database path

    // The program folder: the executable's folder unless a test or tool set another.
    QString programFolder() const;
    void setProgramFolder(const QString &folder);

    // The agency server's database in use instead of the survey folder's file
    // (a server URI), or "" for the database on this computer.
    QString serverDatabase() const { return m_serverDatabase; }
    void setServerDatabase(const QString &uri);

    // The survey folder: OV97.mdb, ov97.emp and the raw data files. The program
    // folder unless start-up chose another.
    QString surveyFolder() const;
    void setSurveyFolder(const QString &folder);
    // Why start-up could not make the survey folder ready ("" when it could);
    // the main window reports it in place of the database.
    QString surveyFolderProblem;

    // Derives the database path afresh (the server's URI when one is in use,
    // else from the survey folder) and stores it.
    QString deriveDatabasePath();

private:
    QString m_programFolder;
    QString m_serverDatabase;
    QString m_surveyFolder;
};

// The one process-wide shared state.
SharedState &sharedState();

} // namespace roadtally
