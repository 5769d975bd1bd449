// The Speed_Profile rows: every vehicle over the limit, its speed in one band column.

#include "core/stats/Statistics.h"
#include "core/store/Schema.h"
#include "core/text/TextPatterns.h"
#include "fixtures/StatsTestData.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::test;

namespace {

// "speed_Over/Plus10/Plus20/Dir" of each row.
QStringList describe(const QVector<SpeedProfileRow> &rows)
{
    QStringList out;
    for (const SpeedProfileRow &r : rows)
        out << QStringLiteral("%1/%2/%3/%4")
                   .arg(r.speedOverText(), r.plus10Text(), r.plus20Text(),
                        QString(QLatin1Char(r.direction)));
    return out;
}

} // namespace

class TestSpeedProfile : public QObject
{
    Q_OBJECT

private slots:
    void bands_data();
    void bands();
    void storedRows();
    void timeText();
};

void TestSpeedProfile::bands_data()
{
    QTest::addColumn<QString>("vehicles");
    QTest::addColumn<QString>("posted");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("limit 35") << "+35 +36 -45 +46 -55 +56"
                              << "35"
                              << QStringList{u"36/--/--/+"_s, u"45/--/--/-"_s, u"--/46/--/+"_s,
                                             u"--/55/--/-"_s, u"--/--/56/+"_s};
    QTest::newRow("stored order kept")
        << "+80 -40 +50"
        << "035" << QStringList{u"--/--/80/+"_s, u"40/--/--/-"_s, u"--/50/--/+"_s};
    QTest::newRow("unknown direction") << "?60 ?36"
                                       << "35" << QStringList{u"--/--/60/?"_s, u"36/--/--/?"_s};
    QTest::newRow("nobody over") << "+10 -35 ?20"
                                 << "35" << QStringList{};
    // The limit is not rounded here: 35.5 puts 36 over, 45 within 10 and 46 beyond.
    QTest::newRow("fractional limit")
        << "+35 +36 +45 +46 +55 +56"
        << "35.5"
        << QStringList{u"36/--/--/+"_s, u"45/--/--/+"_s, u"--/46/--/+"_s, u"--/55/--/+"_s,
                       u"--/--/56/+"_s};
    QTest::newRow("limit not a number")
        << "+0 +1 +10 +11 +21"
        << "--" << QStringList{u"1/--/--/+"_s, u"10/--/--/+"_s, u"--/11/--/+"_s, u"--/--/21/+"_s};
}

void TestSpeedProfile::bands()
{
    QFETCH(QString, vehicles);
    QFETCH(QString, posted);
    QTEST(describe(computeSpeedProfile(vehiclesFrom(vehicles), posted)), "rows");
}

void TestSpeedProfile::storedRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession session(path);
    Transaction transaction(session); // as the import holds it; rolled back at the end
    const Vehicles vehicles = {vehicleAt('+', 46, QDate(2001, 5, 24), 13 * 3600 + 50 * 60 + 9),
                               vehicleAt('-', 30, QDate(2001, 5, 24), 14 * 3600),
                               vehicleAt('?', 60, QDate(2001, 5, 25), 5),
                               vehicleAt(char(0xE9), 36, QDate(2001, 5, 25), 86399)};
    const StatsInput input{QStringLiteral("052401-A"), QStringLiteral("35"), QStringLiteral("MPH"),
                           QStringLiteral("05/24/2001"), QStringLiteral("13:45")};
    SpeedProfile(session, vehicles, input);

    QSqlQuery q = session.exec(QStringLiteral(
        "SELECT Batch_Number, Date, Time, speed_Over, Plus10, Plus20, Dir FROM Speed_Profile "
        "ORDER BY rowid"));
    QStringList rows;
    while (q.next()) {
        QStringList f;
        for (int i = 0; i < 7; ++i)
            f << q.value(i).toString();
        rows << f.join(QLatin1Char('|'));
    }
    QCOMPARE(rows, (QStringList{u"052401-A|05/24/01|01:50:09 PM|--|46|--|+"_s,
                                u"052401-A|05/25/01|12:00:05 AM|--|--|60|?"_s,
                                u"052401-A|05/25/01|11:59:59 PM|36|--|--|\u00e9"_s}));
}

void TestSpeedProfile::timeText()
{
    // The hand-made text equals the time pattern for every second of the day.
    for (int s = 0; s < 24 * 3600; ++s) {
        const QString expected =
            formatTime(QTime(0, 0).addSecs(s), QStringLiteral("hh:mm:ss AMPM"));
        if (timeOfDayText(s) != expected)
            QFAIL(qPrintable(
                QStringLiteral("%1: %2 instead of %3").arg(s).arg(timeOfDayText(s), expected)));
    }
}

QTEST_GUILESS_MAIN(TestSpeedProfile)
#include "tst_SpeedProfile.moc"
