#pragma once
// One table of a document: its columns, its rows of text and the attributes
// set on cells, whole rows or the whole table. Row 0 is the header row, body
// rows count from 1, columns from 1 (as the report procedures address them).
// Attributes are kept in layers (table, row, cell) with dense arrays made only
// when a layer is first used, so a table of 200,000 rows stays small.

#include "core/reports/TextRecords.h"

#include <QHash>
#include <QRgb>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

namespace roadtally {

class FontTable;

// A value set on the whole table, on whole rows or on single cells; the
// narrowest layer that holds a value wins. Setting a wider layer clears the
// narrower ones beneath it, as setting every cell would.
template <class T> class LayeredValue
{
public:
    void resize(int rows, int columns)
    {
        m_columns = columns;
        if (!m_rows.empty())
            m_rows.resize(size_t(rows), std::nullopt);
        if (!m_cells.empty())
            m_cells.resize(size_t(rows) * size_t(columns), std::nullopt);
    }
    void setTable(const T &value)
    {
        m_table = value;
        m_rows.clear();
        m_cells.clear();
    }
    void setRow(int row, int rows, const T &value)
    {
        if (m_rows.empty())
            m_rows.assign(size_t(rows), std::nullopt);
        m_rows[size_t(row)] = value;
        if (!m_cells.empty())
            for (int c = 0; c < m_columns; ++c)
                m_cells[size_t(row) * size_t(m_columns) + size_t(c)].reset();
    }
    void setCell(int row, int column, int rows, const T &value)
    {
        if (m_cells.empty())
            m_cells.assign(size_t(rows) * size_t(m_columns), std::nullopt);
        m_cells[size_t(row) * size_t(m_columns) + size_t(column)] = value;
    }
    std::optional<T> value(int row, int column) const
    {
        if (!m_cells.empty()) {
            const auto &cell = m_cells[size_t(row) * size_t(m_columns) + size_t(column)];
            if (cell)
                return cell;
        }
        if (!m_rows.empty() && m_rows[size_t(row)])
            return m_rows[size_t(row)];
        return m_table;
    }
    std::optional<T> rowValue(int row) const
    {
        if (!m_rows.empty() && m_rows[size_t(row)])
            return m_rows[size_t(row)];
        return m_table;
    }

private:
    int m_columns = 0;
    std::optional<T> m_table;
    std::vector<std::optional<T>> m_rows;
    std::vector<std::optional<T>> m_cells;
};

class DocumentTable
{
public:
    struct Column
    {
        double width = 0; // twips
        bool centred = false;
    };

    // Column specifications separated by "|", optionally ended by ";": an
    // optional "^" (centred) and the width in twips. Unreadable widths are 0.
    static QVector<Column> parseFormat(const QString &format);
    // Rows separated by ";", cells by "|"; an empty text gives no rows.
    static QVector<QStringList> parseRows(const QString &text);

    // AppendTable / AppendTableRows: sets the columns when a format is given,
    // the header row from the first row of the header text, and appends rows.
    void appendTable(const QString &format, const QString &header, const QString &body);
    void appendTableRows(const QString &format, const QString &header, TextRecords records);

    int columnCount() const { return int(m_columns.size()); }
    const QVector<Column> &columns() const { return m_columns; }
    double width() const;
    bool hasHeader() const { return m_hasHeader; }
    int bodyRows() const { return m_bodyRows; }
    void setBodyRows(int rows);

    QString text(int row, int column) const; // row 0 header, columns from 0 here
    void setText(int row, int column, const QString &text);

    LayeredValue<double> rowHeight; // twips
    LayeredValue<int> columnSpan;   // columns covered, from the cell to the right
    LayeredValue<int> alignment;    // alignment code
    LayeredValue<QRgb> backColour;
    LayeredValue<bool> emphasis;

    // Cells hidden under a span to their left on the same row.
    bool isCovered(int row, int column) const;
    int spanOf(int row, int column) const; // 1 when none; clipped to the last column
    // Alignment code of a cell: set value, else 7 for a "^" column, else 0.
    int alignmentOf(int row, int column) const;

    // Settings taken when the table is finished.
    int rules = 7;
    double marginLeft = 72;               // twips between the cell's left edge and its text
    double marginRight = 72;              // twips between the text and the cell's right edge
    static constexpr double PaddingY = 5; // twips above and below a line of text
    quint16 font = 0;                     // index into the document's fonts
    quint16 emphasisFont = 0;
    // Heights of rows 0 (header) .. bodyRows, fixed when the table is laid out.
    std::vector<float> heights;

    int totalRows() const { return m_bodyRows + 1; }
    void resizeLayers();

    // The header cells and the cells whose text was set one by one (headings,
    // captions) keep their text inside their margins: a text too wide for its
    // cell is set smaller, down to floorSize points, and past that cut short
    // with an ellipsis. Body rows appended in bulk are data and stay as they are.
    // Called when the table is laid out; fonts receives the smaller fonts.
    void fitTexts(FontTable &fonts, double floorSize);
    // The font a cell's text is drawn in when fitTexts made it smaller.
    std::optional<quint16> fittedFont(int row, int column) const
    {
        if (m_fitted.isEmpty())
            return std::nullopt;
        const auto it = m_fitted.constFind((qint64(row) << 16) | qint64(column));
        return it == m_fitted.cend() ? std::nullopt : std::optional<quint16>(it.value());
    }

private:
    QVector<Column> m_columns;
    bool m_hasHeader = false;
    int m_bodyRows = 0;
    QStringList m_header;
    TextRecords m_body;                 // rows appended as text
    QHash<qint64, QString> m_overrides; // texts set on single cells
    QHash<qint64, quint16> m_fitted;    // cells drawn in a smaller font
};

} // namespace roadtally
