// roadtally-cli: argument handling in process, and the program end to end in a
// temporary program folder: init, import (with corrections and failures), list.
#include "cli/CommandLineTool.h"
#include "cli/Commands.h"
#include "fixtures/CliRun.h"

#include "core/store/DatabaseSession.h"
#include "core/store/Installation.h"
#include "core/store/Schema.h"
#include "core/store/SharedState.h"
#include "fixtures/DatabaseTrouble.h"
#include "sample/SampleSurvey.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

using namespace roadtally;
using namespace roadtally::testing;

namespace {

Run runProgram(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral(ROADTALLY_CLI), arguments);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every row of every table, in storage order: what a failed import must leave alone.
QStringList dump(const QString &database)
{
    DatabaseSession s(database);
    s.requireOpen();
    QStringList rows;
    for (const TableDef &table : surveyTables()) {
        QSqlQuery q = s.exec(QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table.name));
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
            rows << table.name + QLatin1Char('|') + values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

qint64 count(const QString &database, const QString &table)
{
    DatabaseSession s(database);
    s.requireOpen();
    return s.scalar(QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(table)).toLongLong();
}

const QString Duplicate = QStringLiteral(
    "Duplicate Batch Number found. Select a higher letter for the Batch Number and try again.");
const QString DataErrors = QStringLiteral(
    "This data file has errors and cannot be processed - download another data file to process");

} // namespace

class tst_CommandLineTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void usageErrors_data();
    void usageErrors();
    void optionSpellings_data();
    void optionSpellings();
    void help_data();
    void help();
    void initRefusesToOverwrite();
    void importAndList();
    void importCorrections();
    void importFailures_data();
    void importFailures();
    void importDatabaseFailures_data();
    void importDatabaseFailures();
    void concurrentImports();
    void noDatabase();
    void defaultFolder();

private:
    QTemporaryDir m_dir;
    QString m_sample; // a one-day survey, 05/24/2025 13:45, posted 035
    QString m_empty;  // a raw data file of no bytes
};

void tst_CommandLineTool::initTestCase()
{
    QVERIFY(m_dir.isValid());
    SampleOptions o;
    o.vehicles = 800;
    o.startDate = QDate(2025, 5, 24);
    o.startTime = QTime(13, 45);
    o.postedSpeed = 35;
    m_sample = m_dir.filePath(QStringLiteral("main street.ovd"));
    QCOMPARE(writeSampleSurvey(generateSampleSurvey(o), m_sample), QString());
    m_empty = m_dir.filePath(QStringLiteral("empty.ovd"));
    QFile empty(m_empty);
    QVERIFY(empty.open(QIODevice::WriteOnly));
}

