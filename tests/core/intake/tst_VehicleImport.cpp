#include "core/intake/ImportRunner.h"
#include "core/intake/VehicleImport.h"
#include "core/intake/VehicleRecordParser.h"
#include "core/store/Schema.h"
#include "core/text/TextPatterns.h"
#include "fixtures/DatabaseDump.h"
#include "fixtures/DatabaseTrouble.h"
#include "fixtures/RawTextBuilder.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUuid>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

using namespace roadtally;
using test::Record;

namespace {

// "100+50 103-60 104?70": offset, direction and speed of each record.
QList<Record> records(const QString &spec)
{
    QList<Record> out;
    for (const QString &item : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        qsizetype d = 0;
        while (item.at(d).isDigit())
            ++d;
        out.append(
            {item.left(d).toLongLong(), char(item.at(d).unicode()), item.mid(d + 1).toInt()});
    }
    return out;
}

ImportInput inputFor(const QString &rawText)
{
    ImportInput in;
    in.batchNumber = QStringLiteral("052401-A");
    in.locationCode = QStringLiteral("00020");
    in.location = QStringLiteral("Main Street");
    in.startDate = QStringLiteral("05/24/2001");
    in.startTime = QStringLiteral("13:45");
    in.postedSpeed = QStringLiteral("035");
    in.unit = QStringLiteral("MPH");
    in.direction = QStringLiteral("North");
    in.zone = QStringLiteral("School");
    in.rawText = rawText;
    return in;
}

// Runs one statement on the database file outside the program's own session.
QList<QVariantList> query(const QString &path, const QString &sql)
{
    QList<QVariantList> rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        if (!q.exec(sql))
            qWarning() << "query failed:" << sql;
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            rows << row;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QString storedOffsets(const QString &path)
{
    QStringList out;
    for (const QVariantList &row :
         query(path, QStringLiteral("SELECT [Offset] FROM [Veh_Data] ORDER BY rowid")))
        out << row[0].toString();
    return out.join(QLatin1Char(' '));
}

class Database
{
    QTemporaryDir m_dir;

public:
    Database() : path(m_dir.filePath(QStringLiteral("OV97.mdb")))
    {
        const QString error = createBlankDatabase(path);
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
    }
    QString path;
};

} // namespace

class tst_VehicleImport : public QObject
{
    Q_OBJECT

private slots:
    void acceptance_data();
    void acceptance();
    void clock_data();
    void clock();
    void storedRows();
    void lineBreaksInsideRecords();
    void lineBreakAtEveryPosition();
    void parser_data();
    void parser();
    void missingInputs_data();
    void missingInputs();
    void duplicateBatch_data();
    void duplicateBatch();
    void secondSurveyReplacesVehicles();
    void refusedInputs_data();
    void refusedInputs();
    void progressSteps();
    void runnerReportsOnItsOwnThread();
    void failureLeavesDatabaseAsItWas_data();
    void failureLeavesDatabaseAsItWas();
    void missingDatabase();
    void databaseFailures_data();
    void databaseFailures();
    void waitsForAnotherWriter();
    void storedSurveyText();
    void plainQueryPathStoresTheSameRows();
    void generatedSurveyMatchesIndependentCount();
};

void tst_VehicleImport::acceptance_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("headway");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("stored");

    QTest::newRow("gap of 50,000 accepted, 50,001 dropped with all after it")
        << "50000+50 100000+50 150001+50 150002+50 160000+50"
        << "0"
        << "10"
        << "100"
        << "50000 100000";
    QTest::newRow("first vehicle 50,001 after the start") << "50001+50 50002+50"
                                                          << "0"
                                                          << "10"
                                                          << "100"
                                                          << "";
    QTest::newRow("headway 4 measured from the last accepted") << "100+50 103+50 104+50 107+50"
                                                               << "4"
                                                               << "10"
                                                               << "100"
                                                               << "100 104";
    QTest::newRow("headway 0 keeps equal offsets") << "100+50 100-50 100?50"
                                                   << "0"
                                                   << "10"
                                                   << "100"
                                                   << "100 100 100";
    QTest::newRow("headway 2.5 rounds to 2") << "100+50 102+50"
                                             << "2.5"
                                             << "10"
                                             << "100"
                                             << "100 102";
    QTest::newRow("headway beyond any survey drops everything") << "0+50 100+50"
                                                                << "99999999999999999999"
                                                                << "10"
                                                                << "100"
                                                                << "";
    QTest::newRow("headway 3.5 rounds to 4") << "100+50 103+50 104+50"
                                             << "3.5"
                                             << "10"
                                             << "100"
                                             << "100 104";
    QTest::newRow("offset below the last accepted dropped") << "100+50 90+50 100+50 101+50"
                                                            << "0"
                                                            << "10"
                                                            << "100"
                                                            << "100 100 101";
    QTest::newRow("range 10 to 100 inclusive") << "1+9 2+10 3+100 4+101"
                                               << "0"
                                               << "10"
                                               << "100"
                                               << "2 3";
    QTest::newRow("dropped record leaves the last accepted offset") << "40000+5 60000+50"
                                                                    << "0"
                                                                    << "10"
                                                                    << "100"
                                                                    << "";
    QTest::newRow("KPH range 15 to 160") << "1+14 2+15 3+160 4+161"
                                         << "0"
                                         << "15"
                                         << "160"
                                         << "2 3";
    QTest::newRow("speed zero with low range 0") << "1+0 2+30 3+31"
                                                 << "0"
                                                 << "0"
                                                 << "30"
                                                 << "1 2";
}

