// roadtally-cli upkeep commands: exit codes, what they print, the --yes rule,
// and a backup killed at random points that never costs the database.
#include "fixtures/AdminFixture.h"

#include "cli/CommandLineTool.h"
#include "core/upkeep/DatabaseMaintenance.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <memory>

using namespace roadtally;
using namespace roadtally::testing;

class tst_AdminCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void commands_data();
    void commands();
    void repairPrintsTheCheck();
    void repairOfDamagedDatabase();
    void generalHelpListsUpkeep();
    void exitCodesThroughTheProgram();
    void backupKilledAtRandomPoints();

private:
    struct Run
    {
        int code = -1;
        QString out;
        QString err;
    };
    Run cli(const QStringList &arguments);
    QString folder() const { return m_folder->folder(); }
    QString database() const { return m_folder->databasePath(); }

    std::unique_ptr<SurveyFolder> m_folder;
};

void tst_AdminCommands::init()
{
    m_folder = std::make_unique<SurveyFolder>();
    QVERIFY(createBlankDatabase(QDir(folder()).filePath(QStringLiteral("ov97.emp"))).isEmpty());
    storeSettings(database());
    storeFullSurvey(database(), {QStringLiteral("052401-A"), 20, 2, 1, false});
    storeFullSurvey(database(), {QStringLiteral("052401-B"), 20, 0, 1, true});
}

void tst_AdminCommands::cleanup()
{
    m_folder.reset();
}

tst_AdminCommands::Run tst_AdminCommands::cli(const QStringList &arguments)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    Run run;
    run.code = CommandLineTool(outStream, errStream).run(arguments);
    outStream.flush();
    errStream.flush();
    run.out = out;
    run.err = err;
    return run;
}

