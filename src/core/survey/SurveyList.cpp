#include "core/survey/SurveyList.h"

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

QString surveyListLine(const SurveyListEntry &entry)
{
    // The columns of the program's list, without the bars between them: a bar
    // inside a row reads as part of a location.
    return entry.batchNumber + QStringLiteral("         ") + entry.date + QStringLiteral("     ") +
           entry.time + QStringLiteral("        ") + entry.location;
}

QString batchChoiceOf(const QString &line)
{
    return line.left(SurveyListBatchWidth);
}

QVector<SurveyListEntry> readSurveyList(DatabaseSession &session)
{
    session.requireOpen();
    QSqlQuery query = session.exec(QString::fromLatin1(SurveyListQuery));
    QVector<SurveyListEntry> entries;
    while (query.next()) {
        entries.append({query.value(0).toString(), query.value(1).toString(),
                        query.value(2).toString(), query.value(3).toString()});
    }
    // The engine returns a distinct selection in no promised order; the list is
    // always in ascending batch number order. Equal batch numbers keep their order.
    std::stable_sort(
        entries.begin(), entries.end(), [](const SurveyListEntry &a, const SurveyListEntry &b) {
            return withoutTrailingBlanks(a.batchNumber) < withoutTrailingBlanks(b.batchNumber);
        });
    return entries;
}

QStringList surveyListLines(const QString &databasePath, QString *error)
{
    QStringList lines;
    try {
        DatabaseSession session(databasePath);
        for (const SurveyListEntry &entry : readSurveyList(session))
            lines.append(surveyListLine(entry));
    } catch (const DatabaseError &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return {};
    }
    if (error)
        error->clear();
    return lines;
}

} // namespace roadtally
