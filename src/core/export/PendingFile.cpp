#include "core/export/PendingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace roadtally {

PendingFile::PendingFile(const QString &target) : m_target(target) {}

PendingFile::~PendingFile()
{
    if (!m_committed)
        discard();
}

bool PendingFile::reserve()
{
    const QFileInfo info(m_target);
    const QDir folder = info.absoluteDir();
    if (!folder.exists()) {
        m_error = QStringLiteral("The folder %1 does not exist.")
                      .arg(QDir::toNativeSeparators(folder.path()));
        return false;
    }
    if (info.isDir()) {
        m_error = QStringLiteral("%1 is a folder.")
                      .arg(QDir::toNativeSeparators(info.absoluteFilePath()));
        return false;
    }
    // A hidden name in the same folder, so the final rename stays on one file system.
    QTemporaryFile file(folder.filePath(QStringLiteral(".%1.XXXXXX.part").arg(info.fileName())));
    file.setAutoRemove(false);
    if (!file.open()) {
        m_error = QStringLiteral("Cannot write in the folder %1: %2")
                      .arg(QDir::toNativeSeparators(folder.path()), file.errorString());
        return false;
    }
    m_temporary = file.fileName();
    file.close();
    return true;
}

bool PendingFile::commit()
{
    if (m_temporary.isEmpty()) {
        m_error =
            QStringLiteral("Nothing was written for %1.").arg(QDir::toNativeSeparators(m_target));
        return false;
    }
    // The temporary file is private to its owner; the finished file gets the
    // permissions of the file it replaces, or the usual ones of a new file.
    const QFileInfo existing(m_target);
    QFile::setPermissions(m_temporary, existing.exists() ? existing.permissions()
                                                         : QFile::ReadOwner | QFile::WriteOwner |
                                                               QFile::ReadUser | QFile::WriteUser |
                                                               QFile::ReadGroup | QFile::ReadOther);
    // std::filesystem::rename replaces an existing target in one step on every platform.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_temporary.toStdU16String()),
                            std::filesystem::path(m_target.toStdU16String()), error);
    if (error) {
        m_error =
            QStringLiteral("Cannot write %1: %2")
                .arg(QDir::toNativeSeparators(m_target), QString::fromLocal8Bit(error.message()));
        discard();
        return false;
    }
    m_committed = true;
    m_temporary.clear();
    return true;
}

void PendingFile::discard()
{
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
    m_temporary.clear();
}

} // namespace roadtally
