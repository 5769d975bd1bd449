#pragma once
// A connection to a database file straight through the SQLite engine, for the
// maintenance steps that need what the Qt driver does not give: the engine's
// result codes (busy, damaged, not a database), VACUUM INTO, the integrity check,
// value-for-value row copies and reads through the engine's own file handle.

#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace roadtally {

class SqliteStatement;

class SqliteFile
{
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    SqliteFile() = default;
    ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    // Opens the file (never creates it unless mode is Create). Returns the
    // engine's primary result code; 0 (SQLITE_OK) on success.
    int open(const QString &path, Mode mode, int busyTimeoutMs);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs statements without results; the engine's primary result code.
    int exec(const QString &sql);
    // The engine's message for the last failure on this connection.
    QString errorText() const;
    int lastCode() const { return m_lastCode; }

    // The first column of every row of a selection (for PRAGMA results).
    // *code receives the result code of the run.
    QStringList column(const QString &sql, int *code);

    // Copies the database file's bytes, as they are on disk, to target (which
    // must not exist) through the engine's own file handle, so that the locks
    // this connection holds stay in place. Returns "" or the reason.
    QString copyRawFile(const QString &target) const;

    // True when the code says the file is held by another connection.
    static bool isBusy(int code);
    // True when the code says the file is damaged.
    static bool isDamaged(int code);

private:
    friend class SqliteStatement;
    sqlite3 *m_db = nullptr;
    QString m_path;
    int m_lastCode = 0;
    QString m_openError;
};

class SqliteStatement
{
public:
    SqliteStatement(SqliteFile &file, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool isValid() const { return m_statement != nullptr; }
    int prepareCode() const { return m_prepareCode; }
    sqlite3_stmt *handle() const { return m_statement; }
    void bindText(int index, const QString &text);
    void bindInt64(int index, qint64 value);
    // SQLITE_ROW, SQLITE_DONE or an error code (primary codes).
    int step();
    void reset();

private:
    SqliteFile &m_file;
    sqlite3_stmt *m_statement = nullptr;
    int m_prepareCode = 0;
};

} // namespace roadtally
