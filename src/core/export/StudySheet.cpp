// The speed zone study sheet of a survey export: the study of each direction
// side by side, its numbers as numbers and its "N/A" and catch-all forms
// ("73 or more") as the study shows them.
#include "core/export/SurveySheets.h"

#include "core/analysis/SpeedStudy.h"

#include <array>
#include <functional>

namespace roadtally {

namespace {

const QString OneDecimal = QStringLiteral("0.0");

ExportCell studyCell(const StudyValue &value, const QString &format = QString())
{
    return value.isNumber() ? ExportCell::ofNumber(*value.number, format) : textCell(value.text);
}

} // namespace

ExportTable speedStudySheet(DatabaseSession &session, const SurveyCaptions &survey)
{
    ExportTable t;
    t.name = QStringLiteral("Speed Study");
    t.columns = {{QStringLiteral("Speed Study")},
                 {QStringLiteral("All Vehicles")},
                 {QStringLiteral("Approaching")},
                 {QStringLiteral("Receding")}};
    const std::array<SurveyDirection, 3> directions = {
        SurveyDirection::Both, SurveyDirection::Approaching, SurveyDirection::Receding};
    std::array<SpeedStudy, 3> studies;
    for (size_t i = 0; i < directions.size(); ++i)
        studies[i] = loadSpeedStudy(session, survey.batch(), directions[i]);

    auto add = [&](const QString &item, const std::function<ExportCell(const SpeedStudy &)> &cell) {
        QVector<ExportCell> row{ExportCell::ofText(item)};
        for (const SpeedStudy &s : studies)
            row << cell(s);
        t.addRow(row);
    };
    auto heading = [&](const QString &item) { t.addRow({ExportCell::ofText(item)}, true); };

    const QString unit = studies[0].unitText;
    const QString inUnit = unit.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(unit);
    add(QStringLiteral("Vehicles"), [](const SpeedStudy &s) { return studyCell(s.vehicles); });
    add(QStringLiteral("Mean Speed") + inUnit,
        [](const SpeedStudy &s) { return studyCell(s.mean, OneDecimal); });
    add(QStringLiteral("Standard Deviation") + inUnit,
        [](const SpeedStudy &s) { return studyCell(s.sd, OneDecimal); });
    add(QStringLiteral("Modal Speed") + inUnit,
        [](const SpeedStudy &s) { return studyCell(s.modal); });
    for (size_t p = 0; p < studies[0].percentiles.size(); ++p) {
        const int level = studies[0].percentiles[p].level;
        add(QStringLiteral("%1th Percentile, Ranked").arg(level) + inUnit,
            [p](const SpeedStudy &s) { return studyCell(s.percentiles[p].ranked); });
        add(QStringLiteral("%1th Percentile, Interpolated").arg(level) + inUnit,
            [p](const SpeedStudy &s) {
                return studyCell(s.percentiles[p].interpolated, OneDecimal);
            });
    }
    add(QStringLiteral("Pace Low") + inUnit,
        [](const SpeedStudy &s) { return studyCell(s.paceLow); });
    add(QStringLiteral("Pace High") + inUnit,
        [](const SpeedStudy &s) { return studyCell(s.paceHigh); });
    add(QStringLiteral("Vehicles in Pace"),
        [](const SpeedStudy &s) { return studyCell(s.paceCount); });
    add(QStringLiteral("Percent in Pace"),
        [](const SpeedStudy &s) { return studyCell(s.pacePercent, OneDecimal); });
    add(QStringLiteral("Percent Over the Limit"),
        [](const SpeedStudy &s) { return studyCell(s.overLimitPercent, OneDecimal); });
    add(QStringLiteral("Percent Over the Limit + 5"),
        [](const SpeedStudy &s) { return studyCell(s.over5Percent, OneDecimal); });
    add(QStringLiteral("Percent Over the Limit + 10"),
        [](const SpeedStudy &s) { return studyCell(s.over10Percent, OneDecimal); });
    add(QStringLiteral("85th Percentile - Limit") + inUnit,
        [](const SpeedStudy &s) { return studyCell(s.p85MinusLimit); });
    add(QStringLiteral("Sample Needed"),
        [](const SpeedStudy &s) { return studyCell(s.sampleRequired); });
    add(QStringLiteral("Sample Adequate"),
        [](const SpeedStudy &s) { return textCell(s.sampleAdequateText); });
    add(QStringLiteral("Average Daily Traffic"),
        [](const SpeedStudy &s) { return studyCell(s.adt); });
    add(QStringLiteral("Complete Days"),
        [](const SpeedStudy &s) { return ExportCell::ofNumber(s.completeDays); });

    heading(QStringLiteral("The Program's Own Figures"));
    add(QStringLiteral("Average Speed"),
        [](const SpeedStudy &s) { return studyCell(s.programMean, OneDecimal); });
    add(QStringLiteral("85th Percentile"),
        [](const SpeedStudy &s) { return studyCell(s.programP85); });
    add(QStringLiteral("Pace"), [](const SpeedStudy &s) { return textCell(s.programPace); });
    add(QStringLiteral("Vehicles in Pace"),
        [](const SpeedStudy &s) { return studyCell(s.programPaceCount); });
    add(QStringLiteral("Percent in Pace"), [](const SpeedStudy &s) {
        const ExportCell number = figureCell(s.programPacePercent, QStringLiteral("0\" %\""));
        return number.isEmpty() ? textCell(s.programPacePercent) : number;
    });

    bool anyNotes = false;
    for (const SpeedStudy &s : studies)
        anyNotes = anyNotes || !s.notes.isEmpty();
    if (anyNotes) {
        heading(QStringLiteral("Notes"));
        const QStringList names = {QStringLiteral("All Vehicles"), QStringLiteral("Approaching"),
                                   QStringLiteral("Receding")};
        for (size_t i = 0; i < studies.size(); ++i) {
            for (const QString &note : studies[i].notes)
                t.addNote({ExportCell::ofText(names.at(qsizetype(i))), ExportCell::ofText(note)});
        }
    }
    return t;
}

} // namespace roadtally
