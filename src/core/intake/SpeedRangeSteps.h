#pragma once
// The four step buttons of the speed range ("<" and ">" beside each end): each
// moves its end by 5 within the bounds of the unit.

#include <QString>

namespace roadtally {

enum class SpeedStep { LowMinus, LowPlus, HighMinus, HighPlus };

// The end after one step from value, or -1 when the unit is neither "MPH" nor
// "KPH" (the buttons then do nothing).
int steppedSpeedEnd(SpeedStep step, const QString &unit, int value);

} // namespace roadtally
