// The import's input as the processing window builds it: header captions from
// the loaded text, the batch letter, "Accept These Changes", the unit's range.
#include "core/intake/ImportRequest.h"
#include "core/intake/SpeedRangeSteps.h"

#include "sample/SampleSurvey.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace roadtally;

namespace {

const QString LayoutHeader =
    QStringLiteral("Location:,00020,Setup Date:,005-024-001,Setup Time:,013:045,Violation "
                   "Alert:,105,Blink Rate:,005,"
                   "Blank Speed:,120,Alarm Speed:,109,Power Delay:,005,Direction:,+,Time Offset "
                   ",Direction ,Speed,");

} // namespace

class tst_ImportRequest : public QObject
{
    Q_OBJECT

private slots:
    void headerFromText_data();
    void headerFromText();
    void acceptChanges_data();
    void acceptChanges();
    void defaultRange_data();
    void defaultRange();
    void rangeSteps_data();
    void rangeSteps();
    void buildInput_data();
    void buildInput();
    void loadPath();
};

void tst_ImportRequest::headerFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QStringList>("expected"); // batch, code, date, time, posted

    QTest::newRow("model header") << LayoutHeader << "A"
                                  << QStringList{u"052401-A"_s, u"00020"_s, u"05/24/2001"_s,
                                                 u"13:45"_s, u"105"_s};
    QTest::newRow("letter C") << LayoutHeader << "C"
                              << QStringList{u"052401-C"_s, u"00020"_s, u"05/24/2001"_s, u"13:45"_s,
                                             u"105"_s};
    QTest::newRow("short text") << QStringLiteral("Location:,00020,Setup") << "A"
                                << QStringList{u"-A"_s, u"00020"_s, u"//20"_s, u":"_s, u""_s};
}

void tst_ImportRequest::headerFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, letter);
    QFETCH(QStringList, expected);
    const HeaderFields f = headerFieldsFromText(text, letter);
    QCOMPARE(QStringList({f.batchNumber, f.locationCode, f.startDate, f.startTime, f.postedSpeed}),
             expected);
}

void tst_ImportRequest::acceptChanges_data()
{
    QTest::addColumn<QStringList>("boxes");    // date, time, batch, code, posted
    QTest::addColumn<QStringList>("expected"); // the captions afterwards

    const QStringList loaded{u"052401-A"_s, u"00020"_s, u"05/24/2001"_s, u"13:45"_s, u"105"_s};
    QTest::newRow("all empty") << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s} << loaded;
    QTest::newRow("posted speed only")
        << QStringList{u""_s, u""_s, u""_s, u""_s, u"035"_s}
        << QStringList{u"052401-A"_s, u"00020"_s, u"05/24/2001"_s, u"13:45"_s, u"035"_s};
    // The date correction leaves the batch number alone: it is its own box.
    QTest::newRow("date only") << QStringList{u"06/01/2001"_s, u""_s, u""_s, u""_s, u""_s}
                               << QStringList{u"052401-A"_s, u"00020"_s, u"06/01/2001"_s,
                                              u"13:45"_s, u"105"_s};
    QTest::newRow("every box") << QStringList{u"01/02/2003"_s, u"07:05"_s, u"010203-Q"_s,
                                              u"12345"_s, u"045"_s}
                               << QStringList{u"010203-Q"_s, u"12345"_s, u"01/02/2003"_s,
                                              u"07:05"_s, u"045"_s};
    // Taken as typed, without any check.
    QTest::newRow("nonsense kept")
        << QStringList{u"13/45/20"_s, u"25:99"_s, u"x"_s, u"abc"_s, u" 35"_s}
        << QStringList{u"x"_s, u"abc"_s, u"13/45/20"_s, u"25:99"_s, u" 35"_s};
}

