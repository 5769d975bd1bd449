#pragma once
// The bar chart of the views: callers set its properties in the order the
// chart procedures use (DataReset, settings, values, labels, colours, titles,
// DrawMode), and a painter draws what DrawMode 2 fixed on any QPainter.
// Qt Gui only, so the command-line tool and the reports draw the same charts.

#include <QColor>
#include <QObject>
#include <QPicture>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

class QPainter;

namespace roadtally {

// The standard 16-colour palette that ColorData indexes (0 black, 3 cyan,
// 7 light grey, 10 light green, 11 light cyan, 12 light red, ...). An invalid
// colour outside 0..15.
QColor paletteColour(int index);

// Where a page lays its own things over a chart, as fractions of the chart's
// rectangle (0 its left or top edge, 1 its right or bottom edge). Screen and
// paper draw the chart alike, so the page's brackets, captions and legend meet
// the same bars the tab shows.
struct ChartFrame
{
    // The plot's left and right edges (brackets under the chart span its
    // points); negative: laid out from the axis texts.
    double plotLeft = -1;
    double plotRight = -1;
    // The least distance of the plot's top from the rectangle's top (a caption above).
    double plotTop = 0;
    // An area no bar reaches into (a legend): the y-axis runs high enough.
    QRectF keepClear;
    bool operator==(const ChartFrame &) const = default;
};

// One line of a chart's legend. The legend is drawn in the frame's keepClear
// area, in a white box, so the chart carries it on screen and on paper alike.
struct ChartLegendEntry
{
    enum Mark {
        Bar, // the text, then a bar of the colour
        Band // a band of the colour across the box, the two texts under its ends
    };
    Mark mark = Bar;
    int colour = -1; // palette index
    QString text;    // Bar: the text; Band: under the band's left end
    QString endText; // Band: under the band's right end
    bool operator==(const ChartLegendEntry &) const = default;
};

// What one drawing shows: a plain copy of the chart's data taken by DrawMode 2.
struct ChartData
{
    QVector<double> values; // one per point
    QStringList labels;     // one per point; "" where none was given
    QVector<int> colours;   // palette index per point; -1 where none was given
    int graphType = 3;
    int labelEvery = 1;
    QString graphTitle;
    QString leftTitle;
    QString bottomTitle;
    int titleFontPercent = 100; // FontUse 0
    int otherFontPercent = 100; // FontUse 1: the axis titles
    int labelFontPercent = 100; // FontUse 2: the axis labels
    int gridStyle = 0;          // 1 horizontal, 2 vertical, 3 both
    ChartFrame frame;
    QVector<ChartLegendEntry> legend; // drawn in frame.keepClear

    int numPoints() const { return int(values.size()); }
    // The x-axis text of a point (0-based): its label, or its number when the
    // chart has no labels at all.
    QString axisLabel(int point) const;
};

// Where a painting put things, for the widget and the tests.
struct ChartLayout
{
    QRectF plot;                // the area inside the axes
    QVector<QRectF> bars;       // one per point (empty rectangle for a zero value)
    QVector<int> shownLabels;   // the points whose x-axis text was drawn
    QVector<QRectF> labelRects; // where those texts were drawn
    QVector<double> ticks;      // the y-axis values with a tick and a grid line
    QRectF legend;              // the legend's box (empty without a legend)
    double axisMin = 0;
    double axisMax = 1;
};

// Paints the chart into rect (white background, axes, grid, bars, labels,
// titles). Sizes follow the rectangle, so a page and a tab look alike.
// Needs a QGuiApplication (fonts).
ChartLayout paintChart(QPainter &painter, const QRectF &rect, const ChartData &data);

// A drawn chart as the chart reports take it: recorded as a vector picture in
// the size it was drawn in, and its data to repaint it at any resolution.
struct ChartPicture
{
    QPicture picture; // the chart painted into (0, 0, size); empty without a QGuiApplication
    QSizeF size;      // the logical size the picture was recorded in
    ChartData data;   // what was drawn

