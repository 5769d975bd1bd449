#include "core/intake/DataFileCopy.h"

#include "core/intake/RawDataFile.h"
#include "core/store/Installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace roadtally {

namespace {

DataFileCopy failed(const QString &message)
{
    DataFileCopy result;
    result.message = message;
    return result;
}

DataFileCopy unreadable(const QString &path, const QString &reason)
{
    LoadResult problem;
    problem.status = LoadStatus::Unreadable;
    problem.path = path;
    problem.reason = reason;
    return failed(loadMessage(problem));
}

// The whole file, or why it cannot be had. A device or a pipe is never opened.
bool readWhole(const QString &path, QByteArray &bytes, DataFileCopy &problem)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        problem = failed(loadMessage(LoadStatus::NotFound));
        return false;
    }
    if (info.isDir()) {
        problem = unreadable(path, QStringLiteral("it is a folder, not a file"));
        return false;
    }
    if (!info.isFile()) {
        problem = unreadable(path, QStringLiteral("it is a device or a pipe, not a file"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem =
            unreadable(path, QStringLiteral("it cannot be opened (%1)").arg(file.errorString()));
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        problem =
            unreadable(path, QStringLiteral("reading it failed (%1)").arg(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

DataFileCopy copyDataFileInto(const QString &source, const QString &folder, bool replace)
{
    const QString name = QFileInfo(source).fileName();
    QByteArray bytes;
    DataFileCopy problem;
    if (!readWhole(source, bytes, problem))
        return problem;
    if (!isPlainDataFileName(name))
        return failed(QStringLiteral("%1 is not a radar data file: only files whose name ends in "
                                     ".ovd can be loaded.")
                          .arg(QDir::toNativeSeparators(source)));

    DataFileCopy result;
    result.name = name;
    const QString target = QDir(folder).filePath(name);
    const QFileInfo there(target);
    if (there.exists()) {
        QFile present(target);
        if (there.isFile() && there.size() == bytes.size() && present.open(QIODevice::ReadOnly) &&
            present.readAll() == bytes) {
            result.outcome = DataFileCopy::Identical;
            return result;
        }
        if (!replace) {
            result.outcome = DataFileCopy::NameTaken;
            return result;
        }
    }

    // Written beside the target and renamed over it: a failure leaves what was there.
    QSaveFile copy(target);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.commit())
        return failed(QStringLiteral("Radar text file %1 could not be copied into the %2 %3: %4.")
                          .arg(QDir::toNativeSeparators(source), folderNoun(folder),
                               QDir::toNativeSeparators(folder), copy.errorString()));
    result.outcome = DataFileCopy::Copied;
    return result;
}

} // namespace roadtally
