#include "core/survey/SurveyRules.h"

namespace roadtally {

bool isSpeedUnit(const QString &unit)
{
    return unit == QLatin1String("MPH") || unit == QLatin1String("KPH");
}

QString storedSurveyProblem(const QString &batch, const QString &unit)
{
    if (isSpeedUnit(unit))
        return QString();
    const QString shown = unit.trimmed().isEmpty()
                              ? QStringLiteral("no speed unit")
                              : QStringLiteral("the speed unit \"%1\"").arg(unit);
    return QStringLiteral("Survey %1 was stored with %2 instead of MPH or KPH, so its figures "
                          "cannot be shown.\n\nRemove it with Edit > Delete Individual Survey, "
                          "then process its data file again.")
        .arg(batch.trimmed(), shown);
}

QString tooLongText(const QString &what, int limit)
{
    return QStringLiteral("The %1 can be at most %2 characters long: shorten it and try again.")
        .arg(what)
        .arg(limit);
}

} // namespace roadtally
