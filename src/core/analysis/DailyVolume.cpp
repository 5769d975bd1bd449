#include "core/analysis/DailyVolume.h"

#include "core/text/TextPatterns.h"

namespace roadtally {

QString dailyVolumeTitle(const QString &batch)
{
    return QStringLiteral("Vehicle Volume/Time Comparison for Batch #") + batch;
}

QString morningHourColumn(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("tHourAMApp");
    case SurveyDirection::Receding:
        return QStringLiteral("tHourAMRec");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("AMHourTotal");
}

QString afternoonHourColumn(SurveyDirection direction)
{
    switch (direction) {
    case SurveyDirection::Approaching:
        return QStringLiteral("tHourPMApp");
    case SurveyDirection::Receding:
        return QStringLiteral("tHourPMRec");
    case SurveyDirection::Both:
        break;
    }
    return QStringLiteral("PMHourTotal");
}

QStringList hourLabels()
{
    QStringList labels;
    for (int half = 0; half < 2; ++half) {
        labels << QStringLiteral("12");
        for (int h = 1; h <= 11; ++h)
            labels << QString::number(h);
    }
    return labels;
}

ChartFrame dailyVolumeFrame()
{
    // On the page the picture runs from 0.3 in to 8.3 in across and from
    // 5.9 in down; the brackets from 1.9 in to 4.8 in and on to 7.7 in, and
    // the "Survey: ..." caption takes the picture's first line.
    ChartFrame frame;
    frame.plotLeft = (2736.0 - 432) / 11520;
    frame.plotRight = (11088.0 - 432) / 11520;
    frame.plotTop = 360.0 / 5040;
    return frame;
}

DailyVolumeResult dailyVolume(DatabaseSession &session, const DailyVolumeInput &input)
{
    DailyVolumeResult result;
    result.title = dailyVolumeTitle(input.batch);
    result.caption = QStringLiteral("Vehicle Volume / Hour");
    result.amCaption = QStringLiteral("AM Time");
    result.pmCaption = QStringLiteral("PM Time");

    session.requireOpen();
    const QString am = morningHourColumn(input.direction);
    const QString pm = afternoonHourColumn(input.direction);
    // The hour rows of the date (the fourth row of each hour), in time order.
    QSqlQuery q = session.exec(QStringLiteral("SELECT [%1], [%2] FROM [Time_15] WHERE [%1] IS NOT "
                                              "NULL AND [Batch_Number] = ? AND [Date] = ? "
                                              "ORDER BY [TimeAM]")
                                   .arg(am, pm),
                               {input.batch, input.date});
    QStringList morning, afternoon;
    while (q.next()) {
        morning << q.value(0).toString();
        afternoon << q.value(1).toString();
    }
    q.finish();
    if (morning.isEmpty()) {
        result.message = QStringLiteral(
            "The Database is empty OR you have to select a SURVEY on the first tab.");
        return result;
    }
    // "*" is an hour without vehicles; its numeric value is 0 as for any non-number.
    for (const QStringList *half : {&morning, &afternoon})
        for (int k = 0; k < 12; ++k)
            result.points << (k < half->size() ? numericValue(half->at(k)) : 0.0);
    result.labels = hourLabels();

    ChartSeries &c = result.chart;
    c.labelEvery = 1;
    c.values = result.points;
    c.labels = result.labels;
    c.colours = QVector<int>(24, 3);
    c.otherFontPercent = 120;
    c.leftTitle = QStringLiteral("Number of Vehicles");
    c.gridStyle = 1;
    c.frame = dailyVolumeFrame();
    return result;
}

} // namespace roadtally
