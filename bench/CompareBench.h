#pragma once
// The before-and-after comparison part of roadtally-bench.

#include <QString>

namespace roadtally {

// Child mode: argv is "program --compare-window-child FOLDER BEFORE AFTER".
int compareWindowChild(int argc, char *argv[]);
// Imports two surveys of `vehicles` vehicles each into workFolder, then times
// the comparison window and roadtally-cli compare on them.
int benchCompare(const QString &workFolder, int vehicles, int repeats);

} // namespace roadtally
