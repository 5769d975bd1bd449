// Backup, repair, replace and restore on the files of a program folder: what
// each leaves behind when it succeeds, and that no failure at any step changes a
// byte of the database or of the earlier backup.
#include "fixtures/AdminFixture.h"

#include "core/store/BoundDataSource.h"
#include "core/upkeep/DatabaseMaintenance.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using namespace roadtally;
using namespace roadtally::testing;

Q_DECLARE_METATYPE(roadtally::MaintenanceStep)

namespace {

enum class Operation { Backup, Repair, Replace, Restore };

MaintenanceResult run(Operation operation, const QString &folder,
                      const MaintenanceOptions &options = {})
{
    switch (operation) {
    case Operation::Backup:
        return backupDatabase(folder, options);
    case Operation::Repair:
        return repairDatabase(folder, options);
    case Operation::Replace:
        return replaceDatabase(folder, options);
    case Operation::Restore:
        return restoreDatabase(folder, options);
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class tst_DatabaseMaintenance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void backupKeepsOldFileAndCompacts();
    void backupTwice();
    void replaceThenRestore();
    void restoreRightAfterBackup();
    void missingFilesChangeNothing_data();
    void missingFilesChangeNothing();
    void namesMatchWithoutCase();
    void replaceWhenDatabaseMissing();
    void unusableSourceChangesNothing();
    void injectedFailureChangesNothing_data();
    void injectedFailureChangesNothing();
    void failedBackupSaysWhatIsUnchanged_data();
    void failedBackupSaysWhatIsUnchanged();
    void temporaryFileCannotBeCreated_data();
    void temporaryFileCannotBeCreated();
    void readOnlyFolder();
    void lockedDatabaseChangesNothing_data();
    void lockedDatabaseChangesNothing();
    void pendingWriterCountsAsInUse();
    void leftoverTemporaryFilesAreCleared();
    void repairSoundDatabase();
    void repairDamagedDatabase();
    void repairDamagedIndexKeepsEveryRow();
    void repairUnopenableDatabase();
    void backupOfDamagedDatabaseChangesNothing();
    void releaseAllWritesPendingEdits();

private:
    QString database() const { return m_folder->databasePath(); }
    QString backup() const { return QDir(m_folder->folder()).filePath(QStringLiteral("OV97.BAK")); }
    QString blank() const { return QDir(m_folder->folder()).filePath(QStringLiteral("ov97.emp")); }
    // Gives the database free pages, so that compaction changes its bytes.
    void fragment();
    void verifyNoTemporaryFiles();

    std::unique_ptr<SurveyFolder> m_folder;
    MaintenanceOptions m_fast;
};

void tst_DatabaseMaintenance::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    QVERIFY(createBlankDatabase(blank()).isEmpty());
    storeSettings(database());
    storeFullSurvey(database(), {QStringLiteral("052401-A"), 40, 4, 2, false});
    storeFullSurvey(database(), {QStringLiteral("052401-B"), 60, 0, 1, true});
    m_fast.busyTimeoutMs = 100;
}

void tst_DatabaseMaintenance::cleanup()
{
#ifdef Q_OS_UNIX
    if (m_folder)
        ::chmod(QFile::encodeName(m_folder->folder()).constData(), 0700);
#endif
    m_folder.reset();
}

void tst_DatabaseMaintenance::fragment()
{
    DatabaseSession session(database());
    Transaction transaction(session);
    QSqlQuery insert =
        session.prepare(QStringLiteral("INSERT INTO [Veh_Data] ([Batch_Number], [Offset], "
                                       "[Veh_Direction], [Speed], [Time], [Date]) VALUES "
                                       "('999999-Z', ?, '+', 50, '01:00:00 PM', '05/24/01')"));
    for (int i = 0; i < 1500; ++i)
        session.run(insert, {i});
    transaction.commit();
    session.exec(QStringLiteral("DELETE FROM [Veh_Data] WHERE [Batch_Number] = '999999-Z'"));
}

void tst_DatabaseMaintenance::verifyNoTemporaryFiles()
{
    for (const QString &name : folderFiles(m_folder->folder()))
        QVERIFY2(!name.endsWith(QLatin1String(".tmp")) && !name.endsWith(QLatin1String("-journal")),
                 qPrintable(name));
}

void tst_DatabaseMaintenance::backupKeepsOldFileAndCompacts()
{
    fragment();
    const QByteArray before = fileBytes(database());
    const QString content = databaseContent(database());
    QVERIFY(pragmaValue(database(), "freelist_count") > 0);

    const MaintenanceResult result = backupDatabase(m_folder->folder());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.message, QStringLiteral("Backup and compacting are complete."));
    QCOMPARE(fileBytes(backup()), before);
    QCOMPARE(databaseContent(database()), content);
    QCOMPARE(integrityOf(database()), QStringLiteral("ok"));
    QCOMPARE(pragmaValue(database(), "freelist_count"), 0);
    QVERIFY(QFileInfo(database()).size() < before.size());
    verifyNoTemporaryFiles();
}

