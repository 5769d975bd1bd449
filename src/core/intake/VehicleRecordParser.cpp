#include "core/intake/VehicleRecordParser.h"

#include "core/text/TextPatterns.h"

#include <QVector>

#include <array>
#include <cstring>
#include <limits>

namespace roadtally {

namespace {

constexpr qint64 LargestOffset = 2147483647; // whole-number columns are 32-bit
constexpr qint64 LargestSpeed = 2147483647;
constexpr qint64 LargestGap = 50000; // seconds to the previous accepted vehicle

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

// "hh:mm:ss AM" of a clock time, 12-hour with two-digit hour.
void writeClockText(char *out, int hour, int minute, int second)
{
    const int h12 = hour % 12 == 0 ? 12 : hour % 12;
    out[0] = char('0' + h12 / 10);
    out[1] = char('0' + h12 % 10);
    out[2] = ':';
    out[3] = char('0' + minute / 10);
    out[4] = char('0' + minute % 10);
    out[5] = ':';
    out[6] = char('0' + second / 10);
    out[7] = char('0' + second % 10);
    out[8] = ' ';
    out[9] = hour < 12 ? 'A' : 'P';
    out[10] = 'M';
    out[11] = '\0';
}

// The calendar dates of a survey, made once per day offset.
class DateTexts
{
public:
    explicit DateTexts(const QDate &start) : m_start(start) {}

    const char *text(qint64 days, QDate &date)
    {
        if (days >= m_days.size())
            m_days.resize(days + 1);
        Day &d = m_days[days];
        if (!d.date.isValid()) {
            d.date = m_start.addDays(days);
            const QByteArray t = formatDate(d.date, QStringLiteral("mm/dd/yy")).toLatin1();
            std::memset(d.text.data(), 0, d.text.size());
            std::memcpy(d.text.data(), t.constData(), size_t(qMin<qsizetype>(t.size(), 8)));
        }
        date = d.date;
        return d.text.data();
    }

private:
    struct Day
    {
        QDate date;
        std::array<char, 9> text{};
    };
    QDate m_start;
    QVector<Day> m_days;
};

} // namespace

namespace {

// Line breaks carry no meaning: every CR LF pair of the text counts as absent,
// wherever it is (one pass from the start, so "\r\r\n" reads as "\r"). A pair
// is recognised where it stands; the text is never copied without them.
bool isDroppedBreak(const QChar *text, qsizetype size, qsizetype i)
{
    if (text[i] == QLatin1Char('\r'))
        return i + 1 < size && text[i + 1] == QLatin1Char('\n');
    return text[i] == QLatin1Char('\n') && i > 0 && text[i - 1] == QLatin1Char('\r');
}

// The position after `count` characters that count, starting at from
// (at most the end of the text).
qsizetype afterCounted(const QChar *text, qsizetype size, qsizetype from, int count)
{
    qsizetype i = from;
    while (i < size && count > 0) {
        if (!isDroppedBreak(text, size, i))
            --count;
        ++i;
    }
    return i;
}

} // namespace

PreparedData prepareDataBlock(const QString &rawText)
{
    PreparedData out;
    out.text = rawText;
    const QChar *text = rawText.constData();
    const qsizetype n = rawText.size();

    // The header block ends five characters after the first "*".
    const qsizetype headerStar = rawText.indexOf(QLatin1Char('*'));
    if (headerStar < 0)
        throw ImportFailure("the text has no \"*\" ending its header");
    out.begin = afterCounted(text, n, headerStar, 6);

    // The usable records end with the third "+" vehicle before the first end mark.
    const qsizetype mark = rawText.indexOf(QLatin1Char('*'), out.begin);
    if (mark < 0)
        throw ImportFailure("the data block has no end mark \"*\"");
    int plus = 0;
    qsizetype third = -1;
    for (qsizetype i = mark - 1; i >= out.begin; --i) {
        if (text[i] == QLatin1Char('+') && ++plus == 3) {
            third = i;
            break;
        }
    }
    if (third < 0)
        throw ImportFailure("the data block has fewer than three \"+\" before its end mark");
    out.end = afterCounted(text, n, third, 6);
    return out;
}

bool parseWholeNumber(QStringView text, qint64 &value)
{
    constexpr qint64 Guard = (std::numeric_limits<qint64>::max() - 9) / 10;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isBlank(text[i]))
        ++i;
    const qsizetype firstDigit = i;
    qint64 v = 0;
    for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        if (v > Guard)
            return false;
        v = v * 10 + (text[i].unicode() - '0');
    }
    if (i == firstDigit)
        return false;
    while (i < n && isBlank(text[i]))
        ++i;
    if (i != n)
        return false;
    value = v;
    return true;
}

