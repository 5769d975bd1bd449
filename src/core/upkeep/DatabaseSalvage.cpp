#include "core/upkeep/DatabaseSalvage.h"

#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/store/SqliteFile.h"
#include "core/upkeep/DatabaseFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <limits>
#include <optional>

namespace roadtally {

namespace {

constexpr qint64 LowestRowid = std::numeric_limits<qint64>::min();
constexpr qint64 HighestRowid = std::numeric_limits<qint64>::max();

QString bracketed(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + escaped + QLatin1Char(']');
}

// The program's columns of a table that the damaged file also has (all of them
// when its schema cannot be read).
QStringList sharedColumns(SqliteFile &source, const TableDef &table)
{
    int rc = SQLITE_OK;
    // The table names are the program's own; none needs quoting.
    const QStringList present = source.column(
        QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table.name), &rc);
    QStringList columns;
    for (const ColumnDef &column : table.columns) {
        if (rc != SQLITE_OK || present.isEmpty() ||
            present.contains(column.name, Qt::CaseInsensitive))
            columns << column.name;
    }
    return columns;
}

// Whether a scan of the table that starts after rowid gets a first row (or the
// end) without meeting damage.
bool readableAfter(SqliteFile &source, const QString &select, qint64 rowid)
{
    SqliteStatement probe(source, select);
    if (!probe.isValid())
        return false;
    probe.bindInt64(1, rowid);
    const int rc = probe.step();
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

// The damage met after rowid bad: the lowest rowid after which the table reads
// again, found by doubling steps and then halving back. None when no readable
// rows follow.
std::optional<qint64> nextReadable(SqliteFile &source, const QString &select, qint64 bad)
{
    qint64 low = bad; // a scan after low meets damage
    qint64 step = 1;
    std::optional<qint64> high;
    while (!high) {
        if (low > HighestRowid - step)
            return std::nullopt;
        const qint64 candidate = low + step;
        if (readableAfter(source, select, candidate))
            high = candidate;
        else
            low = candidate;
        if (step < (qint64(1) << 61))
            step *= 2;
    }
    while (*high - low > 1) {
        const qint64 middle = low + (*high - low) / 2;
        if (readableAfter(source, select, middle))
            high = middle;
        else
            low = middle;
    }
    return high;
}

struct TableCopy
{
    TableSalvage salvage;
    QString writeError; // the new database could not take a row: the salvage stops
};

// Copies the readable rows of one table in rowid order, each value as it is
// stored; rows on damaged pages are passed over.
TableCopy copyTable(SqliteFile &source, SqliteFile &target, const TableDef &table)
{
    TableCopy out;
    out.salvage.table = table.name;
    const QStringList columns = sharedColumns(source, table);
    QStringList names, marks;
    for (int i = 0; i < columns.size(); ++i) {
        names << bracketed(columns.at(i));
        marks << QStringLiteral("?%1").arg(i + 2);
    }
    const QString select =
        QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ?1 ORDER BY rowid")
            .arg(names.join(QStringLiteral(", ")), bracketed(table.name));
    SqliteStatement insert(target, QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (?1, %3)")
                                       .arg(bracketed(table.name), names.join(QStringLiteral(", ")),
                                            marks.join(QStringLiteral(", "))));
    if (!insert.isValid()) {
        out.writeError = target.errorText();
        return out;
    }

    qint64 after = LowestRowid;
    for (int attempt = 0; attempt < 100000; ++attempt) {
        SqliteStatement scan(source, select);
        if (!scan.isValid()) {
            // The table itself cannot be found or read.
            out.salvage.damaged = true;
            return out;
        }
        scan.bindInt64(1, after);
        int rc;
        while ((rc = scan.step()) == SQLITE_ROW) {
            const qint64 rowid = sqlite3_column_int64(scan.handle(), 0);
            insert.reset();
            insert.bindInt64(1, rowid);
            for (int i = 0; i < columns.size(); ++i)
                sqlite3_bind_value(insert.handle(), i + 2,
                                   sqlite3_column_value(scan.handle(), i + 1));
            if (insert.step() != SQLITE_DONE) {
                out.writeError = target.errorText();
                return out;
            }
            ++out.salvage.saved;
            after = rowid;
        }
        if (rc == SQLITE_DONE)
            return out;
        out.salvage.damaged = true;
        const std::optional<qint64> next = nextReadable(source, select, after);
        if (!next)
            return out;
        after = *next;
    }
    return out;
}

QString keptName(const QString &folder)
{
    return unusedName(folder,
                      QStringLiteral("OV97-damaged-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")),
                      QStringLiteral(".mdb"));
}

} // namespace