void tst_DatabaseMaintenance::backupTwice()
{
    fragment();
    QVERIFY(backupDatabase(m_folder->folder()).ok());
    const QByteArray compacted = fileBytes(database());
    QVERIFY(backupDatabase(m_folder->folder()).ok());
    // The second backup holds the compacted database the first one made.
    QCOMPARE(fileBytes(backup()), compacted);
    QCOMPARE(integrityOf(database()), QStringLiteral("ok"));
    QCOMPARE(folderFiles(m_folder->folder()),
             (QStringList{QStringLiteral("OV97.BAK"), QStringLiteral("OV97.mdb"),
                          QStringLiteral("ov97.emp")}));
}

void tst_DatabaseMaintenance::replaceThenRestore()
{
    QVERIFY(backupDatabase(m_folder->folder()).ok());
    const QByteArray backedUp = fileBytes(backup());
    const QString content = databaseContent(database());

    const MaintenanceResult replaced = replaceDatabase(m_folder->folder());
    QVERIFY2(replaced.ok(), qPrintable(replaced.message));
    QCOMPARE(fileBytes(database()), fileBytes(blank()));
    QCOMPARE(rowCount(database(), QStringLiteral("Header")), 0);
    QCOMPARE(rowCount(database(), QStringLiteral("Radar")), 1);

    // Each says what it did: the backup's time and the surveys the database now holds.
    QCOMPARE(replaced.message,
             QStringLiteral("Database replaced with the blank database ov97.emp: 0 surveys."));
    const QString made =
        QFileInfo(backup()).lastModified().toString(QStringLiteral("MM/dd/yy hh:mm"));
    const MaintenanceResult restored = restoreDatabase(m_folder->folder());
    QVERIFY2(restored.ok(), qPrintable(restored.message));
    const int surveys = rowCount(database(), QStringLiteral("Header"));
    QCOMPARE(restored.message, QStringLiteral("Database restored from the backup of %1: %2 %3.")
                                   .arg(made)
                                   .arg(surveys)
                                   .arg(surveys == 1 ? u"survey"_s : u"surveys"_s));
    QCOMPARE(fileBytes(database()), backedUp);
    QCOMPARE(databaseContent(database()), content);
    QVERIFY(QFileInfo(database()).isWritable());
    verifyNoTemporaryFiles();
}

void tst_DatabaseMaintenance::restoreRightAfterBackup()
{
    fragment();
    const QByteArray before = fileBytes(database());
    QVERIFY(backupDatabase(m_folder->folder()).ok());
    QVERIFY(fileBytes(database()) != before);
    QVERIFY(restoreDatabase(m_folder->folder()).ok());
    // The uncompacted database as it was before the backup.
    QCOMPARE(fileBytes(database()), before);
}