void tst_AdminCommands::commands_data()
{
    QTest::addColumn<QStringList>("arguments"); // "DIR" stands for the program folder
    QTest::addColumn<bool>("withBackup");       // an OV97.BAK is there before the command
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("printed"); // part of what the command writes (either stream)
    QTest::addColumn<bool>("changes");    // whether OV97.mdb changes

    const QString dir = QStringLiteral("DIR");
    const auto args = [](std::initializer_list<const char *> list) {
        QStringList out;
        for (const char *a : list)
            out << QString::fromLatin1(a);
        return out;
    };
    QTest::newRow("backup") << args({"backup", "--folder", "DIR"}) << false << 0
                            << QStringLiteral("Backup and compacting are complete.") << false;
    QTest::newRow("backup of a folder that is not there")
        << args({"backup", "--folder", "DIR/nowhere"}) << false << 1
        << QStringLiteral("there is no folder") << false;
    QTest::newRow("backup with --yes") << args({"backup", "--folder", "DIR", "--yes"}) << false << 2
                                       << QStringLiteral("unknown option --yes") << false;
    QTest::newRow("restore without --yes")
        << args({"restore", "--folder", "DIR"}) << true << 2
        << QStringLiteral("Restore database with data from last performed "
                          "backup? \n             Current database data will be "
                          "lost!\n\nNothing was changed. Add --yes")
        << false;
    QTest::newRow("restore") << args({"restore", "--folder", "DIR", "--yes"}) << true << 0
                             << QStringLiteral("Database restored from the backup of ") << true;
    QTest::newRow("restore without backup")
        << args({"restore", "--folder", "DIR", "--yes"}) << false << 1
        << QStringLiteral("        Backup database does not exist\nYou must "
                          "first create a backup of OV97.mdb")
        << false;
    QTest::newRow("replace without --yes")
        << args({"replace", "--folder", "DIR"}) << false << 2
        << QStringLiteral("Replace current database with new blank database?") << false;
    QTest::newRow("replace") << args({"replace", "--folder", "DIR", "--yes"}) << false << 0
                             << QStringLiteral("replaced with the blank database ov97.emp") << true;
    QTest::newRow("erase without --yes")
        << args({"erase", "--folder", "DIR"}) << false << 2
        << QStringLiteral("This will ERASE the existing DATABASE file!  Do You "
                          "want to continue?")
        << false;
    QTest::newRow("erase") << args({"erase", "--folder", "DIR", "--yes"}) << false << 0
                           << QStringLiteral("Finished Deleting Database\n") << true;
    // The window asks naming the survey; without --yes the command does the same and
    // deletes nothing.
    QTest::newRow("delete without --yes")
        << args({"delete", "--folder", "DIR", "--batch", "052401-A"}) << false << 2
        << QStringLiteral("the program asks first:\n\nDelete survey 052401-A?\n\nLocation: Main "
                          "Street\nStart date: 05/24/2001\nVehicles: 20\n")
        << false;
    QTest::newRow("delete") << args({"delete", "--folder", "DIR", "--batch", "052401-A", "--yes"})
                            << false << 0
                            << QStringLiteral(
                                   "Survey 052401-A deleted: Header 1, Speed 9, Speed_Profile 2, "
                                   "Summary 1, Time_15 48 rows")
                            << true;
    QTest::newRow("delete an unknown survey")
        << args({"delete", "--folder", "DIR", "--batch", "010101-Z", "--yes"}) << false << 1
        << QStringLiteral("there is no survey 010101-Z") << false;
    QTest::newRow("delete an unknown survey without --yes")
        << args({"delete", "--folder", "DIR", "--batch", "010101-Z"}) << false << 1
        << QStringLiteral("there is no survey 010101-Z") << false;
    QTest::newRow("delete without batch") << args({"delete", "--folder", "DIR"}) << false << 2
                                          << QStringLiteral("missing --batch") << false;
    QTest::newRow("repair") << args({"repair", "--folder", "DIR"}) << false << 0
                            << QStringLiteral("Repair of the database is complete.") << false;
    // The agency, the officers and the report options, as the administration window keeps them.
    QTest::newRow("agency shown")
        << args({"agency", "--folder", "DIR"}) << false << 0
        << QStringLiteral("Name of agency: Riverside Police Department\nAddress 1: \n") << false;
    QTest::newRow("agency set")
        << args({"agency", "--folder", "DIR", "--name", "Town of Elm", "--address2", "Elm, OR"})
        << false << 0
        << QStringLiteral("Name of agency: Town of Elm\nAddress 1: \nAddress 2: Elm, OR\n") << true;
    QTest::newRow("officers listed") << args({"officer", "--folder", "DIR", "list"}) << false << 0
                                     << QStringLiteral("Sgt. J. Alvarez\n") << false;
    QTest::newRow("officer added")
        << args({"officer", "--folder", "DIR", "add", "Lt. O'Hara"}) << false << 0
        << QStringLiteral("Officer added: Lt. O'Hara") << true;
    QTest::newRow("officer added twice")
        << args({"officer", "--folder", "DIR", "add", "Sgt. J. Alvarez"}) << false << 1
        << QStringLiteral("Sgt. J. Alvarez is on the officer list already") << false;
    QTest::newRow("officer added twice, other case and blanks")
        << args({"officer", "--folder", "DIR", "add", " sgt. j. ALVAREZ "}) << false << 1
        << QStringLiteral("is on the officer list already") << false;
    QTest::newRow("officer removed")
        << args({"officer", "--folder", "DIR", "remove", "Sgt. J. Alvarez"}) << false << 0
        << QStringLiteral("Officer removed: Sgt. J. Alvarez") << true;
    QTest::newRow("unknown officer removed")
        << args({"officer", "--folder", "DIR", "remove", "Nobody"}) << false << 1
        << QStringLiteral("Nobody is not on the officer list") << false;
    QTest::newRow("officer add without a name")
        << args({"officer", "--folder", "DIR", "add"}) << false << 2
        << QStringLiteral("needs the officer's NAME") << false;
    QTest::newRow("officer without action")
        << args({"officer", "--folder", "DIR"}) << false << 2 << QStringLiteral("missing") << false;
    QTest::newRow("report options shown")
        << args({"report-options", "--folder", "DIR"}) << false << 0
        << QStringLiteral("Include officer name on all forms and reports: on\nInclude system "
                          "date on all forms and reports: off\n")
        << false;
    QTest::newRow("report options set")
        << args({"report-options", "--folder", "DIR", "--signature", "on", "--officer-name", "off"})
        << false << 0
        << QStringLiteral("Include officer name on all forms and reports: off\nInclude system "
                          "date on all forms and reports: on\n")
        << true;
    QTest::newRow("report option neither on nor off")
        << args({"report-options", "--folder", "DIR", "--signature", "yes"}) << false << 2
        << QStringLiteral("--signature must be on or off") << false;
    Q_UNUSED(dir);
}

