#pragma once
// Database maintenance on the files of the program folder: backup with
// compaction, repair, replacement by the blank database, restore from the
// backup. No step ever leaves the folder without a usable OV97.mdb: new content
// is written to a temporary file beside it, synced, checked and then renamed
// over the old file in one step, so a failure or a crash at any point leaves
// either the old or the new file under each name.

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace roadtally {

// The program's texts of the "Database Management" window.
inline constexpr const char *BackupCompleteText = "Backup and compacting are complete.";
inline constexpr const char *RepairCompleteText = "Repair of the database is complete.";
inline constexpr const char *ReplaceTitle = "Replace Database";
inline constexpr const char *ReplaceQuestionText =
    "Replace current database with new blank database? \r\n"
    "         Current database data will be lost!";
inline constexpr const char *RestoreQuestionText =
    "Restore database with data from last performed backup? \r\n"
    "             Current database data will be lost!";
inline constexpr const char *NoBackupText = "        Backup database does not exist\r\n"
                                            "You must first create a backup of OV97.mdb";

enum class MaintenanceOutcome {
    Done,        // the work is done
    FileMissing, // a file the step needs is not there; nothing was changed
    InUse,       // another connection holds the database; nothing was changed
    Unreadable,  // the database file cannot be opened as a database; nothing was changed
    Failed,      // a step failed; the message says what stands
};

// Where a test makes a step fail, to prove that nothing is lost.
enum class MaintenanceStep {
    Compact,         // writing the compacted copy
    CheckCopy,       // checking the new file before it is put in place
    KeepBackup,      // keeping the database as it is as the new backup
    ReplaceBackup,   // renaming the new backup over OV97.BAK
    ReplaceDatabase, // renaming the new file over OV97.mdb
    CopySource,      // copying ov97.emp or OV97.BAK beside the database
    Salvage,         // copying the readable rows of a damaged database
    KeepDamaged,     // keeping the damaged file under a new name
};

struct MaintenanceOptions
{
    // How long to wait for another connection to let go of the database.
    int busyTimeoutMs = 2000;
    // Tests only: returns true for the step that is to fail.
    std::function<bool(MaintenanceStep)> failAt;
};

struct MaintenanceResult
{
    MaintenanceOutcome outcome = MaintenanceOutcome::Failed;
    QString message; // what the window shows and the command-line tool prints
    QString detail;  // the reason given by the engine or the file system
    bool ok() const { return outcome == MaintenanceOutcome::Done; }
};

struct TableSalvage
{
    QString table;
    int saved = 0;
    bool damaged = false; // some of its rows could not be read
};

struct RepairResult : MaintenanceResult
{
    QStringList check;    // the integrity check's findings; "ok" for a sound file
    bool rebuilt = false; // a damaged file was salvaged into a new database
    QString keptDamagedFile;
    QVector<TableSalvage> tables; // rows saved, in the order of the schema
};

// The folder's database, backup and blank file, whatever the case of their
// names ("" when there is none).
QString databaseFileIn(const QString &folder);
QString backupFileIn(const QString &folder);
QString blankFileIn(const QString &folder);

// "Backup Database": afterwards OV97.BAK is the database exactly as it was and
// OV97.mdb its compacted copy.
MaintenanceResult backupDatabase(const QString &folder, const MaintenanceOptions &options = {});

// "Repair Database": a sound file is re-indexed and compacted; a damaged file is
// salvaged row by row into a new database, and kept beside it under a new name.
RepairResult repairDatabase(const QString &folder, const MaintenanceOptions &options = {});

// "Replace Database": OV97.mdb becomes a copy of the blank database ov97.emp.
MaintenanceResult replaceDatabase(const QString &folder, const MaintenanceOptions &options = {});

// "Restore Backup Database": OV97.mdb becomes a copy of OV97.BAK.
MaintenanceResult restoreDatabase(const QString &folder, const MaintenanceOptions &options = {});

// For a database file that cannot be used: when a backup lies beside it, how
// to bring that back ("" when there is none, or for a server).
QString restoreAdvice(const QString &databasePath);

// The message of a repair that rebuilt a damaged file: the rows saved per table.
QString salvageMessage(const RepairResult &result);

} // namespace roadtally