void tst_VehicleImport::acceptance()
{
    QFETCH(QString, records);
    QFETCH(QString, headway);
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, stored);
    Database db;
    ImportInput in = inputFor(test::loadedText(::records(records)));
    in.headway = headway;
    in.speedMin = low;
    in.speedMax = high;
    const ImportResult r = importSurvey(db.path, in);
    QCOMPARE(r.outcome, ImportOutcome::Stored);
    QCOMPARE(storedOffsets(db.path), stored);
    QCOMPARE(r.storedVehicles, int(stored.split(QLatin1Char(' '), Qt::SkipEmptyParts).size()));
}

void tst_VehicleImport::clock_data()
{
    QTest::addColumn<QString>("startDate");
    QTest::addColumn<QString>("startTime");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");

    QTest::newRow("sample record") << "05/24/2001"
                                   << "13:45" << qint64(309) << "01:50:09 PM"
                                   << "05/24/01";
    QTest::newRow("minute carry") << "05/24/2001"
                                  << "13:45" << qint64(900) << "02:00:00 PM"
                                  << "05/24/01";
    QTest::newRow("86,399 at 00:00") << "05/24/2001"
                                     << "00:00" << qint64(86399) << "11:59:59 PM"
                                     << "05/24/01";
    QTest::newRow("86,400 at 00:00") << "05/24/2001"
                                     << "00:00" << qint64(86400) << "12:00:00 AM"
                                     << "05/25/01";
    QTest::newRow("23:30 + 1,800") << "05/24/2001"
                                   << "23:30" << qint64(1800) << "12:00:00 AM"
                                   << "05/25/01";
    QTest::newRow("23:30 + 5,400") << "05/24/2001"
                                   << "23:30" << qint64(5400) << "01:00:00 AM"
                                   << "05/25/01";
    QTest::newRow("noon") << "05/24/2001"
                          << "12:00" << qint64(0) << "12:00:00 PM"
                          << "05/24/01";
    QTest::newRow("minute and hour carry together") << "05/24/2001"
                                                    << "23:59" << qint64(60) << "12:00:00 AM"
                                                    << "05/25/01";
    QTest::newRow("year end") << "12/31/2001"
                              << "22:10" << qint64(7200) << "12:10:00 AM"
                              << "01/01/02";
    QTest::newRow("leap day") << "02/28/2004"
                              << "06:00" << qint64(86400) << "06:00:00 AM"
                              << "02/29/04";
    QTest::newRow("fourteen days") << "05/24/2001"
                                   << "13:45" << qint64(14 * 86400 + 59) << "01:45:59 PM"
                                   << "06/07/01";
    QTest::newRow("two-digit year date") << "05/24/01"
                                         << "13:45" << qint64(0) << "01:45:00 PM"
                                         << "05/24/01";
}

void tst_VehicleImport::clock()
{
    QFETCH(QString, startDate);
    QFETCH(QString, startTime);
    QFETCH(qint64, offset);
    QFETCH(QString, time);
    QFETCH(QString, date);
    // Vehicles every 40,000 s lead up to the offset, so the gap rule keeps it.
    QList<Record> list;
    for (qint64 o = 0; o + 40000 < offset; o += 40000)
        list.append({o, '+', 50});
    list.append({offset, '-', 50});
    Database db;
    ImportInput in = inputFor(test::loadedText(list));
    in.startDate = startDate;
    in.startTime = startTime;
    QCOMPARE(importSurvey(db.path, in).outcome, ImportOutcome::Stored);
    const auto rows =
        query(db.path, QStringLiteral("SELECT [Offset], [Time], [Date] FROM [Veh_Data] "
                                      "ORDER BY rowid DESC LIMIT 1"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0].toLongLong(), offset);
    QCOMPARE(rows[0][1].toString(), time);
    QCOMPARE(rows[0][2].toString(), date);
}

void tst_VehicleImport::storedRows()
{
    Database db;
    ImportInput in = inputFor(test::loadedText(records(u"309-82 313+96 320?80"_s)));
    in.unit = QStringLiteral("KPH");
    in.speedMin = QStringLiteral("15");
    in.speedMax = QStringLiteral("160");
    const ImportResult r = importSurvey(db.path, in);
    QCOMPARE(r.outcome, ImportOutcome::Stored);
    QCOMPARE(importMessage(r.outcome), QString());
    QCOMPARE(r.storedVehicles, 3);

    const auto veh =
        query(db.path, QStringLiteral("SELECT [Batch_Number], [Offset], typeof([Offset]), "
                                      "[Veh_Direction], [Speed], typeof([Speed]), [Time], "
                                      "[Date] FROM [Veh_Data] ORDER BY rowid"));
    QCOMPARE(veh.size(), 3);
    QCOMPARE(veh[0], (QVariantList{u"052401-A"_s, 309, u"integer"_s, u"-"_s, 82, u"integer"_s,
                                   u"01:50:09 PM"_s, u"05/24/01"_s}));
    QCOMPARE(veh[1][3].toString(), QStringLiteral("+"));
    QCOMPARE(veh[2][3].toString(), QStringLiteral("?"));

    const auto header = query(db.path, QStringLiteral("SELECT * FROM [Header]"));
    QCOMPARE(header.size(), 1);
    QCOMPARE(header[0], (QVariantList{u"052401-A"_s, u"00020"_s, u"Main Street"_s, u"05/24/2001"_s,
                                      u"13:45"_s, u"035"_s, u"KPH"_s, u"North"_s, u"School"_s}));
    const auto radar =
        query(db.path, QStringLiteral("SELECT [radar_mode], [Print_Name] FROM [Radar]"));
    QCOMPARE(radar.size(), 1);
    QCOMPARE(radar[0][0].toString(), QStringLiteral("KPH"));
    QCOMPARE(radar[0][1].toString(), QStringLiteral("0"));
}

