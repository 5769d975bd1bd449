#pragma once
// The one way a window tells that the survey database failed: a sentence naming
// the database and what is wrong with it in words, then what the user can do;
// the engine's own text only under the message's "Details".

#include "core/store/DatabaseSession.h"

#include <QString>

#include <functional>

class QWidget;

namespace roadtally::kit {

enum class DatabaseAccess { Read, Write };

// "The survey database C:\...\OV97.mdb could not be read: it is damaged."
QString databaseFailureText(const QString &databasePath, DatabaseAccess access,
                            DatabaseFault fault);

// The message's text: sentence (what failed, naming the database and the
// reason in words), then the advice for the kind of fault (for a server
// database when server is true).
QString databaseFailureMessage(const QString &sentence, DatabaseFault fault, bool server = false);

// How the message is shown: a notice lets a view go on showing what it showed;
// a window that acts after the message waits for it.
enum class Shown { Notice, Wait };

// Tells a failure in the one way: sentence with the advice for fault, and
// detail (the engine's words) under "Details".
void tellDatabaseFailure(QWidget *parent, const QString &sentence, DatabaseFault fault,
                         const QString &detail, Shown shown = Shown::Notice, bool server = false);
// The same worded from the database and what was being done.
void tellDatabaseFailure(QWidget *parent, const QString &databasePath, DatabaseAccess access,
                         DatabaseFault fault, const QString &detail, Shown shown = Shown::Notice);
// The same for a session that did not open and for a failed operation.
void tellDatabaseFailure(QWidget *parent, const DatabaseSession &unopened,
                         const QString &databasePath, DatabaseAccess access,
                         Shown shown = Shown::Notice);
void tellDatabaseFailure(QWidget *parent, const DatabaseError &error, const QString &databasePath,
                         DatabaseAccess access, Shown shown = Shown::Notice);

// Runs work on a session of the survey database of the program folder. When
// the database cannot be opened or work throws DatabaseError, the user is told
// and false is returned.
bool withSurveyDatabase(QWidget *parent, const std::function<void(DatabaseSession &)> &work,
                        DatabaseAccess access = DatabaseAccess::Read);

} // namespace roadtally::kit
