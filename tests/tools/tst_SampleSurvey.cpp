// The sample data maker writes files that follow the raw file layout: header
// values at their fixed positions, CR LF line breaks, a header block closed by
// "*" and five characters, records of three comma-ended fields with offsets that
// never decrease, and a tail on which the loader's end marks do not fall.
#include "sample/SampleSurvey.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace roadtally;

namespace {

// T[p, n] with 1-based p, as the loader reads the header.
QByteArray at(const QByteArray &text, int position, int count)
{
    return text.mid(position - 1, count);
}

// The records read back from a file: CR LF removed, the header block (up to the
// fifth character after the first "*") dropped, three fields per record.
struct Parsed
{
    QVector<SampleRecord> records;
    QByteArray rest; // whatever follows the last complete record
    bool ok = true;
};

Parsed parseRecords(const QByteArray &fileText)
{
    QByteArray text = fileText;
    text.replace("\r\n", "");
    Parsed parsed;
    const qsizetype star = text.indexOf('*');
    if (star < 0) {
        parsed.ok = false;
        return parsed;
    }
    qsizetype pos = star + 6;
    while (true) {
        const qsizetype c1 = text.indexOf(',', pos);
        const qsizetype c2 = c1 < 0 ? -1 : text.indexOf(',', c1 + 1);
        const qsizetype c3 = c2 < 0 ? -1 : text.indexOf(',', c2 + 1);
        if (c3 < 0 || c1 - pos != 10 || c2 - c1 != 2 || c3 - c2 != 4)
            break;
        SampleRecord r;
        bool okOffset = false, okSpeed = false;
        r.offset = text.mid(pos, 10).toLongLong(&okOffset);
        r.direction = text.at(c1 + 1);
        r.speed = text.mid(c2 + 1, 3).toInt(&okSpeed);
        if (!okOffset || !okSpeed)
            parsed.ok = false;
        parsed.records.append(r);
        pos = c3 + 1;
    }
    parsed.rest = text.mid(pos);
    return parsed;
}

int clockHour(const SampleOptions &o, qint64 offset)
{
    const qint64 start = o.startTime.hour() * 3600 + o.startTime.minute() * 60;
    return int(((start + offset) % 86400) / 3600);
}

} // namespace

class tst_SampleSurvey : public QObject
{
    Q_OBJECT

private slots:
    void headerPositions_data();
    void headerPositions();
    void fileLayout_data();
    void fileLayout();
    void endMarksFallOnLastRecords();
    void dayAndNightPattern();
    void speedsAroundTheLimit_data();
    void speedsAroundTheLimit();
    void sameSeedSameFile();
    void badOptions_data();
    void badOptions();
    void shippedSamples_data();
    void shippedSamples();
    void sampleCommand_data();
    void sampleCommand();
};

void tst_SampleSurvey::headerPositions_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("posted");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QByteArray>("dateCode");
    QTest::addColumn<QByteArray>("clock");
    QTest::addColumn<QByteArray>("alert");

    QTest::newRow("layout sample")
        << QDate(2001, 5, 24) << QTime(13, 45) << 105 << "00020" << QByteArray("052401")
        << QByteArray("13:45") << QByteArray("105");
    QTest::newRow("midnight, new year")
        << QDate(2000, 1, 1) << QTime(0, 0) << 5 << "99999" << QByteArray("010100")
        << QByteArray("00:00") << QByteArray("005");
    QTest::newRow("last minute of 2099")
        << QDate(2099, 12, 31) << QTime(23, 59) << 65 << "12345" << QByteArray("123199")
        << QByteArray("23:59") << QByteArray("065");
}

