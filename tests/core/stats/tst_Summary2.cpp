// The Summary row: counts, bands, mean, 85th percentile, pace, elapsed time.

#include "core/stats/Statistics.h"
#include "core/store/Schema.h"
#include "fixtures/StatsTestData.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::test;

namespace {

const QString Unset = QStringLiteral("<unset>");

QString shown(const std::optional<QString> &text)
{
    return text ? *text : Unset;
}

StatsInput inputWith(const QString &posted, const QString &unit)
{
    return {QStringLiteral("052401-A"), posted, unit, QStringLiteral("05/24/2001"),
            QStringLiteral("13:45")};
}

} // namespace

class TestSummary2 : public QObject
{
    Q_OBJECT

private slots:
    void meanPaceAndPercentile_data();
    void meanPaceAndPercentile();
    void limitBands_data();
    void limitBands();
    void directionSets();
    void emptySurvey();
    void elapsedTime_data();
    void elapsedTime();
    void storedRow();
};

void TestSummary2::meanPaceAndPercentile_data()
{
    QTest::addColumn<QString>("vehicles");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("percentile50");
    QTest::addColumn<QString>("percentile85");
    QTest::addColumn<QString>("pace");
    QTest::addColumn<int>("paceTotal");
    QTest::addColumn<QString>("pacePercent");

    // 108 x 32 + 92 x 33 = 6492 over 200 vehicles: mean 32.46.
    QTest::newRow("mean 32.46 mph") << "+32x108 -33x92"
                                    << "MPH"
                                    << "32.5"
                                    << "38"
                                    << "27 to 37" << 200 << "100 %";
    QTest::newRow("mean 32.46 kph") << "+32x108 -33x92"
                                    << "KPH"
                                    << "32.5"
                                    << "38"
                                    << "22 to 42" << 200 << "100 %";
    // Window 27 to 37 on the mean 32: both ends count, the speeds beyond them do not.
    QTest::newRow("pace ends inclusive") << "+26 +27 +37 +38"
                                         << "MPH"
                                         << "32.0"
                                         << "38"
                                         << "27 to 37" << 2 << "50 %";
    // The window is centred on the unrounded mean: 32.46 - 5 = 27.46 gives 27, while the
    // stored 32.5 would have given 28.
    QTest::newRow("window on unrounded mean") << "+27 +38 +32x161 -33x137"
                                              << "MPH"
                                              << "32.5"
                                              << "38"
                                              << "27 to 37" << 299 << "100 %";
    QTest::newRow("nobody in the window") << "+30x7 +100"
                                          << "MPH"
                                          << "38.8"
                                          << "46"
                                          << "34 to 44" << 0 << " %";
    QTest::newRow("seven in eight rounds up") << "+10x7 +31"
                                              << "MPH"
                                              << "12.6"
                                              << "15"
                                              << "8 to 18" << 7 << "88 %";
    QTest::newRow("two in three") << "+22 +24 +35"
                                  << "MPH"
                                  << "27.0"
                                  << "32"
                                  << "22 to 32" << 2 << "67 %";
    // 1.175 x the stored 40.4 is 47.47; from the mean 40.44 it would have been 47.517.
    QTest::newRow("85th from stored text") << "+40x14 +41x11"
                                           << "MPH"
                                           << "40.4"
                                           << "47"
                                           << "35 to 45" << 25 << "100 %";
    QTest::newRow("mean exactly 0") << "+0x3"
                                    << "MPH" << Unset << ""
                                    << "-5 to 5" << 3 << "100 %";
    // A low end that rounds to 0 writes no digits; the high end is 0 + 10.
    QTest::newRow("mean 5.2 mph") << "+5x4 +6"
                                  << "MPH"
                                  << "5.2"
                                  << "6"
                                  << " to 10" << 5 << "100 %";
    QTest::newRow("mean 5.5 mph") << "+5 +6"
                                  << "MPH"
                                  << "5.5"
                                  << "6"
                                  << "1 to 11" << 2 << "100 %";
    QTest::newRow("mean 3 mph") << "+3"
                                << "MPH"
                                << "3.0"
                                << "4"
                                << "-2 to 8" << 1 << "100 %";
    QTest::newRow("mean 10.3 kph") << "+10x7 +11x3"
                                   << "KPH"
                                   << "10.3"
                                   << "12"
                                   << " to 20" << 10 << "100 %";
    QTest::newRow("mean 0.04") << "+0x24 +1"
                               << "MPH"
                               << ".0"
                               << ""
                               << "-5 to 5" << 25 << "100 %";
    QTest::newRow("unit of other text") << "+30 +40"
                                        << "Knots"
                                        << "35.0"
                                        << "41" << Unset << 0 << Unset;
    QTest::newRow("unit in lower case") << "+30 +40"
                                        << "mph"
                                        << "35.0"
                                        << "41" << Unset << 0 << Unset;
}