void tst_CommandLineTool::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QStringList import{u"import"_s,     u"--folder"_s, u"f"_s,           u"x.ovd"_s,
                             u"--location"_s, u"L"_s,        u"--direction"_s, u"North"_s,
                             u"--zone"_s,     u"School"_s};
    QTest::newRow("no command") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{u"upload"_s} << "unknown command upload";
    QTest::newRow("init folder without value")
        << QStringList{u"init"_s, u"--folder"_s} << "--folder needs DIR";
    QTest::newRow("init empty folder")
        << QStringList{u"init"_s, u"--folder="_s} << "missing --folder DIR";
    QTest::newRow("init unknown option")
        << QStringList{u"init"_s, u"--folder"_s, u"f"_s, u"--force"_s} << "unknown option --force";
    QTest::newRow("init stray argument")
        << QStringList{u"init"_s, u"--folder"_s, u"f"_s, u"extra"_s} << "unexpected argument extra";
    QTest::newRow("list short option")
        << QStringList{u"list"_s, u"-f"_s, u"x"_s} << "unknown option -f";
    QTest::newRow("list twice") << QStringList{u"list"_s, u"--folder"_s, u"a"_s, u"--folder"_s,
                                               u"b"_s}
                                << "--folder given twice";
    QTest::newRow("import without file")
        << QStringList{u"import"_s, u"--folder"_s, u"f"_s, u"--location"_s, u"L"_s}
        << "missing the raw data FILE";
    QTest::newRow("import two files")
        << (QStringList(import) << u"y.ovd"_s) << "unexpected argument y.ovd";
    QTest::newRow("range with one end")
        << (QStringList(import) << u"--range"_s << u"10"_s) << "--range needs LOW HIGH";
    QTest::newRow("range inline, one end")
        << (QStringList(import) << u"--range=10"_s) << "--range needs LOW HIGH";
    QTest::newRow("range not numbers")
        << (QStringList(import) << u"--range"_s << u"ten"_s << u"100"_s)
        << "--range needs two whole speeds";
    QTest::newRow("negative range") << (QStringList(import) << u"--range"_s << u"-5"_s << u"100"_s)
                                    << "--range needs two whole speeds";
    QTest::newRow("unit mps") << (QStringList(import) << u"--unit"_s << u"MPS"_s)
                              << "--unit must be MPH or KPH";
    QTest::newRow("letter digit") << (QStringList(import) << u"--letter"_s << u"1"_s)
                                  << "--letter must be one letter";
    QTest::newRow("letter two") << (QStringList(import) << u"--letter"_s << u"AB"_s)
                                << "--letter must be one letter";
    QTest::newRow("headway negative")
        << (QStringList(import) << u"--headway"_s << u"-1"_s) << "--headway needs a whole number";
    QTest::newRow("headway fraction")
        << (QStringList(import) << u"--headway"_s << u"1.5"_s) << "--headway needs a whole number";
    QTest::newRow("unknown import option")
        << (QStringList(import) << u"--speed"_s << u"35"_s) << "unknown option --speed";
}

void tst_CommandLineTool::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = runCli(arguments);
    QCOMPARE(r.code, int(ExitCode::UsageError));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

void tst_CommandLineTool::optionSpellings_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed"); // options and arguments as parsed, or the error

    QTest::newRow("two values") << QStringList{u"--range"_s, u"10"_s, u"100"_s} << "range=10|100";
    QTest::newRow("two values joined") << QStringList{u"--range"_s, u"10,100"_s} << "range=10|100";
    QTest::newRow("two values inline") << QStringList{u"--range=10,100"_s} << "range=10|100";
    QTest::newRow("value with a dash")
        << QStringList{u"--location"_s, u"-Main-"_s, u"-"_s} << "location=-Main- ; -";
    QTest::newRow("empty value") << QStringList{u"--location="_s} << "location= ; ";
    QTest::newRow("options end") << QStringList{u"--"_s, u"--location"_s, u"x"_s}
                                 << " ; --location x";
    QTest::newRow("options after the argument")
        << QStringList{u"file"_s, u"--yes"_s} << "yes= ; file";
    QTest::newRow("flag with a value") << QStringList{u"--yes=1"_s} << "--yes takes no value";
    QTest::newRow("missing value")
        << QStringList{u"--yes"_s, u"--location"_s} << "--location needs TEXT";
    QTest::newRow("short option") << QStringList{u"-x"_s} << "unknown option -x";
    QTest::newRow("unknown after a value")
        << QStringList{u"--location"_s, u"-x"_s, u"--bogus=1"_s} << "unknown option --bogus";
    QTest::newRow("twice") << QStringList{u"--yes"_s, u"--yes"_s} << "--yes given twice";
}