void tst_AdminCommands::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, withBackup);
    QFETCH(int, code);
    QFETCH(QString, printed);
    QFETCH(bool, changes);
    for (QString &a : arguments)
        a.replace(QLatin1String("DIR"), folder());
    if (withBackup) {
        writeBytes(QDir(folder()).filePath(QStringLiteral("OV97.BAK")), fileBytes(database()));
        storeFullSurvey(database(), {QStringLiteral("060101-A"), 5, 1, 1, false});
    }
    const QString before = databaseContent(database());

    const Run run = cli(arguments);
    QVERIFY2(run.code == code, qPrintable(run.out + run.err));
    QVERIFY2(QString(run.out + run.err).contains(printed), qPrintable(run.out + run.err));
    // Output goes to the stream a script expects: results out, failures err.
    QCOMPARE(run.code == 0, !run.out.isEmpty() && run.err.isEmpty());
    QCOMPARE(databaseContent(database()) != before, changes);
    QCOMPARE(integrityOf(database()), QStringLiteral("ok"));
}

void tst_AdminCommands::repairPrintsTheCheck()
{
    const Run run = cli({QStringLiteral("repair"), QStringLiteral("--folder"), folder()});
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out,
             QStringLiteral("Integrity check:\n    ok\nRepair of the database is complete.\n"));
}

void tst_AdminCommands::repairOfDamagedDatabase()
{
    for (int i = 0; i < 30; ++i)
        storeFullSurvey(database(), {QStringLiteral("0601%1-A").arg(i, 2, 10, QLatin1Char('0')), 30,
                                     5, 2, false});
    damage(database(), QFileInfo(database()).size() / 2, 4096);
    const Run run = cli({QStringLiteral("repair"), QStringLiteral("--folder"), folder()});
    QVERIFY2(run.code == 0, qPrintable(run.out + run.err));
    QVERIFY(run.out.startsWith(QLatin1String("Integrity check:\n")));
    QVERIFY(!run.out.startsWith(QLatin1String("Integrity check:\n    ok\n")));
    QVERIFY2(run.out.contains(QLatin1String("Rows saved:\n    Header: ")), qPrintable(run.out));
    QVERIFY(run.out.contains(QLatin1String("The damaged file was kept as OV97-damaged-")));

    // A file that is no database at all: a failure, and nothing changes.
    damage(database(), 0, 100);
    const QByteArray before = fileBytes(database());
    const Run again = cli({QStringLiteral("repair"), QStringLiteral("--folder"), folder()});
    QCOMPARE(again.code, 1);
    QVERIFY(again.err.contains(QLatin1String("cannot be opened as a database")));
    QCOMPARE(fileBytes(database()), before);
}

void tst_AdminCommands::generalHelpListsUpkeep()
{
    const Run run = cli({QStringLiteral("--help")});
    QCOMPARE(run.code, 0);
    for (const char *command : {"backup", "restore", "repair", "replace", "delete", "erase"})
        QVERIFY2(run.out.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(command))), command);
    const Run help = cli({QStringLiteral("erase"), QStringLiteral("--help")});
    QCOMPARE(help.code, 0);
    QVERIFY(help.out.contains(QLatin1String("--yes")));
}

