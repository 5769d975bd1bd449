// The before-and-after comparison: each test statistic against values worked
// with a statistics package from the same small grouped samples (Welch's t
// with its degrees of freedom and interval, the Kolmogorov-Smirnov D and its
// asymptotic p, the two-proportion z) or by hand (the percentile's standard
// error); then whole comparisons of equal surveys, a shift of every vehicle,
// a change of spread only, a survey all in a catch-all row and a control pair
// that cancels the change; refusals, notes, the table, the JSON keys and the
// survey lists of a stored database.

#include "fixtures/ViewsFixture.h"

#include "core/analysis/SurveyComparison.h"
#include "core/analysis/SurveyComparisonText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;
using namespace Qt::Literals::StringLiterals;

namespace {

// "30:2 32:3": two vehicles at 30, three at 32.
QMap<int, qint64> counts(const QString &spec)
{
    QMap<int, qint64> out;
    for (const QString &pair : spec.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList kv = pair.split(u':');
        out[kv.at(0).toInt()] += kv.at(1).toLongLong();
    }
    return out;
}

QVector<qint64> rows(const QString &spec, int lowest, int highest)
{
    QVector<qint64> out(highest - lowest + 1, 0);
    const QMap<int, qint64> c = counts(spec);
    for (auto it = c.cbegin(); it != c.cend(); ++it)
        out[it.key() - lowest] += it.value();
    return out;
}

// Every count of a spec times factor: the same shape, enough vehicles for the tests.
QString times(const QString &spec, int factor)
{
    QStringList out;
    const QMap<int, qint64> c = counts(spec);
    for (auto it = c.cbegin(); it != c.cend(); ++it)
        out << QStringLiteral("%1:%2").arg(it.key()).arg(it.value() * factor);
    return out.join(u' ');
}

// Every speed of a spec plus shift.
QString shifted(const QString &spec, int shift)
{
    QStringList out;
    const QMap<int, qint64> c = counts(spec);
    for (auto it = c.cbegin(); it != c.cend(); ++it)
        out << QStringLiteral("%1:%2").arg(it.key() + shift).arg(it.value());
    return out.join(u' ');
}

struct Survey
{
    QString batch;
    QString spec;
    QString unit = QStringLiteral("MPH");
    QString limit = QStringLiteral("035");
    QString location = QStringLiteral("Maple Avenue");
    QString start = QStringLiteral("05/19/25"); // a Monday, for a week
    QString stop = QStringLiteral("05/25/25");
};

SpeedStudy study(const Survey &s)
{
    SpeedStudyInput in;
    in.batchNumber = s.batch;
    in.location = s.location;
    in.unit = s.unit;
    in.postedLimit = s.limit;
    in.counts = counts(s.spec);
    in.startDate = s.start;
    in.stopDate = s.stop;
    return computeSpeedStudy(in);
}

SurveyComparison compare(const Survey &before, const Survey &after)
{
    const ComparisonOutcome out = compareStudies(study(before), study(after));
    if (!out.ok())
        qFatal("refused: %s", qPrintable(out.refusal));
    return *out.comparison;
}

bool noteContains(const SurveyComparison &c, const QString &part)
{
    for (const QString &note : c.notes)
        if (note.contains(part))
            return true;
    return false;
}

// The samples the package worked from.
const char *SmallBefore = "30:2 31:3 32:4 33:1";  // n 10, mean 31.4
const char *SmallAfter = "32:1 33:3 34:4 35:2";   // n 10, mean 33.7
const char *UnequalBefore = "25:3 30:5 35:2";     // n 10, mean 29.5
const char *UnequalAfter = "28:1 30:2 33:6 40:3"; // n 12, mean 33.83

// A street of about 35 mph, 200 vehicles.
const char *Street = "25:10 28:20 30:30 32:35 34:30 36:25 38:20 40:15 43:10 47:5";

} // namespace

