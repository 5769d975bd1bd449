#pragma once
// The lines of the "Open / Select Survey" list: one line per stored survey,
// its batch number, start date, start time and location in fixed columns.

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

class DatabaseSession;

struct SurveyListEntry
{
    QString batchNumber;
    QString date;
    QString time;
    QString location;
};

// The query the list is built from, as the program runs it.
inline constexpr const char *SurveyListQuery =
    "select distinct [Batch_Number] , date , time, location from  Header";

// Number of leading characters of a line that carry the batch number.
inline constexpr int SurveyListBatchWidth = 10;

// One list line: batch number, date, time and location joined by the fixed separators.
QString surveyListLine(const SurveyListEntry &entry);

// The batch number part of a chosen line (its first 10 characters).
QString batchChoiceOf(const QString &line);

// The stored surveys in ascending batch number order (trailing blanks of the
// batch number are not significant). Throws DatabaseError when the query fails.
QVector<SurveyListEntry> readSurveyList(DatabaseSession &session);

// The list lines of the database at path. When the database cannot be opened or
// read, the list is empty and *error (when given) says why.
QStringList surveyListLines(const QString &databasePath, QString *error = nullptr);

} // namespace roadtally