void tst_CommandLineTool::optionSpellings()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    const QList<OptionSpec> specs = {
        {QStringLiteral("location"), 1, QStringLiteral("TEXT"), QString()},
        {QStringLiteral("range"), 2, QStringLiteral("LOW HIGH"), QString()},
        {QStringLiteral("yes"), 0, QString(), QString()},
    };
    const ParsedArguments p = parseArguments(arguments, specs);
    if (!p.error.isEmpty()) {
        QCOMPARE(p.error, parsed);
        return;
    }
    QStringList options;
    for (auto it = p.options.cbegin(); it != p.options.cend(); ++it)
        options << it.key() + QLatin1Char('=') + it.value().join(QLatin1Char('|'));
    const QString text = options.join(QLatin1Char(' ')) +
                         (p.positional.isEmpty() && !parsed.contains(QLatin1Char(';'))
                              ? QString()
                              : QStringLiteral(" ; ") + p.positional.join(QLatin1Char(' ')));
    QCOMPARE(text, parsed);
}

void tst_CommandLineTool::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("general") << QStringList{u"--help"_s} << "Usage: roadtally-cli <command>";
    QTest::newRow("help import") << QStringList{u"help"_s, u"import"_s}
                                 << "Usage: roadtally-cli import [--folder DIR] FILE";
    QTest::newRow("init") << QStringList{u"init"_s, u"--help"_s}
                          << "Usage: roadtally-cli init [--folder DIR]";
    QTest::newRow("import") << QStringList{u"import"_s, u"-h"_s} << "--range LOW HIGH";
    QTest::newRow("list") << QStringList{u"list"_s, u"--help"_s}
                          << "Usage: roadtally-cli list [--folder DIR]";
}

void tst_CommandLineTool::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const Run r = runProgram(arguments);
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(expected), qPrintable(r.out));
}

void tst_CommandLineTool::initRefusesToOverwrite()
{
    const QString folder = m_dir.filePath(QStringLiteral("init/program folder"));
    Run r = runProgram({u"init"_s, u"--folder"_s, folder});
    QCOMPARE(r.code, 0);
    const QString db = databasePathIn(folder);
    QVERIFY(QFile::exists(db));
    QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("ov97.emp"))));
    QCOMPARE(count(db, QStringLiteral("Radar")), 1);
    QCOMPARE(count(db, QStringLiteral("Agency")), 1);
    QCOMPARE(count(db, QStringLiteral("Header")), 0);

    // A stored survey survives a second init.
    QCOMPARE(runProgram({u"import"_s, u"--folder"_s, folder, m_sample, u"--location"_s, u"Elm"_s,
                         u"--direction"_s, u"East"_s, u"--zone"_s, u"Residential"_s})
                 .code,
             0);
    const QByteArray before = fileHash(db);
    r = runProgram({u"init"_s, u"--folder"_s, folder});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("already exists")), qPrintable(r.err));
    QCOMPARE(fileHash(db), before);
    QCOMPARE(count(db, QStringLiteral("Header")), 1);

    // The program matches file names without regard to case: ov97.MDB counts too.
    const QString other = m_dir.filePath(QStringLiteral("init/other"));
    QVERIFY(QDir().mkpath(other));
    QFile f(QDir(other).filePath(QStringLiteral("ov97.MDB")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();
    QCOMPARE(runProgram({u"init"_s, u"--folder"_s, other}).code, 1);
    QVERIFY(!QFile::exists(databasePathIn(other)));
}

void tst_CommandLineTool::importAndList()
{
    const QString folder = m_dir.filePath(QStringLiteral("list"));
    QCOMPARE(runProgram({u"init"_s, u"--folder"_s, folder}).code, 0);
    Run r = runProgram({u"list"_s, u"--folder"_s, folder});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QString());

    const QStringList import{u"import"_s,     u"--folder"_s,      folder,           m_sample,
                             u"--location"_s, u"Main St & 5th"_s, u"--direction"_s, u"North"_s,
                             u"--zone"_s,     u"School"_s};
    r = runProgram(import);
    QCOMPARE(r.code, 0);
    const QString db = databasePathIn(folder);
    const qint64 stored = count(db, QStringLiteral("Veh_Data"));
    QVERIFY(stored > 700 && stored < 800);
    QCOMPARE(r.out, QStringLiteral("Batch number: 052425-A\nVehicles stored: %1\n").arg(stored));
    QCOMPARE(r.err, QString());

    // The same batch number again: the program's message, nothing written.
    const QStringList before = dump(db);
    r = runProgram(import);
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err, Duplicate + QLatin1Char('\n'));
    QCOMPARE(r.out, QString());
    QCOMPARE(dump(db), before);

    r = runProgram(QStringList(import) << u"--letter"_s << u"b"_s);
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith(QStringLiteral("Batch number: 052425-B\n")));

    r = runProgram({u"list"_s, u"--folder"_s, folder});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, QStringLiteral("052425-A         05/24/2025     13:45        Main St & 5th\n"
                                   "052425-B         05/24/2025     13:45        Main St & 5th\n"));
    QCOMPARE(
        CommandLineTool::surveyLine(u"052425-A"_s, u"05/24/2025"_s, u"13:45"_s, u"Main St & 5th"_s),
        r.out.split(QLatin1Char('\n')).first());
}

