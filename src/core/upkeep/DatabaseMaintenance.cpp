#include "core/upkeep/DatabaseMaintenance.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/Installation.h"
#include "core/store/SharedState.h"
#include "core/store/SqliteFile.h"
#include "core/upkeep/DatabaseFiles.h"
#include "core/upkeep/DatabaseSalvage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace roadtally {

namespace {

// Temporary files beside the database. Left behind only by a crash; the next
// maintenance step removes them.
const QString CompactTemp = QStringLiteral("OV97.compact.tmp");
const QString BackupTemp = QStringLiteral("OV97.backup.tmp");
const QString CopyTemp = QStringLiteral("OV97.new.tmp");

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool fails(const MaintenanceOptions &options, MaintenanceStep step)
{
    return stepFails(options, step);
}

QString injected()
{
    return QStringLiteral("the step was made to fail");
}

void removeTemporaryFiles(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : {CompactTemp, BackupTemp, CopyTemp, SalvageTemp}) {
        removeIfExists(dir.filePath(name));
        removeIfExists(dir.filePath(name + QStringLiteral("-journal")));
    }
}

MaintenanceResult result(MaintenanceOutcome outcome, const QString &message,
                         const QString &detail = {})
{
    MaintenanceResult r;
    r.outcome = outcome;
    r.message = message;
    r.detail = detail;
    return r;
}

} // namespace

QString databaseFileIn(const QString &folder)
{
    return findFileNoCase(folder, QString::fromLatin1(DatabaseFileName));
}

QString backupFileIn(const QString &folder)
{
    return findFileNoCase(folder, QString::fromLatin1(BackupFileName));
}

QString blankFileIn(const QString &folder)
{
    return findFileNoCase(folder, QString::fromLatin1(BlankFileName));
}

// ---------------------------------------------------------------------------
// Locking and compaction, shared with the repair

QString keepFileCopy(const SqliteFile &lock, const QString &target)
{
    // A copy, never a second name for the same file: the database goes on
    // changing, and the copy must not change with it.
    return lock.copyRawFile(target);
}

DatabaseLock lockDatabase(SqliteFile &connection, const QString &path, LockKind kind,
                          int busyTimeoutMs)
{
    DatabaseLock lock;
    int rc = connection.open(path, SqliteFile::Mode::ReadWrite, busyTimeoutMs);
    if (rc == SQLITE_OK) {
        // A reserved lock keeps every other connection from writing while the file
        // is copied, and the first read rolls back what a crashed writer left.
        rc = connection.exec(kind == LockKind::Exclusive ? QStringLiteral("BEGIN EXCLUSIVE")
                                                         : QStringLiteral("BEGIN IMMEDIATE"));
        if (rc == SQLITE_READONLY) // a write-protected file: a shared lock still keeps writers out
            rc = connection.exec(QStringLiteral("BEGIN"));
        if (rc == SQLITE_OK)
            connection.column(QStringLiteral("SELECT count(*) FROM sqlite_master"), &rc);
    }
    lock.code = rc;
    lock.reason = rc == SQLITE_OK ? QString() : connection.errorText();
    if (rc == SQLITE_OK)
        lock.state = DatabaseLock::Held;
    else if (SqliteFile::isBusy(rc))
        lock.state = DatabaseLock::Busy;
    else if (SqliteFile::isDamaged(rc))
        lock.state = DatabaseLock::Damaged;
    else
        lock.state = DatabaseLock::Unreadable;
    return lock;
}

static QString writeCompactCopy(const QString &source, const QString &target, bool reindex,
                                const MaintenanceOptions &options);

QString inUseMessage(const QString &database, const QString &what)
{
    return QStringLiteral("The survey database %1 is in use by another program, so it was not %2.\n"
                          "Nothing was changed. Close the other program and try again.")
        .arg(shown(database), what);
}

QString unreadableMessage(const QString &database, const QString &reason)
{
    return QStringLiteral("The file %1 cannot be opened as a database (%2).\nNothing was changed.")
        .arg(shown(database), reason);
}

