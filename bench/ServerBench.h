#pragma once
// The import into an agency's server next to psql's \copy of the same rows.

#include <QList>
#include <QString>

namespace roadtally {

// Starts a throwaway server in work, then for each size imports a generated
// 14-day survey (in a child process, "--import-child FILE URI") into a fresh
// database, and times psql's \copy of the rows that import stored into another
// fresh database. Prints a table; returns 0 when every run worked.
int benchServer(const QString &work, const QList<int> &sizes, int repeats);

} // namespace roadtally