void tst_CommandLineTool::importCorrections()
{
    const QString folder = m_dir.filePath(QStringLiteral("corrections"));
    QCOMPARE(runProgram({u"init"_s, u"--folder"_s, folder}).code, 0);
    const Run r = runProgram({u"import"_s,
                              u"--folder"_s,
                              folder,
                              m_sample,
                              u"--location"_s,
                              u"Ring Rd"_s,
                              u"--direction"_s,
                              u"South West"_s,
                              u"--zone"_s,
                              u"Parks & Rec"_s,
                              u"--unit"_s,
                              u"KPH"_s,
                              u"--posted-speed"_s,
                              u"050"_s,
                              u"--start-date"_s,
                              u"12/31/2025"_s,
                              u"--start-time"_s,
                              u"23:30"_s,
                              u"--batch"_s,
                              u"123125-Z"_s,
                              u"--location-code"_s,
                              u"77777"_s,
                              u"--range"_s,
                              u"20"_s,
                              u"60"_s,
                              u"--headway=2"_s,
                              u"--letter"_s,
                              u"C"_s});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("Batch number: 123125-Z\n")), qPrintable(r.out));

    DatabaseSession s(databasePathIn(folder));
    s.requireOpen();
    QSqlQuery h = s.exec(QStringLiteral("SELECT Batch_Number, Location_Code, Location, Date, Time, "
                                        "Violation_Alert, Radar_Mode, Direction, Zone "
                                        "FROM Header"));
    QVERIFY(h.next());
    QStringList header;
    for (int i = 0; i < 9; ++i)
        header << h.value(i).toString();
    QCOMPARE(header,
             QStringList({u"123125-Z"_s, u"77777"_s, u"Ring Rd"_s, u"12/31/2025"_s, u"23:30"_s,
                          u"050"_s, u"KPH"_s, u"South West"_s, u"Parks & Rec"_s}));
    QCOMPARE(s.scalar(QStringLiteral("SELECT radar_mode FROM Radar")).toString(),
             QStringLiteral("KPH"));
    // The range and headway narrowed what was stored.
    QCOMPARE(
        s.scalar(QStringLiteral("SELECT COUNT(*) FROM Veh_Data WHERE Speed < 20 OR Speed > 60"))
            .toInt(),
        0);
    QVERIFY(s.scalar(QStringLiteral("SELECT MIN(Speed) FROM Veh_Data")).toInt() >= 20);
    // KPH: 93 speed rows; the survey starts at 23:30 on the corrected date.
    QCOMPARE(s.scalar(QStringLiteral("SELECT COUNT(*) FROM Speed")).toInt(), 93);
    QCOMPARE(s.scalar(QStringLiteral("SELECT Start_Date FROM Summary")).toString(),
             QStringLiteral("12/31/25"));
    QCOMPARE(s.scalar(QStringLiteral("SELECT MIN(Date) FROM Time_15")).toString(),
             QStringLiteral("01/01/26"));
}

