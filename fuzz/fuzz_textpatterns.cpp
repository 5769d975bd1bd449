// libFuzzer target: the patterns read captions typed or stored by anyone, so
// they must never crash, and what they write must read back as the rounded value.
#include "core/text/TextPatterns.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace roadtally;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    double value = 0;
    if (size >= sizeof value)
        std::memcpy(&value, data, sizeof value);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    const double n = numericValue(text);
    if (!std::isfinite(n) && !text.contains(QLatin1Char('.')) && text.size() < 300)
        std::abort();

    static const char *const patterns[] = {"0", "00", "#", "##", "###", "###.0", "##.#", "##.##"};
    static const int decimals[] = {0, 0, 0, 0, 0, 1, 1, 2};
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        for (int i = 0; i < 8; ++i) {
            const QString written = formatNumber(value, QString::fromLatin1(patterns[i]));
            if (numericValue(written) != roundHalfAway(value, decimals[i]))
                std::abort();
        }
        if (numericValue(plainNumber(value)) == 0 && value != 0 && std::fabs(value) > 1e-14)
            std::abort();
    }

    const QDate date = parseDate(text);
    if (date.isValid() && date.year() >= 2000 && date.year() <= 2099) {
        for (const char *p : {"mm/dd/yy", "mm/dd/yyyy", "mmm dd, yyyy"})
            if (parseDate(formatDate(date, QString::fromLatin1(p))) != date)
                std::abort();
    }
    const QTime time = parseTime(text);
    if (time.isValid() && parseTime(formatTime(time, QStringLiteral("hh:mm:ss AMPM"))) != time)
        std::abort();
    return 0;
}
