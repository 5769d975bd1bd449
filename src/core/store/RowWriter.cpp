#include "core/store/RowWriter.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>

namespace roadtally {

namespace {

// Rows stored per run of the prepared statement. Past a few dozen rows a run
// gains nothing more; the bound values of a run stay under the engine's oldest
// limit of 999.
constexpr int BatchRows = 32;
constexpr int MostValuesPerRun = 999;

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

// Rows are sent to the server in pieces of about this size.
constexpr size_t CopyPiece = 256 * 1024;

// A text in COPY's text format: the separators and the escape character escaped.
void appendCopyText(std::string &out, const std::string &text)
{
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

RowWriter::RowWriter(DatabaseSession &session, const char *head, int columns)
    : m_session(session), m_head(head), m_columns(columns), m_row(size_t(columns))
{
    session.requireOpen();
    m_server = session.serverHandle();
    if (m_server) {
        const std::string insertInto = "INSERT INTO ";
        std::string target =
            m_head.substr(m_head.rfind(insertInto, 0) == 0 ? insertInto.size() : 0);
        m_copyStatement =
            "COPY " + standardQuoting(QString::fromStdString(target)).toStdString() + " FROM STDIN";
        m_copied.reserve(CopyPiece + 4096);
        return;
    }
    m_db = session.sqliteHandle();
    if (!m_db) {
        m_query.emplace(session.prepare(QString::fromStdString(m_head + valuesClause(1, columns))));
        return;
    }
    m_batchRows = std::clamp(MostValuesPerRun / std::max(1, columns), 1, BatchRows);
    m_batch = prepareRows(m_batchRows);
    m_waiting.reserve(size_t(m_batchRows) * size_t(columns));
}

RowWriter::~RowWriter()
{
    if (m_batch)
        sqlite3_finalize(m_batch);
    if (m_copying) {
        // Unfinished: the server discards the rows, and the caller's transaction fails.
        PQputCopyEnd(m_server, "the rows were not finished");
        while (PGresult *result = PQgetResult(m_server))
            PQclear(result);
    }
}

sqlite3_stmt *RowWriter::prepareRows(int rows)
{
    const std::string sql = m_head + valuesClause(rows, m_columns);
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        fail("cannot prepare the insert");
    }
    return statement;
}

void RowWriter::fail(const char *what)
{
    std::string text = what;
    DatabaseFault fault = DatabaseFault::Other;
    if (m_db) {
        text += std::string(": ") + sqlite3_errmsg(m_db);
        fault = faultOfSqliteCode(sqlite3_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
    }
    text += std::string(" [") + m_head + "]";
    throw DatabaseError(text, fault);
}

void RowWriter::text(int position, const char *utf8, int size)
{
    Cell &v = m_row[size_t(position - 1)];
    v.kind = Text;
    v.text.assign(utf8, size_t(size));
}

void RowWriter::text(int position, const QString &value)
{
    // A null QString is stored as empty text: a text value is never NULL.
    Cell &v = m_row[size_t(position - 1)];
    v.kind = Text;
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
    Cell &v = m_row[size_t(position - 1)];
    v.kind = Integer;
    v.number = value;
}

void RowWriter::null(int position)
{
    m_row[size_t(position - 1)].kind = Null;
}

void RowWriter::insert()
{
    if (m_server) {
        copyRow();
        return;
    }
    if (!m_db) {
        QVariantList values;
        values.reserve(m_columns);
        for (const Cell &v : m_row) {
            if (v.kind == Integer)
                values << v.number;
            else if (v.kind == Text)
                values << QString::fromStdString(v.text);
            else
                values << QVariant(QMetaType(QMetaType::QString));
        }
        m_session.run(*m_query, values);
        return;
    }
    for (const Cell &v : m_row) {
        if (v.kind == Text) {
            m_waiting.push_back({Text, qint64(m_texts.size()), int(v.text.size())});
            m_texts += v.text;
        } else {
            m_waiting.push_back({v.kind, v.number, 0});
        }
    }
    if (m_waiting.size() == size_t(m_batchRows) * size_t(m_columns))
        storeWaiting(m_batch);
}

void RowWriter::storeWaiting(sqlite3_stmt *statement)
{
    // The texts are complete now: they stay where they are until the run ends.
    const char *texts = m_texts.data();
    int position = 0;
    for (const Waiting &v : m_waiting) {
        ++position;
        int rc = SQLITE_OK;
        if (v.kind == Integer)
            rc = sqlite3_bind_int64(statement, position, v.number);
        else if (v.kind == Text)
            rc = sqlite3_bind_text(statement, position, texts + v.number, v.size, SQLITE_STATIC);
        else
            rc = sqlite3_bind_null(statement, position);
        if (rc != SQLITE_OK)
            fail("cannot bind a value");
    }
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    m_waiting.clear();
    m_texts.clear();
    if (rc != SQLITE_DONE)
        fail("cannot store the rows");
}

void RowWriter::copyRow()
{
    if (!m_copying) {
        PGresult *start = PQexec(m_server, m_copyStatement.c_str());
        if (PQresultStatus(start) != PGRES_COPY_IN)
            failCopy("cannot start copying the rows", start);
        PQclear(start);
        m_copying = true;
    }
    bool first = true;
    for (const Cell &v : m_row) {
        if (!first)
            m_copied += '\t';
        first = false;
        if (v.kind == Integer)
            m_copied += std::to_string(v.number);
        else if (v.kind == Text)
            appendCopyText(m_copied, v.text);
        else
            m_copied += "\\N";
    }
    m_copied += '\n';
    if (m_copied.size() >= CopyPiece)
        sendCopied();
}

void RowWriter::sendCopied()
{
    if (m_copied.empty())
        return;
    if (PQputCopyData(m_server, m_copied.data(), int(m_copied.size())) != 1)
        failCopy("cannot send the rows");
    m_copied.clear();
}

void RowWriter::failCopy(const char *what, const void *result)
{
    const PGresult *res = static_cast<const PGresult *>(result);
    QString state;
    std::string text = what;
    if (res && PQresultErrorMessage(res)[0]) {
        state = QString::fromLatin1(PQresultErrorField(res, PG_DIAG_SQLSTATE));
        text += std::string(": ") + PQresultErrorMessage(res);
    } else {
        text += std::string(": ") + PQerrorMessage(m_server);
    }
    if (res)
        PQclear(const_cast<PGresult *>(res));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    text += " [" + m_copyStatement + "]";
    if (m_copying && PQstatus(m_server) == CONNECTION_OK) {
        PQputCopyEnd(m_server, "failed");
        while (PGresult *rest = PQgetResult(m_server))
            PQclear(rest);
    }
    m_copying = false;
    m_copied.clear();
    throw DatabaseError(text, faultOfServerError(state, QString::fromStdString(text)));
}

void RowWriter::finish()
{
    if (m_server) {
        if (!m_copying)
            return;
        sendCopied();
        if (PQputCopyEnd(m_server, nullptr) != 1)
            failCopy("cannot end copying the rows");
        m_copying = false;
        while (PGresult *result = PQgetResult(m_server)) {
            if (PQresultStatus(result) != PGRES_COMMAND_OK) {
                while (PGresult *rest = PQgetResult(m_server))
                    PQclear(rest);
                failCopy("cannot store the rows", result);
            }
            PQclear(result);
        }
        return;
    }
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
