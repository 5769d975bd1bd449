#pragma once
// The speeding profile list part of roadtally-bench.

#include <QList>
#include <QString>

namespace roadtally {

// Makes a folder whose database holds one survey with about `speeding` vehicles
// over its limit; returns its batch number (stored: the exact count), "" on failure.
QString makeProfileSurvey(const QString &folder, int speeding, int &stored);

// Child mode: argv is "program --profile-list-child FOLDER BATCH".
int profileListChild(int argc, char *argv[]);
// Makes a survey per size (speeding vehicles) in workFolder and times the window on it.
int benchProfileList(const QString &workFolder, const QList<int> &sizes, int repeats);

} // namespace roadtally
