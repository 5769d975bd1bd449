// The Time_15 rows: 48 per date, "*" for zero, hour totals on every fourth row.

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

const QDate Day1(2001, 5, 24);

int at(int hour, int minute, int second = 0)
{
    return hour * 3600 + minute * 60 + second;
}

// Every count field that is not "*", as "<day>.<row> <field>=<value>" (day and row from 1).
QStringList nonEmpty(const QVector<Time15Row> &rows, const QDate &first)
{
    QStringList out;
    for (int i = 0; i < rows.size(); ++i) {
        const Time15Row &r = rows.at(i);
        const QString where =
            QStringLiteral("%1.%2 ").arg(first.daysTo(r.date) + 1).arg(i % 48 + 1);
        const std::pair<const char *, std::optional<QString>> fields[] = {
            {"AMApp", r.amAppText()},         {"AMRec", r.amRecText()},
            {"tHourAMApp", r.tHourAMApp()},   {"tHourAMRec", r.tHourAMRec()},
            {"AMHourTotal", r.amHourTotal()}, {"PMApp", r.pmAppText()},
            {"PMRec", r.pmRecText()},         {"tHourPMApp", r.tHourPMApp()},
            {"tHourPMRec", r.tHourPMRec()},   {"PMHourTotal", r.pmHourTotal()}};
        for (const auto &[name, value] : fields)
            if (value && *value != QLatin1String("*"))
                out << where + QLatin1String(name) + QLatin1Char('=') + *value;
    }
    return out;
}

} // namespace

class TestTime15min : public QObject
{
    Q_OBJECT

private slots:
    void blocks_data();
    void blocks();
    void rowLayout();
    void dateRange_data();
    void dateRange();
    void storedRows();
    void periodDates_data();
    void periodDates();
};

void TestTime15min::blocks_data()
{
    QTest::addColumn<Vehicles>("vehicles");
    QTest::addColumn<QStringList>("counts");

    QTest::newRow("one at 00:07") << Vehicles{vehicleAt('+', 30, Day1, at(0, 7))}
                                  << QStringList{u"1.1 AMApp=1"_s, u"1.4 tHourAMApp=1"_s,
                                                 u"1.4 AMHourTotal=1"_s};
    // A vehicle on a boundary counts once, in the block that starts there.
    QTest::newRow("on 00:15:00") << Vehicles{vehicleAt('+', 30, Day1, at(0, 15))}
                                 << QStringList{u"1.2 AMApp=1"_s, u"1.4 tHourAMApp=1"_s,
                                                u"1.4 AMHourTotal=1"_s};
    QTest::newRow("on 01:00:00") << Vehicles{vehicleAt('-', 30, Day1, at(1, 0))}
                                 << QStringList{u"1.5 AMRec=1"_s, u"1.8 tHourAMRec=1"_s,
                                                u"1.8 AMHourTotal=1"_s};
    QTest::newRow("on 12:00:00 is afternoon")
        << Vehicles{vehicleAt('+', 30, Day1, at(12, 0))}
        << QStringList{u"1.1 PMApp=1"_s, u"1.4 tHourPMApp=1"_s, u"1.4 PMHourTotal=1"_s};
    QTest::newRow("11:59:59 is morning")
        << Vehicles{vehicleAt('+', 30, Day1, at(11, 59, 59))}
        << QStringList{u"1.48 AMApp=1"_s, u"1.48 tHourAMApp=1"_s, u"1.48 AMHourTotal=1"_s};
    QTest::newRow("00:00:00") << Vehicles{vehicleAt('-', 30, Day1, 0)}
                              << QStringList{u"1.1 AMRec=1"_s, u"1.4 tHourAMRec=1"_s,
                                             u"1.4 AMHourTotal=1"_s};
    QTest::newRow("23:50 and 23:59:59")
        << Vehicles{vehicleAt('+', 30, Day1, at(23, 50)), vehicleAt('-', 30, Day1, at(23, 59, 59))}
        << QStringList{u"1.48 PMApp=1"_s, u"1.48 PMRec=1"_s, u"1.48 tHourPMApp=1"_s,
                       u"1.48 tHourPMRec=1"_s, u"1.48 PMHourTotal=2"_s};
    QTest::newRow("unknown direction")
        << Vehicles{vehicleAt('?', 30, Day1, at(0, 7))} << QStringList{};
    QTest::newRow("hour sums")
        << Vehicles{vehicleAt('+', 1, Day1, at(8, 0)),      vehicleAt('+', 1, Day1, at(8, 14, 59)),
                    vehicleAt('+', 1, Day1, at(8, 30)),     vehicleAt('-', 1, Day1, at(8, 59, 59)),
                    vehicleAt('?', 1, Day1, at(8, 59, 59)), vehicleAt('-', 1, Day1, at(9, 0))}
        << QStringList{u"1.33 AMApp=2"_s,      u"1.35 AMApp=1"_s,      u"1.36 AMRec=1"_s,
                       u"1.36 tHourAMApp=3"_s, u"1.36 tHourAMRec=1"_s, u"1.36 AMHourTotal=4"_s,
                       u"1.37 AMRec=1"_s,      u"1.40 tHourAMRec=1"_s, u"1.40 AMHourTotal=1"_s};
    QTest::newRow("second date") << Vehicles{vehicleAt('+', 30, Day1.addDays(1), at(13, 20))}
                                 << QStringList{u"2.6 PMApp=1"_s, u"2.8 tHourPMApp=1"_s,
                                                u"2.8 PMHourTotal=1"_s};
    QTest::newRow("outside the dates")
        << Vehicles{vehicleAt('+', 30, Day1.addDays(-1), 0), vehicleAt('+', 30, Day1.addDays(2), 0),
                    vehicleAt('+', 30, QDate(), 0)}
        << QStringList{};
}

