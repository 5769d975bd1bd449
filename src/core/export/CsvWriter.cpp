#include "core/export/CsvWriter.h"

#include "core/export/PendingFile.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <vector>

namespace roadtally {

QByteArray csvField(const QString &value)
{
    QByteArray bytes = value.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        bytes.prepend('"');
        bytes.append('"');
    }
    return bytes;
}

QString csvCellText(const ExportCell &cell)
{
    QString text = cell.plainText();
    if (cell.type != ExportCell::Type::Text || text.size() < 2)
        return text;
    static const QString triggers = QStringLiteral("=+-@\t\r");
    if (!triggers.contains(text.at(0)))
        return text;
    bool number = false;
    text.toDouble(&number);
    if (number)
        return text;
    return QLatin1Char('\'') + text;
}

QByteArray csvRecord(const QStringList &values)
{
    QByteArray line;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += ',';
        line += csvField(values.at(i));
    }
    line += "\r\n";
    return line;
}

QString csvFileName(const QString &prefix, const ExportTable &table)
{
    QString name = prefix + table.name + QStringLiteral(".csv");
    for (QChar &c : name) {
        if (c < QLatin1Char(' ') || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return name;
}

namespace {

// Writes one table into an open file; returns "" or what failed.
QString writeTable(const ExportTable &table, QFile &file, qint64 &rows)
{
    // Rows are gathered into blocks, so a long table costs few writes.
    QByteArray block;
    bool failed = false;
    auto flush = [&](qsizetype atLeast) {
        if (block.size() >= atLeast && !failed) {
            failed = file.write(block) != block.size();
            block.clear();
        }
    };
    QStringList header;
    for (const ExportColumn &column : table.columns)
        header << column.header;
    block += csvRecord(header);
    QStringList values;
    table.forEachRow([&](const ExportRow &row) {
        values.clear();
        for (const ExportCell &cell : row.cells)
            values << csvCellText(cell);
        // Every record has as many fields as the header.
        while (values.size() < header.size())
            values << QString();
        block += csvRecord(values);
        ++rows;
        flush(1 << 20);
    });
    flush(0);
    if (failed || !file.flush())
        return file.errorString();
    return QString();
}

} // namespace

ExportWriteResult writeCsvFiles(const QVector<ExportTable> &tables, const QString &folder,
                                const QString &prefix)
{
    ExportWriteResult result;
    const QDir dir(folder);
    if (!dir.exists()) {
        result.error =
            QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(folder));
        return result;
    }
    std::vector<std::unique_ptr<PendingFile>> pending;
    try {
        for (const ExportTable &table : tables) {
            const QString target = dir.filePath(csvFileName(prefix, table));
            pending.push_back(std::make_unique<PendingFile>(target));
            PendingFile &file = *pending.back();
            if (!file.reserve()) {
                result.error = file.errorText();
                return result;
            }
            QFile out(file.temporaryPath());
            QString error;
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                error = out.errorString();
            else
                error = writeTable(table, out, result.rows);
            out.close();
            if (error.isEmpty() && out.error() != QFileDevice::NoError)
                error = out.errorString();
            if (!error.isEmpty()) {
                result.error = QStringLiteral("Cannot write %1: %2")
                                   .arg(QDir::toNativeSeparators(target), error);
                return result;
            }
        }
    } catch (const std::exception &e) {
        result.error = QStringLiteral("Cannot write the CSV files in %1: %2")
                           .arg(QDir::toNativeSeparators(folder), QString::fromUtf8(e.what()));
        return result;
    }
    for (const auto &file : pending) {
        if (!file->commit()) {
            result.error = file->errorText();
            return result;
        }
        result.files << file->target();
    }
    for (const ExportTable &table : tables)
        result.sheets << table.name;
    return result;
}

} // namespace roadtally
