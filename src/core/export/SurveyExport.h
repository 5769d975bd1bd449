#pragma once
// Exporting one stored survey: to an Excel workbook with native charts, or to
// CSV files, one per sheet. The File menu and roadtally-cli both call these.

#include "core/export/ExportTable.h"
#include "core/export/WorkbookWriter.h"
#include "core/store/DatabaseSession.h"

#include <QString>
#include <QVector>

namespace roadtally {

// The survey's tables in sheet order: "Survey", "Speeds", "15 Minute",
// "Daily Volume", "Weekly", "Speeding", "Speed Study" (none when there is no
// such survey). The long "Speeding" table reads its rows through the session
// while it is written, so keep the session open until then. Throws
// DatabaseError when a query fails.
QVector<ExportTable> surveyExportTables(DatabaseSession &session, const QString &batch);

// The file name the save dialog offers: the batch number and ".xlsx".
QString defaultWorkbookName(const QString &batch);

// Writes the survey of that batch number in the database at databasePath to
// the workbook file. On failure (no database, no such survey, an unwritable
// file, a full disk) error names what failed, and no file is left under the
// chosen name (an existing one is left as it was).
ExportWriteResult exportSurveyWorkbook(const QString &databasePath, const QString &batch,
                                       const QString &file);

// Writes the survey's tables as CSV files into folder, named after the batch
// number and the sheet ("052425-A Survey.csv"). The files appear only when all
// of them were written.
ExportWriteResult exportSurveyCsv(const QString &databasePath, const QString &batch,
                                  const QString &folder);

} // namespace roadtally
