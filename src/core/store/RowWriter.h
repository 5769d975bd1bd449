#pragma once
// The one bulk insert of the import, for every table it fills (Veh_Data and the
// four statistics): many rows into one table inside the caller's transaction.
// The values of each row are bound to a prepared INSERT that stores a batch of
// rows per run, on the SQLite engine behind the session: one run per row spends
// more time starting and ending the statement than storing the row, and the
// generic query layer costs several microseconds a row. When the session has no
// engine this program may call (DatabaseSession::sqliteHandle()), the plain Qt
// query stores the rows one by one instead. On a server the rows stream in
// through the client library's COPY, in the same transaction: nothing else
// runs on the session between the first insert() and finish().

#include "core/store/DatabaseSession.h"

#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct pg_conn;

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
    void text(int position, const char *utf8, int size); // stored as given (UTF-8)
    void text(int position, const QString &value);
    void text(int position, const std::optional<QString> &value); // NULL when unset
    void integer(int position, qint64 value);
    void null(int position);

    // Adds the row; a full batch is stored at once. Throws DatabaseError on failure.
    void insert();
    // Stores the rows still waiting. Must be called after the last insert(); rows
    // not finished are dropped (as they are when a failure unwinds the caller).
    void finish();

    // True when the rows go to the engine directly (false: the plain query path).
    bool isDirect() const { return m_db != nullptr || m_server != nullptr; }

private:
    enum Kind : unsigned char { Null, Integer, Text };
    struct Cell // a value of the row being set
    {
        Kind kind = Null;
        qint64 number = 0;
        std::string text; // UTF-8
    };
    struct Waiting // a value of a row added but not yet stored
    {
        Kind kind;
        qint64 number; // the integer, or the offset of the text in m_texts
        int size;      // bytes of the text
    };

    sqlite3_stmt *prepareRows(int rows);
    void storeWaiting(sqlite3_stmt *statement);
    [[noreturn]] void fail(const char *what);
    void copyRow();
    void sendCopied();
    [[noreturn]] void failCopy(const char *what, const void *result = nullptr);

    DatabaseSession &m_session;
    std::string m_head;
    int m_columns = 0;
    int m_batchRows = 1;
    std::vector<Cell> m_row;        // the row being set
    std::vector<Waiting> m_waiting; // rows added but not yet stored, row after row
    std::string m_texts;            // their texts, one after another
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_batch = nullptr; // m_batchRows rows per run
    // Without an SQLite engine behind the session: the generic prepared query, row by row.
    std::optional<QSqlQuery> m_query;
    // On a server: the COPY statement, whether it runs, and rows not yet sent.
    pg_conn *m_server = nullptr;
    std::string m_copyStatement;
    bool m_copying = false;
    std::string m_copied;
};

} // namespace roadtally
