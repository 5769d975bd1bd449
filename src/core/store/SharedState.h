#pragma once
// The few values every window shares for the life of the process.

#include <QString>

namespace roadtally {

// File names in the program folder, always in this one form.
inline constexpr const char *DatabaseFileName = "OV97.mdb";
inline constexpr const char *BackupFileName = "OV97.BAK";
inline constexpr const char *BlankFileName = "ov97.emp";

// The database path for a program folder: the folder, the platform's separator
// and OV97.mdb.
QString databasePathIn(const QString &folder);

struct SharedState
{
    QString rawDataText;       // the loaded (end-marked) raw data file
    qint16 reportSelector = 0; // which report the preview builds next (1 to 7)
    QString databasePath;      // last derived database path

    // The program folder: the executable's folder unless a test or tool set another.
    QString programFolder() const;
    void setProgramFolder(const QString &folder);

    // The agency server's database in use instead of the folder's file (a
    // server URI), or "" for the database on this computer.
    QString serverDatabase() const { return m_serverDatabase; }
    void setServerDatabase(const QString &uri);

    // Derives the database path afresh (the server's URI when one is in use,
    // else from the program folder) and stores it.
    QString deriveDatabasePath();

private:
    QString m_programFolder;
    QString m_serverDatabase;
};

// The one process-wide shared state.
SharedState &sharedState();

} // namespace roadtally
