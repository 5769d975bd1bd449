#pragma once
// The speeding profile list part of roadtally-bench.

#include <QList>
#include <QString>

namespace roadtally {

// Child mode: argv is "program --profile-list-child FOLDER BATCH".
int profileListChild(int argc, char *argv[]);
// Makes a survey per size (speeding vehicles) in workFolder and times the window on it.
int benchProfileList(const QString &workFolder, const QList<int> &sizes, int repeats);

} // namespace roadtally
