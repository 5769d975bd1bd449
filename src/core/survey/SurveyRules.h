#pragma once
// What a stored survey's header may hold: the speed units and the longest
// texts of the typed fields. The import refuses anything else, and a survey
// stored before these rules that breaks them is named when it is opened.

#include <QString>

namespace roadtally {

// The longest location, zone and direction of travel a survey stores: what the
// report pages and the views have room for.
inline constexpr int LocationMaxLength = 80;
inline constexpr int ZoneMaxLength = 30;
inline constexpr int DirectionMaxLength = 30;

// "MPH" or "KPH": the only units the statistics and views know.
bool isSpeedUnit(const QString &unit);

// Why a stored survey cannot be shown ("" when it can): its unit is no speed
// unit. The text names the survey and how to remove it.
QString storedSurveyProblem(const QString &batch, const QString &unit);

// "The survey location can be at most 80 characters long.": what names the field.
QString tooLongText(const QString &what, int limit);

} // namespace roadtally