void tst_DatabaseMaintenance::missingFilesChangeNothing_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("message");

    QTest::newRow("restore without backup")
        << Operation::Restore << QString()
        << QStringLiteral("        Backup database does not exist\r\n"
                          "You must first create a backup of OV97.mdb");
    QTest::newRow("replace without ov97.emp")
        << Operation::Replace << QStringLiteral("ov97.emp")
        << QStringLiteral("The blank database ov97.emp is not in the survey folder");
    QTest::newRow("backup without database")
        << Operation::Backup << QStringLiteral("OV97.mdb")
        << QStringLiteral("There is no survey database OV97.mdb");
    QTest::newRow("repair without database")
        << Operation::Repair << QStringLiteral("OV97.mdb")
        << QStringLiteral("There is no survey database OV97.mdb");
}

void tst_DatabaseMaintenance::missingFilesChangeNothing()
{
    QFETCH(Operation, operation);
    QFETCH(QString, removed);
    QFETCH(QString, message);
    if (!removed.isEmpty())
        QVERIFY(QFile::remove(QDir(m_folder->folder()).filePath(removed)));
    const QStringList files = folderFiles(m_folder->folder());
    const QByteArray before = fileBytes(database());

    const MaintenanceResult result = run(operation, m_folder->folder());
    QCOMPARE(result.outcome, MaintenanceOutcome::FileMissing);
    QVERIFY2(result.message.startsWith(message), qPrintable(result.message));
    QCOMPARE(fileBytes(database()), before);
    QCOMPARE(folderFiles(m_folder->folder()), files);
}

void tst_DatabaseMaintenance::namesMatchWithoutCase()
{
    const QDir dir(m_folder->folder());
    QVERIFY(QFile::rename(database(), dir.filePath(QStringLiteral("ov97.MDB"))));
    QVERIFY(QFile::rename(blank(), dir.filePath(QStringLiteral("OV97.EMP"))));
    const QString db = dir.filePath(QStringLiteral("ov97.MDB"));
    writeBytes(dir.filePath(QStringLiteral("Ov97.bak")), fileBytes(db));

    QCOMPARE(databaseFileIn(dir.path()), db);
    QVERIFY(backupDatabase(dir.path()).ok());
    // The backup keeps the name it had; no second backup file appears.
    QCOMPARE(folderFiles(dir.path()),
             (QStringList{QStringLiteral("OV97.EMP"), QStringLiteral("Ov97.bak"),
                          QStringLiteral("ov97.MDB")}));
    QVERIFY(replaceDatabase(dir.path()).ok());
    QCOMPARE(fileBytes(db), fileBytes(dir.filePath(QStringLiteral("OV97.EMP"))));
    QVERIFY(restoreDatabase(dir.path()).ok());
    QCOMPARE(fileBytes(db), fileBytes(dir.filePath(QStringLiteral("Ov97.bak"))));
}

void tst_DatabaseMaintenance::replaceWhenDatabaseMissing()
{
    // Replace is the way to put a database in place where there is none.
    QVERIFY(QFile::remove(database()));
    QVERIFY(replaceDatabase(m_folder->folder()).ok());
    QCOMPARE(fileBytes(database()), fileBytes(blank()));
}

void tst_DatabaseMaintenance::unusableSourceChangesNothing()
{
    const QByteArray before = fileBytes(database());
    writeBytes(blank(), QByteArray("This is not a database at all, just some text in a file."));
    MaintenanceResult result = replaceDatabase(m_folder->folder());
    QCOMPARE(result.outcome, MaintenanceOutcome::Failed);
    QVERIFY2(result.message.contains(QLatin1String("not a usable survey database")),
             qPrintable(result.message));
    QCOMPARE(fileBytes(database()), before);

    writeBytes(backup(), before);
    damage(backup(), before.size() / 2, 3000);
    result = restoreDatabase(m_folder->folder());
    QCOMPARE(result.outcome, MaintenanceOutcome::Failed);
    QCOMPARE(fileBytes(database()), before);
    verifyNoTemporaryFiles();
}

