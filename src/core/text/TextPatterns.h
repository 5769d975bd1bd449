#pragma once
// Number, date and time patterns as the program writes its figures, and the
// numeric value of a caption. Every figure shown, stored or printed passes here.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace roadtally {

// Rounds half away from zero (what the number patterns do). The value is taken
// as its 15-digit decimal form, so 2.675 rounds to 2.68 and 0.05 to 0.1.
double roundHalfAway(double value, int decimals = 0);
// Rounds a value to a whole number, halves to the even neighbour
// (how the posted limit and the headway are read).
qint64 roundHalfEven(double value);

// Formats a number with one of the program's patterns: "0", "00", "#", "##",
// "###", "###.0", "##.#", "##.##". "0" always writes its digit, "#" only when
// significant; a decimal point is always written. A negative value carries its
// sign only when a digit other than 0 is written. Not-a-number gives "".
QString formatNumber(double value, const QString &pattern);

// A number in its plain shortest form (1234, 45, 12.5): no leading or trailing
// zeros, at most 15 significant digits, never an exponent.
QString plainNumber(double value);

// The leading number of a text after leading blanks, 0 when the text does not
// start with a number ("*", "" and "abc" give 0; "35+" gives 35; "12.5 %" 12.5).
double numericValue(const QString &text);

// Date patterns: "mm/dd/yy", "mm/dd/yyyy", "mmm dd, yyyy", "dddd, mmm d".
// English month and weekday names whatever the system's language.
QString formatDate(const QDate &date, const QString &pattern);
// Time patterns: "hh:mm" (24-hour), "hh:mm AMPM", "hh:mm:ss AMPM" (12-hour).
QString formatTime(const QTime &time, const QString &pattern);

// Reads a date written "mm/dd/yy" (years 2000 to 2099), "mm/dd/yyyy" or
// "mmm dd, yyyy"; one-digit month and day are accepted. An invalid QDate when
// the text is not a date.
QDate parseDate(const QString &text);
// Reads "hh:mm", "hh:mm:ss", "hh:mm AMPM" or "hh:mm:ss AMPM". Invalid when not a time.
QTime parseTime(const QString &text);

// Date texts in calendar order (also across a year end); texts that are not
// dates go last, in their own order.
QStringList inCalendarOrder(const QStringList &dates);

} // namespace roadtally
