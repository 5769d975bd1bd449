#include "core/store/DatabaseLocation.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QUrl>

namespace roadtally {

namespace {

const QString PasswordAdvice = QStringLiteral(
    "A password does not belong in the database address: it would be kept in the shell's "
    "history and the settings. Put it in the password file ~/.pgpass "
    "(HOST:PORT:DBNAME:USER:PASSWORD, readable by you only) or let the program ask for it.");

QString decoded(const QString &text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

QString encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QMutex &passwordLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, QString> &passwords()
{
    static QHash<QString, QString> kept;
    return kept;
}

} // namespace

bool isServerDatabase(const QString &database)
{
    return database.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           database.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString ServerAddress::uri() const
{
    QString out = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        out += encoded(user) + QLatin1Char('@');
    out += host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('/'))
               ? QLatin1Char('[') + host + QLatin1Char(']')
               : encoded(host);
    out += QLatin1Char(':') + QString::number(port) + QLatin1Char('/') + encoded(databaseName);
    if (!options.isEmpty())
        out += QLatin1Char('?') + options.join(QLatin1Char('&'));
    return out;
}

QString ServerAddress::displayName() const
{
    const QString where = host.startsWith(QLatin1Char('/')) ? QDir::toNativeSeparators(host) : host;
    return QStringLiteral("%1 on %2:%3").arg(databaseName, where).arg(port);
}

std::optional<ServerAddress> parseServerUri(const QString &uri, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<ServerAddress> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!isServerDatabase(uri))
        return fail(QStringLiteral("%1 is not a server address (postgresql://USER@HOST:PORT/"
                                   "DBNAME).")
                        .arg(uri));
    QString rest = uri.mid(uri.indexOf(QLatin1String("://")) + 3);
    QString query;
    if (const int q = rest.indexOf(QLatin1Char('?')); q >= 0) {
        query = rest.mid(q + 1);
        rest.truncate(q);
    }
    const int slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return fail(QStringLiteral("The server address %1 names no database "
                                   "(postgresql://USER@HOST:PORT/DBNAME).")
                        .arg(uri));
    ServerAddress address;
    address.databaseName = decoded(rest.mid(slash + 1));
    QString authority = rest.left(slash);
    if (const int at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        if (userInfo.contains(QLatin1Char(':')))
            return fail(PasswordAdvice);
        address.user = decoded(userInfo);
    }
    QString portText;
    if (authority.startsWith(QLatin1Char('['))) { // [IPv6]:port
        const int close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(QStringLiteral("The server address %1 is not complete.").arg(uri));
        address.host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        if (after.startsWith(QLatin1Char(':')))
            portText = after.mid(1);
    } else {
        const int colon = authority.lastIndexOf(QLatin1Char(':'));
        address.host = decoded(colon >= 0 ? authority.left(colon) : authority);
        if (colon >= 0)
            portText = authority.mid(colon + 1);
    }
    if (!portText.isEmpty()) {
        bool number = false;
        address.port = portText.toInt(&number);
        if (!number || address.port < 1 || address.port > 65535)
            return fail(QStringLiteral("The port in the server address %1 is not a number from "
                                       "1 to 65535.")
                            .arg(uri));
    }
    if (address.host.isEmpty())
        return fail(QStringLiteral("The server address %1 names no server "
                                   "(postgresql://USER@HOST:PORT/DBNAME).")
                        .arg(uri));
    if (address.databaseName.isEmpty())
        return fail(QStringLiteral("The server address %1 names no database "
                                   "(postgresql://USER@HOST:PORT/DBNAME).")
                        .arg(uri));
    for (const QString &item : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString key = decoded(item.section(QLatin1Char('='), 0, 0)).trimmed();
        if (key.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0)
            return fail(PasswordAdvice);
        // Only plain client settings; anything that could smuggle another setting in is refused.
        const QString value = decoded(item.section(QLatin1Char('='), 1));
        static const QString allowed = QStringLiteral("abcdefghijklmnopqrstuvwxyz_");
        bool plainKey = !key.isEmpty();
        for (const QChar c : key)
            plainKey = plainKey && allowed.contains(c);
        bool plainValue = true;
        for (const QChar c : value)
            plainValue = plainValue && (c.isLetterOrNumber() || c == QLatin1Char('-') ||
                                        c == QLatin1Char('_') || c == QLatin1Char('.'));
        if (!plainKey || !plainValue)
            return fail(QStringLiteral("The setting %1 in the server address is not understood.")
                            .arg(item));
        address.options << key + QLatin1Char('=') + value;
    }
    return address;
}

QString databaseDisplayName(const QString &database)
{
    if (!isServerDatabase(database))
        return QDir::toNativeSeparators(database);
    const std::optional<ServerAddress> address = parseServerUri(database);
    // An address that cannot be read is shown without what could be a password.
    return address ? address->displayName()
                   : database.section(QLatin1Char('@'), -1).section(QLatin1Char('?'), 0, 0);
}

void setSessionPassword(const QString &uri, const QString &password)
{
    QMutexLocker locker(&passwordLock());
    if (password.isEmpty())
        passwords().remove(uri);
    else
        passwords().insert(uri, password);
}

QString sessionPassword(const QString &uri)
{
    QMutexLocker locker(&passwordLock());
    return passwords().value(uri);
}

} // namespace roadtally
