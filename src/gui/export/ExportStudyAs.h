#pragma once
// File > Export Study As....: asks where to write the shown survey (a workbook
// file, or a folder for CSV files), writes it with the busy pointer, and says
// what was written or why nothing was.

#include "core/export/WorkbookWriter.h"

#include <QString>

class QWidget;

namespace roadtally {

enum class ExportKind { Excel, Csv };

// "Excel Spreadsheet": a save dialog offering the batch number + ".xlsx" in
// the program folder; "CSV Files": a folder dialog. Cancelling writes nothing.
void exportStudyAs(QWidget *parent, const QString &databasePath, const QString &batch,
                   ExportKind kind);

// The same once the target is chosen (the workbook file, or the folder for
// CSV): writes, then shows the message. A workbook name without a suffix gets
// ".xlsx". An empty target (a cancelled dialog) does nothing.
ExportWriteResult exportStudyTo(QWidget *parent, const QString &databasePath, const QString &batch,
                                ExportKind kind, const QString &target);

// The message after a write: what was written, or why nothing was.
QString exportStudyMessage(const ExportWriteResult &result, const QString &batch, ExportKind kind,
                           const QString &target);

} // namespace roadtally
