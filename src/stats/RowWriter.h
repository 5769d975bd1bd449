#pragma once
// Writes many rows into one table inside the caller's transaction: the values
// of each row are bound to a prepared INSERT that stores a batch of rows per
// run. It works on the SQLite engine behind the session: the generic query
// layer costs several microseconds a row, and a long survey writes a
// speeding-profile row for every vehicle over the limit.

#include "store/DatabaseSession.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace roadtally {

class RowWriter
{
public:
    // head: "INSERT INTO [Table] ([a], [b], ...)" naming `columns` columns.
    // Throws DatabaseError when the statement does not prepare.
    RowWriter(DatabaseSession &session, const char *head, int columns);
    ~RowWriter();
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    // Values of the next row by column position (from 1). A value stays until it
    // is replaced, so values shared by every row are set once.
    void text(int position, const char *latin1, int size); // plain ASCII
    void text(int position, const QString &value);
    void text(int position, const std::optional<QString> &value); // NULL when unset
    void integer(int position, qint64 value);
    void null(int position);

    // Adds the row; a full batch is stored at once. Throws DatabaseError on failure.
    void insert();
    // Stores the rows still waiting. Must be called after the last insert(); rows
    // not finished are dropped (as they are when a failure unwinds the caller).
    void finish();

private:
    struct Value
    {
        enum Kind : unsigned char { Null, Integer, Text };
        Kind kind = Null;
        qint64 number = 0;
        std::string text; // UTF-8
    };

    sqlite3_stmt *prepareRows(int rows);
    void storeWaiting(sqlite3_stmt *statement);
    [[noreturn]] void fail(const char *what, sqlite3_stmt *statement = nullptr);

    DatabaseSession &m_session;
    std::string m_head;
    int m_columns = 0;
    std::vector<Value> m_row;     // the row being set
    std::vector<Value> m_waiting; // rows added but not yet stored, row after row
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_batch = nullptr; // BatchRows rows per run
    // Without an SQLite engine behind the session: the generic prepared query, row by row.
    std::optional<QSqlQuery> m_query;
};

} // namespace roadtally
