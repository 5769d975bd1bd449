#pragma once
// One open connection to the survey database for one user action, closed at
// scope end. Every value reaches SQL as a bound parameter.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <stdexcept>

struct sqlite3;

namespace roadtally {

// A failing database operation; what() names the file or the statement.
class DatabaseError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class DatabaseSession
{
public:
    // Opens the existing database file at path; never creates one. On failure
    // (missing, unreadable, or not a survey database) isOpen() is false and
    // errorText() names the file.
    explicit DatabaseSession(const QString &path);
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession &) = delete;
    DatabaseSession &operator=(const DatabaseSession &) = delete;

    bool isOpen() const { return m_open; }
    QString errorText() const { return m_error; }
    QString path() const { return m_path; }
    QSqlDatabase database() const;
    // The SQLite engine behind the connection, for the bulk writers of a long
    // survey; null when the driver is not SQLite.
    sqlite3 *sqliteHandle() const;

    // Prepares a statement; throws DatabaseError when the text does not prepare.
    QSqlQuery prepare(const QString &sql);
    // Prepares, binds the values in order and runs; throws DatabaseError on failure.
    QSqlQuery exec(const QString &sql, const QVariantList &values = {});
    // Runs a prepared query once more with new values; throws on failure.
    void run(QSqlQuery &query, const QVariantList &values);
    // First column of the first row of a selection (null when none).
    QVariant scalar(const QString &sql, const QVariantList &values = {});

    // The bulk delete: removes every row of a table.
    void deleteAll(const QString &table);

    void beginTransaction();
    void commit();
    void rollback();

    // Throws DatabaseError with the session's error when the session is not open.
    void requireOpen() const;

private:
    QString m_connection;
    QString m_path;
    QString m_error;
    bool m_open = false;
};

// Rolls back at scope end unless commit() ran.
class Transaction
{
public:
    explicit Transaction(DatabaseSession &session);
    ~Transaction();
    void commit();

private:
    DatabaseSession &m_session;
    bool m_done = false;
};

} // namespace roadtally
