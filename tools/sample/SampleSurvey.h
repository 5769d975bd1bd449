#pragma once
// Realistic raw data files as the trailer's logger writes them, for the sample
// files in the program folder, the tests and the benchmark. The same options
// and seed always give the same file.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>

namespace roadtally {

struct SampleOptions
{
    int vehicles = 3000;
    int days = 1;                                   // 1 to 14
    QDate startDate = QDate(2025, 5, 24);           // the setup date, 2000 to 2099
    QTime startTime = QTime(13, 45);                // the setup time (minutes only)
    int postedSpeed = 35;                           // written as the violation alert speed
    QString locationCode = QStringLiteral("00020"); // five digits
    quint32 seed = 1;
    bool kph = false;       // speeds in km/h instead of mph
    int recordsPerLine = 4; // the logger breaks its lines after this many records
    double speedShift = 0;  // added to the usual speeds (a street after a measure)
};

// One vehicle record as written to the file.
struct SampleRecord
{
    qint64 offset = 0;    // seconds since the setup time
    char direction = '+'; // '+', '-' or '?'
    int speed = 0;
};

struct SampleSurvey
{
    QByteArray text;               // the whole file, CR LF line breaks
    QVector<SampleRecord> records; // in file order, offsets non-decreasing
};

// The line that closes the header block: the first "*" of the file and five more
// characters, on a line of its own.
inline constexpr const char *SampleHeaderEnd = "******";
// What the logger writes after the last record.
inline constexpr const char *SampleTail = "End of Data";

// Why the options cannot make a file ("" when they can).
QString checkSampleOptions(const SampleOptions &options);

// The header line (without its line break): location code, setup date and time,
// alert settings and the column titles at their fixed positions.
QByteArray sampleHeaderLine(const SampleOptions &options);

// One record as the logger writes it: "0000000309,-,082,".
QByteArray sampleRecordText(const SampleRecord &record);

// The relative traffic volume of an hour of the day (0 to 23) on a weekday
// (Qt numbering, 1 = Monday ... 7 = Sunday).
double sampleHourWeight(int hour, int dayOfWeek);

// Generates a survey. The options must pass checkSampleOptions().
SampleSurvey generateSampleSurvey(const SampleOptions &options);

// Writes the survey's text to path; returns "" or the reason it failed.
QString writeSampleSurvey(const SampleSurvey &survey, const QString &path);

} // namespace roadtally