void tst_SampleSurvey::headerPositions()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(int, posted);
    QFETCH(QString, location);
    QFETCH(QByteArray, dateCode);
    QFETCH(QByteArray, clock);
    QFETCH(QByteArray, alert);

    SampleOptions o;
    o.startDate = date;
    o.startTime = time;
    o.postedSpeed = posted;
    o.locationCode = location;
    o.vehicles = 50;
    QCOMPARE(checkSampleOptions(o), QString());
    const QByteArray t = generateSampleSurvey(o).text;

    QCOMPARE(at(t, 1, 10), QByteArray("Location:,"));
    QCOMPARE(at(t, 11, 5), location.toLatin1());
    QCOMPARE(at(t, 16, 13), QByteArray(",Setup Date:,"));
    QCOMPARE(at(t, 30, 2) + at(t, 34, 2) + at(t, 38, 2), dateCode);
    QCOMPARE(at(t, 29, 1) + at(t, 33, 1) + at(t, 37, 1), QByteArray("000"));
    QCOMPARE(at(t, 40, 13), QByteArray(",Setup Time:,"));
    QCOMPARE(at(t, 54, 2) + ':' + at(t, 58, 2), clock);
    QCOMPARE(at(t, 60, 18), QByteArray(",Violation Alert:,"));
    QCOMPARE(at(t, 78, 3), alert);
    QVERIFY(at(t, 81, 200).startsWith(",Blink Rate:,005,Blank Speed:,"));
    QVERIFY(sampleHeaderLine(o).endsWith(
        ",Power Delay:,005,Direction:,+,Time Offset ,Direction ,Speed,"));
    QVERIFY(t.startsWith(QByteArray(sampleHeaderLine(o) + "\r\n")));
    // The header line itself holds no "*": the header block ends at the first one.
    QVERIFY(!sampleHeaderLine(o).contains('*'));
}

void tst_SampleSurvey::fileLayout_data()
{
    QTest::addColumn<int>("vehicles");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("perLine");
    QTest::addColumn<bool>("kph");

    QTest::newRow("one day") << 3000 << 1 << 4 << false;
    QTest::newRow("fourteen days kph") << 20000 << 14 << 4 << true;
    QTest::newRow("one record per line") << 200 << 2 << 1 << false;
    QTest::newRow("partial last line") << 203 << 1 << 5 << false;
    QTest::newRow("single vehicle") << 1 << 1 << 4 << false;
    QTest::newRow("no vehicles") << 0 << 1 << 4 << false;
}

void tst_SampleSurvey::fileLayout()
{
    QFETCH(int, vehicles);
    QFETCH(int, days);
    QFETCH(int, perLine);
    QFETCH(bool, kph);

    SampleOptions o;
    o.vehicles = vehicles;
    o.days = days;
    o.recordsPerLine = perLine;
    o.kph = kph;
    o.postedSpeed = kph ? 50 : 35;
    const SampleSurvey s = generateSampleSurvey(o);
    QCOMPARE(s.records.size(), vehicles);

    // Every line break is CR LF; no lone CR or LF.
    QCOMPARE(s.text.count("\r\n"), s.text.count('\r'));
    QCOMPARE(s.text.count("\r\n"), s.text.count('\n'));
    const QList<QByteArray> lines = s.text.split('\n');
    QCOMPARE(lines.last(), QByteArray());
    QCOMPARE(lines.at(1), QByteArray("******\r"));
    QCOMPARE(lines.at(lines.size() - 2), QByteArray(SampleTail) + '\r');
    for (qsizetype i = 2; i < lines.size() - 2; ++i) {
        const bool last = i == lines.size() - 3;
        const int records = int(lines.at(i).size() - 1) / 17;
        QVERIFY2(lines.at(i).size() == records * 17 + 1, lines.at(i).constData());
        QVERIFY(last ? records >= 1 && records <= perLine : records == perLine);
    }

    // The records read back from the text are the generated ones.
    const Parsed parsed = parseRecords(s.text);
    QVERIFY(parsed.ok);
    QCOMPARE(parsed.records.size(), s.records.size());
    for (qsizetype i = 0; i < s.records.size(); ++i) {
        QCOMPARE(parsed.records.at(i).offset, s.records.at(i).offset);
        QCOMPARE(parsed.records.at(i).direction, s.records.at(i).direction);
        QCOMPARE(parsed.records.at(i).speed, s.records.at(i).speed);
    }
    QCOMPARE(parsed.rest, QByteArray(SampleTail));

    for (qsizetype i = 0; i < s.records.size(); ++i) {
        const SampleRecord &r = s.records.at(i);
        QVERIFY(r.offset >= 0 && r.offset < qint64(days) * 86400);
        if (i > 0)
            QVERIFY2(r.offset >= s.records.at(i - 1).offset, "offsets decrease");
        QVERIFY(r.direction == '+' || r.direction == '-' || r.direction == '?');
        QVERIFY(r.speed >= 1 && r.speed <= 199);
    }
    if (vehicles >= 3000) {
        const auto count = [&](char d) {
            return std::count_if(s.records.begin(), s.records.end(),
                                 [d](const SampleRecord &r) { return r.direction == d; });
        };
        QVERIFY(count('+') > vehicles / 3);
        QVERIFY(count('-') > vehicles / 3);
        QVERIFY(count('?') > 0 && count('?') < vehicles / 20);
        // The survey covers its days: the last vehicle comes on the last day.
        QVERIFY(s.records.last().offset >= qint64(days - 1) * 86400);
    }
}

