#pragma once
// Moving surveys between survey databases: a program folder's file onto the
// agency server, or a snapshot of the server onto a laptop. Also the answer of
// the one-file upkeep steps on a server.

#include "core/store/DatabaseSession.h"

#include <QString>
#include <QStringList>

namespace roadtally {

// Why Backup and Compact, Repair, Restore and Replace do nothing on a server.
QString serverUpkeepRefusal();

struct CopyResult
{
    QStringList copied;  // batch numbers stored in the target
    QStringList skipped; // batch numbers the target already held
    qint64 rows = 0;     // rows written, all tables together
    QString error;       // "" on success; then nothing was written
    // A database failure: its kind and the engine's own text (empty otherwise).
    DatabaseFault fault = DatabaseFault::Other;
    QString detail;
    bool ok() const { return error.isEmpty(); }
    // "Copied 3 surveys (12,345 rows) to X; skipped 052425-A (already there)."
    QString summary(const QString &target) const;
};

// Copies every table's rows of each survey (all surveys when batches is empty)
// from one database to another (each a database file or a server URI), in one
// transaction on the target. A survey already in the target is skipped and
// named; a batch number the source lacks is an error, and nothing is written.
CopyResult copySurveys(const QString &from, const QString &to, const QStringList &batches = {});

} // namespace roadtally
