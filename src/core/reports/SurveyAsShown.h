#pragma once
// One survey as the summary tab shows it: the header facts, the totals line and
// the speed statistics of the chosen direction. The window reads it off the
// tab; surveyAsShown() builds the same from the stored survey (the command-line
// tool). The report inputs, the speeding list and the study start from it.

#include "core/analysis/SurveyCaptions.h"
#include "core/reports/ReportFrame.h"
#include "core/survey/SurveyDirection.h"

namespace roadtally {

struct SurveyAsShown
{
    SurveyFacts facts;   // the header block; facts.batch names the survey
    SurveyTotals totals; // the totals line
    SurveyDirection direction = SurveyDirection::Approaching; // of the statistics
    SpeedStatistics statistics;
};

// The survey as the summary tab shows it with direction chosen.
SurveyAsShown surveyAsShown(const SurveyCaptions &survey, SurveyDirection direction);

} // namespace roadtally