void tst_CommandLineTool::importFailures_data()
{
    QTest::addColumn<QStringList>("arguments"); // after --folder DIR
    QTest::addColumn<QString>("message");

    const QString sample = m_dir.filePath(QStringLiteral("main street.ovd"));
    QTest::newRow("no location") << QStringList{sample, u"--direction"_s, u"North"_s, u"--zone"_s,
                                                u"School"_s}
                                 << "You must input a valid location!";
    QTest::newRow("empty location")
        << QStringList{sample,     u"--location"_s, u""_s,      u"--direction"_s,
                       u"North"_s, u"--zone"_s,     u"School"_s}
        << "You must input a valid location!";
    QTest::newRow("no direction") << QStringList{sample, u"--location"_s, u"L"_s, u"--zone"_s,
                                                 u"School"_s}
                                  << "You must select the direction of traffic in the survey!";
    QTest::newRow("no zone") << QStringList{sample, u"--location"_s, u"L"_s, u"--direction"_s,
                                            u"North"_s}
                             << "You must select the survey zone!";
    QTest::newRow("missing file") << QStringList{m_dir.filePath(u"nothing.ovd"_s),
                                                 u"--location"_s,
                                                 u"L"_s,
                                                 u"--direction"_s,
                                                 u"N"_s,
                                                 u"--zone"_s,
                                                 u"Z"_s}
                                  << "Radar text file does not exist, you must create one first";
    QTest::newRow("not a date") << QStringList{sample,         u"--location"_s,
                                               u"L"_s,         u"--direction"_s,
                                               u"N"_s,         u"--zone"_s,
                                               u"Z"_s,         u"--start-date"_s,
                                               u"02/30/2025"_s}
                                << "The survey data has a NON-date element";
    QTest::newRow("not a data file")
        << QStringList{QStringLiteral(ROADTALLY_TEST_DATA "/raw/README.md"),
                       u"--location"_s,
                       u"L"_s,
                       u"--direction"_s,
                       u"N"_s,
                       u"--zone"_s,
                       u"Z"_s}
        << "This file has no survey header: it is not a radar data file.";
    QTest::newRow("a folder")
        << QStringList{m_dir.path(), u"--location"_s, u"L"_s, u"--direction"_s,
                       u"N"_s,       u"--zone"_s,     u"Z"_s}
        << QStringLiteral("Radar text file %1 cannot be read: it is a folder, not a file.")
               .arg(QDir::toNativeSeparators(m_dir.path()));
    QTest::newRow("a device")
        << QStringList{u"/dev/zero"_s, u"--location"_s, u"L"_s, u"--direction"_s,
                       u"N"_s,         u"--zone"_s,     u"Z"_s}
        << "Radar text file /dev/zero cannot be read: it is a device or a pipe, not a file.";
    QTest::newRow("location of blanks")
        << QStringList{sample,     u"--location"_s, u"   "_s,   u"--direction"_s,
                       u"North"_s, u"--zone"_s,     u"School"_s}
        << "You must input a valid location!";
    QTest::newRow("direction of blanks")
        << QStringList{sample,  u"--location"_s, u"L"_s,     u"--direction"_s,
                       u"  "_s, u"--zone"_s,     u"School"_s}
        << "You must select the direction of traffic in the survey!";
    QTest::newRow("zone of blanks")
        << QStringList{sample,     u"--location"_s, u"L"_s, u"--direction"_s,
                       u"North"_s, u"--zone"_s,     u" "_s}
        << "You must select the survey zone!";
    // No longer than the windows take, with the limit named.
    QTest::newRow("location of 81")
        << QStringList{sample,           u"--location"_s, QString(81, QLatin1Char('L')),
                       u"--direction"_s, u"North"_s,      u"--zone"_s,
                       u"School"_s}
        << "The survey location can be at most 80 characters long: shorten it and try again.";
    QTest::newRow("direction of 31")
        << QStringList{sample,
                       u"--location"_s,
                       u"L"_s,
                       u"--direction"_s,
                       QString(31, QLatin1Char('D')),
                       u"--zone"_s,
                       u"School"_s}
        << "The direction of travel can be at most 30 characters long: shorten it and try again.";
    QTest::newRow("zone of 31")
        << QStringList{sample,
                       u"--location"_s,
                       u"L"_s,
                       u"--direction"_s,
                       u"North"_s,
                       u"--zone"_s,
                       QString(31, QLatin1Char('Z'))}
        << u"The zone can be at most 30 characters long: shorten it and try "_s
           "again.";
    QTest::newRow("an empty file") << QStringList{m_dir.filePath(QStringLiteral("empty.ovd")),
                                                  u"--location"_s,
                                                  u"L"_s,
                                                  u"--direction"_s,
                                                  u"N"_s,
                                                  u"--zone"_s,
                                                  u"Z"_s}
                                   << u"The file is empty."_s;
}

