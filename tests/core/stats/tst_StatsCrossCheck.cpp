// The one-pass statistics against the figures counted the slow way: one SQL
// aggregate per figure over the stored Veh_Data rows, and a block-by-block scan
// of every vehicle for the fifteen-minute table.

#include "core/intake/RawDataFile.h"
#include "core/intake/VehicleImport.h"
#include "core/stats/Statistics.h"
#include "core/store/Schema.h"
#include "core/text/TextPatterns.h"
#include "sample/SampleSurvey.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTime>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;

namespace {

const QString Batch = QStringLiteral("123025-A");

// Random vehicles as the import would have accepted them: offsets in order,
// dates and times from the start date and time with the clock's carries.
Vehicles randomSurvey(quint32 seed, int count, const QString &directions, const QDate &start,
                      int startHour, int startMinute)
{
    QRandomGenerator rng(seed);
    Vehicles out;
    qint64 offset = rng.bounded(600);
    for (int i = 0; i < count; ++i) {
        // Mostly a few seconds apart, now and then a long quiet spell; some exactly on
        // a quarter hour.
        const int step = rng.bounded(100);
        offset += step < 90 ? rng.bounded(120) : step < 98 ? rng.bounded(3600) : 20000;
        if (rng.bounded(40) == 0)
            offset = (offset / 900 + 1) * 900 - (startHour * 3600 + startMinute * 60) % 900;
        Vehicle v;
        v.offset = offset;
        v.direction = directions.at(rng.bounded(int(directions.size()))).toLatin1();
        const int kind = rng.bounded(10);
        v.speed = kind == 0 ? rng.bounded(200) : 20 + rng.bounded(40) + rng.bounded(20);
        qint64 days = offset / 86400;
        int hour = startHour + int((offset / 3600) % 24);
        int minute = startMinute + int((offset / 60) % 60);
        if (minute > 59) {
            minute -= 60;
            ++hour;
        }
        if (hour >= 24) {
            hour -= 24;
            ++days;
        }
        v.date = start.addDays(days);
        v.secondOfDay = hour * 3600 + minute * 60 + int(offset % 60);
        out.append(v);
    }
    return out;
}

class Fixture
{
public:
    Fixture()
    {
        path = dir.filePath(QStringLiteral("OV97.mdb"));
        error = createBlankDatabase(path);
        session.emplace(path);
    }
    QTemporaryDir dir;
    QString path;
    QString error;
    std::optional<DatabaseSession> session;
};

// Vehicles of the batch that meet a condition, counted by the database.
int countVehicles(DatabaseSession &s, const QString &condition, const QVariantList &values = {})
{
    QVariantList all{Batch};
    all += values;
    return s
        .scalar(QStringLiteral("SELECT count(*) FROM Veh_Data WHERE Batch_Number = ? AND ") +
                    condition,
                all)
        .toInt();
}

QVariant aggregate(DatabaseSession &s, const QString &what,
                   const QString &condition = QStringLiteral("1"))
{
    return s.scalar(QStringLiteral("SELECT %1 FROM Veh_Data WHERE Batch_Number = ? AND %2")
                        .arg(what, condition),
                    {Batch});
}

// Compares every stored figure of the batch with what the queries over its
// Veh_Data rows give. The caller checks QTest::currentTestFailed().
void checkAgainstVehData(DatabaseSession &s, const StatsInput &input)
{
    const QString &unit = input.unit;
    const QString &posted = input.postedSpeed;
    auto count = [&s](const QString &condition, const QVariantList &values = {}) {
        return countVehicles(s, condition, values);
    };
    QVERIFY(count(QStringLiteral("1")) > 0);

    // Summary: one aggregate per figure.
    const int limit = int(roundHalfEven(numericValue(posted)));
    QSqlQuery stored =
        s.exec(QStringLiteral("SELECT * FROM Summary WHERE Batch_Number = ?"), {Batch});
    QVERIFY(stored.next());
    auto field = [&stored](const QString &name) { return stored.value(name); };
    QCOMPARE(field(QStringLiteral("Total_Vehicles")).toInt(), count(QStringLiteral("1")));
    QCOMPARE(field(QStringLiteral("Total_Approach")).toInt(),
             count(QStringLiteral("Veh_Direction = '+'")));
    QCOMPARE(field(QStringLiteral("Total_Receeding")).toInt(),
             count(QStringLiteral("Veh_Direction = '-'")));
    QCOMPARE(field(QStringLiteral("Total_Unknown")).toInt(),
             count(QStringLiteral("Veh_Direction = '?'")));
    QCOMPARE(field(QStringLiteral("Max_Speed")).toInt(), aggregate(s, u"max(Speed)"_s).toInt());
    QCOMPARE(field(QStringLiteral("total_seconds")).toLongLong(),
             aggregate(s, u"max(Offset)"_s).toLongLong());

    const struct
    {
        QString suffix;
        QString condition;
    } sets[] = {{QString(), QStringLiteral("1")},
                {QStringLiteral("A"), QStringLiteral("Veh_Direction = '+'")},
                {QStringLiteral("R"), QStringLiteral("Veh_Direction = '-'")}};
    for (const auto &set : sets) {
        const QString c = set.condition + QStringLiteral(" AND ");
        QCOMPARE(field(QStringLiteral("Number_Under") + set.suffix).toInt(),
                 count(c + QStringLiteral("Speed <= ?"), {limit}));
        const QString over = QStringLiteral("Number_Over") + set.suffix;
        QCOMPARE(field(over).toInt(), count(c + QStringLiteral("Speed > ?"), {limit}));
        QCOMPARE(field(over + QStringLiteral("10")).toInt(),
                 count(c + QStringLiteral("Speed > ? AND Speed <= ?"), {limit, limit + 10}));
        QCOMPARE(field(over + QStringLiteral("20")).toInt(),
                 count(c + QStringLiteral("Speed > ? AND Speed <= ?"), {limit + 10, limit + 20}));
        QCOMPARE(field(over + QStringLiteral("30")).toInt(),
                 count(c + QStringLiteral("Speed > ?"), {limit + 20}));

        const QVariant mean = aggregate(s, QStringLiteral("avg(Speed)"), set.condition);
        const QVariant p50 = field(QStringLiteral("50th_Percentile") + set.suffix);
        const QVariant pace = field(QStringLiteral("Pace") + set.suffix);
        const int paceTotal = field(QStringLiteral("Pace_Total") + set.suffix).toInt();
        const QVariant pacePercent = field(QStringLiteral("Pace_Percent") + set.suffix);
        if (mean.isNull()) {
            QVERIFY(p50.isNull());
            QVERIFY(pace.isNull());
            QCOMPARE(paceTotal, 0);
            QVERIFY(pacePercent.isNull());
            continue;
        }
        const double m = mean.toDouble();
        QCOMPARE(p50.toString(), formatNumber(m, QStringLiteral("###.0")));
        QCOMPARE(field(QStringLiteral("85th_Percentile") + set.suffix).toString(),
                 formatNumber(1.175 * p50.toString().toDouble(), QStringLiteral("##")));
        if (unit != QLatin1String("MPH") && unit != QLatin1String("KPH")) {
            QVERIFY(pace.isNull());
            QCOMPARE(paceTotal, 0);
            QVERIFY(pacePercent.isNull());
            continue;
        }
        const int below = unit == QLatin1String("MPH") ? 5 : 10;
        const int lo = int(std::floor(m - below + 0.5)); // the mean is never negative here
        const int hi = lo + 2 * below;
        QCOMPARE(pace.toString(), QStringLiteral("%1 to %2").arg(lo).arg(hi));
        const int inPace = count(c + QStringLiteral("Speed >= ? AND Speed <= ?"), {lo, hi});
        QCOMPARE(paceTotal, inPace);
        const int size = count(set.condition);
        QCOMPARE(pacePercent.toString(),
                 formatNumber(100.0 * inPace / size, QStringLiteral("##")) + QStringLiteral(" %"));
    }
    // The stop point: the start plus the highest offset in whole minutes, with the
    // clock's carries into the stop date.
    const QDateTime begin(parseDate(input.startDate), parseTime(input.startTime), Qt::UTC);
    const qint64 longest = aggregate(s, QStringLiteral("max(Offset)")).toLongLong();
    const QDateTime end = begin.addSecs(longest / 60 * 60);
    QCOMPARE(field(QStringLiteral("Start_Date")).toString(),
             formatDate(begin.date(), QStringLiteral("mm/dd/yy")));
    QCOMPARE(field(QStringLiteral("Stop_Date")).toString(),
             formatDate(end.date(), QStringLiteral("mm/dd/yy")));
    QCOMPARE(field(QStringLiteral("Stop_Time")).toString(),
             formatTime(end.time(), QStringLiteral("hh:mm AMPM")));
    QCOMPARE(field(QStringLiteral("Total_Time")).toString(),
             QStringLiteral("%1 Days, %2 Hrs, %3 Min")
                 .arg(longest / 86400)
                 .arg(longest / 3600 % 24)
                 .arg(longest / 60 % 60, 2, 10, QLatin1Char('0')));
    const QDate firstDate = begin.date();
    const QDate lastDate = end.date();
    stored = QSqlQuery();

    // Speed: three counts per row.
    QSqlQuery speeds = s.exec(QStringLiteral("SELECT speed, all_total, All_app, all_rec FROM Speed "
                                             "WHERE batch_number = ? ORDER BY rowid"),
                              {Batch});
    int rows = 0;
    const int first = unit == QLatin1String("KPH") ? 30 : 15;
    const int last = unit == QLatin1String("KPH") ? 120 : 72;
    while (speeds.next()) {
        const int v = speeds.value(0).toInt();
        QCOMPARE(v, first - 1 + rows);
        const QString c = v < first  ? QStringLiteral("Speed < %1").arg(first)
                          : v > last ? QStringLiteral("Speed > %1").arg(last)
                                     : QStringLiteral("Speed = %1").arg(v);
        QCOMPARE(speeds.value(1).toInt(), count(c));
        QCOMPARE(speeds.value(2).toInt(), count(c + QStringLiteral(" AND Veh_Direction = '+'")));
        QCOMPARE(speeds.value(3).toInt(), count(c + QStringLiteral(" AND Veh_Direction = '-'")));
        ++rows;
    }
    const int expectedRows = unit == QLatin1String("MPH")   ? 60
                             : unit == QLatin1String("KPH") ? 93
                                                            : 0;
    QCOMPARE(rows, expectedRows);
    speeds = QSqlQuery();

    // Speed_Profile: the Veh_Data rows over the unrounded limit, in stored order.
    const double exact = numericValue(posted);
    QSqlQuery source = s.exec(QStringLiteral("SELECT Date, Time, Speed, Veh_Direction FROM "
                                             "Veh_Data WHERE Batch_Number = ? AND Speed > ? "
                                             "ORDER BY rowid"),
                              {Batch, exact});
    QSqlQuery profile = s.exec(QStringLiteral("SELECT Date, Time, speed_Over, Plus10, Plus20, "
                                              "Dir FROM Speed_Profile WHERE Batch_Number = ? "
                                              "ORDER BY rowid"),
                               {Batch});
    int speeding = 0;
    while (source.next()) {
        QVERIFY(profile.next());
        const int v = source.value(2).toInt();
        const QString sp = QString::number(v);
        const QString none = QStringLiteral("--");
        QCOMPARE(profile.value(0).toString(), source.value(0).toString());
        QCOMPARE(profile.value(1).toString(), source.value(1).toString());
        QCOMPARE(profile.value(2).toString(), v <= exact + 10 ? sp : none);
        QCOMPARE(profile.value(3).toString(), v > exact + 10 && v <= exact + 20 ? sp : none);
        QCOMPARE(profile.value(4).toString(), v > exact + 20 ? sp : none);
        QCOMPARE(profile.value(5).toString(), source.value(3).toString());
        ++speeding;
    }
    QVERIFY(!profile.next());
    QVERIFY(speeding > 100);
    source = QSqlQuery();
    profile = QSqlQuery();

    // Time_15: every block scanned over every stored vehicle, by its date and time texts.
    struct Stored
    {
        QDate date;
        int second;
        QString direction;
    };
    QVector<Stored> veh;
    QSqlQuery all = s.exec(QStringLiteral("SELECT Date, Time, Veh_Direction FROM Veh_Data"));
    while (all.next())
        veh.append({parseDate(all.value(0).toString()),
                    QTime(0, 0).secsTo(parseTime(all.value(1).toString())),
                    all.value(2).toString()});
    all = QSqlQuery();
    auto blockCount = [&veh](const QDate &d, int block, const QString &direction) {
        const int from = block * 900;
        const int to = block == 95 ? 86400 : from + 900;
        int n = 0;
        for (const Stored &v : veh)
            if (v.date == d && v.direction == direction && v.second >= from && v.second < to)
                ++n;
        return n;
    };
    auto asText = [](int n) { return n == 0 ? QStringLiteral("*") : QString::number(n); };

    QVERIFY(firstDate.daysTo(lastDate) >= 2);
    QSqlQuery t15 = s.exec(QStringLiteral("SELECT * FROM Time_15 WHERE Batch_Number = ? "
                                          "ORDER BY rowid"),
                           {Batch});
    int counted = 0;
    for (QDate d = firstDate; d <= lastDate; d = d.addDays(1)) {
        int hour[4] = {0, 0, 0, 0};
        for (int r = 0; r < 48; ++r) {
            QVERIFY(t15.next());
            QCOMPARE(t15.value(QStringLiteral("Date")).toString(),
                     formatDate(d, QStringLiteral("mm/dd/yy")));
            const int am[2] = {blockCount(d, r, QStringLiteral("+")),
                               blockCount(d, r, QStringLiteral("-"))};
            const int pm[2] = {blockCount(d, r + 48, QStringLiteral("+")),
                               blockCount(d, r + 48, QStringLiteral("-"))};
            QCOMPARE(t15.value(QStringLiteral("AMApp")).toString(), asText(am[0]));
            QCOMPARE(t15.value(QStringLiteral("AMRec")).toString(), asText(am[1]));
            QCOMPARE(t15.value(QStringLiteral("PMApp")).toString(), asText(pm[0]));
            QCOMPARE(t15.value(QStringLiteral("PMRec")).toString(), asText(pm[1]));
            hour[0] += am[0];
            hour[1] += am[1];
            hour[2] += pm[0];
            hour[3] += pm[1];
            counted += am[0] + am[1] + pm[0] + pm[1];
            if (r % 4 == 3) {
                QCOMPARE(t15.value(QStringLiteral("tHourAMApp")).toString(), asText(hour[0]));
                QCOMPARE(t15.value(QStringLiteral("tHourAMRec")).toString(), asText(hour[1]));
                QCOMPARE(t15.value(QStringLiteral("AMHourTotal")).toString(),
                         asText(hour[0] + hour[1]));
                QCOMPARE(t15.value(QStringLiteral("tHourPMApp")).toString(), asText(hour[2]));
                QCOMPARE(t15.value(QStringLiteral("tHourPMRec")).toString(), asText(hour[3]));
                QCOMPARE(t15.value(QStringLiteral("PMHourTotal")).toString(),
                         asText(hour[2] + hour[3]));
                hour[0] = hour[1] = hour[2] = hour[3] = 0;
            } else {
                QVERIFY(t15.value(QStringLiteral("tHourAMApp")).isNull());
                QVERIFY(t15.value(QStringLiteral("PMHourTotal")).isNull());
            }
        }
    }
    QVERIFY(!t15.next());
    // Every "+" and "-" vehicle lies in exactly one block.
    QCOMPARE(counted, count(QStringLiteral("Veh_Direction <> '?'")));
}

} // namespace

