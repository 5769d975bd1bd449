#pragma once
// The vehicle records of a raw data text: the text preparation (line breaks,
// header cut, tail cut), the field parser, the clock and date of each record and
// the acceptance rules. The import stores what this accepts.

#include "core/stats/Vehicle.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <functional>
#include <stdexcept>

namespace roadtally {

// A raw data text that cannot be imported; what() says why (for logs and the
// command-line tool, never shown in a message box).
class ImportFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The data block of a raw data text: the header block and everything from the
// third "+" vehicle before the first end mark on cut off. CR LF pairs count as
// absent everywhere (the cuts count characters without them) but stay in the
// text: a long survey is not copied, and the parser passes over them.
struct PreparedData
{
    QString text;        // the raw data text (shared, not copied)
    qsizetype begin = 0; // first character of the data block
    qsizetype end = 0;   // one past the comma of the last usable record

    QStringView view() const { return QStringView(text).sliced(begin, end - begin); }
};

// Throws ImportFailure when the text has no end mark in its data block or fewer
// than three "+" before it.
PreparedData prepareDataBlock(const QString &rawText);

// A whole number written in decimal digits, with blanks around it allowed (the
// logger pads some records with spaces). False for anything else, also for an
// empty text, and for a value too large for 64 bits.
bool parseWholeNumber(QStringView text, qint64 &value);

struct RecordRules
{
    QDate startDate;     // D0; invalid when the start date is no date
    int startHour = 0;   // 0..23
    int startMinute = 0; // 0..59
    qint64 headway = 0;  // H
    double speedLow = 10;
    double speedHigh = 100;
};

// Stored texts of one accepted record.
struct RecordTexts
{
    QStringView direction; // the direction field as read
    const char *time;      // "hh:mm:ss AM", 11 characters
    const char *date;      // "mm/dd/yy", 8 characters
};

enum class ParseOutcome { Done, NonDate };

using AcceptedRecord = std::function<void(const Vehicle &, const RecordTexts &)>;

// Parses the data block in one pass and hands every accepted record to accept,
// in order. CR LF pairs in the data count as absent, wherever they are. Returns NonDate at the
// first complete record when the start date is no date. Throws ImportFailure for an offset that is
// not a whole number or is above 2,147,483,647, and for a speed that is not a whole number.
ParseOutcome parseVehicleRecords(QStringView data, const RecordRules &rules,
                                 const AcceptedRecord &accept);

// The one-character code the statistics use for a direction field ('#' for a
// field that is not a single plain character).
char directionCode(QStringView direction);

} // namespace roadtally
