#pragma once
// Writes export tables to an Excel workbook (.xlsx) with native charts:
// numbers as numbers, dates and times with their formats, the header row bold
// and frozen, columns as wide as their contents. Rows are streamed to the file
// as they are made, so a long table costs no more memory than a short one.

#include "core/export/ExportTable.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

// Excel's rows per sheet, the header row included.
inline constexpr qint64 ExcelRowLimit = 1048576;

struct WorkbookOptions
{
    // Rows per sheet, the header included; a longer table goes on in further
    // sheets named "<name> (2)", "<name> (3)", each with the header again.
    qint64 rowsPerSheet = ExcelRowLimit;
    QString title; // the workbook's document title
};

// What a write produced, or why it failed.
struct ExportWriteResult
{
    QString error;      // "" when everything was written
    QStringList files;  // the files written, in order
    QStringList sheets; // the workbook's sheets, in order (CSV: the tables)
    qint64 rows = 0;    // data rows written, headers not counted

    bool ok() const { return error.isEmpty(); }
};

// Writes the tables, one sheet each (more for a long one), to path. The file
// appears under that name only when the whole workbook was written; an
// existing file is replaced then and left alone on failure.
ExportWriteResult writeWorkbook(const QVector<ExportTable> &tables, const QString &path,
                                const WorkbookOptions &options = {});

// The days since 1899-12-30 that Excel stores for a date.
double excelDateNumber(const QDate &date);

} // namespace roadtally
