#include "core/export/ExportTable.h"

#include "core/text/TextPatterns.h"

#include <cmath>

namespace roadtally {

ExportCell ExportCell::ofNumber(double value, const QString &format)
{
    ExportCell c;
    c.type = Type::Number;
    c.number = value;
    c.format = format;
    return c;
}

ExportCell ExportCell::ofText(const QString &text)
{
    ExportCell c;
    c.type = Type::Text;
    c.text = text;
    return c;
}

ExportCell ExportCell::ofDate(const QDate &date, const QString &format)
{
    if (!date.isValid())
        return {};
    ExportCell c;
    c.type = Type::Date;
    c.date = date;
    c.format = format;
    return c;
}

ExportCell ExportCell::ofTime(const QTime &time, const QString &format)
{
    if (!time.isValid())
        return {};
    ExportCell c;
    c.type = Type::Time;
    c.time = time;
    c.format = format;
    return c;
}

QString ExportCell::plainText() const
{
    switch (type) {
    case Type::Empty:
        return QString();
    case Type::Number:
        return plainNumber(number);
    case Type::Text:
        return text;
    case Type::Date:
        return date.toString(Qt::ISODate);
    case Type::Time:
        return time.toString(QStringLiteral("HH:mm:ss"));
    }
    return QString();
}

bool ExportCell::operator==(const ExportCell &other) const
{
    if (type != other.type)
        return false;
    switch (type) {
    case Type::Empty:
        return true;
    case Type::Number:
        return number == other.number;
    case Type::Text:
        return text == other.text;
    case Type::Date:
        return date == other.date;
    case Type::Time:
        return time == other.time;
    }
    return false;
}

qint64 ExportTable::forEachRow(const ExportRowSink &sink) const
{
    qint64 n = 0;
    if (stream) {
        stream([&](const ExportRow &row) {
            ++n;
            sink(row);
        });
        return n;
    }
    for (const ExportRow &row : rows) {
        ++n;
        sink(row);
    }
    return n;
}

QVector<ExportRow> ExportTable::allRows() const
{
    if (!stream)
        return rows;
    QVector<ExportRow> out;
    forEachRow([&](const ExportRow &row) { out.append(row); });
    return out;
}

void ExportTable::addRow(const QVector<ExportCell> &cells, bool emphasis)
{
    rows.append({cells, emphasis, false});
}

void ExportTable::addNote(const QVector<ExportCell> &cells)
{
    rows.append({cells, false, true});
}

int displayWidth(const ExportCell &cell)
{
    switch (cell.type) {
    case ExportCell::Type::Empty:
        return 0;
    case ExportCell::Type::Text: {
        // A text with line breaks is as wide as its longest line.
        int widest = 0;
        for (const QStringView line : QStringView(cell.text).split(QLatin1Char('\n')))
            widest = std::max(widest, int(line.size()));
        return widest;
    }
    case ExportCell::Type::Number: {
        int width = 0;
        // Whole numbers, the most of any sheet, are counted without formatting them.
        if (cell.number == std::trunc(cell.number) && std::fabs(cell.number) < 1e15) {
            qint64 n = qint64(std::fabs(cell.number));
            width = cell.number < 0 ? 2 : 1;
            while (n >= 10) {
                n /= 10;
                ++width;
            }
        } else {
            width = int(plainNumber(cell.number).size());
        }
        // A format with decimals or a unit shows more than the plain number.
        const qsizetype point = cell.format.indexOf(QLatin1Char('.'));
        if (point >= 0)
            width = std::max(width, int(plainNumber(std::trunc(cell.number)).size()) + 1 +
                                        int(cell.format.size() - point - 1));
        if (cell.format.contains(QLatin1Char('%')))
            width += 2;
        return width;
    }
    case ExportCell::Type::Date:
    case ExportCell::Type::Time: {
        // The format's own length, "AM/PM" showing as two letters.
        QString shown = cell.format;
        shown.replace(QStringLiteral("AM/PM"), QStringLiteral("AM"));
        shown.remove(QLatin1Char('"'));
        return int(shown.size());
    }
    }
    return 0;
}

} // namespace roadtally
