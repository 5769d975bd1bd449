// The date lists of a survey: calendar order across a year end, each date once.

#include "fixtures/ViewsFixture.h"

#include "core/survey/SurveyDates.h"

#include <QTemporaryDir>
#include <QtTest>

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
        QTest::newRow("year end") << QStringList{"01/01/26", "01/02/26", "12/30/25", "12/31/25"}
                                  << QStringList{"12/30/25", "12/31/25", "01/01/26", "01/02/26"};
        QTest::newRow("month end") << QStringList{"10/01/25", "09/30/25", "09/29/25"}
                                   << QStringList{"09/29/25", "09/30/25", "10/01/25"};
        QTest::newRow("leap day") << QStringList{"03/01/28", "02/29/28", "02/28/28"}
                                  << QStringList{"02/28/28", "02/29/28", "03/01/28"};
        QTest::newRow("duplicates") << QStringList{"05/25/25", "05/24/25", "05/25/25"}
                                    << QStringList{"05/24/25", "05/25/25"};
        QTest::newRow("same day, two spellings")
            << QStringList{"1/2/26", "01/02/26"} << QStringList{"1/2/26"};
        QTest::newRow("not dates last")
            << QStringList{"", "05/24/25", "junk", "junk"} << QStringList{"05/24/25", "", "junk"};
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
                 (QStringList{"12/30/25", "12/31/25", "01/01/26", "01/02/26"}));
        QCOMPARE(surveyDates(session, MphBatch + QStringLiteral(" ")).size(), 4);
        QCOMPARE(surveyDates(session, KphBatch), QStringList{QStringLiteral("03/16/26")});
        QCOMPARE(surveyDates(session, QString()), QStringList{});
        // A quote in the batch number is a value, not part of the statement.
        QCOMPARE(surveyDates(session, QStringLiteral("x' or '1'='1")), QStringList{});
    }
};

QTEST_GUILESS_MAIN(tst_SurveyDates)
#include "tst_SurveyDates.moc"