char directionCode(QStringView direction)
{
    if (direction.size() == 1 && direction[0].unicode() > 0x20 && direction[0].unicode() < 0x7f)
        return char(direction[0].unicode());
    return '#';
}

ParseOutcome parseVehicleRecords(QStringView data, const RecordRules &rules,
                                 const AcceptedRecord &accept)
{
    DateTexts dates(rules.startDate);
    char clock[12];
    qint64 previous = 0; // P: the last accepted offset

    const QChar *const base = data.data();
    const qsizetype n = data.size();
    qsizetype fieldStart = 0;
    QStringView slotOffset, slotDirection;
    bool haveOffset = false, haveDirection = false;

    // A field holding a line break is read without its CR LF pairs, from a
    // copy of its own (one per slot: the offset and direction wait for the speed).
    QString cleaned[3];
    int nextSlot = 0;
    bool carriageReturn = false;

    for (qsizetype i = 0; i < n; ++i) {
        if (base[i] != QLatin1Char(',')) {
            if (base[i] == QLatin1Char('\r'))
                carriageReturn = true;
            continue;
        }
        QStringView field(base + fieldStart, i - fieldStart);
        if (carriageReturn) {
            QString &copy = cleaned[nextSlot];
            copy.resize(0);
            for (qsizetype k = fieldStart; k < i; ++k) {
                if (!isDroppedBreak(base, n, k))
                    copy.append(base[k]);
            }
            field = copy;
            carriageReturn = false;
        }
        fieldStart = i + 1;
        // Each field fills the first empty slot; an empty offset or direction
        // text leaves its slot empty for the next field.
        if (!haveOffset) {
            slotOffset = field;
            haveOffset = !field.isEmpty();
            nextSlot = haveOffset ? 1 : 0;
            continue;
        }
        if (!haveDirection) {
            slotDirection = field;
            haveDirection = !field.isEmpty();
            nextSlot = haveDirection ? 2 : 1;
            continue;
        }
        const QStringView slotSpeed = field;
        haveOffset = haveDirection = false;
        nextSlot = 0;

        qint64 o = 0;
        if (!parseWholeNumber(slotOffset, o))
            throw ImportFailure("an offset is not a whole number: \"" +
                                slotOffset.toString().toStdString() + "\"");
        if (o > LargestOffset)
            throw ImportFailure("an offset is above 2147483647: \"" +
                                slotOffset.toString().toStdString() + "\"");

        qint64 days = (o / 3600) / 24;
        const int hours = int((o / 3600) % 24);
        const int minutes = int((o / 60) % 60);
        const int seconds = int(o % 60);
        int hour = rules.startHour + hours;
        int minute = rules.startMinute + minutes;
        if (minute > 59) {
            minute -= 60;
            hour += 1;
        }
        if (hour >= 24) {
            hour -= 24;
            days += 1;
        }
        writeClockText(clock, hour, minute, seconds);

        if (!rules.startDate.isValid())
            return ParseOutcome::NonDate;

        QDate date;
        const char *dateText = dates.text(days, date);

        qint64 v = 0;
        if (!parseWholeNumber(slotSpeed, v) || v > LargestSpeed)
            throw ImportFailure("a speed is not a whole number: \"" +
                                slotSpeed.toString().toStdString() + "\"");

        const bool accepted = o <= previous + LargestGap && o >= previous &&
                              o >= previous + rules.headway && rules.speedLow <= double(v) &&
                              double(v) <= rules.speedHigh;
        if (!accepted)
            continue;
        previous = o;

        Vehicle vehicle;
        vehicle.offset = o;
        vehicle.direction = directionCode(slotDirection);
        vehicle.speed = int(v);
        vehicle.date = date;
        vehicle.secondOfDay = hour * 3600 + minute * 60 + seconds;
        accept(vehicle, RecordTexts{slotDirection, clock, dateText});
    }
    return ParseOutcome::Done;
}

} // namespace roadtally
