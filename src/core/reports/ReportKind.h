#pragma once
// The reports the print preview builds. The numbers are the program's report
// selectors; a new report takes the next free number.

namespace roadtally {

enum class ReportKind {
    Percentile85 = 1,          // "85th Percentile" chart (Percent85_Graph)
    TrafficFlow = 2,           // "Vehicle Speeds" chart (TrafficFlow_Graph)
    Summary = 3,               // survey summary in a display scheme (ReportSummary)
    FifteenMinute = 4,         // fifteen-minute flow of one date (Report15min)
    DailyVolume = 5,           // daily volume chart of one date (DailyVolume_Graph)
    Weekly = 6,                // weekly summary (ReportWeekly)
    SpeedProfile = 7,          // the speeding vehicles (SpeedProfile)
    SpeedZoneStudy = 8,        // speed zone study (SpeedZoneStudy)
    BeforeAfterSpeedStudy = 9, // two surveys compared (BeforeAfterSpeedStudy)
};

} // namespace roadtally