void tst_ImportRequest::acceptChanges()
{
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, expected);
    HeaderFields f = headerFieldsFromText(LayoutHeader, QStringLiteral("A"));
    HeaderCorrections c{boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]};
    acceptHeaderChanges(f, c);
    QCOMPARE(QStringList({f.batchNumber, f.locationCode, f.startDate, f.startTime, f.postedSpeed}),
             expected);
    // Every box is empty afterwards.
    QCOMPARE(QStringList({c.startDate, c.startTime, c.batchNumber, c.locationCode, c.postedSpeed}),
             QStringList({u""_s, u""_s, u""_s, u""_s, u""_s}));
}

void tst_ImportRequest::defaultRange_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::newRow("MPH") << "MPH"
                         << "10"
                         << "100";
    QTest::newRow("KPH") << "KPH"
                         << "15"
                         << "160";
    // Only the exact text "MPH" gives the mph range.
    QTest::newRow("lower-case mph") << "mph"
                                    << "15"
                                    << "160";
    QTest::newRow("empty") << ""
                           << "15"
                           << "160";
}

void tst_ImportRequest::defaultRange()
{
    QFETCH(QString, unit);
    QFETCH(QString, low);
    QFETCH(QString, high);
    const SpeedRange r = defaultSpeedRange(unit);
    QCOMPARE(r.low, low);
    QCOMPARE(r.high, high);
}

void tst_ImportRequest::rangeSteps_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");
    const int lowMinus = int(SpeedStep::LowMinus), lowPlus = int(SpeedStep::LowPlus);
    const int highMinus = int(SpeedStep::HighMinus), highPlus = int(SpeedStep::HighPlus);
    QTest::newRow("mph low - 10") << lowMinus << "MPH" << 10 << 5;
    QTest::newRow("mph low - 5") << lowMinus << "MPH" << 5 << 0;
    QTest::newRow("mph low - 3") << lowMinus << "MPH" << 3 << 0;
    QTest::newRow("mph low - 0") << lowMinus << "MPH" << 0 << 0;
    QTest::newRow("mph low + 40") << lowPlus << "MPH" << 40 << 45;
    QTest::newRow("mph low + 45") << lowPlus << "MPH" << 45 << 45;
    QTest::newRow("mph low + 47") << lowPlus << "MPH" << 47 << 45;
    QTest::newRow("mph high - 55") << highMinus << "MPH" << 55 << 50;
    QTest::newRow("mph high - 50") << highMinus << "MPH" << 50 << 50;
    QTest::newRow("mph high + 115") << highPlus << "MPH" << 115 << 120;
    QTest::newRow("mph high + 120") << highPlus << "MPH" << 120 << 120;
    QTest::newRow("kph low - 20") << lowMinus << "KPH" << 20 << 15;
    QTest::newRow("kph low - 15") << lowMinus << "KPH" << 15 << 15;
    QTest::newRow("kph low + 35") << lowPlus << "KPH" << 35 << 35;
    QTest::newRow("kph high - 125") << highMinus << "KPH" << 125 << 120;
    QTest::newRow("kph high - 120") << highMinus << "KPH" << 120 << 120;
    QTest::newRow("kph high + 175") << highPlus << "KPH" << 175 << 180;
    QTest::newRow("kph high + 180") << highPlus << "KPH" << 180 << 180;
    // Any other unit text: the buttons do nothing.
    QTest::newRow("lower-case mph") << lowMinus << "mph" << 10 << -1;
    QTest::newRow("empty unit") << highPlus << "" << 100 << -1;
}

void tst_ImportRequest::rangeSteps()
{
    QFETCH(int, step);
    QFETCH(QString, unit);
    QFETCH(int, value);
    QFETCH(int, result);
    QCOMPARE(steppedSpeedEnd(SpeedStep(step), unit, value), result);
}

