// The two speed charts: points, heights, labels and colours in both printer
// modes for the worked examples, the km/h chart, and a survey without rows.

#include "fixtures/ViewsFixture.h"

#include "core/analysis/SpeedCharts.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace roadtally;
using namespace roadtally::testing;

Q_DECLARE_METATYPE(roadtally::SurveyDirection)
Q_DECLARE_METATYPE(roadtally::PrinterMode)

namespace {

const QString Example = QStringLiteral("052401-A");

// Mean 32.5 mph: pace 27 to 37, 85th percentile 38; 40 approaching vehicles at 38.
Counts exampleApproaching()
{
    return {{26, 5}, {27, 3}, {30, 6}, {38, 40}, {50, 2}};
}
Counts exampleReceding()
{
    return {{20, 2}, {38, 1}};
}

SpeedChartInput exampleInput(SurveyDirection direction, PrinterMode mode)
{
    SpeedChartInput in;
    in.batch = Example;
    in.postedLimit = QStringLiteral("035");
    in.radarMode = QStringLiteral("MPH");
    in.pace = QStringLiteral("27 to 37");
    in.percentile85 = QStringLiteral("38");
    in.direction = direction;
    in.mode = mode;
    return in;
}

} // namespace

class tst_SpeedCharts : public QObject
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
        const QString error = writeKnownSurveys(m_path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        DatabaseSession s(m_path);
        QVERIFY(s.isOpen());
        insertSpeedRows(s, Example, 14, 73, exampleApproaching(), exampleReceding(), {});
    }

    void percent85Bars_data()
    {
        QTest::addColumn<PrinterMode>("mode");
        QTest::addColumn<int>("point");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("colour");
        const PrinterMode C = PrinterMode::Color, B = PrinterMode::BlackWhite;
        QTest::newRow("85th percentile: triple height, light red") << C << 38 << 120.0 << 12;
        QTest::newRow("85th percentile, B&W") << B << 38 << 120.0 << 12;
        QTest::newRow("pace low end") << C << 27 << 3.0 << 10;
        QTest::newRow("pace low end, B&W") << B << 27 << 3.0 << 7;
        QTest::newRow("pace high end") << C << 37 << 0.0 << 10;
        QTest::newRow("pace high end, B&W") << B << 37 << 0.0 << 7;
        QTest::newRow("below the pace") << C << 26 << 5.0 << 11;
        QTest::newRow("below the pace, B&W") << B << 26 << 5.0 << 0;
        QTest::newRow("above p85 and pace") << C << 50 << 2.0 << 11;
        QTest::newRow("above p85 and pace, B&W") << B << 50 << 2.0 << 0;
        QTest::newRow("no Speed row") << C << 5 << 0.0 << 11;
        QTest::newRow("no Speed row, B&W") << B << 5 << 0.0 << 11;
        QTest::newRow("catch-all row 14") << C << 14 << 0.0 << 11;
        QTest::newRow("last point") << B << 70 << 0.0 << 0;
    }
    void percent85Bars()
    {
        QFETCH(PrinterMode, mode);
        QFETCH(int, point);
        QFETCH(double, height);
        QFETCH(int, colour);
        DatabaseSession s(m_path);
        const SpeedChartResult r =
            percent85Chart(s, exampleInput(SurveyDirection::Approaching, mode));
        QVERIFY(r.hasChart());
        QCOMPARE(r.chart.numPoints(), 70);
        QCOMPARE(r.chart.values.at(point - 1), height);
        QCOMPARE(r.chart.colours.at(point - 1), colour);
    }

    void percent85Settings()
    {
        DatabaseSession s(m_path);
        const SpeedChartResult r =
            percent85Chart(s, exampleInput(SurveyDirection::Receding, PrinterMode::Color));
        QCOMPARE(r.title, QStringLiteral("85th Percentile for Batch #052401-A"));
        QCOMPARE(r.chart.graphType, 3);
        QCOMPARE(r.chart.labelEvery, 10);
        QVERIFY(r.chart.labels.isEmpty()); // the points carry their numbers, which are the speeds
        QCOMPARE(r.chart.titleFontPercent, 140);
        QCOMPARE(r.chart.otherFontPercent, 120);
        QCOMPARE(r.chart.leftTitle, QStringLiteral("Number of Vehicles"));
        QCOMPARE(r.chart.bottomTitle, QStringLiteral("Measured Vehicle Speed (Receding Only)"));
        // Receding column: one vehicle at 38, drawn at triple height.
        QCOMPARE(r.chart.values.at(37), 3.0);
        QCOMPARE(r.chart.values.at(19), 2.0);
    }

    // The legend names the bars in the colours they are drawn in, in either mode.
    void percent85Legend_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("pace");
        QTest::newRow("colour") << int(PrinterMode::Color) << 10;
        QTest::newRow("black and white") << int(PrinterMode::BlackWhite) << 7;
    }
    void percent85Legend()
    {
        QFETCH(int, mode);
        QFETCH(int, pace);
        DatabaseSession s(m_path);
        const SpeedChartResult r =
            percent85Chart(s, exampleInput(SurveyDirection::Approaching, PrinterMode(mode)));
        QCOMPARE(r.chart.legend.size(), 2);
        QCOMPARE(r.chart.legend[0].mark, ChartLegendEntry::Bar);
        QCOMPARE(r.chart.legend[0].text, QStringLiteral("85th Percentile"));
        QCOMPARE(r.chart.legend[0].colour, 12);
        QCOMPARE(r.chart.legend[1].mark, ChartLegendEntry::Band);
        QCOMPARE(r.chart.legend[1].colour, pace);
        QVERIFY(r.chart.colours.contains(pace) && r.chart.colours.contains(12));
        QVERIFY(trafficFlowChart(s, exampleInput(SurveyDirection::Approaching, PrinterMode(mode)))
                    .chart.legend.isEmpty());
    }

    // The highlighted pace and percentile are the texts given (the summary
    // panel's direction), not the chart's direction.
    void percent85FollowsCriteria()
    {
        DatabaseSession s(m_path);
        SpeedChartInput in = exampleInput(SurveyDirection::Approaching, PrinterMode::Color);
        in.pace = QStringLiteral("31 to 41");
        in.percentile85 = QStringLiteral("42");
        const SpeedChartResult r = percent85Chart(s, in);
        QCOMPARE(r.chart.values.at(37), 40.0); // 38 is no longer the 85th percentile
        QCOMPARE(r.chart.colours.at(37), 10);
        QCOMPARE(r.chart.colours.at(26), 11); // 27 is below the pace now
    }

    void percent85Kph()
    {
        DatabaseSession s(m_path);
        SpeedChartInput in;
        in.batch = KphBatch;
        in.radarMode = QStringLiteral("KPH");
        in.direction = SurveyDirection::Approaching;
        in.pace = QStringLiteral("100 to 120");
        in.percentile85 = QStringLiteral("110");
        const SpeedChartResult r = percent85Chart(s, in);
        // The axis reaches the fast catch-all row, which holds vehicles.
        QCOMPARE(r.chart.numPoints(), 121);
        QCOMPARE(r.speeds.first(), 1);
        QCOMPARE(r.speeds.last(), 121);
        QCOMPARE(r.chart.values.at(28), 2.0);  // the catch-all row 29 at point 29
        QCOMPARE(r.chart.values.at(119), 3.0); // 120 km/h
        QCOMPARE(r.chart.values.at(120), 2.0); // above 120 km/h
        double sum = 0;
        for (double v : r.chart.values)
            sum += v;
        QCOMPARE(sum, 35.0);                  // every vehicle is on the chart
        QCOMPARE(r.chart.colours.at(99), 10); // 100: low end of the pace
        QCOMPARE(r.chart.colours.at(28), 11);
    }

    // 70 points (120 in km/h), more where the fast rows hold vehicles or the
    // 85th percentile lies beyond, at most twice that.
    void percent85Points_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("fastest");
        QTest::addColumn<double>("p85");
        QTest::addColumn<int>("points");
        QTest::newRow("town road") << "MPH" << 62 << 38.0 << 70;
        QTest::newRow("vehicles in the fast rows") << "MPH" << 73 << 66.0 << 73;
        QTest::newRow("85th percentile beyond the rows") << "MPH" << 73 << 77.0 << 77;
        QTest::newRow("fractional 85th percentile") << "MPH" << 60 << 71.2 << 72;
        QTest::newRow("absurd 85th percentile") << "MPH" << 73 << 900.0 << 140;
        QTest::newRow("km/h") << "KPH" << 121 << 110.0 << 121;
        QTest::newRow("km/h town") << "KPH" << 90 << 60.0 << 120;
    }
    void percent85Points()
    {
        QFETCH(QString, unit);
        QFETCH(int, fastest);
        QFETCH(double, p85);
        QFETCH(int, points);
        QCOMPARE(roadtally::percent85Points(unit, fastest, p85), points);
    }

    // An 85th percentile beyond the fastest row is still marked.
    void percent85BeyondTheRows()
    {
        QVector<SpeedCount> rows;
        for (int speed = 14; speed <= 73; ++speed)
            rows.append({speed, speed >= 60 ? 10.0 : 0.0});
        rows.last().count = 25;
        SpeedChartInput in;
        in.radarMode = QStringLiteral("MPH");
        in.pace = QStringLiteral("60 to 70");
        in.percentile85 = QStringLiteral("77");
        const SpeedChartResult r = percent85Series(rows, in);
        QCOMPARE(r.chart.numPoints(), 77);
        QCOMPARE(r.chart.values.at(72), 25.0);
        QCOMPARE(r.chart.colours.at(76), 12);
        QCOMPARE(r.chart.values.at(76), 25.0); // as tall as the tallest bar
        QCOMPARE(r.chart.values.at(75), 0.0);
        QVERIFY(!r.chart.frame.keepClear.isEmpty());
    }

    void trafficFlow_data()
    {
        QTest::addColumn<PrinterMode>("mode");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("colour");
        const PrinterMode C = PrinterMode::Color, B = PrinterMode::BlackWhite;
        QTest::newRow("below the limit") << C << 34 << 10;
        QTest::newRow("below the limit, B&W") << B << 34 << 7;
        QTest::newRow("at the limit") << C << 35 << 0;
        QTest::newRow("at the limit, B&W") << B << 35 << 0;
        QTest::newRow("above the limit") << C << 36 << 12;
        QTest::newRow("above the limit, B&W") << B << 36 << 7;
        QTest::newRow("catch-all slow row") << C << 14 << 10;
        QTest::newRow("catch-all fast row") << C << 73 << 12;
    }
    void trafficFlow()
    {
        QFETCH(PrinterMode, mode);
        QFETCH(int, speed);
        QFETCH(int, colour);
        DatabaseSession s(m_path);
        const SpeedChartResult r = trafficFlowChart(s, exampleInput(SurveyDirection::Both, mode));
        QCOMPARE(r.chart.numPoints(), 60);
        QCOMPARE(r.chart.labels.first(), QStringLiteral("14"));
        QCOMPARE(r.chart.labels.last(), QStringLiteral("73"));
        QCOMPARE(r.chart.labelEvery, 3);
        QCOMPARE(r.chart.colours.at(speed - 14), colour);
    }

    void trafficFlowDirections_data()
    {
        QTest::addColumn<SurveyDirection>("direction");
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("count");
        QTest::addColumn<QString>("bottomTitle");
        QTest::newRow("approaching") << SurveyDirection::Approaching << 38 << 40.0
                                     << "Measured Vehicle Speed (Approaching Only)";
        QTest::newRow("receding") << SurveyDirection::Receding << 20 << 2.0
                                  << "Measured Vehicle Speed (Receding Only)";
        QTest::newRow("both") << SurveyDirection::Both << 38 << 41.0
                              << "Measured Vehicle Speed (Both Directions)";
    }
    void trafficFlowDirections()
    {
        QFETCH(SurveyDirection, direction);
        QFETCH(int, speed);
        QFETCH(double, count);
        QFETCH(QString, bottomTitle);
        DatabaseSession s(m_path);
        const SpeedChartResult r = trafficFlowChart(s, exampleInput(direction, PrinterMode::Color));
        QCOMPARE(r.title, QStringLiteral("Vehicle Speed Comparison for Batch #052401-A"));
        QCOMPARE(r.chart.values.at(speed - 14), count);
        QCOMPARE(r.chart.bottomTitle, bottomTitle);
        QCOMPARE(r.chart.otherFontPercent, 120);
        QCOMPARE(r.chart.gridStyle, 1);
    }

    void noSpeedRows()
    {
        DatabaseSession s(m_path);
        SpeedChartInput in = exampleInput(SurveyDirection::Both, PrinterMode::Color);
        in.batch = QStringLiteral("999999-Z");
        const SpeedChartResult flow = trafficFlowChart(s, in);
        QVERIFY(!flow.hasChart());
        QCOMPARE(flow.message,
                 QStringLiteral("The Database is empty OR you have to select a SURVEY "
                                "on the first tab."));
        QCOMPARE(flow.title, QStringLiteral("Vehicle Speed Comparison for Batch #999999-Z"));
        const SpeedChartResult p85 = percent85Chart(s, in);
        QCOMPARE(p85.message, QStringLiteral("The Database is empty OR you have to select a SURVEY "
                                             "on the second tab."));
        QCOMPARE(p85.chart.numPoints(), 0);
    }

    void pace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("mph") << "27 to 37" << 27.0 << 37.0;
        QTest::newRow("one-digit low end") << "7 to 17" << 7.0 << 17.0;
        QTest::newRow("km/h") << "100 to 120" << 100.0 << 120.0;
        QTest::newRow("no low end") << " to 10" << 0.0 << 10.0;
        QTest::newRow("empty") << "" << 0.0 << 0.0;
    }
    void pace()
    {
        QFETCH(QString, text);
        QFETCH(double, low);
        QFETCH(double, high);
        const PaceWindow w = paceWindow(text);
        QCOMPARE(w.low, low);
        QCOMPARE(w.high, high);
    }
};

QTEST_GUILESS_MAIN(tst_SpeedCharts)
#include "tst_SpeedCharts.moc"