void tst_VehicleImport::lineBreaksInsideRecords()
{
    const QList<Record> list = records(u"309-82 313+96 320+80 324+96 329+97 334-82"_s);
    const QString plain = test::loadedText(list);
    // CR LF between two digits of an offset, inside the direction field's record
    // and right after the header's "*".
    QString broken = plain;
    broken.replace(QStringLiteral("0000000313"), QStringLiteral("00000\r\n00313"));
    broken.replace(QStringLiteral(",+,080,"), QStringLiteral(",+\r\n,0\r\n80,"));
    broken.replace(QStringLiteral("*,,,,,"), QStringLiteral("*,,\r\n,,,"));
    QVERIFY(broken != plain);

    Database a, b;
    QCOMPARE(importSurvey(a.path, inputFor(plain)).outcome, ImportOutcome::Stored);
    QCOMPARE(importSurvey(b.path, inputFor(broken)).outcome, ImportOutcome::Stored);
    QCOMPARE(storedOffsets(a.path), QStringLiteral("309 313 320 324 329 334"));
    QCOMPARE(test::dumpDatabase(b.path), test::dumpDatabase(a.path));
}

// What the import would store from a raw text, without a database: every
// accepted record with its texts, or why the text cannot be imported.
static QStringList parsedRecords(const QString &rawText)
{
    QStringList out;
    try {
        const PreparedData data = prepareDataBlock(rawText);
        RecordRules rules;
        rules.startDate = QDate(2001, 5, 24);
        rules.startHour = 13;
        rules.startMinute = 45;
        parseVehicleRecords(data.view(), rules, [&](const Vehicle &v, const RecordTexts &t) {
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(v.offset)
                       .arg(t.direction.toString())
                       .arg(v.speed)
                       .arg(QString::fromLatin1(t.time, 11), QString::fromLatin1(t.date));
        });
    } catch (const ImportFailure &e) {
        out << QStringLiteral("error: ") + QString::fromLatin1(e.what());
    }
    return out;
}

void tst_VehicleImport::lineBreakAtEveryPosition()
{
    // A CR LF pair anywhere in the text, also inside the header block, next to
    // the end marks or in the five characters the cuts count, changes nothing.
    const QString plain = test::loadedText(records(u"309-82 313+96 320+80 324?96 329+97 334-82"_s));
    const QStringList expected = parsedRecords(plain);
    QCOMPARE(expected.size(), 6);
    for (qsizetype at = 0; at <= plain.size(); ++at) {
        // Between the CR and the LF of a pair a new pair would leave a CR and an LF.
        if (at > 0 && at < plain.size() && plain.at(at - 1) == QLatin1Char('\r') &&
            plain.at(at) == QLatin1Char('\n'))
            continue;
        QString broken = plain;
        broken.insert(at, QStringLiteral("\r\n"));
        QCOMPARE(parsedRecords(broken), expected);
    }
}

void tst_VehicleImport::parser_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("expected"); // "offset direction speed" per record, or "error"

    QTest::newRow("one record") << "0000000309,-,082,"
                                << "309 - 82";
    QTest::newRow("empty offset text refills its slot") << ",,0000000309,-,082,"
                                                        << "309 - 82";
    QTest::newRow("empty direction text refills its slot") << "0000000309,,,-,082,"
                                                           << "309 - 82";
    QTest::newRow("empty speed text is no whole number") << "0000000309,-,,082,"
                                                         << "error";
    QTest::newRow("incomplete last record ignored") << "0000000309,-,082,0000000313,+,"
                                                    << "309 - 82";
    QTest::newRow("field without a closing comma ignored") << "0000000309,-,082,0000000313,+,096"
                                                           << "309 - 82";
    QTest::newRow("blanks around numbers") << "     0000000320,-, 080 ,"
                                           << "320 - 80";
    QTest::newRow("direction kept as read") << "0000000309,+ ,082,"
                                            << "309 + 82";
    QTest::newRow("letter in offset") << "00000003x9,-,082,"
                                      << "error";
    QTest::newRow("sign in offset") << "+000000309,-,082,"
                                    << "error";
    QTest::newRow("decimal offset") << "0000000309.5,-,082,"
                                    << "error";
    QTest::newRow("decimal speed") << "0000000309,-,82.5,"
                                   << "error";
    QTest::newRow("blank offset") << "   ,-,082,"
                                  << "error";
    QTest::newRow("largest offset is no error") << "2147483647,+,050,"
                                                << "";
    QTest::newRow("offset 2,147,483,648") << "2147483648,+,050,"
                                          << "error";
    QTest::newRow("huge offset") << "99999999999999999999999,+,050,"
                                 << "error";
    QTest::newRow("empty data") << ""
                                << "";
    // CR LF pairs count as absent wherever they are; a CR or LF alone stays.
    QTest::newRow("CR LF inside an offset") << "00000\r\n00309,-,082,"
                                            << "309 - 82";
    QTest::newRow("CR LF as a whole field refills its slot") << "\r\n,0000000309,\r\n,-,082,"
                                                             << "309 - 82";
    QTest::newRow("CR LF in each field") << "\r\n0000000309\r\n,\r\n-\r\n,0\r\n82\r\n,"
                                         << "309 - 82";
    QTest::newRow("CR before a pair stays") << "0000000309,\r\r\n+,082,"
                                            << "309 \r+ 82";
    QTest::newRow("LF after a pair stays") << "0000000309,+\r\n\n,082,"
                                           << "309 +\n 82";
    QTest::newRow("LF CR is no pair") << "0000000309,\n\r,082,"
                                      << "309 \n\r 82";
}

