#pragma once
// The user's choice of survey database, remembered per user: the database on
// this computer (the survey folder's file) or the agency server. Never a
// password: the client library's password file or a prompt supplies it.

#include <QString>

namespace roadtally {

struct DatabaseChoice
{
    bool server = false; // "Agency server"; false: "This computer"
    QString host;
    int port = 5432;
    QString databaseName;
    QString user;

    // The server's URI ("" when the choice is this computer or the server
    // fields are incomplete).
    QString uri() const;
    // The fields of a server URI (server set); nothing changes on a bad URI.
    static DatabaseChoice fromUri(const QString &uri);

    // The user's settings (QSettings, organisation and application "Roadtally").
    static DatabaseChoice load();
    void save() const;
};

// The server database the programs start with: ROADTALLY_DATABASE when set,
// else the remembered choice; "" for the database on this computer.
QString startupServerDatabase();

// Connects to the server and asks for the survey tables: "" when all is well,
// otherwise the reason naming the server.
QString testServerConnection(const QString &uri);

} // namespace roadtally
