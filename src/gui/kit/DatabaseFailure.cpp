#include "gui/kit/DatabaseFailure.h"

#include "core/store/DatabaseFaultText.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/SharedState.h"
#include "gui/kit/Message.h"

#include <QDir>

namespace roadtally::kit {

QString databaseFailureText(const QString &databasePath, DatabaseAccess access, DatabaseFault fault)
{
    // No engine text here: an unknown fault is said in words too, and its
    // text goes under "Details".
    return QStringLiteral("The survey database %1 could not be %2: %3.")
        .arg(databaseDisplayName(databasePath),
             access == DatabaseAccess::Read ? QStringLiteral("read") : QStringLiteral("written"),
             databaseFaultReason(fault));
}

QString databaseFailureMessage(const QString &sentence, DatabaseFault fault, bool server)
{
    return sentence + QStringLiteral("\n\n") + databaseFaultAdvice(fault, server);
}

void tellDatabaseFailure(QWidget *parent, const QString &sentence, DatabaseFault fault,
                         const QString &detail, Shown shown, bool server)
{
    const QString text = databaseFailureMessage(sentence, fault, server);
    if (shown == Shown::Wait)
        message(parent, text, QString(), QMessageBox::Warning, QMessageBox::Ok, detail);
    else
        notice(parent, text, QMessageBox::Warning, detail);
}

void tellDatabaseFailure(QWidget *parent, const QString &databasePath, DatabaseAccess access,
                         DatabaseFault fault, const QString &detail, Shown shown)
{
    tellDatabaseFailure(parent, databaseFailureText(databasePath, access, fault), fault, detail,
                        shown, isServerDatabase(databasePath));
}

void tellDatabaseFailure(QWidget *parent, const DatabaseSession &unopened,
                         const QString &databasePath, DatabaseAccess access, Shown shown)
{
    tellDatabaseFailure(parent, databasePath, access, unopened.openFault(), unopened.errorText(),
                        shown);
}

void tellDatabaseFailure(QWidget *parent, const DatabaseError &error, const QString &databasePath,
                         DatabaseAccess access, Shown shown)
{
    tellDatabaseFailure(parent, databasePath, access, error.fault(),
                        QString::fromUtf8(error.what()), shown);
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
