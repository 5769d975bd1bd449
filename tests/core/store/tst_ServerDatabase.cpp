// The survey database on a server: the address, the schema and its refusal of
// a foreign schema, the faults a user is told, and the bulk copy's texts.

#include "core/store/DatabaseLocation.h"
#include "core/store/DatabaseSession.h"
#include "core/store/RowWriter.h"
#include "core/store/Schema.h"
#include "fixtures/TestServer.h"

#include <QTest>

using namespace roadtally;

class tst_ServerDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void address_data();
    void address();
    void createsSurveyTables();
    void refusesForeignSchema();
    void openFaults_data();
    void openFaults();
    void batchIgnoresTrailingBlanks();
    void sameBatchTwiceIsRefused();
    void copiedTextsRoundTrip();

private:
    std::unique_ptr<test::TestServer> m_server;
    QString m_uri; // a database with the survey tables
};

void tst_ServerDatabase::initTestCase()
{
    m_server = std::make_unique<test::TestServer>();
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    m_uri = m_server->createDatabase();
    QVERIFY2(!m_uri.isEmpty(), qPrintable(m_server->error()));
    bool existed = true;
    QCOMPARE(createServerDatabase(m_uri, &existed), QString());
    QVERIFY(!existed);
}

void tst_ServerDatabase::address_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("canonical"); // "" when refused
    QTest::addColumn<QString>("reason");    // part of the refusal

    QTest::newRow("full") << u"postgresql://officer@records.example.org:5433/surveys"_qs
                          << u"postgresql://officer@records.example.org:5433/surveys"_qs
                          << QString();
    QTest::newRow("default port") << u"postgres://officer@db/surveys"_qs
                                  << u"postgresql://officer@db:5432/surveys"_qs << QString();
    QTest::newRow("socket folder") << u"postgresql://me@%2Fvar%2Frun%2Fpg:5432/s"_qs
                                   << u"postgresql://me@%2Fvar%2Frun%2Fpg:5432/s"_qs << QString();
    QTest::newRow("ipv6") << u"postgresql://me@[::1]:6000/s"_qs
                          << u"postgresql://me@[::1]:6000/s"_qs << QString();
    QTest::newRow("setting") << u"postgresql://me@db:5432/s?sslmode=require"_qs
                             << u"postgresql://me@db:5432/s?sslmode=require"_qs << QString();
    QTest::newRow("password") << u"postgresql://officer:secret@db:5432/surveys"_qs << QString()
                              << u"~/.pgpass"_qs;
    QTest::newRow("password setting")
        << u"postgresql://officer@db/s?password=secret"_qs << QString() << u"~/.pgpass"_qs;
    QTest::newRow("smuggled setting")
        << u"postgresql://me@db/s?sslmode=a%20host%3Devil"_qs << QString() << u"not understood"_qs;
    QTest::newRow("no database") << u"postgresql://me@db:5432/"_qs << QString()
                                 << u"names no database"_qs;
    QTest::newRow("no server") << u"postgresql://me@:5432/s"_qs << QString()
                               << u"names no server"_qs;
    QTest::newRow("bad port") << u"postgresql://me@db:70000/s"_qs << QString() << u"1 to 65535"_qs;
}

void tst_ServerDatabase::address()
{
    QFETCH(QString, uri);
    QFETCH(QString, canonical);
    QFETCH(QString, reason);
    QString error;
    const std::optional<ServerAddress> address = parseServerUri(uri, &error);
    if (canonical.isEmpty()) {
        QVERIFY(!address);
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(!error.contains(u"secret"_qs), qPrintable(error));
        // Opening it says the same, without connecting.
        DatabaseSession session(uri);
        QVERIFY(!session.isOpen());
        QCOMPARE(session.errorText(), error);
        QVERIFY(!databaseDisplayName(uri).contains(u"secret"_qs));
        return;
    }
    QVERIFY2(address, qPrintable(error));
    QCOMPARE(address->uri(), canonical);
    QCOMPARE(parseServerUri(address->uri())->uri(), canonical);
}

void tst_ServerDatabase::createsSurveyTables()
{
    DatabaseSession session(m_uri);
    QVERIFY2(session.isOpen(), qPrintable(session.errorText()));
    QVERIFY(session.isServer());
    for (const TableDef &table : surveyTables()) {
        QStringList fields;
        for (const ColumnDef &column : table.columns)
            fields << u"[%1]"_qs.arg(column.name);
        session.exec(u"SELECT %1 FROM [%2]"_qs.arg(fields.join(u", "_qs), table.name));
    }
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Radar]"_qs).toInt(), 1);
    QCOMPARE(session.scalar(u"SELECT [Admin_Agency] FROM [Agency]"_qs).toString(),
             u"Name of Municipality"_qs);
    // A second init leaves the tables as they are.
    session.exec(u"INSERT INTO [Officer] ([Admin_Officer]) VALUES (?)"_qs, {u"Kept"_qs});
    bool existed = false;
    QCOMPARE(createServerDatabase(m_uri, &existed), QString());
    QVERIFY(existed);
    QCOMPARE(session.scalar(u"SELECT count(*) FROM [Officer]"_qs).toInt(), 1);
    session.exec(u"DELETE FROM [Officer]"_qs);
}

