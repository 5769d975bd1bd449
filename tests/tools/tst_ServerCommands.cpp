// roadtally-cli on a server: --database in place of --folder (or
// ROADTALLY_DATABASE), the same output as from a folder, the upkeep of the
// one file refused, a password in the address refused, and copy.

#include "cli/CommandLineTool.h"
#include "core/store/DatabaseLocation.h"
#include "core/upkeep/SurveyCopy.h"
#include "fixtures/CliRun.h"
#include "fixtures/TestServer.h"
#include "sample/SampleSurvey.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace roadtally;
using namespace roadtally::testing;

namespace {

QByteArray withoutDates(QByteArray pdf)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\([^)]*\\)"));
    return QString::fromLatin1(pdf).remove(date).toLatin1();
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_ServerCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initRefusesASecondTime();
    void passwordInTheAddressIsRefused();
    void showIsTheSame_data();
    void showIsTheSame();
    void reportIsTheSame();
    void upkeepIsRefused_data();
    void upkeepIsRefused();
    void environmentChoosesTheServer();
    void copyBetweenFolderAndServer();
    void deleteAndErase();

private:
    QStringList onFolder() const { return {QStringLiteral("--folder"), m_folder}; }
    QStringList onServer() const { return {QStringLiteral("--database"), m_uri}; }

    std::unique_ptr<test::TestServer> m_server;
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_uri;
    QString m_batch;
};

void tst_ServerCommands::initTestCase()
{
    m_server = std::make_unique<test::TestServer>();
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->error()));
    m_uri = m_server->createDatabase();
    QVERIFY(!m_uri.isEmpty());
    m_folder = m_dir.filePath(QStringLiteral("program"));
    Run r = runCli({QStringLiteral("init"), QStringLiteral("--folder"), m_folder});
    QCOMPARE(r.code, 0);
    r = runCli({QStringLiteral("init"), QStringLiteral("--database"), m_uri});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(r.out.contains(databaseDisplayName(m_uri)));

    SampleOptions options;
    options.days = 3;
    const QString file = m_dir.filePath(QStringLiteral("s.ovd"));
    QCOMPARE(writeSampleSurvey(generateSampleSurvey(options), file), QString());
    for (const QStringList &where : {onFolder(), onServer()}) {
        r = runCli(QStringList{QStringLiteral("import")} + where +
                   QStringList{file, QStringLiteral("--location"), QStringLiteral("Oak Lane"),
                               QStringLiteral("--direction"), QStringLiteral("North"),
                               QStringLiteral("--zone"), QStringLiteral("School")});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        m_batch = r.out.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char(' '), -1);
    }
    QCOMPARE(runCli(QStringList{QStringLiteral("list")} + onServer()).out,
             runCli(QStringList{QStringLiteral("list")} + onFolder()).out);
}

void tst_ServerCommands::initRefusesASecondTime()
{
    const Run r = runCli({QStringLiteral("init"), QStringLiteral("--database"), m_uri});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("already holds the survey tables")), qPrintable(r.err));
}

void tst_ServerCommands::passwordInTheAddressIsRefused()
{
    const Run r = runCli({QStringLiteral("list"), QStringLiteral("--database"),
                          QStringLiteral("postgresql://officer:hunter2@db:5432/surveys")});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("~/.pgpass")), qPrintable(r.err));
    QVERIFY(!r.err.contains(QStringLiteral("hunter2")));
    QVERIFY(!r.out.contains(QStringLiteral("hunter2")));
}

void tst_ServerCommands::showIsTheSame_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString date = QStringLiteral("05/25/25");
    for (const char *kind : {"summary", "speeds", "percentile", "weekly", "study"})
        QTest::newRow(kind) << QStringList{QString::fromLatin1(kind)};
    QTest::newRow("fifteen") << QStringList{QStringLiteral("fifteen"), QStringLiteral("--date"),
                                            date};
    QTest::newRow("volume json") << QStringList{QStringLiteral("volume"), QStringLiteral("--date"),
                                                date, QStringLiteral("--json")};
}

void tst_ServerCommands::showIsTheSame()
{
    QFETCH(QStringList, arguments);
    const QStringList head{QStringLiteral("show"), QStringLiteral("--batch"), m_batch};
    const Run file = runCli(head + onFolder() + arguments);
    const Run server = runCli(head + onServer() + arguments);
    QVERIFY2(file.code == 0, qPrintable(file.err));
    QCOMPARE(server.err, file.err);
    QCOMPARE(server.code, file.code);
    QCOMPARE(server.out, file.out);
}