void tst_DatabaseMaintenance::injectedFailureChangesNothing_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<MaintenanceStep>("step");
    QTest::addColumn<bool>("backupIsNewBackup"); // the backup was finished before the failing step

    QTest::newRow("backup: compaction") << Operation::Backup << MaintenanceStep::Compact << false;
    QTest::newRow("backup: check of the copy")
        << Operation::Backup << MaintenanceStep::CheckCopy << false;
    QTest::newRow("backup: keeping the old file")
        << Operation::Backup << MaintenanceStep::KeepBackup << false;
    QTest::newRow("backup: renaming the backup")
        << Operation::Backup << MaintenanceStep::ReplaceBackup << false;
    QTest::newRow("backup: renaming the database")
        << Operation::Backup << MaintenanceStep::ReplaceDatabase << true;
    QTest::newRow("repair: compaction") << Operation::Repair << MaintenanceStep::Compact << false;
    QTest::newRow("repair: check of the copy")
        << Operation::Repair << MaintenanceStep::CheckCopy << false;
    QTest::newRow("repair: renaming the database")
        << Operation::Repair << MaintenanceStep::ReplaceDatabase << false;
    QTest::newRow("replace: copy") << Operation::Replace << MaintenanceStep::CopySource << false;
    QTest::newRow("replace: check of the copy")
        << Operation::Replace << MaintenanceStep::CheckCopy << false;
    QTest::newRow("replace: renaming")
        << Operation::Replace << MaintenanceStep::ReplaceDatabase << false;
    QTest::newRow("restore: copy") << Operation::Restore << MaintenanceStep::CopySource << false;
    QTest::newRow("restore: renaming")
        << Operation::Restore << MaintenanceStep::ReplaceDatabase << false;
}

void tst_DatabaseMaintenance::injectedFailureChangesNothing()
{
    QFETCH(Operation, operation);
    QFETCH(MaintenanceStep, step);
    QFETCH(bool, backupIsNewBackup);
    fragment();
    // An earlier backup that differs from the database.
    QVERIFY(backupDatabase(m_folder->folder()).ok());
    storeFullSurvey(database(), {QStringLiteral("060101-A"), 10, 1, 1, false});
    fragment();
    const QByteArray databaseBefore = fileBytes(database());
    const QByteArray backupBefore = fileBytes(backup());
    QVERIFY(databaseBefore != backupBefore);

    MaintenanceOptions options;
    options.failAt = [step](MaintenanceStep s) { return s == step; };
    const MaintenanceResult result = run(operation, m_folder->folder(), options);
    QCOMPARE(result.outcome, MaintenanceOutcome::Failed);
    QVERIFY(!result.message.isEmpty());
    QCOMPARE(fileBytes(database()), databaseBefore);
    QCOMPARE(fileBytes(backup()), backupIsNewBackup ? databaseBefore : backupBefore);
    verifyNoTemporaryFiles();
    QCOMPARE(integrityOf(database()), QStringLiteral("ok"));
    // The backup is a file of its own: work on the database leaves it as it is.
    const QByteArray backupAfter = fileBytes(backup());
    storeFullSurvey(database(), {QStringLiteral("060201-A"), 10, 1, 1, true});
    QCOMPARE(fileBytes(backup()), backupAfter);
}

void tst_DatabaseMaintenance::failedBackupSaysWhatIsUnchanged_data()
{
    QTest::addColumn<bool>("earlierBackup");
    QTest::addColumn<QString>("said");
    QTest::newRow("earlier backup")
        << true << QStringLiteral("The database OV97.mdb and the earlier backup are unchanged.");
    // No earlier backup to speak of: the message says only what is true.
    QTest::newRow("no earlier backup")
        << false << QStringLiteral("The database OV97.mdb is unchanged.");
}

void tst_DatabaseMaintenance::failedBackupSaysWhatIsUnchanged()
{
    QFETCH(bool, earlierBackup);
    QFETCH(QString, said);
    if (earlierBackup)
        QVERIFY(backupDatabase(m_folder->folder()).ok());
    QCOMPARE(QFile::exists(backup()), earlierBackup);
    MaintenanceOptions options;
    options.failAt = [](MaintenanceStep s) { return s == MaintenanceStep::Compact; };
    const MaintenanceResult result = backupDatabase(m_folder->folder(), options);
    QCOMPARE(result.outcome, MaintenanceOutcome::Failed);
    QVERIFY2(result.message.endsWith(said), qPrintable(result.message));
    QCOMPARE(result.message.contains(QLatin1String("backup are")), earlierBackup);
}