void tst_ServerDatabase::refusesForeignSchema()
{
    const QString uri = m_server->createDatabase();
    QVERIFY(!uri.isEmpty());
    {
        DatabaseSession session(uri, DatabaseSession::ConnectionOnly{});
        QVERIFY2(session.isOpen(), qPrintable(session.errorText()));
        session.execute(u"CREATE SCHEMA roadtally"_qs);
        session.execute(u"CREATE TABLE roadtally.\"Header\" (x integer)"_qs);
    }
    const QString refused = createServerDatabase(uri);
    QVERIFY2(refused.contains(u"not a survey database"_qs), qPrintable(refused));
    DatabaseSession session(uri, DatabaseSession::ConnectionOnly{});
    QCOMPARE(session
                 .scalar(u"SELECT count(*) FROM information_schema.tables WHERE "
                         "table_schema = 'roadtally'"_qs)
                 .toInt(),
             1);
}

void tst_ServerDatabase::openFaults_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("reason");

    const QString socket = QString::fromLatin1(QUrl::toPercentEncoding(m_server->socketDir()));
    QTest::newRow("no such database") << u"postgresql://roadtally@%1:5432/nosuchdb"_qs.arg(socket)
                                      << int(DatabaseFault::Missing) << u"nosuchdb"_qs;
    QTest::newRow("no such user") << u"postgresql://nobodyknows@%1:5432/postgres"_qs.arg(socket)
                                  << int(DatabaseFault::Denied) << u"nobodyknows"_qs;
    QTest::newRow("no server") << u"postgresql://roadtally@%2Fnonexistent:5432/x"_qs
                               << int(DatabaseFault::Unreachable) << u"socket"_qs;
    QTest::newRow("no survey tables")
        << u"postgresql://roadtally@%1:5432/postgres"_qs.arg(socket)
        << int(DatabaseFault::NotSurveyDatabase) << u"init --database"_qs;
}

void tst_ServerDatabase::openFaults()
{
    QFETCH(QString, uri);
    QFETCH(int, fault);
    QFETCH(QString, reason);
    DatabaseSession session(uri);
    QVERIFY(!session.isOpen());
    QCOMPARE(int(session.openFault()), fault);
    // The message names the server and says why.
    QVERIFY2(session.errorText().contains(databaseDisplayName(uri)),
             qPrintable(session.errorText()));
    QVERIFY2(session.errorText().contains(reason), qPrintable(session.errorText()));
}

void tst_ServerDatabase::batchIgnoresTrailingBlanks()
{
    DatabaseSession session(m_uri);
    Transaction transaction(session);
    session.exec(u"INSERT INTO [Header] ([Batch_Number]) VALUES (?)"_qs, {u"0524-A  "_qs});
    QCOMPARE(
        session.scalar(u"SELECT count(*) FROM [Header] WHERE [Batch_Number] = ?"_qs, {u"0524-A"_qs})
            .toInt(),
        1);
    QCOMPARE(
        session
            .scalar(u"SELECT count(*) FROM [Header] WHERE [Batch_Number] = ?"_qs, {u"0524-A "_qs})
            .toInt(),
        1);
    QCOMPARE(
        session
            .scalar(u"SELECT count(*) FROM [Header] WHERE [Batch_Number] = ?"_qs, {u" 0524-A"_qs})
            .toInt(),
        0);
}

void tst_ServerDatabase::sameBatchTwiceIsRefused()
{
    DatabaseSession session(m_uri);
    Transaction transaction(session);
    session.exec(u"INSERT INTO [Header] ([Batch_Number]) VALUES (?)"_qs, {u"0601-B"_qs});
    try {
        session.exec(u"INSERT INTO [Header] ([Batch_Number]) VALUES (?)"_qs, {u"0601-B "_qs});
        QFAIL("the same batch number was stored twice");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.fault(), DatabaseFault::Duplicate);
    }
}

void tst_ServerDatabase::copiedTextsRoundTrip()
{
    const QStringList texts{u"plain"_qs,          u"tab\there"_qs,    u"line\nbreak\r"_qs,
                            u"back\\slash\\N"_qs, u"Zürich – 5th"_qs, QString()};
    DatabaseSession session(m_uri);
    Transaction transaction(session);
    {
        RowWriter writer(session, "INSERT INTO [Officer] ([Admin_Officer])", 1);
        QVERIFY(writer.isDirect());
        for (const QString &t : texts) {
            if (t.isNull())
                writer.null(1);
            else
                writer.text(1, t);
            writer.insert();
        }
        writer.finish();
    }
    QSqlQuery rows = session.exec(u"SELECT [Admin_Officer] FROM [Officer] ORDER BY rowid"_qs);
    QStringList back;
    QList<bool> nulls;
    while (rows.next()) {
        back << rows.value(0).toString();
        nulls << rows.value(0).isNull();
    }
    QCOMPARE(back, texts);
    QCOMPARE(nulls, QList<bool>({false, false, false, false, false, true}));
}

QTEST_GUILESS_MAIN(tst_ServerDatabase)
#include "tst_ServerDatabase.moc"