    bool isNull() const { return size.isEmpty(); }
    // Paints the chart into target, scaled (vector; the data is repainted).
    void paint(QPainter &painter, const QRectF &target) const;
};

// Records a chart in the given size.
ChartPicture recordChart(const ChartData &data, const QSizeF &size);

// Round y-axis ticks from 0 (or the lowest value) to at least the highest value.
QVector<double> axisTicks(double low, double high, int wanted = 6);

class Graph : public QObject
{
    Q_OBJECT
public:
    explicit Graph(QObject *parent = nullptr);

    // The properties, under their names. Each returns false when the value is
    // not accepted; the chart is then unchanged (a failing assignment is skipped).

    // 9 clears values, labels and colours; 1 the values, 2 the colours, 4 the labels.
    bool DataReset(int what);
    // 3 two-dimensional bars (4, three-dimensional bars, is drawn the same way).
    bool GraphType(int type);
    // One data series: only 1 is accepted.
    bool NumSets(int sets);
    // Exactly that many points (1 to 10000); values, labels and colours beyond
    // the new count are dropped, new points are 0 without label or colour.
    bool NumPoints(int points);
    // 1: every per-point assignment fills the current point and moves on, after
    // the last point to point 1 again; setting it (again) restarts at point 1.
    // 0: assignments stay on the current point.
    bool AutoInc(int on);
    // The current point (1 to NumPoints).
    bool ThisPoint(int point);
    bool GraphData(double value);
    bool GraphData(const QString &value); // fails when the text is not a number
    bool LabelText(const QString &text);
    bool LabelEvery(int every); // 1 to NumPoints (at least 1)
    bool ColorData(int index);  // 0 to 15
    // 0 chart title, 1 other titles, 2 axis labels: what the next FontSize sets.
    bool FontUse(int element);
    bool FontSize(int percent); // 10 to 1000 percent of normal
    bool GraphTitle(const QString &text);
    bool LeftTitle(const QString &text);
    bool BottomTitle(const QString &text);
    bool GridStyle(int style); // 0 none, 1 horizontal, 2 vertical, 3 both
    // 2 draws the chart (fixes what is shown); 4 copies the drawn chart: it is
    // recorded as a picture (copy()) and copied() is emitted so a window can
    // put a raster copy on the clipboard. 0 does nothing, 1 clears.
    bool DrawMode(int mode);
    bool Visible(bool visible);
    // Not a property of the program's chart: what the page lays over it.
    void setFrame(const ChartFrame &frame) { m_data.frame = frame; }
    // The legend, drawn in the frame's keepClear area.
    void setLegend(const QVector<ChartLegendEntry> &legend) { m_data.legend = legend; }

    // Reading, for the widget, the painter and the tests.
    int numPoints() const { return m_data.numPoints(); }
    int thisPoint() const { return m_point + 1; }
    bool isVisible() const { return m_visible; }
    const ChartData &data() const { return m_data; }       // as set so far
    const ChartData &drawnData() const { return m_drawn; } // as drawn last
    // The size in which DrawMode 4 records the picture; a widget sets its own.
    void setPictureSize(const QSizeF &size);
    QSizeF pictureSize() const { return m_pictureSize; }
    // The chart DrawMode 4 copied last (null before the first copy).
    const ChartPicture &copy() const { return m_copy; }

Q_SIGNALS:
    void drawn();  // DrawMode 2
    void copied(); // DrawMode 4, once copy() holds the picture
    void visibleChanged(bool visible);

private:
    void advance();

    ChartData m_data;
    ChartData m_drawn;
    int m_point = 0; // 0-based current point
    bool m_autoInc = false;
    int m_fontUse = 0;
    bool m_visible = true;
    QSizeF m_pictureSize{960, 600};
    ChartPicture m_copy;
};

} // namespace roadtally