void TestTime15min::blocks()
{
    QFETCH(Vehicles, vehicles);
    const QVector<Time15Row> rows = computeTime15(vehicles, Day1, Day1.addDays(1));
    QCOMPARE(rows.size(), 96);
    QTEST(nonEmpty(rows, Day1), "counts");
}

void TestTime15min::rowLayout()
{
    const QVector<Time15Row> rows = computeTime15({}, Day1, Day1);
    QCOMPARE(rows.size(), 48);
    QCOMPARE(rows.first().timeAM(), QStringLiteral("00:00 - 00:15"));
    QCOMPARE(rows.first().timePM(), QStringLiteral("12:00 - 12:15"));
    QCOMPARE(rows.at(3).timeAM(), QStringLiteral("00:45 - 01:00"));
    QCOMPARE(rows.at(4).timePM(), QStringLiteral("13:00 - 13:15"));
    QCOMPARE(rows.last().timeAM(), QStringLiteral("11:45 - 12:00"));
    QCOMPARE(rows.last().timePM(), QStringLiteral("23:45 - 00:00"));
    for (int i = 0; i < rows.size(); ++i) {
        const Time15Row &r = rows.at(i);
        QCOMPARE(r.date, Day1);
        QCOMPARE(r.amAppText(), QStringLiteral("*"));
        QCOMPARE(r.pmRecText(), QStringLiteral("*"));
        const bool hourRow = i % 4 == 3;
        for (const std::optional<QString> &field :
             {r.tHourAMApp(), r.tHourAMRec(), r.amHourTotal(), r.tHourPMApp(), r.tHourPMRec(),
              r.pmHourTotal()}) {
            QCOMPARE(field.has_value(), hourRow);
            if (hourRow)
                QCOMPARE(*field, QStringLiteral("*"));
        }
    }
}

void TestTime15min::dateRange_data()
{
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QStringList>("dates");

    QTest::newRow("one date") << Day1 << Day1 << QStringList{u"05/24/01"_s};
    QTest::newRow("11:20 PM to 2:10 AM two dates later")
        << Day1 << Day1.addDays(2) << QStringList{u"05/24/01"_s, u"05/25/01"_s, u"05/26/01"_s};
    QTest::newRow("year end") << QDate(2025, 12, 30) << QDate(2026, 1, 2)
                              << QStringList{u"12/30/25"_s, u"12/31/25"_s, u"01/01/26"_s,
                                             u"01/02/26"_s};
    QTest::newRow("month end, leap year")
        << QDate(2024, 2, 28) << QDate(2024, 3, 1)
        << QStringList{u"02/28/24"_s, u"02/29/24"_s, u"03/01/24"_s};
    QTest::newRow("last before first") << Day1 << Day1.addDays(-1) << QStringList{};
    QTest::newRow("no dates") << QDate() << QDate() << QStringList{};
}

