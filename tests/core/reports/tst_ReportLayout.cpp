// The geometry of the printed pages, one case per fault a recipient met: on
// every page no text crosses a box border or a rule, no two texts overlap, no
// table text is cut at its cell; and where the case needs it, the 85th
// percentile chart's legend clear of every bar, its 85th percentile bar
// present, the daily volume chart's bars under their brackets.
#include "fixtures/ReportInputs.h"

#include "core/analysis/DailyVolume.h"
#include "core/analysis/Graph.h"
#include "core/analysis/SpeedCharts.h"
#include "core/reports/PagePainter.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;
using namespace roadtally;
using namespace roadtally::testing;

namespace {

// The longest texts the input windows accept: location 80 characters, zone
// and direction 30; an agency name that takes two lines.
SurveyFacts longestFacts()
{
    SurveyFacts f = fixedFacts();
    f.location = QString(80, QLatin1Char('W'));
    f.location.replace(10, 1, QLatin1Char(' ')).replace(40, 1, QLatin1Char(' '));
    f.zone = QStringLiteral("Residential School Zone WWWWW");
    f.zone = f.zone.leftJustified(30, QLatin1Char('W'));
    f.direction =
        QStringLiteral("Northbound toward Interstate W").leftJustified(30, QLatin1Char('W'));
    return f;
}

ReportFrame longestFrame()
{
    ReportFrame f = fixedFrame();
    f.agency = QStringLiteral("Department of Public Works and Transportation, Traffic Engineering "
                              "and Safety Division of the County");
    return f;
}

// An interstate survey posted 65: mean 65.5, so an 85th percentile of 77,
// and a fifth of the vehicles in the rows above 70.
QVector<SpeedCount> interstateRows()
{
    QVector<SpeedCount> rows;
    for (int speed = 14; speed <= 73; ++speed) {
        double count = 0;
        if (speed >= 50 && speed <= 72)
            count = std::max(0.0, 60.0 - 4.0 * std::abs(speed - 66));
        if (speed == 73)
            count = 30;
        rows.append({speed, count});
    }
    return rows;
}

SpeedChartInput interstateInput(const QString &percentile85)
{
    SpeedChartInput in;
    in.batch = QStringLiteral("053025-A");
    in.postedLimit = QStringLiteral("065");
    in.radarMode = QStringLiteral("MPH");
    in.pace = QStringLiteral("61 - 71");
    in.percentile85 = percentile85;
    in.direction = SurveyDirection::Both;
    return in;
}

// The chart as the report's picture: recorded in the page rectangle's proportions.
constexpr QSizeF PercentileSize(864, 547.2);
constexpr QSizeF VolumeSize(1152, 504);

struct Chart
{
    ChartData data;
    QRectF page; // where the report places it, twips
    QSizeF size;
};

struct Case
{
    std::function<bool(DocumentEngine &)> build;
    std::optional<Chart> chart = {};
    QStringList texts = {}; // lines of text the page must show
};

Chart percentileChart(const QString &p85)
{
    const SpeedChartResult r = percent85Series(interstateRows(), interstateInput(p85));
    return {chartData(r.chart), QRectF(QPointF(1440, 8928), QPointF(10080, 14400)), PercentileSize};
}

template <class Input> Input withChart(Input in, const Chart &chart)
{
    in.chart = recordChart(chart.data, chart.size).picture;
    return in;
}

Chart volumeChart()
{
    ChartSeries s;
    for (int h = 0; h < 24; ++h)
        s.values << (h == 0 || h == 23 ? 5 : 40 + 10 * (h % 12));
    s.labels = hourLabels();
    s.colours = QVector<int>(24, 3);
    s.leftTitle = QStringLiteral("Number of Vehicles");
    s.frame = dailyVolumeFrame();
    return {chartData(s), QRectF(QPointF(432, 8496), QPointF(11952, 13536)), VolumeSize};
}

// A text item: a run of text up to a wide gap of blanks (the "AM Time ... PM
// Time" line is two items), from the top of its capitals to the foot of its
// descenders.
struct TextItem
{
    QRectF rect;
    QString text;
};

QVector<TextItem> textItems(const Document &doc, int page)
{
    QVector<TextItem> items;
    auto add = [&](const TextRun &run) {
        const QFontMetricsF &m = doc.fonts.metrics(run.font);
        static const QRegularExpression pieces(QStringLiteral("\\S+(?: \\S+)*"));
        auto it = pieces.globalMatch(run.text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const double x = run.x + m.horizontalAdvance(run.text.left(match.capturedStart()));
            const double top = run.y + m.ascent() - m.capHeight();
            items.append(
                {QRectF(x, top, m.horizontalAdvance(match.captured()), m.capHeight() + m.descent()),
                 match.captured()});
        }
    };
    for (const PageItem &item : doc.pages[size_t(page)].items)
        if (const auto *run = std::get_if<TextRun>(&item))
            add(*run);
    for (const TextRun &run : headerFooterRuns(doc, page + 1))
        add(run);
    return items;
}

QString where(const TextItem &t)
{
    return QStringLiteral("\"%1\" at %2, %3 (%4 x %5)")
        .arg(t.text)
        .arg(t.rect.x())
        .arg(t.rect.y())
        .arg(t.rect.width())
        .arg(t.rect.height());
}

} // namespace

