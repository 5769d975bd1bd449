// The chart widget: shows what its chart drew, follows Visible, and puts a
// raster copy on the clipboard at DrawMode 4.

#include "core/analysis/ChartSeries.h"
#include "gui/shell/GraphView.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QSet>
#include <QtTest>

using namespace roadtally;

class tst_GraphView : public QObject
{
    Q_OBJECT

private:
    static ChartSeries series()
    {
        ChartSeries s;
        s.values = {4, 12, 8};
        s.colours = {10, 12, 10};
        s.labels = {QStringLiteral("34"), QStringLiteral("35"), QStringLiteral("36")};
        s.leftTitle = QStringLiteral("Number of Vehicles");
        return s;
    }

private Q_SLOTS:
    void drawsAndCopies()
    {
        QWidget window;
        auto *view = new GraphView(&window);
        view->setGeometry(0, 0, 600, 360);
        window.resize(600, 360);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::clipboard()->clear();

        drawChart(view->graph(), series());
        // The copy holds the chart in the widget's proportions.
        QCOMPARE(view->graph().copy().size, QSizeF(600, 360));

        const QImage shown = view->grab().toImage();
        QPainter painter;
        QImage reference(600, 360, QImage::Format_RGB32);
        painter.begin(&reference);
        const ChartLayout l =
            paintChart(painter, QRectF(0, 0, 600, 360), view->graph().drawnData());
        painter.end();
        QCOMPARE(shown.pixelColor(l.bars.at(1).center().toPoint()), paletteColour(12));

        QTRY_VERIFY(!QApplication::clipboard()->image().isNull());
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(640, 400)); // never smaller than a readable chart
        QPainter p2(&reference);
        const ChartLayout big = paintChart(p2, QRectF(0, 0, 640, 400), view->graph().drawnData());
        p2.end();
        QCOMPARE(copied.pixelColor(big.bars.at(0).center().toPoint()), paletteColour(10));
    }

    // The legend is part of the chart: the widget shows it in the kept area,
    // and the copy the reports print carries the same legend.
    void legendOnScreen()
    {
        GraphView view;
        view.resize(720, 420);
        ChartSeries s = series();
        s.frame.keepClear = QRectF(QPointF(0.7, 0.05), QPointF(1.0, 0.25));
        s.legend = {
            {ChartLegendEntry::Bar, 12, QStringLiteral("85th Percentile"), {}},
            {ChartLegendEntry::Band, 7, QStringLiteral("Pace Low"), QStringLiteral("Pace High")}};
        drawChart(view.graph(), s);
        QCOMPARE(view.graph().copy().data.legend, s.legend);

        const QImage shown = view.grab().toImage();
        QImage reference(shown.size(), QImage::Format_RGB32);
        QPainter painter(&reference);
        const ChartLayout l = paintChart(painter, QRectF(QPointF(0, 0), QSizeF(reference.size())),
                                         view.graph().drawnData());
        painter.end();
        const QRectF kept(504, 21, 216, 84); // keepClear on this widget
        QVERIFY(!l.legend.isEmpty());
        QVERIFY(kept.adjusted(-0.5, -0.5, 0.5, 0.5).contains(l.legend));
        // Both marks are painted inside the box, and no bar reaches into it.
        QSet<QRgb> inside;
        const QRect box = l.legend.toRect().adjusted(1, 1, -1, -1);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                inside.insert(shown.pixel(x, y));
        QVERIFY(inside.contains(paletteColour(12).rgb()));
        QVERIFY(inside.contains(paletteColour(7).rgb()));
        for (const QRectF &bar : l.bars)
            QVERIFY(!bar.intersects(l.legend));
    }

    void followsVisible()
    {
        QWidget window;
        auto *view = new GraphView(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view->graph().Visible(false);
        QVERIFY(view->isHidden());
        view->graph().Visible(true);
        QVERIFY(view->isVisible());
    }

    void emptyChartPaints()
    {
        GraphView view;
        view.resize(300, 200);
        const QImage image = view.grab().toImage();
        QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
    }
};

QTEST_MAIN(tst_GraphView)
#include "tst_GraphView.moc"
