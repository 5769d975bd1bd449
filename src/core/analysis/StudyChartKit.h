#pragma once
// What the study charts paint with: a design space scaled into the target
// rectangle, the speed axis of a unit's rows, the frame with its grid and
// titles, marks above the plot and legend entries. The one-survey charts and
// the before-and-after charts share them, so they look alike.

#include "core/analysis/SpeedStudy.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QSizeF>
#include <QVector>

namespace roadtally::chartkit {

// Charts are laid out in a design space of this width, scaled into the
// rectangle; text keeps a readable size on screen and on paper.
inline constexpr double MinDesignWidth = 520;
inline constexpr double MaxDesignWidth = 760;
inline constexpr double Pad = 10;

inline const QColor BarColour(74, 122, 181);
inline const QColor CatchAllColour(150, 160, 172);
inline const QColor PaceColour(253, 225, 170);
inline const QColor GridColour(226, 226, 226);
inline const QColor AxisColour(90, 90, 90);
inline const QColor TextColour(35, 35, 35);
inline const QColor P50Colour(46, 125, 50);
inline const QColor P85Colour(198, 40, 40);
inline const QColor LimitColour(60, 60, 60);
inline const QColor CurveColour(30, 80, 150);
inline const QColor LevelColours[3] = {QColor(110, 90, 170), P50Colour, P85Colour};

QFont chartFont(int pixels, bool bold = false);

struct Fonts
{
    QFont title = chartFont(15, true);
    QFont axisTitle = chartFont(12);
    QFont tick = chartFont(11);
    QFont mark = chartFont(11, true);
};

double textWidth(const QFont &font, const QString &text);
double lineHeight(const QFont &font);

// Paints in design units inside rect, restoring the painter at scope end.
class DesignSpace
{
public:
    DesignSpace(QPainter &painter, const QRectF &rect);
    ~DesignSpace() { m_painter.restore(); }
    DesignSpace(const DesignSpace &) = delete;
    DesignSpace &operator=(const DesignSpace &) = delete;

    QSizeF size() const { return m_size; }

private:
    QPainter &m_painter;
    QSizeF m_size;
};

// Data to design units.
struct Plot
{
    QRectF area;
    double xLo = 0, xHi = 1, yLo = 0, yHi = 1;

    double x(double v) const { return area.left() + (v - xLo) / (xHi - xLo) * area.width(); }
    double y(double v) const { return area.bottom() - (v - yLo) / (yHi - yLo) * area.height(); }
};

// The speed axis: occupied rows (and any extra speeds) with a row of room,
// widened to round ticks, never past the catch-all rows.
struct SpeedAxis
{
    double lo = 0;
    double hi = 1;
    int step = 5;
};

// A label above the plot at a speed; labels that would overlap go to a
// further row.
struct TopLabel
{
    double x = 0;
    QString text;
    QColor colour;
    int row = 0;
    QRectF rect;
};

// The smallest step of 1, 2 or 5 times a power of ten (and at least minimum)
// that keeps the axis to at most maxTicks intervals.
double niceStep(double span, int maxTicks, double minimum);
// A speed's tick label; the catch-all rows get the at-most and at-least signs.
QString speedTickText(int speed, const SpeedStudy &s);
SpeedAxis speedAxis(const SpeedStudy &s, QVector<double> extra, double width, const QFont &tick);

void drawTitle(QPainter &p, const Fonts &fonts, const QSizeF &size, const QString &title);
// Grid lines, axes, tick labels and axis titles.
void drawFrame(QPainter &p, const Fonts &fonts, const Plot &plot, const SpeedStudy &s,
               const SpeedAxis &xAxis, double yStep, bool yPercent, const QString &xTitle,
               const QString &yTitle);

TopLabel topLabel(double x, const QString &text, const QColor &colour);
// Puts each label in the first row where it overlaps none; returns the rows used.
int placeTopLabels(QVector<TopLabel> &labels, const QFont &font, double left, double right);

void drawNoData(QPainter &p, const Fonts &fonts, const QRectF &area, const QString &text);
// The line of a mark: the limit, P50 and P85 (and P15) differ by their dash
// pattern as well as by colour, so that a black-and-white copy keeps them apart.
QPen markPen(const QColor &colour, double width);
// "approaching vehicles", "receding vehicles", "all vehicles".
QString directionCaption(const SpeedStudy &s);
// "Speed (mph)".
QString speedTitle(const SpeedStudy &s);
// A swatch (or a line) and its text in the legend row, from the right edge
// leftwards; returns where the next entry ends.
double legendEntry(QPainter &p, const QFont &font, double right, double y, const QString &text,
                   const QBrush &swatch, const QPen &line = Qt::NoPen);

} // namespace roadtally::chartkit
