#pragma once
// The print/preview document engine the report procedures write into. It
// offers the operations under the names the reports use (BeginDocument,
// WriteParagraph, DrawBox, AppendTable, SetCell, FinishTable, ...) and records
// what they produce as page items in twips; PagePainter paints those pages on
// any QPainter. Every setting stays in force until it is set again, also from
// one document to the next.

#include "core/reports/Document.h"
#include "core/reports/TextRecords.h"

#include <QColor>
#include <QPicture>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

namespace roadtally {

class DocumentEngine
{
public:
    // Values of EngineError.
    enum ErrorCode {
        NoError = 0,
        NoDocument = 1,    // an operation that needs a begun document came without one
        DeviceFailure = 2, // the document could not be begun (see setDeviceError)
        NoTable = 3,       // a table operation came without BeginTable
    };

    // DocumentAction codes.
    enum Action { BeginAction = 3, NextColumnAction = 5, FinishAction = 6 };

    // SetCell attributes.
    enum CellAttribute {
        RowCount = 1,
        RowHeight = 7,
        ColumnSpan = 17,
        CellText = 18,
        CellAlignment = 19,
        CellBackColour = 20,
        RowEmphasis = 25,
    };

    // Table layout parameters: the space inside each cell left (156) and right
    // (157) of its text, in twips; 72 until set.
    enum TableParameter { CellMarginLeft = 156, CellMarginRight = 157 };

    // Space between two text columns, in twips.
    static constexpr double ColumnGap = 180;
    // The smallest type size, in points, a text is set in to keep it inside its box.
    static constexpr double FloorTypeSize = 7;

    DocumentEngine();

    // --- Document -----------------------------------------------------------
    // Discards any previous document and starts a new one at page 1, column 1,
    // with the cursor at the top-left corner inside the margins.
    void BeginDocument();
    // Closes the document; document() then holds it whole.
    void FinishDocument();
    // 3 begin (as BeginDocument), 5 next text column at its top (a new page
    // after the last column), 6 finish (as FinishDocument); other codes do nothing.
    void DocumentAction(int code);
    int EngineError() const { return m_error; }
    // While not 0, documents cannot be begun, as on a device that cannot start:
    // BeginDocument leaves no document and EngineError reports the code.
    void setDeviceError(int code) { m_deviceError = code; }

    // One paragraph in the current font and alignment inside the current
    // column, from CursorY down (left-aligned text starts at CursorX); then
    // CursorY stands below it and CursorX at the left edge of the column. An
    // empty text gives an empty line. Lines wrap at blanks to the column width
    // and continue in the next column when they reach the bottom margin.
    void WriteParagraph(const QString &text);

    // --- Font, alignment, columns ----------------------------------------------
    QString TypeFace() const { return m_font.face; }
    void setTypeFace(const QString &face) { m_font.face = face; }
    double TypeSize() const { return m_font.size; }
    void setTypeSize(double points) { m_font.size = points > 0 ? points : m_font.size; }
    bool Bold() const { return m_font.bold; }
    void setBold(bool on) { m_font.bold = on; }
    bool Italic() const { return m_font.italic; }
    void setItalic(bool on) { m_font.italic = on; }
    // 0 left, 6 left, 7 centre, 8 right: paragraphs, table placement.
    int Alignment() const { return m_alignment; }
    void setAlignment(int code) { m_alignment = code; }
    // Line spacing of paragraphs, 100 = single.
    int LeadingPercent() const { return m_leading; }
    void setLeadingPercent(int percent) { m_leading = percent > 0 ? percent : 100; }
    // Equal text columns between the margins.
    int ColumnCount() const { return m_columnCount; }
    void setColumnCount(int count);

    // --- Cursor and margins (twips) ----------------------------------------------
    double CursorX() const { return m_cursorX; }
    void setCursorX(double x) { m_cursorX = x; }
    double CursorY() const { return m_cursorY; }
    void setCursorY(double y) { m_cursorY = y; }
    double LeftMargin() const { return m_left; }
    void setLeftMargin(double twips) { m_left = twips; }
    double TopMargin() const { return m_top; }
    void setTopMargin(double twips) { m_top = twips; }
    double RightMargin() const { return m_right; }
    void setRightMargin(double twips) { m_right = twips; }
    double BottomMargin() const { return m_bottom; }
    void setBottomMargin(double twips) { m_bottom = twips; }

    // Height of one line of the text in the current font, in twips.
    double MeasureHeight(const QString &text);
    // Height of one paragraph line in the current font and leading, in twips.
    double LineHeight() const;
    // The lines WriteParagraph would give the text at the current position,
    // font and column; with maxLines above 0 at most that many, the last then
    // cut short with an ellipsis.
    QStringList WrapParagraph(const QString &text, int maxLines = 0) const;

    // --- Page header and footer -------------------------------------------------
    QString PageHeader() const { return m_header; }
    void setPageHeader(const QString &text) { m_header = text; }
    QString PageFooter() const { return m_footer; }
    void setPageFooter(const QString &text) { m_footer = text; }
    QString HeaderFace() const { return m_headerFont.face; }
    void setHeaderFace(const QString &face) { m_headerFont.face = face; }
    double HeaderSize() const { return m_headerFont.size; }
    void setHeaderSize(double points)
    {
        m_headerFont.size = points > 0 ? points : m_headerFont.size;
    }
    bool HeaderBold() const { return m_headerFont.bold; }
    void setHeaderBold(bool on) { m_headerFont.bold = on; }

