#pragma once
// The import of a loaded raw data text into the survey database, with the four
// statistics. One transaction: on any failure the database is left as it was.

#include <QString>

#include <functional>

namespace roadtally {

// Everything the processing window supplies, as the captions and texts stand.
struct ImportInput
{
    QString batchNumber;  // Input_Batch_Number
    QString locationCode; // Input_Location_Code
    QString location;     // Input_Location
    QString startDate;    // Input_Batch_Date, mm/dd/yyyy
    QString startTime;    // Input_Start_Time, hh:mm
    QString postedSpeed;  // Input_Posted_Speed
    QString unit;         // Combo1: "MPH" or "KPH"
    QString direction;    // Input_Direction
    QString zone;         // Input_Zone
    QString headway = QStringLiteral("0");   // ShowHeadway
    QString speedMin = QStringLiteral("10"); // SpdMin
    QString speedMax = QStringLiteral("100"); // SpdMax
    QString rawText;      // the shared raw data text (never changed)
};

enum class ImportOutcome {
    Stored,
    MissingLocation,
    MissingDirection,
    MissingZone,
    MissingPostedSpeed,
    DuplicateBatch,
    NonDate,
    DataErrors,
};

// The survey period that Summary2 shows on the processing window's labels.
struct SurveyPeriod
{
    QString startDate; // mm/dd/yy
    QString startTime; // hh:mm AMPM
    QString endDate;   // mm/dd/yy
    QString endTime;   // hh:mm AMPM
};

struct ImportResult
{
    ImportOutcome outcome = ImportOutcome::DataErrors;
    int storedVehicles = 0;
    SurveyPeriod period;
    QString detail; // for logs and the command-line tool: why DataErrors happened
};

// Progress as the import goes: 25, 50, 75 and 100.
using ImportProgress = std::function<void(int percent)>;

// Runs the whole import into the database at databasePath.
ImportResult importSurvey(const QString &databasePath, const ImportInput &input,
                          const ImportProgress &progress = {});

// The program's message for an outcome ("" for Stored).
QString importMessage(ImportOutcome outcome);

} // namespace roadtally
