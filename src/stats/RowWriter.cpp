#include "stats/RowWriter.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <cstring>
#include <string>

namespace roadtally {

namespace {

sqlite3 *sqliteHandle(const DatabaseSession &session)
{
    const QVariant handle = session.database().driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

RowWriter::RowWriter(DatabaseSession &session, const char *sql) : m_session(session)
{
    session.requireOpen();
    m_db = sqliteHandle(session);
    if (!m_db) {
        m_query.emplace(session.prepare(QString::fromLatin1(sql)));
        return;
    }
    if (sqlite3_prepare_v2(m_db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail("cannot prepare the insert");
}

RowWriter::~RowWriter()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

void RowWriter::fail(const char *what)
{
    std::string text = what;
    if (m_db)
        text += std::string(": ") + sqlite3_errmsg(m_db);
    if (m_stmt)
        text += std::string(" [") + sqlite3_sql(m_stmt) + "]";
    throw DatabaseError(text);
}

void RowWriter::text(int position, const char *latin1, int size)
{
    if (m_stmt) {
        // Every text given this way is plain ASCII, so it is valid UTF-8 as it stands.
        if (sqlite3_bind_text(m_stmt, position, latin1, size, SQLITE_TRANSIENT) != SQLITE_OK)
            fail("cannot bind a value");
        return;
    }
    text(position, QString::fromLatin1(latin1, size));
}

void RowWriter::textKept(int position, const char *latin1, int size)
{
    if (m_stmt) {
        if (sqlite3_bind_text(m_stmt, position, latin1, size, SQLITE_STATIC) != SQLITE_OK)
            fail("cannot bind a value");
        return;
    }
    text(position, QString::fromLatin1(latin1, size));
}

void RowWriter::text(int position, const QString &value)
{
    if (m_stmt) {
        const QByteArray utf8 = value.toUtf8();
        if (sqlite3_bind_text(m_stmt, position, utf8.constData(), int(utf8.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK)
            fail("cannot bind a value");
        return;
    }
    if (m_values.size() < position)
        m_values.resize(position);
    // A null QString would reach the table as NULL; a text value is never NULL.
    m_values[position - 1] = value.isNull() ? QVariant(QLatin1String("")) : QVariant(value);
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
    if (m_stmt) {
        if (sqlite3_bind_int64(m_stmt, position, value) != SQLITE_OK)
            fail("cannot bind a value");
        return;
    }
    if (m_values.size() < position)
        m_values.resize(position);
    m_values[position - 1] = value;
}

void RowWriter::null(int position)
{
    if (m_stmt) {
        if (sqlite3_bind_null(m_stmt, position) != SQLITE_OK)
            fail("cannot bind a value");
        return;
    }
    if (m_values.size() < position)
        m_values.resize(position);
    m_values[position - 1] = QVariant(QMetaType(QMetaType::QString));
}

void RowWriter::insert()
{
    if (!m_stmt) {
        m_session.run(*m_query, m_values);
        return;
    }
    const int rc = sqlite3_step(m_stmt);
    sqlite3_reset(m_stmt);
    if (rc != SQLITE_DONE)
        fail("cannot store a row");
}

} // namespace roadtally
