// The cursor the windows and procedures use: moves, finds, edits, deletes.
#include "core/store/Recordset.h"
#include "core/store/Schema.h"

#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;

class tst_Recordset : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

    void fillHeader(const QStringList &batches)
    {
        DatabaseSession s(m_path);
        for (const QString &b : batches)
            s.exec(
                QStringLiteral("INSERT INTO [Header] ([Batch_Number], [Location]) VALUES (?, ?)"),
                {b, QString(QStringLiteral("at ") + b)});
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(
            QStringLiteral("OV97-%1.mdb").arg(QLatin1String(QTest::currentTestFunction())));
        QFile::remove(m_path);
        QCOMPARE(createBlankDatabase(m_path), QString());
    }

    void emptySelectionIsBofAndEof()
    {
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("Header"));
        QVERIFY(rs.bof());
        QVERIFY(rs.eof());
        QCOMPARE(rs.recordCount(), 0);
        QCOMPARE(rs.position(), -1);
        QVERIFY(rs.field(QStringLiteral("Batch_Number")).isNull());
        rs.moveNext();
        rs.movePrevious();
        QVERIFY(rs.eof() && rs.bof());
    }

    void movesWalkTheRows()
    {
        fillHeader(
            {QStringLiteral("052401-A"), QStringLiteral("052401-B"), QStringLiteral("052401-C")});
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("[Header]"));
        QVERIFY(!rs.bof() && !rs.eof());
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(rs.text(QStringLiteral("batch_number")), QStringLiteral("052401-A"));
        QCOMPARE(rs.field(0).toString(), QStringLiteral("052401-A"));
        rs.moveNext();
        QCOMPARE(rs.text(QStringLiteral("BATCH_NUMBER")), QStringLiteral("052401-B"));
        rs.moveLast();
        QCOMPARE(rs.position(), 2);
        rs.moveNext();
        QVERIFY(rs.eof());
        QVERIFY(!rs.bof());
        QVERIFY(rs.field(QStringLiteral("Batch_Number")).isNull());
        rs.moveFirst();
        rs.movePrevious();
        QVERIFY(rs.bof());
        QVERIFY(!rs.eof());
        rs.moveNext();
        QCOMPARE(rs.position(), 0);
        // Unset fields read as null, not as empty text.
        QVERIFY(rs.field(QStringLiteral("Zone")).isNull());
    }

    void selectionWithBoundValues()
    {
        fillHeader({QStringLiteral("052401-A"), QStringLiteral("it's-B")});
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("SELECT * FROM [Header] WHERE [Batch_Number] = ?"),
                     {QStringLiteral("it's-B    ")});
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.text(QStringLiteral("Location")), QStringLiteral("at it's-B"));
        QCOMPARE(rs.tableName(), QStringLiteral("Header"));
    }

    void aggregatesAndDistinctAreReadOnly()
    {
        fillHeader({QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("B")});
        DatabaseSession s(m_path);
        Recordset count(s, QStringLiteral("SELECT count(*) AS TVeh FROM [Header]"));
        QCOMPARE(count.field(QStringLiteral("tveh")).toInt(), 3);
        Recordset distinct(
            s,
            QStringLiteral("SELECT DISTINCT [Batch_Number] FROM [Header] ORDER BY [Batch_Number]"));
        QCOMPARE(distinct.recordCount(), 2);
        QCOMPARE(distinct.fieldNames(), QStringList{QStringLiteral("Batch_Number")});
        QVERIFY_THROWS_EXCEPTION(DatabaseError, distinct.edit());
    }

    void addNewAppendsWithUnsetFieldsNull()
    {
        DatabaseSession s(m_path);
        {
            Recordset rs(s, QStringLiteral("SELECT * from Summary"));
            rs.addNew();
            rs.setField(QStringLiteral("batch_number"), QStringLiteral("052401-A"));
            rs.setField(QStringLiteral("Total_Vehicles"), 200);
            rs.setField(QStringLiteral("50th_Percentile"), QStringLiteral("32.5"));
            rs.update();
            QCOMPARE(rs.recordCount(), 1);
            QCOMPARE(rs.field(QStringLiteral("Total_Vehicles")).toInt(), 200);
        }
        // Rows added earlier on the same connection are visible.
        Recordset again(s, QStringLiteral("Summary"));
        QCOMPARE(again.recordCount(), 1);
        QCOMPARE(again.text(QStringLiteral("50TH_PERCENTILE")), QStringLiteral("32.5"));
        QVERIFY(again.field(QStringLiteral("Pace")).isNull());
    }

    void editChangesTheCurrentRow()
    {
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("Radar"));
        QCOMPARE(rs.recordCount(), 1);
        rs.edit();
        rs.setField(QStringLiteral("Radar_Mode"), QStringLiteral("KPH"));
        rs.update();
        QCOMPARE(rs.text(QStringLiteral("radar_mode")), QStringLiteral("KPH"));
        Recordset check(s, QStringLiteral("Radar"));
        QCOMPARE(check.recordCount(), 1);
        QCOMPARE(check.text(QStringLiteral("radar_mode")), QStringLiteral("KPH"));
        QCOMPARE(check.text(QStringLiteral("Print_Name")), QStringLiteral("0"));
    }

    void cancelledEditWritesNothing()
    {
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("Radar"));
        rs.edit();
        rs.setField(QStringLiteral("radar_mode"), QStringLiteral("KPH"));
        QCOMPARE(rs.text(QStringLiteral("radar_mode")), QStringLiteral("KPH"));
        rs.cancelUpdate();
        QCOMPARE(rs.text(QStringLiteral("radar_mode")), QStringLiteral("MPH"));
        rs.edit();
        rs.setField(QStringLiteral("radar_mode"), QStringLiteral("KPH"));
        rs.moveFirst(); // a move drops an edit that was not stored
        Recordset check(s, QStringLiteral("Radar"));
        QCOMPARE(check.text(QStringLiteral("radar_mode")), QStringLiteral("MPH"));
    }

    void setFieldWithoutEditIsRefused()
    {
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("Radar"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 rs.setField(QStringLiteral("radar_mode"), QStringLiteral("KPH")));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, rs.update());
    }

    void deleteThenMoveNextGoesOn_data()
    {
        QTest::addColumn<int>("deleteAt");
        QTest::addColumn<QString>("next");
        QTest::newRow("first") << 0 << QStringLiteral("B");
        QTest::newRow("middle") << 1 << QStringLiteral("C");
        QTest::newRow("last") << 2 << QString();
    }

    void deleteThenMoveNextGoesOn()
    {
        QFETCH(int, deleteAt);
        QFETCH(QString, next);
        fillHeader({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("Header"));
        rs.moveTo(deleteAt);
        rs.remove();
        QVERIFY(rs.field(QStringLiteral("Batch_Number")).isNull());
        rs.moveNext();
        if (next.isEmpty()) {
            QVERIFY(rs.eof());
        } else {
            QVERIFY(!rs.eof());
            QCOMPARE(rs.text(QStringLiteral("Batch_Number")), next);
        }
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM [Header]")).toInt(), 2);
    }

    void deleteEveryRowInALoop()
    {
        fillHeader(
            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("SELECT * FROM [Header] WHERE [Batch_Number] <> ?"),
                     {QStringLiteral("C")});
        int guard = 0;
        while (!rs.eof() && guard++ < 10) {
            rs.remove();
            rs.moveNext();
        }
        QCOMPARE(guard, 3);
        QCOMPARE(s.scalar(QStringLiteral("SELECT [Batch_Number] FROM [Header]")).toString(),
                 QStringLiteral("C"));
    }

    void findFirst_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("position");
        QTest::newRow("exact") << "Batch_Number" << QVariant(QStringLiteral("052401-B")) << 1;
        QTest::newRow("trailing blanks of the wanted")
            << "batch_number" << QVariant(QStringLiteral("052401-B   ")) << 1;
        QTest::newRow("trailing blanks stored")
            << "Location" << QVariant(QStringLiteral("Main St")) << 2;
        QTest::newRow("first of two") << "Zone" << QVariant(QStringLiteral("School")) << 0;
        QTest::newRow("case matters")
            << "Batch_Number" << QVariant(QStringLiteral("052401-b")) << -1;
        QTest::newRow("leading blank matters")
            << "Batch_Number" << QVariant(QStringLiteral(" 052401-B")) << -1;
        QTest::newRow("no match stays")
            << "Batch_Number" << QVariant(QStringLiteral("999999-Z")) << -1;
    }

    void findFirst()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, value);
        QFETCH(int, position);
        {
            DatabaseSession s(m_path);
            const QString ins = QStringLiteral(
                "INSERT INTO [Header] ([Batch_Number], [Location], [Zone]) VALUES (?, ?, ?)");
            s.exec(ins,
                   {QStringLiteral("052401-A"), QStringLiteral("Elm"), QStringLiteral("School")});
            s.exec(ins,
                   {QStringLiteral("052401-B"), QStringLiteral("Oak"), QStringLiteral("School")});
            s.exec(ins, {QStringLiteral("052401-C"), QStringLiteral("Main St   "),
                         QStringLiteral("Park")});
        }
        DatabaseSession s(m_path);
        Recordset rs(s, QStringLiteral("Header"));
        rs.moveLast(); // a failed find leaves the cursor here
        const bool found = rs.findFirst(field, value);
        QCOMPARE(found, position >= 0);
        QCOMPARE(rs.position(), position >= 0 ? position : 2);
    }

    void findFirstByNumberAndPredicate()
    {
        DatabaseSession s(m_path);
        for (int sp : {20, 35, 50, 60})
            s.exec(QStringLiteral("INSERT INTO [Speed] ([batch_number], [speed], [all_total]) "
                                  "VALUES ('X', ?, ?)"),
                   {sp, sp * 2});
        Recordset rs(s, QStringLiteral("SELECT * FROM [Speed] WHERE [batch_number] = ?"),
                     {QStringLiteral("X")});
        QVERIFY(rs.findFirst(QStringLiteral("speed"), 35));
        QCOMPARE(rs.position(), 1);
        QVERIFY(rs.findFirst(
            [](const Recordset &r) { return r.field(QStringLiteral("all_total")).toInt() > 90; }));
        QCOMPARE(rs.position(), 2);
        QVERIFY(!rs.findFirst(
            [](const Recordset &r) { return r.field(QStringLiteral("speed")).toInt() > 99; }));
        QCOMPARE(rs.position(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_Recordset)
#include "tst_Recordset.moc"