void tst_CommandLineTool::importFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const QString folder =
        m_dir.filePath(QStringLiteral("failures/%1").arg(QLatin1String(QTest::currentDataTag())));
    QCOMPARE(runProgram({u"init"_s, u"--folder"_s, folder}).code, 0);
    // One good survey first: a failing import leaves it, and everything else, as it was.
    const QStringList good{u"import"_s,     u"--folder"_s, folder,           m_sample,
                           u"--location"_s, u"L"_s,        u"--direction"_s, u"North"_s,
                           u"--zone"_s,     u"School"_s,   u"--letter"_s,    u"Y"_s};
    QCOMPARE(runProgram(good).code, 0);
    const QString db = databasePathIn(folder);
    const QStringList before = dump(db);
    QVERIFY(before.size() > 700);

    const Run r = runProgram(QStringList{u"import"_s, u"--folder"_s, folder} + arguments);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith(message + QLatin1Char('\n')), qPrintable(r.err));
    QCOMPARE(r.out, QString());
    QCOMPARE(dump(db), before);
}

void tst_CommandLineTool::importDatabaseFailures_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("reason");
    QTest::newRow("locked")
        << "locked"
        << "another program or another import is using it, and it was still locked after "
           "0.3 seconds";
    QTest::newRow("read-only") << "read-only"
                               << "it is read-only (the file, or its folder, cannot be written)";
    QTest::newRow("damaged") << "damaged"
                             << "it is damaged";
}

void tst_CommandLineTool::importDatabaseFailures()
{
    // A fault of the database is told as one, with the database's path: never
    // as a data file to download again.
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    const QString folder = m_dir.filePath(
        QStringLiteral("database failures/%1").arg(QLatin1String(QTest::currentDataTag())));
    QCOMPARE(runProgram({u"init"_s, u"--folder"_s, folder}).code, 0);
    const QStringList good{u"import"_s,     u"--folder"_s, folder,           m_sample,
                           u"--location"_s, u"L"_s,        u"--direction"_s, u"North"_s,
                           u"--zone"_s,     u"School"_s,   u"--wait"_s,      u"0.3"_s};
    QCOMPARE(runProgram(good).code, 0);
    const QString db = databasePathIn(folder);
    if (trouble == QLatin1String("read-only"))
        QVERIFY(test::makeReadOnly(db));
    else if (trouble == QLatin1String("damaged"))
        QVERIFY(test::damageTable(db, "Veh_Data"));
    const QByteArray before = test::fileHash(db);
    // Taken last: closing any other handle of the file in this process would
    // drop the lock.
    std::unique_ptr<test::WriteLock> lock;
    if (trouble == QLatin1String("locked")) {
        lock = std::make_unique<test::WriteLock>(db);
        QVERIFY(lock->isHeld());
    }

    const Run r = runProgram(QStringList(good) << u"--letter"_s << u"B"_s);
    QCOMPARE(r.code, 1);
    QCOMPARE(r.out, QString());
    const QString expected =
        QStringLiteral("The survey database OV97.mdb could not be written: %1. Nothing was "
                       "imported.\n\nDatabase: %2\n\n")
            .arg(reason, QDir::toNativeSeparators(db));
    QVERIFY2(r.err.startsWith(expected), qPrintable(r.err));
    QVERIFY(!r.err.contains(DataErrors));
    lock.reset();
    QCOMPARE(test::fileHash(db), before);
}