void tst_SampleSurvey::endMarksFallOnLastRecords()
{
    // The loader marks the last direction characters of the last 200 and starts
    // at 2 marks when a "*" is there: the tail must hold neither.
    SampleOptions o;
    o.vehicles = 500;
    const QByteArray t = generateSampleSurvey(o).text;
    const QByteArray last200 = t.right(200);
    QVERIFY(!last200.contains('*'));
    const QByteArray tail = t.mid(t.lastIndexOf(',') + 1);
    for (char c : {'+', '-', '?', '*'})
        QVERIFY(!tail.contains(c));
    // At least four direction characters lie within the last 200.
    int directions = 0;
    for (char c : last200)
        directions += (c == '+' || c == '-' || c == '?');
    QVERIFY(directions >= 4);
}

void tst_SampleSurvey::dayAndNightPattern()
{
    SampleOptions o;
    o.vehicles = 40000;
    o.days = 7;
    o.startDate = QDate(2025, 12, 29); // a Monday: five weekdays, then a weekend
    o.startTime = QTime(0, 0);
    const SampleSurvey s = generateSampleSurvey(o);

    QVector<QVector<int>> perDayHour(7, QVector<int>(24, 0));
    for (const SampleRecord &r : s.records)
        ++perDayHour[int(r.offset / 86400)][clockHour(o, r.offset)];
    for (int day = 0; day < 7; ++day) {
        const auto &h = perDayHour.at(day);
        const int night = h[1] + h[2] + h[3] + h[4];
        const int midday = h[11] + h[12] + h[13] + h[14];
        QVERIFY2(midday > 5 * night, qPrintable(QStringLiteral("day %1").arg(day)));
        if (day < 5) {
            // Weekday rush hours stand out of the midday traffic.
            QVERIFY(h[7] > h[10] && h[17] > h[13]);
            // Mostly inbound in the morning, outbound in the evening.
            int amIn = 0, amOut = 0, pmIn = 0, pmOut = 0;
            for (const SampleRecord &r : s.records) {
                if (r.offset / 86400 != day)
                    continue;
                const int hour = clockHour(o, r.offset);
                const bool in = r.direction == '+', out = r.direction == '-';
                if (hour >= 6 && hour <= 9) {
                    amIn += in;
                    amOut += out;
                } else if (hour >= 15 && hour <= 18) {
                    pmIn += in;
                    pmOut += out;
                }
            }
            QVERIFY(amIn > amOut && pmOut > pmIn);
        } else {
            QVERIFY(h[12] > h[7]);
        }
    }
}

