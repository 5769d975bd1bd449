// The fifteen-minute breakdown: the grid layout per direction, the 48 rows of a
// date, and the morning and afternoon peak analysis (ties, "N/A", peak-hour
// texts, shares, short dates).

#include "fixtures/TimeTableFixture.h"

#include "core/analysis/FifteenMinute.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;

Q_DECLARE_METATYPE(roadtally::SurveyDirection)

namespace {

const QString Batch = QStringLiteral("061226-A");

// Grid rows of a date as the query returns them, with the given hour totals
// (12 morning, 12 afternoon texts); only the first `rows` rows.
QVector<QStringList> gridRows(const FifteenMinuteLayout &l, const QStringList &am,
                              const QStringList &pm, int rows)
{
    const int columns = int(l.headers.size());
    QVector<QStringList> out;
    for (int r = 0; r < rows; ++r) {
        QStringList cells(QList<QString>(columns, QStringLiteral("*")));
        cells[0] = blockText(r * 15);
        cells[l.afternoonTimeColumn] = blockText((r + 48) * 15);
        const bool hourRow = r % 4 == 3;
        cells[l.morningTotalColumn] = hourRow ? am.at(r / 4) : QString();
        cells[l.afternoonTotalColumn] = hourRow ? pm.at(r / 4) : QString();
        out << cells;
    }
    return out;
}

// Twelve hour texts, "*" except the given hours (0..11 of the half day).
QStringList half(std::initializer_list<std::pair<int, int>> hours)
{
    QStringList t(QList<QString>(12, QStringLiteral("*")));
    for (const auto &[h, n] : hours)
        t[h] = QString::number(n);
    return t;
}

} // namespace

