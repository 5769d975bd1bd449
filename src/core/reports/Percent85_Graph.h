#pragma once
// The 85th percentile chart report: the chart of the "85th Percentile" tab on
// a page with the survey facts and speed statistics, and its legend.

#include "core/reports/ChartReport.h"

namespace roadtally {

// Writes the whole one-page document; false when the engine was not ready.
bool Percent85_Graph(DocumentEngine &vp, const ChartReportInput &in);

} // namespace roadtally
