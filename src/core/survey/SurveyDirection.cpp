#include "core/survey/SurveyDirection.h"

#include "core/text/TextPatterns.h"

#include <cmath>

namespace roadtally {

QString summarySuffix(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("A");
    case SurveyDirection::Receding:
        return QStringLiteral("R");
    case SurveyDirection::Both:
        break;
    }
    return QString();
}

QString summaryTotalField(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Total_Approach");
    case SurveyDirection::Receding:
        return QStringLiteral("Total_Receeding");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Total_Vehicles");
}

QString speedColumn(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("All_app");
    case SurveyDirection::Receding:
        return QStringLiteral("all_rec");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("all_total");
}

QString percentText(double count, double total, const QString &pattern)
{
    if (total == 0.0 || !std::isfinite(total) || !std::isfinite(count))
        return QStringLiteral("N/A");
    return formatNumber(count / total * 100.0, pattern) + QLatin1Char('%');
}

std::optional<SurveyDirection> surveyDirectionFromName(const QString &name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("approaching"))
        return SurveyDirection::Approaching;
    if (n == QLatin1String("receding"))
        return SurveyDirection::Receding;
    if (n == QLatin1String("both"))
        return SurveyDirection::Both;
    return std::nullopt;
}

QString vehiclesCaption(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("Approaching Vehicles Only");
    case SurveyDirection::Receding:
        return QStringLiteral("Receeding Vehicles Only");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("Vehicles Both Directions");
}

} // namespace roadtally