class TestStatsCrossCheck : public QObject
{
    Q_OBJECT

private slots:
    void againstQueries_data();
    void againstQueries();
    void importedSurvey_data();
    void importedSurvey();
    void failingStoreThrows_data();
    void failingStoreThrows();
};

void TestStatsCrossCheck::againstQueries_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("posted");
    QTest::addColumn<QString>("directions");
    QTest::addColumn<QString>("startTime");

    QTest::newRow("mph 35") << 1u << "MPH"
                            << "35"
                            << "+-?"
                            << "22:30";
    QTest::newRow("mph 35.5") << 2u << "MPH"
                              << "35.5"
                              << "++-?"
                              << "00:00";
    QTest::newRow("kph 50") << 3u << "KPH"
                            << "050"
                            << "+--"
                            << "13:47";
    QTest::newRow("no receding") << 4u << "MPH"
                                 << "25"
                                 << "+?"
                                 << "23:59";
    QTest::newRow("other unit") << 5u << "Knots"
                                << "40"
                                << "+-"
                                << "11:15";
}

void TestStatsCrossCheck::againstQueries()
{
    QFETCH(quint32, seed);
    QFETCH(QString, unit);
    QFETCH(QString, posted);
    QFETCH(QString, directions);
    QFETCH(QString, startTime);

    const QDate start(2025, 12, 30);
    const Vehicles vehicles = randomSurvey(seed, 3000, directions, start, startTime.left(2).toInt(),
                                           startTime.mid(3).toInt());
    const StatsInput input{Batch, posted, unit, QStringLiteral("12/30/2025"), startTime};

    Fixture f;
    QCOMPARE(f.error, QString());
    QVERIFY(f.session->isOpen());
    DatabaseSession &s = *f.session;
    Transaction transaction(s);
    {
        QSqlQuery insert = s.prepare(QStringLiteral(
            "INSERT INTO Veh_Data (Batch_Number, Offset, Veh_Direction, Speed, Time, Date) "
            "VALUES (?, ?, ?, ?, ?, ?)"));
        for (const Vehicle &v : vehicles)
            s.run(insert,
                  {Batch, v.offset, QString(QLatin1Char(v.direction)), v.speed,
                   formatTime(QTime(0, 0).addSecs(v.secondOfDay), QStringLiteral("hh:mm:ss AMPM")),
                   formatDate(v.date, QStringLiteral("mm/dd/yy"))});
    }
    const SurveyPeriod period = Summary2(s, vehicles, input);
    SpeedTable(s, vehicles, input);
    SpeedProfile(s, vehicles, input);
    Time15min(s, vehicles, input, period);
    checkAgainstVehData(s, input);
}

