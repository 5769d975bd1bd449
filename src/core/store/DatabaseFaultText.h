#pragma once
// The words for what is wrong with a survey database, one wording per kind of
// fault, shared by the import, the windows and the command-line tool.

#include "core/store/DatabaseSession.h"

#include <QString>

namespace roadtally {

// What is wrong with the database ("it is damaged"), to follow "could not be
// read: " or "could not be written: ". busyTimeoutMs, when given, says how long
// a busy database was waited for. Other has no words of its own: the engine's
// text says what, and detail is returned.
QString databaseFaultReason(DatabaseFault fault, int busyTimeoutMs = 0,
                            const QString &detail = QString());

// What the user can do about the fault, as one or two sentences that follow
// the failure's own sentence. On a server the administrator, not this
// computer, answers for the database.
QString databaseFaultAdvice(DatabaseFault fault, bool server = false);

} // namespace roadtally
