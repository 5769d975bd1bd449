#include "core/upkeep/SurveyDeletion.h"

#include "core/store/DatabaseSession.h"

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
        result.deleted.clear();
        result.message =
            QStringLiteral("The survey %1 could not be deleted: %2\nNothing was deleted.")
                .arg(withoutTrailingBlanks(batch), QString::fromUtf8(e.what()));
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
        result.deleted.clear();
        result.message =
            QStringLiteral("The database could not be erased: %1\nNothing was deleted.")
                .arg(QString::fromUtf8(e.what()));
    }
    return result;
}

} // namespace roadtally
