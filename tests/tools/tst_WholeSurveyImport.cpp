// A whole generated multi-day survey imported through roadtally-cli's code path
// (load with end marks, corrections, import, the four statistics) and every
// stored row checked against figures counted here, straight from the generated
// records, with this test's own simple model of the loader and the import:
// the end marks fall on the last four records, the usable records end with the
// third "+" record before the first mark, and a record is accepted when it lies
// within 50,000 s after the last accepted one, not before it, at least the
// headway after it, and inside the speed range.
#include "cli/CommandLineTool.h"

#include "core/store/DatabaseSession.h"
#include "core/store/SharedState.h"
#include "sample/SampleSurvey.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace Qt::StringLiterals;

using namespace roadtally;

namespace {

struct Accepted
{
    SampleRecord record;
    QDate date;
    int second = 0; // of the day
};

// Rounds a / b (b > 0, a >= 0) half away from zero, exactly.
qint64 roundRatio(qint64 a, qint64 b)
{
    return (2 * a + b) / (2 * b);
}

QString twelveHour(int secondOfDay, bool withSeconds)
{
    const int hour = secondOfDay / 3600;
    const int h12 = hour % 12 == 0 ? 12 : hour % 12;
    QString text = QStringLiteral("%1:%2")
                       .arg(h12, 2, 10, QLatin1Char('0'))
                       .arg(secondOfDay / 60 % 60, 2, 10, QLatin1Char('0'));
    if (withSeconds)
        text += QStringLiteral(":%1").arg(secondOfDay % 60, 2, 10, QLatin1Char('0'));
    return text + (hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

QString shortDate(const QDate &d)
{
    return QStringLiteral("%1/%2/%3")
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.year() % 100, 2, 10, QLatin1Char('0'));
}

QString clock(int minuteOfDay)
{
    return QStringLiteral("%1:%2")
        .arg(minuteOfDay / 60 % 24, 2, 10, QLatin1Char('0'))
        .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
}

QString countText(qint64 n)
{
    return n == 0 ? QStringLiteral("*") : QString::number(n);
}

// The figures of one direction set (all, "+" or "-").
struct SetFigures
{
    qint64 total = 0, sum = 0, under = 0, over = 0, band1 = 0, band2 = 0, band3 = 0;
};

QStringList tableRows(DatabaseSession &s, const QString &sql)
{
    QSqlQuery q = s.exec(sql);
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

// Compares row lists and names the first row that differs.
bool sameRows(const QStringList &actual, const QStringList &expected, QString &why)
{
    for (qsizetype i = 0; i < qMin(actual.size(), expected.size()); ++i) {
        if (actual.at(i) != expected.at(i)) {
            why = QStringLiteral("row %1: stored %2, expected %3")
                      .arg(i)
                      .arg(actual.at(i), expected.at(i));
            return false;
        }
    }
    if (actual.size() != expected.size()) {
        why = QStringLiteral("%1 rows stored, %2 expected").arg(actual.size()).arg(expected.size());
        return false;
    }
    return true;
}

#define COMPARE_ROWS(actual, expected)                                                             \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2(sameRows(actual, expected, why), qPrintable(why));                                \
    } while (false)

} // namespace

class tst_WholeSurveyImport : public QObject
{
    Q_OBJECT

private slots:
    void wholeSurvey_data();
    void wholeSurvey();
};

void tst_WholeSurveyImport::wholeSurvey_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("vehicles");
    QTest::addColumn<bool>("kph");
    QTest::addColumn<int>("posted");
    QTest::addColumn<QStringList>("range"); // empty: the unit's default
    QTest::addColumn<int>("headway");
    QTest::addColumn<bool>(
        "tamper"); // disorder, a far outlier, boundary speeds, lines broken inside records