QString compactCopy(const QString &source, const QString &target, bool reindex,
                    const MaintenanceOptions &options)
{
    QString error = writeCompactCopy(source, target, reindex, options);
    if (!error.isEmpty())
        removeIfExists(target); // half a copy is of no use to anyone
    return error;
}

static QString writeCompactCopy(const QString &source, const QString &target, bool reindex,
                                const MaintenanceOptions &options)
{
    if (fails(options, MaintenanceStep::Compact))
        return QStringLiteral("cannot write %1: %2").arg(shown(target), injected());
    {
        SqliteFile reader;
        if (reader.open(source, SqliteFile::Mode::ReadOnly, options.busyTimeoutMs) != SQLITE_OK)
            return QStringLiteral("cannot read %1: %2").arg(shown(source), reader.errorText());
        SqliteStatement vacuum(reader, QStringLiteral("VACUUM INTO ?1"));
        if (!vacuum.isValid())
            return QStringLiteral("cannot compact %1: %2").arg(shown(source), reader.errorText());
        vacuum.bindText(1, target);
        if (vacuum.step() != SQLITE_DONE) {
            const QString error = QStringLiteral("cannot write the compacted copy %1: %2")
                                      .arg(shown(target), reader.errorText());
            return error;
        }
    }
    if (fails(options, MaintenanceStep::CheckCopy))
        return QStringLiteral("the compacted copy %1 did not pass its check: %2")
            .arg(shown(target), injected());
    {
        SqliteFile copy;
        if (copy.open(target, SqliteFile::Mode::ReadWrite, options.busyTimeoutMs) != SQLITE_OK)
            return QStringLiteral("cannot open the compacted copy %1: %2")
                .arg(shown(target), copy.errorText());
        if (reindex && copy.exec(QStringLiteral("REINDEX")) != SQLITE_OK)
            return QStringLiteral("cannot re-index %1: %2").arg(shown(target), copy.errorText());
        int rc = SQLITE_OK;
        const QStringList check = copy.column(QStringLiteral("PRAGMA quick_check"), &rc);
        if (rc != SQLITE_OK || check != QStringList{QStringLiteral("ok")})
            return QStringLiteral("the compacted copy %1 did not pass its check: %2")
                .arg(shown(target),
                     rc != SQLITE_OK ? copy.errorText() : check.join(QStringLiteral("; ")));
    }
    return syncFile(target);
}

// ---------------------------------------------------------------------------
// Backup

