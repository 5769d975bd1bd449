#pragma once
// The captions the main window's labels show for a stored survey, read from
// its Header and Summary rows, for callers without the window (the
// command-line tool): the same fields through the same core functions.

#include "reports/ReportFrame.h"

#include <QHash>
#include <QVariant>

namespace roadtally {

// The survey facts of the batch; batchFound is false when no Header row has
// that batch number. Throws DatabaseError when a query fails.
SurveyFacts readSurveyFacts(DatabaseSession &session, const QString &batch,
                            bool *batchFound = nullptr);

// From the survey's Summary row (summaryRow()): the totals line.
SurveyTotals surveyTotals(const QHash<QString, QVariant> &summary);
// The criteria panel for a direction: the fields it binds, the vehicles at or
// under the limit, the band headers and shares it computes.
SpeedStatistics speedStatistics(const QHash<QString, QVariant> &summary, SurveyDirection direction);
// The survey total that the direction's shares are read against.
QString directionTotal(const SurveyTotals &totals, SurveyDirection direction);

} // namespace roadtally
