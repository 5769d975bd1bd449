#include "core/store/DatabaseChoice.h"

#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"

#include <QSettings>

namespace roadtally {

namespace {

QSettings userSettings()
{
    return QSettings(QStringLiteral("Roadtally"), QStringLiteral("Roadtally"));
}

} // namespace

QString DatabaseChoice::uri() const
{
    if (!server || host.trimmed().isEmpty() || databaseName.trimmed().isEmpty())
        return QString();
    ServerAddress address;
    address.host = host.trimmed();
    address.port = port;
    address.databaseName = databaseName.trimmed();
    address.user = user.trimmed();
    return address.uri();
}

DatabaseChoice DatabaseChoice::fromUri(const QString &uri)
{
    DatabaseChoice choice;
    const std::optional<ServerAddress> address = parseServerUri(uri);
    if (!address)
        return choice;
    choice.server = true;
    choice.host = address->host;
    choice.port = address->port;
    choice.databaseName = address->databaseName;
    choice.user = address->user;
    return choice;
}

DatabaseChoice DatabaseChoice::load()
{
    QSettings settings = userSettings();
    settings.beginGroup(QStringLiteral("SurveyDatabase"));
    DatabaseChoice choice;
    choice.server = settings.value(QStringLiteral("server"), false).toBool();
    choice.host = settings.value(QStringLiteral("host")).toString();
    choice.port = settings.value(QStringLiteral("port"), 5432).toInt();
    choice.databaseName = settings.value(QStringLiteral("database")).toString();
    choice.user = settings.value(QStringLiteral("user")).toString();
    if (choice.port < 1 || choice.port > 65535)
        choice.port = 5432;
    return choice;
}

void DatabaseChoice::save() const
{
    QSettings settings = userSettings();
    settings.beginGroup(QStringLiteral("SurveyDatabase"));
    settings.setValue(QStringLiteral("server"), server);
    settings.setValue(QStringLiteral("host"), host.trimmed());
    settings.setValue(QStringLiteral("port"), port);
    settings.setValue(QStringLiteral("database"), databaseName.trimmed());
    settings.setValue(QStringLiteral("user"), user.trimmed());
}

QString startupServerDatabase()
{
    const QString environment = qEnvironmentVariable("ROADTALLY_DATABASE").trimmed();
    if (!environment.isEmpty())
        return isServerDatabase(environment) ? environment : QString();
    return DatabaseChoice::load().uri();
}

QString testServerConnection(const QString &uri)
{
    DatabaseSession session(uri);
    return session.isOpen() ? QString() : session.errorText();
}

} // namespace roadtally
