#pragma once
// An RFC 4180 reader for the tests: records of fields, quoted fields with
// doubled quotes and line breaks inside, CRLF between records. Says where the
// text breaks the rules instead of guessing.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally::testing {

struct CsvText
{
    QVector<QStringList> records;
    QString error; // "" when the text follows the rules
};

inline CsvText parseCsv(const QByteArray &bytes)
{
    CsvText out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        out.error = QStringLiteral("byte order mark");
        return out;
    }
    const QString text = QString::fromUtf8(bytes);
    QStringList record;
    QString field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        // One field.
        field.clear();
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            for (;;) {
                if (i >= n) {
                    out.error = QStringLiteral("unterminated quoted field");
                    return out;
                }
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text.at(i++);
            }
        } else {
            while (i < n && text.at(i) != QLatin1Char(',') && text.at(i) != QLatin1Char('\r')
                   && text.at(i) != QLatin1Char('\n')) {
                if (text.at(i) == QLatin1Char('"')) {
                    out.error = QStringLiteral("quote inside an unquoted field at %1").arg(i);
                    return out;
                }
                field += text.at(i++);
            }
        }
        record << field;
        if (i < n && text.at(i) == QLatin1Char(',')) {
            ++i;
            if (i == n)
                record << QString();
            continue;
        }
        if (i < n) {
            if (text.at(i) != QLatin1Char('\r') || i + 1 >= n || text.at(i + 1) != QLatin1Char('\n')) {
                out.error = QStringLiteral("record not ended by CRLF at %1").arg(i);
                return out;
            }
            i += 2;
        } else {
            out.error = QStringLiteral("last record not ended by CRLF");
        }
        out.records << record;
        record.clear();
    }
    return out;
}

inline CsvText readCsvFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot open %1").arg(path)};
    return parseCsv(f.readAll());
}

} // namespace roadtally::testing
