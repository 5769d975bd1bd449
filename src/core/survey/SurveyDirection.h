#pragma once
// The direction of travel a view shows, and the names it reads for it: the
// Summary field suffix, the Summary total and the Speed column.

#include <QString>

#include <optional>

namespace roadtally {

enum class SurveyDirection { Approaching = 0, Receding = 1, Both = 2 };

// "A", "R" or "" (the Summary fields of all vehicles carry no suffix).
QString summarySuffix(SurveyDirection direction);
// "Total_Approach", "Total_Receeding" or "Total_Vehicles".
QString summaryTotalField(SurveyDirection direction);
// "All_app", "all_rec" or "all_total".
QString speedColumn(SurveyDirection direction);

// The program's own captions of the vehicles of a direction, as the reports
// print them: "Approaching Vehicles Only", "Receeding Vehicles Only",
// "Vehicles Both Directions".
QString vehiclesCaption(SurveyDirection direction);

// A direction by its name on the command line: "approaching", "receding" or
// "both", in any case; none for anything else.
std::optional<SurveyDirection> surveyDirectionFromName(const QString &name);

// A share as the views write it: count / total * 100 with the pattern, then "%".
// A total of 0 gives "N/A": the share of a direction without vehicles is undefined.
QString percentText(double count, double total, const QString &pattern = QStringLiteral("##.##"));

} // namespace roadtally
