// The weekly grid: totals, combined and split rows and the averages over a
// grid's cells (the worked Monday example, the weekday average that leaves out
// "*"), and the grid of stored surveys (Wednesday to Tuesday, more than seven
// days, a weekday met twice in part, a Sunday start, a year end, uncovered
// weekdays kept, and the cases that leave the grid as it was); the headings
// name the dates the columns show.

#include "fixtures/TimeTableFixture.h"

#include "core/analysis/WeeklyGrid.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

namespace {

// Each date: approaching vehicles at 08:00 = its day of the month, receding
// at 17:00 = day + 100, no vehicles in the other hours.
DayHours dayOf(const QDate &d)
{
    DayHours h;
    h.approaching[8] = d.day();
    h.receding[17] = d.day() + 100;
    return h;
}

void insertSpan(DatabaseSession &s, const QString &batch, const QDate &first, const QDate &last,
                const QDate &skip = QDate())
{
    insertSurvey(s, batch, mmddyy(first), mmddyy(last));
    for (QDate d = first; d <= last; d = d.addDays(1))
        if (d != skip)
            insertDay(s, batch, mmddyy(d), dayOf(d));
}

WeeklyGrid cleared()
{
    WeeklyGrid g = WeeklyGrid::designState();
    clearWeekData(g);
    return g;
}

int column(const QString &name)
{
    return int(weeklyColumnNames().indexOf(name));
}

// Checks "Day1A:8=15" (cell), "C0=22" (combined), "S0=68.2 | 31.8" (split), "H=Mon-08|...".
void verifyCells(const WeeklyGrid &g, const QStringList &checks)
{
    for (const QString &check : checks) {
        const qsizetype eq = check.indexOf(QLatin1Char('='));
        const QString where = check.left(eq), want = check.mid(eq + 1);
        QString got;
        if (where == QLatin1String("H"))
            got = g.headers.join(QLatin1Char('|'));
        else if (where.startsWith(QLatin1Char('C')) && !where.contains(QLatin1Char(':')))
            got = g.combined.at(where.mid(1).toInt());
        else if (where.startsWith(QLatin1Char('S')) && !where.contains(QLatin1Char(':')))
            got = g.split.at(where.mid(1).toInt());
        else {
            const QStringList parts = where.split(QLatin1Char(':'));
            QVERIFY2(column(parts.at(0)) >= 0, qPrintable(where));
            got = g.cell(column(parts.at(0)), parts.at(1).toInt());
        }
        QVERIFY2(got == want,
                 qPrintable(QStringLiteral("%1: got \"%2\", want \"%3\"").arg(where, got, want)));
    }
}

} // namespace

