#include "core/text/TextPatterns.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace roadtally {

namespace {

// |value| rounded half away from zero to `decimals` places, as decimal digits:
// `whole` without leading zeros ("" for zero), `frac` exactly `decimals` long.
// The rounding works on the value's 15-significant-digit decimal form, the form
// in which the program's figures are meant (a mean of 2.675 is 2.675, not the
// binary neighbour just below it).
struct Digits
{
    QString whole;
    QString frac;
    bool isZero() const
    {
        return whole.isEmpty() && std::all_of(frac.cbegin(), frac.cend(),
                                              [](QChar c) { return c == QLatin1Char('0'); });
    }
};

Digits roundedDigits(double value, int decimals)
{
    Digits out;
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        out.frac = QString(decimals, QLatin1Char('0'));
        return out;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude); // d.dddddddddddddde+XX
    QString mantissa;
    int i = 0;
    for (; buf[i] && buf[i] != 'e'; ++i)
        if (buf[i] >= '0' && buf[i] <= '9')
            mantissa += QLatin1Char(buf[i]);
    const int exponent = std::atoi(buf + i + 1);
    // magnitude = 0.<mantissa> * 10^(exponent + 1); keep the digits down to 10^-decimals.
    const int keep = exponent + 1 + decimals;
    QString digits; // all kept digits, the last one at 10^-decimals
    if (keep <= 0) {
        // Every kept place is zero; only the first dropped digit can round up.
        const bool up = keep == 0 && mantissa.at(0) >= QLatin1Char('5');
        digits = up ? QStringLiteral("1") : QStringLiteral("0");
    } else if (keep >= mantissa.size()) {
        digits = mantissa + QString(keep - mantissa.size(), QLatin1Char('0'));
    } else {
        digits = mantissa.left(keep);
        if (mantissa.at(keep) >= QLatin1Char('5')) {
            int j = int(digits.size()) - 1;
            while (j >= 0 && digits.at(j) == QLatin1Char('9')) {
                digits[j] = QLatin1Char('0');
                --j;
            }
            if (j < 0)
                digits.prepend(QLatin1Char('1'));
            else
                digits[j] = QChar(digits.at(j).unicode() + 1);
        }
    }
    if (digits.size() < decimals)
        digits.prepend(QString(decimals - digits.size(), QLatin1Char('0')));
    out.whole = digits.left(digits.size() - decimals);
    out.frac = digits.right(decimals);
    while (out.whole.startsWith(QLatin1Char('0')))
        out.whole.remove(0, 1);
    return out;
}

const QLocale &english()
{
    static const QLocale c(QLocale::English, QLocale::UnitedStates);
    return c;
}

} // namespace

double roundHalfAway(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const Digits d = roundedDigits(value, decimals);
    QString text = d.whole.isEmpty() ? QStringLiteral("0") : d.whole;
    if (decimals > 0)
        text += QLatin1Char('.') + d.frac;
    const double r = text.toDouble();
    return value < 0 && r != 0.0 ? -r : r;
}

qint64 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    // Out-of-range values saturate instead of overflowing.
    if (value >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<qint64>::min();
    const double whole = std::floor(value);
    const double diff = value - whole;
    double r = whole;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(whole, 2.0) != 0.0))
        r = whole + 1.0;
    return static_cast<qint64>(r);
}

QString formatNumber(double value, const QString &pattern)
{
    if (!std::isfinite(value))
        return QString();
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const int decimals = int(fracPart.size());

    const Digits d = roundedDigits(value, decimals);
    QString whole = d.whole;
    QString frac = d.frac;

    // "0" places are always written: leading zeros up to their count.
    const int minWhole = int(intPart.count(QLatin1Char('0')));
    if (whole.size() < minWhole)
        whole.prepend(QString(minWhole - whole.size(), QLatin1Char('0')));
    // Decimal "#" places after the last "0" place are written only when significant.
    const int minFrac = int(fracPart.lastIndexOf(QLatin1Char('0'))) + 1;
    while (frac.size() > minFrac && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);

    QString out = whole;
    if (point >= 0)
        out += QLatin1Char('.') + frac;
    if (value < 0 && !d.isZero())
        out.prepend(QLatin1Char('-'));
    return out;
}

QString plainNumber(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        return QStringLiteral("0");
    QString out = QString::number(value, 'g', 15);
    if (!out.contains(QLatin1Char('e')))
        return out;
    // Very large or very small: write the digits out instead of an exponent.
    const int exp10 = int(std::floor(std::log10(std::fabs(value))));
    out = QString::number(value, 'f', std::clamp(14 - exp10, 0, 40));
    if (out.contains(QLatin1Char('.'))) {
        while (out.endsWith(QLatin1Char('0')))
            out.chop(1);
        if (out.endsWith(QLatin1Char('.')))
            out.chop(1);
    }
    return out;
}

double numericValue(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    bool digits = false;
    while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        ++i;
        digits = true;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    QString number = text.mid(start, i - start);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    return number.toDouble();
}

QString formatDate(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return QString();
    if (pattern == QLatin1String("mm/dd/yy"))
        return english().toString(date, QStringLiteral("MM/dd/yy"));
    if (pattern == QLatin1String("mm/dd/yyyy"))
        return english().toString(date, QStringLiteral("MM/dd/yyyy"));
    if (pattern == QLatin1String("mmm dd, yyyy"))
        return english().toString(date, QStringLiteral("MMM dd, yyyy"));
    if (pattern == QLatin1String("dddd, mmm d"))
        return english().toString(date, QStringLiteral("dddd, MMM d"));
    return english().toString(date, QStringLiteral("MM/dd/yyyy"));
}

QString formatTime(const QTime &time, const QString &pattern)
{
    if (!time.isValid())
        return QString();
    if (pattern == QLatin1String("hh:mm"))
        return english().toString(time, QStringLiteral("HH:mm"));
    if (pattern == QLatin1String("hh:mm AMPM"))
        return english().toString(time, QStringLiteral("hh:mm AP"));
    if (pattern == QLatin1String("hh:mm:ss AMPM"))
        return english().toString(time, QStringLiteral("hh:mm:ss AP"));
    return english().toString(time, QStringLiteral("HH:mm:ss"));
}

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    QRegularExpressionMatch m = numeric.match(t);
    if (m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += 2000;
        return QDate(year, m.captured(1).toInt(), m.captured(2).toInt());
    }
    static const QRegularExpression named(
        QStringLiteral("^([A-Za-z]{3})\\s+(\\d{1,2}),\\s*(\\d{4})$"));
    m = named.match(t);
    if (m.hasMatch()) {
        for (int month = 1; month <= 12; ++month) {
            if (english()
                    .monthName(month, QLocale::ShortFormat)
                    .compare(m.captured(1), Qt::CaseInsensitive) == 0)
                return QDate(m.captured(3).toInt(), month, m.captured(2).toInt());
        }
    }
    return QDate();
}

QTime parseTime(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*(AM|PM)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return QTime();
    int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    const QString ampm = m.captured(4).toUpper();
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return QTime();
        h = (h % 12) + (ampm == QLatin1String("PM") ? 12 : 0);
    }
    if (!QTime::isValid(h, min, s))
        return QTime();
    return QTime(h, min, s);
}

QStringList inCalendarOrder(const QStringList &dates)
{
    QStringList out = dates;
    std::stable_sort(out.begin(), out.end(), [](const QString &a, const QString &b) {
        const QDate da = parseDate(a);
        const QDate db = parseDate(b);
        if (da.isValid() != db.isValid())
            return da.isValid();
        return da.isValid() && da < db;
    });
    return out;
}

} // namespace roadtally