void TestSummary2::meanPaceAndPercentile()
{
    QFETCH(QString, vehicles);
    QFETCH(QString, unit);
    const SummaryRow row = computeSummary(vehiclesFrom(vehicles), inputWith(u"35"_s, unit));
    QTEST(shown(row.all.percentile50), "percentile50");
    QTEST(row.all.percentile85, "percentile85");
    QTEST(shown(row.all.pace), "pace");
    QTEST(row.all.paceTotal, "paceTotal");
    QTEST(shown(row.all.pacePercent), "pacePercent");
}

void TestSummary2::limitBands_data()
{
    QTest::addColumn<QString>("vehicles");
    QTest::addColumn<QString>("posted");
    QTest::addColumn<int>("under");
    QTest::addColumn<int>("over10");
    QTest::addColumn<int>("over20");
    QTest::addColumn<int>("over30");

    QTest::newRow("L, L+10, L+20, L+21") << "+35 -45 ?55 +56"
                                         << "35" << 1 << 1 << 1 << 1;
    QTest::newRow("just over each bound") << "+36 +46 +66 +99"
                                          << "035" << 0 << 1 << 1 << 2;
    QTest::newRow("nothing over") << "+10 +20 -35"
                                  << "35" << 3 << 0 << 0 << 0;
    // The limit is rounded halves to even: 35.5 reads as 36, 34.5 as 34.
    QTest::newRow("35.5 rounds to 36") << "+36 +46 +56 +57"
                                       << "35.5" << 1 << 1 << 1 << 1;
    QTest::newRow("34.5 rounds to 34") << "+34 +35 +44 +45"
                                       << "34.5" << 1 << 2 << 1 << 0;
    QTest::newRow("limit text with blanks") << "+30 +31"
                                            << "  30 mph" << 1 << 1 << 0 << 0;
    QTest::newRow("limit not a number") << "+0 +1 +11 +21"
                                        << "abc" << 1 << 1 << 1 << 1;
}

void TestSummary2::limitBands()
{
    QFETCH(QString, vehicles);
    QFETCH(QString, posted);
    const SummaryRow row = computeSummary(vehiclesFrom(vehicles), inputWith(posted, u"MPH"_s));
    QTEST(row.all.under, "under");
    QTEST(row.all.over10, "over10");
    QTEST(row.all.over20, "over20");
    QTEST(row.all.over30, "over30");
    QCOMPARE(row.all.over, row.all.over10 + row.all.over20 + row.all.over30);
    QCOMPARE(row.all.under + row.all.over, row.all.count);
    QCOMPARE(row.postedLimit, posted);
}

void TestSummary2::directionSets()
{
    // "?" vehicles count in the all-direction figures only; receding has no vehicle.
    const SummaryRow row =
        computeSummary(vehiclesFrom(u"+30 +50 ?60 ?20"_s), inputWith(u"35"_s, u"MPH"_s));
    QCOMPARE(row.all.count, 4);
    QCOMPARE(row.approach.count, 2);
    QCOMPARE(row.receding.count, 0);
    QCOMPARE(row.totalUnknown, 2);
    QCOMPARE(row.all.under, 2);
    QCOMPARE(row.all.over10, 0);
    QCOMPARE(row.all.over20, 1);
    QCOMPARE(row.all.over30, 1);
    QCOMPARE(row.approach.under, 1);
    QCOMPARE(row.approach.over20, 1);
    QCOMPARE(row.approach.over30, 0);
    QCOMPARE(shown(row.all.percentile50), QStringLiteral("40.0"));
    QCOMPARE(shown(row.approach.percentile50), QStringLiteral("40.0"));
    QCOMPARE(row.all.paceTotal, 0); // 35 to 45 holds nobody
    QCOMPARE(shown(row.all.pacePercent), QStringLiteral(" %"));
    QCOMPARE(row.maxSpeed, std::optional<int>(60));

    // The empty set: no mean, no window, no share, nothing divided by zero.
    QCOMPARE(shown(row.receding.percentile50), Unset);
    QCOMPARE(row.receding.percentile85, QString(u""_s));
    QCOMPARE(shown(row.receding.pace), Unset);
    QCOMPARE(row.receding.paceTotal, 0);
    QCOMPARE(shown(row.receding.pacePercent), Unset);
    QCOMPARE(row.receding.under + row.receding.over, 0);
}

