#pragma once
// The survey database: its nine tables, their fields and the blank database.

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

struct ColumnDef
{
    QString name;
    QString type; // SQL declaration: "TEXT COLLATE RTRIM", "INTEGER", "TEXT"
};

struct TableDef
{
    QString name;
    QVector<ColumnDef> columns;
};

// The nine tables in the order of their definition.
const QVector<TableDef> &surveyTables();

// SQL statements that create the tables and their indexes.
QStringList schemaStatements();

// The same tables, indexes and constraints on a server, in the schema of their
// own: the batch numbers in the blank-padded character type, so that trailing
// blanks do not count, and one Header row per batch number.
QStringList serverSchemaStatements();

// The rows a blank database holds besides its empty tables: one Radar row and
// one Agency row.
QStringList blankRowStatements();

// Writes a blank database (the nine tables, one Radar row, one Agency row) at
// path. Refuses to overwrite an existing file. Returns an empty text on success,
// otherwise the reason.
QString createBlankDatabase(const QString &path);

// Creates the survey tables with their Radar and Agency rows in the schema of
// their own on the server at uri, in one transaction. A database that already
// holds them is left as it is (*existed is set); a schema of that name that is
// not a survey database is refused. Returns an empty text on success,
// otherwise the reason.
QString createServerDatabase(const QString &uri, bool *existed = nullptr);

} // namespace roadtally
