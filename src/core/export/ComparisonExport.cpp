#include "core/export/ComparisonExport.h"

#include "core/analysis/SurveyComparisonText.h"
#include "core/export/CsvWriter.h"

namespace roadtally {

namespace {

const QString OneDecimal = QStringLiteral("0.0");

ExportCell numberOrText(const std::optional<double> &number, const QString &text,
                        const QString &format = OneDecimal)
{
    if (number)
        return ExportCell::ofNumber(*number, format);
    return text.isEmpty() ? ExportCell::empty() : ExportCell::ofText(text);
}

ExportCell text(const QString &t)
{
    return t.isEmpty() ? ExportCell::empty() : ExportCell::ofText(t);
}

QString period(const SpeedStudy &s)
{
    return s.startDate.isEmpty() ? QString()
                                 : QStringLiteral("%1 to %2").arg(s.startDate, s.stopDate);
}

QString filePrefix(const SurveyComparison &c)
{
    return QStringLiteral("%1 vs %2")
        .arg(c.before.batchNumber.trimmed(), c.after.batchNumber.trimmed());
}

} // namespace

ExportTable comparisonSheet(const SurveyComparison &c)
{
    ExportTable t;
    t.name = QStringLiteral("Comparison");
    t.columns = {{QStringLiteral("Figure")},
                 {QStringLiteral("Before")},
                 {QStringLiteral("After")},
                 {QStringLiteral("Change")},
                 {QStringLiteral("Relative Change (%)")},
                 {QStringLiteral("Test")},
                 {QStringLiteral("Statistic")},
                 {QStringLiteral("p")},
                 {QStringLiteral("Significant")}};
    auto facts = [&](const QString &item, const QString &before, const QString &after) {
        t.addRow({ExportCell::ofText(item), text(before), text(after)});
    };
    facts(QStringLiteral("Survey"), c.before.batchNumber, c.after.batchNumber);
    facts(QStringLiteral("Location"), c.before.location.trimmed(), c.after.location.trimmed());
    facts(QStringLiteral("Period"), period(c.before), period(c.after));
    facts(QStringLiteral("Posted Limit"), c.before.postedLimit.trimmed(),
          c.after.postedLimit.trimmed());
    facts(QStringLiteral("Unit"), c.before.unitText, c.after.unitText);
    facts(QStringLiteral("Vehicles Studied"), comparisonDirectionText(c.direction), QString());

    for (const ComparisonLine &line : comparisonTable(c)) {
        if (line.heading) {
            t.addRow({ExportCell::ofText(line.label)}, true);
            continue;
        }
        const bool share = line.key.contains(QLatin1String("over"));
        const QString format = line.key == QLatin1String("n") || line.key == QLatin1String("adt")
                                   ? QStringLiteral("0")
                                   : OneDecimal;
        QVector<ExportCell> row{
            ExportCell::ofText((line.sub ? QStringLiteral("  ") : QString()) + line.label),
            numberOrText(line.beforeNumber, line.before, format),
            numberOrText(line.afterNumber, line.after, format),
            numberOrText(line.changeNumber, line.change, format),
            line.relativeNumber ? ExportCell::ofNumber(*line.relativeNumber, OneDecimal)
                                : ExportCell::empty(),
            text(line.testName),
            line.statistic
                ? ExportCell::ofNumber(*line.statistic, line.key == QLatin1String("distribution")
                                                            ? QStringLiteral("0.000")
                                                            : QStringLiteral("0.00"))
                : text(line.testName.isEmpty() ? QString() : line.test),
            line.pNumber ? ExportCell::ofNumber(*line.pNumber, QStringLiteral("0.000"))
                         : text(line.p),
            text(line.significant)};
        // Shares' changes are in points; the heading says so once.
        if (share && line.changeNumber)
            row[0] = ExportCell::ofText(row[0].text + QStringLiteral(" (%, change in points)"));
        t.addRow(row);
    }
    if (!c.notes.isEmpty()) {
        t.addRow({ExportCell::ofText(QStringLiteral("Notes"))}, true);
        for (const QString &note : c.notes)
            t.addNote({ExportCell::ofText(note)});
    }
    return t;
}

QString defaultComparisonName(const SurveyComparison &c)
{
    return filePrefix(c) + QStringLiteral(".xlsx");
}

ExportWriteResult exportComparisonWorkbook(const SurveyComparison &c, const QString &file)
{
    WorkbookOptions options;
    options.title = QStringLiteral("Before and after: %1").arg(filePrefix(c));
    return writeWorkbook({comparisonSheet(c)}, file, options);
}

ExportWriteResult exportComparisonCsv(const SurveyComparison &c, const QString &folder)
{
    return writeCsvFiles({comparisonSheet(c)}, folder, filePrefix(c) + u' ');
}

} // namespace roadtally
