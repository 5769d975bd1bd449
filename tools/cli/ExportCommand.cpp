// roadtally-cli export: a stored survey to an Excel workbook or to CSV files.
#include "Commands.h"
#include "ProgressLine.h"

#include "core/export/SurveyExport.h"

#include <QDir>
#include <QFileInfo>

namespace roadtally {

ExitCode exportCommand(const Invocation &invocation)
{
    const bool xlsx = invocation.has(QStringLiteral("xlsx"));
    const bool csv = invocation.has(QStringLiteral("csv"));
    if (xlsx == csv)
        return invocation.usage(QStringLiteral("give either --xlsx OUT.xlsx or --csv OUTDIR"));
    const QString target = invocation.value(xlsx ? QStringLiteral("xlsx") : QStringLiteral("csv"));
    if (target.isEmpty())
        return invocation.usage(xlsx ? QStringLiteral("--xlsx needs a file name")
                                     : QStringLiteral("--csv needs a folder"));

    const QString database = invocation.database();
    if (database.isEmpty())
        return ExitCode::Failure;
    // The folder that receives the files is made when missing.
    const QString outFolder = csv ? target : QFileInfo(target).absolutePath();
    if (!QFileInfo(outFolder).isDir() && !QDir().mkpath(outFolder))
        return invocation.fail(
            QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(outFolder)));
    const QString batch = invocation.value(QStringLiteral("batch"));
    ExportWriteResult result;
    {
        ProgressLine line(
            invocation.err, invocation.progress,
            QStringLiteral("Exporting %1 to %2").arg(batch, QFileInfo(target).fileName()));
        result = xlsx ? exportSurveyWorkbook(database, batch, target)
                      : exportSurveyCsv(database, batch, target);
    }
    if (!result.ok())
        return invocation.fail(result.error);
    if (xlsx) {
        invocation.out << "Workbook written: " << QDir::toNativeSeparators(target) << "\n"
                       << "Sheets: " << result.sheets.join(QStringLiteral(", ")) << "\n";
    } else {
        invocation.out << "CSV files written:\n";
        for (const QString &file : result.files)
            invocation.out << "  " << QDir::toNativeSeparators(file) << "\n";
    }
    invocation.out << "Rows: " << result.rows << "\n";
    return ExitCode::Success;
}

} // namespace roadtally