void TestSummary2::emptySurvey()
{
    const SummaryRow row = computeSummary({}, inputWith(u"35"_s, u"MPH"_s));
    for (const SetFigures *set : {&row.all, &row.approach, &row.receding}) {
        QCOMPARE(set->count, 0);
        QVERIFY(!set->percentile50);
        QVERIFY(!set->pace);
        QVERIFY(!set->pacePercent);
        QCOMPARE(set->paceTotal, 0);
        QCOMPARE(set->percentile85, QString(u""_s));
    }
    QVERIFY(!row.maxSpeed);
    QVERIFY(!row.totalSeconds);
    QCOMPARE(row.totalTime, QStringLiteral("0 Days, 0 Hrs, 00 Min"));
    QCOMPARE(row.stopTime, row.startTime);
    QCOMPARE(row.stopDate, row.startDate);
}

void TestSummary2::elapsedTime_data()
{
    QTest::addColumn<QString>("startDate");
    QTest::addColumn<QString>("startTime");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("totalTime");
    QTest::addColumn<QString>("startTimeText");
    QTest::addColumn<QString>("stopTime");
    QTest::addColumn<QString>("startDateText");
    QTest::addColumn<QString>("stopDate");

    QTest::newRow("2 days 3 hrs 7 min")
        << "05/24/2001"
        << "00:00" << qint64(183600 + 420) << "2 Days, 3 Hrs, 07 Min"
        << "12:00 AM"
        << "03:07 AM"
        << "05/24/01"
        << "05/26/01";
    // The stop hour 25 carries a day into the stop date, not into Total_Time.
    QTest::newRow("day carry") << "05/24/2001"
                               << "22:30" << qint64(183999) << "2 Days, 3 Hrs, 06 Min"
                               << "10:30 PM"
                               << "01:36 AM"
                               << "05/24/01"
                               << "05/27/01";
    QTest::newRow("under a minute") << "05/24/2001"
                                    << "13:45" << qint64(59) << "0 Days, 0 Hrs, 00 Min"
                                    << "01:45 PM"
                                    << "01:45 PM"
                                    << "05/24/01"
                                    << "05/24/01";
    QTest::newRow("minute carry") << "05/24/2001"
                                  << "10:50" << qint64(1200) << "0 Days, 0 Hrs, 20 Min"
                                  << "10:50 AM"
                                  << "11:10 AM"
                                  << "05/24/01"
                                  << "05/24/01";
    QTest::newRow("minute and hour carry") << "05/24/2001"
                                           << "23:50" << qint64(600) << "0 Days, 0 Hrs, 10 Min"
                                           << "11:50 PM"
                                           << "12:00 AM"
                                           << "05/24/01"
                                           << "05/25/01";
    QTest::newRow("noon") << "05/24/2001"
                          << "11:59" << qint64(60) << "0 Days, 0 Hrs, 01 Min"
                          << "11:59 AM"
                          << "12:00 PM"
                          << "05/24/01"
                          << "05/24/01";
    QTest::newRow("across year end")
        << "12/30/2025"
        << "08:00" << qint64(3 * 86400 + 7200) << "3 Days, 2 Hrs, 00 Min"
        << "08:00 AM"
        << "10:00 AM"
        << "12/30/25"
        << "01/02/26";
    QTest::newRow("leap day") << "02/28/2024"
                              << "12:00" << qint64(86400) << "1 Days, 0 Hrs, 00 Min"
                              << "12:00 PM"
                              << "12:00 PM"
                              << "02/28/24"
                              << "02/29/24";
    QTest::newRow("fourteen days") << "05/24/2001"
                                   << "06:15" << qint64(14 * 86400 - 1) << "13 Days, 23 Hrs, 59 Min"
                                   << "06:15 AM"
                                   << "06:14 AM"
                                   << "05/24/01"
                                   << "06/07/01";
}

