#include "gui/kit/DatabaseFailure.h"

#include "core/store/DatabaseFaultText.h"
#include "core/store/SharedState.h"
#include "gui/kit/Message.h"

#include <QDir>

namespace roadtally::kit {

QString databaseFailureText(const QString &databasePath, DatabaseAccess access, DatabaseFault fault,
                            const QString &detail)
{
    return QStringLiteral("The survey database %1 could not be %2: %3")
        .arg(QDir::toNativeSeparators(databasePath),
             access == DatabaseAccess::Read ? QStringLiteral("read") : QStringLiteral("written"),
             databaseFaultReason(fault, 0, detail));
}

void tellDatabaseFailure(QWidget *parent, const QString &databasePath, DatabaseAccess access,
                         DatabaseFault fault, const QString &detail)
{
    notice(parent, databaseFailureText(databasePath, access, fault, detail));
}

void tellDatabaseFailure(QWidget *parent, const DatabaseSession &unopened,
                         const QString &databasePath, DatabaseAccess access)
{
    tellDatabaseFailure(parent, databasePath, access, unopened.openFault(), unopened.errorText());
}

void tellDatabaseFailure(QWidget *parent, const DatabaseError &error, const QString &databasePath,
                         DatabaseAccess access)
{
    tellDatabaseFailure(parent, databasePath, access, error.fault(),
                        QString::fromUtf8(error.what()));
}

bool withSurveyDatabase(QWidget *parent, const std::function<void(DatabaseSession &)> &work,
                        DatabaseAccess access)
{
    const QString path = sharedState().deriveDatabasePath();
    try {
        DatabaseSession session(path);
        if (!session.isOpen()) {
            tellDatabaseFailure(parent, session, path, access);
            return false;
        }
        work(session);
        return true;
    } catch (const DatabaseError &e) {
        tellDatabaseFailure(parent, e, path, access);
        return false;
    }
}

} // namespace roadtally::kit