Q_DECLARE_METATYPE(Case)

class tst_ReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
};

void tst_ReportLayout::pages_data()
{
    QTest::addColumn<Case>("report");

    // 1: the daily volume page names the date of its bars.
    QTest::newRow("daily volume date") << Case{[](DocumentEngine &vp) {
                                                   DailyVolumeChartInput in = dailyVolumeInput();
                                                   in.date = QStringLiteral("05/30/25");
                                                   return DailyVolume_Graph(vp, in);
                                               },
                                               {},
                                               {u"Date: 05/30/25"_s}};
    // 2: the interstate's 85th percentile chart: the legend over no bar, the
    // axis reaching the 85th percentile of 77 and its red bar there.
    QTest::newRow("85th percentile on a fast road")
        << Case{[](DocumentEngine &vp) {
                    return Percent85_Graph(vp, withChart(chartInput(), percentileChart(u"77"_s)));
                },
                percentileChart(QStringLiteral("77")),
                {}};
    QTest::newRow("85th percentile on a row above 70")
        << Case{[](DocumentEngine &vp) {
                    return Percent85_Graph(vp, withChart(chartInput(), percentileChart(u"72"_s)));
                },
                percentileChart(QStringLiteral("72")),
                {}};
    // 3: the statistics box names its direction.
    QTest::newRow("chart statistics direction")
        << Case{[](DocumentEngine &vp) {
                    ChartReportInput in = chartInput();
                    in.statisticsDirection = SurveyDirection::Receding;
                    return TrafficFlow_Graph(vp, in);
                },
                {},
                {u"Receding vehicles"_s}};
    // 4: the longest texts, on every page that prints them.
    QTest::newRow("longest texts: summary") << Case{[](DocumentEngine &vp) {
        ReportSummaryInput in = summaryInput();
        in.frame = longestFrame();
        in.facts = longestFacts();
        return ReportSummary(vp, in);
    }};
    QTest::newRow("longest texts: speeds") << Case{[](DocumentEngine &vp) {
        ChartReportInput in = chartInput();
        in.frame = longestFrame();
        in.facts = longestFacts();
        in.statisticsDirection = SurveyDirection::Both;
        return TrafficFlow_Graph(vp, in);
    }};
    QTest::newRow("longest texts: percentile") << Case{[](DocumentEngine &vp) {
        ChartReportInput in = chartInput();
        in.frame = longestFrame();
        in.facts = longestFacts();
        return Percent85_Graph(vp, in);
    }};
    QTest::newRow("longest texts: daily volume") << Case{[](DocumentEngine &vp) {
        DailyVolumeChartInput in = dailyVolumeInput();
        in.frame = longestFrame();
        in.facts = longestFacts();
        in.date = QStringLiteral("05/30/25");
        return DailyVolume_Graph(vp, in);
    }};
    QTest::newRow("longest texts: fifteen") << Case{[](DocumentEngine &vp) {
        Report15minInput in = fifteenInput(SurveyDirection::Both);
        in.frame = longestFrame();
        in.facts = longestFacts();
        return Report15min(vp, in);
    }};
    QTest::newRow("longest texts: weekly") << Case{[](DocumentEngine &vp) {
        ReportWeeklyInput in = weeklyInput();
        in.frame = longestFrame();
        in.facts = longestFacts();
        return ReportWeekly(vp, in);
    }};
    QTest::newRow("longest texts: study") << Case{[](DocumentEngine &vp) {
        SpeedZoneStudyInput in = studyInput(fixedStudyCounts());
        in.frame = longestFrame();
        in.facts = longestFacts();
        return SpeedZoneStudy(vp, in);
    }};
    // 5: "Total AM" inside its box.
    QTest::newRow("fifteen-minute figures")
        << Case{[](DocumentEngine &vp) {
                    return Report15min(vp, fifteenInput(SurveyDirection::Approaching));
                },
                {},
                {u"Total AM: 120"_s}};
    // 6: the daily volume bars under their brackets, the grid below the caption.
    QTest::newRow("daily volume brackets")
        << Case{[](DocumentEngine &vp) {
                    return DailyVolume_Graph(vp, withChart(dailyVolumeInput(), volumeChart()));
                },
                volumeChart(),
                {u"Survey: Traffic Both Directions"_s}};
    // 7: a weekday surveyed twice: two dates in its heading, the note under the grid.
    QTest::newRow("weekly headings of two dates")
        << Case{[](DocumentEngine &vp) {
                    ReportWeeklyInput in = weeklyInput();
                    in.dayHeadings = {QStringLiteral("Mon-02"),    QStringLiteral("Tue-03"),
                                      QStringLiteral("Wed-28/04"), QStringLiteral("Thu-29"),
                                      QStringLiteral("Fri-30"),    QStringLiteral("Sat-31"),
                                      QStringLiteral("Sun-01")};
                    return ReportWeekly(vp, in);
                },
                {},
                {u"Wed-28/04"_s, weeklyRepeatNote()}};
    // 8: the speeding profile: the unit in the headings, a page for no vehicle,
    // "Page 1 of N".
    QTest::newRow("profile headings and footer")
        << Case{[](DocumentEngine &vp) {
                    SpeedProfileInput in = profileInput(130);
                    in.bandHeadings = {QStringLiteral("050+"), QStringLiteral("060+"),
                                       QStringLiteral("070+")};
                    in.unit = QStringLiteral("MPH");
                    SpeedProfile(vp, in);
                    return true;
                },
                {},
                {u"Page 1 of 2"_s}};
    QTest::newRow("profile in km/h") << Case{[](DocumentEngine &vp) {
        SpeedProfileInput in = profileInput(10);
        in.bandHeadings = {QStringLiteral("100+"), QStringLiteral("110+"), QStringLiteral("120+")};
        in.unit = QStringLiteral("KPH");
        SpeedProfile(vp, in);
        return true;
    }};
    QTest::newRow("profile without speeding vehicles")
        << Case{[](DocumentEngine &vp) {
                    SpeedProfileInput in = profileInput(0);
                    in.postedLimit = QStringLiteral("035");
                    in.unit = QStringLiteral("MPH");
                    SpeedProfile(vp, in);
                    return true;
                },
                {},
                {u"No vehicle exceeded the posted "
                 "limit of 035 mph."_s,
                 u"Page 1 of 1"_s}};
    // 9: km/h bin headings keep their margins.
    QTest::newRow("km/h bin headings") << Case{[](DocumentEngine &vp) {
        ReportSummaryInput in = summaryInput();
        in.facts.unit = QStringLiteral("KPH");
        for (int i = 0; i < 13; ++i)
            in.binHeadings[size_t(i)] =
                QStringLiteral("%1 - %2").arg(60 + 5 * i).arg(64 + 5 * i + (i == 12 ? 900 : 0));
        in.binHeadings[9] = QStringLiteral("105 - 109");
        return ReportSummary(vp, in);
    }};
}

