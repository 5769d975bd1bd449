#pragma once
// Survey databases in trouble, for the tests of what the user is told: one
// held by another writer, one that cannot be written (also by the superuser the
// tests run as), one with a damaged table. Tests that include this link
// SQLite::SQLite3.

#include <QCryptographicHash>
#include <QFile>
#include <QString>

#include <sqlite3.h>

namespace roadtally::test {

// The engine treats a file whose format write version is above 2 as read-only;
// file permissions would not stop the superuser.
inline bool makeReadOnly(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(18))
        return false;
    return file.write("\x03", 1) == 1;
}

// Overwrites the first page of a table's rows with rubbish: reading or
// emptying the table then fails as damaged, while the rest of the file opens.
inline bool damageTable(const QString &path, const char *table)
{
    sqlite3 *db = nullptr;
    int pageSize = 0, rootPage = 0;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt *q = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &q, nullptr) == SQLITE_OK &&
            sqlite3_step(q) == SQLITE_ROW)
            pageSize = sqlite3_column_int(q, 0);
        sqlite3_finalize(q);
        if (sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?", -1, &q,
                               nullptr) == SQLITE_OK) {
            sqlite3_bind_text(q, 1, table, -1, SQLITE_STATIC);
            if (sqlite3_step(q) == SQLITE_ROW)
                rootPage = sqlite3_column_int(q, 0);
        }
        sqlite3_finalize(q);
    }
    sqlite3_close(db);
    if (pageSize <= 0 || rootPage <= 1)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(qint64(rootPage - 1) * pageSize))
        return false;
    return file.write(QByteArray(pageSize, '\xff')) == pageSize;
}

inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Another writer: holds the database's write lock from construction until
// release() or the end of its life, as a second program in the middle of a
// write would. Other processes see the lock only while this process closes no
// other handle of the file (the system drops a process's locks on a file when
// any of its handles closes).
class WriteLock
{
public:
    explicit WriteLock(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) ==
            SQLITE_OK)
            m_held = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~WriteLock()
    {
        release();
        sqlite3_close(m_db);
    }
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    bool isHeld() const { return m_held; }
    void release()
    {
        if (m_held)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_held = false;
    }

private:
    sqlite3 *m_db = nullptr;
    bool m_held = false;
};

} // namespace roadtally::test
