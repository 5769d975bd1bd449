// The date lists of a survey: calendar order across a year end, each date once.

#include "fixtures/ViewsFixture.h"

#include "core/survey/SurveyDates.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

class tst_SurveyDates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("year end") << QStringList{u"01/01/26"_s, u"01/02/26"_s, u"12/30/25"_s,
                                                 u"12/31/25"_s}
                                  << QStringList{u"12/30/25"_s, u"12/31/25"_s, u"01/01/26"_s,
                                                 u"01/02/26"_s};
        QTest::newRow("month end") << QStringList{u"10/01/25"_s, u"09/30/25"_s, u"09/29/25"_s}
                                   << QStringList{u"09/29/25"_s, u"09/30/25"_s, u"10/01/25"_s};
        QTest::newRow("leap day") << QStringList{u"03/01/28"_s, u"02/29/28"_s, u"02/28/28"_s}
                                  << QStringList{u"02/28/28"_s, u"02/29/28"_s, u"03/01/28"_s};
        QTest::newRow("duplicates") << QStringList{u"05/25/25"_s, u"05/24/25"_s, u"05/25/25"_s}
                                    << QStringList{u"05/24/25"_s, u"05/25/25"_s};
        QTest::newRow("same day, two spellings")
            << QStringList{u"1/2/26"_s, u"01/02/26"_s} << QStringList{u"1/2/26"_s};
        QTest::newRow("not dates last") << QStringList{u""_s, u"05/24/25"_s, u"junk"_s, u"junk"_s}
                                        << QStringList{u"05/24/25"_s, u""_s, u"junk"_s};
        QTest::newRow("empty") << QStringList{} << QStringList{};
    }
    void order()
    {
        QFETCH(QStringList, given);
        QTEST(sortDatesByCalendar(given), "expected");
    }

    void fromTime15()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(writeKnownSurveys(path), QString());
        DatabaseSession session(path);
        QCOMPARE(surveyDates(session, MphBatch),
                 (QStringList{u"12/30/25"_s, u"12/31/25"_s, u"01/01/26"_s, u"01/02/26"_s}));
        QCOMPARE(surveyDates(session, MphBatch + QStringLiteral(" ")).size(), 4);
        QCOMPARE(surveyDates(session, KphBatch), QStringList{QStringLiteral("03/16/26")});
        QCOMPARE(surveyDates(session, QString()), QStringList{});
        // A quote in the batch number is a value, not part of the statement.
        QCOMPARE(surveyDates(session, QStringLiteral("x' or '1'='1")), QStringList{});
    }
};

QTEST_GUILESS_MAIN(tst_SurveyDates)
#include "tst_SurveyDates.moc"
