#pragma once
// The "Before and After Speed Study" report: one page in the speed zone
// study's style with the agency heading, both surveys' facts, the comparison
// table with its tests, the two overlaid charts, the notes and the signature
// footer. The preview (report selector 9) and the command line both build it
// from a loaded comparison.

#include "core/analysis/SurveyComparison.h"
#include "core/reports/ReportFrame.h"

#include <optional>

namespace roadtally {

struct BeforeAfterStudyInput
{
    ReportFrame frame;
    SurveyFacts before;
    SurveyFacts after;
    SurveyComparison comparison;
};

// Writes the whole page; false when the engine was not ready (nothing drawn).
bool BeforeAfterSpeedStudy(DocumentEngine &vp, const BeforeAfterStudyInput &in);

// The input for a comparison of stored surveys: the report frame (agency,
// options, officer as named or the first of the list) and both surveys'
// facts. Throws DatabaseError when a query fails.
BeforeAfterStudyInput readBeforeAfterStudyInput(DatabaseSession &session,
                                                const SurveyComparison &comparison,
                                                const QString &officer = QString());

// The title the report prints.
QString beforeAfterStudyTitle();

} // namespace roadtally
