#pragma once
// The speed zone study as the command line writes it: a readable table, and
// JSON with every figure (numbers as numbers; "N/A" and the catch-all forms
// such as "73 or more" as strings).

#include "core/analysis/SpeedStudy.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace roadtally {

// One figure with its caption, for a two-column table (the tab, a sheet).
struct StudyRow
{
    QString key;   // the JSON key where there is one ("p85", "p85_interpolated"), else a like name
    QString label; // "85th percentile (ranked)"
    StudyValue value;
    QString unit; // "mph", "km/h", "%", "vehicles" or ""
};

// Every figure in reading order: the study's, then the program's own.
QVector<StudyRow> speedStudyRows(const SpeedStudy &study);

// One line of the figures table that the tab and the printed study show: a
// heading line, or a figure with the study's value and, where the program has
// a figure of its own for it, that one beside.
struct StudyTableLine
{
    QString label;
    QString study;   // the value with its unit ("52 mph", "59.1%", "41 to 50 mph")
    QString program; // the program's figure, or ""
    bool heading = false;
};

// The figures in groups (speeds, percentile speeds, pace, over the limit,
// sample and traffic), the program's mean, 85th percentile and pace beside
// the study's.
QVector<StudyTableLine> speedStudyTable(const SpeedStudy &study);

// A table of the figures, the program's own beside them and the notes; lines
// end in "\n".
QString speedStudyText(const SpeedStudy &study);

// Keys: batch, location, direction, unit, posted_limit, start_date, stop_date,
// n, mean, sd, p15, p50, p85, p95 (ranked, as shown), p15_interpolated ...
// p95_interpolated, pace {low, high, count, percent}, modal,
// over_limit_percent, over_5_percent, over_10_percent, p85_minus_limit,
// sample {required, adequate}, adt, complete_days,
// program {mean, p85, pace, pace_count, pace_percent}, notes.
QJsonObject speedStudyJson(const SpeedStudy &study);

// A figure for JSON: its number, else its text.
QJsonValue studyJsonValue(const StudyValue &value);

} // namespace roadtally
