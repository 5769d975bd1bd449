// roadtally-cli copy: surveys from one survey database to another, a program
// folder's file or a server's, so that an agency can move its folders onto the
// server and take a snapshot of it onto a laptop.

#include "Commands.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "core/upkeep/DatabaseMaintenance.h"
#include "core/upkeep/SurveyCopy.h"

#include <QDir>
#include <QFileInfo>

namespace roadtally {

namespace {

// The database a --from or --to names: a server URI as it stands, a folder's
// OV97.mdb (any case of its name). A target folder without one gets a blank
// one; "" after saying why when there is none.
QString databaseNamed(const Invocation &invocation, const QString &where, bool target)
{
    if (isServerDatabase(where)) {
        QString why;
        if (!parseServerUri(where, &why)) {
            invocation.fail(why);
            return QString();
        }
        return where;
    }
    if (!QFileInfo(where).isDir()) {
        invocation.fail(
            QStringLiteral("there is no folder %1").arg(QDir::toNativeSeparators(where)));
        return QString();
    }
    const QString found = databaseFileIn(where);
    if (!found.isEmpty())
        return found;
    if (!target) {
        invocation.fail(
            QStringLiteral("there is no survey database %1 in %2")
                .arg(QString::fromLatin1(DatabaseFileName), QDir::toNativeSeparators(where)));
        return QString();
    }
    const QString made = databasePathIn(where);
    if (const QString error = createBlankDatabase(made); !error.isEmpty()) {
        invocation.fail(error);
        return QString();
    }
    return made;
}

} // namespace

ExitCode copyCommand(const Invocation &invocation)
{
    const QString from = databaseNamed(invocation, invocation.value(QStringLiteral("from")), false);
    if (from.isEmpty())
        return ExitCode::Failure;
    const QString to = databaseNamed(invocation, invocation.value(QStringLiteral("to")), true);
    if (to.isEmpty())
        return ExitCode::Failure;
    QStringList batches;
    for (const QString &value : invocation.values(QStringLiteral("batch")))
        for (const QString &batch : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            batches << batch.trimmed();
    const CopyResult result = copySurveys(from, to, batches);
    if (!result.ok())
        return invocation.fail(result.detail.isEmpty() ? result.error
                                                       : result.error + QStringLiteral(" (") +
                                                             result.detail + QLatin1Char(')'));
    invocation.out << result.summary(to) << "\n";
    return ExitCode::Success;
}

} // namespace roadtally
