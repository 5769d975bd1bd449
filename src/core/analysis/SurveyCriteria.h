#pragma once
// The survey criteria of one direction: which Summary fields the value labels
// show, the three over-limit band headers, the vehicles at or under the limit
// and the six shares of the direction's total.

#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

namespace roadtally {

// A value label of the criteria panel (its index in the Label2 array) and the
// Summary field it shows for a direction.
struct CriteriaBinding
{
    int label;
    QString field;
};

// The eleven labels with their fields, in the order the panel points them:
// 36 Pace, 37 Pace_Total, 38 Pace_Percent, 27 50th_Percentile,
// 28 85th_Percentile, 45..47 the bands, 48 and 26 Number_Over, 32 Number_Under.
QVector<CriteriaBinding> criteriaBindings(SurveyDirection direction);

// The headers of the "Number Exceeding Limit" bands from the posted limit as
// typed: P + "+", then the numeric values of P + 10 and P + 20 followed by "+".
// "035" gives "035+", "45+", "55+"; "" gives "+", "10+", "20+".
struct BandHeaders
{
    QString first;
    QString second;
    QString third;
};
BandHeaders bandHeaders(const QString &postedLimit);

// The texts the panel computes from, as its labels show them.
struct CriteriaInput
{
    QString postedLimit; // caption of the posted speed
    QString total;       // the direction's survey total
    QString numberOver;  // Number_Over of the direction
    QString band10;      // Number_Over..10
    QString band20;      // Number_Over..20
    QString band30;      // Number_Over..30
};

struct CriteriaResult
{
    BandHeaders headers;
    QString atOrUnder;        // total minus the number over the limit
    QString percentAtOrUnder; // Label2(56)
    QString percentOver;      // Label2(57)
    QString percentBands[4];  // Label2(51) .. Label2(54): the three bands and their total
    QString percentCaption;   // Label5(5)
};

CriteriaResult computeCriteria(const CriteriaInput &input, SurveyDirection direction);

// The input from the fields of a Summary row (field names as stored; names are
// matched without regard to case), for callers without the window.
CriteriaInput criteriaInputFromSummary(const QHash<QString, QVariant> &summaryRow,
                                       SurveyDirection direction);

// The fields of the survey's Summary row by name (empty when there is none).
// Throws DatabaseError when the session is not open or the query fails.
QHash<QString, QVariant> summaryRow(DatabaseSession &session, const QString &batch);

// "Percent of total (approaching)", "Percent of total (receeding)", "Percent of total".
QString percentCaption(SurveyDirection direction);

} // namespace roadtally