void tst_SampleSurvey::speedsAroundTheLimit_data()
{
    QTest::addColumn<bool>("kph");
    QTest::addColumn<int>("posted");
    QTest::newRow("35 mph") << false << 35;
    QTest::newRow("65 mph") << false << 65;
    QTest::newRow("50 km/h") << true << 50;
    QTest::newRow("100 km/h") << true << 100;
}

void tst_SampleSurvey::speedsAroundTheLimit()
{
    QFETCH(bool, kph);
    QFETCH(int, posted);
    SampleOptions o;
    o.vehicles = 20000;
    o.days = 2;
    o.kph = kph;
    o.postedSpeed = posted;
    const SampleSurvey s = generateSampleSurvey(o);
    const double band = kph ? 16 : 10;
    double sum = 0;
    int under = 0, band1 = 0, band2 = 0, band3 = 0, crawling = 0;
    for (const SampleRecord &r : s.records) {
        sum += r.speed;
        if (r.speed <= posted)
            ++under;
        else if (r.speed <= posted + band)
            ++band1;
        else if (r.speed <= posted + 2 * band)
            ++band2;
        else
            ++band3;
        crawling += r.speed < 10;
    }
    const double mean = sum / s.records.size();
    QVERIFY2(std::abs(mean - posted) < 0.1 * posted, qPrintable(QString::number(mean)));
    // Every over-limit band is populated, and a few vehicles are very slow.
    QVERIFY(under > s.records.size() / 4);
    QVERIFY(band1 > s.records.size() / 10);
    QVERIFY(band2 > 0 && band3 > 0);
    QVERIFY(crawling > 0);
}

void tst_SampleSurvey::sameSeedSameFile()
{
    SampleOptions o;
    o.vehicles = 2000;
    o.days = 3;
    const QByteArray first = generateSampleSurvey(o).text;
    QCOMPARE(generateSampleSurvey(o).text, first);
    o.seed = 2;
    QVERIFY(generateSampleSurvey(o).text != first);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("s.ovd"));
    o.seed = 1;
    QCOMPARE(writeSampleSurvey(generateSampleSurvey(o), path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), first);
    QVERIFY(
        !writeSampleSurvey(generateSampleSurvey(o), dir.filePath(QStringLiteral("no/such/dir.ovd")))
             .isEmpty());
}

void tst_SampleSurvey::badOptions_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("no days") << "days"
                             << "0";
    QTest::newRow("fifteen days") << "days"
                                  << "15";
    QTest::newRow("negative vehicles") << "vehicles"
                                       << "-1";
    QTest::newRow("year 1999") << "date"
                               << "1999-12-31";
    QTest::newRow("year 2100") << "date"
                               << "2100-01-01";
    QTest::newRow("short location") << "location"
                                    << "0002";
    QTest::newRow("letters in location") << "location"
                                         << "0002A";
    QTest::newRow("zero posted") << "posted"
                                 << "0";
    QTest::newRow("posted 200") << "posted"
                                << "200";
    QTest::newRow("no records per line") << "perLine"
                                         << "0";
}

void tst_SampleSurvey::badOptions()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    SampleOptions o;
    QCOMPARE(checkSampleOptions(o), QString());
    if (field == QLatin1String("days"))
        o.days = value.toInt();
    else if (field == QLatin1String("vehicles"))
        o.vehicles = value.toInt();
    else if (field == QLatin1String("date"))
        o.startDate = QDate::fromString(value, Qt::ISODate);
    else if (field == QLatin1String("location"))
        o.locationCode = value;
    else if (field == QLatin1String("posted"))
        o.postedSpeed = value.toInt();
    else
        o.recordsPerLine = value.toInt();
    QVERIFY(!checkSampleOptions(o).isEmpty());
}

void tst_SampleSurvey::shippedSamples_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("days");
    QTest::newRow("one day") << "Sample1Day.ovd" << 1;
    QTest::newRow("seven days") << "Sample7Day.ovd" << 7;
}