MaintenanceResult backupDatabase(const QString &folder, const MaintenanceOptions &options)
{
    const QString database = databaseFileIn(folder);
    if (database.isEmpty())
        return result(
            MaintenanceOutcome::FileMissing,
            QStringLiteral("There is no survey database %1 in the %3 %2, so there is "
                           "nothing to back up.")
                .arg(QString::fromLatin1(DatabaseFileName), shown(folder), folderNoun(folder)));
    const QString backup = filePathNoCase(folder, QString::fromLatin1(BackupFileName));
    const QDir dir(folder);
    const QString compactTemp = dir.filePath(CompactTemp);
    const QString backupTemp = dir.filePath(BackupTemp);
    removeTemporaryFiles(folder);

    SqliteFile connection;
    const DatabaseLock lock =
        lockDatabase(connection, database, LockKind::Reserved, options.busyTimeoutMs);
    switch (lock.state) {
    case DatabaseLock::Held:
        break;
    case DatabaseLock::Busy:
        return result(MaintenanceOutcome::InUse,
                      inUseMessage(database, QStringLiteral("backed up")), lock.reason);
    case DatabaseLock::Damaged:
        return result(
            MaintenanceOutcome::Failed,
            QStringLiteral("The survey database %1 is damaged (%2), so it was not backed up.\n"
                           "Nothing was changed. Repair the database first.")
                .arg(shown(database), lock.reason),
            lock.reason);
    case DatabaseLock::Unreadable:
        return result(MaintenanceOutcome::Unreadable, unreadableMessage(database, lock.reason),
                      lock.reason);
    }

    const auto unchanged = [&](const QString &reason) {
        removeIfExists(compactTemp);
        removeIfExists(backupTemp);
        // Say what is true: there may be no earlier backup to speak of.
        const QString kept = backupFileIn(folder).isEmpty()
                                 ? QStringLiteral("The database %1 is unchanged.")
                                 : QStringLiteral("The database %1 and the earlier backup are "
                                                  "unchanged.");
        return result(MaintenanceOutcome::Failed,
                      QStringLiteral("The backup could not be made: %1.\n").arg(reason) +
                          kept.arg(fileName(database)),
                      reason);
    };

    // 1. The compacted copy, complete and checked, beside the database.
    if (const QString error = compactCopy(database, compactTemp, false, options);
        !error.isEmpty()) {
        // A damaged page shows only when the whole file is read.
        if (error.contains(QLatin1String("malformed")))
            return result(
                MaintenanceOutcome::Failed,
                QStringLiteral("The survey database %1 is damaged (%2), so it was not backed up.\n"
                               "Nothing was changed. Repair the database first.")
                    .arg(shown(database), error),
                error);
        return unchanged(error);
    }
    // 2. The database as it stands becomes the new backup, in one rename.
    QString error = fails(options, MaintenanceStep::KeepBackup)
                        ? QStringLiteral("cannot write %1: %2").arg(shown(backupTemp), injected())
                        : keepFileCopy(connection, backupTemp);
    if (error.isEmpty() && fails(options, MaintenanceStep::ReplaceBackup))
        error = QStringLiteral("cannot rename %1 to %2: %3")
                    .arg(shown(backupTemp), shown(backup), injected());
    if (error.isEmpty())
        error = replaceFile(backupTemp, backup);
    if (error.isEmpty())
        error = syncFolder(folder);
    if (!error.isEmpty())
        return unchanged(error);
    // 3. The compacted copy becomes the database, in one rename.
    error = fails(options, MaintenanceStep::ReplaceDatabase)
                ? QStringLiteral("cannot rename %1 to %2: %3")
                      .arg(shown(compactTemp), shown(database), injected())
                : replaceFile(compactTemp, database);
    if (error.isEmpty())
        error = syncFolder(folder);
    if (!error.isEmpty()) {
        removeIfExists(compactTemp);
        return result(
            MaintenanceOutcome::Failed,
            QStringLiteral("The backup %1 was made, but the compacted copy could not take the "
                           "place of the database: %2.\nThe database %3 is unchanged.")
                .arg(fileName(backup), error, fileName(database)),
            error);
    }
    return result(MaintenanceOutcome::Done, QString::fromLatin1(BackupCompleteText));
}

// ---------------------------------------------------------------------------
// Repair

