#pragma once
// Writes a whole document as a PDF file, US Letter portrait, vector text and
// lines. The file is written under a temporary name and renamed when complete,
// so a failure never leaves a half-written file behind.

#include "core/reports/Document.h"

#include <QIODevice>
#include <QString>

namespace roadtally {

// Returns "" when the file was written, else the reason it was not.
QString writePdf(const Document &document, const QString &path, const QString &title = QString());
// The same onto an open device (for callers with a device of their own).
bool writePdf(const Document &document, QIODevice *device, const QString &title = QString());

} // namespace roadtally