void tst_VehicleImport::parser()
{
    QFETCH(QString, data);
    QFETCH(QString, expected);
    RecordRules rules;
    rules.startDate = QDate(2001, 5, 24);
    QStringList seen;
    try {
        parseVehicleRecords(data, rules, [&](const Vehicle &v, const RecordTexts &t) {
            // Blanks around a direction are shown trimmed; a CR or LF inside it as read.
            QString direction = t.direction.toString();
            while (direction.startsWith(QLatin1Char(' ')))
                direction.remove(0, 1);
            while (direction.endsWith(QLatin1Char(' ')))
                direction.chop(1);
            seen << QStringLiteral("%1 %2 %3").arg(v.offset).arg(direction).arg(v.speed);
        });
    } catch (const ImportFailure &) {
        seen = QStringList{QStringLiteral("error")};
    }
    QCOMPARE(seen.join(QLatin1Char(';')), expected);
}

void tst_VehicleImport::missingInputs_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("posted");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");

    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << "" << int(ImportOutcome::MissingLocation)
                               << "You must input a valid location!";
    QTest::newRow("direction first of the rest")
        << "Main"
        << ""
        << ""
        << "" << int(ImportOutcome::MissingDirection)
        << "You must select the direction of traffic in the survey!";
    QTest::newRow("zone") << "Main"
                          << "North"
                          << ""
                          << "" << int(ImportOutcome::MissingZone)
                          << "You must select the survey zone!";
    QTest::newRow("posted speed") << "Main"
                                  << "North"
                                  << "School"
                                  << "" << int(ImportOutcome::MissingPostedSpeed)
                                  << "You must input the posted speed limit of the survey!";
    QTest::newRow("only the location empty")
        << ""
        << "North"
        << "School"
        << "035" << int(ImportOutcome::MissingLocation) << "You must input a valid location!";
    // Blanks say no more than nothing.
    QTest::newRow("location of blanks")
        << "   "
        << "North"
        << "School"
        << "035" << int(ImportOutcome::MissingLocation) << "You must input a valid location!";
    QTest::newRow("direction of blanks")
        << "Main"
        << " \t "
        << "School"
        << "035" << int(ImportOutcome::MissingDirection)
        << "You must select the direction of traffic in the survey!";
    QTest::newRow("zone of blanks")
        << "Main"
        << "North"
        << "  "
        << "035" << int(ImportOutcome::MissingZone) << "You must select the survey zone!";
    QTest::newRow("posted speed of blanks")
        << "Main"
        << "North"
        << "School"
        << "   " << int(ImportOutcome::MissingPostedSpeed)
        << "You must input the posted speed limit of the survey!";
}

void tst_VehicleImport::missingInputs()
{
    QFETCH(QString, location);
    QFETCH(QString, direction);
    QFETCH(QString, zone);
    QFETCH(QString, posted);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    Database db;
    const QStringList before = test::dumpDatabase(db.path);
    ImportInput in = inputFor(test::loadedText(records(u"309-82"_s)));
    in.location = location;
    in.direction = direction;
    in.zone = zone;
    in.postedSpeed = posted;
    const ImportResult r = importSurvey(db.path, in);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(importMessage(r.outcome), message);
    QCOMPARE(test::dumpDatabase(db.path), before);
    // The checks come before the database is opened.
    QCOMPARE(int(importSurvey(db.path + QStringLiteral(".none"), in).outcome), outcome);
}

void tst_VehicleImport::duplicateBatch_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("duplicate");
    QTest::newRow("same") << "052401-A" << true;
    QTest::newRow("trailing blanks") << "052401-A   " << true;
    QTest::newRow("another letter") << "052401-B" << false;
    QTest::newRow("lower case letter") << "052401-a" << false;
}

void tst_VehicleImport::duplicateBatch()
{
    QFETCH(QString, second);
    QFETCH(bool, duplicate);
    Database db;
    QCOMPARE(importSurvey(db.path, inputFor(test::loadedText(records(u"309-82 313+96"_s)))).outcome,
             ImportOutcome::Stored);
    const QStringList before = test::dumpDatabase(db.path);
    ImportInput in = inputFor(test::loadedText(records(u"400+50"_s)));
    in.batchNumber = second;
    in.unit = QStringLiteral("KPH");
    const ImportResult r = importSurvey(db.path, in);
    if (duplicate) {
        QCOMPARE(r.outcome, ImportOutcome::DuplicateBatch);
        QCOMPARE(
            importMessage(r.outcome),
            QStringLiteral("Duplicate Batch Number found. Select a higher letter for the Batch "
                           "Number and try again."));
        QCOMPARE(test::dumpDatabase(db.path), before);
    } else {
        QCOMPARE(r.outcome, ImportOutcome::Stored);
        QCOMPARE(storedOffsets(db.path), QStringLiteral("400"));
    }
}

