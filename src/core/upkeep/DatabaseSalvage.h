#pragma once
// The inner steps of database maintenance shared by backup and repair: taking
// the database's lock, compacting into a checked copy, and salvaging the
// readable rows of a damaged file into a new database.

#include "core/upkeep/DatabaseMaintenance.h"

#include <QString>

namespace roadtally {

class SqliteFile;

// The salvage's new database, beside the damaged one until it takes its place.
inline const QString SalvageTemp = QStringLiteral("OV97.salvage.tmp");

enum class LockKind {
    Reserved,  // others may read, nobody else may write (the file is copied)
    Exclusive, // nobody else may read or write (the file is replaced)
};

struct DatabaseLock
{
    enum State { Held, Busy, Damaged, Unreadable };
    State state = Unreadable;
    int code = 0;   // the engine's result code
    QString reason; // the engine's message when not held
};

// Opens the database on connection and takes the lock; the lock lasts until the
// connection closes.
DatabaseLock lockDatabase(SqliteFile &connection, const QString &path, LockKind kind,
                          int busyTimeoutMs);

// Copies the database file as it stands, byte for byte, to target (which must
// not exist) and syncs it; read through the locking connection, so its locks stay.
QString keepFileCopy(const SqliteFile &lock, const QString &target);

// True when a test asked for this step to fail.
inline bool stepFails(const MaintenanceOptions &options, MaintenanceStep step)
{
    return options.failAt && options.failAt(step);
}

QString inUseMessage(const QString &database, const QString &what);
QString unreadableMessage(const QString &database, const QString &reason);

// Writes a compacted copy of source to target (which must not exist), re-indexed
// when asked, checks it and syncs it. Returns "" or the reason.
QString compactCopy(const QString &source, const QString &target, bool reindex,
                    const MaintenanceOptions &options);

// Copies every readable row of the damaged database into a new database of the
// program's schema, keeps the damaged file under a new name and puts the new
// one in its place. Fills result (outcome, message, tables, kept file).
void salvageDatabase(SqliteFile &lock, const QString &database, const QString &folder,
                     const MaintenanceOptions &options, RepairResult &result);

} // namespace roadtally
