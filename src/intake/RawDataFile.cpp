#include "intake/RawDataFile.h"

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
// the one listed name that differs only in case.
QString locateDataFile(const QString &folder, const QString &fileName)
{
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &candidate : names) {
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(candidate);
    }
    return QString();
}

} // namespace

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
    // A file that exists but cannot be read loads as far as it was read.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        result.text = QString::fromLatin1(file.readAll()); // every byte, one character each
    markEnd(result.text);
    result.status = LoadStatus::Loaded;
    return result;
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
    }
    return QString();
}

} // namespace roadtally