void tst_VehicleImport::secondSurveyReplacesVehicles()
{
    Database db;
    QCOMPARE(importSurvey(db.path, inputFor(test::loadedText(records(u"309-82 313+96"_s)))).outcome,
             ImportOutcome::Stored);
    const auto countOf = [&](const QString &table, const QString &batch) {
        return query(db.path,
                     QStringLiteral("SELECT count(*) FROM [%1] WHERE [Batch_Number] = '%2'")
                         .arg(table, batch))[0][0]
            .toInt();
    };
    QMap<QString, int> firstRows;
    for (const char *t : {"Header", "Summary", "Speed", "Speed_Profile", "Time_15"})
        firstRows[QString::fromLatin1(t)] =
            countOf(QString::fromLatin1(t), QStringLiteral("052401-A"));

    ImportInput in = inputFor(test::loadedText(records(u"500+40 501-41 502+42"_s)));
    in.batchNumber = QStringLiteral("052401-B");
    QCOMPARE(importSurvey(db.path, in).outcome, ImportOutcome::Stored);
    QCOMPARE(storedOffsets(db.path), QStringLiteral("500 501 502"));
    QCOMPARE(countOf(QStringLiteral("Veh_Data"), QStringLiteral("052401-A")), 0);
    for (auto it = firstRows.cbegin(); it != firstRows.cend(); ++it)
        QCOMPARE(countOf(it.key(), QStringLiteral("052401-A")), it.value());
    QCOMPARE(firstRows[QStringLiteral("Header")], 1);
    QVERIFY(firstRows[QStringLiteral("Summary")] == 1);
}

void tst_VehicleImport::refusedInputs_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("location");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    const QString noUnit = QStringLiteral("You must select the radar mode setting: MPH or KPH!");
    // A survey without its unit has no speed table and no display scheme: it
    // is refused as any missing input is.
    QTest::newRow("no unit") << "" << 10 << 5 << 6 << int(ImportOutcome::MissingUnit) << noUnit;
    QTest::newRow("unit in small letters")
        << "mph" << 10 << 5 << 6 << int(ImportOutcome::MissingUnit) << noUnit;
    QTest::newRow("another unit") << "km/h" << 10 << 5 << 6 << int(ImportOutcome::MissingUnit)
                                  << noUnit;
    QTest::newRow("location of 80 is kept") << "MPH" << 80 << 30 << 30 << -1 << QString();
    QTest::newRow("location of 81")
        << "KPH" << 81 << 30 << 30 << int(ImportOutcome::LocationTooLong)
        << "The survey location can be at most 80 characters long: shorten it and try again.";
    QTest::newRow("direction of 31")
        << "MPH" << 80 << 31 << 30 << int(ImportOutcome::DirectionTooLong)
        << "The direction of travel can be at most 30 characters long: shorten it and try again.";
    QTest::newRow("zone of 31")
        << "MPH" << 80 << 30 << 31 << int(ImportOutcome::ZoneTooLong)
        << "The zone can be at most 30 characters long: shorten it and try again.";
}

void tst_VehicleImport::refusedInputs()
{
    QFETCH(QString, unit);
    QFETCH(int, location);
    QFETCH(int, direction);
    QFETCH(int, zone);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    Database db;
    const QStringList before = test::dumpDatabase(db.path);
    ImportInput in = inputFor(test::loadedText(records(u"309-82 313+96"_s)));
    in.unit = unit;
    in.location = QString(location, QLatin1Char('L'));
    in.direction = QString(direction, QLatin1Char('D'));
    in.zone = QString(zone, QLatin1Char('Z'));
    const ImportResult r = importSurvey(db.path, in);
    if (outcome < 0) {
        QCOMPARE(r.outcome, ImportOutcome::Stored);
        QCOMPARE(query(db.path, QStringLiteral("SELECT length([Location]), length([Direction]), "
                                               "length([Zone]) FROM [Header]"))[0],
                 (QVariantList{location, direction, zone}));
        return;
    }
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(importMessage(r), message);
    QCOMPARE(test::dumpDatabase(db.path), before);
}

void tst_VehicleImport::progressSteps()
{
    Database db;
    QList<int> steps;
    const ImportResult r = importSurvey(db.path, inputFor(test::loadedText(records(u"309-82"_s))),
                                        [&](int p) { steps << p; });
    QCOMPARE(r.outcome, ImportOutcome::Stored);
    QCOMPARE(steps, (QList<int>{5, 25, 38, 50, 75, 90, 100}));
}