void tst_AdminCommands::exitCodesThroughTheProgram()
{
    QProcess process;
    process.start(QStringLiteral(ROADTALLY_CLI),
                  {QStringLiteral("erase"), QStringLiteral("--folder"), folder()});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(rowCount(database(), QStringLiteral("Header")), 2);
    process.start(QStringLiteral(ROADTALLY_CLI),
                  {QStringLiteral("backup"), QStringLiteral("--folder"), folder()});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardOutput()),
             QStringLiteral("Backup and compacting are complete.\n"));
}

void tst_AdminCommands::backupKilledAtRandomPoints()
{
    // A database of some size with free pages, so that the backup takes a while
    // and its compacted copy differs from it.
    {
        DatabaseSession session(database());
        Transaction transaction(session);
        QSqlQuery insert = session.prepare(
            QStringLiteral("INSERT INTO [Veh_Data] ([Batch_Number], [Offset], [Veh_Direction], "
                           "[Speed], [Time], [Date]) "
                           "VALUES ('052401-B', ?, '-', ?, '01:50:09 PM', '05/24/01')"));
        for (int i = 0; i < 60000; ++i)
            session.run(insert, {i, 20 + i % 50});
        transaction.commit();
        session.exec(QStringLiteral("DELETE FROM [Veh_Data] WHERE [Offset] < 30000"));
    }
    const QByteArray original = fileBytes(database());
    const QString content = databaseContent(database());
    const QString backup = QDir(folder()).filePath(QStringLiteral("OV97.BAK"));

    // One backup run to the end: its time, and the compacted file it makes.
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(ROADTALLY_CLI),
                  {QStringLiteral("backup"), QStringLiteral("--folder"), folder()});
    QVERIFY(process.waitForFinished(60000));
    const qint64 fullRun = clock.elapsed();
    QCOMPARE(process.exitCode(), 0);
    const QByteArray compacted = fileBytes(database());
    QVERIFY(compacted != original);

    QRandomGenerator random(20240601);
    int runs = 0, finished = 0, interrupted = 0;
    QElapsedTimer budget;
    budget.start();
    while (runs < 60 && budget.elapsed() < 12000) {
        writeBytes(database(), original);
        process.start(QStringLiteral(ROADTALLY_CLI),
                      {QStringLiteral("backup"), QStringLiteral("--folder"), folder()});
        QVERIFY(process.waitForStarted(10000));
        QThread::usleep(random.bounded(quint32(fullRun * 1300)));
        process.kill();
        QVERIFY(process.waitForFinished(10000));
        ++runs;
        if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            ++finished;
        else
            ++interrupted;

        // Whatever the moment: the database opens, is sound, holds every row, and
        // is either the file as it was or its compacted copy.
        QVERIFY(QFileInfo::exists(database()));
        QCOMPARE(integrityOf(database()), QStringLiteral("ok"));
        QCOMPARE(databaseContent(database()), content);
        const QByteArray now = fileBytes(database());
        QVERIFY2(now == original || now == compacted,
                 qPrintable(QStringLiteral("run %1").arg(runs)));
        // Any backup there is the database exactly as it was.
        if (QFileInfo::exists(backup))
            QCOMPARE(fileBytes(backup), original);
        DatabaseSession session(database());
        QVERIFY2(session.isOpen(), qPrintable(session.errorText()));
    }
    qInfo("%d backups killed at random points (%d ran to the end, %d were cut short); a whole run "
          "took %lld ms",
          runs, finished, interrupted, fullRun);
    QVERIFY(interrupted > 0);

    // What the killed runs left behind does not stop the next backup.
    writeBytes(database(), original);
    process.start(QStringLiteral(ROADTALLY_CLI),
                  {QStringLiteral("backup"), QStringLiteral("--folder"), folder()});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(fileBytes(backup), original);
    for (const QString &name : folderFiles(folder()))
        QVERIFY2(!name.endsWith(QLatin1String(".tmp")), qPrintable(name));
}

QTEST_GUILESS_MAIN(tst_AdminCommands)
#include "tst_AdminCommands.moc"
