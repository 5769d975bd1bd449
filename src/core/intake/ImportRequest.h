#pragma once
// From a loaded raw data text and what the user chose in the processing window
// to the import's input: the header captions as the loader fills them, the batch
// letter, the corrections of "Accept These Changes", the unit with its speed
// range, and the headway. The processing window and roadtally-cli share it, so a
// survey imported either way is the same survey.

#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"

#include <QString>

namespace roadtally {

// The five correction boxes of the "Modify Header" tab, Text4(0) to Text4(4).
// An empty box leaves its target as it was.
struct HeaderCorrections
{
    QString startDate;    // Text4(0) -> Input_Batch_Date
    QString startTime;    // Text4(1) -> Input_Start_Time
    QString batchNumber;  // Text4(2) -> Input_Batch_Number
    QString locationCode; // Text4(3) -> Input_Location_Code
    QString postedSpeed;  // Text4(4) -> Input_Posted_Speed
};

// The header captions of the processing window's first tab.
struct HeaderFields
{
    QString batchNumber;  // Input_Batch_Number
    QString locationCode; // Input_Location_Code
    QString startDate;    // Input_Batch_Date
    QString startTime;    // Input_Start_Time
    QString postedSpeed;  // Input_Posted_Speed
};

// The captions as the loader sets them from the raw text, the batch number
// made with the batch letter (Trailer_code).
HeaderFields headerFieldsFromText(const QString &rawText, const QString &letter);

// "Accept These Changes": in the order of the boxes, every box that is not empty
// replaces its target, as typed, and is emptied.
void acceptHeaderChanges(HeaderFields &fields, HeaderCorrections &corrections);

// The speed range as label captions (SpdMin, SpdMax).
struct SpeedRange
{
    QString low;
    QString high;
};

// The range that choosing a unit sets: 10 to 100 for "MPH", otherwise 15 to 160.
SpeedRange defaultSpeedRange(const QString &unit);

// What the user supplies beside the raw text.
struct ImportRequest
{
    QString location;                      // Input_Location
    QString direction;                     // Input_Direction
    QString zone;                          // Input_Zone
    QString unit = QStringLiteral("MPH");  // Combo1
    QString letter = QStringLiteral("A");  // Trailer_code
    SpeedRange range;                      // empty ends take the unit's default range
    QString headway = QStringLiteral("0"); // ShowHeadway
    HeaderCorrections corrections;
};

// The import's input: header captions from the text, the letter applied, then
// the corrections accepted; the range and headway as chosen.
ImportInput buildImportInput(const QString &rawText, const ImportRequest &request);

// Reads a raw data file at any path whole (every byte as one character) and
// end-marks it as the loader does. NoFileName for an empty path, NotFound when
// nothing is there, Unreadable (with the reason) for a folder, a device, a
// pipe or a file that cannot be read.
LoadResult loadRawDataPath(const QString &path);

} // namespace roadtally
