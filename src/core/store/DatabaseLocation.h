#pragma once
// Where the survey database is: the one-file database (a path) or an agency's
// PostgreSQL server, written as postgresql://USER@HOST:PORT/DBNAME. Passwords
// are never part of it: the client library's password file, PGPASSWORD or a
// password the user typed for this session supply them.

#include <QString>
#include <QStringList>

#include <optional>

namespace roadtally {

// The schema that holds the survey tables on a server.
inline constexpr const char *ServerSchema = "roadtally";

// True for a server connection URI (postgresql:// or postgres://).
bool isServerDatabase(const QString &database);

struct ServerAddress
{
    QString user; // empty: the client library's default
    QString host; // a name, an address, or a folder holding the server's socket
    int port = 5432;
    QString databaseName;
    QStringList options; // further client settings from the URI's query ("sslmode=require")

    // The URI, never with a password.
    QString uri() const;
    // "DBNAME on HOST:PORT", for messages and the status bar.
    QString displayName() const;
};

// Reads a server URI. On a fault returns nothing and says why in *error; a URI
// holding a password is refused with advice to use the password file.
std::optional<ServerAddress> parseServerUri(const QString &uri, QString *error = nullptr);

// What a message or the status bar calls the database: the file's path, or
// "DBNAME on HOST:PORT".
QString databaseDisplayName(const QString &database);

// A password the user typed for a server, kept in this process's memory only
// (never written anywhere) until the program ends. Empty clears it.
void setSessionPassword(const QString &uri, const QString &password);
QString sessionPassword(const QString &uri);

} // namespace roadtally