    QTest::newRow("week across a month end")
        << QDate(2025, 5, 28) << QTime(8, 30) << 7 << 20000 << false << 35
        << QStringList{u"20"_s, u"60"_s} << 2 << false;
    QTest::newRow("kph across a year end, tampered")
        << QDate(2025, 12, 29) << QTime(22, 10) << 5 << 15000 << true << 50
        << QStringList{u"30"_s, u"100"_s} << 0 << true;
    QTest::newRow("over a leap day, default range")
        << QDate(2024, 2, 27) << QTime(23, 30) << 3 << 5000 << false << 30 << QStringList{} << 4
        << true;
    QTest::newRow("one day from midnight") << QDate(2025, 3, 31) << QTime(0, 0) << 1 << 4000
                                           << false << 25 << QStringList{} << 0 << false;
}

void tst_WholeSurveyImport::wholeSurvey()
{
    QFETCH(QDate, start);
    QFETCH(QTime, time);
    QFETCH(int, days);
    QFETCH(int, vehicles);
    QFETCH(bool, kph);
    QFETCH(int, posted);
    QFETCH(QStringList, range);
    QFETCH(int, headway);
    QFETCH(bool, tamper);

    SampleOptions o;
    o.startDate = start;
    o.startTime = time;
    o.days = days;
    o.vehicles = vehicles;
    o.kph = kph;
    o.postedSpeed = posted;
    o.seed = quint32(vehicles + days);
    SampleSurvey survey = generateSampleSurvey(o);
    QVector<SampleRecord> records = survey.records;
    const int low = range.isEmpty() ? (kph ? 15 : 10) : range.at(0).toInt();
    const int high = range.isEmpty() ? (kph ? 160 : 100) : range.at(1).toInt();

    QByteArray text = survey.text;
    if (tamper) {
        // Out-of-order records, one far in the future, speeds on and beside the
        // range ends; then every line break moved into the middle of records.
        for (qsizetype i = 300; i < records.size() - 100; i += 997) {
            SampleRecord early = records.at(i);
            early.offset = qMax<qint64>(0, early.offset - 40);
            records.insert(i + 1, early);
        }
        SampleRecord outlier = records.at(records.size() - 60);
        outlier.offset += 50001;
        records.insert(records.size() - 59, outlier);
        const int edges[] = {low - 1, low, high, high + 1};
        for (int k = 0; k < 40; ++k)
            records[100 + k * 37].speed = edges[k % 4];
        QByteArray data;
        for (const SampleRecord &r : std::as_const(records))
            data += sampleRecordText(r);
        for (qsizetype at = 37; at < data.size(); at += 39)
            data.insert(at, "\r\n");
        text = sampleHeaderLine(o) + "\r\n" + SampleHeaderEnd + "\r\n" + data + "\r\n" +
               SampleTail + "\r\n";
    }

    // The loader marks the last four records; the import keeps the records up to
    // the third "+" record before the first mark.
    QVERIFY(records.size() > 10);
    qsizetype last = records.size() - 5;
    for (int plus = 0;; --last) {
        QVERIFY(last >= 0);
        if (records.at(last).direction == '+' && ++plus == 3)
            break;
    }

    const QDateTime origin(start, QTime(time.hour(), time.minute()), Qt::UTC);
    QVector<Accepted> accepted;
    qint64 previous = 0;
    for (qsizetype i = 0; i <= last; ++i) {
        const SampleRecord &r = records.at(i);
        if (r.offset > previous + 50000 || r.offset < previous || r.offset < previous + headway ||
            r.speed < low || r.speed > high)
            continue;
        previous = r.offset;
        const QDateTime at = origin.addSecs(r.offset);
        accepted.append({r, at.date(), at.time().msecsSinceStartOfDay() / 1000});
    }
    // The case must really exercise the rules: records dropped, most kept.
    QVERIFY(accepted.size() < last + 1);
    QVERIFY(accepted.size() > vehicles / 2);

    // Import through the command-line tool, in process.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("survey.ovd"));
    QCOMPARE(writeSampleSurvey({text, {}}, file), QString());
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    CommandLineTool tool(outStream, errStream);
    QCOMPARE(tool.run({u"init"_s, u"--folder"_s, dir.path()}), 0);
    QStringList arguments{
        u"import"_s,     u"--folder"_s,    dir.path(),       file,
        u"--location"_s, u"Oak Ave"_s,     u"--direction"_s, u"East"_s,
        u"--zone"_s,     u"Residential"_s, u"--unit"_s,      kph ? u"KPH"_s : u"MPH"_s,
        u"--letter"_s,   u"K"_s,           u"--headway"_s,   QString::number(headway)};
    if (!range.isEmpty())
        arguments << u"--range"_s << range;
    out.clear();
    const int code = tool.run(arguments);
    outStream.flush();
    errStream.flush();
    QVERIFY2(code == 0, qPrintable(err));
    const QString batch = shortDate(start).remove(QLatin1Char('/')) + QStringLiteral("-K");
    QCOMPARE(
        out,
        QStringLiteral("Batch number: %1\nVehicles stored: %2\n").arg(batch).arg(accepted.size()));

    DatabaseSession s(databasePathIn(dir.path()));
    s.requireOpen();

    // Header and Radar.
    const QString postedText = QString::number(posted).rightJustified(3, QLatin1Char('0'));
    const QStringList headerRow{QStringList{
        batch, u"00020"_s, u"Oak Ave"_s, start.toString(u"MM/dd/yyyy"_s), time.toString(u"HH:mm"_s),
        postedText, kph ? u"KPH"_s : u"MPH"_s, u"East"_s, u"Residential"_s}
                                    .join(QLatin1Char('|'))};
    COMPARE_ROWS(tableRows(s, QStringLiteral("SELECT * FROM Header")), headerRow);
    QCOMPARE(s.scalar(QStringLiteral("SELECT radar_mode FROM Radar")).toString(),
             kph ? u"KPH"_s : u"MPH"_s);

    // Veh_Data: every accepted record, in order, with its time and date texts.
    QStringList vehRows;
    for (const Accepted &a : std::as_const(accepted))
        vehRows << QStringList{batch,
                               QString::number(a.record.offset),
                               QString(QLatin1Char(a.record.direction)),
                               QString::number(a.record.speed),
                               twelveHour(a.second, true),
                               shortDate(a.date)}
                       .join(QLatin1Char('|'));
    COMPARE_ROWS(
        tableRows(s, QStringLiteral("SELECT Batch_Number, Offset, Veh_Direction, Speed, Time, Date "
                                    "FROM Veh_Data ORDER BY rowid")),
        vehRows);

    // Summary.
    const int L = posted;
    std::map<char, SetFigures> sets; // 'a'll, '+', '-'
    qint64 unknown = 0, maxSpeed = 0, maxOffset = 0;
    for (const Accepted &a : std::as_const(accepted)) {
        const int v = a.record.speed;
        maxSpeed = qMax<qint64>(maxSpeed, v);
        maxOffset = qMax(maxOffset, a.record.offset);
        unknown += a.record.direction == '?';
        for (char key : {'a', a.record.direction}) {
            if (key == '?')
                continue;
            SetFigures &f = sets[key];
            ++f.total;
            f.sum += v;
            if (v <= L)
                ++f.under;
            else {
                ++f.over;
                if (v <= L + 10)
                    ++f.band1;
                else if (v <= L + 20)
                    ++f.band2;
                else
                    ++f.band3;
            }
        }
    }
    const int paceWidth = kph ? 20 : 10;
    QStringList mean, pace, paceTotal, pacePercent, p85;
    for (char key : {'a', '+', '-'}) {
        const SetFigures &f = sets[key];
        QVERIFY(f.total > 0);
        const qint64 tenths = roundRatio(10 * f.sum, f.total);
        mean << QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
        const qint64 lo = roundRatio(f.sum - qint64(paceWidth / 2) * f.total, f.total);
        const qint64 hi = lo + paceWidth;
        pace << QStringLiteral("%1 to %2").arg(lo).arg(hi);
        qint64 inPace = 0;
        for (const Accepted &a : std::as_const(accepted))
            inPace += (key == 'a' || a.record.direction == key) && a.record.speed >= lo &&
                      a.record.speed <= hi;
        paceTotal << QString::number(inPace);
        const qint64 percent = roundRatio(100 * inPace, f.total);
        pacePercent << (percent == 0 ? QString() : QString::number(percent)) + QStringLiteral(" %");
        p85 << QString::number(roundRatio(1175 * tenths, 10000));
    }
    const qint64 S = maxOffset;
    const QDateTime stop = origin.addSecs(S - S % 60);
    const QStringList expectedSummary{batch,
                                      postedText,
                                      QString::number(sets['a'].total),
                                      QString::number(sets['+'].total),
                                      QString::number(sets['-'].total),
                                      QString::number(unknown),
                                      QString::number(sets['a'].under),
                                      QString::number(sets['+'].under),
                                      QString::number(sets['-'].under),
                                      QString::number(sets['a'].over),
                                      QString::number(sets['a'].band1),
                                      QString::number(sets['a'].band2),
                                      QString::number(sets['a'].band3),
                                      QString::number(sets['+'].over),
                                      QString::number(sets['+'].band1),
                                      QString::number(sets['+'].band2),
                                      QString::number(sets['+'].band3),
                                      QString::number(sets['-'].over),
                                      QString::number(sets['-'].band1),
                                      QString::number(sets['-'].band2),
                                      QString::number(sets['-'].band3),
                                      QString::number(maxSpeed),
                                      mean[0],
                                      p85[0],
                                      pace[0],
                                      paceTotal[0],
                                      pacePercent[0],
                                      mean[1],
                                      p85[1],
                                      pace[1],
                                      paceTotal[1],
                                      pacePercent[1],
                                      mean[2],
                                      p85[2],
                                      pace[2],
                                      paceTotal[2],
                                      pacePercent[2],
                                      QString::number(S),
                                      QStringLiteral("%1 Days, %2 Hrs, %3 Min")
                                          .arg(S / 86400)
                                          .arg(S / 3600 % 24)
                                          .arg(S / 60 % 60, 2, 10, QLatin1Char('0')),
                                      twelveHour(time.hour() * 3600 + time.minute() * 60, false),
                                      twelveHour(stop.time().msecsSinceStartOfDay() / 1000, false),
                                      shortDate(start),
                                      shortDate(stop.date())};
    COMPARE_ROWS(
        tableRows(
            s, QStringLiteral(
                   "SELECT Batch_Number, Posted_Limit, Total_Vehicles, Total_Approach, "
                   "Total_Receeding, "
                   "Total_Unknown, Number_Under, Number_UnderA, Number_UnderR, Number_Over, "
                   "Number_Over10, Number_Over20, Number_Over30, Number_OverA, Number_OverA10, "
                   "Number_OverA20, Number_OverA30, Number_OverR, Number_OverR10, Number_OverR20, "
                   "Number_OverR30, Max_Speed, [50th_Percentile], [85th_Percentile], Pace, "
                   "Pace_Total, "
                   "Pace_Percent, [50th_PercentileA], [85th_PercentileA], PaceA, Pace_TotalA, "
                   "Pace_PercentA, [50th_PercentileR], [85th_PercentileR], PaceR, Pace_TotalR, "
                   "Pace_PercentR, total_seconds, Total_Time, Start_Time, Stop_Time, Start_Date, "
                   "Stop_Date FROM Summary")),
        QStringList(expectedSummary.join(QLatin1Char('|'))));

    // Speed: the under row, one row per speed, the over row.
    const int r0 = kph ? 30 : 15, r1 = kph ? 120 : 72;
    QStringList speedRows;
    for (int row = r0 - 1; row <= r1 + 1; ++row) {
        qint64 all = 0, app = 0, rec = 0;
        for (const Accepted &a : std::as_const(accepted)) {
            const int v = a.record.speed;
            const bool in = row == r0 - 1 ? v < r0 : row == r1 + 1 ? v > r1 : v == row;
            if (!in)
                continue;
            ++all;
            app += a.record.direction == '+';
            rec += a.record.direction == '-';
        }
        speedRows << QStringList{batch, QString::number(row), QString::number(all),
                                 QString::number(app), QString::number(rec)}
                         .join(QLatin1Char('|'));
    }
    QCOMPARE(speedRows.size(), kph ? 93 : 60);
    COMPARE_ROWS(
        tableRows(
            s, QStringLiteral("SELECT batch_number, speed, all_total, All_app, all_rec FROM Speed "
                              "ORDER BY rowid")),
        speedRows);

    // Speed_Profile: every vehicle over the limit, in stored order.
    QStringList profileRows;
    const QString none = QStringLiteral("--");
    for (const Accepted &a : std::as_const(accepted)) {
        const int v = a.record.speed;
        if (v <= L)
            continue;
        const QString speed = QString::number(v);
        profileRows << QStringList{batch,
                                   shortDate(a.date),
                                   twelveHour(a.second, true),
                                   v <= L + 10 ? speed : none,
                                   v > L + 10 && v <= L + 20 ? speed : none,
                                   v > L + 20 ? speed : none,
                                   QString(QLatin1Char(a.record.direction))}
                           .join(QLatin1Char('|'));
    }
    COMPARE_ROWS(
        tableRows(s,
                  QStringLiteral("SELECT Batch_Number, Date, Time, speed_Over, Plus10, Plus20, Dir "
                                 "FROM Speed_Profile ORDER BY rowid")),
        profileRows);

    // Time_15: 48 rows for every date from the start to the stop date; each
    // vehicle in exactly one block, [start, end), the last block to midnight.
    std::map<std::pair<QDate, int>, std::pair<qint64, qint64>>
        blocks; // (date, block of 96) -> (+, -)
    for (const Accepted &a : std::as_const(accepted)) {
        auto &b = blocks[{a.date, a.second / 900}];
        b.first += a.record.direction == '+';
        b.second += a.record.direction == '-';
    }
    QStringList timeRows;
    for (QDate d = start; d <= stop.date(); d = d.addDays(1)) {
        qint64 hourAmApp = 0, hourAmRec = 0, hourPmApp = 0, hourPmRec = 0;
        for (int i = 0; i < 48; ++i) {
            const auto am = blocks[{d, i}];
            const auto pm = blocks[{d, i + 48}];
            hourAmApp += am.first;
            hourAmRec += am.second;
            hourPmApp += pm.first;
            hourPmRec += pm.second;
            const bool hourRow = i % 4 == 3;
            const QString null = QStringLiteral("<null>");
            timeRows << QStringList{batch,
                                    shortDate(d),
                                    clock(i * 15) + u" - "_s + clock(i * 15 + 15),
                                    countText(am.first),
                                    countText(am.second),
                                    hourRow ? countText(hourAmApp) : null,
                                    hourRow ? countText(hourAmRec) : null,
                                    hourRow ? countText(hourAmApp + hourAmRec) : null,
                                    clock(720 + i * 15) + u" - "_s + clock(720 + i * 15 + 15),
                                    countText(pm.first),
                                    countText(pm.second),
                                    hourRow ? countText(hourPmApp) : null,
                                    hourRow ? countText(hourPmRec) : null,
                                    hourRow ? countText(hourPmApp + hourPmRec) : null}
                            .join(QLatin1Char('|'));
            if (hourRow)
                hourAmApp = hourAmRec = hourPmApp = hourPmRec = 0;
        }
    }
    QCOMPARE(timeRows.size(), 48 * int(start.daysTo(stop.date()) + 1));
    COMPARE_ROWS(
        tableRows(s, QStringLiteral(
                         "SELECT Batch_Number, Date, TimeAM, AMApp, AMRec, tHourAMApp, "
                         "tHourAMRec, AMHourTotal, TimePM, PMApp, PMRec, tHourPMApp, tHourPMRec, "
                         "PMHourTotal FROM Time_15 ORDER BY rowid")),
        timeRows);
}

QTEST_GUILESS_MAIN(tst_WholeSurveyImport)
#include "tst_WholeSurveyImport.moc"