void tst_ImportRequest::buildInput_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("batchBox");
    QTest::addColumn<QString>("expectedLow");
    QTest::addColumn<QString>("expectedHigh");
    QTest::addColumn<QString>("expectedBatch");

    QTest::newRow("mph defaults") << "MPH"
                                  << ""
                                  << ""
                                  << ""
                                  << "10"
                                  << "100"
                                  << "052401-D";
    QTest::newRow("kph defaults") << "KPH"
                                  << ""
                                  << ""
                                  << ""
                                  << "15"
                                  << "160"
                                  << "052401-D";
    QTest::newRow("chosen range") << "KPH"
                                  << "0"
                                  << "30"
                                  << ""
                                  << "0"
                                  << "30"
                                  << "052401-D";
    // The batch box overrides what the letter made.
    QTest::newRow("batch corrected") << "MPH"
                                     << ""
                                     << ""
                                     << "111111-Z"
                                     << "10"
                                     << "100"
                                     << "111111-Z";
}

void tst_ImportRequest::buildInput()
{
    QFETCH(QString, unit);
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, batchBox);
    QFETCH(QString, expectedLow);
    QFETCH(QString, expectedHigh);
    QFETCH(QString, expectedBatch);

    const QString text = LayoutHeader + QStringLiteral("\r\n******\r\n0000000309,-,082,");
    ImportRequest r;
    r.location = QStringLiteral("Main St");
    r.direction = QStringLiteral("North");
    r.zone = QStringLiteral("School");
    r.unit = unit;
    r.letter = QStringLiteral("D");
    r.range = {low, high};
    r.headway = QStringLiteral("4");
    r.corrections.batchNumber = batchBox;
    r.corrections.startTime = QStringLiteral("06:30");
    const ImportInput in = buildImportInput(text, r);
    QCOMPARE(in.batchNumber, expectedBatch);
    QCOMPARE(in.locationCode, QStringLiteral("00020"));
    QCOMPARE(in.location, QStringLiteral("Main St"));
    QCOMPARE(in.startDate, QStringLiteral("05/24/2001"));
    QCOMPARE(in.startTime, QStringLiteral("06:30"));
    QCOMPARE(in.postedSpeed, QStringLiteral("105"));
    QCOMPARE(in.unit, unit);
    QCOMPARE(in.direction, QStringLiteral("North"));
    QCOMPARE(in.zone, QStringLiteral("School"));
    QCOMPARE(in.headway, QStringLiteral("4"));
    QCOMPARE(in.speedMin, expectedLow);
    QCOMPARE(in.speedMax, expectedHigh);
    QCOMPARE(in.rawText, text);
}

void tst_ImportRequest::loadPath()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(loadRawDataPath(QString()).status, LoadStatus::NoFileName);
    QCOMPARE(loadRawDataPath(dir.filePath(QStringLiteral("missing.ovd"))).status,
             LoadStatus::NotFound);
    // A folder is there but is no file: it cannot be read, and the message says so.
    QCOMPARE(loadRawDataPath(dir.path()).status, LoadStatus::Unreadable);
    QVERIFY(loadMessage(loadRawDataPath(dir.path())).contains(QStringLiteral("it is a folder")));

    // Any name and extension will do here; the loaded text carries the end marks,
    // the file on disk does not.
    SampleOptions o;
    o.vehicles = 100;
    const SampleSurvey s = generateSampleSurvey(o);
    const QString path = dir.filePath(QStringLiteral("survey.txt"));
    QCOMPARE(writeSampleSurvey(s, path), QString());
    const LoadResult loaded = loadRawDataPath(path);
    QCOMPARE(loaded.status, LoadStatus::Loaded);
    QCOMPARE(loaded.text.size(), s.text.size());
    QCOMPARE(loaded.text.count(QLatin1Char('*')), 6 + 4);
    // The four marks sit on the direction characters of the last four records.
    QString expected = QString::fromLatin1(s.text);
    int marked = 0;
    for (qsizetype i = expected.size() - 2; i >= 0 && marked < 4; --i) {
        if (expected[i] == QLatin1Char('+') || expected[i] == QLatin1Char('-') ||
            expected[i] == QLatin1Char('?')) {
            expected[i] = QLatin1Char('*');
            ++marked;
        }
    }
    QCOMPARE(loaded.text, expected);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), s.text);
}

QTEST_GUILESS_MAIN(tst_ImportRequest)
#include "tst_ImportRequest.moc"
