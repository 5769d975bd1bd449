// Opening the survey database for one user action: orderly failures, bound
// values, transactions, and nothing left open afterwards.
#include "core/store/DatabaseSession.h"
#include "core/store/Schema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <unistd.h>

using namespace roadtally;

class tst_DatabaseSession : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString blank(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        [&] { QCOMPARE(createBlankDatabase(path), QString()); }();
        return path;
    }

private Q_SLOTS:
    void faultOfEngineCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fault");
        QTest::newRow("busy") << SQLITE_BUSY << "database is locked" << int(DatabaseFault::Busy);
        QTest::newRow("busy, extended") << SQLITE_BUSY_SNAPSHOT << "" << int(DatabaseFault::Busy);
        QTest::newRow("locked") << SQLITE_LOCKED << "" << int(DatabaseFault::Busy);
        QTest::newRow("read-only") << SQLITE_READONLY << "attempt to write a readonly database"
                                   << int(DatabaseFault::ReadOnly);
        QTest::newRow("read-only, moved")
            << SQLITE_READONLY_DBMOVED << "" << int(DatabaseFault::ReadOnly);
        QTest::newRow("journal cannot be made")
            << SQLITE_CANTOPEN << "" << int(DatabaseFault::ReadOnly);
        QTest::newRow("corrupt") << SQLITE_CORRUPT << "database disk image is malformed"
                                 << int(DatabaseFault::Damaged);
        QTest::newRow("not a database")
            << SQLITE_NOTADB << "file is not a database" << int(DatabaseFault::NotSurveyDatabase);
        QTest::newRow("table missing")
            << SQLITE_ERROR << "no such table: Time_15" << int(DatabaseFault::NotSurveyDatabase);
        QTest::newRow("field missing") << SQLITE_ERROR << "table Summary has no column named Pace"
                                       << int(DatabaseFault::NotSurveyDatabase);
        QTest::newRow("disk full") << SQLITE_FULL << "" << int(DatabaseFault::Full);
        QTest::newRow("other error")
            << SQLITE_ERROR << "near \"x\": syntax error" << int(DatabaseFault::Other);
        QTest::newRow("input/output")
            << SQLITE_IOERR_WRITE << "disk I/O error" << int(DatabaseFault::Other);
    }

    void faultOfEngineCode()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(int, fault);
        QCOMPARE(int(faultOfSqliteCode(code, text)), fault);
    }

    void openFaults_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("fault");
        QTest::newRow("missing") << "missing" << int(DatabaseFault::Missing);
        QTest::newRow("a folder") << "folder" << int(DatabaseFault::NotSurveyDatabase);
        QTest::newRow("a text file") << "text" << int(DatabaseFault::NotSurveyDatabase);
        QTest::newRow("a database of something else")
            << "foreign" << int(DatabaseFault::NotSurveyDatabase);
    }

    void openFaults()
    {
        QFETCH(QString, kind);
        QFETCH(int, fault);
        const QString path = m_dir.filePath(QStringLiteral("faults/%1/OV97.mdb").arg(kind));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("text")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Batch_Number,Location\r\n");
        } else if (kind == QLatin1String("foreign")) {
            sqlite3 *db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
            sqlite3_exec(db, "CREATE TABLE Recipes (Name TEXT)", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        DatabaseSession s(path);
        QVERIFY(!s.isOpen());
        QCOMPARE(int(s.openFault()), fault);
        try {
            s.requireOpen();
            QFAIL("an unopened session must refuse");
        } catch (const DatabaseError &e) {
            QCOMPARE(int(e.fault()), fault);
        }
    }

    void directEngineOnlyWhenItIsQtsOwn()
    {
        // The SQLite library linked here is the one behind Qt's driver on this
        // system, so the bulk writers may use it; turned off, nobody gets it.
        const QString path = blank(QStringLiteral("engine.mdb"));
        {
            DatabaseSession s(path);
            QVERIFY(s.sqliteHandle() != nullptr);
            QCOMPARE(s.scalar(QStringLiteral("SELECT sqlite_version()")).toString(),
                     QString::fromLatin1(sqlite3_libversion()));
        }
        DatabaseSession::setDirectEngineAllowed(false);
        {
            DatabaseSession s(path);
            QVERIFY(s.sqliteHandle() == nullptr);
        }
        DatabaseSession::setDirectEngineAllowed(true);
    }

    void unusableFileGivesAnOrderlyError_data()
    {
        QTest::addColumn<QByteArray>("content"); // "" = no file at all
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("text") << QByteArray("this is not a database\n") << true;
        QTest::newRow("garbage") << QByteArray(4096, '\xA5') << true;
        QTest::newRow("sqlite header, garbage body")
            << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x01') << true;
    }

    void unusableFileGivesAnOrderlyError()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        const QString path = m_dir.filePath(
            QStringLiteral("%1/OV97.mdb").arg(QLatin1String(QTest::currentDataTag())));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (exists) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        {
            DatabaseSession s(path);
            QVERIFY(!s.isOpen());
            QVERIFY2(s.errorText().contains(path), qPrintable(s.errorText()));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, s.exec(QStringLiteral("SELECT * FROM Header")));
            QVERIFY_THROWS_EXCEPTION(DatabaseError, s.beginTransaction());
        }
        QCOMPARE(QFile::exists(path), exists); // never created
        if (exists) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content); // and never changed
        }
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
    }

    void folderInsteadOfFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("folder/OV97.mdb"));
        QVERIFY(QDir().mkpath(path));
        DatabaseSession s(path);
        QVERIFY(!s.isOpen());
        QVERIFY(s.errorText().contains(path));
    }

    void unreadableFile()
    {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        const QString path = blank(QStringLiteral("locked.mdb"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        DatabaseSession s(path);
        QVERIFY(!s.isOpen());
        QVERIFY(s.errorText().contains(path));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void connectionEndsWithTheSession()
    {
        const QString path = blank(QStringLiteral("scope.mdb"));
        {
            DatabaseSession a(path);
            DatabaseSession b(path);
            QVERIFY(a.isOpen() && b.isOpen());
            QCOMPARE(QSqlDatabase::connectionNames().size(), 2);
        }
        QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
        // With nothing open the file can be replaced.
        QVERIFY(QFile::remove(path));
        QVERIFY(!DatabaseSession(path).isOpen());
    }

    void valuesAreBoundNeverSpliced()
    {
        const QString path = blank(QStringLiteral("bound.mdb"));
        DatabaseSession s(path);
        const QString name = QStringLiteral("O'Brien'); DROP TABLE Officer; --");
        s.exec(QStringLiteral("INSERT INTO [Officer] ([Admin_Officer]) VALUES (?)"), {name});
        QCOMPARE(
            s.scalar(QStringLiteral("SELECT count(*) FROM [Officer] WHERE [admin_officer] = ?"),
                     {name})
                .toInt(),
            1);
        QCOMPARE(s.scalar(QStringLiteral("SELECT [Admin_Officer] FROM [Officer]")).toString(),
                 name);
    }

    void preparedStatementRunsAgain()
    {
        const QString path = blank(QStringLiteral("prepared.mdb"));
        DatabaseSession s(path);
        QSqlQuery ins = s.prepare(QStringLiteral(
            "INSERT INTO [Speed] ([batch_number], [speed], [all_total]) VALUES (?, ?, ?)"));
        for (int sp = 1; sp <= 5; ++sp)
            s.run(ins, {QStringLiteral("X"), sp, sp * 10});
        QCOMPARE(s.scalar(QStringLiteral("SELECT sum(all_total) FROM Speed WHERE batch_number = ?"),
                          {QStringLiteral("X")})
                     .toInt(),
                 150);
        QVERIFY(s.scalar(QStringLiteral("SELECT max(speed) FROM Speed WHERE batch_number = ?"),
                         {QStringLiteral("none")})
                    .isNull());
    }

    void badStatementThrows()
    {
        const QString path = blank(QStringLiteral("bad.mdb"));
        DatabaseSession s(path);
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 s.exec(QStringLiteral("SELECT * FROM [NoSuchTable]")));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, s.prepare(QStringLiteral("SELEKT")));
    }

    void bulkDelete()
    {
        const QString path = blank(QStringLiteral("bulk.mdb"));
        DatabaseSession s(path);
        for (int i = 0; i < 3; ++i)
            s.exec(QStringLiteral("INSERT INTO [Veh_Data] ([Batch_Number], [Speed]) VALUES (?, ?)"),
                   {QStringLiteral("B"), i});
        s.deleteAll(QStringLiteral("veh_data"));
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM Veh_Data")).toInt(), 0);
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM Radar")).toInt(), 1);
    }

    void transactionRollsBackUnlessCommitted_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::addColumn<bool>("fail");
        QTest::addColumn<int>("rows");
        QTest::newRow("committed") << true << false << 3;
        QTest::newRow("left without commit") << false << false << 0;
        QTest::newRow("failure midway") << true << true << 0;
    }

    void transactionRollsBackUnlessCommitted()
    {
        QFETCH(bool, commit);
        QFETCH(bool, fail);
        QFETCH(int, rows);
        const QString path = blank(QStringLiteral("tx.mdb"));
        {
            DatabaseSession s(path);
            try {
                Transaction t(s);
                for (int i = 0; i < 3; ++i)
                    s.exec(QStringLiteral(
                               "INSERT INTO [Speed] ([batch_number], [speed]) VALUES (?, ?)"),
                           {QStringLiteral("X"), i});
                if (fail)
                    s.exec(QStringLiteral("INSERT INTO [NoSuchTable] VALUES (1)"));
                if (commit)
                    t.commit();
            } catch (const DatabaseError &) {
                QVERIFY(fail);
            }
        }
        DatabaseSession check(path);
        QCOMPARE(check.scalar(QStringLiteral("SELECT count(*) FROM Speed")).toInt(), rows);
    }

    void sessionEndRollsBackAnOpenTransaction()
    {
        const QString path = blank(QStringLiteral("open-tx.mdb"));
        {
            DatabaseSession s(path);
            s.beginTransaction();
            s.exec(QStringLiteral("DELETE FROM [Radar]"));
        }
        DatabaseSession check(path);
        QCOMPARE(check.scalar(QStringLiteral("SELECT count(*) FROM Radar")).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_DatabaseSession)
#include "tst_DatabaseSession.moc"
