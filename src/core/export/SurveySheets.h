#pragma once
// The sheets of a survey export, one function each: what a spreadsheet user
// gets from the stored survey. Each reads the survey through an open session,
// with the same core functions the views use, and returns the table; none
// changes the database.

#include "core/analysis/SurveyCaptions.h"
#include "core/export/ExportTable.h"
#include "core/store/DatabaseSession.h"

#include <QString>
#include <QStringList>

namespace roadtally {

// A stored figure as a number cell: the leading number of its text ("56 %"
// gives 56); empty when the text holds no number ("", "--", "*").
ExportCell figureCell(const QString &text, const QString &format = QString());
// A text cell; empty for an empty text.
ExportCell textCell(const QString &text);

// "Survey": the survey facts (batch number, location code, location, zone,
// direction, posted limit, unit, start and end date and time, total time),
// then the Summary figures for all vehicles, approaching and receding.
ExportTable surveySheet(const SurveyCaptions &survey);

// "Speeds": one row per Speed row (speed, all, approaching, receding) in speed
// order, with a column chart of the three directions.
ExportTable speedsSheet(DatabaseSession &session, const SurveyCaptions &survey);

// "15 Minute": every date's 48 rows as the fifteen-minute view lists them for
// both directions, the date in a column of its own; counts as numbers ("*" is
// 0), the hour totals on the hour rows only. A line chart of each date's
// hourly totals, read from the "Daily Volume" sheet.
ExportTable fifteenMinuteSheet(DatabaseSession &session, const SurveyCaptions &survey,
                               const QStringList &dates);

// "Daily Volume": the 24 hourly volumes of each date (both directions) as the
// daily volume view charts them, one column per date.
ExportTable dailyVolumeSheet(DatabaseSession &session, const SurveyCaptions &survey,
                             const QStringList &dates);

// "Weekly": the weekly grid as the weekly view computes it from a cleared
// grid: 24 hour rows, the totals, combined and split rows, for each weekday
// and the weekday and weekend averages. A "*" counts 0 in the columns of
// weekdays the survey covers; the columns of the other weekdays stay empty.
ExportTable weeklySheet(DatabaseSession &session, const SurveyCaptions &survey);

// "Speeding": one row per Speed_Profile row in stored order: date, time, the
// three band columns (the speed in its band, empty in the others) and the
// direction, under the band headers of the criteria panel ("035+", "45+",
// "55+"). The rows are read while the sheet is written, so the session must
// stay open until then.
ExportTable speedingSheet(DatabaseSession &session, const SurveyCaptions &survey);

// "Speed Study": the speed zone study for all vehicles, approaching and
// receding, next to the program's own figures, and the study's notes.
ExportTable speedStudySheet(DatabaseSession &session, const SurveyCaptions &survey);

} // namespace roadtally