QString salvageMessage(const RepairResult &result)
{
    QString text =
        QStringLiteral("The database was damaged. A new database was made of the rows that "
                       "could be read.\n\nRows saved:\n");
    for (const TableSalvage &table : result.tables) {
        text += QStringLiteral("    %1: %2").arg(table.table).arg(table.saved);
        if (table.damaged)
            text += QStringLiteral(" (damaged rows could not be read)");
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("\nThe damaged file was kept as %1.")
                .arg(QFileInfo(result.keptDamagedFile).fileName());
    return text;
}

void salvageDatabase(SqliteFile &lock, const QString &database, const QString &folder,
                     const MaintenanceOptions &options, RepairResult &result)
{
    const QString temp = QDir(folder).filePath(SalvageTemp);
    const auto fail = [&](MaintenanceOutcome outcome, const QString &reason) {
        removeIfExists(temp);
        result.outcome = outcome;
        result.detail = reason;
        result.tables.clear();
        result.message = QStringLiteral("The database is damaged and could not be repaired: %1.\n"
                                        "The database %2 is unchanged.")
                             .arg(reason, QFileInfo(database).fileName());
    };
    if (stepFails(options, MaintenanceStep::Salvage))
        return fail(MaintenanceOutcome::Failed,
                    QStringLiteral("cannot write %1: the step was made to fail")
                        .arg(QDir::toNativeSeparators(temp)));

    {
        SqliteFile source;
        if (source.open(database, SqliteFile::Mode::ReadOnly, options.busyTimeoutMs) != SQLITE_OK)
            return fail(MaintenanceOutcome::Unreadable, source.errorText());
        SqliteFile target;
        if (target.open(temp, SqliteFile::Mode::Create, options.busyTimeoutMs) != SQLITE_OK)
            return fail(MaintenanceOutcome::Failed,
                        QStringLiteral("cannot create %1: %2")
                            .arg(QDir::toNativeSeparators(temp), target.errorText()));
        // A scratch file until it is complete: synced once at the end.
        target.exec(QStringLiteral("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF"));
        if (target.exec(QStringLiteral("BEGIN")) != SQLITE_OK)
            return fail(MaintenanceOutcome::Failed, target.errorText());
        for (const QString &statement : schemaStatements()) {
            if (target.exec(statement) != SQLITE_OK)
                return fail(MaintenanceOutcome::Failed, target.errorText());
        }

        bool anyRead = false;
        for (const TableDef &table : surveyTables()) {
            const TableCopy copy = copyTable(source, target, table);
            if (!copy.writeError.isEmpty())
                return fail(MaintenanceOutcome::Failed,
                            QStringLiteral("cannot write %1: %2")
                                .arg(QDir::toNativeSeparators(temp), copy.writeError));
            anyRead = anyRead || copy.salvage.saved > 0 || !copy.salvage.damaged;
            result.tables.append(copy.salvage);
        }
        if (!anyRead)
            return fail(MaintenanceOutcome::Unreadable,
                        QStringLiteral("not one table of %1 can be read")
                            .arg(QDir::toNativeSeparators(database)));

        // A survey database always has its one Radar row and one Agency row.
        const QStringList defaults = blankRowStatements();
        for (const TableSalvage &table : std::as_const(result.tables)) {
            const bool radar = table.table == QLatin1String("Radar");
            const bool agency = table.table == QLatin1String("Agency");
            if (table.saved == 0 && (radar || agency) && defaults.size() == 2)
                target.exec(defaults.at(radar ? 0 : 1));
        }
        if (target.exec(QStringLiteral("COMMIT")) != SQLITE_OK)
            return fail(MaintenanceOutcome::Failed, target.errorText());
        int rc = SQLITE_OK;
        const QStringList check = target.column(QStringLiteral("PRAGMA integrity_check"), &rc);
        if (rc != SQLITE_OK || check != QStringList{QStringLiteral("ok")} ||
            stepFails(options, MaintenanceStep::CheckCopy))
            return fail(
                MaintenanceOutcome::Failed,
                QStringLiteral("the new database did not pass its check: %1")
                    .arg(rc != SQLITE_OK ? target.errorText() : check.join(QStringLiteral("; "))));
    }
    if (const QString error = syncFile(temp); !error.isEmpty())
        return fail(MaintenanceOutcome::Failed, error);

    // The damaged file stays beside the new one, under a name of its own.
    const QString kept = keptName(folder);
    QString error = stepFails(options, MaintenanceStep::KeepDamaged)
                        ? QStringLiteral("cannot write %1: the step was made to fail")
                              .arg(QDir::toNativeSeparators(kept))
                        : keepFileCopy(lock, kept);
    if (error.isEmpty() && stepFails(options, MaintenanceStep::ReplaceDatabase))
        error = QStringLiteral("cannot rename %1: the step was made to fail")
                    .arg(QDir::toNativeSeparators(temp));
    if (error.isEmpty())
        error = replaceFile(temp, database);
    if (error.isEmpty())
        error = syncFolder(folder);
    if (!error.isEmpty()) {
        if (QFileInfo::exists(kept) && QFileInfo::exists(temp))
            removeIfExists(kept); // the damaged file is still the database itself
        return fail(MaintenanceOutcome::Failed, error);
    }
    result.outcome = MaintenanceOutcome::Done;
    result.rebuilt = true;
    result.keptDamagedFile = kept;
    result.message = salvageMessage(result);
}

} // namespace roadtally
