#pragma once
// The speeding profile report on surveys with many speeding vehicles: the print
// preview showing its first page, and roadtally-cli writing every page as PDF.

#include <QList>
#include <QString>

namespace roadtally {

// Child mode: argv is "program --profile-preview-child FOLDER BATCH"; prints
// "seconds pages peak-kB" for the preview from showReport() to page 1 painted.
int profilePreviewChild(int argc, char *argv[]);
// Makes a survey per size (speeding vehicles) in workFolder and times both.
int benchProfileReports(const QString &workFolder, const QList<int> &sizes, int repeats);

} // namespace roadtally
