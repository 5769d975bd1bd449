#pragma once
// The vehicle speed comparison (traffic flow chart) report: the chart of the
// "Vehicle Speeds" tab on a page with the survey facts and speed statistics.

#include "core/reports/ChartReport.h"

namespace roadtally {

// Writes the whole one-page document; false when the engine was not ready.
bool TrafficFlow_Graph(DocumentEngine &vp, const ChartReportInput &in);

} // namespace roadtally