    // --- Lines and boxes ----------------------------------------------------------
    QColor LineColour() const { return m_lineColour; }
    void setLineColour(const QColor &colour) { m_lineColour = colour; }
    double LineWidth() const { return m_lineWidth; }
    void setLineWidth(double twips) { m_lineWidth = twips; }
    QColor FillColour() const { return m_fillColour; }
    void setFillColour(const QColor &colour) { m_fillColour = colour; }
    // 0 solid, 1 transparent.
    int FillMode() const { return m_fillMode; }
    void setFillMode(int mode) { m_fillMode = mode; }
    void DrawSegment(double x1, double y1, double x2, double y2);
    // A rectangle with opposite corners (x1, y1) and (x2, y2), outlined with the
    // line pen and filled as FillMode says.
    void DrawBox(double x1, double y1, double x2, double y2);

    // --- Pictures -----------------------------------------------------------------
    double PictureLeft() const { return m_pictureRect[0]; }
    void setPictureLeft(double twips) { m_pictureRect[0] = twips; }
    double PictureTop() const { return m_pictureRect[1]; }
    void setPictureTop(double twips) { m_pictureRect[1] = twips; }
    double PictureRight() const { return m_pictureRect[2]; }
    void setPictureRight(double twips) { m_pictureRect[2] = twips; }
    double PictureBottom() const { return m_pictureRect[3]; }
    void setPictureBottom(double twips) { m_pictureRect[3] = twips; }
    // Draws the picture (kept as vectors) scaled into the picture rectangle.
    // A null picture leaves the rectangle empty.
    void PlacePicture(const QPicture &picture);

    // --- Tables -------------------------------------------------------------------
    // Opens a table; nothing is output until FinishTable.
    void BeginTable();
    // Defines the columns (format) and the first rows (header, body); the fourth
    // text of the call is always empty and is ignored.
    void AppendTable(const QString &format, const QString &header, const QString &body,
                     const QString &unused = QString());
    // As AppendTable, the body one row per record, one column per field.
    void AppendTableRows(const QString &format, const QString &header, TextRecords records);
    void AppendTableRows(const QString &format, const QString &header,
                         const QVector<QVariantList> &records);
    // One cell (row 0 the header row, body rows from 1, columns from 1), a whole
    // row, or every row. RowCount ignores row and column; RowHeight takes twips
    // or a text with a unit ("0.23in", "1cm", "5mm", "12pt", "300tw").
    void SetCell(CellAttribute attribute, int row, int column, const QVariant &value);
    void SetCell(CellAttribute attribute, int row, const QVariant &value);
    void SetCell(CellAttribute attribute, const QVariant &value);
    // Cell borders of the tables finished from now on: 0 none, 7 all (bits:
    // 1 the outline, 2 lines between rows, 4 lines between columns).
    int TableRules() const { return m_tableRules; }
    void setTableRules(int rules) { m_tableRules = rules; }
    void setTableParameter(int id, int value);
    int tableParameter(int id) const;
    // Lays the table out from CursorY down in the current column, placed by
    // Alignment; rows that do not fit continue at the top of the next column
    // or page, under a repeated header row. CursorY then stands below the table.
    void FinishTable();

    // --- Results ------------------------------------------------------------------
    // The document being written or last finished (null before the first one).
    std::shared_ptr<const Document> document() const { return m_document; }
    int pageCount() const { return m_document ? m_document->pageCount() : 0; }
    int currentPage() const { return m_page + 1; }
    int currentColumn() const { return m_column + 1; }

    // Reads a height given as twips or as a text with a unit; -1 when unreadable.
    static double twipsFrom(const QVariant &value);

private:
    bool requireDocument();
    bool requireTable();
    Page &page();
    double columnWidth() const;
    double columnLeft() const;
    double columnRight() const { return columnLeft() + columnWidth(); }
    double bottomLimit() const { return PaperHeight - m_bottom; }
    void newPage();
    void nextColumn();
    void setCellValue(CellAttribute attribute, int row, int column, const QVariant &value);

    std::shared_ptr<Document> m_document;
    bool m_open = false;
    int m_error = NoDocument;
    int m_deviceError = 0;
    int m_page = 0;
    int m_column = 0;

    FontSpec m_font{QStringLiteral("Arial"), 10, false, false};
    FontSpec m_headerFont{QStringLiteral("Arial"), 10, false, false};
    int m_alignment = 0;
    int m_leading = 100;
    int m_columnCount = 1;
    double m_cursorX = 0;
    double m_cursorY = 0;
    double m_left = 1440;
    double m_top = 1440;
    double m_right = 1440;
    double m_bottom = 1440;
    QString m_header;
    QString m_footer;
    QColor m_lineColour = Qt::black;
    double m_lineWidth = 6;
    QColor m_fillColour = Qt::black;
    int m_fillMode = 0;
    double m_pictureRect[4] = {0, 0, 0, 0};

    std::unique_ptr<DocumentTable> m_table;
    int m_tableRules = 7;
    int m_marginLeft = 72;
    int m_marginRight = 72;
};

} // namespace roadtally
