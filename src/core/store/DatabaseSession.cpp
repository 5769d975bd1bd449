#include "core/store/DatabaseSession.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

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

DatabaseFault faultOf(const QSqlError &error)
{
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

} // namespace

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
        m_fault = faultOf(db.lastError());
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
            m_fault = faultOf(probe.lastError());
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
            if (db.isOpen())
                db.rollback(); // harmless when no transaction is open
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase DatabaseSession::database() const
{
    return QSqlDatabase::database(m_connection, false);
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
    if (!query.prepare(sql))
        throw DatabaseError(describe(query).toStdString(), faultOf(query.lastError()));
    return query;
}

void DatabaseSession::run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw DatabaseError(describe(query).toStdString(), faultOf(query.lastError()));
}

QSqlQuery DatabaseSession::exec(const QString &sql, const QVariantList &values)
{
    QSqlQuery query = prepare(sql);
    run(query, values);
    return query;
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
                            faultOf(database().lastError()));
}

void DatabaseSession::beginImmediateTransaction()
{
    requireOpen();
    QSqlQuery begin(database());
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        throw DatabaseError(describe(begin).toStdString(), faultOf(begin.lastError()));
}

void DatabaseSession::commit()
{
    requireOpen();
    if (!database().commit())
        throw DatabaseError(database().lastError().text().toStdString(),
                            faultOf(database().lastError()));
}

void DatabaseSession::rollback()
{
    if (m_open)
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
