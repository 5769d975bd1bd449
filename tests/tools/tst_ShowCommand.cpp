// roadtally-cli show: every view as JSON and as a table, from known surveys,
// and the errors (unknown batch, scheme or date; options a view does not take).

#include "cli/CommandLineTool.h"
#include "fixtures/CliRun.h"

#include "fixtures/TimeTableFixture.h"
#include "fixtures/ViewsFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

namespace {

const QString Week = QStringLiteral("061026-A");

QStringList texts(const QJsonValue &v)
{
    QStringList out;
    for (const QJsonValue &e : v.toArray())
        out << e.toString();
    return out;
}

} // namespace

class tst_ShowCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    Run show(const QStringList &arguments)
    {
        return runCli(
            QStringList{QStringLiteral("show"), QStringLiteral("--folder"), m_dir.path()} +
            arguments);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(writeKnownSurveys(path), QString());
        DatabaseSession s(path);
        Transaction t(s);
        insertSurvey(s, Week, QStringLiteral("06/10/26"), QStringLiteral("06/16/26"));
        for (QDate d(2026, 6, 10); d <= QDate(2026, 6, 16); d = d.addDays(1)) {
            DayHours h;
            h.approaching[8] = d.day();
            h.receding[17] = d.day() + 100;
            insertDay(s, Week, mmddyy(d), h);
        }
        t.commit();
    }

    void summaryJson()
    {
        const Run r = show({QStringLiteral("--batch"), MphBatch, QStringLiteral("summary"),
                            QStringLiteral("--scheme"), QStringLiteral("15 to 70 by 5 MPH"),
                            QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = r.json();
        QCOMPARE(o.value(QStringLiteral("batch")).toString(), MphBatch);
        QCOMPARE(o.value(QStringLiteral("scheme")).toString(), QStringLiteral("15 to 70 by 5 MPH"));
        QCOMPARE(o.value(QStringLiteral("direction")).toString(), QStringLiteral("approaching"));
        const QJsonArray bins = o.value(QStringLiteral("bins")).toArray();
        QCOMPARE(bins.size(), 13);
        const QJsonObject first = bins.first().toObject();
        QCOMPARE(first.value(QStringLiteral("label")).toString(), QStringLiteral("1 - 14"));
        QCOMPARE(first.value(QStringLiteral("volume")).toString(), QStringLiteral("3"));
        QCOMPARE(first.value(QStringLiteral("percent")).toString(), QStringLiteral("3.%"));
        const QJsonObject c = o.value(QStringLiteral("criteria")).toObject();
        const QStringList got{c.value(QStringLiteral("at_under")).toString(),
                              c.value(QStringLiteral("over")).toString(),
                              c.value(QStringLiteral("at_under_percent")).toString(),
                              c.value(QStringLiteral("over_percent")).toString(),
                              c.value(QStringLiteral("average")).toString(),
                              c.value(QStringLiteral("p85")).toString(),
                              c.value(QStringLiteral("max")).toString(),
                              c.value(QStringLiteral("pace")).toString(),
                              c.value(QStringLiteral("pace_count")).toString(),
                              c.value(QStringLiteral("pace_percent")).toString()};
        QCOMPARE(got.join(QLatin1Char('|')),
                 QStringLiteral("68|32|68.%|32.%|34.0|40|73|29 to 39|65|65.0%"));
        QCOMPARE(texts(c.value(QStringLiteral("band_headers"))),
                 QStringList({u"035+"_s, u"45+"_s, u"55+"_s}));
        QCOMPARE(texts(c.value(QStringLiteral("bands"))),
                 QStringList({u"25"_s, u"6"_s, u"1"_s, u"32"_s}));
        QCOMPARE(texts(c.value(QStringLiteral("band_percents"))),
                 QStringList({u"25.%"_s, u"6.%"_s, u"1.%"_s, u"32.%"_s}));
    }

    void summaryWithoutScheme()
    {
        const Run r = show({QStringLiteral("--batch"), MphBatch, QStringLiteral("summary"),
                            QStringLiteral("--direction"), QStringLiteral("receding"),
                            QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = r.json();
        QVERIFY(o.value(QStringLiteral("scheme")).isNull());
        QVERIFY(o.value(QStringLiteral("bins")).toArray().isEmpty());
        const QJsonObject c = o.value(QStringLiteral("criteria")).toObject();
        QCOMPARE(c.value(QStringLiteral("at_under")).toString(), QStringLiteral("4"));
        QCOMPARE(c.value(QStringLiteral("pace")).toString(), QStringLiteral("31 to 41"));
    }

    void fifteenJson()
    {
        const Run r =
            show({QStringLiteral("--batch"), Week, QStringLiteral("fifteen"),
                  QStringLiteral("--date"), QStringLiteral("6/15/26"), QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = r.json();
        QCOMPARE(o.value(QStringLiteral("date")).toString(),
                 QStringLiteral("06/15/26")); // as stored
        QCOMPARE(o.value(QStringLiteral("direction")).toString(), QStringLiteral("both"));
        QCOMPARE(texts(o.value(QStringLiteral("headers"))).join(QLatin1Char('|')),
                 QStringLiteral("Time AM|A|R|Hour Total|Time PM|A|R|Hour Total"));
        const QJsonArray rows = o.value(QStringLiteral("rows")).toArray();
        QCOMPARE(rows.size(), 48);
        QCOMPARE(texts(rows.at(35)).join(QLatin1Char('|')),
                 QStringLiteral("08:45 - 09:00|*|*|15|20:45 - 21:00|*|*|*"));
        const QJsonObject am = o.value(QStringLiteral("am")).toObject();
        QCOMPARE(am.value(QStringLiteral("total")).toString(), QStringLiteral("15"));
        QCOMPARE(am.value(QStringLiteral("peak_hour")).toString(), QStringLiteral("08:00 - 09:00"));
        QCOMPARE(am.value(QStringLiteral("peak_flow")).toString(), QStringLiteral("15/hr"));
        QCOMPARE(am.value(QStringLiteral("peak_share")).toString(), QStringLiteral("100.%"));
        QCOMPARE(am.value(QStringLiteral("day_share")).toString(), QStringLiteral("11.54%"));
        const QJsonObject pm = o.value(QStringLiteral("pm")).toObject();
        QCOMPARE(pm.value(QStringLiteral("peak_hour")).toString(), QStringLiteral("17:00 - 18:00"));
        QCOMPARE(pm.value(QStringLiteral("day_share")).toString(), QStringLiteral("88.46%"));
    }

    void volumeJson()
    {
        const Run r = show({QStringLiteral("--batch"), Week, QStringLiteral("volume"),
                            QStringLiteral("--date"), QStringLiteral("06/12/26"),
                            QStringLiteral("--direction"), QStringLiteral("approaching"),
                            QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = r.json();
        QCOMPARE(o.value(QStringLiteral("title")).toString(),
                 QStringLiteral("Vehicle Volume/Time Comparison for Batch #061026-A"));
        const QJsonArray points = o.value(QStringLiteral("points")).toArray();
        QCOMPARE(points.size(), 24);
        QCOMPARE(points.at(8).toDouble(), 12.0);
        QCOMPARE(points.at(17).toDouble(), 0.0); // receding only at 17:00
        QCOMPARE(texts(o.value(QStringLiteral("labels"))).at(12), QStringLiteral("12"));
    }

    void weeklyJson()
    {
        const Run r = show(
            {QStringLiteral("--batch"), Week, QStringLiteral("weekly"), QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = r.json();
        QCOMPARE(texts(o.value(QStringLiteral("headers"))).join(QLatin1Char('|')),
                 QStringLiteral("Mon-15|Tue-16|Wed-10|Thu-11|Fri-12|Sat-13|Sun-14"));
        const QJsonObject columns = o.value(QStringLiteral("columns")).toObject();
        QCOMPARE(columns.size(), 18);
        const QStringList monday = texts(columns.value(QStringLiteral("Day1A")));
        QCOMPARE(monday.size(), 25);
        QCOMPARE(monday.at(8), QStringLiteral("15"));
        QCOMPARE(monday.at(24), QStringLiteral("15"));
        QCOMPARE(texts(columns.value(QStringLiteral("WDAA"))).at(8), QStringLiteral("13"));
        QCOMPARE(texts(o.value(QStringLiteral("combined"))).first(), QStringLiteral("130"));
        QCOMPARE(texts(o.value(QStringLiteral("split"))).first(), QStringLiteral("11.5 | 88.5"));
    }

    void speedsJson()
    {
        const Run r =
            show({QStringLiteral("--batch"), MphBatch, QStringLiteral("speeds"),
                  QStringLiteral("--printer"), QStringLiteral("bw"), QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonObject o = r.json();
        QCOMPARE(o.value(QStringLiteral("title")).toString(),
                 QStringLiteral("Vehicle Speed Comparison for Batch #123025-A"));
        QCOMPARE(o.value(QStringLiteral("bottom_title")).toString(),
                 QStringLiteral("Measured Vehicle Speed (Both Directions)"));
        const QJsonArray points = o.value(QStringLiteral("points")).toArray();
        QCOMPARE(points.size(), 60);
        const QJsonObject limit = points.at(35 - 14).toObject();
        QCOMPARE(limit.value(QStringLiteral("label")).toString(), QStringLiteral("35"));
        QCOMPARE(limit.value(QStringLiteral("value")).toDouble(), 30.0);
        QCOMPARE(limit.value(QStringLiteral("colour")).toInt(), 0);
        QCOMPARE(points.at(0).toObject().value(QStringLiteral("colour")).toInt(), 7);
    }

    // --criteria picks the summary direction whose pace and 85th percentile are marked.
    void percentileJson()
    {
        const Run r = show({QStringLiteral("--batch"), MphBatch, QStringLiteral("percentile"),
                            QStringLiteral("--direction"), QStringLiteral("receding"),
                            QStringLiteral("--criteria"), QStringLiteral("receding"),
                            QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        const QJsonArray points = r.json().value(QStringLiteral("points")).toArray();
        QCOMPARE(points.size(), 70);
        const QJsonObject p41 = points.at(40).toObject(); // receding pace 31 to 41, p85 42
        QCOMPARE(p41.value(QStringLiteral("label")).toString(), QStringLiteral("41"));
        QCOMPARE(p41.value(QStringLiteral("value")).toDouble(), 4.0);
        QCOMPARE(p41.value(QStringLiteral("colour")).toInt(), 10);
        QCOMPARE(points.at(29).toObject().value(QStringLiteral("colour")).toInt(), 11); // 30
    }

    // The study defaults to the approaching vehicles; catch-all forms are strings.
    void studyJson()
    {
        Run r = show({QStringLiteral("--batch"), MphBatch, QStringLiteral("study"),
                      QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        QJsonObject o = r.json();
        QCOMPARE(o.value(QStringLiteral("direction")).toString(), QStringLiteral("approaching"));
        QCOMPARE(o.value(QStringLiteral("n")).toDouble(), 100.0);
        QCOMPARE(o.value(QStringLiteral("p85")).toDouble(), 40.0);
        QCOMPARE(o.value(QStringLiteral("p85_interpolated")).toDouble(), 39.7);
        QCOMPARE(o.value(QStringLiteral("pace")).toObject().value(QStringLiteral("low")).toDouble(),
                 27.0);
        const QJsonObject program = o.value(QStringLiteral("program")).toObject();
        QCOMPARE(program.value(QStringLiteral("p85")).toDouble(), 40.0);
        QCOMPARE(program.value(QStringLiteral("pace")).toString(), QStringLiteral("29 to 39"));

        r = show({QStringLiteral("--batch"), KphBatch, QStringLiteral("study"),
                  QStringLiteral("--direction"), QStringLiteral("both"), QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        o = r.json();
        QCOMPARE(o.value(QStringLiteral("direction")).toString(), QStringLiteral("both"));
        QCOMPARE(o.value(QStringLiteral("p95")).toString(), QStringLiteral("121 or more"));
        QCOMPARE(o.value(QStringLiteral("adt")).toString(), QStringLiteral("N/A"));
    }

    void tables_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("summary") << QStringList{u"--batch"_s, MphBatch, u"summary"_s, u"--scheme"_s,
                                                u"15 to 70 by 5 MPH"_s}
                                 << "Number Exceeding Limit";
        QTest::newRow("fifteen") << QStringList{u"--batch"_s, Week, u"fifteen"_s, u"--date"_s,
                                                u"06/10/26"_s}
                                 << "Peak % of 24 Hr *";
        QTest::newRow("volume") << QStringList{u"--batch"_s, Week, u"volume"_s, u"--date"_s,
                                               u"06/10/26"_s}
                                << "Vehicle Volume / Hour";
        QTest::newRow("weekly") << QStringList{u"--batch"_s, Week, u"weekly"_s} << "Weekday Avg.";
        QTest::newRow("speeds") << QStringList{u"--batch"_s, MphBatch, u"speeds"_s} << "0 black";
        QTest::newRow("percentile") << QStringList{u"--batch"_s, KphBatch, u"percentile"_s}
                                    << "85th Percentile for Batch #031626-B";
        QTest::newRow("study") << QStringList{u"--batch"_s, MphBatch, u"study"_s, u"--direction"_s,
                                              u"receding"_s}
                               << "Receding vehicles, MPH, posted limit 035";
    }
    void tables()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const Run r = show(arguments);
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(expected), qPrintable(r.out));
        QVERIFY(r.err.isEmpty());
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown batch") << QStringList{u"--batch"_s, u"010101-Q"_s, u"summary"_s}
                                       << 1 << "there is no survey 010101-Q";
        QTest::newRow("unknown scheme")
            << QStringList{u"--batch"_s, MphBatch, u"summary"_s, u"--scheme"_s, u"10 to 20 MPH"_s}
            << 1 << "unknown display scheme \"10 to 20 MPH\"";
        QTest::newRow("scheme of the other unit")
            << QStringList{u"--batch"_s, MphBatch, u"summary"_s, u"--scheme"_s,
                           u"35 to 90 by 5 KPH"_s}
            << 1 << "its schemes: 1 to 25 by 2 MPH";
        QTest::newRow("unknown date")
            << QStringList{u"--batch"_s, Week, u"fifteen"_s, u"--date"_s, u"06/20/26"_s} << 1
            << "has no date 06/20/26 (its dates: 06/10/26";
        QTest::newRow("date that is no date")
            << QStringList{u"--batch"_s, Week, u"volume"_s, u"--date"_s, u"someday"_s} << 1
            << "has no date someday";
        QTest::newRow("weekly without hour rows")
            << QStringList{u"--batch"_s, MphBatch, u"weekly"_s} << 1
            << "has no hourly volumes for 12/30/25";
        QTest::newRow("missing date")
            << QStringList{u"--batch"_s, Week, u"volume"_s} << 2 << "needs --date";
        QTest::newRow("unknown kind")
            << QStringList{u"--batch"_s, Week, u"monthly"_s} << 2 << "unknown kind monthly";
        QTest::newRow("option of another view")
            << QStringList{u"--batch"_s, Week, u"summary"_s, u"--date"_s, u"06/10/26"_s} << 2
            << "--date is not used by summary";
        QTest::newRow("bad direction")
            << QStringList{u"--batch"_s,     Week,      u"volume"_s, u"--date"_s, u"06/10/26"_s,
                           u"--direction"_s, u"north"_s}
            << 2 << "--direction must be";
        QTest::newRow("bad printer")
            << QStringList{u"--batch"_s, MphBatch, u"speeds"_s, u"--printer"_s, u"laser"_s} << 2
            << "--printer must be color or bw";
        QTest::newRow("missing batch") << QStringList{u"weekly"_s} << 2 << "missing --batch";
        QTest::newRow("study of one date")
            << QStringList{u"--batch"_s, Week, u"study"_s, u"--date"_s, u"06/10/26"_s} << 2
            << "--date is not used by study";
        QTest::newRow("study of an unknown batch")
            << QStringList{u"--batch"_s, u"010101-Q"_s, u"study"_s} << 1
            << "there is no survey 010101-Q";
        QTest::newRow("no Speed rows")
            << QStringList{u"--batch"_s, Week, u"speeds"_s} << 1
            << "The Database is empty OR you have to select a SURVEY on the first tab.";
    }
    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const Run r = show(arguments);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void noDatabase()
    {
        QTemporaryDir empty;
        Run r;
        QTextStream out(&r.out), err(&r.err);
        r.code = CommandLineTool(out, err).run({QStringLiteral("show"), QStringLiteral("--folder"),
                                                empty.path(), QStringLiteral("--batch"), MphBatch,
                                                QStringLiteral("weekly")});
        err.flush();
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("there is no survey database OV97.mdb")));
    }

    // The built program lists and runs the command.
    void program()
    {
        QProcess p;
        p.start(QStringLiteral(ROADTALLY_CLI),
                {QStringLiteral("show"), QStringLiteral("--folder"), m_dir.path(),
                 QStringLiteral("--batch"), Week, QStringLiteral("weekly"),
                 QStringLiteral("--json")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(texts(o.value(QStringLiteral("combined"))).first(), QStringLiteral("130"));
        p.start(QStringLiteral(ROADTALLY_CLI), {QStringLiteral("--help")});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("show ")));
    }
};

QTEST_GUILESS_MAIN(tst_ShowCommand)
#include "tst_ShowCommand.moc"
