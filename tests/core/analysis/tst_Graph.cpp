// The chart: its property contract (AutoInc and its wrap-around, failing
// assignments skipped, DrawMode 2 and 4), and its painting into a QImage (bar
// heights and colours, round ticks, x labels that never overlap), also through
// the picture the chart slot keeps for the reports.

#include "core/analysis/ChartSeries.h"
#include "core/analysis/Graph.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace roadtally;

namespace {

// Sets one property by name; what the table of failing assignments drives.
bool assign(Graph &g, const QString &property, const QString &value)
{
    const int n = value.toInt();
    if (property == QLatin1String("DataReset"))
        return g.DataReset(n);
    if (property == QLatin1String("GraphType"))
        return g.GraphType(n);
    if (property == QLatin1String("NumSets"))
        return g.NumSets(n);
    if (property == QLatin1String("NumPoints"))
        return g.NumPoints(n);
    if (property == QLatin1String("AutoInc"))
        return g.AutoInc(n);
    if (property == QLatin1String("ThisPoint"))
        return g.ThisPoint(n);
    if (property == QLatin1String("GraphData"))
        return g.GraphData(value);
    if (property == QLatin1String("LabelEvery"))
        return g.LabelEvery(n);
    if (property == QLatin1String("ColorData"))
        return g.ColorData(n);
    if (property == QLatin1String("FontUse"))
        return g.FontUse(n);
    if (property == QLatin1String("FontSize"))
        return g.FontSize(n);
    if (property == QLatin1String("GridStyle"))
        return g.GridStyle(n);
    if (property == QLatin1String("DrawMode"))
        return g.DrawMode(n);
    return false;
}

bool sameData(const ChartData &a, const ChartData &b)
{
    return a.values == b.values && a.labels == b.labels && a.colours == b.colours &&
           a.labelEvery == b.labelEvery && a.gridStyle == b.gridStyle &&
           a.graphType == b.graphType && a.titleFontPercent == b.titleFontPercent &&
           a.otherFontPercent == b.otherFontPercent && a.labelFontPercent == b.labelFontPercent;
}

QColor pixelAt(const QImage &image, const QPointF &p)
{
    return image.pixelColor(p.toPoint());
}

ChartData bars(const QVector<double> &values, const QVector<int> &colours)
{
    ChartSeries s;
    s.values = values;
    s.colours = colours;
    s.leftTitle = QStringLiteral("Number of Vehicles");
    s.bottomTitle = QStringLiteral("Measured Vehicle Speed (Both Directions)");
    return chartData(s);
}

} // namespace

