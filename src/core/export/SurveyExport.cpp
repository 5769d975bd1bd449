#include "core/export/SurveyExport.h"

#include "core/analysis/SurveyCaptions.h"
#include "core/export/CsvWriter.h"
#include "core/export/SurveySheets.h"
#include "core/store/DatabaseFaultText.h"
#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDates.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace roadtally {

namespace {

QString trimmedBatch(const QString &batch)
{
    // Batch numbers compare without their trailing blanks (the survey list pads them).
    QString b = batch;
    while (b.endsWith(QLatin1Char(' ')))
        b.chop(1);
    return b;
}

using Writer = std::function<ExportWriteResult(const QVector<ExportTable> &)>;

ExportWriteResult exportSurvey(const QString &databasePath, const QString &batch,
                               const Writer &write)
{
    ExportWriteResult result;
    const QString b = trimmedBatch(batch);
    if (b.isEmpty()) {
        result.error = QStringLiteral("No survey is chosen.");
        return result;
    }
    if (!isServerDatabase(databasePath) && !QFileInfo(databasePath).isFile()) {
        result.error = QStringLiteral("There is no survey database %1.")
                           .arg(QDir::toNativeSeparators(databasePath));
        return result;
    }
    try {
        DatabaseSession session(databasePath);
        session.requireOpen();
        if (!readSurveyCaptions(session, b)) {
            result.error = QStringLiteral("There is no survey with batch number %1 in %2.")
                               .arg(b, databaseDisplayName(databasePath));
            return result;
        }
        return write(surveyExportTables(session, b));
    } catch (const DatabaseError &e) {
        // Words and advice, as every window tells a database failure.
        result.error = QStringLiteral("The survey database %1 could not be read: %2.\n\n%3")
                           .arg(databaseDisplayName(databasePath), databaseFaultReason(e.fault()),
                                databaseFaultAdvice(e.fault()));
        result.sheets.clear();
        return result;
    }
}

} // namespace

QVector<ExportTable> surveyExportTables(DatabaseSession &session, const QString &batch)
{
    const std::optional<SurveyCaptions> survey = readSurveyCaptions(session, trimmedBatch(batch));
    if (!survey)
        return {};
    const QStringList dates = surveyDates(session, survey->batch());
    return {surveySheet(*survey),
            speedsSheet(session, *survey),
            fifteenMinuteSheet(session, *survey, dates),
            dailyVolumeSheet(session, *survey, dates),
            weeklySheet(session, *survey),
            speedingSheet(session, *survey),
            speedStudySheet(session, *survey)};
}

QString defaultWorkbookName(const QString &batch)
{
    return trimmedBatch(batch).trimmed() + QStringLiteral(".xlsx");
}

ExportWriteResult exportSurveyWorkbook(const QString &databasePath, const QString &batch,
                                       const QString &file)
{
    return exportSurvey(databasePath, batch, [&](const QVector<ExportTable> &tables) {
        WorkbookOptions options;
        options.title = QStringLiteral("Survey %1").arg(trimmedBatch(batch));
        return writeWorkbook(tables, file, options);
    });
}

ExportWriteResult exportSurveyCsv(const QString &databasePath, const QString &batch,
                                  const QString &folder)
{
    return exportSurvey(databasePath, batch, [&](const QVector<ExportTable> &tables) {
        return writeCsvFiles(tables, folder, trimmedBatch(batch).trimmed() + QLatin1Char(' '));
    });
}

} // namespace roadtally
