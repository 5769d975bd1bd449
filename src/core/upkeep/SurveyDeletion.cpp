#include "core/upkeep/SurveyDeletion.h"

#include "core/store/DatabaseFaultText.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"

#include <QLocale>
#include <QSqlQuery>

#include <algorithm>

namespace roadtally {

namespace {

QString withoutTrailingBlanks(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

// A failed deletion in words: the database, why, and that nothing went.
void failed(DeletionResult &result, const QString &databasePath, const DatabaseError &e,
            const QString &what)
{
    result.deleted.clear();
    result.fault = e.fault();
    result.detail = QString::fromUtf8(e.what());
    result.message =
        QStringLiteral("The survey database %1 could not be written: %2.\n%3 "
                       "Nothing was deleted.")
            .arg(databaseDisplayName(databasePath), databaseFaultReason(e.fault()), what);
}

} // namespace

const QStringList &surveyDeletionTables()
{
    static const QStringList tables = {QStringLiteral("Header"), QStringLiteral("Speed"),
                                       QStringLiteral("Speed_Profile"), QStringLiteral("Summary"),
                                       QStringLiteral("Time_15")};
    return tables;
}

const QStringList &eraseTables()
{
    static const QStringList tables = {QStringLiteral("Header"),        QStringLiteral("Speed"),
                                       QStringLiteral("Speed_Profile"), QStringLiteral("Summary"),
                                       QStringLiteral("Time_15"),       QStringLiteral("Veh_Data")};
    return tables;
}

int DeletionResult::total() const
{
    int sum = 0;
    for (const TableRows &t : deleted)
        sum += t.rows;
    return sum;
}

QStringList surveyBatchNumbers(DatabaseSession &session)
{
    session.requireOpen();
    QSqlQuery query = session.exec(QString::fromLatin1(BatchListQuery));
    QStringList batches;
    while (query.next())
        batches << query.value(0).toString();
    std::stable_sort(batches.begin(), batches.end(), [](const QString &a, const QString &b) {
        return withoutTrailingBlanks(a) < withoutTrailingBlanks(b);
    });
    return batches;
}

QStringList surveyBatchNumbers(const QString &databasePath, QString *error)
{
    try {
        DatabaseSession session(databasePath);
        const QStringList batches = surveyBatchNumbers(session);
        if (error)
            error->clear();
        return batches;
    } catch (const DatabaseError &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return {};
    }
}

namespace {

const QString SurveysToDeleteQuery = QStringLiteral(
    "SELECT h.[Batch_Number], h.[Location], h.[Date], "
    "(SELECT s.[Total_Vehicles] FROM [Summary] s WHERE s.[Batch_Number] = h.[Batch_Number] "
    "LIMIT 1) FROM [Header] h");

SurveyToDelete surveyFromRow(const QSqlQuery &query)
{
    SurveyToDelete survey;
    survey.batch = withoutTrailingBlanks(query.value(0).toString());
    survey.location = query.value(1).toString().trimmed();
    survey.startDate = query.value(2).toString().trimmed();
    survey.vehicles = query.value(3).isNull() ? -1 : query.value(3).toLongLong();
    return survey;
}

QString vehiclesText(qint64 vehicles)
{
    if (vehicles < 0)
        return QStringLiteral("none counted");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return english.toString(vehicles);
}

} // namespace

QVector<SurveyToDelete> surveysToDelete(DatabaseSession &session)
{
    session.requireOpen();
    QSqlQuery query = session.exec(SurveysToDeleteQuery);
    QVector<SurveyToDelete> surveys;
    while (query.next()) {
        SurveyToDelete survey = surveyFromRow(query);
        // One line per batch number, as the list of batch numbers has.
        const bool seen =
            std::any_of(surveys.cbegin(), surveys.cend(),
                        [&](const SurveyToDelete &s) { return s.batch == survey.batch; });
        if (!seen)
            surveys.append(std::move(survey));
    }
    std::stable_sort(
        surveys.begin(), surveys.end(),
        [](const SurveyToDelete &a, const SurveyToDelete &b) { return a.batch < b.batch; });
    return surveys;
}

QVector<SurveyToDelete> surveysToDelete(const QString &databasePath, QString *error)
{
    try {
        DatabaseSession session(databasePath);
        const QVector<SurveyToDelete> surveys = surveysToDelete(session);
        if (error)
            error->clear();
        return surveys;
    } catch (const DatabaseError &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return {};
    }
}

SurveyToDelete surveyToDelete(DatabaseSession &session, const QString &batch)
{
    session.requireOpen();
    QSqlQuery query = session.exec(
        SurveysToDeleteQuery + QStringLiteral(" WHERE h.[Batch_Number] = ? LIMIT 1"), {batch});
    if (query.next())
        return surveyFromRow(query);
    SurveyToDelete none;
    none.batch = withoutTrailingBlanks(batch);
    return none;
}

QString deletionListLine(const SurveyToDelete &survey)
{
    return QStringLiteral("%1   %2   %3")
        .arg(survey.batch.leftJustified(8), survey.startDate.leftJustified(10), survey.location);
}

QString deletionQuestion(const SurveyToDelete &survey)
{
    return QStringLiteral("Delete survey %1?\n\nLocation: %2\nStart date: %3\nVehicles: %4\n\n"
                          "Its figures are removed from the database for good.")
        .arg(survey.batch, survey.location, survey.startDate, vehiclesText(survey.vehicles));
}

QString deletionDoneText(const SurveyToDelete &survey)
{
    return QStringLiteral("Survey %1 (%2, %3, %4 vehicles) was deleted.")
        .arg(survey.batch, survey.location, survey.startDate, vehiclesText(survey.vehicles));
}

DeletionResult deleteSurvey(const QString &databasePath, const QString &batch)
{
    DeletionResult result;
    try {
        DatabaseSession session(databasePath);
        session.requireOpen();
        Transaction transaction(session);
        for (const QString &table : surveyDeletionTables()) {
            // The batch columns compare without trailing blanks (their collation).
            QSqlQuery query = session.exec(
                QStringLiteral("DELETE FROM [%1] WHERE [Batch_Number] = ?").arg(table), {batch});
            result.deleted.append({table, query.numRowsAffected()});
        }
        transaction.commit();
        result.ok = true;
    } catch (const DatabaseError &e) {
        failed(result, databasePath, e,
               QStringLiteral("The survey %1 was not deleted.").arg(withoutTrailingBlanks(batch)));
    }
    return result;
}

QString EraseResult::doneText() const
{
    return QString::fromLatin1(anythingDeleted() ? EraseFinishedText : EraseEmptyText);
}

EraseResult eraseDatabase(const QString &databasePath)
{
    EraseResult result;
    try {
        DatabaseSession session(databasePath);
        session.requireOpen();
        Transaction transaction(session);
        for (const QString &table : eraseTables()) {
            QSqlQuery query = session.exec(QStringLiteral("DELETE FROM [%1]").arg(table));
            result.deleted.append({table, query.numRowsAffected()});
        }
        transaction.commit();
        result.ok = true;
    } catch (const DatabaseError &e) {
        failed(result, databasePath, e, QStringLiteral("The database was not erased."));
    }
    return result;
}

} // namespace roadtally
