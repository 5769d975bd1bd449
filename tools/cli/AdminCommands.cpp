// roadtally-cli upkeep of a folder's survey database, for scripts (a nightly
// backup): backup, restore, repair, replace, delete, erase. The same steps as
// the "Database Management", "Delete Survey" and "Delete Database" windows; where
// a window asks before it acts, the command wants --yes.

#include "Commands.h"
#include "ProgressLine.h"

#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "core/upkeep/DatabaseMaintenance.h"
#include "core/upkeep/SurveyDeletion.h"

namespace roadtally {

namespace {

// Texts of the program use CR LF; a terminal wants plain line ends.
QString plain(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

ExitCode report(const Invocation &invocation, const MaintenanceResult &result)
{
    if (result.ok()) {
        invocation.out << plain(result.message) << "\n";
        return ExitCode::Success;
    }
    invocation.err << plain(result.message) << "\n";
    return ExitCode::Failure;
}

QString folderOf(const Invocation &invocation)
{
    return invocation.value(QStringLiteral("folder"));
}

// The steps below say themselves, in the window's words, when there is no database.
QString databaseOf(const Invocation &invocation)
{
    if (const QString server = invocation.serverDatabase(); !server.isEmpty())
        return server;
    const QString found = databaseFileIn(folderOf(invocation));
    return found.isEmpty() ? databasePathIn(folderOf(invocation)) : found;
}

} // namespace

ExitCode backupCommand(const Invocation &invocation)
{
    MaintenanceResult result;
    {
        ProgressLine line(invocation.err, invocation.progress,
                          QStringLiteral("Backing up and compacting the survey database"));
        result = backupDatabase(folderOf(invocation));
    }
    return report(invocation, result);
}

ExitCode restoreCommand(const Invocation &invocation)
{
    return report(invocation, restoreDatabase(folderOf(invocation)));
}

ExitCode repairCommand(const Invocation &invocation)
{
    const RepairResult result = repairDatabase(folderOf(invocation));
    if (!result.check.isEmpty()) {
        invocation.out << "Integrity check:\n";
        for (const QString &line : result.check)
            invocation.out << "    " << line << "\n";
        invocation.out.flush();
    }
    return report(invocation, result);
}

ExitCode replaceCommand(const Invocation &invocation)
{
    return report(invocation, replaceDatabase(folderOf(invocation)));
}

ExitCode deleteCommand(const Invocation &invocation)
{
    const QString batch = invocation.value(QStringLiteral("batch"));
    // The window's question names the survey; without --yes it is the answer
    // to it, and nothing is deleted.
    SurveyToDelete survey;
    try {
        DatabaseSession session(databaseOf(invocation));
        survey = surveyToDelete(session, batch);
    } catch (const DatabaseError &e) {
        invocation.err << QStringLiteral("The survey %1 could not be deleted: %2\nNothing was "
                                         "deleted.\n")
                              .arg(batch, QString::fromUtf8(e.what()));
        return ExitCode::Failure;
    }
    if (survey.startDate.isEmpty() && survey.location.isEmpty() && survey.vehicles < 0)
        return invocation.unknownSurvey(batch, databaseOf(invocation));
    if (!invocation.has(QStringLiteral("yes"))) {
        invocation.err << "roadtally-cli delete: the program asks first:\n\n"
                       << deletionQuestion(survey)
                       << "\n\nNothing was deleted. Add --yes to go ahead.\n";
        return ExitCode::UsageError;
    }
    const DeletionResult result = deleteSurvey(databaseOf(invocation), batch);
    if (!result.ok) {
        invocation.err << plain(result.message) << "\n(" << result.detail << ")\n";
        return ExitCode::Failure;
    }
    if (result.total() == 0)
        return invocation.unknownSurvey(batch, databaseOf(invocation));
    invocation.out << "Survey " << batch << " deleted:";
    for (const TableRows &t : result.deleted)
        invocation.out << " " << t.table << " " << t.rows
                       << (&t == &result.deleted.constLast() ? "" : ",");
    invocation.out << " rows\n";
    return ExitCode::Success;
}

ExitCode eraseCommand(const Invocation &invocation)
{
    const EraseResult result = eraseDatabase(databaseOf(invocation));
    if (!result.ok) {
        invocation.err << plain(result.message) << "\n(" << result.detail << ")\n";
        return ExitCode::Failure;
    }
    invocation.out << result.doneText() << "\n";
    return ExitCode::Success;
}

} // namespace roadtally
