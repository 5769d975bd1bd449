// Opening the survey database for one user action: orderly failures, bound
// values, transactions, and nothing left open afterwards.
#include "store/DatabaseSession.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

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
        const QString path = m_dir.filePath(QStringLiteral("%1/OV97.mdb").arg(QTest::currentDataTag()));
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
        QCOMPARE(s.scalar(QStringLiteral("SELECT count(*) FROM [Officer] WHERE [admin_officer] = ?"), {name}).toInt(), 1);
        QCOMPARE(s.scalar(QStringLiteral("SELECT [Admin_Officer] FROM [Officer]")).toString(), name);
    }

    void preparedStatementRunsAgain()
    {
        const QString path = blank(QStringLiteral("prepared.mdb"));
        DatabaseSession s(path);
        QSqlQuery ins = s.prepare(QStringLiteral("INSERT INTO [Speed] ([batch_number], [speed], [all_total]) VALUES (?, ?, ?)"));
        for (int sp = 1; sp <= 5; ++sp)
            s.run(ins, {QStringLiteral("X"), sp, sp * 10});
        QCOMPARE(s.scalar(QStringLiteral("SELECT sum(all_total) FROM Speed WHERE batch_number = ?"), {QStringLiteral("X")}).toInt(), 150);
        QVERIFY(s.scalar(QStringLiteral("SELECT max(speed) FROM Speed WHERE batch_number = ?"), {QStringLiteral("none")}).isNull());
    }

    void badStatementThrows()
    {
        const QString path = blank(QStringLiteral("bad.mdb"));
        DatabaseSession s(path);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, s.exec(QStringLiteral("SELECT * FROM [NoSuchTable]")));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, s.prepare(QStringLiteral("SELEKT")));
    }

    void bulkDelete()
    {
        const QString path = blank(QStringLiteral("bulk.mdb"));
        DatabaseSession s(path);
        for (int i = 0; i < 3; ++i)
            s.exec(QStringLiteral("INSERT INTO [Veh_Data] ([Batch_Number], [Speed]) VALUES (?, ?)"), {QStringLiteral("B"), i});
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
                    s.exec(QStringLiteral("INSERT INTO [Speed] ([batch_number], [speed]) VALUES (?, ?)"), {QStringLiteral("X"), i});
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
#include "tst_databasesession.moc"
