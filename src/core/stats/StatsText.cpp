#include "core/stats/Statistics.h"

#include <cstring>

namespace roadtally {

void timeOfDayText(int secondOfDay, char *text)
{
    // Written by hand rather than through QLocale: a long survey has a row per
    // vehicle over the limit, and this text is made for each one.
    const int hour = secondOfDay / 3600;
    const int minute = (secondOfDay / 60) % 60;
    const int second = secondOfDay % 60;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    const char out[] = {char('0' + hour12 / 10),
                        char('0' + hour12 % 10),
                        ':',
                        char('0' + minute / 10),
                        char('0' + minute % 10),
                        ':',
                        char('0' + second / 10),
                        char('0' + second % 10),
                        ' ',
                        hour < 12 ? 'A' : 'P',
                        'M'};
    std::memcpy(text, out, sizeof out);
}

QString timeOfDayText(int secondOfDay)
{
    char text[11];
    timeOfDayText(secondOfDay, text);
    return QString::fromLatin1(text, sizeof text);
}

QString blockCountText(int count)
{
    return count == 0 ? QStringLiteral("*") : QString::number(count);
}

} // namespace roadtally
