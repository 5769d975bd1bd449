// The batched row writer: every row stored once, in order, with NULL and empty
// text kept apart, whatever the number of rows.

#include "core/store/RowWriter.h"
#include "core/store/Schema.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;

class TestRowWriter : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void failureThrows();
};

void TestRowWriter::rows_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("direct"); // false: the plain Qt query path
    for (const bool direct : {true, false}) {
        for (int n : {0, 1, 15, 16, 17, 31, 32, 33, 64, 65, 100})
            QTest::addRow("%d rows%s", n, direct ? "" : ", plain queries") << n << direct;
    }
}

void TestRowWriter::rows()
{
    QFETCH(int, count);
    QFETCH(bool, direct);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession::setDirectEngineAllowed(direct);
    DatabaseSession session(path);
    Transaction transaction(session);
    {
        RowWriter insert(session,
                         "INSERT INTO [Speed_Profile] ([Batch_Number], [Date], [Time], "
                         "[speed_Over], [Plus10], [Plus20], [Dir])",
                         7);
        insert.text(1, QStringLiteral("B")); // set once, kept for every row
        insert.text(6, QString());           // a null text is stored as empty text
        for (int i = 0; i < count; ++i) {
            insert.integer(2, i);
            insert.text(3, QStringLiteral("t%1").arg(i));
            if (i % 2)
                insert.null(4);
            else
                insert.text(4, std::optional<QString>(QStringLiteral("é%1").arg(i)));
            insert.text(5, std::optional<QString>());
            insert.text(7, "+-", 1);
            insert.insert();
        }
        insert.finish();
        DatabaseSession::setDirectEngineAllowed(true);
        QCOMPARE(insert.isDirect(), direct);
    }
    QSqlQuery q = session.exec(QStringLiteral(
        "SELECT Batch_Number, Date, Time, speed_Over, typeof(Plus10), Plus20, typeof(Plus20), Dir "
        "FROM Speed_Profile ORDER BY rowid"));
    int i = 0;
    while (q.next()) {
        QCOMPARE(q.value(0).toString(), QStringLiteral("B"));
        QCOMPARE(q.value(1).toInt(), i);
        QCOMPARE(q.value(2).toString(), QStringLiteral("t%1").arg(i));
        if (i % 2)
            QVERIFY(q.value(3).isNull());
        else
            QCOMPARE(q.value(3).toString(), QStringLiteral("é%1").arg(i));
        QCOMPARE(q.value(4).toString(), QStringLiteral("null"));
        QCOMPARE(q.value(5).toString(), QString());
        QCOMPARE(q.value(6).toString(), QStringLiteral("text"));
        QCOMPARE(q.value(7).toString(), QStringLiteral("+"));
        ++i;
    }
    QCOMPARE(i, count);
}

void TestRowWriter::failureThrows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    QCOMPARE(createBlankDatabase(path), QString());
    DatabaseSession session(path);
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             RowWriter(session, "INSERT INTO [NoSuchTable] ([a])", 1));

    // A failure in the rows that wait for the last run is reported by finish().
    session.exec(QStringLiteral("CREATE TABLE Checked (v INTEGER CHECK (v < 5))"));
    RowWriter insert(session, "INSERT INTO [Checked] ([v])", 1);
    for (int v = 0; v < 6; ++v) {
        insert.integer(1, v);
        insert.insert();
    }
    QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.finish());
}

QTEST_GUILESS_MAIN(TestRowWriter)
#include "tst_RowWriter.moc"