void tst_DatabaseMaintenance::temporaryFileCannotBeCreated_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("temporary");
    QTest::newRow("backup") << Operation::Backup << QStringLiteral("OV97.compact.tmp");
    QTest::newRow("backup's new backup") << Operation::Backup << QStringLiteral("OV97.backup.tmp");
    QTest::newRow("repair") << Operation::Repair << QStringLiteral("OV97.compact.tmp");
    QTest::newRow("replace") << Operation::Replace << QStringLiteral("OV97.new.tmp");
    QTest::newRow("restore") << Operation::Restore << QStringLiteral("OV97.new.tmp");
}

void tst_DatabaseMaintenance::temporaryFileCannotBeCreated()
{
    // A folder (with something in it) where the temporary file would go: the
    // file cannot be created, whoever runs the test.
    QFETCH(Operation, operation);
    QFETCH(QString, temporary);
    writeBytes(backup(), fileBytes(blank()));
    const QDir dir(m_folder->folder());
    QVERIFY(dir.mkpath(temporary + QStringLiteral("/inside")));
    const QByteArray databaseBefore = fileBytes(database());
    const QByteArray backupBefore = fileBytes(backup());

    const MaintenanceResult result = run(operation, m_folder->folder());
    QCOMPARE(result.outcome, MaintenanceOutcome::Failed);
    QVERIFY2(result.message.contains(QLatin1String("unchanged")), qPrintable(result.message));
    QCOMPARE(fileBytes(database()), databaseBefore);
    QCOMPARE(fileBytes(backup()), backupBefore);
}

void tst_DatabaseMaintenance::readOnlyFolder()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0)
        QSKIP(
            "the superuser writes into a read-only folder; temporaryFileCannotBeCreated covers it");
    writeBytes(backup(), fileBytes(blank()));
    const QByteArray databaseBefore = fileBytes(database());
    const QByteArray backupBefore = fileBytes(backup());
    QVERIFY(::chmod(QFile::encodeName(m_folder->folder()).constData(), 0500) == 0);
    for (Operation operation :
         {Operation::Backup, Operation::Repair, Operation::Replace, Operation::Restore}) {
        const MaintenanceResult result = run(operation, m_folder->folder(), m_fast);
        QVERIFY(!result.ok());
        QCOMPARE(fileBytes(database()), databaseBefore);
        QCOMPARE(fileBytes(backup()), backupBefore);
    }
#else
    QSKIP("POSIX permissions only");
#endif
}

void tst_DatabaseMaintenance::lockedDatabaseChangesNothing_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::newRow("backup") << Operation::Backup;
    QTest::newRow("repair") << Operation::Repair;
    QTest::newRow("replace") << Operation::Replace;
    QTest::newRow("restore") << Operation::Restore;
}

void tst_DatabaseMaintenance::lockedDatabaseChangesNothing()
{
    QFETCH(Operation, operation);
    writeBytes(backup(), fileBytes(blank()));
    const QByteArray databaseBefore = fileBytes(database());
    const QByteArray backupBefore = fileBytes(backup());
    const QStringList files = folderFiles(m_folder->folder());
    {
        OtherConnection other(database(), "BEGIN EXCLUSIVE");
        QVERIFY(other.holds());
        const MaintenanceResult result = run(operation, m_folder->folder(), m_fast);
        QCOMPARE(result.outcome, MaintenanceOutcome::InUse);
        QVERIFY2(result.message.contains(QLatin1String("in use")), qPrintable(result.message));
    }
    QCOMPARE(fileBytes(database()), databaseBefore);
    QCOMPARE(fileBytes(backup()), backupBefore);
    QCOMPARE(folderFiles(m_folder->folder()), files);
    // Once the other program lets go, the step succeeds.
    QVERIFY(run(operation, m_folder->folder(), m_fast).ok());
}