void TestStatsCrossCheck::importedSurvey_data()
{
    QTest::addColumn<QDate>("startDate");
    QTest::addColumn<QTime>("startTime");
    QTest::addColumn<int>("days");
    QTest::addColumn<bool>("kph");
    QTest::addColumn<QString>("posted");

    QTest::newRow("mph across the year end")
        << QDate(2025, 12, 30) << QTime(22, 40) << 4 << false << "035";
    QTest::newRow("kph over a month end") << QDate(2024, 2, 27) << QTime(7, 5) << 3 << true << "50";
}

void TestStatsCrossCheck::importedSurvey()
{
    // The whole road: a generated raw file through the import, then every derived
    // figure against the Veh_Data rows the import stored.
    QFETCH(QDate, startDate);
    QFETCH(QTime, startTime);
    QFETCH(int, days);
    QFETCH(bool, kph);
    QFETCH(QString, posted);

    SampleOptions options;
    options.vehicles = 4000;
    options.days = days;
    options.startDate = startDate;
    options.startTime = startTime;
    options.kph = kph;
    options.seed = 11;
    QCOMPARE(checkSampleOptions(options), QString());
    const SampleSurvey sample = generateSampleSurvey(options);

    ImportInput in;
    in.batchNumber = Batch;
    in.locationCode = options.locationCode;
    in.location = QStringLiteral("Main Street");
    in.startDate = formatDate(startDate, QStringLiteral("mm/dd/yyyy"));
    in.startTime = formatTime(startTime, QStringLiteral("hh:mm"));
    in.postedSpeed = posted;
    in.unit = kph ? QStringLiteral("KPH") : QStringLiteral("MPH");
    in.direction = QStringLiteral("North");
    in.zone = QStringLiteral("Residential");
    if (kph) {
        in.speedMin = QStringLiteral("15");
        in.speedMax = QStringLiteral("160");
    }
    in.rawText = QString::fromLatin1(sample.text);
    markEnd(in.rawText); // as the loader leaves it

    Fixture f;
    QCOMPARE(f.error, QString());
    f.session.reset(); // the import opens its own session
    const ImportResult result = importSurvey(f.path, in);
    QCOMPARE(result.detail, QString());
    QCOMPARE(result.outcome, ImportOutcome::Stored);
    QVERIFY(result.storedVehicles > 3000);

    DatabaseSession s(f.path);
    QVERIFY(s.isOpen());
    QCOMPARE(countVehicles(s, QStringLiteral("1")), result.storedVehicles);
    checkAgainstVehData(
        s, StatsInput{in.batchNumber, in.postedSpeed, in.unit, in.startDate, in.startTime});
}

