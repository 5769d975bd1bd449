// The survey list: the exact line format, the batch number taken from a line, and
// the order and content of the list read from the database.
#include "fixtures/SurveyFixture.h"

#include "core/survey/SurveyList.h"

#include <QFile>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

class tst_SurveyList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void line_data();
    void line();
    void batchChoice_data();
    void batchChoice();
    void orderedByBatchNumber();
    void emptyHeaderGivesEmptyList();
    void missingDatabaseIsReported();
    void duplicateHeaderRowsListedOnce();
};

void tst_SurveyList::line_data()
{
    QTest::addColumn<QString>("batch");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("expected");

    QTest::newRow("usual survey") << "052401-A"
                                  << "05/24/2001"
                                  << "13:45"
                                  << "Main Street"
                                  << "052401-A         05/24/2001     13:45        Main Street";
    QTest::newRow("empty location") << "123199-Z"
                                    << "12/31/1999"
                                    << "23:59"
                                    << ""
                                    << "123199-Z         12/31/1999     23:59        ";
    QTest::newRow("location with separators kept as typed")
        << "010102-B"
        << "01/01/2002"
        << "00:00"
        << "Elm & 5th | east side"
        << "010102-B         01/01/2002     00:00        Elm & 5th | east side";
    QTest::newRow("all fields empty") << ""
                                      << ""
                                      << ""
                                      << ""
                                      << "                      ";
}

void tst_SurveyList::line()
{
    QFETCH(QString, batch);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, location);
    QFETCH(QString, expected);
    QCOMPARE(surveyListLine({batch, date, time, location}), expected);
}

void tst_SurveyList::batchChoice_data()
{
    QTest::addColumn<QString>("batch");
    QTest::addColumn<QString>("expected");
    // An eight-character batch number is followed by two of the separator blanks.
    QTest::newRow("eight characters") << "052401-A"
                                      << "052401-A  ";
    QTest::newRow("nine characters") << "052401-AB"
                                     << "052401-AB ";
    QTest::newRow("ten characters") << "0524011-AB"
                                    << "0524011-AB";
    QTest::newRow("one character") << "X"
                                   << "X         ";
}

void tst_SurveyList::batchChoice()
{
    QFETCH(QString, batch);
    QFETCH(QString, expected);
    const QString line = surveyListLine({batch, u"05/24/2001"_s, u"13:45"_s, u"Main Street"_s});
    QCOMPARE(batchChoiceOf(line), expected);
}

void tst_SurveyList::orderedByBatchNumber()
{
    SurveyFolder folder;
    // Stored out of order; the list is in ascending batch number order.
    for (const char *batch : {"052401-C", "010199-A", "052401-A", "123100-B"})
        folder.store({QString::fromLatin1(batch)});
    QString error;
    const QStringList lines = surveyListLines(folder.databasePath(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList batches;
    for (const QString &line : lines)
        batches << batchChoiceOf(line).trimmed();
    QCOMPARE(batches, QStringList({u"010199-A"_s, u"052401-A"_s, u"052401-C"_s, u"123100-B"_s}));
}

void tst_SurveyList::emptyHeaderGivesEmptyList()
{
    SurveyFolder folder;
    QString error = QStringLiteral("untouched");
    QVERIFY(surveyListLines(folder.databasePath(), &error).isEmpty());
    QVERIFY(error.isEmpty());
}

void tst_SurveyList::missingDatabaseIsReported()
{
    SurveyFolder folder;
    QVERIFY(QFile::remove(folder.databasePath()));
    QString error;
    QVERIFY(surveyListLines(folder.databasePath(), &error).isEmpty());
    QVERIFY(error.contains(folder.databasePath()));
    // The list never creates the database.
    QVERIFY(!QFile::exists(folder.databasePath()));
}

void tst_SurveyList::duplicateHeaderRowsListedOnce()
{
    SurveyFolder folder;
    folder.store({QStringLiteral("052401-A")});
    folder.store({QStringLiteral("052401-A")});
    folder.store({QStringLiteral("052401-A"), QStringLiteral("05/25/2001")});
    const QStringList lines = surveyListLines(folder.databasePath());
    // Identical rows collapse; a row differing in its date is a line of its own.
    QCOMPARE(lines.size(), 2);
}

QTEST_GUILESS_MAIN(tst_SurveyList)
#include "tst_SurveyList.moc"