class tst_WeeklyGrid : public QObject
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
        Transaction t(s);
        insertSpan(s, QStringLiteral("061026-A"), QDate(2026, 6, 10), QDate(2026, 6, 16));
        insertSpan(s, QStringLiteral("061026-B"), QDate(2026, 6, 10), QDate(2026, 6, 18));
        insertSpan(s, QStringLiteral("061426-A"), QDate(2026, 6, 14), QDate(2026, 6, 15));
        insertSpan(s, QStringLiteral("123025-A"), QDate(2025, 12, 30), QDate(2026, 1, 2));
        insertSpan(s, QStringLiteral("061026-C"), QDate(2026, 6, 10), QDate(2026, 6, 16),
                   QDate(2026, 6, 13));
        insertSpan(s, QStringLiteral("061026-W"), QDate(2026, 6, 10), QDate(2026, 6, 17));
        t.commit();
    }

    void designAndCleared()
    {
        const WeeklyGrid design = WeeklyGrid::designState();
        QCOMPARE(design.headers.join(QLatin1Char('|')),
                 QStringLiteral("Mon-1|Tue-2|Wed-3|Thu-4|Fri-5|Sat-6|Sun-7"));
        QCOMPARE(design.combined.first(), QStringLiteral("Com"));
        QCOMPARE(design.split.first(), QStringLiteral("%"));
        WeeklyGrid g = design;
        g.headers[0] = QStringLiteral("Mon-08");
        g.cell(3, 24) = QStringLiteral("40");
        clearWeekData(g);
        QCOMPARE(g.headers.first(), QStringLiteral("Mon-08")); // headers are not touched
        QCOMPARE(g.cell(3, 24), QStringLiteral("*"));
        QCOMPARE(g.combined, QStringList(QList<QString>(9, QStringLiteral("*"))));
        QCOMPARE(g.split, QStringList(QList<QString>(9, QStringLiteral("*"))));
        QCOMPARE(weeklyColumnNames().size(), WeeklyGrid::ColumnCount);
        QCOMPARE(weeklyRowCaptions().at(0), QStringLiteral("12:AM"));
        QCOMPARE(weeklyRowCaptions().at(12), QStringLiteral("12:PM"));
        QCOMPARE(weeklyRowCaptions().at(23), QStringLiteral("11:00"));
        QCOMPARE(weeklyRowCaptions().at(24), QStringLiteral("Totals"));
    }

    void totals_data()
    {
        QTest::addColumn<QStringList>("cells"); // set before the totals: "Day1A:0=10"
        QTest::addColumn<QStringList>("checks");
        QTest::newRow("the Monday example")
            << QStringList{u"Day1A:0=10"_s, u"Day1A:2=5"_s, u"Day1R:0=3"_s, u"Day1R:1=4"_s}
            << QStringList{u"Day1A:24=15"_s,    u"Day1R:24=7"_s,    u"C0=22"_s,
                           u"S0=68.2 | 31.8"_s, u"WDAA:0=10"_s,     u"WDAA:1=*"_s,
                           u"WDAR:1=4"_s,       u"WDAA:24=15"_s,    u"WDAR:24=7"_s,
                           u"C7=22"_s,          u"S7=68.2 | 31.8"_s};
        QTest::newRow("weekday average 9, not 6")
            << QStringList{u"Day1A:5=12"_s, u"Day2A:5=*"_s, u"Day3A:5=6"_s}
            << QStringList{u"WDAA:5=9"_s, u"WDAA:24=9"_s, u"Day2A:24=0"_s};
        QTest::newRow("weekend average rounds half away from zero")
            << QStringList{u"Day6A:8=13"_s, u"Day7A:8=14"_s, u"Day6R:8=1"_s}
            << QStringList{u"WKAA:8=14"_s, u"WKAR:8=1"_s, u"WKAA:24=14"_s, u"C8=15"_s,
                           u"S8=93.3 | 6.7"_s};
        QTest::newRow("a day without vehicles keeps its split")
            << QStringList{u"S2=40. | 60."_s}
            << QStringList{u"Day3A:24=0"_s, u"Day3R:24=0"_s, u"C2=0"_s, u"S2=40. | 60."_s};
        QTest::newRow("averages of no number keep their text; their sum 0 is empty")
            << QStringList{u"WKAA:3=old"_s}
            << QStringList{u"WKAA:3=old"_s, u"WKAA:24="_s, u"WKAR:24="_s, u"C8=0"_s, u"S8=*"_s};
        QTest::newRow("a one-sided day")
            << QStringList{u"Day5R:23=8"_s}
            << QStringList{u"Day5A:24=0"_s, u"Day5R:24=8"_s, u"C4=8"_s, u"S4=. | 100."_s};
    }
    void totals()
    {
        QFETCH(QStringList, cells);
        QFETCH(QStringList, checks);
        WeeklyGrid g = cleared();
        for (const QString &set : cells) {
            const qsizetype eq = set.indexOf(QLatin1Char('='));
            const QString where = set.left(eq), value = set.mid(eq + 1);
            if (where.startsWith(QLatin1Char('S')) && !where.contains(QLatin1Char(':')))
                g.split[where.mid(1).toInt()] = value;
            else
                g.cell(column(where.section(QLatin1Char(':'), 0, 0)),
                       where.section(QLatin1Char(':'), 1).toInt()) = value;
        }
        weeklyTotals(g);
        verifyCells(g, checks);
    }

    void stored_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QString>("times"); // "start-stop" when the survey ran
        // The headings name the dates whose values the columns show.
        QTest::newRow("Wednesday to Tuesday")
            << "061026-A"
            << "06/10/26"
            << "06/16/26"
            << QStringList{u"H=Mon-15|Tue-16|Wed-10|Thu-11|Fri-12|Sat-13|Sun-14"_s,
                           u"Day1A:8=15"_s,
                           u"Day2A:8=16"_s,
                           u"Day3A:8=10"_s,
                           u"Day7A:8=14"_s,
                           u"Day1R:17=115"_s,
                           u"Day1A:0=*"_s,
                           u"Day1A:24=15"_s,
                           u"Day1R:24=115"_s,
                           u"C0=130"_s,
                           u"S0=11.5 | 88.5"_s,
                           u"WDAA:8=13"_s,
                           u"WDAR:17=113"_s,
                           u"WKAA:8=14"_s,
                           u"WKAR:17=114"_s,
                           u"WDAA:24=13"_s,
                           u"C7=126"_s,
                           u"S7=10.3 | 89.7"_s,
                           u"WDAA:0=*"_s}
            << "";
        // Whole days met twice: the later one shows in every hour.
        QTest::newRow("more than seven days")
            << "061026-B"
            << "06/10/26"
            << "06/18/26"
            << QStringList{u"H=Mon-15|Tue-16|Wed-17|Thu-18|Fri-12|Sat-13|Sun-14"_s, u"Day3A:8=17"_s,
                           u"Day4A:8=18"_s, u"Day5A:8=12"_s, u"Day1A:8=15"_s}
            << "";
        // Wednesday 08:30 to the next Wednesday 08:18: the second Wednesday
        // shows in the hours it ran (to 08:00 - 09:00), the first in the rest.
        QTest::newRow("a weekday met twice, in part")
            << "061026-W"
            << "06/10/26"
            << "06/17/26"
            << QStringList{u"H=Mon-15|Tue-16|Wed-10/17|Thu-11|Fri-12|Sat-13|Sun-14"_s,
                           u"Day3A:8=17"_s,
                           u"Day3R:17=110"_s,
                           u"Day3A:24=17"_s,
                           u"Day3R:24=110"_s,
                           u"C2=127"_s}
            << "08:30-08:18";
        QTest::newRow("a weekday met twice, the first date no longer shown")
            << "061026-W"
            << "06/10/26"
            << "06/17/26"
            << QStringList{u"H=Mon-15|Tue-16|Wed-17|Thu-11|Fri-12|Sat-13|Sun-14"_s, u"Day3A:8=17"_s,
                           u"Day3R:17=117"_s}
            << "08:30-23:30";
        QTest::newRow("Sunday start")
            << "061426-A"
            << "06/14/26"
            << "06/15/26"
            << QStringList{u"H=Mon-15|Tue-16|Wed-17|Thu-18|Fri-19|Sat-20|Sun-14"_s,
                           u"Day7A:8=14"_s,
                           u"Day1A:8=15"_s,
                           u"Day2A:8=*"_s,
                           u"Day2A:24=0"_s,
                           u"C1=0"_s,
                           u"S1=*"_s}
            << "";
        QTest::newRow("year end")
            << "123025-A"
            << "12/30/25"
            << "01/02/26"
            << QStringList{u"H=Mon-29|Tue-30|Wed-31|Thu-01|Fri-02|Sat-03|Sun-04"_s,
                           u"Day2A:8=30"_s,
                           u"Day3A:8=31"_s,
                           u"Day4A:8=1"_s,
                           u"Day5A:8=2"_s,
                           u"Day1A:8=*"_s,
                           u"Day6A:8=*"_s,
                           u"WDAA:8=16"_s}
            << "";
        QTest::newRow("padded batch number") << "123025-A  "
                                             << "12/30/25"
                                             << "01/02/26" << QStringList{u"Day4A:8=1"_s} << "";
    }
    void stored()
    {
        QFETCH(QString, batch);
        QFETCH(QString, start);
        QFETCH(QString, stop);
        QFETCH(QStringList, checks);
        QFETCH(QString, times);
        DatabaseSession s(m_path);
        WeeklyInput input{batch, start, stop, cleared()};
        input.startTime = times.section(QLatin1Char('-'), 0, 0);
        input.stopTime = times.section(QLatin1Char('-'), 1, 1);
        const WeeklyResult r = computeWeeklyGrid(s, input);
        QVERIFY2(r.computed(), qPrintable(r.message));
        verifyCells(r.grid, checks);
    }

    void ofStoredSurvey()
    {
        DatabaseSession s(m_path);
        const WeeklyResult r = weeklyGridOfSurvey(s, QStringLiteral("061426-A"));
        QVERIFY(r.computed());
        verifyCells(r.grid, {u"Day7A:8=14"_s, u"Day2A:8=*"_s, u"S1=*"_s});
        const WeeklyResult none = weeklyGridOfSurvey(s, QStringLiteral("010101-Q"));
        QVERIFY(!none.computed());
        QCOMPARE(none.message,
                 QStringLiteral("There is no survey 010101-Q. The weekly grid is left as it was."));
    }

    // Weekdays the survey does not cover keep their cells; their totals are
    // recomputed from them.
    void uncoveredWeekdaysKept()
    {
        WeeklyGrid before = cleared();
        before.cell(column(QStringLiteral("Day1A")), 0) = QStringLiteral("5");
        before.cell(column(QStringLiteral("Day6A")), 3) = QStringLiteral("77");
        before.split[5] = QStringLiteral("1. | 99.");
        DatabaseSession s(m_path);
        const WeeklyResult r =
            computeWeeklyGrid(s, {QStringLiteral("123025-A"), QStringLiteral("12/30/25"),
                                  QStringLiteral("01/02/26"), before});
        QVERIFY(r.computed());
        verifyCells(r.grid, {u"Day1A:0=5"_s, u"Day1A:24=5"_s, u"Day6A:3=77"_s, u"Day6A:24=77"_s,
                             u"C5=77"_s, u"S5=100. | ."_s, u"WKAA:3=77"_s, u"Day4A:8=1"_s});
    }

    void leftAsItWas_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("message");
        QTest::newRow("no survey shown")
            << ""
            << ""
            << ""
            << "No survey is shown: open a survey first, then calculate the weekly totals. "
               "The weekly grid is left as it was.";
        QTest::newRow("no start date")
            << "061026-A"
            << ""
            << "06/16/26"
            << "The survey 061026-A has no start date, so its weekly totals cannot be "
               "calculated. The weekly grid is left as it was.";
        QTest::newRow("no end date")
            << "061026-A"
            << "06/10/26"
            << ""
            << "The survey 061026-A has no end date, so its weekly totals cannot be "
               "calculated. The weekly grid is left as it was.";
        QTest::newRow("a date without rows")
            << "061026-C"
            << "06/10/26"
            << "06/16/26"
            << "The survey 061026-C has no hourly volumes for 06/13/26, so its weekly totals "
               "cannot be calculated. The weekly grid is left as it was.";
        QTest::newRow("no rows at all")
            << "999999-Z"
            << "06/10/26"
            << "06/10/26"
            << "The survey 999999-Z has no hourly volumes for 06/10/26, so its weekly totals "
               "cannot be calculated. The weekly grid is left as it was.";
    }
    void leftAsItWas()
    {
        QFETCH(QString, batch);
        QFETCH(QString, start);
        QFETCH(QString, stop);
        QFETCH(QString, message);
        WeeklyGrid before = WeeklyGrid::designState();
        before.cell(0, 0) = QStringLiteral("12");
        before.headers[2] = QStringLiteral("Wed-03");
        DatabaseSession s(m_path);
        const WeeklyResult r = computeWeeklyGrid(s, {batch, start, stop, before});
        QVERIFY(!r.computed());
        QCOMPARE(r.message, message);
        QVERIFY(r.grid == before);
    }
};

QTEST_GUILESS_MAIN(tst_WeeklyGrid)
#include "tst_WeeklyGrid.moc"
