#pragma once
// Brings a raw data file from anywhere (Downloads, a USB stick) into the survey
// folder, where the data file window lists it. The file is copied, never moved.

#include <QString>

namespace roadtally {

struct DataFileCopy
{
    enum Outcome {
        Copied,    // now in the folder under its own name
        Identical, // a file of that name and content was there already
        NameTaken, // a file of that name but other content is there: ask, then replace
        Failed,    // nothing copied; message says why
    };
    Outcome outcome = Failed;
    QString name;    // the file's name in the folder
    QString message; // Failed: the data file window's message
};

// Copies source into folder under its own name. A different file of that name
// is replaced only when replace is true; it then changes in one step.
DataFileCopy copyDataFileInto(const QString &source, const QString &folder, bool replace = false);

} // namespace roadtally