class tst_SurveyComparison : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void welch_data()
    {
        QTest::addColumn<double>("m1");
        QTest::addColumn<double>("s1");
        QTest::addColumn<qint64>("n1");
        QTest::addColumn<double>("m2");
        QTest::addColumn<double>("s2");
        QTest::addColumn<qint64>("n2");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("df");
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("ciLow");
        QTest::addColumn<double>("ciHigh");
        // SmallBefore -> SmallAfter and UnequalBefore -> UnequalAfter.
        QTest::newRow("every vehicle about 2 mph faster")
            << 31.4 << 0.966091783079296 << qint64(10) << 33.7 << 0.948683298050514 << qint64(10)
            << 5.3716427147 << 17.9940515532 << 0.0000418800 << 1.4004176092 << 3.1995823908;
        QTest::newRow("unequal sizes and spreads")
            << 29.5 << 3.68932393686311 << qint64(10) << 33.8333333333333 << 4.06388379695477
            << qint64(12) << 2.6191179045 << 19.8213351744 << 0.0165089984 << 0.8801092402
            << 7.7865574265;
        // Equal samples: no change, p = 1, an interval symmetric about 0.
        QTest::newRow("equal") << 35.0 << 5.0 << qint64(120) << 35.0 << 5.0 << qint64(120) << 0.0
                               << 238.0 << 1.0 << -1.2716176094 << 1.2716176094;
    }
    void welch()
    {
        QFETCH(double, m1);
        QFETCH(double, s1);
        QFETCH(qint64, n1);
        QFETCH(double, m2);
        QFETCH(double, s2);
        QFETCH(qint64, n2);
        const std::optional<WelchResult> w = welchTest(m1, s1, n1, m2, s2, n2);
        QVERIFY(w);
        QFETCH(double, t);
        QFETCH(double, df);
        QFETCH(double, p);
        QFETCH(double, ciLow);
        QFETCH(double, ciHigh);
        QVERIFY2(std::fabs(w->t - t) < 1e-8, qPrintable(QString::number(w->t, 'g', 12)));
        QVERIFY2(std::fabs(w->df - df) < 1e-8, qPrintable(QString::number(w->df, 'g', 12)));
        QVERIFY2(std::fabs(w->p - p) < 1e-9, qPrintable(QString::number(w->p, 'g', 12)));
        QVERIFY2(std::fabs(w->ciLow - ciLow) < 1e-4,
                 qPrintable(QString::number(w->ciLow, 'g', 12)));
        QVERIFY(std::fabs(w->ciHigh - ciHigh) < 1e-4);
    }

    void welchNotComputed()
    {
        QVERIFY(!welchTest(30, 0, 50, 31, 0, 50)); // no spread in either
        QVERIFY(!welchTest(30, 2, 1, 31, 2, 50));  // one vehicle
        // One sample without spread: the other's n - 1 degrees of freedom.
        const std::optional<WelchResult> w = welchTest(30, 0, 50, 31, 2, 41);
        QVERIFY(w);
        QCOMPARE(w->df, 40.0);
    }

    void kolmogorovQ_data()
    {
        QTest::addColumn<double>("lambda");
        QTest::addColumn<double>("q");
        QTest::newRow("0") << 0.0 << 1.0;
        QTest::newRow("0.3") << 0.3 << 0.999990694199;
        QTest::newRow("0.5") << 0.5 << 0.963945243665;
        QTest::newRow("1") << 1.0 << 0.269999671677;
        QTest::newRow("1.3581, the 5 % point") << 1.3581 << 0.0499996304317;
        QTest::newRow("2") << 2.0 << 0.00067092525578;
        QTest::newRow("3") << 3.0 << 3.04599594894e-08;
    }
    void kolmogorovQ()
    {
        QFETCH(double, lambda);
        QFETCH(double, q);
        QVERIFY2(std::fabs(roadtally::kolmogorovQ(lambda) - q) < 1e-10,
                 qPrintable(QString::number(roadtally::kolmogorovQ(lambda), 'g', 12)));
    }

    void kolmogorovSmirnov_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("p");
        QTest::addColumn<int>("row");
        QTest::newRow("shift") << SmallBefore << SmallAfter << 0.8 << 0.0033231145 << 32;
        QTest::newRow("unequal") << UnequalBefore << UnequalAfter << 0.55 << 0.0737626336 << 30;
        QTest::newRow("equal") << SmallBefore << SmallBefore << 0.0 << 1.0 << 14;
        // The same shape, in other numbers of vehicles: D stays 0.
        QTest::newRow("same shares")
            << SmallBefore << times(QString::fromLatin1(SmallBefore), 7) << 0.0 << 1.0 << 14;
    }
    void kolmogorovSmirnov()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const std::optional<KolmogorovResult> ks =
            kolmogorovSmirnovTest(rows(before, 14, 73), rows(after, 14, 73), 14);
        QVERIFY(ks);
        QFETCH(double, d);
        QFETCH(double, p);
        QVERIFY2(std::fabs(ks->d - d) < 1e-12, qPrintable(QString::number(ks->d, 'g', 12)));
        QVERIFY2(std::fabs(ks->p - p) < 1e-9, qPrintable(QString::number(ks->p, 'g', 12)));
        QTEST(ks->row, "row");
        QVERIFY(!kolmogorovSmirnovTest(rows(before, 14, 73), rows(QString(), 14, 73), 14));
    }

    void proportions_data()
    {
        QTest::addColumn<double>("q1");
        QTest::addColumn<qint64>("n1");
        QTest::addColumn<double>("q2");
        QTest::addColumn<qint64>("n2");
        QTest::addColumn<double>("z");
        QTest::addColumn<double>("p");
        QTest::newRow("fewer over")
            << 0.4 << qint64(200) << 0.3 << qint64(300) << -2.3124864503 << 0.0207508912;
        QTest::newRow("more over")
            << 0.1 << qint64(150) << 0.25 << qint64(120) << 3.2863353450 << 0.0010150009;
        QTest::newRow("equal") << 0.2 << qint64(100) << 0.2 << qint64(400) << 0.0 << 1.0;
    }
    void proportions()
    {
        QFETCH(double, q1);
        QFETCH(qint64, n1);
        QFETCH(double, q2);
        QFETCH(qint64, n2);
        const std::optional<ZResult> r = twoProportionTest(q1, n1, q2, n2);
        QVERIFY(r);
        QFETCH(double, z);
        QFETCH(double, p);
        QVERIFY2(std::fabs(r->z - z) < 1e-9, qPrintable(QString::number(r->z, 'g', 12)));
        QVERIFY2(std::fabs(r->p - p) < 1e-9, qPrintable(QString::number(r->p, 'g', 12)));
        // Nobody over, or everybody, in both: nothing to test.
        QVERIFY(!twoProportionTest(0, 100, 0, 100));
        QVERIFY(!twoProportionTest(1, 100, 1, 100));
    }

    void percentileError()
    {
        // 85th of 200 vehicles, 20 in its row: sqrt(0.85 x 0.15 / 200) / (20 / 200)
        // = 0.0252488 / 0.1 = 0.252488.
        QVERIFY(std::fabs(percentileStandardError(0.85, 200, 20) - 0.2524876234) < 1e-9);
        // Two of them 1 mph apart: z = 1 / sqrt(2) / 0.252488 = 2.800560.
        const double se = percentileStandardError(0.85, 200, 20);
        const std::optional<ZResult> r = differenceTest(40.0, se, 41.0, se);
        QVERIFY(r);
        QVERIFY(std::fabs(r->z - 2.8005601681) < 1e-8);
        QVERIFY(std::fabs(r->p - 0.0051013996) < 1e-9);
    }

    void pValues_data()
    {
        QTest::addColumn<double>("p");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << 1.0 << "1.000";
        QTest::newRow("rounded") << 0.0207508912 << "0.021";
        QTest::newRow("at 0.001") << 0.001 << "0.001";
        QTest::newRow("below 0.001") << 0.000999 << "< 0.001";
        QTest::newRow("zero") << 0.0 << "< 0.001";
    }
    void pValues()
    {
        QFETCH(double, p);
        QTEST(pValueText(p), "text");
    }

    // ---- Whole comparisons ------------------------------------------------

    void equalSurveys()
    {
        const SurveyComparison c = compare({QStringLiteral("B"), QString::fromLatin1(Street)},
                                           {QStringLiteral("A"), QString::fromLatin1(Street)});
        QVERIFY(c.testsShown);
        QCOMPARE(*c.mean.change, 0.0);
        QVERIFY(c.meanTest.computed);
        QCOMPARE(c.meanTest.statistic, 0.0);
        QCOMPARE(c.meanTest.p, 1.0);
        QCOMPARE(c.distributionTest.statistic, 0.0);
        QCOMPARE(c.distributionTest.p, 1.0);
        for (const ComparisonTest *t :
             {&c.p50Test, &c.p85Test, &c.overTests[0], &c.overTests[1], &c.overTests[2]}) {
            QVERIFY(t->computed);
            QCOMPARE(t->statistic, 0.0);
            QCOMPARE(t->p, 1.0);
            QVERIFY(!t->significant());
        }
        QVERIFY(!c.hasControl());
        QVERIFY(!c.net);
    }

    void shiftByFive()
    {
        const QString before = QString::fromLatin1(Street);
        const SurveyComparison c =
            compare({QStringLiteral("B"), before}, {QStringLiteral("A"), shifted(before, -5)});
        QVERIFY(std::fabs(*c.mean.change + 5) < 1e-12);
        QVERIFY(std::fabs(*c.sd.change) < 1e-12);
        QVERIFY(std::fabs(*c.p50.change + 5) < 1e-12);
        QVERIFY(std::fabs(*c.p85.change + 5) < 1e-12);
        // Welch with equal spreads: t = -5 / (s sqrt(2/200)), df = 2 (n - 1).
        const double s = *c.before.sd.exact;
        QVERIFY(std::fabs(c.meanTest.statistic + 5 / (s * std::sqrt(2.0 / 200))) < 1e-9);
        QVERIFY(std::fabs(*c.meanTest.df - 398) < 1e-9);
        QVERIFY(c.meanTest.significant());
        QVERIFY(std::fabs(*c.meanTest.ciLow + *c.meanTest.ciHigh + 10) < 1e-9);
        // The percentile tests: both rows hold the same share, so the errors are equal.
        QVERIFY(c.p85Test.significant());
        QVERIFY(c.p85Test.statistic < 0);
        // Over 35: 75 of 200 before (36 and up), 15 after (43 and 47 moved to 38 and 42).
        QCOMPARE(*c.over[0].before, 37.5);
        QCOMPARE(*c.over[0].after, 7.5);
        QVERIFY(std::fabs(*c.over[0].change + 30) < 1e-12);
        QVERIFY(std::fabs(*c.over[0].relative + 80) < 1e-9);
        QVERIFY(c.overTests[0].significant());
        QVERIFY(c.distributionTest.significant());
    }

    void spreadOnly()
    {
        // The same mean of 35, the spread halved: the means agree, the
        // distributions do not.
        const SurveyComparison c =
            compare({QStringLiteral("B"), QStringLiteral("25:60 35:80 45:60")},
                    {QStringLiteral("A"), QStringLiteral("30:60 35:80 40:60")});
        QCOMPARE(*c.mean.change, 0.0);
        QCOMPARE(c.meanTest.statistic, 0.0);
        QCOMPARE(c.meanTest.p, 1.0);
        QVERIFY(!c.meanTest.significant());
        QVERIFY(*c.sd.change < 0);
        // F before - F after is largest from 30 to 34: 60/200 against 0... and from 25: 0.3.
        QCOMPARE(c.distributionTest.statistic, 0.3);
        QCOMPARE(c.distributionRow, 25);
        // sqrt(200 x 200 / 400) x 0.3 = 3: Q(3).
        QVERIFY(std::fabs(c.distributionTest.p - 3.04599594894e-08) < 1e-15);
        QVERIFY(c.distributionTest.significant());
    }

    void allInCatchAllRow()
    {
        const SurveyComparison c = compare({QStringLiteral("B"), QString::fromLatin1(Street)},
                                           {QStringLiteral("A"), QStringLiteral("80:150")});
        QVERIFY(!c.p50Test.computed);
        QVERIFY(!c.p85Test.computed);
        QVERIFY(!c.p85.change);
        QVERIFY(noteContains(c, QStringLiteral("The 85th percentile falls in a catch-all row in "
                                               "survey A (73 or more)")));
        QVERIFY(noteContains(c, QStringLiteral("The after survey (A) has vehicles in the catch-all "
                                               "rows (150 at 73 mph or more)")));
        // The mean counts them at 73; every vehicle is over 35, 40, 45.
        QCOMPARE(*c.mean.after, 73.0);
        QVERIFY(c.meanTest.computed);
        QCOMPARE(*c.over[2].after, 100.0);
        QVERIFY(c.overTests[2].significant());
        QVERIFY(c.distributionTest.computed);
        QCOMPARE(c.distributionTest.statistic, 1.0);
        const QJsonObject json = comparisonJson(c);
        QCOMPARE(json[u"tests"][u"p85"].toString(), QStringLiteral("N/A"));
        QCOMPARE(json[u"change"][u"p85"].toString(), QStringLiteral("N/A"));
        QCOMPARE(json[u"after"][u"p85"].toString(), QStringLiteral("73 or more"));
        QCOMPARE(json[u"significant"][u"p85"].toBool(true), false);
    }

    void controlCancels()
    {
        const QString street = QString::fromLatin1(Street);
        const SpeedStudy b = study({QStringLiteral("B"), street});
        const SpeedStudy a = study({QStringLiteral("A"), shifted(street, -3)});
        const SpeedStudy cb = study({QStringLiteral("CB"), times(street, 2)});
        const SpeedStudy ca = study({QStringLiteral("CA"), shifted(times(street, 2), -3)});
        const ComparisonOutcome out = compareStudies(b, a, &cb, &ca);
        QVERIFY(out.ok());
        const SurveyComparison &c = *out.comparison;
        QVERIFY(c.meanTest.significant());
        QVERIFY(c.net);
        QVERIFY(std::fabs(*c.net->mean) < 1e-12);
        QVERIFY(std::fabs(*c.net->p85) < 1e-12);
        QVERIFY(std::fabs(*c.net->overLimitPoints) < 1e-12);
        QVERIFY(c.net->meanTest.computed);
        QVERIFY(std::fabs(c.net->meanTest.statistic) < 1e-9);
        QVERIFY(std::fabs(c.net->meanTest.p - 1) < 1e-9);
        QVERIFY(std::fabs(*c.net->controlMean.change + 3) < 1e-12);

        // A control that stayed put leaves the whole change: z over the four
        // variances, -3 / sqrt(s^2/200 + s'^2/200 + 2 s_c^2/400).
        QVERIFY(!compareStudies(b, a, &cb, &cb).ok()); // the same survey twice
        const SpeedStudy cb2 = study({QStringLiteral("CB2"), times(street, 2)});
        const SurveyComparison k = *compareStudies(b, a, &cb, &cb2).comparison;
        const double s1 = *b.sd.exact, s2 = *a.sd.exact, sc = *cb.sd.exact;
        QVERIFY(std::fabs(*k.net->mean + 3) < 1e-12);
        QVERIFY(std::fabs(k.net->meanTest.statistic +
                          3 / std::sqrt(s1 * s1 / 200 + s2 * s2 / 200 + 2 * sc * sc / 400)) < 1e-9);
        QVERIFY(k.net->meanTest.significant());

        const QJsonObject json = comparisonJson(c);
        QCOMPARE(json[u"net"].toObject().keys(), (QStringList{u"mean"_s, u"mean_p"_s, u"mean_z"_s,
                                                              u"over_limit_points"_s, u"p85"_s}));
        QVERIFY(json[u"net"][u"mean_z"].isDouble());
        QVERIFY(!comparisonJson(k).isEmpty());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("afterUnit");
        QTest::addColumn<QString>("afterBatch");
        QTest::addColumn<QString>("controlAfter"); // "" for no control pair, "-" for half a pair
        QTest::addColumn<QString>("refusal");
        QTest::newRow("units") << "KPH"
                               << "A"
                               << ""
                               << "Survey B is in MPH and survey A in KPH: surveys in different "
                                  "units cannot be compared.";
        QTest::newRow("same survey") << "MPH"
                                     << "B"
                                     << ""
                                     << "The before and after surveys are the same survey (B): "
                                        "choose two different surveys.";
        QTest::newRow("unknown unit") << "FPS"
                                      << "A"
                                      << ""
                                      << "Survey A has no speed rows to compare: its unit \"FPS\" "
                                         "is neither MPH nor KPH.";
        QTest::newRow("control repeats a survey")
            << "MPH"
            << "A"
            << "A"
            << "Survey A is chosen twice: the control surveys must differ from each other and "
               "from the before and after surveys.";
        QTest::newRow("half a control pair")
            << "MPH"
            << "A"
            << "-"
            << "A control pair needs both a before and an after survey.";
    }
    void refusals()
    {
        QFETCH(QString, afterUnit);
        QFETCH(QString, afterBatch);
        QFETCH(QString, controlAfter);
        const SpeedStudy b = study({QStringLiteral("B"), QString::fromLatin1(Street)});
        Survey after{afterBatch, QString::fromLatin1(Street)};
        after.unit = afterUnit;
        const SpeedStudy a = study(after);
        const SpeedStudy cb = study({QStringLiteral("CB"), QString::fromLatin1(Street)});
        const SpeedStudy ca = study({controlAfter, QString::fromLatin1(Street)});
        const ComparisonOutcome out = controlAfter.isEmpty() ? compareStudies(b, a)
                                      : controlAfter == QLatin1String("-")
                                          ? compareStudies(b, a, &cb, nullptr)
                                          : compareStudies(b, a, &cb, &ca);
        QVERIFY(!out.ok());
        QTEST(out.refusal, "refusal");
    }

    void notes_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("spec");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("note");
        const QString street = QString::fromLatin1(Street);
        QTest::newRow("location") << "Oak Street"
                                  << "035" << street << "05/25/25"
                                  << "The surveys are at different locations (\"Maple Avenue\" "
                                     "and \"Oak Street\").";
        QTest::newRow("limit") << "Maple Avenue"
                               << "030" << street << "05/25/25"
                               << "The posted limits differ (35 before, 30 after): each survey's "
                                  "shares are over its own limit.";
        QTest::newRow("few vehicles")
            << "Maple Avenue"
            << "035"
            << "30:40 35:50"
            << "05/25/25"
            << "Survey A has 90 approaching vehicles: the tests need at least 100 vehicles in "
               "each survey and are not shown.";
        QTest::newRow("catch-all rows")
            << "Maple Avenue"
            << "035"
            << "10:3 35:200 90:1"
            << "05/25/25"
            << "The after survey (A) has vehicles in the catch-all rows (3 at 14 mph or less, 1 "
               "at 73 mph or more): they count at the row's speed in the mean and the tests.";
        QTest::newRow("weekdays") << "Maple Avenue"
                                  << "035" << street << "05/23/25"
                                  << "The before survey covers every day of the week and the "
                                     "after survey Mon, Tue, Wed, Thu, Fri: the mix of weekdays "
                                     "and weekend days differs, a known bias of such comparisons.";
    }
    void notes()
    {
        QFETCH(QString, location);
        QFETCH(QString, limit);
        QFETCH(QString, spec);
        QFETCH(QString, stop);
        QFETCH(QString, note);
        Survey after{QStringLiteral("A"), spec};
        after.location = location;
        after.limit = limit;
        after.stop = stop;
        const SurveyComparison c =
            compare({QStringLiteral("B"), QString::fromLatin1(Street)}, after);
        QVERIFY2(c.notes.contains(note), qPrintable(c.notes.join(u'\n')));
        // Only the note of the case (and the distribution test's own) is there.
        for (const QString &other : c.notes)
            QVERIFY2(other == note || other.startsWith(QStringLiteral("The distribution test")),
                     qPrintable(other));
        const bool few = qstrcmp(QTest::currentDataTag(), "few vehicles") == 0;
        QCOMPARE(c.testsShown, !few);
        QCOMPARE(c.meanTest.computed, !few);
    }

    void table()
    {
        const QString street = QString::fromLatin1(Street);
        const SurveyComparison c =
            compare({QStringLiteral("B"), street}, {QStringLiteral("A"), shifted(street, -5)});
        const QVector<ComparisonLine> lines = comparisonTable(c);
        QStringList keys;
        for (const ComparisonLine &l : lines)
            keys << l.key;
        QCOMPARE(keys,
                 (QStringList{u"n"_s, u"adt"_s, u"mean"_s, u""_s, u"sd"_s, u"p50"_s, u"p85"_s,
                              u"over_limit"_s, u"over_5"_s, u"over_10"_s, u"distribution"_s}));
        const ComparisonLine &mean = lines.at(2);
        QCOMPARE(mean.label, QStringLiteral("Mean speed"));
        QCOMPARE(mean.change, QStringLiteral("-5.0 mph"));
        QVERIFY(mean.test.startsWith(QStringLiteral("t = -")));
        QVERIFY(mean.test.endsWith(QStringLiteral(" (df 398)")));
        QCOMPARE(mean.p, QStringLiteral("< 0.001"));
        QCOMPARE(mean.significant, QStringLiteral("Yes"));
        QVERIFY(lines.at(3).sub);
        QCOMPARE(lines.at(7).label, QStringLiteral("Over 35 mph"));
        QCOMPARE(lines.at(7).before, QStringLiteral("37.5%"));
        QCOMPARE(lines.at(7).change, QStringLiteral("-30.0 points (-80.0%)"));
        QVERIFY(lines.at(10).test.startsWith(QStringLiteral("D = 0.")));
    }

    void jsonKeys()
    {
        const QString street = QString::fromLatin1(Street);
        const SurveyComparison c =
            compare({QStringLiteral("B"), street}, {QStringLiteral("A"), shifted(street, 2)});
        const QJsonObject o = comparisonJson(c);
        QCOMPARE(o.keys(), (QStringList{u"after"_s, u"before"_s, u"change"_s, u"notes"_s,
                                        u"significant"_s, u"tests"_s}));
        const QStringList survey{u"adt"_s,
                                 u"batch"_s,
                                 u"mean"_s,
                                 u"n"_s,
                                 u"over_10_percent"_s,
                                 u"over_5_percent"_s,
                                 u"over_limit_percent"_s,
                                 u"p50"_s,
                                 u"p50_interpolated"_s,
                                 u"p85"_s,
                                 u"p85_interpolated"_s,
                                 u"sd"_s};
        QCOMPARE(o[u"before"].toObject().keys(), survey);
        QCOMPARE(o[u"after"].toObject().keys(), survey);
        QCOMPARE(o[u"change"].toObject().keys(),
                 (QStringList{u"adt"_s, u"mean"_s, u"over_10_points"_s, u"over_5_points"_s,
                              u"over_limit_points"_s, u"p50"_s, u"p85"_s, u"sd"_s}));
        const QStringList tests{u"distribution"_s, u"mean"_s, u"over_10"_s, u"over_5"_s,
                                u"over_limit"_s,   u"p50"_s,  u"p85"_s};
        QCOMPARE(o[u"tests"].toObject().keys(), tests);
        QCOMPARE(o[u"significant"].toObject().keys(), tests);
        QCOMPARE(o[u"tests"][u"mean"].toObject().keys(),
                 (QStringList{u"ci_high"_s, u"ci_low"_s, u"df"_s, u"p"_s, u"t"_s}));
        QCOMPARE(o[u"tests"][u"p85"].toObject().keys(), (QStringList{u"p"_s, u"z"_s}));
        QCOMPARE(o[u"tests"][u"distribution"].toObject().keys(), (QStringList{u"d"_s, u"p"_s}));
        // Unrounded numbers, not the one-decimal texts.
        QCOMPARE(o[u"before"][u"mean"].toDouble(), *c.before.mean.exact);
        QCOMPARE(o[u"before"][u"n"].toInteger(), 200);
        QCOMPARE(o[u"before"][u"batch"].toString(), QStringLiteral("B"));
        QVERIFY(std::fabs(o[u"change"][u"mean"].toDouble() - 2) < 1e-12);
        QVERIFY(o[u"significant"][u"mean"].isBool());
        // The survey has no complete day: ADT and its change are "N/A".
        QCOMPARE(o[u"change"][u"adt"].toString(), QStringLiteral("N/A"));
        QVERIFY(o[u"notes"].isArray());
    }

    // ---- Stored surveys ---------------------------------------------------

    void stored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(testing::writeKnownSurveys(path), QString());
        DatabaseSession session(path);
        ComparisonRequest request;
        request.before = testing::MphBatch;
        request.after = testing::KphBatch;
        ComparisonOutcome out = loadSurveyComparison(session, request);
        QVERIFY(!out.ok());
        QVERIFY2(out.refusal.contains(QStringLiteral("different units")), qPrintable(out.refusal));
        request.after = QStringLiteral("999999-Z");
        out = loadSurveyComparison(session, request);
        QCOMPARE(out.refusal, QStringLiteral("There is no survey with batch number 999999-Z."));
        request.after = testing::MphBatch;
        request.controlBefore = testing::KphBatch;
        out = loadSurveyComparison(session, request);
        QCOMPARE(out.refusal,
                 QStringLiteral("A control pair needs both a before and an after survey."));

        const QVector<ComparableSurvey> surveys = readComparableSurveys(session);
        QCOMPARE(surveys.size(), 2);
        QCOMPARE(surveys.at(0).batch, testing::MphBatch); // 12/30/25 before 03/16/26
        QVERIFY(surveys.at(0).vehicles > 0);
        QCOMPARE(afterCandidates(surveys, testing::MphBatch).size(), 1);
    }

    void afterListOrder()
    {
        auto survey = [](const char *batch, const char *location, const char *start) {
            ComparableSurvey s;
            s.batch = QString::fromLatin1(batch);
            s.location = QString::fromLatin1(location);
            s.startDate = QString::fromLatin1(start);
            return s;
        };
        const QVector<ComparableSurvey> all = {
            survey("1", "Oak", "01/05/25"), survey("2", "Maple", "02/05/25"),
            survey("3", "Oak", "03/05/25"), survey("4", "maple", "04/05/25")};
        QStringList order;
        for (const ComparableSurvey &s : afterCandidates(all, QStringLiteral("2")))
            order << s.batch;
        QCOMPARE(order, (QStringList{u"4"_s, u"1"_s, u"3"_s}));
    }
};

QTEST_GUILESS_MAIN(tst_SurveyComparison)
#include "tst_SurveyComparison.moc"