void tst_DatabaseMaintenance::pendingWriterCountsAsInUse()
{
    // A writer in the middle of its transaction would commit into the file the
    // backup had already renamed away: the backup waits for it, then gives up.
    OtherConnection other(database(), "BEGIN IMMEDIATE");
    QVERIFY(other.holds());
    QCOMPARE(other.exec("DELETE FROM [Header]"), SQLITE_OK);
    const MaintenanceResult result = backupDatabase(m_folder->folder(), m_fast);
    QCOMPARE(result.outcome, MaintenanceOutcome::InUse);
    QVERIFY(!QFileInfo::exists(backup()));
}

void tst_DatabaseMaintenance::leftoverTemporaryFilesAreCleared()
{
    // What a backup killed half-way leaves behind.
    const QDir dir(m_folder->folder());
    writeBytes(dir.filePath(QStringLiteral("OV97.compact.tmp")), QByteArray(5000, 'x'));
    writeBytes(dir.filePath(QStringLiteral("OV97.backup.tmp")), fileBytes(database()));
    const QByteArray before = fileBytes(database());
    QVERIFY(backupDatabase(m_folder->folder()).ok());
    QCOMPARE(fileBytes(backup()), before);
    verifyNoTemporaryFiles();
}

void tst_DatabaseMaintenance::repairSoundDatabase()
{
    fragment();
    const QString content = databaseContent(database());
    const RepairResult result = repairDatabase(m_folder->folder());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(result.message, QStringLiteral("Repair of the database is complete."));
    QCOMPARE(result.check, QStringList{QStringLiteral("ok")});
    QVERIFY(!result.rebuilt);
    QCOMPARE(databaseContent(database()), content);
    QCOMPARE(pragmaValue(database(), "freelist_count"), 0);
    QVERIFY(!QFileInfo::exists(backup()));
    verifyNoTemporaryFiles();
}

void tst_DatabaseMaintenance::repairDamagedDatabase()
{
    // Enough rows for many pages, then bytes overwritten in the middle of the file.
    for (int i = 0; i < 30; ++i)
        storeFullSurvey(database(), {QStringLiteral("0601%1-A").arg(i, 2, 10, QLatin1Char('0')), 30,
                                     5, 2, false});
    const int headers = rowCount(database(), QStringLiteral("Header"));
    const qint64 size = QFileInfo(database()).size();
    damage(database(), size / 2, 4096);
    const QByteArray damaged = fileBytes(database());
    QVERIFY(integrityOf(database()) != QStringLiteral("ok"));

    const RepairResult result = repairDatabase(m_folder->folder());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(result.rebuilt);
    QVERIFY(result.check != QStringList{QStringLiteral("ok")});
    QCOMPARE(integrityOf(database()), QStringLiteral("ok"));
    // The damaged file is kept, byte for byte, under a name of its own.
    QCOMPARE(fileBytes(result.keptDamagedFile), damaged);
    QVERIFY(
        QFileInfo(result.keptDamagedFile).fileName().startsWith(QLatin1String("OV97-damaged-")));
    QCOMPARE(QFileInfo(result.keptDamagedFile).absolutePath(),
             QFileInfo(database()).absolutePath());

    // One count per table, as many as the new database holds.
    QCOMPARE(result.tables.size(), surveyTables().size());
    int lost = 0;
    for (const TableSalvage &table : result.tables) {
        QCOMPARE(rowCount(database(), table.table), table.saved);
        QVERIFY2(
            result.message.contains(QStringLiteral("%1: %2").arg(table.table).arg(table.saved)),
            qPrintable(result.message));
        if (table.damaged)
            ++lost;
    }
    QVERIFY(lost > 0);
    QVERIFY(rowCount(database(), QStringLiteral("Header")) <= headers);
    QCOMPARE(rowCount(database(), QStringLiteral("Radar")), 1);
    QCOMPARE(rowCount(database(), QStringLiteral("Agency")), 1);
    QVERIFY(result.message.contains(QFileInfo(result.keptDamagedFile).fileName()));
    verifyNoTemporaryFiles();
    // The new database is a survey database the program can open and use.
    DatabaseSession session(database());
    QVERIFY2(session.isOpen(), qPrintable(session.errorText()));
}