void tst_VehicleImport::runnerReportsOnItsOwnThread()
{
    Database db;
    ImportRunner runner;
    QList<int> steps;
    QList<ImportResult> results;
    connect(&runner, &ImportRunner::progressed, this, [&](int p) {
        QCOMPARE(QThread::currentThread(), qApp->thread());
        steps << p;
    });
    connect(&runner, &ImportRunner::finished, this, [&](const ImportResult &r) {
        QVERIFY(!runner.isRunning());
        results << r;
    });
    const ImportInput in = inputFor(test::loadedText(records(u"309-82 313+96 320+80"_s)));
    QVERIFY(runner.start(db.path, in));
    QVERIFY(runner.isRunning());
    QVERIFY(!runner.start(db.path, in)); // one import at a time
    QTRY_COMPARE(results.size(), 1);
    // Every step arrived, and before the result.
    QCOMPARE(steps, (QList<int>{5, 25, 38, 50, 75, 90, 100}));
    QCOMPARE(results[0].outcome, ImportOutcome::Stored);
    QCOMPARE(results[0].storedVehicles, 3);

    // A failure comes back the same way, and the runner takes the next import.
    QVERIFY(runner.start(db.path, in));
    QTRY_COMPARE(results.size(), 2);
    QCOMPARE(results[1].outcome, ImportOutcome::DuplicateBatch);
}

void tst_VehicleImport::failureLeavesDatabaseAsItWas_data()
{
    QTest::addColumn<QString>("rawText");
    QTest::addColumn<QString>("startDate");
    QTest::addColumn<QString>("startTime");
    QTest::addColumn<QString>("sqlBefore"); // damage done to the database first
    QTest::addColumn<int>("outcome");

    const QString good = test::loadedText(records(u"309-82 313+96 320+80"_s));
    const QString header = test::sampleHeader() + test::headerEnd();
    const int errors = int(ImportOutcome::DataErrors);
    const int database = int(ImportOutcome::DatabaseFailure);

    QTest::newRow("start date is no date") << good << "13/45/2001"
                                           << "13:45"
                                           << "" << int(ImportOutcome::NonDate);
    QTest::newRow("start date is text") << good << "Tuesday"
                                        << "13:45"
                                        << "" << int(ImportOutcome::NonDate);
    QTest::newRow("start date is no date, no complete record")
        << header + QStringLiteral("++,,+*") << "13/45/2001"
        << "13:45"
        << "" << errors;
    QTest::newRow("no end mark") << test::rawFile(records(u"309-82 313+96"_s)) << "05/24/2001"
                                 << "13:45"
                                 << "" << errors;
    QTest::newRow("no star at all")
        << test::sampleHeader() + QStringLiteral("0000000309,-,082,") << "05/24/2001"
        << "13:45"
        << "" << errors;
    QTest::newRow("two + before the end mark")
        << header + QStringLiteral(
                        "0000000309,+,082,0000000310,-,082,0000000311,+,082,0000000312,*,082,")
        << "05/24/2001"
        << "13:45"
        << "" << errors;
    QTest::newRow("non-numeric offset")
        << test::loadedText(records(u"309-82 313+96"_s))
               .replace(QStringLiteral("0000000313"), QStringLiteral("00000003l3"))
        << "05/24/2001"
        << "13:45"
        << "" << errors;
    QTest::newRow("offset 2,147,483,648")
        << test::loadedText(records(u"309-82 2147483648+96"_s)) << "05/24/2001"
        << "13:45"
        << "" << errors;
    QTest::newRow("non-numeric speed")
        << test::loadedText(records(u"309-82 313+96"_s))
               .replace(QStringLiteral(",+,096,"), QStringLiteral(",+,O96,"))
        << "05/24/2001"
        << "13:45"
        << "" << errors;
    QTest::newRow("start time is no time") << good << "05/24/2001"
                                           << "25:00"
                                           << "" << errors;
    // Faults of the database, not of the data file.
    QTest::newRow("statistics table missing") << good << "05/24/2001"
                                              << "13:45"
                                              << "DROP TABLE [Time_15]" << database;
    QTest::newRow("summary table missing") << good << "05/24/2001"
                                           << "13:45"
                                           << "DROP TABLE [Summary]" << database;
    QTest::newRow("no Radar row") << good << "05/24/2001"
                                  << "13:45"
                                  << "DELETE FROM [Radar]" << database;
}

void tst_VehicleImport::failureLeavesDatabaseAsItWas()
{
    QFETCH(QString, rawText);
    QFETCH(QString, startDate);
    QFETCH(QString, startTime);
    QFETCH(QString, sqlBefore);
    QFETCH(int, outcome);

    // A database that already holds a survey, with its vehicles in Veh_Data.
    Database db;
    QCOMPARE(importSurvey(db.path, inputFor(test::loadedText(records(u"100+50 200-60 300+70"_s))))
                 .outcome,
             ImportOutcome::Stored);
    if (!sqlBefore.isEmpty())
        query(db.path, sqlBefore);
    const QStringList before = test::dumpDatabase(db.path);
    QVERIFY(before.filter(QStringLiteral("Veh_Data|")).size() == 3 ||
            sqlBefore.contains(u"Radar"_s));

    ImportInput in = inputFor(rawText);
    in.batchNumber = QStringLiteral("052401-B");
    in.startDate = startDate;
    in.startTime = startTime;
    in.unit = QStringLiteral("KPH");
    const ImportResult r = importSurvey(db.path, in);
    QCOMPARE(int(r.outcome), outcome);
    QCOMPARE(r.storedVehicles, 0);
    if (r.outcome == ImportOutcome::NonDate)
        QCOMPARE(importMessage(r.outcome),
                 QStringLiteral("The survey data has a NON-date element"));
    else if (r.outcome == ImportOutcome::DataErrors)
        QCOMPARE(
            importMessage(r),
            QStringLiteral("This data file has errors and cannot be processed - download another "
                           "data file to process"));
    else
        QVERIFY(importMessage(r).startsWith(
            QStringLiteral("The survey database OV97.mdb could not be written: ")));
    if (r.outcome != ImportOutcome::NonDate)
        QVERIFY(!r.detail.isEmpty());
    QCOMPARE(test::dumpDatabase(db.path), before);
}

