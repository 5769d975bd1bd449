// The number, date and time patterns every figure of the program goes through.
#include "core/text/TextPatterns.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

using namespace roadtally;

class tst_TextPatterns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formatNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");

        // Percentages with "##.##": the examples of the display schemes, the
        // criteria panel and the fifteen-minute analysis.
        QTest::newRow("##.## 12.5") << 12.5 << "##.##"
                                    << "12.5";
        QTest::newRow("##.## 25 keeps the point") << 25.0 << "##.##"
                                                  << "25.";
        QTest::newRow("##.## 0.5 no leading zero") << 0.5 << "##.##"
                                                   << ".5";
        QTest::newRow("##.## 0 is the point alone") << 0.0 << "##.##"
                                                    << ".";
        QTest::newRow("##.## 50") << 50.0 << "##.##"
                                  << "50.";
        QTest::newRow("##.## 100 (peak 50 of 50)") << 50.0 / 50.0 * 100 << "##.##"
                                                   << "100.";
        QTest::newRow("##.## 75 (150 of 200)") << 150.0 / 200.0 * 100 << "##.##"
                                               << "75.";
        QTest::newRow("##.## 25 (50 of 200)") << 50.0 / 200.0 * 100 << "##.##"
                                              << "25.";
        QTest::newRow("##.## one third") << 1.0 / 3.0 * 100 << "##.##"
                                         << "33.33";
        QTest::newRow("##.## two thirds") << 2.0 / 3.0 * 100 << "##.##"
                                          << "66.67";
        QTest::newRow("##.## trailing zero dropped") << 12.50 << "##.##"
                                                     << "12.5";
        QTest::newRow("##.## 2.675 rounds up") << 2.675 << "##.##"
                                               << "2.68";
        QTest::newRow("##.## 1.005 rounds up") << 1.005 << "##.##"
                                               << "1.01";
        QTest::newRow("##.## 0.045") << 0.045 << "##.##"
                                     << ".05";
        QTest::newRow("##.## 0.004 rounds to the point") << 0.004 << "##.##"
                                                         << ".";
        QTest::newRow("##.## 0.005 rounds up") << 0.005 << "##.##"
                                               << ".01";
        QTest::newRow("##.## 99.995 carries") << 99.995 << "##.##"
                                              << "100.";
        QTest::newRow("##.## 9.999 carries") << 9.999 << "##.##"
                                             << "10.";
        QTest::newRow("##.## 1 of 3 vehicles") << 1.0 / 3 * 100 << "##.##"
                                               << "33.33";
        QTest::newRow("##.## wider than the pattern") << 12345.678 << "##.##"
                                                      << "12345.68";

        // "##.#": split cells of the weekly grid, bins of schemes B and C.
        QTest::newRow("##.# 15 of 22") << 15.0 / 22.0 * 100 << "##.#"
                                       << "68.2";
        QTest::newRow("##.# 7 of 22") << 7.0 / 22.0 * 100 << "##.#"
                                      << "31.8";
        QTest::newRow("##.# 0.05 rounds up") << 0.05 << "##.#"
                                             << ".1";
        QTest::newRow("##.# 0.04") << 0.04 << "##.#"
                                   << ".";
        QTest::newRow("##.# 99.95 carries") << 99.95 << "##.#"
                                            << "100.";
        QTest::newRow("##.# 0.25") << 0.25 << "##.#"
                                   << ".3";
        QTest::newRow("##.# 100") << 100.0 << "##.#"
                                  << "100.";
        QTest::newRow("##.# 50") << 50.0 << "##.#"
                                 << "50.";

        // "###.0": the mean speed.
        QTest::newRow("###.0 mean 32.46") << 32.46 << "###.0"
                                          << "32.5";
        QTest::newRow("###.0 mean 6492/200") << 6492.0 / 200 << "###.0"
                                             << "32.5";
        QTest::newRow("###.0 37.25") << 37.25 << "###.0"
                                     << "37.3";
        QTest::newRow("###.0 whole number keeps its decimal") << 30.0 << "###.0"
                                                              << "30.0";
        QTest::newRow("###.0 100") << 100.0 << "###.0"
                                   << "100.0";
        QTest::newRow("###.0 under one") << 0.46 << "###.0"
                                         << ".5";
        QTest::newRow("###.0 zero") << 0.0 << "###.0"
                                    << ".0";
        QTest::newRow("###.0 0.04") << 0.04 << "###.0"
                                    << ".0";
        QTest::newRow("###.0 halves away") << 32.45 << "###.0"
                                           << "32.5";

        // "###" and "##": pace ends, 85th percentile, pace share, averages.
        QTest::newRow("### pace low mph") << 32.46 - 5 << "###"
                                          << "27";
        QTest::newRow("### pace high mph") << 27.0 + 10 << "###"
                                           << "37";
        QTest::newRow("### pace low kph") << 32.46 - 10 << "###"
                                          << "22";
        QTest::newRow("### pace high kph") << 22.0 + 20 << "###"
                                           << "42";
        QTest::newRow("### rounds to 0 gives empty") << 0.4 << "###"
                                                     << "";
        QTest::newRow("### zero gives empty") << 0.0 << "###"
                                              << "";
        QTest::newRow("### 0.5 gives 1") << 0.5 << "###"
                                         << "1";
        QTest::newRow("### negative pace low") << 3.0 - 5 << "###"
                                               << "-2";
        QTest::newRow("### wider than the pattern") << 1234.0 << "###"
                                                    << "1234";
        QTest::newRow("## 85th of 32.5") << 1.175 * 32.5 << "##"
                                         << "38";
        QTest::newRow("## 85th of 20.0 is a half") << 1.175 * 20.0 << "##"
                                                   << "24";
        QTest::newRow("## 85th of empty mean") << 1.175 * 0 << "##"
                                               << "";
        QTest::newRow("## pace share 112 of 200") << 112.0 / 200 * 100 << "##"
                                                  << "56";
        QTest::newRow("## 57 of 200 is 28.5") << 57.0 / 200 * 100 << "##"
                                              << "29";
        QTest::newRow("## weekday average 9") << (12.0 + 6.0) / 2 << "##"
                                              << "9";
        QTest::newRow("## average 7.5") << 15.0 / 2 << "##"
                                        << "8";
        QTest::newRow("## 2.5 away from zero") << 2.5 << "##"
                                               << "3";
        QTest::newRow("## 0.49 empty") << 0.49 << "##"
                                       << "";
        QTest::newRow("## 0.5") << 0.5 << "##"
                                << "1";
        QTest::newRow("## 100") << 100.0 << "##"
                                << "100";
        QTest::newRow("## 99.5") << 99.5 << "##"
                                 << "100";
        QTest::newRow("# 7") << 7.0 << "#"
                             << "7";
        QTest::newRow("# 0") << 0.0 << "#"
                             << "";

        // "0" and "00": digits always written.
        QTest::newRow("00 minutes 7") << 7.0 << "00"
                                      << "07";
        QTest::newRow("00 zero") << 0.0 << "00"
                                 << "00";
        QTest::newRow("00 two digits") << 45.0 << "00"
                                       << "45";
        QTest::newRow("00 three digits") << 123.0 << "00"
                                         << "123";
        QTest::newRow("00 rounds") << 5.5 << "00"
                                   << "06";
        QTest::newRow("0 zero") << 0.0 << "0"
                                << "0";
        QTest::newRow("0 0.4") << 0.4 << "0"
                               << "0";
        QTest::newRow("0 0.5") << 0.5 << "0"
                               << "1";
        QTest::newRow("0 1.5") << 1.5 << "0"
                               << "2";
        QTest::newRow("0 2.5") << 2.5 << "0"
                               << "3";

        // Negative values: the sign only in front of a digit that is not 0.
        QTest::newRow("neg ## -2.5") << -2.5 << "##"
                                     << "-3";
        QTest::newRow("neg ## -0.4 empty") << -0.4 << "##"
                                           << "";
        QTest::newRow("neg ##.## -0.5") << -0.5 << "##.##"
                                        << "-.5";
        QTest::newRow("neg ##.## -0.001") << -0.001 << "##.##"
                                          << ".";
        QTest::newRow("neg ###.0 -2.675") << -2.675 << "###.0"
                                          << "-2.7";
        QTest::newRow("neg 00 -3") << -3.0 << "00"
                                   << "-03";
        QTest::newRow("neg 0 -0.4") << -0.4 << "0"
                                    << "0";

        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << "##.##"
                             << "";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "##"
                                  << "";
    }

    void formatNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(roadtally::formatNumber(value, pattern), expected);
    }

    void roundHalfAway_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.5") << 2.5 << 0 << 3.0;
        QTest::newRow("-2.5") << -2.5 << 0 << -3.0;
        QTest::newRow("2.675") << 2.675 << 2 << 2.68;
        QTest::newRow("0.05") << 0.05 << 1 << 0.1;
        QTest::newRow("99.95") << 99.95 << 1 << 100.0;
        QTest::newRow("1.005") << 1.005 << 2 << 1.01;
        QTest::newRow("0.0049") << 0.0049 << 2 << 0.0;
        QTest::newRow("large") << 123456789.5 << 0 << 123456790.0;
        QTest::newRow("tiny") << 1e-20 << 2 << 0.0;
    }

    void roundHalfAway()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        QCOMPARE(roadtally::roundHalfAway(value, decimals), expected);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("0.5") << 0.5 << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("2.5") << 2.5 << qint64(2);
        QTest::newRow("3.5") << 3.5 << qint64(4);
        QTest::newRow("34.5") << 34.5 << qint64(34);
        QTest::newRow("35.5") << 35.5 << qint64(36);
        QTest::newRow("35.4") << 35.4 << qint64(35);
        QTest::newRow("35.6") << 35.6 << qint64(36);
        QTest::newRow("-2.5") << -2.5 << qint64(-2);
        QTest::newRow("-3.5") << -3.5 << qint64(-4);
        QTest::newRow("-0.5") << -0.5 << qint64(0);
        QTest::newRow("35") << 35.0 << qint64(35);
        QTest::newRow("huge saturates") << 1e30 << std::numeric_limits<qint64>::max();
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
    }

    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(qint64, expected);
        QCOMPARE(roadtally::roundHalfEven(value), expected);
    }

    void numericValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("posted limit 035") << "035" << 35.0;
        QTest::newRow("blanks and percent") << " 12.5 %" << 12.5;
        QTest::newRow("pace share") << "56 %" << 56.0;
        QTest::newRow("star") << "*" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "   " << 0.0;
        QTest::newRow("band header") << "35+" << 35.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("words") << "abc" << 0.0;
        QTest::newRow("N/A") << "N/A" << 0.0;
        QTest::newRow("pace text first three") << QStringLiteral("27 to 37").left(3) << 27.0;
        QTest::newRow("pace text last three") << QStringLiteral("27 to 37").right(3) << 37.0;
        QTest::newRow("peak per hour") << "245/hr" << 245.0;
        QTest::newRow("point first") << ".5%" << 0.5;
        QTest::newRow("point last") << "25.%" << 25.0;
        QTest::newRow("point alone") << ".%" << 0.0;
        QTest::newRow("mean") << "32.5" << 32.5;
        QTest::newRow("two points") << "1.2.3" << 1.2;
        QTest::newRow("no exponent") << "1e3" << 1.0;
        QTest::newRow("tab") << "\t8" << 8.0;
        QTest::newRow("leading text") << "x5" << 0.0;
        QTest::newRow("split cell") << "68.2 | 31.8" << 68.2;
        QTest::newRow("large count") << "123456" << 123456.0;
    }

    void numericValue()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(roadtally::numericValue(text), expected);
    }

    void plainNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("band header 35 + 10")
            << roadtally::numericValue(QStringLiteral("035")) + 10 << "45";
        QTest::newRow("55") << 55.0 << "55";
        QTest::newRow("count") << 1234.0 << "1234";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("decimal") << 12.5 << "12.5";
        QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("negative") << -3.25 << "-3.25";
        QTest::newRow("large") << 1e20 << "100000000000000000000";
        QTest::newRow("small") << 0.00001 << "0.00001";
    }

    void plainNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(roadtally::plainNumber(value), expected);
    }

    void formatDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mm/dd/yy") << QDate(2001, 5, 24) << "mm/dd/yy"
                                  << "05/24/01";
        QTest::newRow("mm/dd/yy new year") << QDate(2010, 1, 2) << "mm/dd/yy"
                                           << "01/02/10";
        QTest::newRow("mm/dd/yyyy") << QDate(2001, 5, 24) << "mm/dd/yyyy"
                                    << "05/24/2001";
        QTest::newRow("mmm dd, yyyy") << QDate(2004, 3, 5) << "mmm dd, yyyy"
                                      << "Mar 05, 2004";
        QTest::newRow("mmm dd, yyyy December") << QDate(2026, 12, 9) << "mmm dd, yyyy"
                                               << "Dec 09, 2026";
        QTest::newRow("dddd, mmm d") << QDate(2001, 5, 24) << "dddd, mmm d"
                                     << "Thursday, May 24";
        QTest::newRow("dddd, mmm d one digit") << QDate(2001, 6, 3) << "dddd, mmm d"
                                               << "Sunday, Jun 3";
        QTest::newRow("invalid") << QDate() << "mm/dd/yy"
                                 << "";
    }

    void formatDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(roadtally::formatDate(date, pattern), expected);
    }

    void formatTime_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hh:mm afternoon") << QTime(13, 45) << "hh:mm"
                                         << "13:45";
        QTest::newRow("hh:mm midnight") << QTime(0, 0) << "hh:mm"
                                        << "00:00";
        QTest::newRow("hh:mm AMPM afternoon") << QTime(13, 45) << "hh:mm AMPM"
                                              << "01:45 PM";
        QTest::newRow("hh:mm AMPM after midnight") << QTime(1, 36) << "hh:mm AMPM"
                                                   << "01:36 AM";
        QTest::newRow("hh:mm AMPM midnight") << QTime(0, 5) << "hh:mm AMPM"
                                             << "12:05 AM";
        QTest::newRow("hh:mm AMPM noon") << QTime(12, 0) << "hh:mm AMPM"
                                         << "12:00 PM";
        QTest::newRow("hh:mm AMPM before noon") << QTime(11, 59) << "hh:mm AMPM"
                                                << "11:59 AM";
        QTest::newRow("hh:mm AMPM 22:30") << QTime(22, 30) << "hh:mm AMPM"
                                          << "10:30 PM";
        QTest::newRow("hh:mm:ss AMPM") << QTime(13, 50, 9) << "hh:mm:ss AMPM"
                                       << "01:50:09 PM";
        QTest::newRow("hh:mm:ss AMPM morning") << QTime(9, 5, 0) << "hh:mm:ss AMPM"
                                               << "09:05:00 AM";
        QTest::newRow("invalid") << QTime() << "hh:mm"
                                 << "";
    }

    void formatTime()
    {
        QFETCH(QTime, time);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(roadtally::formatTime(time, pattern), expected);
    }

    void parseDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("mm/dd/yy") << "05/24/01" << QDate(2001, 5, 24);
        QTest::newRow("mm/dd/yyyy") << "05/24/2001" << QDate(2001, 5, 24);
        QTest::newRow("two-digit years are 20xx") << "12/31/99" << QDate(2099, 12, 31);
        QTest::newRow("one digit parts") << "5/4/01" << QDate(2001, 5, 4);
        QTest::newRow("blanks around") << " 05/24/01 " << QDate(2001, 5, 24);
        QTest::newRow("mmm dd, yyyy") << "Mar 05, 2004" << QDate(2004, 3, 5);
        QTest::newRow("leap day") << "02/29/04" << QDate(2004, 2, 29);
        QTest::newRow("no leap day") << "02/29/01" << QDate();
        QTest::newRow("month 13") << "13/01/01" << QDate();
        QTest::newRow("day 0") << "01/00/01" << QDate();
        QTest::newRow("three-digit year") << "01/01/001" << QDate();
        QTest::newRow("prompt") << "** Select a Date **" << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("sign") << "-1/01/01" << QDate();
    }

    void parseDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QCOMPARE(roadtally::parseDate(text), expected);
    }

    void dateRoundTrip_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("mm/dd/yy") << "mm/dd/yy";
        QTest::newRow("mm/dd/yyyy") << "mm/dd/yyyy";
        QTest::newRow("mmm dd, yyyy") << "mmm dd, yyyy";
    }

    void dateRoundTrip()
    {
        QFETCH(QString, pattern);
        for (QDate d(2000, 1, 1); d.year() < 2100; d = d.addDays(17))
            QCOMPARE(roadtally::parseDate(roadtally::formatDate(d, pattern)), d);
    }

    void parseTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("expected");
        QTest::newRow("hh:mm") << "13:45" << QTime(13, 45);
        QTest::newRow("hh:mm:ss") << "13:45:07" << QTime(13, 45, 7);
        QTest::newRow("hh:mm AMPM") << "01:45 PM" << QTime(13, 45);
        QTest::newRow("hh:mm:ss AMPM") << "01:50:09 PM" << QTime(13, 50, 9);
        QTest::newRow("midnight") << "12:05 AM" << QTime(0, 5);
        QTest::newRow("noon") << "12:00 PM" << QTime(12, 0);
        QTest::newRow("lower case") << "10:30 pm" << QTime(22, 30);
        QTest::newRow("hour 24") << "24:00" << QTime();
        QTest::newRow("minute 60") << "10:60" << QTime();
        QTest::newRow("13 PM") << "13:00 PM" << QTime();
        QTest::newRow("0 AM") << "00:30 AM" << QTime();
        QTest::newRow("not a time") << "N/A" << QTime();
        QTest::newRow("empty") << "" << QTime();
    }

    void parseTime()
    {
        QFETCH(QString, text);
        QFETCH(QTime, expected);
        QCOMPARE(roadtally::parseTime(text), expected);
    }

    void timeRoundTrip()
    {
        for (QTime t(0, 0);; t = t.addSecs(353)) {
            QCOMPARE(
                roadtally::parseTime(roadtally::formatTime(t, QStringLiteral("hh:mm:ss AMPM"))), t);
            const QTime minute(t.hour(), t.minute());
            QCOMPARE(roadtally::parseTime(roadtally::formatTime(t, QStringLiteral("hh:mm AMPM"))),
                     minute);
            QCOMPARE(roadtally::parseTime(roadtally::formatTime(t, QStringLiteral("hh:mm"))),
                     minute);
            if (t.addSecs(353) < t)
                break;
        }
    }

    void calendarOrder_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("across a year end")
            << QStringList{u"01/02/11"_s, u"12/30/10"_s, u"01/01/11"_s, u"12/31/10"_s}
            << QStringList{u"12/30/10"_s, u"12/31/10"_s, u"01/01/11"_s, u"01/02/11"_s};
        QTest::newRow("already in order") << QStringList{u"05/24/01"_s, u"05/25/01"_s}
                                          << QStringList{u"05/24/01"_s, u"05/25/01"_s};
        QTest::newRow("not dates go last")
            << QStringList{u"*"_s, u"05/25/01"_s, u""_s, u"05/24/01"_s}
            << QStringList{u"05/24/01"_s, u"05/25/01"_s, u"*"_s, u""_s};
    }

    void calendarOrder()
    {
        QFETCH(QStringList, dates);
        QFETCH(QStringList, expected);
        QCOMPARE(inCalendarOrder(dates), expected);
    }
};

QTEST_GUILESS_MAIN(tst_TextPatterns)
#include "tst_TextPatterns.moc"