void TestSummary2::elapsedTime()
{
    QFETCH(QString, startDate);
    QFETCH(QString, startTime);
    QFETCH(qint64, seconds);
    Vehicles vehicles = vehiclesFrom(u"+30 -40 +35"_s);
    vehicles[0].offset = seconds / 2;
    vehicles[1].offset = seconds; // the highest offset need not be the last vehicle
    vehicles[2].offset = seconds / 3;
    StatsInput input = inputWith(u"35"_s, u"MPH"_s);
    input.startDate = startDate;
    input.startTime = startTime;
    const SummaryRow row = computeSummary(vehicles, input);
    QCOMPARE(row.totalSeconds, std::optional<qint64>(seconds));
    QTEST(row.totalTime, "totalTime");
    QTEST(row.startTime, "startTimeText");
    QTEST(row.stopTime, "stopTime");
    QTEST(row.startDate, "startDateText");
    QTEST(row.stopDate, "stopDate");
    const SurveyPeriod period = row.period();
    QCOMPARE(period.startDate, row.startDate);
    QCOMPARE(period.endDate, row.stopDate);
    QCOMPARE(period.startTime, row.startTime);
    QCOMPARE(period.endTime, row.stopTime);
}

void TestSummary2::storedRow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession session(path);
    Transaction transaction(session); // as the import holds it; rolled back at the end
    QVERIFY(session.isOpen());

    Vehicles vehicles = vehiclesFrom(u"+32x108 ?33x92"_s);
    vehicles.last().offset = 183999;
    StatsInput input = inputWith(u"035"_s, u"MPH"_s);
    input.startTime = QStringLiteral("22:30");
    const SurveyPeriod period = Summary2(session, vehicles, input);
    QCOMPARE(period.endDate, QStringLiteral("05/27/01"));
    QCOMPARE(period.endTime, QStringLiteral("01:36 AM"));

    QSqlQuery q = session.exec(QStringLiteral("SELECT * FROM Summary WHERE Batch_Number = ?"),
                               {QStringLiteral("052401-A  ")});
    QVERIFY(q.next());
    auto field = [&q](const char *name) { return q.value(QString::fromLatin1(name)); };
    QCOMPARE(field("Posted_Limit").toString(), QStringLiteral("035"));
    QCOMPARE(field("Total_Vehicles").toInt(), 200);
    QCOMPARE(field("Total_Approach").toInt(), 108);
    QCOMPARE(field("Total_Receeding").toInt(), 0);
    QCOMPARE(field("Total_Unknown").toInt(), 92);
    QCOMPARE(field("Number_Under").toInt(), 200);
    QCOMPARE(field("Max_Speed").toInt(), 33);
    QCOMPARE(field("50th_Percentile").toString(), QStringLiteral("32.5"));
    QCOMPARE(field("85th_Percentile").toString(), QStringLiteral("38"));
    QCOMPARE(field("Pace").toString(), QStringLiteral("27 to 37"));
    QCOMPARE(field("Pace_Total").toInt(), 200);
    QCOMPARE(field("Pace_Percent").toString(), QStringLiteral("100 %"));
    QCOMPARE(field("50th_PercentileA").toString(), QStringLiteral("32.0"));
    QCOMPARE(field("total_seconds").toLongLong(), qint64(183999));
    QCOMPARE(field("Total_Time").toString(), QStringLiteral("2 Days, 3 Hrs, 06 Min"));
    QCOMPARE(field("Start_Time").toString(), QStringLiteral("10:30 PM"));
    QCOMPARE(field("Stop_Time").toString(), QStringLiteral("01:36 AM"));
    QCOMPARE(field("Start_Date").toString(), QStringLiteral("05/24/01"));
    QCOMPARE(field("Stop_Date").toString(), QStringLiteral("05/27/01"));
    QVERIFY(!q.next());
    q = QSqlQuery();

    // The receding set is empty: its unset fields are NULL, its 85th the empty text,
    // its pace count 0.
    q = session.exec(
        QStringLiteral("SELECT typeof([50th_PercentileR]), typeof(PaceR), typeof(Pace_PercentR), "
                       "[85th_PercentileR], typeof([85th_PercentileR]), Pace_TotalR FROM Summary"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("null"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("null"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("null"));
    QCOMPARE(q.value(3).toString(), QString());
    QCOMPARE(q.value(4).toString(), QStringLiteral("text"));
    QCOMPARE(q.value(5).toInt(), 0);
}

QTEST_GUILESS_MAIN(TestSummary2)
#include "tst_Summary2.moc"
