#pragma once
// Removing survey data: one survey from its per-survey tables ("Delete Survey"),
// or every survey at once ("Delete Database"). Each runs in one transaction, so
// a failure leaves every row in place. Radar, Officer and Agency are never touched.

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

class DatabaseSession;

// The program's texts of the "Delete Database" window.
inline constexpr const char *EraseTitle = "Quillmark,LLC Roadtally TM";
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
    QString message;            // why it failed ("" when it did not)
    QVector<TableRows> deleted; // rows removed per table, in the order of deletion
    int total() const;
};

// The distinct batch numbers of Header, in ascending order (trailing blanks not
// significant). Throws DatabaseError when the query fails.
QStringList surveyBatchNumbers(DatabaseSession &session);

// The batch numbers of the database at path; empty (and *error set) when it
// cannot be read.
QStringList surveyBatchNumbers(const QString &databasePath, QString *error = nullptr);

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
