// The Speed rows: 60 for mph, 93 for km/h, the end rows collecting the rest.

#include "core/stats/Statistics.h"
#include "core/store/Schema.h"
#include "fixtures/StatsTestData.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::test;

class TestSpeedTable : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void otherUnitHasNoRows();
    void storedRows();
};

void TestSpeedTable::rows_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("vehicles");
    QTest::addColumn<int>("rowCount");
    // "speed:all/app/rec" for every row that is not all zeros.
    QTest::addColumn<QStringList>("nonZero");

    QTest::newRow("mph ends") << "MPH"
                              << "+10 -15 +72 -80" << 60
                              << QStringList{u"14:1/1/0"_s, u"15:1/0/1"_s, u"72:1/1/0"_s,
                                             u"73:1/0/1"_s};
    QTest::newRow("mph under row collects")
        << "MPH"
        << "+0 -14 ?3 +16" << 60 << QStringList{u"14:3/1/1"_s, u"16:1/1/0"_s};
    QTest::newRow("mph over row collects") << "MPH"
                                           << "+73 -999 ?100" << 60 << QStringList{u"73:3/1/1"_s};
    QTest::newRow("kph ends") << "KPH"
                              << "+29 -5 +30 -120 +121 ?200" << 93
                              << QStringList{u"29:2/1/1"_s, u"30:1/1/0"_s, u"120:1/0/1"_s,
                                             u"121:2/1/0"_s};
    QTest::newRow("unknown direction") << "MPH"
                                       << "?40x3 +40" << 60 << QStringList{u"40:4/1/0"_s};
    QTest::newRow("no vehicles") << "KPH"
                                 << "" << 93 << QStringList{};
}

void TestSpeedTable::rows()
{
    QFETCH(QString, unit);
    QFETCH(QString, vehicles);
    QFETCH(int, rowCount);
    QFETCH(QStringList, nonZero);

    const Vehicles set = vehiclesFrom(vehicles);
    const QVector<SpeedRow> rows = computeSpeedRows(set, unit);
    QCOMPARE(rows.size(), rowCount);
    const int first = unit == QLatin1String("MPH") ? 14 : 29;
    QStringList seen;
    int total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const SpeedRow &r = rows.at(i);
        QCOMPARE(r.speed, first + i); // every speed, ascending
        total += r.allTotal;
        if (r.allTotal || r.allApp || r.allRec)
            seen << QStringLiteral("%1:%2/%3/%4")
                        .arg(r.speed)
                        .arg(r.allTotal)
                        .arg(r.allApp)
                        .arg(r.allRec);
    }
    QCOMPARE(seen, nonZero);
    QCOMPARE(total, set.size()); // every vehicle in exactly one row
}

void TestSpeedTable::otherUnitHasNoRows()
{
    QVERIFY(computeSpeedRows(vehiclesFrom(u"+30 -40"_s), QStringLiteral("Knots")).isEmpty());
    QVERIFY(computeSpeedRows(vehiclesFrom(u"+30 -40"_s), QStringLiteral("mph")).isEmpty());
}

void TestSpeedTable::storedRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession session(path);
    Transaction transaction(session); // as the import holds it; rolled back at the end
    StatsInput input{QStringLiteral("052401-B"), QStringLiteral("35"), QStringLiteral("MPH"),
                     QStringLiteral("05/24/2001"), QStringLiteral("13:45")};
    SpeedTable(session, vehiclesFrom(u"+10 -15 +72 -80 ?40"_s), input);
    input.unit = QStringLiteral("Knots");
    input.batchNumber = QStringLiteral("052401-C");
    SpeedTable(session, vehiclesFrom(u"+10"_s), input);

    QSqlQuery q = session.exec(
        QStringLiteral(
            "SELECT count(*), sum(all_total), sum(All_app), sum(all_rec), min(speed), max(speed) "
            "FROM Speed WHERE batch_number = ?"),
        {QStringLiteral("052401-B")});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 60);
    QCOMPARE(q.value(1).toInt(), 5);
    QCOMPARE(q.value(2).toInt(), 2);
    QCOMPARE(q.value(3).toInt(), 2);
    QCOMPARE(q.value(4).toInt(), 14);
    QCOMPARE(q.value(5).toInt(), 73);
    QCOMPARE(session.scalar(QStringLiteral("SELECT all_total FROM Speed WHERE speed = 40")).toInt(),
             1);
    QCOMPARE(session
                 .scalar(QStringLiteral("SELECT count(*) FROM Speed WHERE batch_number = ?"),
                         {QStringLiteral("052401-C")})
                 .toInt(),
             0);
}

QTEST_GUILESS_MAIN(TestSpeedTable)
#include "tst_SpeedTable.moc"