void TestTime15min::dateRange()
{
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QStringList, dates);
    // One vehicle late on the last date: the dates between stay all "*".
    const Vehicles vehicles{vehicleAt('+', 30, last, at(2, 9))};
    const QVector<Time15Row> rows = computeTime15(vehicles, first, last);
    QCOMPARE(rows.size(), dates.size() * 48);
    for (int i = 0; i < rows.size(); ++i) {
        const Time15Row &row = rows.at(i);
        QCOMPARE(row.date.toString(QStringLiteral("MM/dd/yy")), dates.at(i / 48));
        const bool counted = i == rows.size() - 48 + 8;
        QCOMPARE(row.amAppText(), counted ? QStringLiteral("1") : QStringLiteral("*"));
    }
}

void TestTime15min::storedRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession session(path);
    Transaction transaction(session); // as the import holds it; rolled back at the end
    const StatsInput input{QStringLiteral("123025-A"), QStringLiteral("35"), QStringLiteral("MPH"),
                           QStringLiteral("12/30/2025"), QStringLiteral("23:20")};
    const SurveyPeriod period{QStringLiteral("12/30/25"), QStringLiteral("11:20 PM"),
                              QStringLiteral("01/01/26"), QStringLiteral("02:10 AM")};
    Vehicles vehicles;
    for (int i = 0; i < 12; ++i)
        vehicles << vehicleAt('+', 30, QDate(2025, 12, 31), at(12, 5));
    vehicles << vehicleAt('-', 30, QDate(2026, 1, 1), at(0, 15));
    Time15min(session, vehicles, input, period);

    QCOMPARE(session
                 .scalar(QStringLiteral("SELECT count(*) FROM Time_15 WHERE Batch_Number = ?"),
                         {input.batchNumber})
                 .toInt(),
             3 * 48);
    QSqlQuery q = session.exec(QStringLiteral(
        "SELECT Date, TimePM, PMApp, typeof(tHourPMApp) FROM Time_15 WHERE PMApp <> '*'"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("12/31/25"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("12:00 - 12:15"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("12"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("null"));
    QVERIFY(!q.next());
    q = session.exec(QStringLiteral(
        "SELECT Date, TimeAM, tHourAMRec, AMHourTotal FROM Time_15 WHERE AMHourTotal <> '*'"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("01/01/26"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("00:45 - 01:00"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("1"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("1"));
    QVERIFY(!q.next());
    QCOMPARE(session.scalar(QStringLiteral("SELECT count(*) FROM Time_15 WHERE tHourPMApp = '12'"))
                 .toInt(),
             1);
}

void TestTime15min::periodDates_data()
{
    QTest::addColumn<QString>("startDate"); // the window's start date, mm/dd/yyyy
    QTest::addColumn<QString>("first");     // the period's dates, mm/dd/yy
    QTest::addColumn<QString>("last");
    QTest::addColumn<int>("dates");
    QTest::addColumn<QString>("lastStored");

    QTest::newRow("one date") << "05/24/2001"
                              << "05/24/01"
                              << "05/24/01" << 1 << "05/24/01";
    QTest::newRow("year end") << "12/30/2025"
                              << "12/30/25"
                              << "01/02/26" << 4 << "01/02/26";
    QTest::newRow("into a new century") << "12/31/2099"
                                        << "12/31/99"
                                        << "01/01/00" << 2 << "01/01/00";
    QTest::newRow("no start date") << ""
                                   << ""
                                   << "" << 0 << "";
}

void TestTime15min::periodDates()
{
    QFETCH(QString, startDate);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession session(path);
    Transaction transaction(session); // as the import holds it; rolled back at the end
    const StatsInput input{QStringLiteral("B"), QStringLiteral("35"), QStringLiteral("MPH"),
                           startDate, QStringLiteral("08:00")};
    Time15min(session, {}, input, SurveyPeriod{first, QString(), last, QString()});
    QTEST(session.scalar(QStringLiteral("SELECT count(DISTINCT Date) FROM Time_15")).toInt(),
          "dates");
    QTEST(session.scalar(QStringLiteral("SELECT Date FROM Time_15 ORDER BY rowid DESC LIMIT 1"))
              .toString(),
          "lastStored");
}

QTEST_GUILESS_MAIN(TestTime15min)
#include "tst_Time15min.moc"