void tst_VehicleImport::missingDatabase()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OV97.mdb"));
    const ImportResult r = importSurvey(path, inputFor(test::loadedText(records(u"309-82"_s))));
    QCOMPARE(r.outcome, ImportOutcome::DatabaseFailure);
    QCOMPARE(r.fault, DatabaseFault::Missing);
    QVERIFY(r.detail.contains(QStringLiteral("OV97.mdb")));
    QVERIFY(importMessage(r).contains(QDir::toNativeSeparators(path)));
    QVERIFY(importMessage(r).contains(QStringLiteral("it does not exist")));
    QVERIFY(!QFile::exists(path)); // never created
}

void tst_VehicleImport::databaseFailures_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("reason"); // what the message says is wrong

    QTest::newRow("locked by another writer")
        << "locked" << int(DatabaseFault::Busy)
        << "another program or another import is using it, and it was still locked after 0.3 "
           "seconds";
    QTest::newRow("read-only") << "read-only" << int(DatabaseFault::ReadOnly)
                               << "it is read-only (the file, or its folder, cannot be written)";
    QTest::newRow("damaged vehicle table")
        << "damaged" << int(DatabaseFault::Damaged) << "it is damaged";
    QTest::newRow("a database of something else")
        << "foreign" << int(DatabaseFault::NotSurveyDatabase) << "it is not a survey database";
    QTest::newRow("a text file") << "text" << int(DatabaseFault::NotSurveyDatabase)
                                 << "it is not a survey database";
    QTest::newRow("a survey table missing")
        << "no table" << int(DatabaseFault::NotSurveyDatabase) << "it is not a survey database";
}

void tst_VehicleImport::databaseFailures()
{
    QFETCH(QString, trouble);
    QFETCH(int, fault);
    QFETCH(QString, reason);

    Database db;
    QCOMPARE(importSurvey(db.path, inputFor(test::loadedText(records(u"100+50 200-60 300+70"_s))))
                 .outcome,
             ImportOutcome::Stored);
    if (trouble == QLatin1String("read-only")) {
        QVERIFY(test::makeReadOnly(db.path));
    } else if (trouble == QLatin1String("damaged")) {
        QVERIFY(test::damageTable(db.path, "Veh_Data"));
    } else if (trouble == QLatin1String("foreign")) {
        QFile::remove(db.path);
        query(db.path, QStringLiteral("CREATE TABLE Recipes (Name TEXT)"));
    } else if (trouble == QLatin1String("text")) {
        QFile file(db.path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("Batch_Number,Location\r\n052401-A,Main Street\r\n");
    } else if (trouble == QLatin1String("no table")) {
        query(db.path, QStringLiteral("DROP TABLE [Speed_Profile]"));
    }
    const QByteArray before = test::fileHash(db.path);
    // Taken last: closing another handle of the file in this process would drop it.
    std::unique_ptr<test::WriteLock> lock;
    if (trouble == QLatin1String("locked")) {
        lock = std::make_unique<test::WriteLock>(db.path);
        QVERIFY(lock->isHeld());
    }

    ImportInput in = inputFor(test::loadedText(records(u"309-82 313+96 320+80"_s)));
    in.batchNumber = QStringLiteral("052401-B");
    ImportOptions options;
    options.busyTimeoutMs = 300;
    const ImportResult r = importSurvey(db.path, in, {}, options);
    QCOMPARE(r.outcome, ImportOutcome::DatabaseFailure);
    QCOMPARE(int(r.fault), fault);
    QCOMPARE(r.storedVehicles, 0);
    QVERIFY(!r.detail.isEmpty());

    // The database named with its path, why it failed, and that nothing was
    // imported; never the advice to download the data file again.
    const QString message = importMessage(r);
    QVERIFY2(
        message.startsWith(QStringLiteral("The survey database OV97.mdb could not be written: ") +
                           reason + QStringLiteral(". Nothing was imported.")),
        qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("Database: ") + QDir::toNativeSeparators(db.path)),
             qPrintable(message));
    QVERIFY(!message.contains(QStringLiteral("download another data file")));

    lock.reset();
    QCOMPARE(test::fileHash(db.path), before); // nothing written
}

void tst_VehicleImport::waitsForAnotherWriter()
{
    // Another writer holds the database for a moment: the import waits its turn
    // and then stores its survey.
    Database db;
    auto lock = std::make_unique<test::WriteLock>(db.path);
    QVERIFY(lock->isHeld());
    QElapsedTimer timer;
    timer.start();
    std::thread other([&lock] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        lock->release();
    });
    ImportOptions options;
    options.busyTimeoutMs = 5000;
    const ImportResult r =
        importSurvey(db.path, inputFor(test::loadedText(records(u"309-82 313+96"_s))), {}, options);
    other.join();
    QCOMPARE(r.outcome, ImportOutcome::Stored);
    QVERIFY(timer.elapsed() >= 350);
    QCOMPARE(storedOffsets(db.path), QStringLiteral("309 313"));
}

