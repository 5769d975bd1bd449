#include "core/store/DatabaseSession.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/Schema.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace roadtally {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("roadtally-%1").arg(++counter);
}

QString describe(const QSqlQuery &query)
{
    return query.lastError().text() + QStringLiteral(" [") + query.lastQuery() +
           QStringLiteral("]");
}

DatabaseFault faultOf(const QSqlError &error, bool server)
{
    if (server)
        return faultOfServerError(error.nativeErrorCode(), error.databaseText());
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number);
    return faultOfSqliteCode(number ? code : SQLITE_ERROR, error.databaseText());
}

std::atomic<bool> directEngineAllowed{true};

// True when the SQLite library linked into this program is the one inside Qt's
// driver: same version and same source. Asked once; the driver is loaded once.
bool sameEngineAsDriver(const QSqlDatabase &db)
{
    static std::once_flag once;
    static bool same = false;
    std::call_once(once, [&] {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT sqlite_version(), sqlite_source_id()")) && q.next())
            same = q.value(0).toString() == QLatin1String(sqlite3_libversion()) &&
                   q.value(1).toString() == QLatin1String(sqlite3_sourceid());
    });
    return same;
}

// The server's reason without the client library's preamble ("connection to
// server on socket ... failed: FATAL:  ..."), on one line.
QString serverReason(const QString &text)
{
    QString reason = text.simplified();
    for (const QLatin1String marker :
         {QLatin1String("FATAL: "), QLatin1String("ERROR: "), QLatin1String("failed: ")}) {
        const int at = reason.lastIndexOf(marker);
        if (at >= 0) {
            reason = reason.mid(at + marker.size()).trimmed();
            break;
        }
    }
    // The driver appends the SQLSTATE in brackets; the user does not need it.
    static const QRegularExpression state(QStringLiteral("\\s*\\([0-9A-Z]{5}\\)$"));
    reason.remove(state);
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return reason.isEmpty() ? text.simplified() : reason;
}

} // namespace

DatabaseFault faultOfServerError(const QString &sqlState, const QString &text)
{
    if (sqlState == QLatin1String("23505"))
        return DatabaseFault::Duplicate;
    if (sqlState == QLatin1String("28P01") || sqlState == QLatin1String("28000"))
        return DatabaseFault::Denied;
    if (sqlState == QLatin1String("3D000"))
        return DatabaseFault::Missing;
    if (sqlState == QLatin1String("42501"))
        return DatabaseFault::ReadOnly;
    if (sqlState == QLatin1String("42P01") || sqlState == QLatin1String("42703") ||
        sqlState == QLatin1String("3F000"))
        return DatabaseFault::NotSurveyDatabase;
    if (sqlState == QLatin1String("40P01") || sqlState == QLatin1String("40001") ||
        sqlState == QLatin1String("55P03"))
        return DatabaseFault::Busy;
    if (sqlState == QLatin1String("53100"))
        return DatabaseFault::Full;
    if (sqlState == QLatin1String("XX001") || sqlState == QLatin1String("XX002"))
        return DatabaseFault::Damaged;
    if (sqlState.startsWith(QLatin1String("08")) || sqlState.startsWith(QLatin1String("57P")))
        return DatabaseFault::Unreachable;
    if (!sqlState.isEmpty())
        return DatabaseFault::Other;
    // A failed connection or a lost one carries no state: the text says which.
    if (text.contains(QLatin1String("no password supplied")))
        return DatabaseFault::PasswordNeeded;
    if (text.contains(QLatin1String("authentication failed")) ||
        text.contains(QLatin1String("no pg_hba.conf entry")) ||
        (text.contains(QLatin1String("role \"")) && text.contains(QLatin1String("does not exist"))))
        return DatabaseFault::Denied;
    if (text.contains(QLatin1String("database \"")) &&
        text.contains(QLatin1String("does not exist")))
        return DatabaseFault::Missing;
    if (text.contains(QLatin1String("permission denied")))
        return DatabaseFault::ReadOnly;
    return DatabaseFault::Unreachable;
}

