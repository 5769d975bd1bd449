#include "core/intake/RawDataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace roadtally {

namespace {

// T[p,n]: the n characters starting at the 1-based position p (shorter or empty
// near the end of the text).
QString chars(const QString &text, qsizetype position, qsizetype count)
{
    return text.mid(position - 1, count);
}

bool isDirectionChar(QChar c)
{
    return c == QLatin1Char('?') || c == QLatin1Char('-') || c == QLatin1Char('+');
}

const QString DataFileSuffix = QStringLiteral(".ovd");

} // namespace

RawHeader readRawHeader(const QString &text)
{
    RawHeader h;
    const QString month = chars(text, 30, 2);
    const QString day = chars(text, 34, 2);
    const QString year = chars(text, 38, 2);
    h.dateCode = month + day + year;
    h.locationCode = chars(text, 11, 5);
    h.batchDate = month + QLatin1Char('/') + day + QStringLiteral("/20") + year;
    h.startTime = chars(text, 54, 2) + QLatin1Char(':') + chars(text, 58, 2);
    h.postedSpeed = chars(text, 78, 3);
    return h;
}

void markEnd(QString &text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    const qsizetype window = qMin<qsizetype>(200, n);
    int marks = QStringView(text).right(window).contains(QLatin1Char('*')) ? 2 : 0;
    // 1-based positions N-1 down to N-200, never N itself and never before 1.
    const qsizetype lowest = qMax<qsizetype>(1, n - 200);
    for (qsizetype pos = n - 1; pos >= lowest && marks < 4; --pos) {
        QChar &c = text[pos - 1];
        if (isDirectionChar(c)) {
            c = QLatin1Char('*');
            ++marks;
        }
    }
}

bool isPlainDataFileName(const QString &name)
{
    if (name.size() <= DataFileSuffix.size())
        return false;
    if (!name.endsWith(DataFileSuffix, Qt::CaseInsensitive))
        return false;
    for (const QChar c : name) {
        // Folder separators, drive letters, wildcards and control characters
        // would reach outside the program folder or name several files.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[') ||
            c == QLatin1Char(']') || c.unicode() < 0x20)
            return false;
    }
    return name != QLatin1String(".") && name != QLatin1String("..");
}

namespace {

// The path of a data file in the folder. File names are matched without regard
// to case, as on the trailer's download machine: an exact name wins, otherwise
// the one listed name that differs only in case. A folder or a device of that
// name is found too, so that the user learns why it cannot be loaded.
QString locateDataFile(const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &candidate : names) {
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(candidate);
    }
    return QString();
}

LoadResult unreadable(const QString &path, const QString &reason)
{
    LoadResult result;
    result.status = LoadStatus::Unreadable;
    result.path = path;
    result.reason = reason;
    return result;
}

} // namespace

bool hasSurveyHeader(const QString &text)
{
    if (!text.startsWith(QLatin1String("Location:")))
        return false;
    // The header block ends at its first "*"; a file without one is judged by
    // its first lines.
    const qsizetype end = text.indexOf(QLatin1Char('*'));
    const QStringView block = QStringView(text).left(end < 0 ? 400 : end);
    return block.contains(QLatin1String("Setup Date:")) &&
           block.contains(QLatin1String("Setup Time:"));
}

LoadResult readRawDataFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        LoadResult result;
        result.status = LoadStatus::NotFound;
        return result;
    }
    if (info.isDir())
        return unreadable(path, QStringLiteral("it is a folder, not a file"));
    if (!info.isFile())
        return unreadable(path, QStringLiteral("it is a device or a pipe, not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Gone between the look and the open: it does not exist any more.
        if (!QFileInfo::exists(path)) {
            LoadResult result;
            result.status = LoadStatus::NotFound;
            return result;
        }
        return unreadable(path, QStringLiteral("it cannot be opened (%1)").arg(file.errorString()));
    }
    // Every byte, one character each, read in pieces straight into the text: a
    // long survey's file is not held twice.
    LoadResult result;
    result.text.reserve(qsizetype(qMax<qint64>(0, info.size())));
    QByteArray piece(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(piece.data(), piece.size());
        if (read < 0)
            return unreadable(path,
                              QStringLiteral("reading it failed (%1)").arg(file.errorString()));
        if (read == 0)
            break;
        result.text.append(QLatin1StringView(piece.constData(), qsizetype(read)));
    }
    if (result.text.isEmpty() || !hasSurveyHeader(result.text)) {
        result.status = result.text.isEmpty() ? LoadStatus::Empty : LoadStatus::NoHeader;
        result.text.clear();
        result.path = path;
        return result;
    }
    markEnd(result.text);
    result.status = LoadStatus::Loaded;
    return result;
}

LoadResult loadRawDataFile(const QString &folder, const QString &fileName)
{
    LoadResult result;
    if (fileName.isEmpty()) {
        result.status = LoadStatus::NoFileName;
        return result;
    }
    if (!isPlainDataFileName(fileName)) {
        result.status = LoadStatus::NotPlainName;
        return result;
    }
    const QString path = locateDataFile(folder, fileName);
    if (path.isEmpty()) {
        result.status = LoadStatus::NotFound;
        return result;
    }
    return readRawDataFile(path);
}

QString loadMessage(LoadStatus status)
{
    switch (status) {
    case LoadStatus::Loaded:
        return QString();
    case LoadStatus::NoFileName:
        return QStringLiteral("You must first select a file to load.");
    case LoadStatus::NotFound:
    case LoadStatus::NotPlainName: // no such file in the program folder
        return QStringLiteral("Radar text file does not exist, you must create one first");
    case LoadStatus::Unreadable:
        return QStringLiteral("Radar text file cannot be read");
    case LoadStatus::Empty:
        return QStringLiteral("The file is empty.");
    case LoadStatus::NoHeader:
        return QStringLiteral("This file has no survey header: it is not a radar data file.");
    }
    return QString();
}

QString loadMessage(const LoadResult &result)
{
    if (result.status != LoadStatus::Unreadable)
        return loadMessage(result.status);
    return QStringLiteral("Radar text file %1 cannot be read: %2.\n\nChoose another file, or "
                          "make this one readable and load it again.")
        .arg(QDir::toNativeSeparators(result.path), result.reason);
}

} // namespace roadtally
