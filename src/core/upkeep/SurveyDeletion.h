#pragma once
// Removing survey data: one survey from its per-survey tables ("Delete Survey"),
// or every survey at once ("Delete Database"). Each runs in one transaction, so
// a failure leaves every row in place. Radar, Officer and Agency are never touched.

#include "core/store/DatabaseSession.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

class DatabaseSession;

// The program's texts of the "Delete Database" window.
inline constexpr const char *EraseTitle = "Roadtally";
inline constexpr const char *EraseQuestionText =
    "This will ERASE the existing DATABASE file!  Do You want to continue?";
inline constexpr const char *EraseFinishedText = "Finished Deleting Database";
inline constexpr const char *EraseEmptyText = "Database is empty.";

// The list of the "Delete Survey" window, as the program runs it.
inline constexpr const char *BatchListQuery = "select distinct [Batch_Number] from  Header";

// The tables a survey is deleted from, in the order of deletion.
const QStringList &surveyDeletionTables();
// The tables an erase empties, in the order of the erase.
const QStringList &eraseTables();

struct TableRows
{
    QString table;
    int rows = 0;
};

struct DeletionResult
{
    bool ok = false;
    QString message; // why it failed in words, naming the database ("" when it did not)
    DatabaseFault fault = DatabaseFault::Other;
    QString detail;             // the engine's own text of the failure
    QVector<TableRows> deleted; // rows removed per table, in the order of deletion
    int total() const;
};

// The distinct batch numbers of Header, in ascending order (trailing blanks not
// significant). Throws DatabaseError when the query fails.
QStringList surveyBatchNumbers(DatabaseSession &session);

// The batch numbers of the database at path; empty (and *error set) when it
// cannot be read.
QStringList surveyBatchNumbers(const QString &databasePath, QString *error = nullptr);

// A survey as the deletion names it: what a user recognises it by.
struct SurveyToDelete
{
    QString batch;        // without trailing blanks
    QString location;     // Header.Location
    QString startDate;    // Header.Date, mm/dd/yyyy
    qint64 vehicles = -1; // Summary.Total_Vehicles; -1 when the survey has no summary
};

// The stored surveys, in ascending batch number order, with what names them.
// Throws DatabaseError when the query fails.
QVector<SurveyToDelete> surveysToDelete(DatabaseSession &session);
// The same for the database at path; empty (and *error set) when it cannot be read.
QVector<SurveyToDelete> surveysToDelete(const QString &databasePath, QString *error = nullptr);
// The one survey of batch; none found gives an entry with an empty location
// and date and no vehicles. Throws DatabaseError when the query fails.
SurveyToDelete surveyToDelete(DatabaseSession &session, const QString &batch);

// "052401-A   05/24/2001   Main St at 5th": a line of the deletion list.
QString deletionListLine(const SurveyToDelete &survey);
// The question asked before a survey is deleted, naming it.
QString deletionQuestion(const SurveyToDelete &survey);
// What is said once it is deleted.
QString deletionDoneText(const SurveyToDelete &survey);

// Deletes the rows of batch from Header, Speed, Speed_Profile, Summary and
// Time_15 in one transaction; Veh_Data, Radar, Officer and Agency stay as they are.
DeletionResult deleteSurvey(const QString &databasePath, const QString &batch);

struct EraseResult : DeletionResult
{
    bool anythingDeleted() const { return total() > 0; }
    // "Finished Deleting Database" or "Database is empty." after a successful erase.
    QString doneText() const;
};

// Deletes every row of Header, Speed, Speed_Profile, Summary, Time_15 and
// Veh_Data in one transaction.
EraseResult eraseDatabase(const QString &databasePath);

} // namespace roadtally
