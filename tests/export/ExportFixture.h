#pragma once
// A survey for the export tests: a generated raw data file imported the way
// roadtally-cli imports it, into a blank database in a temporary folder, and
// helpers that compare an export table with what a written file holds.

#include "CsvReader.h"
#include "XlsxReader.h"

#include "SampleSurvey.h"
#include "export/ExportTable.h"
#include "export/WorkbookWriter.h"
#include "intake/ImportRequest.h"
#include "intake/VehicleImport.h"
#include "store/Schema.h"
#include "store/SharedState.h"

#include <QDir>
#include <QString>

#include <cmath>

namespace roadtally::testing {

// A location that needs quoting in a CSV file: a comma, quotes and a line break.
inline const QString AwkwardLocation = QStringLiteral("Maple Avenue, north of \"5th\"\nnear the school");

struct ImportedSurvey
{
    QString database;
    QString batch;
    QString error; // "" when the survey was stored
};

// Writes a blank database into folder and imports the raw data file into it.
inline ImportedSurvey importFile(const QString &folder, const QString &file, const QString &unit,
                                 const QString &location = AwkwardLocation)
{
    ImportedSurvey s;
    s.database = databasePathIn(folder);
    if (const QString e = createBlankDatabase(s.database); !e.isEmpty()) {
        s.error = e;
        return s;
    }
    const LoadResult loaded = loadRawDataPath(file);
    ImportRequest request;
    request.location = location;
    request.direction = QStringLiteral("North");
    request.zone = QStringLiteral("School");
    request.unit = unit;
    const ImportInput input = buildImportInput(loaded.text, request);
    const ImportResult result = importSurvey(s.database, input);
    if (result.outcome != ImportOutcome::Stored)
        s.error = importMessage(result.outcome) + QLatin1Char(' ') + result.detail;
    s.batch = input.batchNumber;
    return s;
}

// The same with a generated survey.
inline ImportedSurvey importSample(const QString &folder, const SampleOptions &options,
                                   const QString &location = AwkwardLocation)
{
    const QString file = QDir(folder).filePath(QStringLiteral("sample.ovd"));
    if (const QString e = writeSampleSurvey(generateSampleSurvey(options), file); !e.isEmpty())
        return {QString(), QString(), e};
    return importFile(folder, file, options.kph ? QStringLiteral("KPH") : QStringLiteral("MPH"), location);
}

// Why a workbook cell does not hold the table's cell ("" when it does).
inline QString workbookCellMismatch(const XlsxBook &book, const XlsxSheet &sheet, int row, int column,
                                    const ExportCell &expected)
{
    const QString ref = XlsxBook::reference(row, column);
    const QString where = QStringLiteral("%1!%2").arg(sheet.name, ref);
    if (expected.isEmpty())
        return sheet.has(ref) ? QStringLiteral("%1 should be empty, holds %2").arg(where, sheet.cell(ref).value)
                              : QString();
    if (!sheet.has(ref))
        return QStringLiteral("%1 is missing (expected %2)").arg(where, expected.plainText());
    const XlsxCell cell = sheet.cell(ref);
    const QString format = book.style(cell.style).numberFormat;
    auto number = [&](double value, const QString &wantFormat) -> QString {
        if (cell.type != QLatin1String("n"))
            return QStringLiteral("%1 is of type %2, not a number").arg(where, cell.type);
        if (std::fabs(cell.value.toDouble() - value) > 1e-9)
            return QStringLiteral("%1 holds %2, expected %3").arg(where, cell.value).arg(value, 0, 'g', 15);
        if (format != wantFormat)
            return QStringLiteral("%1 has format \"%2\", expected \"%3\"").arg(where, format, wantFormat);
        return QString();
    };
    switch (expected.type) {
    case ExportCell::Type::Empty:
        break;
    case ExportCell::Type::Number:
        return number(expected.number, expected.format);
    case ExportCell::Type::Date:
        return number(excelDateNumber(expected.date), expected.format);
    case ExportCell::Type::Time:
        return number(expected.time.msecsSinceStartOfDay() / 86400000.0, expected.format);
    case ExportCell::Type::Text:
        if (cell.type != QLatin1String("inlineStr") && cell.type != QLatin1String("s"))
            return QStringLiteral("%1 is of type %2, not a text").arg(where, cell.type);
        // The workbook keeps Excel's line break (LF) alone.
        if (cell.value != QString(expected.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
            return QStringLiteral("%1 holds \"%2\", expected \"%3\"").arg(where, cell.value, expected.text);
        break;
    }
    return QString();
}

} // namespace roadtally::testing
