// The daily volume chart: the 24 hourly points of a date per direction, "*"
// hours as 0, labels, colours, titles, and the message for an empty result.

#include "fixtures/TimeTableFixture.h"

#include "core/analysis/DailyVolume.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;

Q_DECLARE_METATYPE(roadtally::SurveyDirection)

namespace {

const QString Batch = QStringLiteral("061226-A");

// 00:00 approaching 7, 07:00 approaching 120 and receding 30, 17:00 receding
// 95, 23:00 approaching 4; every other hour without vehicles.
DayHours busyDay()
{
    DayHours h;
    h.approaching[0] = 7;
    h.approaching[7] = 120;
    h.receding[7] = 30;
    h.receding[17] = 95;
    h.approaching[23] = 4;
    return h;
}

QVector<double> points(std::initializer_list<std::pair<int, double>> set)
{
    QVector<double> p(24, 0.0);
    for (const auto &[hour, v] : set)
        p[hour] = v;
    return p;
}

} // namespace

class tst_DailyVolume : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(blankDatabase(m_path), QString());
        DatabaseSession s(m_path);
        insertSurvey(s, Batch, QStringLiteral("06/12/26"), QStringLiteral("06/13/26"));
        insertDay(s, Batch, QStringLiteral("06/12/26"), busyDay());
        insertDay(s, Batch, QStringLiteral("06/13/26"), DayHours()); // every hour "*"
    }

    void hours_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QVector<double>>("expected");
        QTest::newRow("approaching")
            << SurveyDirection::Approaching << points({{0, 7}, {7, 120}, {23, 4}});
        QTest::newRow("receding") << SurveyDirection::Receding << points({{7, 30}, {17, 95}});
        QTest::newRow("both") << SurveyDirection::Both
                              << points({{0, 7}, {7, 150}, {17, 95}, {23, 4}});
    }
    void hours()
    {
        QFETCH(SurveyDirection, direction);
        QFETCH(QVector<double>, expected);
        DatabaseSession s(m_path);
        const DailyVolumeResult r = dailyVolume(s, {Batch, QStringLiteral("06/12/26"), direction});
        QVERIFY(r.hasChart());
        QCOMPARE(r.points, expected);
        QCOMPARE(r.chart.values, expected);
    }

    void chartSettings()
    {
        DatabaseSession s(m_path);
        const DailyVolumeResult r =
            dailyVolume(s, {Batch, QStringLiteral("06/12/26"), SurveyDirection::Both});
        QCOMPARE(r.labels.join(QLatin1Char(',')),
                 QStringLiteral("12,1,2,3,4,5,6,7,8,9,10,11,12,1,2,3,4,5,6,7,8,9,10,11"));
        QCOMPARE(r.chart.labels, r.labels);
        QCOMPARE(r.chart.colours, QVector<int>(24, 3));
        QCOMPARE(r.chart.labelEvery, 1);
        QCOMPARE(r.chart.otherFontPercent, 120);
        QCOMPARE(r.chart.leftTitle, QStringLiteral("Number of Vehicles"));
        QVERIFY(r.chart.bottomTitle.isEmpty());
        QCOMPARE(r.chart.gridStyle, 1);
        // The title ends with the batch number, never the date.
        QCOMPARE(r.title, QStringLiteral("Vehicle Volume/Time Comparison for Batch #061226-A"));
        QCOMPARE(r.caption, QStringLiteral("Vehicle Volume / Hour"));
        QCOMPARE(r.amCaption, QStringLiteral("AM Time"));
        QCOMPARE(r.pmCaption, QStringLiteral("PM Time"));
    }

    // A date whose hours are all "*" draws 24 zero points without a message.
    void starsDrawnAsZero()
    {
        DatabaseSession s(m_path);
        const DailyVolumeResult r =
            dailyVolume(s, {Batch, QStringLiteral("06/13/26"), SurveyDirection::Approaching});
        QVERIFY(r.hasChart());
        QCOMPARE(r.points, QVector<double>(24, 0.0));
    }

    void emptyResult_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("date");
        QTest::newRow("date not in the survey") << Batch << "06/14/26";
        QTest::newRow("no survey") << ""
                                   << "06/12/26";
    }
    void emptyResult()
    {
        QFETCH(QString, batch);
        QFETCH(QString, date);
        DatabaseSession s(m_path);
        const DailyVolumeResult r = dailyVolume(s, {batch, date, SurveyDirection::Both});
        QVERIFY(!r.hasChart());
        QCOMPARE(r.message, QStringLiteral("The Database is empty OR you have to select a SURVEY "
                                           "on the first tab."));
        QVERIFY(r.points.isEmpty());
    }

    // A trailing-blank batch number (as the survey list gives it) finds the rows.
    void paddedBatch()
    {
        DatabaseSession s(m_path);
        const DailyVolumeResult r =
            dailyVolume(s, {Batch + QStringLiteral("  "), QStringLiteral("06/12/26"),
                            SurveyDirection::Approaching});
        QCOMPARE(r.points.at(7), 120.0);
    }

    void closedSession()
    {
        DatabaseSession s(m_dir.filePath(QStringLiteral("missing.mdb")));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, dailyVolume(s, {Batch, QStringLiteral("06/12/26"),
                                                                SurveyDirection::Both}));
    }
};

QTEST_GUILESS_MAIN(tst_DailyVolume)
#include "tst_DailyVolume.moc"
