#pragma once
// The captions the reports print, taken from a stored survey's Header and
// Summary rows (SurveyCaptions) as the main window's labels show them, for
// callers without the window (the command-line tool).

#include "core/analysis/SurveyCaptions.h"
#include "core/reports/ReportFrame.h"

namespace roadtally {

// The header block: batch, dates, times, zone, location, direction, limit, unit.
SurveyFacts surveyFacts(const SurveyCaptions &survey);
// The totals line.
SurveyTotals surveyTotals(const SurveyCaptions &survey);
// The criteria panel for a direction: the fields it binds, the vehicles at or
// under the limit, the band headers and shares it computes.
SpeedStatistics speedStatistics(const SurveyCaptions &survey, SurveyDirection direction);
// The survey total that the direction's shares are read against.
QString directionTotal(const SurveyTotals &totals, SurveyDirection direction);

} // namespace roadtally