RepairResult repairDatabase(const QString &folder, const MaintenanceOptions &options)
{
    RepairResult out;
    const auto finish = [&out](MaintenanceOutcome outcome, const QString &message,
                               const QString &detail = {}) {
        out.outcome = outcome;
        out.message = message;
        out.detail = detail;
        return out;
    };
    const QString database = databaseFileIn(folder);
    if (database.isEmpty())
        return finish(
            MaintenanceOutcome::FileMissing,
            QStringLiteral("There is no survey database %1 in the %3 %2, so there is "
                           "nothing to repair.")
                .arg(QString::fromLatin1(DatabaseFileName), shown(folder), folderNoun(folder)));
    removeTemporaryFiles(folder);

    SqliteFile connection;
    const DatabaseLock lock =
        lockDatabase(connection, database, LockKind::Reserved, options.busyTimeoutMs);
    if (lock.state == DatabaseLock::Busy)
        return finish(MaintenanceOutcome::InUse, inUseMessage(database, QStringLiteral("repaired")),
                      lock.reason);
    if (lock.state == DatabaseLock::Unreadable)
        return finish(MaintenanceOutcome::Unreadable, unreadableMessage(database, lock.reason),
                      lock.reason);

    bool damaged = lock.state == DatabaseLock::Damaged;
    if (damaged) {
        out.check = {lock.reason};
    } else {
        int rc = SQLITE_OK;
        out.check = connection.column(QStringLiteral("PRAGMA integrity_check"), &rc);
        if (rc != SQLITE_OK) {
            if (!SqliteFile::isDamaged(rc))
                return finish(MaintenanceOutcome::Unreadable,
                              unreadableMessage(database, connection.errorText()),
                              connection.errorText());
            out.check << connection.errorText();
            damaged = true;
        } else if (out.check != QStringList{QStringLiteral("ok")}) {
            damaged = true;
        }
    }

    if (damaged) {
        salvageDatabase(connection, database, folder, options, out);
        return out;
    }

    // A sound file: re-indexed and compacted into a new file that then takes its place.
    const QString temp = QDir(folder).filePath(CompactTemp);
    QString error = compactCopy(database, temp, true, options);
    if (error.isEmpty() && fails(options, MaintenanceStep::ReplaceDatabase))
        error = QStringLiteral("cannot rename %1 to %2: %3")
                    .arg(shown(temp), shown(database), injected());
    if (error.isEmpty())
        error = replaceFile(temp, database);
    if (error.isEmpty())
        error = syncFolder(folder);
    if (!error.isEmpty()) {
        removeIfExists(temp);
        return finish(
            MaintenanceOutcome::Failed,
            QStringLiteral("The database could not be repaired: %1.\nThe database %2 is unchanged.")
                .arg(error, fileName(database)),
            error);
    }
    return finish(MaintenanceOutcome::Done, QString::fromLatin1(RepairCompleteText));
}

// ---------------------------------------------------------------------------
// Replace and restore

namespace {

// Puts a copy of source in the place of the database: copied beside it, synced,
// checked, then renamed over it.
MaintenanceResult putInPlace(const QString &folder, const QString &source,
                             const QString &sourceRole,
                             const std::function<QString(int surveys)> &done, const QString &verb,
                             const MaintenanceOptions &options)
{
    int surveys = 0;
    const QString database = filePathNoCase(folder, QString::fromLatin1(DatabaseFileName));
    const QString temp = QDir(folder).filePath(CopyTemp);
    removeTemporaryFiles(folder);

    const auto unchanged = [&](MaintenanceOutcome outcome, const QString &reason) {
        removeIfExists(temp);
        return result(outcome,
                      QStringLiteral("The database was not %1: %2.\nThe database %3 is unchanged.")
                          .arg(verb, reason, fileName(database)),
                      reason);
    };

    QString error = fails(options, MaintenanceStep::CopySource)
                        ? QStringLiteral("cannot write %1: %2").arg(shown(temp), injected())
                        : copyFileSynced(source, temp);
    if (!error.isEmpty())
        return unchanged(MaintenanceOutcome::Failed, error);
    {
        // Only a sound survey database takes the database's place.
        SqliteFile copy;
        int rc = copy.open(temp, SqliteFile::Mode::ReadOnly, options.busyTimeoutMs);
        QStringList check;
        if (rc == SQLITE_OK)
            check = copy.column(QStringLiteral("PRAGMA quick_check"), &rc);
        QStringList tables;
        if (rc == SQLITE_OK)
            tables =
                copy.column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                           "AND name = 'Header' COLLATE NOCASE"),
                            &rc);
        // What the user gets back, for the message that says what was done.
        if (rc == SQLITE_OK && !tables.isEmpty()) {
            const QStringList count = copy.column(
                QStringLiteral("SELECT count(DISTINCT rtrim([Batch_Number])) FROM [Header]"), &rc);
            surveys = count.isEmpty() ? 0 : count.first().toInt();
        }
        if (fails(options, MaintenanceStep::CheckCopy))
            rc = SQLITE_CORRUPT;
        if (rc != SQLITE_OK || check != QStringList{QStringLiteral("ok")} || tables.isEmpty()) {
            const QString why = rc != SQLITE_OK ? copy.errorText()
                                : tables.isEmpty() && check == QStringList{QStringLiteral("ok")}
                                    ? QStringLiteral("it holds no survey tables")
                                    : check.join(QStringLiteral("; "));
            return unchanged(MaintenanceOutcome::Failed,
                             QStringLiteral("the %1 %2 is not a usable survey database (%3)")
                                 .arg(sourceRole, fileName(source), why));
        }
    }

    // Nobody may hold the database while it is replaced. A file that is not a
    // database, or a damaged one, has nothing to protect and is replaced all the same.
    SqliteFile connection;
    DatabaseLock lock;
    if (QFileInfo::exists(database)) {
        lock = lockDatabase(connection, database, LockKind::Exclusive, options.busyTimeoutMs);
        if (lock.state == DatabaseLock::Busy) {
            removeIfExists(temp);
            return result(MaintenanceOutcome::InUse, inUseMessage(database, verb), lock.reason);
        }
        if (lock.state != DatabaseLock::Held) {
            // What a crashed writer left for the old file must never be played
            // into the new one.
            connection.close();
            removeIfExists(database + QStringLiteral("-journal"));
            removeIfExists(database + QStringLiteral("-wal"));
        }
    }
    error = fails(options, MaintenanceStep::ReplaceDatabase)
                ? QStringLiteral("cannot rename %1 to %2: %3")
                      .arg(shown(temp), shown(database), injected())
                : replaceFile(temp, database);
    if (error.isEmpty())
        error = syncFolder(folder);
    if (!error.isEmpty())
        return unchanged(MaintenanceOutcome::Failed, error);
    return result(MaintenanceOutcome::Done, done(surveys));
}

