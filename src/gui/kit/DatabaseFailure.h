#pragma once
// The one way a window tells that the survey database failed: the file, what
// was being done, and what is wrong with it in the words of its kind of fault.

#include "core/store/DatabaseSession.h"

#include <QString>

#include <functional>

class QWidget;

namespace roadtally::kit {

enum class DatabaseAccess { Read, Write };

// "The survey database C:\...\OV97.mdb could not be read: it is damaged."
QString databaseFailureText(const QString &databasePath, DatabaseAccess access, DatabaseFault fault,
                            const QString &detail);

// Tells the failure (a notice: a view goes on showing what it showed).
void tellDatabaseFailure(QWidget *parent, const QString &databasePath, DatabaseAccess access,
                         DatabaseFault fault, const QString &detail);
// The same for a session that did not open and for a failed operation.
void tellDatabaseFailure(QWidget *parent, const DatabaseSession &unopened,
                         const QString &databasePath, DatabaseAccess access);
void tellDatabaseFailure(QWidget *parent, const DatabaseError &error, const QString &databasePath,
                         DatabaseAccess access);

// Runs work on a session of the survey database of the program folder. When
// the database cannot be opened or work throws DatabaseError, the user is told
// and false is returned.
bool withSurveyDatabase(QWidget *parent, const std::function<void(DatabaseSession &)> &work,
                        DatabaseAccess access = DatabaseAccess::Read);

} // namespace roadtally::kit
