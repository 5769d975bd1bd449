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
struct pg_conn;

namespace roadtally {

// What kind of trouble a database operation met: the user is told what is
// wrong with the database file rather than only the engine's words.
enum class DatabaseFault {
    Other,             // anything else; the engine's text says what
    Missing,           // no file at the path
    Busy,              // another connection held it past the busy timeout
    ReadOnly,          // the file (or its folder, for the journal) cannot be written
    Damaged,           // the engine found the file corrupt
    NotSurveyDatabase, // not a database, or one without the survey tables
    Full,              // the disk is full
    Unreachable,       // the server cannot be reached, or the connection was lost
    Denied,            // the server refused the login (user or password)
    PasswordNeeded,    // the server asks for a password and none was given
    Duplicate,         // a row the unique constraints forbid (the same survey twice)
};

// The fault of a server error: its SQLSTATE (empty for a failed connection)
// and the server's or client library's text.
DatabaseFault faultOfServerError(const QString &sqlState, const QString &text);

// The fault of an SQLite result code (primary or extended); text, the
// engine's message, tells a missing table from other plain errors.
DatabaseFault faultOfSqliteCode(int code, const QString &text = QString());

// A failing database operation; what() names the file or the statement.
class DatabaseError : public std::runtime_error
{
public:
    explicit DatabaseError(const std::string &what, DatabaseFault fault = DatabaseFault::Other)
        : std::runtime_error(what), m_fault(fault)
    {
    }
    DatabaseFault fault() const { return m_fault; }

private:
    DatabaseFault m_fault;
};

class DatabaseSession
{
public:
    // How long an operation waits for another connection's lock by default.
    static constexpr int DefaultBusyTimeoutMs = 2000;

    // Opens the existing database file at path, or connects to the server when
    // path is a server URI (core/store/DatabaseLocation.h); never creates one.
    // On failure (missing, unreachable, or not a survey database) isOpen() is
    // false, errorText() names the file or server and openFault() says what is wrong.
    explicit DatabaseSession(const QString &path, int busyTimeoutMs = DefaultBusyTimeoutMs);
    // The server's connection alone, without asking for the survey tables: for
    // creating them.
    struct ConnectionOnly
    {
    };
    DatabaseSession(const QString &uri, ConnectionOnly);
    ~DatabaseSession();
    DatabaseSession(const DatabaseSession &) = delete;
    DatabaseSession &operator=(const DatabaseSession &) = delete;

    bool isOpen() const { return m_open; }
    QString errorText() const { return m_error; }
    DatabaseFault openFault() const { return m_fault; }
    QString path() const { return m_path; }
    // True on a server: SQL texts are given the server's quoting, and the
    // bulk writer copies rows in through serverHandle().
    bool isServer() const { return m_server; }
    int busyTimeoutMs() const { return m_busyTimeoutMs; }
    QSqlDatabase database() const;
    // The SQLite engine behind the connection, for the bulk writers of a long
    // survey. Null when the driver is not SQLite, or when the SQLite library this
    // program calls is not the one inside Qt's driver (a handle of one library
    // must never reach the functions of another): the callers then take the
    // plain query path.
    sqlite3 *sqliteHandle() const;
    // The server connection behind the session (null on the one-file engine).
    pg_conn *serverHandle() const;
    // Tests and the benchmark turn the engine off to run the plain query path.
    static void setDirectEngineAllowed(bool allowed);

    // Prepares a statement; throws DatabaseError when the text does not prepare.
    QSqlQuery prepare(const QString &sql);
    // Prepares, binds the values in order and runs; throws DatabaseError on failure.
    QSqlQuery exec(const QString &sql, const QVariantList &values = {});
    // Runs a prepared query once more with new values; throws on failure.
    void run(QSqlQuery &query, const QVariantList &values);
    // Runs a statement that takes no values and is not prepared (the schema's
    // statements, settings); throws DatabaseError on failure.
    void execute(const QString &sql);
    // First column of the first row of a selection (null when none).
    QVariant scalar(const QString &sql, const QVariantList &values = {});

    // The bulk delete: removes every row of a table.
    void deleteAll(const QString &table);

    void beginTransaction();
    // Takes the write lock at once (BEGIN IMMEDIATE), waiting for another
    // writer up to the busy timeout: a writer that waits its turn here never
    // fails half-way for a lock another writer holds. A server locks rows, not
    // the database: there it is a plain transaction.
    void beginImmediateTransaction();
    void commit();
    void rollback();

    // Throws DatabaseError with the session's error when the session is not open.
    void requireOpen() const;

    // The SQL text as the engine takes it: on a server the program's names
    // ([Batch_Number], Header) in double quotes as defined (standardQuoting).
    QString dialect(const QString &sql) const;

private:
    void openFile(const QString &path);
    void openServer(const QString &uri, bool surveyTables);

    QString m_connection;
    QString m_path;
    QString m_error;
    DatabaseFault m_fault = DatabaseFault::Other;
    int m_busyTimeoutMs = DefaultBusyTimeoutMs;
    bool m_open = false;
    bool m_server = false;
};

// A statement as the server takes it: every name of a survey table or field,
// bare or in brackets, in double quotes and spelled as defined; other names in
// brackets in double quotes. Text literals stay as they are.
QString standardQuoting(const QString &sql);

// Rolls back at scope end unless commit() ran.
class Transaction
{
public:
    enum class Lock { Deferred, Immediate };
    explicit Transaction(DatabaseSession &session, Lock lock = Lock::Deferred);
    ~Transaction();
    void commit();

private:
    DatabaseSession &m_session;
    bool m_done = false;
};

} // namespace roadtally
