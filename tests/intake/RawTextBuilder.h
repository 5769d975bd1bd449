#pragma once
// Builds small raw data texts for the intake tests: the trailer's header layout,
// vehicle records and the logger's tail, with CR LF line breaks.

#include "intake/RawDataFile.h"

#include <QString>
#include <QStringList>

namespace roadtally::test {

struct Record
{
    qint64 offset;
    char direction;
    int speed;
};

// The header exactly as the processing window shows it as a model.
inline QString sampleHeader()
{
    return QStringLiteral("Location:,00020,Setup Date:,005-024-001,Setup Time:,013:045,"
                          "Violation Alert:,105,Blink Rate:,005,Blank Speed:,120,Alarm Speed:,"
                          "109,Power Delay:,005,Direction:,+,Time Offset ,Direction ,Speed,");
}

// A header with another setup date and time (three digits each, as the logger writes).
inline QString headerFor(int month, int day, int year, int hour, int minute)
{
    QString h = sampleHeader();
    const auto three = [](int v) { return QStringLiteral("%1").arg(v, 3, 10, QLatin1Char('0')); };
    h.replace(QStringLiteral("005-024-001"),
              three(month) + QLatin1Char('-') + three(day) + QLatin1Char('-') + three(year));
    h.replace(QStringLiteral("013:045"), three(hour) + QLatin1Char(':') + three(minute));
    return h;
}

inline QString recordText(const Record &r)
{
    return QStringLiteral("%1,%2,%3,")
        .arg(r.offset, 10, 10, QLatin1Char('0'))
        .arg(QLatin1Char(r.direction))
        .arg(r.speed, 3, 10, QLatin1Char('0'));
}

// The end of the header block: the first "*" and five more characters.
inline QString headerEnd()
{
    return QStringLiteral("\r\n*,,,,,\r\n");
}

// What follows the survey's own records in a downloaded file: the three "+"
// vehicles the tail cut walks back over (the first one is kept but never accepted:
// its speed 999 is outside every range), four vehicles that the loader end-marks,
// and the logger's closing line.
inline QString loggerTail(qint64 lastOffset)
{
    QString t;
    for (int i = 0; i < 3; ++i)
        t += recordText({lastOffset, '+', 999}) + QStringLiteral("\r\n");
    for (int i = 0; i < 4; ++i)
        t += recordText({lastOffset, '?', 999}) + QStringLiteral("\r\n");
    return t + QStringLiteral("End of data\r\n");
}

// A whole file: header, records (four to a line) and tail; not end-marked.
inline QString rawFile(const QList<Record> &records, const QString &header = sampleHeader())
{
    QString t = header + headerEnd();
    qint64 last = 0;
    for (int i = 0; i < records.size(); ++i) {
        t += recordText(records[i]);
        if (i % 4 == 3)
            t += QStringLiteral("\r\n");
        last = records[i].offset;
    }
    t += QStringLiteral("\r\n");
    return t + loggerTail(last);
}

// The same text as the loader leaves it in the shared raw data text.
inline QString loadedText(const QList<Record> &records, const QString &header = sampleHeader())
{
    QString t = rawFile(records, header);
    markEnd(t);
    return t;
}

} // namespace roadtally::test
