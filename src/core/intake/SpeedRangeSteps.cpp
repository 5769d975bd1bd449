#include "core/intake/SpeedRangeSteps.h"

namespace roadtally {

namespace {

// Below (or above) the threshold the end moves by 5, otherwise it is set to the bound.
struct StepRule
{
    int threshold;
    int bound;
};
struct StepButtonRule
{
    bool down;
    StepRule mph;
    StepRule kph;
};
constexpr StepButtonRule LowMinusRule{true, {5, 0}, {15, 15}};
constexpr StepButtonRule LowPlusRule{false, {45, 45}, {35, 35}};
constexpr StepButtonRule HighMinusRule{true, {50, 50}, {120, 120}};
constexpr StepButtonRule HighPlusRule{false, {120, 120}, {180, 180}};

const StepButtonRule &ruleOf(SpeedStep step)
{
    switch (step) {
    case SpeedStep::LowMinus:
        return LowMinusRule;
    case SpeedStep::LowPlus:
        return LowPlusRule;
    case SpeedStep::HighMinus:
        return HighMinusRule;
    case SpeedStep::HighPlus:
        break;
    }
    return HighPlusRule;
}

} // namespace

int steppedSpeedEnd(SpeedStep step, const QString &unit, int value)
{
    const StepButtonRule &rule = ruleOf(step);
    StepRule bounds;
    if (unit == QLatin1String("MPH"))
        bounds = rule.mph;
    else if (unit == QLatin1String("KPH"))
        bounds = rule.kph;
    else
        return -1;
    if (rule.down)
        return value > bounds.threshold ? value - 5 : bounds.bound;
    return value < bounds.threshold ? value + 5 : bounds.bound;
}

} // namespace roadtally
