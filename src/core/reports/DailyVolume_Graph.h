#pragma once
// The daily volume chart report: the chart of the "Daily Volume/Time" tab on
// a page with the survey facts and speed statistics, with its captions.

#include "core/reports/ChartReport.h"

namespace roadtally {

struct DailyVolumeChartInput : ChartReportInput
{
    DirectionChoice direction; // option4(0..2) of the daily volume tab
    QString date;              // DChoice: the date of the bars, printed beside the batch number
};

// Writes the whole one-page document; false when the engine was not ready.
bool DailyVolume_Graph(DocumentEngine &vp, const DailyVolumeChartInput &in);

} // namespace roadtally
