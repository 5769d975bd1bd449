#pragma once
// The import of a loaded raw data text into the survey database, with the four
// statistics. One transaction: on any failure the database is left as it was.

#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyPeriod.h"

#include <QString>

#include <functional>
#include <optional>

namespace roadtally {

// Everything the processing window supplies, as the captions and texts stand.
struct ImportInput
{
    QString batchNumber;                      // Input_Batch_Number
    QString locationCode;                     // Input_Location_Code
    QString location;                         // Input_Location
    QString startDate;                        // Input_Batch_Date, mm/dd/yyyy
    QString startTime;                        // Input_Start_Time, hh:mm
    QString postedSpeed;                      // Input_Posted_Speed
    QString unit;                             // Combo1: "MPH" or "KPH"
    QString direction;                        // Input_Direction
    QString zone;                             // Input_Zone
    QString headway = QStringLiteral("0");    // ShowHeadway
    QString speedMin = QStringLiteral("10");  // SpdMin
    QString speedMax = QStringLiteral("100"); // SpdMax
    QString rawText;                          // the shared raw data text (never changed)
};

enum class ImportOutcome {
    Stored,
    MissingLocation,
    MissingDirection,
    MissingZone,
    MissingPostedSpeed,
    MissingUnit,      // no unit, or one other than "MPH" and "KPH"
    LocationTooLong,  // over LocationMaxLength characters
    DirectionTooLong, // over DirectionMaxLength
    ZoneTooLong,      // over ZoneMaxLength
    DuplicateBatch,
    NonDate,
    DataErrors,      // the data file cannot be processed
    DatabaseFailure, // the survey database could not be written; nothing imported
};

// The survey period that Summary2 shows on the processing window's labels.
struct ImportResult
{
    ImportOutcome outcome = ImportOutcome::DataErrors;
    QString batchNumber; // the survey's batch number, as stored
    int storedVehicles = 0;
    SurveyPeriod period;
    QString detail; // for logs and the command-line tool: why it failed
    // DatabaseFailure: the database and what is wrong with it.
    QString databasePath;
    DatabaseFault fault = DatabaseFault::Other;
    int busyTimeoutMs = 0; // how long a busy database was waited for
};

// Progress as the import goes: 5 when the database is open and the header
// written, up to 25 while the vehicles are stored, 38 after Summary2, 50 after
// the speed table, 75 after Speed_Profile, 90 after Time15min, 100 once committed.
using ImportProgress = std::function<void(int percent)>;

struct ImportOptions
{
    // How long the import waits for another program's (or import's) lock on
    // the database before it gives up: two imports at once run one after the
    // other.
    int busyTimeoutMs = 10000;
};

// The first required input that is missing or only blanks (location,
// direction, zone, posted speed), a unit other than "MPH" or "KPH", or a
// location, direction or zone longer than a survey stores; or nothing. Every
// path into the database passes here, so no survey is stored without a unit.
std::optional<ImportOutcome> missingInput(const ImportInput &input);

// Runs the whole import into the database at databasePath.
ImportResult importSurvey(const QString &databasePath, const ImportInput &input,
                          const ImportProgress &progress = {}, const ImportOptions &options = {});

// The program's message for an outcome ("" for Stored). A DatabaseFailure has
// no fixed text: use the result's message below.
QString importMessage(ImportOutcome outcome);
// The message the user sees for a result: the fixed text of its outcome, or for
// a database failure what is wrong with which database ("" for Stored).
QString importMessage(const ImportResult &result);
// "Survey 052825-A stored: 6,953 vehicles".
QString storedSurveyText(const ImportResult &result);
QString storedSurveyText(const QString &batchNumber, int vehicles);

} // namespace roadtally