namespace {

// The survey tables' and fields' names by their lower case, as defined.
struct KnownNames
{
    QHash<QString, QString> tables;
    QHash<QString, QHash<QString, QString>> columnsOf; // table (lower case) -> its fields
    QHash<QString, QString> columns; // a field name whose spelling is the same in every table
};

const KnownNames &knownNames()
{
    static const KnownNames names = [] {
        KnownNames n;
        QHash<QString, QSet<QString>> spellings;
        for (const TableDef &table : surveyTables()) {
            const QString key = table.name.toLower();
            n.tables.insert(key, table.name);
            for (const ColumnDef &c : table.columns) {
                n.columnsOf[key].insert(c.name.toLower(), c.name);
                spellings[c.name.toLower()].insert(c.name);
            }
        }
        for (auto it = spellings.cbegin(); it != spellings.cend(); ++it)
            if (it.value().size() == 1)
                n.columns.insert(it.key(), *it.value().cbegin());
        return n;
    }();
    return names;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

QString standardQuoting(const QString &sql)
{
    // The one-file engine matches names without regard to case and takes them
    // bare or in brackets; the server needs the defined spelling in double
    // quotes. Names are looked up in the tables the statement names.
    struct Token
    {
        qsizetype start;
        qsizetype end;      // one past the last character
        QString name;       // without brackets or quotes
        bool quoted;        // in brackets or double quotes
        bool tablePosition; // after FROM, INTO, UPDATE, JOIN, TABLE or ON
    };
    const KnownNames &known = knownNames();
    QVector<Token> tokens;
    QSet<QString> tables;
    QString previousWord;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) { // a literal, '' inside it included
            for (++i; i < sql.size(); ++i) {
                if (sql.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('\''))
                        ++i;
                    else
                        break;
                }
            }
            ++i;
            continue;
        }
        Token t{i, i, QString(), false, false};
        if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
            const qsizetype end = sql.indexOf(close, i + 1);
            if (end < 0)
                break;
            t.name = sql.mid(i + 1, end - i - 1);
            t.quoted = true;
            t.end = end + 1;
        } else if (isWordCharacter(c)) {
            qsizetype end = i;
            while (end < sql.size() && isWordCharacter(sql.at(end)))
                ++end;
            t.name = sql.mid(i, end - i);
            t.end = end;
        } else {
            ++i;
            continue;
        }
        const QString word = previousWord.toUpper();
        t.tablePosition = word == QLatin1String("FROM") || word == QLatin1String("INTO") ||
                          word == QLatin1String("UPDATE") || word == QLatin1String("JOIN") ||
                          word == QLatin1String("TABLE") || word == QLatin1String("ON");
        if (t.tablePosition && known.tables.contains(t.name.toLower()))
            tables.insert(t.name.toLower());
        previousWord = t.quoted ? QString() : t.name;
        tokens.append(t);
        i = t.end;
    }
    QString out;
    out.reserve(sql.size() + 32);
    qsizetype copied = 0;
    for (const Token &t : tokens) {
        const QString key = t.name.toLower();
        QString spelled;
        if (t.tablePosition) {
            spelled = known.tables.value(key);
        } else {
            for (const QString &table : tables) {
                spelled = known.columnsOf.value(table).value(key);
                if (!spelled.isEmpty())
                    break;
            }
            if (spelled.isEmpty())
                spelled = known.columns.value(key);
        }
        if (spelled.isEmpty() && !t.quoted)
            continue; // a keyword, a function or an alias: as written
        if (spelled.isEmpty())
            spelled = t.name;
        out += QStringView(sql).mid(copied, t.start - copied);
        out += QLatin1Char('"') + spelled + QLatin1Char('"');
        copied = t.end;
    }
    out += QStringView(sql).mid(copied);
    return out;
}

DatabaseFault faultOfSqliteCode(int code, const QString &text)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DatabaseFault::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return DatabaseFault::ReadOnly;
    case SQLITE_CORRUPT:
        return DatabaseFault::Damaged;
    case SQLITE_NOTADB:
        return DatabaseFault::NotSurveyDatabase;
    case SQLITE_FULL:
        return DatabaseFault::Full;
    case SQLITE_ERROR:
        // A survey table or field that is not there.
        if (text.contains(QLatin1String("no such table"), Qt::CaseInsensitive) ||
            text.contains(QLatin1String("no such column"), Qt::CaseInsensitive) ||
            text.contains(QLatin1String("has no column"), Qt::CaseInsensitive))
            return DatabaseFault::NotSurveyDatabase;
        return DatabaseFault::Other;
    default:
        return DatabaseFault::Other;
    }
}

