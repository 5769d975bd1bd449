#include "core/reports/SurveyAsShown.h"

#include "core/reports/ReportCaptions.h"

namespace roadtally {

SurveyAsShown surveyAsShown(const SurveyCaptions &survey, SurveyDirection direction)
{
    SurveyAsShown shown;
    shown.facts = surveyFacts(survey);
    shown.totals = surveyTotals(survey);
    shown.direction = direction;
    shown.statistics = speedStatistics(survey, direction);
    return shown;
}

} // namespace roadtally