void TestStatsCrossCheck::failingStoreThrows_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("Summary") << "Summary";
    QTest::newRow("Speed") << "Speed";
    QTest::newRow("Speed_Profile") << "Speed_Profile";
    QTest::newRow("Time_15") << "Time_15";
}

void TestStatsCrossCheck::failingStoreThrows()
{
    // A store that fails reaches the import as an error, never as silent success.
    QFETCH(QString, table);
    Fixture f;
    QCOMPARE(f.error, QString());
    DatabaseSession &s = *f.session;
    s.exec(QStringLiteral("DROP TABLE [%1]").arg(table));
    const Vehicles vehicles = randomSurvey(7, 50, QStringLiteral("+-"), QDate(2025, 12, 30), 8, 0);
    const StatsInput input{Batch, QStringLiteral("35"), QStringLiteral("MPH"),
                           QStringLiteral("12/30/2025"), QStringLiteral("08:00")};
    Transaction transaction(s);
    bool thrown = false;
    try {
        const SurveyPeriod period = Summary2(s, vehicles, input);
        SpeedTable(s, vehicles, input);
        SpeedProfile(s, vehicles, input);
        Time15min(s, vehicles, input, period);
    } catch (const DatabaseError &error) {
        thrown = true;
        QVERIFY(QString::fromStdString(error.what()).contains(table));
    }
    QVERIFY(thrown);
}

QTEST_GUILESS_MAIN(TestStatsCrossCheck)
#include "tst_StatsCrossCheck.moc"
