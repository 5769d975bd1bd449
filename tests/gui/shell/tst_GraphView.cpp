// The chart widget: shows what its chart drew, follows Visible, and puts a
// raster copy on the clipboard at DrawMode 4.

#include "core/analysis/ChartSeries.h"
#include "gui/shell/GraphView.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
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
