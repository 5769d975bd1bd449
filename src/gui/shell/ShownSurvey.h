#pragma once
// The survey the main window shows, as its summary tab captions it: what the
// other tabs read when they draw. The main window hands each tab a reader, so
// a tab never reaches into another tab's controls.

#include <QString>

#include <functional>

namespace roadtally {

struct ShownSurvey
{
    QString batch;        // Label7(4)
    QString startDate;    // Label7(0)
    QString stopDate;     // Label7(1)
    QString startTime;    // Label8
    QString stopTime;     // Label7(3)
    QString postedLimit;  // Label7(9)
    QString radarMode;    // Radar_Mode
    QString pace;         // Label2(36): the summary tab's direction
    QString percentile85; // Label2(28)
};

using ShownSurveyReader = std::function<ShownSurvey()>;

} // namespace roadtally