class tst_FifteenMinute : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("OV97.mdb"));
        QCOMPARE(blankDatabase(m_path), QString());
        DatabaseSession s(m_path);
        DayHours h;
        h.approaching[0] = 7;
        h.approaching[7] = 120;
        h.receding[7] = 30;
        h.receding[17] = 95;
        h.approaching[23] = 4;
        insertSurvey(s, Batch, QStringLiteral("06/12/26"), QStringLiteral("06/13/26"));
        insertDay(s, Batch, QStringLiteral("06/12/26"), h);
        insertDay(s, Batch, QStringLiteral("06/13/26"), h, 30); // a damaged date: 30 rows
    }

    void layout_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QString>("widths");
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<QString>("fields");
        QTest::newRow("approaching")
            << SurveyDirection::Approaching << "Time AM|App|Hour Total|Time PM|App|Hour Total"
            << "1300|600|1100|1300|600|1100" << 6390
            << "timeAM|AMApp|tHourAMApp|timePM|PMApp|tHourPMApp";
        QTest::newRow("receding") << SurveyDirection::Receding
                                  << "Time AM|Rec|Hour Total|Time PM|Rec|Hour Total"
                                  << "1300|600|1100|1300|600|1100" << 6390
                                  << "timeAM|AMRec|tHourAMRec|timePM|PMRec|tHourPMRec";
        QTest::newRow("both") << SurveyDirection::Both
                              << "Time AM|A|R|Hour Total|Time PM|A|R|Hour Total"
                              << "1300|600|600|1100|1300|600|600|1100" << 7590
                              << "timeAM|AMApp|AMRec|AMHourTotal|timePM|PMApp|PMRec|PMHourTotal";
    }
    void layout()
    {
        QFETCH(SurveyDirection, direction);
        QFETCH(QString, headers);
        QFETCH(QString, widths);
        QFETCH(int, gridWidth);
        QFETCH(QString, fields);
        const FifteenMinuteLayout l = fifteenMinuteLayout(direction);
        QCOMPARE(l.headers.join(QLatin1Char('|')), headers);
        QStringList w;
        for (int v : l.widths)
            w << QString::number(v);
        QCOMPARE(w.join(QLatin1Char('|')), widths);
        QCOMPARE(l.gridWidth, gridWidth);
        QCOMPARE(l.fields.join(QLatin1Char('|')), fields);
    }

    void analysis_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QStringList>("am");
        QTest::addColumn<QStringList>("pm");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("label21"); // Label21(0) .. Label21(9)
        const auto single = SurveyDirection::Approaching;
        QTest::newRow("a tie keeps the earlier hour")
            << single << half({{3, 10}, {7, 50}, {9, 50}}) << half({}) << 48
            << "110|07:00 - 08:00|50/hr|45.45%|45.45%|N/A|N/A|N/A|N/A|N/A";
        QTest::newRow("morning without vehicles")
            << single << half({}) << half({{1, 20}, {5, 80}}) << 48
            << "N/A|N/A|N/A|N/A|N/A|80.%|80.%|80/hr|17:00 - 18:00|100";
        QTest::newRow("first hour of the day, 100. and .5 shares")
            << single << half({{0, 1}}) << half({{0, 199}}) << 48
            << "1|00:00 - 01:00|1/hr|100.%|.5%|99.5%|100.%|199/hr|12:00 - 13:00|199";
        QTest::newRow("both directions read columns 3 and 7")
            << SurveyDirection::Both << half({{3, 10}, {7, 50}, {9, 50}}) << half({{11, 5}}) << 48
            << "110|07:00 - 08:00|50/hr|45.45%|43.48%|4.35%|100.%|5/hr|23:00 - 00:00|5";
        QTest::newRow("a date of ten rows")
            << single << half({{0, 3}, {1, 6}, {7, 50}}) << half({{1, 3}}) << 10
            << "9|01:00 - 02:00|6/hr|66.67%|50.%|25.%|100.%|3/hr|13:00 - 14:00|3";
        QTest::newRow("no rows") << single << half({{0, 3}}) << half({}) << 0
                                 << "N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A|N/A";
    }
    void analysis()
    {
        QFETCH(SurveyDirection, direction);
        QFETCH(QStringList, am);
        QFETCH(QStringList, pm);
        QFETCH(int, rows);
        QFETCH(QString, label21);
        FifteenMinuteResult r;
        r.layout = fifteenMinuteLayout(direction);
        r.rows = gridRows(r.layout, am, pm, rows);
        analysePeaks(r);
        QCOMPARE(r.label21.join(QLatin1Char('|')), label21);
        QCOMPARE(r.am.total, r.label21.at(0));
        QCOMPARE(r.pm.total, r.label21.at(9));
    }

    // A row with fewer cells than the layout (a damaged table) reads as 0.
    void shortRow()
    {
        FifteenMinuteResult r;
        r.layout = fifteenMinuteLayout(SurveyDirection::Both);
        r.rows = gridRows(r.layout, half({{0, 4}}), half({{0, 6}}), 48);
        r.rows[3] = QStringList{QStringLiteral("00:45 - 01:00")};
        analysePeaks(r);
        QCOMPARE(r.label21.at(0), QStringLiteral("N/A"));
        QCOMPARE(r.label21.at(9), QStringLiteral("N/A"));
    }

    void storedDate_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<QString>("firstRow");
        QTest::addColumn<QString>("hourRow"); // row 32: 07:45 - 08:00 / 19:45 - 20:00
        QTest::addColumn<QString>("label21");
        QTest::newRow("approaching")
            << SurveyDirection::Approaching << "00:00 - 00:15|7||12:00 - 12:15|*|"
            << "07:45 - 08:00|*|120|19:45 - 20:00|*|*"
            << "127|07:00 - 08:00|120/hr|94.49%|91.6%|3.05%|100.%|4/hr|23:00 - 00:00|4";
        QTest::newRow("receding")
            << SurveyDirection::Receding << "00:00 - 00:15|*||12:00 - 12:15|*|"
            << "07:45 - 08:00|*|30|19:45 - 20:00|*|*"
            << "30|07:00 - 08:00|30/hr|100.%|24.%|76.%|100.%|95/hr|17:00 - 18:00|95";
        QTest::newRow("both")
            << SurveyDirection::Both << "00:00 - 00:15|7|*||12:00 - 12:15|*|*|"
            << "07:45 - 08:00|*|*|150|19:45 - 20:00|*|*|*"
            << "157|07:00 - 08:00|150/hr|95.54%|58.59%|37.11%|95.96%|95/hr|17:00 - 18:00|99";
    }
    void storedDate()
    {
        QFETCH(SurveyDirection, direction);
        QFETCH(QString, firstRow);
        QFETCH(QString, hourRow);
        QFETCH(QString, label21);
        DatabaseSession s(m_path);
        const FifteenMinuteResult r =
            fifteenMinute(s, {Batch, QStringLiteral("06/12/26"), direction});
        QCOMPARE(r.rows.size(), 48);
        QCOMPARE(r.rows.first().join(QLatin1Char('|')), firstRow);
        QCOMPARE(r.rows.at(31).join(QLatin1Char('|')), hourRow);
        QCOMPARE(r.rows.last().at(0), QStringLiteral("11:45 - 12:00"));
        QCOMPARE(r.label21.join(QLatin1Char('|')), label21);
    }

    // A date stored with 30 of its 48 rows: the analysis reads the hours it has.
    void damagedDate()
    {
        DatabaseSession s(m_path);
        const FifteenMinuteResult r =
            fifteenMinute(s, {Batch, QStringLiteral("06/13/26"), SurveyDirection::Both});
        QCOMPARE(r.rows.size(), 30);
        QCOMPARE(
            r.label21.join(QLatin1Char('|')),
            QStringLiteral("7|00:00 - 01:00|7/hr|100.%|6.86%|93.14%|100.%|95/hr|17:00 - 18:00|95"));
    }

    void captions()
    {
        QCOMPARE(analysisCaptions().join(QLatin1Char('|')),
                 QStringLiteral("AM Total *|Peak Hour *|Peak Flow *|Peak % of AM *|"
                                "Peak % of 24 Hr *|Peak % of 24 Hr *|Peak % of PM *|"
                                "Peak Flow *|Peak Hour *|PM Total *"));
    }
};

QTEST_GUILESS_MAIN(tst_FifteenMinute)
#include "tst_FifteenMinute.moc"
