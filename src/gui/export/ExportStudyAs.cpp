#include "gui/export/ExportStudyAs.h"

#include "core/export/SurveyExport.h"
#include "gui/kit/BusyPointer.h"
#include "gui/kit/Message.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace roadtally {

namespace {

QString startFolder(const QString &databasePath)
{
    const QFileInfo database(databasePath);
    return database.absoluteDir().exists() ? database.absolutePath() : QDir::homePath();
}

QString workbookPath(const QString &target)
{
    // The dialog adds the suffix on most desktops; a typed name without one still gets it.
    if (QFileInfo(target).suffix().isEmpty())
        return target + QStringLiteral(".xlsx");
    return target;
}

} // namespace

QString exportStudyMessage(const ExportWriteResult &result, const QString &batch, ExportKind kind,
                           const QString &target)
{
    const QString b = batch.trimmed();
    if (!result.ok())
        return QStringLiteral("The survey %1 was not exported; nothing was written.\n\n%2")
            .arg(b, result.error);
    if (kind == ExportKind::Excel)
        return QStringLiteral("The survey %1 was written to the workbook\n%2\n(%3 sheets: %4).")
            .arg(b, QDir::toNativeSeparators(result.files.value(0, target)))
            .arg(result.sheets.size())
            .arg(result.sheets.join(QStringLiteral(", ")));
    QStringList names;
    for (const QString &file : result.files)
        names << QFileInfo(file).fileName();
    return QStringLiteral("The survey %1 was written as %2 CSV files in\n%3:\n\n%4")
        .arg(b)
        .arg(result.files.size())
        .arg(QDir::toNativeSeparators(target), names.join(QLatin1Char('\n')));
}

ExportWriteResult exportStudyTo(QWidget *parent, const QString &databasePath, const QString &batch,
                                ExportKind kind, const QString &target)
{
    if (target.isEmpty())
        return {};
    ExportWriteResult result;
    const QString path = kind == ExportKind::Excel ? workbookPath(target) : target;
    {
        kit::BusyPointer busy;
        result = kind == ExportKind::Excel ? exportSurveyWorkbook(databasePath, batch, path)
                                           : exportSurveyCsv(databasePath, batch, path);
    }
    kit::notice(parent, exportStudyMessage(result, batch, kind, path),
                result.ok() ? QMessageBox::Information : QMessageBox::Warning);
    return result;
}

void exportStudyAs(QWidget *parent, const QString &databasePath, const QString &batch,
                   ExportKind kind)
{
    if (batch.trimmed().isEmpty()) {
        kit::notice(parent, QStringLiteral("No survey is shown: open a survey to export it."));
        return;
    }
    QString target;
    if (kind == ExportKind::Excel) {
        QFileDialog dialog(parent, QStringLiteral("Excel Spreadsheet"), startFolder(databasePath),
                           QStringLiteral("Excel Workbook (*.xlsx)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("xlsx"));
        dialog.selectFile(defaultWorkbookName(batch));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        target = dialog.selectedFiles().constFirst();
    } else {
        target = QFileDialog::getExistingDirectory(parent, QStringLiteral("CSV Files"),
                                                   startFolder(databasePath));
    }
    exportStudyTo(parent, databasePath, batch, kind, target);
}

} // namespace roadtally
