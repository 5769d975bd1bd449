#pragma once
// Writes export tables as CSV files (RFC 4180, UTF-8, CRLF line ends): one file
// per table, the header row first. A field with a comma, a quote or a line
// break is quoted, its quotes doubled.

#include "core/export/ExportTable.h"
#include "core/export/WorkbookWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace roadtally {

// One field as it stands in the file.
QByteArray csvField(const QString &value);
// A cell's value as the CSV file holds it: plainText(), except that a text
// which a spreadsheet would take for a formula ("=HYPERLINK(...)", "+1+2",
// "@SUM(...)", "-2+3") gets a leading apostrophe, so a location or zone typed
// into a survey cannot run as a formula where the file is opened. Numbers,
// dates and times are never touched (a negative number stays a number), nor is
// a text that is a plain number or a lone sign (the direction "-").
QString csvCellText(const ExportCell &cell);

// One record: the fields joined by commas, ended by CRLF.
QByteArray csvRecord(const QStringList &values);

// The file name of a table: the prefix, the table's name and ".csv", with the
// characters a file name cannot hold replaced by "_".
QString csvFileName(const QString &prefix, const ExportTable &table);

// Writes every table into folder as csvFileName(prefix, table). Each file is
// written under a temporary name first; the files are put in place only when
// all of them are complete, so a failure leaves none of them half written and
// replaces nothing.
ExportWriteResult writeCsvFiles(const QVector<ExportTable> &tables, const QString &folder,
                                const QString &prefix = QString());

} // namespace roadtally
