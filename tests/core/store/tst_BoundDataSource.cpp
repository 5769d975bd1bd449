// A window's bound data source: current row, moves, finds, edits, and no
// connection held between operations.
#include "core/store/BoundDataSource.h"
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"
#include "fixtures/DatabaseTrouble.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace roadtally;

class tst_BoundDataSource : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

    void addSurveys()
    {
        DatabaseSession s(m_path);
        const QString ins = QStringLiteral(
            "INSERT INTO [Header] ([Batch_Number], [Location], [Zone]) VALUES (?, ?, ?)");
        s.exec(ins, {QStringLiteral("052401-A"), QStringLiteral("Elm Street"),
                     QStringLiteral("School")});
        s.exec(ins, {QStringLiteral("052501-B"), QStringLiteral("Oak Avenue"),
                     QStringLiteral("Highway")});
        s.exec(ins, {QStringLiteral("052601-C"), QStringLiteral("Main Street"),
                     QStringLiteral("Church")});
    }

private Q_SLOTS:
    void init()
    {
        m_path = m_dir.filePath(
            QStringLiteral("OV97-%1.mdb").arg(QLatin1String(QTest::currentTestFunction())));
        QFile::remove(m_path);
        QCOMPARE(createBlankDatabase(m_path), QString());
    }

    void refreshStandsOnTheFirstRow()
    {
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Header"));
        QSignalSpy changed(&src, &BoundDataSource::currentChanged);
        QVERIFY(src.refresh());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(src.recordCount(), 3);
        QCOMPARE(src.text(QStringLiteral("batch_number")), QStringLiteral("052401-A"));
        QVERIFY(!src.bof() && !src.eof());
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList()); // nothing held open
    }

    void currentRowFollowsMovesAndFinds()
    {
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Header"));
        QVERIFY(src.refresh());
        QSignalSpy changed(&src, &BoundDataSource::currentChanged);
        src.moveNext();
        QCOMPARE(src.text(QStringLiteral("Location")), QStringLiteral("Oak Avenue"));
        src.moveLast();
        QCOMPARE(src.text(QStringLiteral("Zone")), QStringLiteral("Church"));
        src.movePrevious();
        QCOMPARE(src.position(), 1);
        src.moveFirst();
        QCOMPARE(src.position(), 0);
        QCOMPARE(changed.count(), 4);

        // The survey list pads batch numbers to 10 characters.
        QVERIFY(src.findFirst(QStringLiteral("Batch_Number"), QStringLiteral("052601-C  ")));
        QCOMPARE(src.text(QStringLiteral("Location")), QStringLiteral("Main Street"));
        QCOMPARE(changed.count(), 5);
        QVERIFY(!src.findFirst(QStringLiteral("Batch_Number"), QStringLiteral("010101-Z")));
        QCOMPARE(src.text(QStringLiteral("Location")), QStringLiteral("Main Street"));
        QCOMPARE(changed.count(), 5);
    }

    void selectionWithValues()
    {
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("SELECT [Batch_Number], [Zone] FROM [Header] WHERE "
                                           "[Zone] <> ? ORDER BY [Batch_Number] DESC"),
                            {QStringLiteral("School")});
        QVERIFY(src.refresh());
        QCOMPARE(src.recordCount(), 2);
        QCOMPARE(src.fieldNames(),
                 (QStringList{QStringLiteral("Batch_Number"), QStringLiteral("Zone")}));
        QCOMPARE(src.value(1, 1).toString(), QStringLiteral("Highway"));
        QVERIFY(src.value(2, 0).isNull());
    }

    void missingDatabaseGivesAnEmptySource()
    {
        BoundDataSource src;
        const QString missing = m_dir.filePath(QStringLiteral("nowhere/OV97.mdb"));
        src.setDatabaseName(missing);
        src.setRecordSource(QStringLiteral("Header"));
        QVERIFY(!src.refresh());
        QVERIFY(src.errorText().contains(missing));
        QVERIFY(src.bof() && src.eof());
        QVERIFY(src.text(QStringLiteral("Batch_Number")).isEmpty());
        src.moveNext();
        QVERIFY(!QFile::exists(missing));
    }

    void theFileCanBeReplacedWhileTheSourceExists()
    {
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Header"));
        QVERIFY(src.refresh());
        QVERIFY(QFile::remove(m_path));
        QCOMPARE(createBlankDatabase(m_path), QString());
        QVERIFY(src.refresh());
        QCOMPARE(src.recordCount(), 0);
    }

    void addNewUpdateStandsOnTheNewRow()
    {
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Officer"));
        QVERIFY(src.refresh());
        QVERIFY(src.eof());
        src.addNew();
        src.setField(QStringLiteral("admin_officer"), QStringLiteral("Sgt. O'Brien"));
        QVERIFY(src.hasChanges());
        QVERIFY(src.update());
        QCOMPARE(src.recordCount(), 1);
        QCOMPARE(src.text(QStringLiteral("Admin_Officer")), QStringLiteral("Sgt. O'Brien"));
        QVERIFY(src.findFirst(QStringLiteral("Admin_Officer"), QStringLiteral("Sgt. O'Brien")));
    }

    void typedEditsAreWrittenBeforeAMove()
    {
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Officer"));
        QVERIFY(src.refresh());
        src.addNew();
        src.setField(QStringLiteral("Admin_Officer"), QStringLiteral("Lt. Ames"));
        src.moveLast(); // leaving the new row stores it
        QCOMPARE(src.recordCount(), 1);
        QCOMPARE(src.text(QStringLiteral("Admin_Officer")), QStringLiteral("Lt. Ames"));

        // A field set without edit() starts an edit of the current row.
        src.setField(QStringLiteral("Admin_Officer"), QStringLiteral("Capt. Ames"));
        src.moveFirst();
        BoundDataSource check;
        check.setDatabaseName(m_path);
        check.setRecordSource(QStringLiteral("Officer"));
        QVERIFY(check.refresh());
        QCOMPARE(check.recordCount(), 1);
        QCOMPARE(check.text(QStringLiteral("Admin_Officer")), QStringLiteral("Capt. Ames"));
    }

    void refreshDropsUnstoredEdits()
    {
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Agency"));
        QVERIFY(src.refresh());
        src.setField(QStringLiteral("Admin_Agency"), QStringLiteral("Springfield PD"));
        QVERIFY(src.refresh());
        QCOMPARE(src.text(QStringLiteral("Admin_Agency")), QStringLiteral("Name of Municipality"));
        src.edit();
        src.setField(QStringLiteral("Addr1"), QStringLiteral("1 Main St"));
        QVERIFY(src.update());
        QCOMPARE(src.text(QStringLiteral("Addr1")), QStringLiteral("1 Main St"));
        QCOMPARE(src.recordCount(), 1);
    }

    void removeThenMoveNext()
    {
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Header"));
        QVERIFY(src.refresh());
        QVERIFY(src.findFirst(QStringLiteral("Batch_Number"), QStringLiteral("052501-B")));
        QSignalSpy changed(&src, &BoundDataSource::currentChanged);
        QVERIFY(src.remove());
        QCOMPARE(changed.count(), 1);
        QVERIFY(src.text(QStringLiteral("Batch_Number")).isEmpty());
        src.moveNext();
        QCOMPARE(src.text(QStringLiteral("Batch_Number")), QStringLiteral("052601-C"));
        QVERIFY(src.refresh());
        QCOMPARE(src.recordCount(), 2);
    }

    void failedPendingWriteIsReported_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("read-only database") << "read-only";
        QTest::newRow("database gone") << "gone";
        QTest::newRow("locked by another writer") << "locked";
    }

    void failedPendingWriteIsReported()
    {
        // Typed edits are written when the source moves; when that write fails
        // the user must hear of it, not lose the edits without a word.
        QFETCH(QString, trouble);
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("Header"));
        QVERIFY(src.refresh());
        src.setField(QStringLiteral("Location"), QStringLiteral("Elm Street North"));
        QVERIFY(src.hasChanges());

        std::unique_ptr<test::WriteLock> lock;
        if (trouble == QLatin1String("read-only"))
            QVERIFY(test::makeReadOnly(m_path));
        else if (trouble == QLatin1String("gone"))
            QVERIFY(QFile::rename(m_path, m_path + QStringLiteral(".moved")));
        else
            lock = std::make_unique<test::WriteLock>(m_path);

        QSignalSpy failed(&src, &BoundDataSource::writeFailed);
        QSignalSpy changed(&src, &BoundDataSource::currentChanged);
        QVERIFY(!src.moveNext());
        QCOMPARE(failed.count(), 1);
        const QString error = failed.at(0).at(0).toString();
        QVERIFY2(error.contains(m_path), qPrintable(error));
        QCOMPARE(src.errorText(), error);
        // The move still happened and the edits are gone from the cursor.
        QCOMPARE(changed.count(), 1);
        QCOMPARE(src.position(), 1);
        QVERIFY(!src.hasChanges());

        // A move with nothing pending reports nothing.
        QVERIFY(src.moveFirst());
        QCOMPARE(failed.count(), 1);

        lock.reset();
        if (trouble == QLatin1String("gone"))
            QVERIFY(QFile::rename(m_path + QStringLiteral(".moved"), m_path));
        DatabaseSession check(m_path);
        QCOMPARE(check
                     .scalar(QStringLiteral(
                         "SELECT Location FROM Header WHERE Batch_Number = '052401-A'"))
                     .toString(),
                 QStringLiteral("Elm Street"));
    }

    void readOnlySelectionRefusesEdits()
    {
        addSurveys();
        BoundDataSource src;
        src.setDatabaseName(m_path);
        src.setRecordSource(QStringLiteral("SELECT count(*) AS n FROM [Header]"));
        QVERIFY(src.refresh());
        QCOMPARE(src.field(QStringLiteral("N")).toInt(), 3);
        src.setField(QStringLiteral("n"), 5);
        QVERIFY(!src.hasChanges());
        QVERIFY(!src.errorText().isEmpty());
        QVERIFY(!src.remove());
    }
};

QTEST_GUILESS_MAIN(tst_BoundDataSource)
#include "tst_BoundDataSource.moc"