void tst_CommandLineTool::concurrentImports()
{
    // Two scripted imports into one folder at the same moment: the second waits
    // for the first and both surveys are stored, every time.
    SampleOptions o;
    o.vehicles = 6000;
    o.startDate = QDate(2025, 5, 28);
    const QString file = m_dir.filePath(QStringLiteral("concurrent.ovd"));
    QCOMPARE(writeSampleSurvey(generateSampleSurvey(o), file), QString());
    for (int round = 0; round < 10; ++round) {
        const QString folder = m_dir.filePath(QStringLiteral("concurrent/%1").arg(round));
        QCOMPARE(runProgram({u"init"_s, u"--folder"_s, folder}).code, 0);
        QList<QProcess *> imports;
        for (const char *letter : {"A", "B"}) {
            auto *p = new QProcess(this);
            p->start(QStringLiteral(ROADTALLY_CLI),
                     {u"import"_s, u"--folder"_s, folder, file, u"--location"_s, u"Elm"_s,
                      u"--direction"_s, u"North"_s, u"--zone"_s, u"School"_s, u"--letter"_s,
                      QString::fromLatin1(letter)});
            imports << p;
        }
        for (QProcess *p : std::as_const(imports)) {
            QVERIFY(p->waitForFinished(60000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                     qPrintable(QString::fromLocal8Bit(p->readAllStandardError())));
            delete p;
        }
        const QString db = databasePathIn(folder);
        QCOMPARE(count(db, QStringLiteral("Header")), 2);
        QCOMPARE(count(db, QStringLiteral("Summary")), 2);
        // The survey stored last holds Veh_Data, whichever of the two it was.
        QVERIFY(count(db, QStringLiteral("Veh_Data")) > 5000);
    }
}

void tst_CommandLineTool::noDatabase()
{
    // The program never makes a database on its own: import and list refuse.
    const QString folder = m_dir.filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(folder));
    Run r = runProgram({u"import"_s, u"--folder"_s, folder, m_sample, u"--location"_s, u"L"_s,
                        u"--direction"_s, u"N"_s, u"--zone"_s, u"Z"_s});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("there is no survey database")), qPrintable(r.err));
    r = runProgram({u"list"_s, u"--folder"_s, folder});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("there is no survey database")), qPrintable(r.err));
    QVERIFY(!QFile::exists(databasePathIn(folder)));
}

void tst_CommandLineTool::defaultFolder()
{
    // Without --folder every command works in the survey folder: here the one
    // ROADTALLY_FOLDER names. Scripts see no progress lines.
    const QString folder = m_dir.filePath(QStringLiteral("from environment"));
    qputenv("ROADTALLY_FOLDER", QFile::encodeName(folder));
    Run r = runProgram({u"--version"_s});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("roadtally-cli %1\n").arg(programVersion())),
             qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("survey folder ") + QDir::toNativeSeparators(folder)),
             qPrintable(r.out));
    r = runProgram({u"init"_s});
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(databasePathIn(folder)));
    r = runProgram({u"import"_s, m_sample, u"--location"_s, u"L"_s, u"--direction"_s, u"N"_s,
                    u"--zone"_s, u"Z"_s});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    r = runProgram({u"list"_s});
    qunsetenv("ROADTALLY_FOLDER");
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.trimmed().endsWith(QStringLiteral("13:45        L")), qPrintable(r.out));
}

QTEST_GUILESS_MAIN(tst_CommandLineTool)
#include "tst_CommandLineTool.moc"