DatabaseSession::DatabaseSession(const QString &path, int busyTimeoutMs)
    : m_connection(nextConnectionName()), m_path(path), m_busyTimeoutMs(qMax(0, busyTimeoutMs))
{
    if (isServerDatabase(path))
        openServer(path, true);
    else
        openFile(path);
}

DatabaseSession::DatabaseSession(const QString &uri, ConnectionOnly)
    : m_connection(nextConnectionName()), m_path(uri)
{
    openServer(uri, false);
}

void DatabaseSession::openServer(const QString &uri, bool surveyTables)
{
    m_server = true;
    QString why;
    const std::optional<ServerAddress> address = parseServerUri(uri, &why);
    if (!address) {
        m_error = why;
        m_fault = DatabaseFault::Other;
        return;
    }
    const QString name = address->displayName();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        m_error = QStringLiteral("The survey database %1 cannot be opened: this computer lacks "
                                 "the PostgreSQL driver of Qt (libqt6sql6-psql).")
                      .arg(name);
        m_fault = DatabaseFault::Other;
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
    db.setHostName(address->host);
    db.setPort(address->port);
    db.setDatabaseName(address->databaseName);
    db.setUserName(address->user);
    // Empty unless the user typed one this session: the client library then
    // reads PGPASSWORD or the password file itself.
    db.setPassword(sessionPassword(address->uri()));
    QStringList options{QStringLiteral("connect_timeout=10"),
                        QStringLiteral("application_name=roadtally")};
    options << address->options;
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        m_fault = faultOfServerError(QString(), db.lastError().databaseText());
        m_error = QStringLiteral("The survey database %1 cannot be opened: %2.")
                      .arg(name, serverReason(db.lastError().databaseText()));
        return;
    }
    if (!surveyTables) {
        m_open = true;
        return;
    }
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                                   "table_schema = '%1' AND table_name = 'Header'")
                        .arg(QLatin1String(ServerSchema)))) {
        m_fault = faultOf(probe.lastError(), true);
        m_error = QStringLiteral("The survey database %1 cannot be read: %2.")
                      .arg(name, serverReason(probe.lastError().databaseText()));
    } else if (!probe.next() || probe.value(0).toInt() == 0) {
        m_fault = DatabaseFault::NotSurveyDatabase;
        m_error = QStringLiteral("The database %1 holds no survey tables (schema %2); "
                                 "roadtally-cli init --database URI creates them.")
                      .arg(name, QLatin1String(ServerSchema));
    } else if (!probe.exec(
                   QStringLiteral("SET search_path TO %1").arg(QLatin1String(ServerSchema)))) {
        m_fault = faultOf(probe.lastError(), true);
        m_error = QStringLiteral("The survey database %1 cannot be read: %2.")
                      .arg(name, serverReason(probe.lastError().databaseText()));
    }
    if (!m_error.isEmpty()) {
        probe = QSqlQuery();
        db.close();
        return;
    }
    m_open = true;
}

void DatabaseSession::openFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        m_error = QStringLiteral("The survey database %1 does not exist.").arg(path);
        m_fault = DatabaseFault::Missing;
        return;
    }
    if (!info.isFile()) {
        m_error = QStringLiteral("The survey database %1 is a folder, not a file.").arg(path);
        m_fault = DatabaseFault::NotSurveyDatabase;
        return;
    }
    if (!info.isReadable()) {
        m_error = QStringLiteral("The survey database %1 cannot be read.").arg(path);
        m_fault = DatabaseFault::ReadOnly;
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    // Open read-write through a URI so that a file removed meanwhile is never re-created.
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    if (!db.open()) {
        m_error = QStringLiteral("The survey database %1 cannot be opened: %2")
                      .arg(path, db.lastError().text());
        m_fault = faultOf(db.lastError(), false);
        return;
    }
    // A file that is not an SQLite database opens lazily; ask it something. An
    // empty or foreign file reads as a database without the survey tables.
    {
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                       "AND name = 'Header' COLLATE NOCASE"))) {
            m_error = QStringLiteral("The file %1 is not a readable survey database: %2")
                          .arg(path, probe.lastError().text());
            m_fault = faultOf(probe.lastError(), false);
        } else if (!probe.next() || probe.value(0).toInt() == 0) {
            m_error = QStringLiteral("The file %1 is not a survey database.").arg(path);
            m_fault = DatabaseFault::NotSurveyDatabase;
        }
    }
    if (!m_error.isEmpty()) {
        db.close();
        return;
    }
    m_open = true;
}

