#pragma once
// Exporting a before-and-after comparison: its "Comparison" sheet in a
// workbook, or the same table as a CSV file. The comparison window calls these.

#include "core/analysis/SurveyComparison.h"
#include "core/export/ExportTable.h"
#include "core/export/WorkbookWriter.h"

#include <QString>

namespace roadtally {

// "Comparison": the two surveys' facts, then one row per figure (before,
// after, change, relative change, test, statistic, p, significant), numbers
// as numbers, then the notes.
ExportTable comparisonSheet(const SurveyComparison &comparison);

// The file name a save dialog offers: "052425-A vs 071225-A.xlsx".
QString defaultComparisonName(const SurveyComparison &comparison);

// Writes the sheet to the workbook file; nothing is left under the name on failure.
ExportWriteResult exportComparisonWorkbook(const SurveyComparison &comparison, const QString &file);
// Writes the sheet as "<before> vs <after> Comparison.csv" into folder.
ExportWriteResult exportComparisonCsv(const SurveyComparison &comparison, const QString &folder);

} // namespace roadtally