void tst_ServerCommands::reportIsTheSame()
{
    for (const char *kind : {"summary", "profile", "weekly"}) {
        QList<QByteArray> pdfs;
        for (const QStringList &where : {onFolder(), onServer()}) {
            const QString pdf = m_dir.filePath(QStringLiteral("r%1.pdf").arg(pdfs.size()));
            const Run r =
                runCli(QStringList{QStringLiteral("report")} + where +
                       QStringList{QStringLiteral("--batch"), m_batch, QStringLiteral("--report"),
                                   QString::fromLatin1(kind), QStringLiteral("--pdf"), pdf});
            QVERIFY2(r.code == 0, qPrintable(r.err));
            pdfs << withoutDates(contents(pdf));
        }
        QVERIFY(pdfs.first().size() > 1000);
        QVERIFY2(pdfs.first() == pdfs.last(), kind);
    }
}

void tst_ServerCommands::upkeepIsRefused_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::newRow("backup") << QStringList{QStringLiteral("backup")};
    QTest::newRow("restore") << QStringList{QStringLiteral("restore"), QStringLiteral("--yes")};
    QTest::newRow("repair") << QStringList{QStringLiteral("repair")};
    QTest::newRow("replace") << QStringList{QStringLiteral("replace"), QStringLiteral("--yes")};
}

void tst_ServerCommands::upkeepIsRefused()
{
    QFETCH(QStringList, command);
    const Run r = runCli(command + onServer());
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(serverUpkeepRefusal()), qPrintable(r.err));
}

void tst_ServerCommands::environmentChoosesTheServer()
{
    qputenv("ROADTALLY_DATABASE", m_uri.toUtf8());
    const Run server = runCli({QStringLiteral("list")});
    const Run folder = runCli(QStringList{QStringLiteral("list")} + onFolder());
    qunsetenv("ROADTALLY_DATABASE");
    QVERIFY2(server.code == 0, qPrintable(server.err));
    QCOMPARE(server.out, folder.out);
    QVERIFY(!server.out.isEmpty());
}

void tst_ServerCommands::copyBetweenFolderAndServer()
{
    const QString uri = m_server->createDatabase();
    QVERIFY(!uri.isEmpty());
    QCOMPARE(runCli({QStringLiteral("init"), QStringLiteral("--database"), uri}).code, 0);
    Run r = runCli({QStringLiteral("copy"), QStringLiteral("--from"), m_folder,
                    QStringLiteral("--to"), uri, QStringLiteral("--batch"), m_batch});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.startsWith(QStringLiteral("Copied 1 survey")), qPrintable(r.out));
    // A folder without a database gets a blank one; a survey already there is named.
    const QString laptop = m_dir.filePath(QStringLiteral("laptop"));
    QVERIFY(QDir().mkpath(laptop));
    r = runCli(
        {QStringLiteral("copy"), QStringLiteral("--from"), uri, QStringLiteral("--to"), laptop});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    r = runCli({QStringLiteral("copy"), QStringLiteral("--from"), uri, QStringLiteral("--to"),
                laptop, QStringLiteral("--batch"), m_batch, QStringLiteral("--batch"), m_batch});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains(QStringLiteral("Skipped (already there): ") + m_batch),
             qPrintable(r.out));
    QCOMPARE(runCli({QStringLiteral("list"), QStringLiteral("--folder"), laptop}).out,
             runCli(QStringList{QStringLiteral("list")} + onFolder()).out);
    r = runCli({QStringLiteral("copy"), QStringLiteral("--from"), m_folder, QStringLiteral("--to"),
                laptop, QStringLiteral("--batch"), QStringLiteral("010101-Z")});
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.contains(QStringLiteral("010101-Z")));
}

void tst_ServerCommands::deleteAndErase()
{
    Run r = runCli(QStringList{QStringLiteral("delete"), QStringLiteral("--yes"),
                               QStringLiteral("--batch"), m_batch} +
                   onServer());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(runCli(QStringList{QStringLiteral("list")} + onServer()).out, QString());
    r = runCli(QStringList{QStringLiteral("erase"), QStringLiteral("--yes")} + onServer());
    QVERIFY2(r.code == 0, qPrintable(r.err));
}

QTEST_MAIN(tst_ServerCommands)
#include "tst_ServerCommands.moc"
