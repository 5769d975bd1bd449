#pragma once
// The daily volume view: the 24 hourly volumes of one date of a survey and
// one direction, from the hour rows of its Time_15 table, as a chart.

#include "core/analysis/ChartSeries.h"
#include "core/store/DatabaseSession.h"
#include "core/survey/SurveyDirection.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace roadtally {

struct DailyVolumeInput
{
    QString batch; // Label7(4)
    QString date;  // DChoice: a date as Time_15 stores it ("mm/dd/yy")
    SurveyDirection direction = SurveyDirection::Both; // option4
};

struct DailyVolumeResult
{
    QString message;        // the message for an empty result; then nothing is drawn
    QString title;          // Label12: "Vehicle Volume/Time Comparison for Batch #" + batch
    QString caption;        // Label15: "Vehicle Volume / Hour"
    QString amCaption;      // AM: "AM Time"
    QString pmCaption;      // PM: "PM Time"
    QVector<double> points; // 24: the morning hours 00..11, then the afternoon hours 12..23
    QStringList labels;     // "12", "1" ... "11", twice
    ChartSeries chart;

    bool hasChart() const { return message.isEmpty(); }
};

// The date click. An hour stored as "*" (no vehicles) counts 0, and so does an
// hour row missing from the table. Throws DatabaseError when the query fails.
DailyVolumeResult dailyVolume(DatabaseSession &session, const DailyVolumeInput &input);

// Where the daily volume chart keeps its plot: the morning bars over the
// report's first bracket, the afternoon bars over its second, the top grid
// line below the report's caption; the tab draws it alike.
ChartFrame dailyVolumeFrame();

// Label12: "Vehicle Volume/Time Comparison for Batch #" + batch.
QString dailyVolumeTitle(const QString &batch);

// The Time_15 hour columns of a direction: tHourAMApp/tHourPMApp,
// tHourAMRec/tHourPMRec, AMHourTotal/PMHourTotal.
QString morningHourColumn(SurveyDirection direction);
QString afternoonHourColumn(SurveyDirection direction);

// "12", "1", ... "11", "12", "1", ... "11".
QStringList hourLabels();

} // namespace roadtally
