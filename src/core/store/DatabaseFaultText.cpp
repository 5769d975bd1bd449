#include "core/store/DatabaseFaultText.h"

namespace roadtally {

namespace {

QString secondsText(int ms)
{
    if (ms == 1000)
        return QStringLiteral("1 second");
    if (ms % 1000 == 0)
        return QStringLiteral("%1 seconds").arg(ms / 1000);
    return QStringLiteral("%1 seconds").arg(ms / 1000.0, 0, 'f', 1);
}

} // namespace

QString databaseFaultReason(DatabaseFault fault, int busyTimeoutMs, const QString &detail)
{
    switch (fault) {
    case DatabaseFault::Busy:
        if (busyTimeoutMs > 0)
            return QStringLiteral("another program or another import is using it, and it was "
                                  "still locked after %1")
                .arg(secondsText(busyTimeoutMs));
        return QStringLiteral("another program or another import is using it");
    case DatabaseFault::ReadOnly:
        return QStringLiteral("it is read-only (the file, or its folder, cannot be written)");
    case DatabaseFault::Damaged:
        return QStringLiteral("it is damaged");
    case DatabaseFault::NotSurveyDatabase:
        return QStringLiteral("it is not a survey database");
    case DatabaseFault::Missing:
        return QStringLiteral("it does not exist");
    case DatabaseFault::Full:
        return QStringLiteral("the disk is full");
    case DatabaseFault::Unreachable:
        return QStringLiteral("the server cannot be reached, or the connection to it was lost");
    case DatabaseFault::Denied:
        return QStringLiteral("the server refused the login (user name or password)");
    case DatabaseFault::PasswordNeeded:
        return QStringLiteral("the server asks for a password");
    case DatabaseFault::Duplicate:
    case DatabaseFault::Other:
        break;
    }
    return detail.isEmpty() ? QStringLiteral("the database engine reported an error") : detail;
}

QString databaseFaultAdvice(DatabaseFault fault, bool server)
{
    if (server) {
        switch (fault) {
        case DatabaseFault::ReadOnly:
            return QStringLiteral("Ask the server's administrator for the right to write the "
                                  "survey tables.");
        case DatabaseFault::Damaged:
        case DatabaseFault::NotSurveyDatabase:
        case DatabaseFault::Full:
            return QStringLiteral("Ask the server's administrator to look at the survey "
                                  "database.");
        case DatabaseFault::Missing:
            return QStringLiteral("Check the database's name in Options > Survey Database.");
        default:
            break;
        }
    }
    switch (fault) {
    case DatabaseFault::Busy:
        return QStringLiteral("Close the other program, or wait until the other import has "
                              "finished, then try again.");
    case DatabaseFault::ReadOnly:
        return QStringLiteral("Make the file and its folder writable (your administrator can), "
                              "then try again.");
    case DatabaseFault::Damaged:
        return QStringLiteral("Repair it with Edit > Repair & Backup Database > Repair Database.");
    case DatabaseFault::NotSurveyDatabase:
        return QStringLiteral("Choose the survey database with Options > Survey Database, or put "
                              "a survey database in its place.");
    case DatabaseFault::Missing:
        return QStringLiteral("Put the survey database back in its folder, or choose another "
                              "with Options > Survey Database.");
    case DatabaseFault::Full:
        return QStringLiteral("Free some space on the disk, then try again.");
    case DatabaseFault::Unreachable:
        return QStringLiteral("Check the network connection and that the server is running, "
                              "then try again.");
    case DatabaseFault::Denied:
        return QStringLiteral("Check the user name, and the password in the PostgreSQL password "
                              "file, with the server's administrator.");
    case DatabaseFault::PasswordNeeded:
        return QStringLiteral("Put the password in the PostgreSQL password file (or PGPASSWORD), "
                              "then try again.");
    case DatabaseFault::Duplicate:
    case DatabaseFault::Other:
        break;
    }
    return QStringLiteral("Try again. If it fails again, repair the database with Edit > Repair & "
                          "Backup Database > Repair Database.");
}

} // namespace roadtally
