// The two study charts painted into images: each fills its rectangle and
// nothing outside it, at screen size, small and in page units; the pace is
// shaded only when there is one, and nothing is marked without vehicles.

#include "core/analysis/SpeedStudy.h"
#include "core/analysis/SpeedStudyCharts.h"

#include <QImage>
#include <QtTest>

using namespace roadtally;

namespace {

const QRgb Outside = qRgb(255, 0, 255);
const QRgb Pace = qRgb(253, 225, 170);
const QRgb P85 = qRgb(198, 40, 40);

SpeedStudy study(const QString &unit, const QString &spec)
{
    SpeedStudyInput in;
    in.unit = unit;
    in.postedLimit = unit == QLatin1String("KPH") ? QStringLiteral("60") : QStringLiteral("035");
    for (const QString &pair : spec.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList kv = pair.split(QLatin1Char(':'));
        in.counts[kv.at(0).toInt()] += kv.at(1).toLongLong();
    }
    return computeSpeedStudy(in);
}

// A bell of speeds around 36 mph with a few in both catch-all rows.
QString bell()
{
    QStringList parts;
    for (int v = 20; v <= 55; ++v)
        parts << QStringLiteral("%1:%2").arg(v).arg(
            int(400 * std::exp(-(v - 36) * (v - 36) / 40.0)));
    return parts.join(QLatin1Char(' ')) + QStringLiteral(" 10:4 90:6");
}

using Painter = void (*)(QPainter &, const QRectF &, const SpeedStudy &);

int count(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

Q_DECLARE_METATYPE(Painter)

class tst_SpeedStudyCharts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void staysInItsRectangle_data()
    {
        QTest::addColumn<Painter>("paint");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("spec");
        QTest::addColumn<QRect>("rect");   // in image pixels
        QTest::addColumn<double>("scale"); // painter units per pixel
        const struct
        {
            const char *name;
            Painter paint;
        } charts[] = {{"distribution", &paintSpeedDistributionChart},
                      {"cumulative", &paintCumulativeSpeedChart}};
        for (const auto &c : charts) {
            QTest::addRow("%s, bell", c.name)
                << c.paint << "MPH" << bell() << QRect(40, 30, 640, 380) << 1.0;
            QTest::addRow("%s, small", c.name)
                << c.paint << "MPH" << bell() << QRect(10, 10, 220, 140) << 1.0;
            QTest::addRow("%s, page units", c.name)
                << c.paint << "MPH" << bell() << QRect(20, 20, 600, 340) << 15.0;
            QTest::addRow("%s, km/h", c.name)
                << c.paint << "KPH"
                << "29:3 50:5 60:10 69:6 70:4 75:5 121:2" << QRect(0, 0, 700, 400) << 1.0;
            QTest::addRow("%s, catch-all rows only", c.name)
                << c.paint << "MPH"
                << "10:3 90:2" << QRect(30, 30, 500, 300) << 1.0;
            QTest::addRow("%s, one vehicle", c.name) << c.paint << "MPH"
                                                     << "40:1" << QRect(30, 30, 500, 300) << 1.0;
            QTest::addRow("%s, no vehicles", c.name) << c.paint << "MPH"
                                                     << "" << QRect(30, 30, 500, 300) << 1.0;
        }
    }
    void staysInItsRectangle()
    {
        QFETCH(Painter, paint);
        QFETCH(QString, unit);
        QFETCH(QString, spec);
        QFETCH(QRect, rect);
        QFETCH(double, scale);
        QImage image(rect.right() + 40, rect.bottom() + 40, QImage::Format_RGB32);
        image.fill(Outside);
        {
            QPainter p(&image);
            p.scale(1 / scale, 1 / scale);
            paint(p,
                  QRectF(rect.x() * scale, rect.y() * scale, rect.width() * scale,
                         rect.height() * scale),
                  study(unit, spec));
        }
        int inside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool in = rect.contains(x, y);
                const bool untouched = image.pixel(x, y) == Outside;
                if (!in && !untouched)
                    QFAIL(qPrintable(QStringLiteral("painted outside at %1, %2").arg(x).arg(y)));
                inside += in && untouched;
            }
        QCOMPARE(inside, 0); // the chart owns its whole rectangle
        // Something beside the white ground: axes, text, bars.
        QVERIFY(count(image, qRgb(255, 255, 255)) < rect.width() * rect.height());
    }

    void shadesThePaceWhenThereIsOne_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<bool>("shaded");
        QTest::addColumn<bool>("marked");
        QTest::newRow("bell") << bell() << true << true;
        QTest::newRow("one vehicle") << "40:1" << true << true;
        QTest::newRow("catch-all rows only") << "10:3 90:2" << false << true;
        QTest::newRow("no vehicles") << "" << false << false;
    }
    void shadesThePaceWhenThereIsOne()
    {
        QFETCH(QString, spec);
        QImage image(700, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            paintSpeedDistributionChart(p, QRectF(image.rect()),
                                        study(QStringLiteral("MPH"), spec));
        }
        // The legend swatch alone is a few dozen pixels; the band is far larger.
        QTEST(count(image, Pace) > 1000, "shaded");
        QTEST(count(image, P85) > 0, "marked");
    }
};

QTEST_MAIN(tst_SpeedStudyCharts)
#include "tst_SpeedStudyCharts.moc"
