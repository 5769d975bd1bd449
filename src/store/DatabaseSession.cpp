#include "store/DatabaseSession.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>

#include <atomic>
#include <cstring>

namespace roadtally {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("roadtally-%1").arg(++counter);
}

QString describe(const QSqlQuery &query)
{
    return query.lastError().text() + QStringLiteral(" [") + query.lastQuery() + QStringLiteral("]");
}

} // namespace

DatabaseSession::DatabaseSession(const QString &path)
    : m_connection(nextConnectionName()), m_path(path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        m_error = QStringLiteral("The survey database %1 does not exist.").arg(path);
        return;
    }
    if (!info.isReadable()) {
        m_error = QStringLiteral("The survey database %1 cannot be read.").arg(path);
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    // Open read-write through a URI so that a file removed meanwhile is never re-created.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    if (!db.open()) {
        m_error = QStringLiteral("The survey database %1 cannot be opened: %2")
                      .arg(path, db.lastError().text());
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
        } else if (!probe.next() || probe.value(0).toInt() == 0) {
            m_error = QStringLiteral("The file %1 is not a survey database.").arg(path);
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
    return *static_cast<sqlite3 *const *>(handle.constData());
}

void DatabaseSession::requireOpen() const
{
    if (!m_open)
        throw DatabaseError(m_error.toStdString());
}

QSqlQuery DatabaseSession::prepare(const QString &sql)
{
    requireOpen();
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DatabaseError(describe(query).toStdString());
    return query;
}

void DatabaseSession::run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw DatabaseError(describe(query).toStdString());
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
        throw DatabaseError(database().lastError().text().toStdString());
}

void DatabaseSession::commit()
{
    requireOpen();
    if (!database().commit())
        throw DatabaseError(database().lastError().text().toStdString());
}

void DatabaseSession::rollback()
{
    if (m_open)
        database().rollback();
}

Transaction::Transaction(DatabaseSession &session) : m_session(session)
{
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
