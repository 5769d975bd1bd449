// roadtally-cli export: a stored survey to an Excel workbook or to CSV files.
#include "CliArguments.h"
#include "Commands.h"

#include "core/export/SurveyExport.h"
#include "core/store/SharedState.h"

#include <QDir>
#include <QFileInfo>

namespace roadtally {

namespace {

const QVector<OptionSpec> &exportOptions()
{
    static const QVector<OptionSpec> specs = {
        {QStringLiteral("folder"), 1, QStringLiteral("DIR"),
         QStringLiteral("the program folder that holds OV97.mdb")},
        {QStringLiteral("batch"), 1, QStringLiteral("B"),
         QStringLiteral("batch number of the survey, e.g. 052425-A")},
        {QStringLiteral("xlsx"), 1, QStringLiteral("OUT.xlsx"),
         QStringLiteral("write an Excel workbook to this file")},
        {QStringLiteral("csv"), 1, QStringLiteral("OUTDIR"),
         QStringLiteral("write one CSV file per sheet into this folder")},
    };
    return specs;
}

QString help()
{
    return QStringLiteral(
               "Usage: roadtally-cli export --folder DIR --batch B (--xlsx OUT.xlsx | --csv "
               "OUTDIR)\n"
               "\n"
               "Writes the survey B stored in DIR/OV97.mdb to an Excel workbook with the sheets\n"
               "Survey, Speeds, 15 Minute, Daily Volume, Weekly, Speeding (continued on further\n"
               "sheets past Excel's row limit) and Speed Study, or to one CSV file per sheet "
               "named\n"
               "after the batch number (\"052425-A Survey.csv\"). The output folder is made when\n"
               "missing. A file appears only when it is complete; an existing file is replaced\n"
               "then.\n\nOptions:\n") +
           optionHelp(exportOptions());
}

int usage(QTextStream &err, const QString &problem)
{
    err << "roadtally-cli export: " << problem
        << "\n(roadtally-cli export --help shows the options)\n";
    return 2;
}

} // namespace

int exportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const ParsedArguments args = parseArguments(arguments, exportOptions());
    if (args.help) {
        out << help();
        return 0;
    }
    if (!args.error.isEmpty())
        return usage(err, args.error);
    if (!args.positional.isEmpty())
        return usage(err, QStringLiteral("unexpected argument %1").arg(args.positional.first()));
    const QString folder = args.value(QStringLiteral("folder"));
    const QString batch = args.value(QStringLiteral("batch"));
    if (folder.isEmpty())
        return usage(err, QStringLiteral("missing --folder DIR"));
    if (batch.trimmed().isEmpty())
        return usage(err, QStringLiteral("missing --batch B"));
    const bool xlsx = args.has(QStringLiteral("xlsx"));
    const bool csv = args.has(QStringLiteral("csv"));
    if (xlsx == csv)
        return usage(err, QStringLiteral("give either --xlsx OUT.xlsx or --csv OUTDIR"));
    const QString target = args.value(xlsx ? QStringLiteral("xlsx") : QStringLiteral("csv"));
    if (target.isEmpty())
        return usage(err, xlsx ? QStringLiteral("--xlsx needs a file name")
                               : QStringLiteral("--csv needs a folder"));

    QString database = existingDatabase(folder);
    if (database.isEmpty())
        database = databasePathIn(folder);
    // The folder that receives the files is made when missing.
    const QString outFolder = csv ? target : QFileInfo(target).absolutePath();
    if (!QFileInfo(outFolder).isDir() && !QDir().mkpath(outFolder)) {
        err << "roadtally-cli export: cannot make the folder "
            << QDir::toNativeSeparators(outFolder) << "\n";
        return 1;
    }
    const ExportWriteResult result = xlsx ? exportSurveyWorkbook(database, batch, target)
                                          : exportSurveyCsv(database, batch, target);
    if (!result.ok()) {
        err << "roadtally-cli export: " << result.error << "\n";
        return 1;
    }
    if (xlsx) {
        out << "Workbook written: " << QDir::toNativeSeparators(target) << "\n"
            << "Sheets: " << result.sheets.join(QStringLiteral(", ")) << "\n";
    } else {
        out << "CSV files written:\n";
        for (const QString &file : result.files)
            out << "  " << QDir::toNativeSeparators(file) << "\n";
    }
    out << "Rows: " << result.rows << "\n";
    return 0;
}

} // namespace roadtally
