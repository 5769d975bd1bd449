#pragma once
// The sheets of a survey export, one function each: what a spreadsheet user
// gets from the stored survey. Each reads the survey's rows through an open
// session and returns the table; none changes the database.

#include "export/ExportTable.h"
#include "store/DatabaseSession.h"

#include <QHash>
#include <QString>
#include <QVariant>

namespace roadtally {

// A stored row by field name (names as stored; look them up with fieldOf).
using FieldRow = QHash<QString, QVariant>;

// The survey's Header row (empty when there is none).
FieldRow headerRow(DatabaseSession &session, const QString &batch);
// A field of a row by name, whatever the case of the name; null when absent.
QVariant fieldOf(const FieldRow &row, const QString &name);

// A stored figure as a number cell: the leading number of its text ("56 %"
// gives 56); empty when the field is null or holds no number ("*" counts as 0
// only where the caller says so).
ExportCell figureCell(const QVariant &value, const QString &format = QString());

// "Survey": the survey facts (batch number, location code, location, zone,
// direction, posted limit, unit, start and end date and time, total time),
// then the Summary figures for all vehicles, approaching and receding.
ExportTable surveySheet(const FieldRow &header, const FieldRow &summary);

// "Speeds": one row per Speed row (speed, all, approaching, receding) in speed
// order, with a column chart of the three directions.
ExportTable speedsSheet(DatabaseSession &session, const QString &batch, const QString &unit);

// "Speeding": one row per Speed_Profile row in stored order: date, time, the
// three band columns (the speed in its band, empty in the others) and the
// direction. The band headers are those of the criteria panel ("035+", "45+",
// "55+"). The rows are read while the sheet is written, so the session must
// stay open until then.
ExportTable speedingSheet(DatabaseSession &session, const QString &batch, const QString &postedLimit);

} // namespace roadtally
