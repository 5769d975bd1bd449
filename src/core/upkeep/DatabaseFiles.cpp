#include "core/upkeep/DatabaseFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace roadtally {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString findFileNoCase(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

QString filePathNoCase(const QString &folder, const QString &name)
{
    const QString existing = findFileNoCase(folder, name);
    return existing.isEmpty() ? QDir(folder).filePath(name) : existing;
}

QString syncFile(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("cannot open %1: %2").arg(shown(path), systemError());
    const int rc = ::fsync(fd);
    const QString error =
        rc == 0 ? QString()
                : QStringLiteral("cannot write %1 to disk: %2").arg(shown(path), systemError());
    ::close(fd);
    return error;
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return QStringLiteral("cannot open %1: %2").arg(shown(path), file.errorString());
    return file.flush() ? QString() : QStringLiteral("cannot write %1 to disk").arg(shown(path));
#endif
}

QString syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return QStringLiteral("cannot open the folder %1: %2").arg(shown(folder), systemError());
    const int rc = ::fsync(fd);
    // Some file systems cannot sync a folder; the renames are done all the same.
    const QString error = rc == 0 || errno == EINVAL
                              ? QString()
                              : QStringLiteral("cannot write the folder %1 to disk: %2")
                                    .arg(shown(folder), systemError());
    ::close(fd);
    return error;
#else
    Q_UNUSED(folder);
    return {};
#endif
}

QString replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    if (!MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                     reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return QStringLiteral("cannot rename %1 to %2").arg(shown(from), shown(to));
    return {};
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return QStringLiteral("cannot rename %1 to %2: %3")
            .arg(shown(from), shown(to), systemError());
    return {};
#endif
}

QString copyFileSynced(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(shown(source), in.errorString());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QStringLiteral("cannot create %1: %2").arg(shown(target), out.errorString());
    QString error;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), buffer.size());
        if (got < 0) {
            error = QStringLiteral("cannot read %1: %2").arg(shown(source), in.errorString());
            break;
        }
        if (got == 0)
            break;
        if (out.write(buffer.constData(), got) != got) {
            error = QStringLiteral("cannot write %1: %2").arg(shown(target), out.errorString());
            break;
        }
    }
    if (error.isEmpty() && !out.flush())
        error = QStringLiteral("cannot write %1: %2").arg(shown(target), out.errorString());
#ifdef Q_OS_UNIX
    if (error.isEmpty() && ::fsync(out.handle()) != 0)
        error = QStringLiteral("cannot write %1 to disk: %2").arg(shown(target), systemError());
#endif
    out.close();
    // The program's files are read and written by the program: a read-only blank
    // file must not make a read-only database.
    if (error.isEmpty())
        out.setPermissions(in.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!error.isEmpty())
        QFile::remove(target);
    return error;
}

QString removeIfExists(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (!QFile::remove(path))
        return QStringLiteral("cannot remove %1").arg(shown(path));
    return {};
}

QString unusedName(const QString &folder, const QString &stem, const QString &suffix)
{
    const QDir dir(folder);
    QString name = stem + suffix;
    for (int n = 2;
         !findFileNoCase(folder, name).isEmpty() || QFileInfo::exists(dir.filePath(name)); ++n)
        name = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return dir.filePath(name);
}

} // namespace roadtally
