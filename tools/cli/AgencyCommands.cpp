// roadtally-cli agency, officer and report-options: what the "Administration
// Setup" window keeps for the reports' heading and footer, for an agency that
// prints from scripts.

#include "Commands.h"

#include "core/store/DatabaseSession.h"
#include "core/survey/AgencySettings.h"

#include <memory>
#include <optional>

namespace roadtally {

namespace {

// Opens the folder's survey database; none after saying why.
std::unique_ptr<DatabaseSession> openDatabase(const Invocation &invocation)
{
    const QString path = invocation.database();
    if (path.isEmpty())
        return nullptr;
    auto session = std::make_unique<DatabaseSession>(path);
    if (!session->isOpen()) {
        invocation.fail(session->errorText());
        return nullptr;
    }
    return session;
}

// "on" or "off" of an option; none for anything else.
std::optional<bool> onOff(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("on"))
        return true;
    if (t == QLatin1String("off"))
        return false;
    return std::nullopt;
}

QString onOffText(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

ExitCode agencyCommand(const Invocation &invocation)
{
    const std::unique_ptr<DatabaseSession> session = openDatabase(invocation);
    if (!session)
        return ExitCode::Failure;
    try {
        AgencyInfo agency = readAgency(*session);
        const bool change = invocation.has(QStringLiteral("name")) ||
                            invocation.has(QStringLiteral("address1")) ||
                            invocation.has(QStringLiteral("address2"));
        if (change) {
            if (invocation.has(QStringLiteral("name")))
                agency.name = invocation.value(QStringLiteral("name"));
            if (invocation.has(QStringLiteral("address1")))
                agency.address1 = invocation.value(QStringLiteral("address1"));
            if (invocation.has(QStringLiteral("address2")))
                agency.address2 = invocation.value(QStringLiteral("address2"));
            writeAgency(*session, agency);
            agency = readAgency(*session);
        }
        invocation.out << "Name of agency: " << agency.name << "\n"
                       << "Address 1: " << agency.address1 << "\n"
                       << "Address 2: " << agency.address2 << "\n";
    } catch (const DatabaseError &error) {
        return invocation.fail(QStringLiteral("the survey database cannot be used: %1")
                                   .arg(QString::fromUtf8(error.what())));
    }
    return ExitCode::Success;
}

ExitCode officerCommand(const Invocation &invocation)
{
    const QStringList arguments = invocation.operands();
    const QString action = arguments.value(0);
    const QString name = arguments.value(1);
    if (action == QLatin1String("list")) {
        if (arguments.size() > 1)
            return invocation.usage(QStringLiteral("officer list takes no NAME"));
    } else if (arguments.size() != 2 || name.trimmed().isEmpty()) {
        return invocation.usage(QStringLiteral("officer %1 needs the officer's NAME").arg(action));
    }
    const std::unique_ptr<DatabaseSession> session = openDatabase(invocation);
    if (!session)
        return ExitCode::Failure;
    try {
        if (action == QLatin1String("add")) {
            // The window's rule: no two officers of one name, whatever the case and blanks.
            if (!officerNameProblem(*session, name).isEmpty())
                return invocation.fail(
                    QStringLiteral("%1 is on the officer list already").arg(name));
            addOfficer(*session, name);
            invocation.out << "Officer added: " << name << "\n";
        } else if (action == QLatin1String("remove")) {
            const std::optional<OfficerRow> row = findOfficer(*session, name);
            if (!row)
                return invocation.fail(QStringLiteral("%1 is not on the officer list").arg(name));
            deleteOfficer(*session, row->id);
            invocation.out << "Officer removed: " << name << "\n";
        } else {
            // As the window lists them, in the order they were added.
            for (const OfficerRow &row : readOfficers(*session))
                invocation.out << row.name << "\n";
        }
    } catch (const DatabaseError &error) {
        return invocation.fail(QStringLiteral("the survey database cannot be used: %1")
                                   .arg(QString::fromUtf8(error.what())));
    }
    return ExitCode::Success;
}

ExitCode reportOptionsCommand(const Invocation &invocation)
{
    std::optional<bool> signature, officerName;
    if (invocation.has(QStringLiteral("signature"))) {
        signature = onOff(invocation.value(QStringLiteral("signature")));
        if (!signature)
            return invocation.usage(QStringLiteral("--signature must be on or off"));
    }
    if (invocation.has(QStringLiteral("officer-name"))) {
        officerName = onOff(invocation.value(QStringLiteral("officer-name")));
        if (!officerName)
            return invocation.usage(QStringLiteral("--officer-name must be on or off"));
    }
    const std::unique_ptr<DatabaseSession> session = openDatabase(invocation);
    if (!session)
        return ExitCode::Failure;
    try {
        if (officerName)
            writePrintName(*session, *officerName);
        if (signature)
            writePrintDate(*session, *signature);
        const ReportOptions options = readReportOptions(*session);
        invocation.out << "Include officer name on all forms and reports: "
                       << onOffText(options.printName) << "\n"
                       << "Include system date on all forms and reports: "
                       << onOffText(options.printDate) << "\n";
    } catch (const DatabaseError &error) {
        return invocation.fail(QStringLiteral("the survey database cannot be used: %1")
                                   .arg(QString::fromUtf8(error.what())));
    }
    return ExitCode::Success;
}

} // namespace roadtally