void tst_SampleSurvey::shippedSamples()
{
    QFETCH(QString, name);
    QFETCH(int, days);
    QFile file(QStringLiteral(ROADTALLY_SOURCE_DIR "/samples/") + name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QCOMPARE(at(text, 1, 10), QByteArray("Location:,"));
    QCOMPARE(at(text, 60, 18), QByteArray(",Violation Alert:,"));
    const Parsed parsed = parseRecords(text);
    QVERIFY(parsed.ok);
    QVERIFY(parsed.records.size() >= 2000);
    QCOMPARE(parsed.rest, QByteArray(SampleTail));
    const qint64 span = parsed.records.last().offset;
    QVERIFY(span > qint64(days - 1) * 86400 && span < qint64(days) * 86400);
    for (qsizetype i = 1; i < parsed.records.size(); ++i)
        QVERIFY(parsed.records.at(i).offset >= parsed.records.at(i - 1).offset);
}

void tst_SampleSurvey::sampleCommand_data()
{
    QTest::addColumn<QStringList>("arguments"); // the output file is added last
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>(
        "header"); // T[11,5] + T[30,2] T[34,2] T[38,2] + T[54,2] T[58,2] + T[78,3]

    QTest::newRow("defaults") << QStringList{} << 0 << QByteArray("00020 052425 1345 035");
    QTest::newRow("every option") << QStringList{u"--vehicles"_s,
                                                 u"500"_s,
                                                 u"--days"_s,
                                                 u"3"_s,
                                                 u"--start"_s,
                                                 u"12/30/2025"_s,
                                                 u"--time"_s,
                                                 u"22:05"_s,
                                                 u"--posted"_s,
                                                 u"050"_s,
                                                 u"--location-code"_s,
                                                 u"31337"_s,
                                                 u"--seed"_s,
                                                 u"9"_s,
                                                 u"--unit-kph"_s,
                                                 u"--records-per-line"_s,
                                                 u"6"_s}
                                  << 0 << QByteArray("31337 123025 2205 050");
    QTest::newRow("fifteen days") << QStringList{u"--days"_s, u"15"_s} << 2 << QByteArray();
    QTest::newRow("bad date") << QStringList{u"--start"_s, u"02/30/2025"_s} << 2 << QByteArray();
    QTest::newRow("year 1999") << QStringList{u"--start"_s, u"12/31/1999"_s} << 2 << QByteArray();
    QTest::newRow("bad time") << QStringList{u"--time"_s, u"24:00"_s} << 2 << QByteArray();
    QTest::newRow("both units") << QStringList{u"--unit-mph"_s, u"--unit-kph"_s} << 2
                                << QByteArray();
    QTest::newRow("unknown option") << QStringList{u"--hours"_s, u"3"_s} << 2 << QByteArray();
    QTest::newRow("location letters")
        << QStringList{u"--location-code"_s, u"ABCDE"_s} << 2 << QByteArray();
}

void tst_SampleSurvey::sampleCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, header);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("made.ovd"));
    QProcess p;
    p.start(QStringLiteral(ROADTALLY_SAMPLE), QStringList(arguments) << path);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), exitCode);
    QCOMPARE(QFile::exists(path), exitCode == 0);
    if (exitCode != 0) {
        QVERIFY(!p.readAllStandardError().isEmpty());
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray t = file.readAll();
    QCOMPARE(at(t, 11, 5) + ' ' + at(t, 30, 2) + at(t, 34, 2) + at(t, 38, 2) + ' ' + at(t, 54, 2) +
                 at(t, 58, 2) + ' ' + at(t, 78, 3),
             header);
    QVERIFY(parseRecords(t).records.size() == (arguments.isEmpty() ? 3000 : 500));
}

QTEST_GUILESS_MAIN(tst_SampleSurvey)
#include "tst_SampleSurvey.moc"