QString surveysText(int surveys)
{
    return surveys == 1 ? QStringLiteral("1 survey") : QStringLiteral("%1 surveys").arg(surveys);
}

} // namespace

MaintenanceResult replaceDatabase(const QString &folder, const MaintenanceOptions &options)
{
    const QString blank = blankFileIn(folder);
    if (blank.isEmpty())
        return result(
            MaintenanceOutcome::FileMissing,
            QStringLiteral("The blank database %1 is not in the %3 %2.\n"
                           "The database was not replaced; nothing was changed.")
                .arg(QString::fromLatin1(BlankFileName), shown(folder), folderNoun(folder)));
    return putInPlace(
        folder, blank, QStringLiteral("blank database"),
        [&](int surveys) {
            return QStringLiteral("Database replaced with the blank database %1: %2.")
                .arg(fileName(blank), surveysText(surveys));
        },
        QStringLiteral("replaced"), options);
}

MaintenanceResult restoreDatabase(const QString &folder, const MaintenanceOptions &options)
{
    const QString backup = backupFileIn(folder);
    if (backup.isEmpty())
        return result(MaintenanceOutcome::FileMissing, QString::fromLatin1(NoBackupText));
    // The backup's time says which state the database returns to.
    const QString made =
        QFileInfo(backup).lastModified().toString(QStringLiteral("MM/dd/yy hh:mm"));
    return putInPlace(
        folder, backup, QStringLiteral("backup"),
        [&](int surveys) {
            return QStringLiteral("Database restored from the backup of %1: %2.")
                .arg(made, surveysText(surveys));
        },
        QStringLiteral("restored"), options);
}

QString restoreAdvice(const QString &databasePath)
{
    if (isServerDatabase(databasePath))
        return QString();
    const QString backup = backupFileIn(QFileInfo(databasePath).absolutePath());
    if (backup.isEmpty())
        return QString();
    return QStringLiteral("The backup %1 of %2 is beside it: Edit > Repair & Backup Database > "
                          "Restore Backup Database can bring back the last backup.")
        .arg(fileName(backup),
             QFileInfo(backup).lastModified().toString(QStringLiteral("MM/dd/yy hh:mm")));
}

} // namespace roadtally
