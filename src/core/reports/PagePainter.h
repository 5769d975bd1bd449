#pragma once
// Paints the pages of a document on any QPainter: the preview pane, a
// printer, a PDF file, an image in a test. The same items give the same page
// on every device.

#include "core/reports/Document.h"

#include <QImage>
#include <QPainter>
#include <QRectF>

#include <vector>

namespace roadtally {

// Paints page pageIndex (from 0) in twips: the painter must already map twips
// to its device.
void paintPage(QPainter &painter, const Document &document, int pageIndex);
// Paints the page so that the paper (8.5 x 11 in) fills target, given in the
// painter's current coordinates.
void paintPage(QPainter &painter, const Document &document, int pageIndex, const QRectF &target);
// The page as a picture at that resolution, on white paper.
QImage renderPage(const Document &document, int pageIndex, double dotsPerInch);

// The page header and footer lines of one page, placed in the middle of the
// top and bottom margins: left part at the left margin, centre part centred,
// right part ending at the right margin. Empty parts give no line.
std::vector<TextRun> headerFooterRuns(const Document &document, int pageNumber);

// Where each cell of a table slice lies, row by row: for the painter and the dump.
struct CellPlace
{
    int row = 0;    // 0 header, from 1 the body
    int column = 0; // from 0
    int span = 1;
    QRectF rect; // twips
};
// Calls visit(place) for every visible cell of the slice, top to bottom, left to right.
template <class Visit>
void forEachCell(const DocumentTable &table, const TableSlice &slice, Visit visit);

// The text of a cell as it is drawn: its font, position (baseline) and width.
struct CellTextPlace
{
    quint16 font = 0;
    QPointF baseline;
    double width = 0;
    bool clipped = false; // wider than the space inside the cell
};
CellTextPlace cellTextPlace(const Document &document, const DocumentTable &table,
                            const CellPlace &cell, const QString &text);

template <class Visit>
void forEachCell(const DocumentTable &table, const TableSlice &slice, Visit visit)
{
    double y = slice.y;
    auto row = [&](int r) {
        const double h = table.heights[size_t(r)];
        double x = slice.x;
        const auto &columns = table.columns();
        for (int c = 0; c < table.columnCount();) {
            const int span = table.spanOf(r, c);
            double w = 0;
            for (int k = c; k < c + span; ++k)
                w += columns.at(k).width;
            visit(CellPlace{r, c, span, QRectF(x, y, w, h)});
            x += w;
            c += span;
        }
        y += h;
    };
    if (slice.header)
        row(0);
    for (int r = slice.firstRow; r <= slice.lastRow; ++r)
        row(r);
}

} // namespace roadtally
