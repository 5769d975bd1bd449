#pragma once
// The "Speed Zone Study" report: one page with the agency heading, the survey
// facts, the study's figures in two tables with the program's own estimates
// beside them, the speed distribution and cumulative charts, the notes and the
// signature footer. The preview (report selector 8) and the command line both
// build it from readSpeedZoneStudyInput.

#include "core/analysis/SpeedStudy.h"
#include "core/reports/ReportFrame.h"

#include <optional>

namespace roadtally {

struct SpeedZoneStudyInput
{
    ReportFrame frame;
    SurveyFacts facts;
    SpeedStudy study; // of the direction below
    SurveyDirection direction = SurveyDirection::Approaching;
};

// Writes the whole page; false when the engine was not ready (nothing drawn).
bool SpeedZoneStudy(DocumentEngine &vp, const SpeedZoneStudyInput &in);

// The input for a stored survey: the report frame (agency, options, officer as
// named or the first of the list), the survey facts and the study of the
// direction. None when there is no survey with that batch number; throws
// DatabaseError when a query fails.
std::optional<SpeedZoneStudyInput> readSpeedZoneStudyInput(DatabaseSession &session,
                                                           const QString &batch,
                                                           SurveyDirection direction,
                                                           const QString &officer = QString());

// The title the report prints.
QString speedZoneStudyTitle();

} // namespace roadtally
