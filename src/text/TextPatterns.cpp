#include "text/TextPatterns.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace roadtally {

double roundHalfAway(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // A small nudge absorbs the binary representation of decimal halves (2.675 -> 2.68).
    const double scaled = value * scale;
    const double rounded = std::round(scaled + (scaled >= 0 ? 1e-9 : -1e-9));
    return rounded / scale;
}

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value)); // default rounding mode: to nearest, ties to even
}

QString formatNumber(double value, const QString &pattern)
{
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const int decimals = int(fracPart.size());
    const double rounded = roundHalfAway(value, decimals);
    const bool negative = rounded < 0;
    QString digits = QString::number(std::fabs(rounded), 'f', decimals);
    QString whole = decimals > 0 ? digits.left(digits.indexOf(QLatin1Char('.'))) : digits;
    QString frac = decimals > 0 ? digits.mid(digits.indexOf(QLatin1Char('.')) + 1) : QString();

    const int minWhole = int(intPart.count(QLatin1Char('0')));
    if (whole == QLatin1String("0") && minWhole == 0)
        whole.clear();
    while (whole.size() < minWhole)
        whole.prepend(QLatin1Char('0'));

    // Trailing '#' decimals are written only when significant.
    int minFrac = 0;
    for (int i = 0; i < fracPart.size(); ++i)
        if (fracPart.at(i) == QLatin1Char('0'))
            minFrac = i + 1;
    while (frac.size() > minFrac && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);

    QString out = whole;
    if (point >= 0)
        out += QLatin1Char('.') + frac;
    if (negative && (out.contains(QRegularExpression(QStringLiteral("[1-9]")))))
        out.prepend(QLatin1Char('-'));
    return out;
}

double numericValue(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text.at(i) == QLatin1Char(' '))
        ++i;
    const int start = i;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    bool digits = false;
    while (i < n && text.at(i).isDigit()) {
        ++i;
        digits = true;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && text.at(i).isDigit()) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    return text.mid(start, i - start).toDouble();
}

namespace {
const QLocale &english()
{
    static const QLocale c(QLocale::English, QLocale::UnitedStates);
    return c;
}
} // namespace

QString formatDate(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return QString();
    if (pattern == QLatin1String("mm/dd/yy"))
        return date.toString(QStringLiteral("MM/dd/yy"));
    if (pattern == QLatin1String("mm/dd/yyyy"))
        return date.toString(QStringLiteral("MM/dd/yyyy"));
    if (pattern == QLatin1String("mmm dd, yyyy"))
        return english().toString(date, QStringLiteral("MMM dd, yyyy"));
    if (pattern == QLatin1String("dddd, mmm d"))
        return english().toString(date, QStringLiteral("dddd, MMM d"));
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QString formatTime(const QTime &time, const QString &pattern)
{
    if (!time.isValid())
        return QString();
    if (pattern == QLatin1String("hh:mm"))
        return time.toString(QStringLiteral("HH:mm"));
    if (pattern == QLatin1String("hh:mm AMPM"))
        return english().toString(time, QStringLiteral("hh:mm AP"));
    if (pattern == QLatin1String("hh:mm:ss AMPM"))
        return english().toString(time, QStringLiteral("hh:mm:ss AP"));
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QDate parseDate(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return QDate();
    bool okM = false, okD = false, okY = false;
    const int m = parts[0].toInt(&okM);
    const int d = parts[1].toInt(&okD);
    int y = parts[2].toInt(&okY);
    if (!okM || !okD || !okY || parts[0].size() > 2 || parts[1].size() > 2)
        return QDate();
    if (parts[2].size() == 2)
        y += 2000;
    else if (parts[2].size() != 4)
        return QDate();
    return QDate(y, m, d);
}

QTime parseTime(const QString &text)
{
    QString t = text.trimmed().toUpper();
    int ampm = 0;
    if (t.endsWith(QLatin1String("AM")) || t.endsWith(QLatin1String("PM"))) {
        ampm = t.endsWith(QLatin1String("AM")) ? 1 : 2;
        t = t.left(t.size() - 2).trimmed();
    }
    const QStringList parts = t.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return QTime();
    bool okH = false, okM = false, okS = true;
    int h = parts[0].toInt(&okH);
    const int m = parts[1].toInt(&okM);
    const int s = parts.size() == 3 ? parts[2].toInt(&okS) : 0;
    if (!okH || !okM || !okS)
        return QTime();
    if (ampm) {
        if (h < 1 || h > 12)
            return QTime();
        h = (h % 12) + (ampm == 2 ? 12 : 0);
    }
    return QTime(h, m, s);
}

} // namespace roadtally
