#include "core/store/SqliteFile.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace roadtally {

SqliteFile::~SqliteFile()
{
    close();
}

int SqliteFile::open(const QString &path, Mode mode, int busyTimeoutMs)
{
    close();
    m_path = path;
    m_openError.clear();
    int flags = SQLITE_OPEN_FULLMUTEX;
    switch (mode) {
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        m_openError =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        m_lastCode = rc & 0xff;
        return m_lastCode;
    }
    m_db = db;
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    m_lastCode = SQLITE_OK;
    return SQLITE_OK;
}

void SqliteFile::close()
{
    if (m_db) {
        // Any statement left open would keep the file; finalize them all.
        while (sqlite3_stmt *statement = sqlite3_next_stmt(m_db, nullptr))
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

int SqliteFile::exec(const QString &sql)
{
    if (!m_db)
        return m_lastCode = SQLITE_MISUSE;
    m_lastCode = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) & 0xff;
    return m_lastCode;
}

QString SqliteFile::errorText() const
{
    if (!m_db)
        return m_openError.isEmpty() ? QString::fromUtf8(sqlite3_errstr(m_lastCode)) : m_openError;
    if (m_lastCode == SQLITE_OK)
        return {};
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

QStringList SqliteFile::column(const QString &sql, int *code)
{
    QStringList values;
    SqliteStatement statement(*this, sql);
    int rc = statement.prepareCode();
    if (statement.isValid()) {
        while ((rc = statement.step()) == SQLITE_ROW) {
            const unsigned char *text = sqlite3_column_text(statement.handle(), 0);
            values << (text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString());
        }
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    m_lastCode = rc;
    if (code)
        *code = rc;
    return values;
}

QString SqliteFile::copyRawFile(const QString &target) const
{
    if (!m_db)
        return QStringLiteral("the database is not open");
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return QStringLiteral("the database file cannot be read");
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        return QStringLiteral("the size of the database file cannot be read");

    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QStringLiteral("cannot create %1: %2")
            .arg(QDir::toNativeSeparators(target), out.errorString());
    QString error;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (sqlite3_int64 offset = 0; offset < size && error.isEmpty();) {
        const int chunk = int(qMin<sqlite3_int64>(buffer.size(), size - offset));
        if (file->pMethods->xRead(file, buffer.data(), chunk, offset) != SQLITE_OK)
            error = QStringLiteral("the database file cannot be read");
        else if (out.write(buffer.constData(), chunk) != chunk)
            error = QStringLiteral("cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(target), out.errorString());
        offset += chunk;
    }
    if (error.isEmpty() && !out.flush())
        error = QStringLiteral("cannot write %1: %2")
                    .arg(QDir::toNativeSeparators(target), out.errorString());
#ifdef Q_OS_UNIX
    if (error.isEmpty() && ::fsync(out.handle()) != 0)
        error = QStringLiteral("cannot write %1 to disk: %2")
                    .arg(QDir::toNativeSeparators(target),
                         QString::fromLocal8Bit(std::strerror(errno)));
#endif
    out.close();
    if (!error.isEmpty())
        QFile::remove(target);
    return error;
}

bool SqliteFile::isBusy(int code)
{
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool SqliteFile::isDamaged(int code)
{
    return code == SQLITE_CORRUPT;
}

SqliteStatement::SqliteStatement(SqliteFile &file, const QString &sql) : m_file(file)
{
    if (!file.m_db) {
        m_prepareCode = SQLITE_MISUSE;
        return;
    }
    m_prepareCode =
        sqlite3_prepare_v2(file.m_db, sql.toUtf8().constData(), -1, &m_statement, nullptr) & 0xff;
    file.m_lastCode = m_prepareCode;
    if (m_prepareCode != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bindText(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bindInt64(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

int SqliteStatement::step()
{
    if (!m_statement)
        return m_prepareCode;
    const int rc = sqlite3_step(m_statement) & 0xff;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        m_file.m_lastCode = rc;
    return rc;
}

void SqliteStatement::reset()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

} // namespace roadtally
