#pragma once
// Number, date and time patterns as the program writes its figures, and the
// numeric value of a caption. Every figure shown, stored or printed passes here.

#include <QDate>
#include <QString>
#include <QTime>

namespace roadtally {

// Rounds half away from zero (what the number patterns do).
double roundHalfAway(double value, int decimals = 0);
// Rounds a value to a whole number, halves to the even neighbour
// (how the posted limit and the headway are read).
qint64 roundHalfEven(double value);

// Formats a number with one of the program's patterns: "0", "00", "#", "##",
// "###", "###.0", "##.#", "##.##". "0" always writes its digit, "#" only when
// significant; a decimal point is always written.
QString formatNumber(double value, const QString &pattern);

// The leading number of a text after leading blanks, 0 when the text does not
// start with a number ("*", "" and "abc" give 0; "35+" gives 35; "12.5 %" 12.5).
double numericValue(const QString &text);

// Date patterns: "mm/dd/yy", "mm/dd/yyyy", "mmm dd, yyyy", "dddd, mmm d".
QString formatDate(const QDate &date, const QString &pattern);
// Time patterns: "hh:mm", "hh:mm AMPM", "hh:mm:ss AMPM".
QString formatTime(const QTime &time, const QString &pattern);

// Reads a date written "mm/dd/yy" (years 2000 to 2099) or "mm/dd/yyyy"; one-digit
// month and day are accepted. An invalid QDate when the text is not a date.
QDate parseDate(const QString &text);
// Reads "hh:mm", "hh:mm:ss", "hh:mm AMPM" or "hh:mm:ss AMPM". Invalid when not a time.
QTime parseTime(const QString &text);

} // namespace roadtally
