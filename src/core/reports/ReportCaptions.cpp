#include "core/reports/ReportCaptions.h"

#include "core/analysis/SurveyCriteria.h"

namespace roadtally {

SurveyFacts surveyFacts(const SurveyCaptions &survey)
{
    SurveyFacts facts;
    facts.batch = survey.batch();
    facts.zone = survey.headerField(QStringLiteral("Zone"));
    facts.location = survey.headerField(QStringLiteral("Location"));
    facts.direction = survey.headerField(QStringLiteral("Direction"));
    facts.unit = survey.radarMode();
    facts.startDate = survey.startDate();
    facts.endDate = survey.stopDate();
    facts.startTime = survey.summaryField(QStringLiteral("Start_Time"));
    facts.endTime = survey.summaryField(QStringLiteral("Stop_Time"));
    facts.totalTime = survey.summaryField(QStringLiteral("Total_Time"));
    facts.postedLimit = survey.postedLimit();
    return facts;
}

SurveyTotals surveyTotals(const SurveyCaptions &survey)
{
    return {survey.summaryField(QStringLiteral("Total_Unknown")),
            survey.summaryField(QStringLiteral("Total_Approach")),
            survey.summaryField(QStringLiteral("Total_Receeding")),
            survey.summaryField(QStringLiteral("Total_Vehicles"))};
}

QString directionTotal(const SurveyTotals &totals, SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return totals.approaching;
    case SurveyDirection::Receding:
        return totals.receding;
    case SurveyDirection::Both:
        break;
    }
    return totals.total;
}

SpeedStatistics speedStatistics(const SurveyCaptions &survey, SurveyDirection direction)
{
    // The labels the criteria panel binds for the direction...
    QHash<int, QString> label;
    for (const CriteriaBinding &binding : criteriaBindings(direction))
        label.insert(binding.label, survey.summaryField(binding.field));
    // ...and what it computes from them.
    const CriteriaResult result =
        computeCriteria(criteriaInputFromSummary(survey.summary, direction), direction);

    SpeedStatistics s;
    s.postedLimit = survey.postedLimit();
    s.atOrUnder = result.atOrUnder;
    s.over = label.value(26);
    s.average = label.value(27);
    s.percentile85 = label.value(28);
    s.pace = label.value(36);
    s.paceCount = label.value(37);
    s.pacePercent = label.value(38);
    s.bandHeadings = {result.headers.first, result.headers.second, result.headers.third};
    s.bandNumbers = {label.value(45), label.value(46), label.value(47), label.value(48)};
    for (int i = 0; i < 4; ++i)
        s.bandPercents[size_t(i)] = result.percentBands[i];
    return s;
}

} // namespace roadtally
