#pragma once
// The trailer's raw data file: reading it whole, marking its end and taking the
// header values from their fixed positions.

#include <QString>

namespace roadtally {

// Header values as the processing window shows them.
struct RawHeader
{
    QString dateCode;     // mmddyy, from positions 30-31, 34-35, 38-39
    QString locationCode; // positions 11-15
    QString batchDate;    // mm/dd/20yy
    QString startTime;    // hh:mm from positions 54-55, 58-59
    QString postedSpeed;  // positions 78-80

    // dateCode + "-" + letter
    QString batchNumber(const QString &letter) const
    {
        return dateCode + QLatin1Char('-') + letter;
    }
};

// Reads the header values from a raw data text, without any check (short texts
// give short or empty values).
RawHeader readRawHeader(const QString &text);

// Overwrites up to four of the last direction characters with "*", as the loader
// does (start the count at 2 when a "*" is already near the end).
void markEnd(QString &text);

enum class LoadStatus {
    Loaded,
    NoFileName,   // "You must first select a file to load." (title "Error")
    NotFound,     // "Radar text file does not exist, you must create one first"
    NotPlainName, // a name with a folder or wildcard, or not a listed data file
    Unreadable,   // there, but not a file that can be read: a folder, a device, no permission
    Empty,        // "The file is empty."
    NoHeader,     // "This file has no survey header: it is not a radar data file."
};

struct LoadResult
{
    LoadStatus status = LoadStatus::NotFound;
    QString text;   // the end-marked raw data text when loaded
    QString path;   // Unreadable: the file
    QString reason; // Unreadable: why, e.g. "it is a folder, not a file"
};

// True when name is a plain file name with the ".ovd" extension (any case), no
// folder separators and no wildcards.
bool isPlainDataFileName(const QString &name);

// Loads folder/fileName whole (Latin-1, every byte) and end-marks it.
LoadResult loadRawDataFile(const QString &folder, const QString &fileName);

// True when text opens with the trailer's survey header: "Location:" first, the
// setup date and time labels before the header block ends. The header values
// are read from fixed positions; without it they would be scraps.
bool hasSurveyHeader(const QString &text);

// Reads the raw data file at path whole and end-marks it; Unreadable (with the
// reason) for anything that is not a regular file or cannot be read to its end.
// A device or a pipe is never opened: reading one may never end. An empty file
// and one without a survey header are refused here, before anyone fills a form
// for them.
LoadResult readRawDataFile(const QString &path);

// The message the loader shows for a status ("" for Loaded).
QString loadMessage(LoadStatus status);
// The message for a result: for Unreadable it names the file and says why.
QString loadMessage(const LoadResult &result);

} // namespace roadtally