void tst_VehicleImport::storedSurveyText()
{
    ImportResult r;
    r.outcome = ImportOutcome::Stored;
    r.batchNumber = QStringLiteral("052825-A");
    r.storedVehicles = 6953;
    QCOMPARE(roadtally::storedSurveyText(r),
             QStringLiteral("Survey 052825-A stored: 6,953 vehicles"));
    r.storedVehicles = 1;
    QCOMPARE(roadtally::storedSurveyText(r), QStringLiteral("Survey 052825-A stored: 1 vehicle"));

    // The import says which survey it stored and how many vehicles.
    Database db;
    ImportInput in = inputFor(test::loadedText(records(u"309-82 313+96 320+80"_s)));
    in.batchNumber = QStringLiteral("052401-C");
    const ImportResult stored = importSurvey(db.path, in);
    QCOMPARE(stored.outcome, ImportOutcome::Stored);
    QCOMPARE(roadtally::storedSurveyText(stored),
             QStringLiteral("Survey 052401-C stored: 3 vehicles"));
}

void tst_VehicleImport::plainQueryPathStoresTheSameRows()
{
    // The bulk writers talk to the SQLite engine directly only when it is the
    // one behind Qt's driver; otherwise the plain query path stores every row.
    // Both must give the same database, row for row.
    QRandomGenerator rng(52825);
    QList<Record> list;
    qint64 o = 0;
    for (int i = 0; i < 3000; ++i) {
        o += rng.bounded(0, 200);
        list.append({o, "+-?"[rng.bounded(3)], int(rng.bounded(5, 95))});
    }
    const QString text = test::loadedText(list);
    QStringList dumps;
    for (const bool direct : {true, false}) {
        DatabaseSession::setDirectEngineAllowed(direct);
        Database db;
        {
            DatabaseSession session(db.path);
            QCOMPARE(session.sqliteHandle() != nullptr, direct);
        }
        const ImportResult r = importSurvey(db.path, inputFor(text));
        DatabaseSession::setDirectEngineAllowed(true);
        QCOMPARE(r.outcome, ImportOutcome::Stored);
        QVERIFY(r.storedVehicles > 2500);
        dumps << test::dumpDatabase(db.path).join(QLatin1Char('\n'));
    }
    QCOMPARE(dumps[1], dumps[0]);
}

void tst_VehicleImport::generatedSurveyMatchesIndependentCount()
{
    // A three-day survey across a year end with unsorted offsets, "?" vehicles,
    // a headway, the speed range, and CR LF pairs at random places. The expected
    // rows come from calendar arithmetic on QDateTime.
    QRandomGenerator rng(20011231);
    QList<Record> list;
    qint64 o = 0;
    while (o < 3 * 86400) {
        const int step = int(rng.bounded(-20, 240));
        o = qMax<qint64>(0, o + step);
        const char dir = "+-+-?"[rng.bounded(5)];
        list.append({o, dir, int(rng.bounded(0, 130))});
    }
    const QDate d0(2001, 12, 31);
    const QTime t0(22, 10);
    const qint64 headway = 2;
    QStringList expected;
    qint64 previous = 0;
    for (const Record &r : list) {
        if (r.offset > previous + 50000 || r.offset < previous + headway || r.speed < 10 ||
            r.speed > 100)
            continue;
        previous = r.offset;
        const QDateTime at = QDateTime(d0, t0).addSecs(r.offset);
        expected << QStringLiteral("%1|%2|%3|%4|%5")
                        .arg(r.offset)
                        .arg(QLatin1Char(r.direction))
                        .arg(r.speed)
                        .arg(formatTime(at.time(), QStringLiteral("hh:mm:ss AMPM")),
                             formatDate(at.date(), QStringLiteral("mm/dd/yy")));
    }
    QVERIFY(expected.size() > 500);

    QString text = test::loadedText(list);
    const qsizetype dataStart = text.indexOf(QLatin1Char('*')) + 6;
    for (int i = 0; i < 200; ++i)
        text.insert(dataStart + rng.bounded(text.size() - dataStart - 300), QStringLiteral("\r\n"));

    Database db;
    ImportInput in = inputFor(text);
    in.startDate = QStringLiteral("12/31/2001");
    in.startTime = QStringLiteral("22:10");
    in.headway = QStringLiteral("2");
    const ImportResult r = importSurvey(db.path, in);
    QCOMPARE(r.outcome, ImportOutcome::Stored);
    QStringList stored;
    for (const QVariantList &row :
         query(db.path, QStringLiteral("SELECT [Offset], [Veh_Direction], [Speed], [Time], [Date] "
                                       "FROM [Veh_Data] ORDER BY rowid")))
        stored << QStringLiteral("%1|%2|%3|%4|%5")
                      .arg(row[0].toString(), row[1].toString(), row[2].toString(),
                           row[3].toString(), row[4].toString());
    QCOMPARE(stored.size(), expected.size());
    QCOMPARE(stored, expected);
    QCOMPARE(r.storedVehicles, int(expected.size()));
}

QTEST_GUILESS_MAIN(tst_VehicleImport)
#include "tst_VehicleImport.moc"
