#pragma once
// Report figures of roadtally-bench: building each report, writing its PDF,
// the report command as a whole process, and the speeding profile of 2,000 to
// 200,000 rows.

#include <QString>

namespace roadtally {

// Child mode: lays out and writes the speeding profile of that many rows;
// prints "build-seconds pdf-seconds pages peak-kB".
int profileChild(int rows, const QString &pdf);

// Runs the report figures on the survey stored in folder (its first batch).
bool measureReports(const QString &folder, int repeats);

} // namespace roadtally
