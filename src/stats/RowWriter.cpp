#include "stats/RowWriter.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <cstring>

namespace roadtally {

namespace {

// Rows stored per run of the prepared statement: one run per row spends more
// time starting and ending the statement than storing the row.
constexpr int BatchRows = 16;

std::string valuesClause(int rows, int columns)
{
    std::string row = "(";
    for (int c = 0; c < columns; ++c)
        row += c ? ", ?" : "?";
    row += ")";
    std::string out = " VALUES ";
    for (int r = 0; r < rows; ++r) {
        if (r)
            out += ", ";
        out += row;
    }
    return out;
}

} // namespace

RowWriter::RowWriter(DatabaseSession &session, const char *head, int columns)
    : m_session(session), m_head(head), m_columns(columns), m_row(size_t(columns))
{
    session.requireOpen();
    m_db = session.sqliteHandle();
    if (!m_db) {
        m_query.emplace(
            session.prepare(QString::fromStdString(m_head + valuesClause(1, columns))));
        return;
    }
    m_batch = prepareRows(BatchRows);
    m_waiting.reserve(size_t(BatchRows) * size_t(columns));
}

RowWriter::~RowWriter()
{
    if (m_batch)
        sqlite3_finalize(m_batch);
}

sqlite3_stmt *RowWriter::prepareRows(int rows)
{
    const std::string sql = m_head + valuesClause(rows, m_columns);
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        fail(("cannot prepare " + sql).c_str());
    }
    return statement;
}

void RowWriter::fail(const char *what, sqlite3_stmt *statement)
{
    std::string text = what;
    DatabaseFault fault = DatabaseFault::Other;
    if (m_db) {
        text += std::string(": ") + sqlite3_errmsg(m_db);
        fault = faultOfSqliteCode(sqlite3_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    if (statement)
        text += std::string(" [") + m_head + "]";
    throw DatabaseError(text, fault);
}

void RowWriter::text(int position, const char *latin1, int size)
{
    Value &v = m_row[size_t(position - 1)];
    v.kind = Value::Text;
    v.text.assign(latin1, size_t(size));
}

void RowWriter::text(int position, const QString &value)
{
    // A null QString is stored as empty text: a text value is never NULL.
    Value &v = m_row[size_t(position - 1)];
    v.kind = Value::Text;
    v.text = value.toStdString();
}

void RowWriter::text(int position, const std::optional<QString> &value)
{
    if (value)
        text(position, *value);
    else
        null(position);
}

void RowWriter::integer(int position, qint64 value)
{
    Value &v = m_row[size_t(position - 1)];
    v.kind = Value::Integer;
    v.number = value;
}

void RowWriter::null(int position)
{
    m_row[size_t(position - 1)].kind = Value::Null;
}

void RowWriter::insert()
{
    if (!m_db) {
        QVariantList values;
        for (const Value &v : m_row) {
            if (v.kind == Value::Integer)
                values << v.number;
            else if (v.kind == Value::Text)
                values << QString::fromStdString(v.text);
            else
                values << QVariant(QMetaType(QMetaType::QString));
        }
        m_session.run(*m_query, values);
        return;
    }
    m_waiting.insert(m_waiting.end(), m_row.begin(), m_row.end());
    if (m_waiting.size() == size_t(BatchRows) * size_t(m_columns))
        storeWaiting(m_batch);
}

void RowWriter::storeWaiting(sqlite3_stmt *statement)
{
    int position = 0;
    for (const Value &v : m_waiting) {
        ++position;
        int rc = SQLITE_OK;
        if (v.kind == Value::Integer)
            rc = sqlite3_bind_int64(statement, position, v.number);
        else if (v.kind == Value::Text) // the waiting rows outlive the run
            rc = sqlite3_bind_text(statement, position, v.text.data(), int(v.text.size()),
                                   SQLITE_STATIC);
        else
            rc = sqlite3_bind_null(statement, position);
        if (rc != SQLITE_OK)
            fail("cannot bind a value", statement);
    }
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    m_waiting.clear();
    if (rc != SQLITE_DONE)
        fail("cannot store the rows", statement);
}

void RowWriter::finish()
{
    if (!m_db || m_waiting.empty())
        return;
    sqlite3_stmt *rest = prepareRows(int(m_waiting.size() / size_t(m_columns)));
    try {
        storeWaiting(rest);
    } catch (...) {
        sqlite3_finalize(rest);
        throw;
    }
    sqlite3_finalize(rest);
}

} // namespace roadtally
