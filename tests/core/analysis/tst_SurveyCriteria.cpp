// The survey criteria of a direction: band headers from the posted limit as
// typed, the vehicles at or under the limit and the shares, undefined shares
// of a direction without vehicles, and the fields each direction shows.

#include "fixtures/ViewsFixture.h"

#include "core/analysis/SurveyCriteria.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;

Q_DECLARE_METATYPE(roadtally::SurveyDirection)

class tst_SurveyCriteria : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headers_data()
    {
        QTest::addColumn<QString>("limit");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        QTest::newRow("typed with a leading zero") << "035"
                                                   << "035+"
                                                   << "45+"
                                                   << "55+";
        QTest::newRow("plain") << "35"
                               << "35+"
                               << "45+"
                               << "55+";
        QTest::newRow("empty") << ""
                               << "+"
                               << "10+"
                               << "20+";
        QTest::newRow("not a number") << "abc"
                                      << "abc+"
                                      << "10+"
                                      << "20+";
        QTest::newRow("km/h") << "100"
                              << "100+"
                              << "110+"
                              << "120+";
        QTest::newRow("fraction") << "35.5"
                                  << "35.5+"
                                  << "45.5+"
                                  << "55.5+";
        QTest::newRow("leading blanks") << "  40"
                                        << "  40+"
                                        << "50+"
                                        << "60+";
    }
    void headers()
    {
        QFETCH(QString, limit);
        const BandHeaders h = bandHeaders(limit);
        QTEST(h.first, "first");
        QTEST(h.second, "second");
        QTEST(h.third, "third");
    }

    void compute_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("over");
        QTest::addColumn<QStringList>("bands"); // 10, 20, 30
        QTest::addColumn<QString>("atOrUnder");
        QTest::addColumn<QStringList>("percents"); // 56, 57, 51..54
        QTest::addColumn<QString>("caption");

        QTest::newRow("200 with 50 over")
            << SurveyDirection::Approaching << "200"
            << "50" << QStringList{u"30"_s, u"15"_s, u"5"_s} << "150"
            << QStringList{u"75.%"_s, u"25.%"_s, u"15.%"_s, u"7.5%"_s, u"2.5%"_s, u"25.%"_s}
            << "Percent of total (approaching)";
        QTest::newRow("band without vehicles")
            << SurveyDirection::Receding << "12"
            << "8" << QStringList{u"8"_s, u"0"_s, u"0"_s} << "4"
            << QStringList{u"33.33%"_s, u"66.67%"_s, u"66.67%"_s, u".%"_s, u".%"_s, u"66.67%"_s}
            << "Percent of total (receeding)";
        QTest::newRow("both, small shares")
            << SurveyDirection::Both << "113"
            << "40" << QStringList{u"33"_s, u"6"_s, u"1"_s} << "73"
            << QStringList{u"64.6%"_s, u"35.4%"_s, u"29.2%"_s, u"5.31%"_s, u".88%"_s, u"35.4%"_s}
            << "Percent of total";
        QTest::newRow("no vehicles")
            << SurveyDirection::Receding << "0"
            << "0" << QStringList{u"0"_s, u"0"_s, u"0"_s} << "0"
            << QStringList{u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s}
            << "Percent of total (receeding)";
        QTest::newRow("no survey shown")
            << SurveyDirection::Approaching << ""
            << "" << QStringList{u""_s, u""_s, u""_s} << "0"
            << QStringList{u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s}
            << "Percent of total (approaching)";
        QTest::newRow("all over the limit")
            << SurveyDirection::Both << "7"
            << "7" << QStringList{u"7"_s, u"0"_s, u"0"_s} << "0"
            << QStringList{u".%"_s, u"100.%"_s, u"100.%"_s, u".%"_s, u".%"_s, u"100.%"_s}
            << "Percent of total";
    }
    void compute()
    {
        QFETCH(SurveyDirection, direction);
        QFETCH(QString, total);
        QFETCH(QString, over);
        QFETCH(QStringList, bands);
        QFETCH(QStringList, percents);
        CriteriaInput in;
        in.postedLimit = QStringLiteral("035");
        in.total = total;
        in.numberOver = over;
        in.band10 = bands[0];
        in.band20 = bands[1];
        in.band30 = bands[2];
        const CriteriaResult r = computeCriteria(in, direction);
        QTEST(r.atOrUnder, "atOrUnder");
        const QStringList got{r.percentAtOrUnder, r.percentOver,     r.percentBands[0],
                              r.percentBands[1],  r.percentBands[2], r.percentBands[3]};
        QCOMPARE(got, percents);
        QTEST(r.percentCaption, "caption");
        QCOMPARE(r.headers.first, QStringLiteral("035+"));
    }

    void bindings_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("fields");
        QTest::newRow("approaching")
            << SurveyDirection::Approaching
            << "36 PaceA|37 Pace_TotalA|38 Pace_PercentA|27 50th_PercentileA|28 85th_PercentileA|"
               "45 Number_OverA10|46 Number_OverA20|47 Number_OverA30|48 Number_OverA|"
               "26 Number_OverA|32 Number_UnderA";
        QTest::newRow("receding")
            << SurveyDirection::Receding
            << "36 PaceR|37 Pace_TotalR|38 Pace_PercentR|27 50th_PercentileR|28 85th_PercentileR|"
               "45 Number_OverR10|46 Number_OverR20|47 Number_OverR30|48 Number_OverR|"
               "26 Number_OverR|32 Number_UnderR";
        QTest::newRow("both")
            << SurveyDirection::Both
            << "36 Pace|37 Pace_Total|38 Pace_Percent|27 50th_Percentile|28 85th_Percentile|"
               "45 Number_Over10|46 Number_Over20|47 Number_Over30|48 Number_Over|"
               "26 Number_Over|32 Number_Under";
    }
    void bindings()
    {
        QFETCH(SurveyDirection, direction);
        QStringList got;
        for (const CriteriaBinding &b : criteriaBindings(direction))
            got << QStringLiteral("%1 %2").arg(b.label).arg(b.field);
        QTEST(got.join(QLatin1Char('|')), "fields");
    }

    void fromSummaryRow_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("over");
        QTest::addColumn<QString>("band30");
        QTest::newRow("approaching") << SurveyDirection::Approaching << "100"
                                     << "32"
                                     << "1";
        QTest::newRow("receding") << SurveyDirection::Receding << "12"
                                  << "8"
                                  << "0";
        QTest::newRow("both") << SurveyDirection::Both << "113"
                              << "40"
                              << "2";
    }
    void fromSummaryRow()
    {
        QFETCH(SurveyDirection, direction);
        // Field names as a query returns them, in any case.
        const QHash<QString, QVariant> row{{QStringLiteral("posted_limit"), QStringLiteral("035")},
                                           {QStringLiteral("Total_Vehicles"), 113},
                                           {QStringLiteral("Total_Approach"), 100},
                                           {QStringLiteral("TOTAL_RECEEDING"), 12},
                                           {QStringLiteral("Number_Over"), 40},
                                           {QStringLiteral("Number_OverA"), 32},
                                           {QStringLiteral("Number_OverR"), 8},
                                           {QStringLiteral("Number_Over30"), 2},
                                           {QStringLiteral("Number_OverA30"), 1},
                                           {QStringLiteral("Number_OverR30"), 0}};
        const CriteriaInput in = criteriaInputFromSummary(row, direction);
        QCOMPARE(in.postedLimit, QStringLiteral("035"));
        QTEST(in.total, "total");
        QTEST(in.numberOver, "over");
        QTEST(in.band30, "band30");
    }

    // From the stored row to the panel's figures, as a caller without the window does.
    void fromDatabase_data()
    {
        QTest::addColumn<QString>("batch");
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("atOrUnder");
        QTest::addColumn<QString>("percentOver");
        QTest::newRow("mph approaching")
            << testing::MphBatch << SurveyDirection::Approaching << "68"
            << "32.%";
        QTest::newRow("mph both, blanks after the batch")
            << testing::MphBatch + QStringLiteral("  ") << SurveyDirection::Both << "73"
            << "35.4%";
        QTest::newRow("kph receding") << testing::KphBatch << SurveyDirection::Receding << "0"
                                      << "N/A";
        QTest::newRow("no such survey") << "000000-Z" << SurveyDirection::Both << "0"
                                        << "N/A";
    }
    void fromDatabase()
    {
        QFETCH(QString, batch);
        QFETCH(SurveyDirection, direction);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(testing::writeKnownSurveys(path), QString());
        DatabaseSession session(path);
        const CriteriaResult r = computeCriteria(
            criteriaInputFromSummary(summaryRow(session, batch), direction), direction);
        QTEST(r.atOrUnder, "atOrUnder");
        QTEST(r.percentOver, "percentOver");
    }

    void percentText_data()
    {
        QTest::addColumn<double>("count");
        QTest::addColumn<double>("total");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << 1.0 << 8.0 << "##.##"
                              << "12.5%";
        QTest::newRow("whole") << 1.0 << 4.0 << "##.##"
                               << "25.%";
        QTest::newRow("below one") << 1.0 << 200.0 << "##.##"
                                   << ".5%";
        QTest::newRow("zero") << 0.0 << 9.0 << "##.##"
                              << ".%";
        QTest::newRow("third, two decimals") << 1.0 << 3.0 << "##.##"
                                             << "33.33%";
        QTest::newRow("third, one decimal") << 1.0 << 3.0 << "##.#"
                                            << "33.3%";
        QTest::newRow("zero total") << 5.0 << 0.0 << "##.##"
                                    << "N/A";
        QTest::newRow("nothing of nothing") << 0.0 << 0.0 << "##.#"
                                            << "N/A";
    }
    void percentText()
    {
        QFETCH(double, count);
        QFETCH(double, total);
        QFETCH(QString, pattern);
        QTEST(roadtally::percentText(count, total, pattern), "text");
    }
};

QTEST_GUILESS_MAIN(tst_SurveyCriteria)
#include "tst_SurveyCriteria.moc"