void tst_DatabaseMaintenance::repairDamagedIndexKeepsEveryRow()
{
    // A damaged index loses no row: the rows are read from the tables.
    for (int i = 0; i < 10; ++i)
        storeFullSurvey(database(), {QStringLiteral("0601%1-A").arg(i, 2, 10, QLatin1Char('0')), 10,
                                     2, 1, false});
    const QString content = databaseContent(database());
    {
        DatabaseSession session(database());
        const int page =
            session
                .scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = "
                                       "'idx_time15_batch'"))
                .toInt();
        const int pageSize = session.scalar(QStringLiteral("PRAGMA page_size")).toInt();
        QVERIFY(page > 1);
        session.database().close();
        damage(database(), qint64(page - 1) * pageSize + 8, 200);
    }
    QVERIFY(integrityOf(database()) != QStringLiteral("ok"));
    const RepairResult result = repairDatabase(m_folder->folder());
    QVERIFY2(result.ok(), qPrintable(result.message));
    QVERIFY(result.rebuilt);
    for (const TableSalvage &table : result.tables)
        QVERIFY2(!table.damaged, qPrintable(table.table));
    QCOMPARE(databaseContent(database()), content);
}

void tst_DatabaseMaintenance::repairUnopenableDatabase()
{
    // The file's header overwritten: not a database any more.
    damage(database(), 0, 100);
    const QByteArray before = fileBytes(database());
    const QStringList files = folderFiles(m_folder->folder());
    const RepairResult result = repairDatabase(m_folder->folder());
    QCOMPARE(result.outcome, MaintenanceOutcome::Unreadable);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(database())),
             qPrintable(result.message));
    QVERIFY(result.message.contains(QLatin1String("Nothing was changed")));
    QCOMPARE(fileBytes(database()), before);
    QCOMPARE(folderFiles(m_folder->folder()), files);
}

void tst_DatabaseMaintenance::backupOfDamagedDatabaseChangesNothing()
{
    for (int i = 0; i < 30; ++i)
        storeFullSurvey(database(), {QStringLiteral("0601%1-A").arg(i, 2, 10, QLatin1Char('0')), 30,
                                     5, 2, false});
    damage(database(), QFileInfo(database()).size() / 2, 4096);
    writeBytes(backup(), fileBytes(blank()));
    const QByteArray databaseBefore = fileBytes(database());
    const QByteArray backupBefore = fileBytes(backup());
    const MaintenanceResult result = backupDatabase(m_folder->folder());
    QCOMPARE(result.outcome, MaintenanceOutcome::Failed);
    QVERIFY2(result.message.contains(QLatin1String("Repair the database first")),
             qPrintable(result.message));
    QCOMPARE(fileBytes(database()), databaseBefore);
    QCOMPARE(fileBytes(backup()), backupBefore);
    verifyNoTemporaryFiles();
}

void tst_DatabaseMaintenance::releaseAllWritesPendingEdits()
{
    // An edit a hidden window has not written yet goes into the file it was made
    // for, and no row position of the old file survives the replacement.
    BoundDataSource agency;
    agency.setDatabaseName(database());
    agency.setRecordSource(QStringLiteral("Agency"));
    QVERIFY(agency.refresh());
    agency.setField(QStringLiteral("Admin_Agency"), QStringLiteral("Hillside Sheriff"));
    QVERIFY(agency.hasChanges());
    QCOMPARE(BoundDataSource::releaseAll(), 1);
    QVERIFY(!agency.hasChanges());
    QCOMPARE(agency.recordCount(), 0);
    DatabaseSession session(database());
    QCOMPARE(session.scalar(QStringLiteral("SELECT [Admin_Agency] FROM [Agency]")).toString(),
             QStringLiteral("Hillside Sheriff"));
}

QTEST_GUILESS_MAIN(tst_DatabaseMaintenance)
#include "tst_DatabaseMaintenance.moc"
