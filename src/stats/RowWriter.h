#pragma once
// One prepared INSERT, run once per row with new bound values, inside the
// caller's transaction. It works on the SQLite engine behind the session: the
// generic query layer costs several microseconds a row, and a long survey
// writes a speeding-profile row for every vehicle over the limit.

#include "store/DatabaseSession.h"

#include <QByteArray>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace roadtally {

class RowWriter
{
public:
    // Throws DatabaseError when the statement does not prepare.
    RowWriter(DatabaseSession &session, const char *sql);
    ~RowWriter();
    RowWriter(const RowWriter &) = delete;
    RowWriter &operator=(const RowWriter &) = delete;

    // Values of the next row by parameter position (from 1). A binding stays
    // until it is replaced, so values shared by every row are bound once.
    void text(int position, const char *latin1, int size);
    // The same without a copy: the caller keeps the text unchanged until insert().
    void textKept(int position, const char *latin1, int size);
    void text(int position, const QString &value);
    void text(int position, const std::optional<QString> &value); // NULL when unset
    void integer(int position, qint64 value);
    void null(int position);

    // Stores the row; throws DatabaseError on failure.
    void insert();

private:
    [[noreturn]] void fail(const char *what);

    DatabaseSession &m_session;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    // Without an SQLite engine behind the session: the generic prepared query.
    std::optional<QSqlQuery> m_query;
    QVariantList m_values;
};

} // namespace roadtally