class tst_Graph : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void autoIncWrapsToPointOne()
    {
        Graph g;
        QVERIFY(g.NumPoints(3));
        QVERIFY(g.AutoInc(1));
        for (double v : {1.0, 2.0, 3.0, 4.0})
            QVERIFY(g.GraphData(v));
        QCOMPARE(g.data().values, QVector<double>({4, 2, 3}));
        QCOMPARE(g.thisPoint(), 2);
        QVERIFY(g.AutoInc(1)); // setting it again restarts at point 1
        QCOMPARE(g.thisPoint(), 1);
        g.LabelText(QStringLiteral("a"));
        g.LabelText(QStringLiteral("b"));
        g.LabelText(QStringLiteral("c"));
        g.ColorData(10); // a colour pass after a full label pass starts at point 1
        QCOMPARE(g.data().colours, QVector<int>({10, -1, -1}));
        QCOMPARE(g.data().labels, QStringList({u"a"_s, u"b"_s, u"c"_s}));
    }

    void withoutAutoIncAssignmentsStay()
    {
        Graph g;
        g.NumPoints(4);
        g.AutoInc(0);
        QVERIFY(g.ThisPoint(3));
        g.GraphData(5);
        g.GraphData(6);
        QCOMPARE(g.data().values, QVector<double>({0, 0, 6, 0}));
        QVERIFY(!g.ThisPoint(5)); // out of range: skipped, the point stays
        g.GraphData(7);
        QCOMPARE(g.data().values, QVector<double>({0, 0, 7, 0}));
    }

    void failingAssignmentIsSkipped_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        const struct
        {
            const char *property, *value;
            bool accepted;
        } rows[] = {
            {"DataReset", "9", true},    {"DataReset", "5", false},     {"GraphType", "3", true},
            {"GraphType", "1", false},   {"NumSets", "1", true},        {"NumSets", "2", false},
            {"NumPoints", "0", false},   {"NumPoints", "10001", false}, {"AutoInc", "2", false},
            {"ThisPoint", "0", false},   {"ThisPoint", "4", false},     {"ThisPoint", "3", true},
            {"GraphData", "abc", false}, {"GraphData", "", false},      {"GraphData", "12.5", true},
            {"LabelEvery", "0", false},  {"LabelEvery", "3", true},     {"ColorData", "16", false},
            {"ColorData", "-1", false},  {"ColorData", "12", true},     {"FontUse", "4", false},
            {"FontSize", "0", false},    {"FontSize", "120", true},     {"GridStyle", "4", false},
            {"GridStyle", "1", true},    {"DrawMode", "3", false},      {"DrawMode", "7", false},
        };
        for (const auto &r : rows)
            QTest::addRow("%s %s", r.property, r.value)
                << QString::fromLatin1(r.property) << QString::fromLatin1(r.value) << r.accepted;
    }
    void failingAssignmentIsSkipped()
    {
        QFETCH(QString, property);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        Graph g;
        g.NumPoints(3);
        g.AutoInc(1);
        g.GraphData(1);
        g.ColorData(11);
        const ChartData before = g.data();
        const int point = g.thisPoint();
        QCOMPARE(assign(g, property, value), accepted);
        if (!accepted) {
            QVERIFY(sameData(g.data(), before));
            QCOMPARE(g.thisPoint(), point);
        }
    }

    void dataReset()
    {
        Graph g;
        g.NumPoints(2);
        g.AutoInc(1);
        g.GraphData(5);
        g.LabelText(QStringLiteral("x"));
        g.ColorData(12);
        QVERIFY(g.DataReset(9));
        QCOMPARE(g.numPoints(), 2);
        QCOMPARE(g.data().values, QVector<double>({0, 0}));
        QCOMPARE(g.data().labels, QStringList({u""_s, u""_s}));
        QCOMPARE(g.data().colours, QVector<int>({-1, -1}));
        QCOMPARE(g.data().axisLabel(1), QStringLiteral("2")); // without labels: numbered
    }

    // DrawMode 2 fixes what is shown; later assignments wait for the next drawing.
    void drawModeTwoFixesTheChart()
    {
        Graph g;
        QSignalSpy drawn(&g, &Graph::drawn);
        g.NumPoints(2);
        g.AutoInc(1);
        g.GraphData(3);
        g.GraphData(4);
        QVERIFY(g.DrawMode(2));
        QCOMPARE(drawn.count(), 1);
        g.GraphData(9);
        QCOMPARE(g.drawnData().values, QVector<double>({3, 4}));
        QCOMPARE(g.data().values, QVector<double>({9, 4}));
    }

    void drawModeFourRecordsACopy()
    {
        Graph g;
        g.setPictureSize(QSizeF(500, 300));
        QSignalSpy copied(&g, &Graph::copied);
        QSignalSpy visible(&g, &Graph::visibleChanged);
        ChartSeries s;
        s.values = {2, 8, 4};
        s.colours = {3, 12, 3};
        s.leftTitle = QStringLiteral("Number of Vehicles");
        QVERIFY(g.copy().isNull());
        drawChart(g, s);
        QCOMPARE(copied.count(), 1);
        QCOMPARE(visible.count(), 1);
        QVERIFY(g.isVisible());
        const ChartPicture picture = g.copy();
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size, QSizeF(500, 300));
        QCOMPARE(picture.data.values, QVector<double>({2, 8, 4}));
        QCOMPARE(picture.picture.boundingRect(), QRect(0, 0, 500, 300));

        // The recorded picture, replayed at another size, shows the tall bar in light red.
        QImage image(250, 150, QImage::Format_RGB32);
        image.fill(Qt::black);
        {
            QPainter p(&image);
            p.scale(0.5, 0.5);
            p.drawPicture(0, 0, picture.picture);
        }
        // The bar of 8 lies where the layout of the full size puts it, halved.
        QImage full(500, 300, QImage::Format_RGB32);
        QPainter fp(&full);
        const ChartLayout layout = paintChart(fp, QRectF(0, 0, 500, 300), picture.data);
        fp.end();
        QCOMPARE(pixelAt(image, layout.bars.at(1).center() / 2), paletteColour(12));
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    }

    void barHeightsAndColours()
    {
        const ChartData data = bars({10, 20, 40, 0}, {10, 12, 0, 3});
        QImage image(800, 500, QImage::Format_RGB32);
        QPainter p(&image);
        const ChartLayout l = paintChart(p, QRectF(0, 0, 800, 500), data);
        p.end();
        QCOMPARE(l.bars.size(), 4);
        QCOMPARE(l.axisMin, 0.0);
        QCOMPARE(l.axisMax, 40.0);
        QVERIFY(qAbs(l.bars.at(1).height() - 2 * l.bars.at(0).height()) < 1.0);
        QVERIFY(qAbs(l.bars.at(2).height() - 4 * l.bars.at(0).height()) < 1.0);
        QVERIFY(qAbs(l.bars.at(2).top() - l.plot.top()) < 1.0);
        QCOMPARE(l.bars.at(3).height(), 0.0);
        QCOMPARE(pixelAt(image, l.bars.at(0).center()), paletteColour(10));
        QCOMPARE(pixelAt(image, l.bars.at(1).center()), paletteColour(12));
        QCOMPARE(pixelAt(image, l.bars.at(2).center()), paletteColour(0));
        // Nothing is drawn for the zero bar: plot background above the axis.
        QCOMPARE(pixelAt(image, l.bars.at(3).center() - QPointF(0, l.plot.height() / 3)),
                 QColor(Qt::white));
        QVERIFY(l.ticks.contains(20.0));
    }

    // The 85th percentile bar of the worked example: point 38 at height 120 in light red.
    void percentileBar()
    {
        QVector<double> values(70, 0.0);
        QVector<int> colours(70, 11);
        values[26] = 3;
        values[37] = 120;
        colours[37] = 12;
        Graph g;
        ChartSeries s;
        s.values = values;
        s.colours = colours;
        s.labelEvery = 10;
        s.graphType = 3;
        drawChart(g, s);
        QImage image(900, 450, QImage::Format_RGB32);
        QPainter p(&image);
        const ChartLayout l = paintChart(p, QRectF(0, 0, 900, 450), g.drawnData());
        p.end();
        QCOMPARE(pixelAt(image, l.bars.at(37).center()), paletteColour(12));
        QVERIFY(qAbs(l.bars.at(37).height() / l.bars.at(26).height() - 40.0) < 0.5);
        for (int shown : l.shownLabels)
            QCOMPARE(shown % 10, 0); // every tenth label: 1, 11, 21 ...
        QCOMPARE(g.drawnData().axisLabel(10), QStringLiteral("11"));
    }

    void labelsNeverOverlap_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("every");
        QTest::addColumn<int>("width");
        QTest::newRow("60 speeds every third, wide") << 60 << 3 << 1000;
        QTest::newRow("60 speeds every third, narrow") << 60 << 3 << 300;
        QTest::newRow("120 speeds every label") << 120 << 1 << 600;
        QTest::newRow("24 hours") << 24 << 1 << 240;
        QTest::newRow("one point") << 1 << 1 << 300;
    }
    void labelsNeverOverlap()
    {
        QFETCH(int, points);
        QFETCH(int, every);
        QFETCH(int, width);
        ChartSeries s;
        for (int i = 0; i < points; ++i) {
            s.values << i % 7;
            s.labels << QString::number(100 + i);
        }
        s.labelEvery = every;
        const ChartData data = chartData(s);
        QImage image(width, 320, QImage::Format_RGB32);
        QPainter p(&image);
        const ChartLayout l = paintChart(p, QRectF(0, 0, width, 320), data);
        p.end();
        QVERIFY(!l.shownLabels.isEmpty());
        QCOMPARE(l.shownLabels.first(), 0);
        for (int i = 0; i < l.shownLabels.size(); ++i) {
            QCOMPARE(l.shownLabels.at(i) % every, 0);
            if (i > 0)
                QVERIFY2(l.labelRects.at(i - 1).right() < l.labelRects.at(i).left(),
                         qPrintable(QStringLiteral("labels %1 and %2 touch")
                                        .arg(l.shownLabels.at(i - 1))
                                        .arg(l.shownLabels.at(i))));
        }
        if (width >= 1000)
            QCOMPARE(l.shownLabels.size(), points / every); // thinned only when needed
    }

    void ticks_data()
    {
        QTest::addColumn<double>("high");
        QTest::addColumn<QVector<double>>("ticks");
        QTest::newRow("all zero") << 0.0 << QVector<double>{0, 1, 2, 3, 4, 5};
        QTest::newRow("three vehicles") << 3.0 << QVector<double>{0, 1, 2, 3};
        QTest::newRow("seven") << 7.0 << QVector<double>{0, 2, 4, 6, 8};
        QTest::newRow("triple bar 120") << 120.0 << QVector<double>{0, 25, 50, 75, 100, 125};
        QTest::newRow("a long survey's hour")
            << 9400.0 << QVector<double>{0, 2000, 4000, 6000, 8000, 10000};
    }
    void ticks()
    {
        QFETCH(double, high);
        QFETCH(QVector<double>, ticks);
        QCOMPARE(axisTicks(0, high), ticks);
    }

    void palette_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("black") << 0 << QColor(0, 0, 0);
        QTest::newRow("cyan") << 3 << QColor(0, 128, 128);
        QTest::newRow("light grey") << 7 << QColor(192, 192, 192);
        QTest::newRow("light green") << 10 << QColor(0, 255, 0);
        QTest::newRow("light cyan") << 11 << QColor(0, 255, 255);
        QTest::newRow("light red") << 12 << QColor(255, 0, 0);
        QTest::newRow("outside") << 16 << QColor();
    }
    void palette()
    {
        QFETCH(int, index);
        QFETCH(QColor, colour);
        QCOMPARE(paletteColour(index), colour);
    }
};

QTEST_MAIN(tst_Graph)
#include "tst_Graph.moc"