void tst_ReportLayout::pages()
{
    QFETCH(Case, report);
    DocumentEngine vp;
    SetDefaultStyle(vp);
    QVERIFY(report.build(vp));
    const Document &doc = *vp.document();
    QStringList shown;
    for (int page = 0; page < doc.pageCount(); ++page) {
        const QVector<TextItem> texts = textItems(doc, page);
        for (const TextItem &t : texts)
            shown << t.text;
        // No two texts overlap.
        for (qsizetype i = 0; i < texts.size(); ++i)
            for (qsizetype j = i + 1; j < texts.size(); ++j)
                QVERIFY2(
                    !texts[i].rect.adjusted(1, 1, -1, -1).intersects(texts[j].rect),
                    qPrintable(where(texts[i]) + QStringLiteral(" overlaps ") + where(texts[j])));
        for (const PageItem &item : doc.pages[size_t(page)].items) {
            // No text crosses a box border: it lies inside the box or clear of it.
            if (const auto *box = std::get_if<BoxItem>(&item)) {
                const double half = box->lineWidth / 2;
                const QRectF outer = box->rect.adjusted(-half, -half, half, half);
                const QRectF inner = box->rect.adjusted(half, half, -half, -half);
                for (const TextItem &t : texts) {
                    const QRectF r = t.rect.adjusted(1, 1, -1, -1);
                    QVERIFY2(inner.contains(r) || !outer.intersects(r),
                             qPrintable(where(t) + QStringLiteral(" crosses the border of the "
                                                                  "box %1, %2 - %3, %4")
                                                       .arg(box->rect.left())
                                                       .arg(box->rect.top())
                                                       .arg(box->rect.right())
                                                       .arg(box->rect.bottom())));
                }
            }
            // No text on a rule.
            if (const auto *line = std::get_if<LineItem>(&item)) {
                const double half = line->width / 2;
                const QRectF stroke =
                    QRectF(line->from, line->to).normalized().adjusted(-half, -half, half, half);
                for (const TextItem &t : texts)
                    QVERIFY2(!stroke.intersects(t.rect.adjusted(1, 1, -1, -1)),
                             qPrintable(where(t) + QStringLiteral(" lies on a rule")));
            }
            // Every table text inside its cell's margins, and no text over a table.
            if (const auto *slice = std::get_if<TableSlice>(&item)) {
                const DocumentTable &table = *doc.tables[slice->table];
                QRectF area;
                forEachCell(table, *slice, [&](const CellPlace &cell) {
                    area = area.united(cell.rect);
                    const QString text = table.text(cell.row, cell.column);
                    if (text.isEmpty())
                        return;
                    QVERIFY2(!cellTextPlace(doc, table, cell, text).clipped,
                             qPrintable(QStringLiteral("\"%1\" is cut at its cell").arg(text)));
                });
                for (const TextItem &t : texts)
                    QVERIFY2(!area.intersects(t.rect.adjusted(1, 1, -1, -1)),
                             qPrintable(where(t) + QStringLiteral(" lies over a table")));
            }
        }
    }
    for (const QString &text : std::as_const(report.texts))
        QVERIFY2(shown.join(QLatin1Char('\n')).contains(text), qPrintable(text));

    if (!report.chart)
        return;
    // The chart as the page shows it: its bars in page twips.
    const Chart &chart = *report.chart;
    QImage image(chart.size.toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    const ChartLayout layout = paintChart(painter, QRectF(QPointF(0, 0), chart.size), chart.data);
    painter.end();
    auto toPage = [&](const QRectF &r) {
        const double sx = chart.page.width() / chart.size.width(),
                     sy = chart.page.height() / chart.size.height();
        return QRectF(chart.page.left() + r.left() * sx, chart.page.top() + r.top() * sy,
                      r.width() * sx, r.height() * sy);
    };
    QVector<QRectF> bars;
    for (const QRectF &bar : layout.bars)
        bars << toPage(bar);
    if (chart.size == PercentileSize) {
        // The chart's legend stands over no bar.
        QVERIFY(!layout.legend.isEmpty());
        const QRectF legend = toPage(layout.legend);
        for (qsizetype i = 0; i < bars.size(); ++i)
            QVERIFY2(bars[i].height() <= 0 || !bars[i].intersects(legend),
                     qPrintable(QStringLiteral("bar %1 under the legend").arg(i + 1)));
        // The 85th percentile's red bar is on the chart.
        int red = -1;
        for (int i = 0; i < chart.data.numPoints(); ++i)
            if (chart.data.colours.value(i) == 12)
                red = i;
        QVERIFY(red >= 70);
        QVERIFY(bars[red].height() > 0);
        QVERIFY(bars[red].right() <= chart.page.right());
        // Every speed row with vehicles is on the chart.
        QVERIFY(chart.data.numPoints() >= 73);
    } else {
        // Each bracket spans its twelve hours.
        const QRectF morning(QPointF(2736, 10656), QPointF(6912, 13824));
        const QRectF afternoon(QPointF(6912, 10656), QPointF(11088, 13824));
        for (int h = 0; h < 24; ++h) {
            const QRectF &bracket = h < 12 ? morning : afternoon;
            QVERIFY2(bars[h].left() >= bracket.left() && bars[h].right() <= bracket.right(),
                     qPrintable(QStringLiteral("hour %1").arg(h)));
        }
        // The top grid line runs below the caption.
        const QVector<TextItem> texts = textItems(doc, 0);
        const auto caption = std::find_if(texts.cbegin(), texts.cend(), [](const TextItem &t) {
            return t.text.startsWith(QLatin1String("Survey: "));
        });
        QVERIFY(caption != texts.cend());
        QVERIFY(toPage(layout.plot).top() > caption->rect.bottom());
    }
}

QTEST_MAIN(tst_ReportLayout)
#include "tst_ReportLayout.moc"
