#pragma once
// Fixed inputs of every report: the captions a survey on the main window
// would show, so that each report's page items can be compared with a golden dump.

#include "reports/DailyVolume_Graph.h"
#include "reports/Percent85_Graph.h"
#include "reports/Report15min.h"
#include "reports/ReportSummary.h"
#include "reports/ReportWeekly.h"
#include "reports/SpeedProfile.h"
#include "reports/SpeedZoneStudy.h"
#include "reports/TrafficFlow_Graph.h"

#include <QPainter>

namespace roadtally::testing {

inline ReportFrame fixedFrame()
{
    ReportFrame f;
    f.agency = QStringLiteral("Riverside Police Department");
    f.address1 = QStringLiteral("100 Main Street");
    f.address2 = QStringLiteral("Riverside, CA 92501");
    f.includeOfficer = true;
    f.officer = QStringLiteral("Sgt. Dana O'Brien");
    f.includeDate = true;
    f.today = QDate(2004, 3, 5);
    return f;
}

inline SurveyFacts fixedFacts()
{
    SurveyFacts f;
    f.batch = QStringLiteral("123025-A");
    f.startDate = QStringLiteral("12/30/25");
    f.endDate = QStringLiteral("01/02/26");
    f.startTime = QStringLiteral("08:00");
    f.endTime = QStringLiteral("17:45");
    f.totalTime = QStringLiteral("81:45:00");
    f.zone = QStringLiteral("School");
    f.location = QStringLiteral("Maple Avenue at 5th Street");
    f.direction = QStringLiteral("North");
    f.postedLimit = QStringLiteral("35");
    f.unit = QStringLiteral("MPH");
    return f;
}

inline SurveyTotals fixedTotals()
{
    return {QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("12"),
            QStringLiteral("113")};
}

inline SpeedStatistics fixedStatistics()
{
    SpeedStatistics s;
    s.postedLimit = QStringLiteral("35");
    s.atOrUnder = QStringLiteral("68");
    s.over = QStringLiteral("32");
    s.average = QStringLiteral("34.15");
    s.percentile85 = QStringLiteral("40.13");
    s.pace = QStringLiteral("29 - 39");
    s.paceCount = QStringLiteral("79");
    s.pacePercent = QStringLiteral("79.00");
    s.bandHeadings = {QStringLiteral("35+"), QStringLiteral("45+"), QStringLiteral("55+")};
    s.bandNumbers = {QStringLiteral("25"), QStringLiteral("5"), QStringLiteral("2"),
                     QStringLiteral("32")};
    s.bandPercents = {QStringLiteral("25.%"), QStringLiteral("5.%"), QStringLiteral("2.%"),
                      QStringLiteral("32.%")};
    return s;
}

inline ReportSummaryInput summaryInput()
{
    ReportSummaryInput in;
    in.frame = fixedFrame();
    in.facts = fixedFacts();
    in.totals = fixedTotals();
    in.statistics = fixedStatistics();
    const char *bins[13] = {"1 - 14",  "15 - 19", "20 - 24", "25 - 29", "30 - 34",
                            "35 - 39", "40 - 44", "45 - 49", "50 - 54", "55 - 59",
                            "60 - 64", "65 - 69", "70 - 999"};
    const int volumes[13] = {3, 0, 5, 10, 20, 45, 10, 5, 0, 1, 0, 0, 1};
    for (int i = 0; i < 13; ++i) {
        in.binHeadings[size_t(i)] = QString::fromLatin1(bins[i]);
        in.volumes[size_t(i)] = QString::number(volumes[i]);
        in.percents[size_t(i)] = volumes[i] ? QStringLiteral("%1.%").arg(volumes[i]) : QString();
    }
    in.schemeName = QStringLiteral("15 to 70 by 5 MPH");
    in.direction = SurveyDirection::Approaching;
    return in;
}

inline Report15minInput fifteenInput(SurveyDirection direction)
{
    Report15minInput in;
    in.frame = fixedFrame();
    in.facts = fixedFacts();
    in.chosenDate = QStringLiteral("12/31/25");
    in.direction = direction;
    const FifteenMinuteColumns columns = fifteenMinuteColumns(direction);
    in.rows = TextRecords(int(columns.fields.size()));
    for (int block = 0; block < 48; ++block) {
        const int hour = block / 4, minute = (block % 4) * 15;
        const QString am = QStringLiteral("%1:%2")
                               .arg(hour, 2, 10, QLatin1Char('0'))
                               .arg(minute, 2, 10, QLatin1Char('0'));
        const QString pm = QStringLiteral("%1:%2")
                               .arg(hour + 12, 2, 10, QLatin1Char('0'))
                               .arg(minute, 2, 10, QLatin1Char('0'));
        const QString count = block % 7 == 0 ? QStringLiteral("*") : QString::number(block % 9 + 1);
        const QString hourTotal = block % 4 == 3 ? QString::number(4 * (block % 9 + 1)) : QString();
        QStringList row{am, count};
        if (direction == SurveyDirection::Both)
            row << QString::number(block % 5);
        row << hourTotal << pm << count;
        if (direction == SurveyDirection::Both)
            row << QString::number(block % 3);
        row << hourTotal;
        in.rows.append(row);
    }
    in.morning = {QStringLiteral("120"), QStringLiteral("07:00"), QStringLiteral("31"),
                  QStringLiteral("25.83%"), QStringLiteral("9.12%")};
    in.afternoon = {QStringLiteral("220"), QStringLiteral("16:15"), QStringLiteral("44"),
                    QStringLiteral("20.00%"), QStringLiteral("12.94%")};
    return in;
}

inline ReportWeeklyInput weeklyInput()
{
    ReportWeeklyInput in;
    in.frame = fixedFrame();
    in.facts = fixedFacts();
    // The week of a survey from Tuesday, Dec 30: Monday Dec 29 to Sunday Jan 4.
    in.dayHeadings = {QStringLiteral("Mon-29"), QStringLiteral("Tue-30"), QStringLiteral("Wed-31"),
                      QStringLiteral("Thu-01"), QStringLiteral("Fri-02"), QStringLiteral("Sat-03"),
                      QStringLiteral("Sun-04")};
    for (int k = 0; k < 24; ++k)
        in.legend[size_t(k)] = k == 0    ? QStringLiteral("12:AM")
                               : k == 12 ? QStringLiteral("12:PM")
                                         : QStringLiteral("%1:00").arg(k % 12);
    in.legend[24] = QStringLiteral("Totals");
    for (int day = 0; day < 7; ++day)
        for (int k = 0; k <= 24; ++k) {
            // The survey ran Tuesday to Friday: the other days keep their "*".
            const bool surveyed = day >= 1 && day <= 4;
            in.approaching[size_t(day)][size_t(k)] =
                surveyed ? QString::number(day * (k % 6)) : QStringLiteral("*");
            in.receding[size_t(day)][size_t(k)] =
                surveyed ? QString::number(k % 4) : QStringLiteral("*");
        }
    for (int k = 0; k <= 24; ++k) {
        in.weekdayApproaching[size_t(k)] = QString::number(k % 6 * 2);
        in.weekdayReceding[size_t(k)] = QString::number(k % 4);
        in.weekendApproaching[size_t(k)] = QStringLiteral("*");
        in.weekendReceding[size_t(k)] = QStringLiteral("*");
    }
    for (int i = 0; i < 9; ++i) {
        const bool surveyed = (i >= 1 && i <= 4) || i == 7;
        in.combined[size_t(i)] = surveyed ? QString::number(90 + i * 10) : QStringLiteral("*");
        in.split[size_t(i)] =
            surveyed ? QStringLiteral("%1/%2").arg(60 + i).arg(40 - i) : QStringLiteral("*");
    }
    return in;
}

inline QPicture fixedChart()
{
    QPicture picture;
    QPainter p(&picture);
    p.fillRect(QRect(0, 0, 640, 400), Qt::white);
    for (int i = 0; i < 8; ++i)
        p.fillRect(QRect(40 + i * 70, 380 - i * 40, 50, i * 40 + 20), QColor(0, 0, 255));
    p.end();
    return picture;
}

inline ChartReportInput chartInput()
{
    ChartReportInput in;
    in.frame = fixedFrame();
    in.facts = fixedFacts();
    in.totals = fixedTotals();
    in.statistics = fixedStatistics();
    in.chart = fixedChart();
    return in;
}

inline DailyVolumeChartInput dailyVolumeInput()
{
    DailyVolumeChartInput in;
    static_cast<ChartReportInput &>(in) = chartInput();
    in.direction = SurveyDirection::Both;
    return in;
}

inline SpeedProfileInput profileInput(int rows)
{
    SpeedProfileInput in;
    in.batch = QStringLiteral("123025-A");
    in.startDate = QStringLiteral("12/30/25");
    in.endDate = QStringLiteral("01/02/26");
    in.bandHeadings = {QStringLiteral("35+"), QStringLiteral("45+"), QStringLiteral("55+")};
    in.rows = TextRecords(6);
    for (int i = 0; i < rows; ++i) {
        const int speed = 36 + (i * 7) % 30;
        const int band = speed > 55 ? 2 : speed > 45 ? 1 : 0;
        QStringList row{QStringLiteral("12/30/25"), QStringLiteral("%1:%2:%3")
                                                        .arg(8 + i / 60, 2, 10, QLatin1Char('0'))
                                                        .arg(i % 60, 2, 10, QLatin1Char('0'))
                                                        .arg(i * 13 % 60, 2, 10, QLatin1Char('0'))};
        for (int b = 0; b < 3; ++b)
            row << (b == band ? QString::number(speed) : QStringLiteral("--"));
        row << (i % 5 == 4 ? QStringLiteral("-") : QStringLiteral("+"));
        in.rows.append(row);
    }
    return in;
}

// The speed zone study of the fixed survey's approaching vehicles; empty
// counts give the study of no vehicles.
inline SpeedZoneStudyInput studyInput(const QMap<int, qint64> &counts)
{
    SpeedStudyInput s;
    s.batchNumber = QStringLiteral("123025-A");
    s.location = QStringLiteral("Maple Avenue at 5th Street");
    s.direction = SurveyDirection::Approaching;
    s.unit = QStringLiteral("MPH");
    s.postedLimit = QStringLiteral("035");
    s.counts = counts;
    s.startDate = QStringLiteral("12/30/25");
    s.stopDate = QStringLiteral("01/02/26");
    s.dailyTotals = {{QDate(2025, 12, 30), 20}, {QDate(2025, 12, 31), 41}, {QDate(2026, 1, 1), 37},
                     {QDate(2026, 1, 2), 2}};
    s.program = {QStringLiteral("34.0"), QStringLiteral("40"), QStringLiteral("29 to 39"),
                 QStringLiteral("65"), QStringLiteral("65 %")};
    SpeedZoneStudyInput in;
    in.frame = fixedFrame();
    in.facts = fixedFacts();
    in.direction = SurveyDirection::Approaching;
    in.study = computeSpeedStudy(s);
    return in;
}

inline QMap<int, qint64> fixedStudyCounts()
{
    return {{14, 3},  {20, 5},  {28, 10}, {33, 20}, {35, 30},
            {36, 15}, {40, 10}, {47, 5},  {55, 1},  {73, 1}};
}

} // namespace roadtally::testing