DatabaseSession::~DatabaseSession()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid()) {
            // Harmless when no transaction is open; a server would warn about it.
            PGconn *server = serverHandle();
            if (db.isOpen() && (!server || PQtransactionStatus(server) != PQTRANS_IDLE))
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase DatabaseSession::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

pg_conn *DatabaseSession::serverHandle() const
{
    const QSqlDatabase db = database();
    if (!m_server || !db.isValid() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // The driver names the type by its typedef or by its struct, depending on the Qt build.
    if (!handle.isValid() || (std::strcmp(handle.typeName(), "PGconn*") != 0 &&
                              std::strcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

QString DatabaseSession::dialect(const QString &sql) const
{
    return m_server ? standardQuoting(sql) : sql;
}

sqlite3 *DatabaseSession::sqliteHandle() const
{
    const QSqlDatabase db = database();
    if (!db.isValid() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    if (!directEngineAllowed.load() || !sameEngineAsDriver(db))
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

void DatabaseSession::setDirectEngineAllowed(bool allowed)
{
    directEngineAllowed.store(allowed);
}

void DatabaseSession::requireOpen() const
{
    if (!m_open)
        throw DatabaseError(m_error.toStdString(), m_fault);
}

QSqlQuery DatabaseSession::prepare(const QString &sql)
{
    requireOpen();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(dialect(sql)))
        throw DatabaseError(describe(query).toStdString(), faultOf(query.lastError(), m_server));
    return query;
}

void DatabaseSession::run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw DatabaseError(describe(query).toStdString(), faultOf(query.lastError(), m_server));
}

QSqlQuery DatabaseSession::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = prepare(sql);
    run(query, values);
    return query;
}

void DatabaseSession::execute(const QString &sql)
{
    requireOpen();
    QSqlQuery query(database());
    if (!query.exec(dialect(sql)))
        throw DatabaseError(describe(query).toStdString(), faultOf(query.lastError(), m_server));
}

QVariant DatabaseSession::scalar(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = exec(sql, values);
    return query.next() ? query.value(0) : QVariant();
}

void DatabaseSession::deleteAll(const QString &table)
{
    QString name = table;
    name.replace(QLatin1Char(']'), QStringLiteral("]]"));
    exec(QStringLiteral("DELETE FROM [%1]").arg(name));
}

void DatabaseSession::beginTransaction()
{
    requireOpen();
    if (!database().transaction())
        throw DatabaseError(database().lastError().text().toStdString(),
                            faultOf(database().lastError(), m_server));
}

void DatabaseSession::beginImmediateTransaction()
{
    requireOpen();
    if (m_server) {
        beginTransaction();
        return;
    }
    QSqlQuery begin(database());
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DatabaseError(describe(begin).toStdString(), faultOf(begin.lastError(), false));
}

void DatabaseSession::commit()
{
    requireOpen();
    if (!database().commit())
        throw DatabaseError(database().lastError().text().toStdString(),
                            faultOf(database().lastError(), m_server));
}

void DatabaseSession::rollback()
{
    PGconn *server = serverHandle();
    if (m_open && (!server || PQtransactionStatus(server) != PQTRANS_IDLE))
        database().rollback();
}

Transaction::Transaction(DatabaseSession &session, Lock lock) : m_session(session)
{
    if (lock == Lock::Immediate)
        m_session.beginImmediateTransaction();
    else
        m_session.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_session.rollback();
}

void Transaction::commit()
{
    m_session.commit();
    m_done = true;
}

} // namespace roadtally
