#include "core/reports/DocumentEngine.h"

#include <QRegularExpression>

#include <algorithm>

namespace roadtally {

namespace {

enum class Horizontal { Left, Centre, Right };

// Alignment codes 0 and 6 are left, 7 centre, 8 right.
Horizontal horizontalOf(int code)
{
    switch (code) {
    case 1:
    case 4:
    case 7:
        return Horizontal::Centre;
    case 2:
    case 5:
    case 8:
        return Horizontal::Right;
    default:
        return Horizontal::Left;
    }
}

// The lines of a paragraph: explicit line breaks, then greedy breaks at blanks
// so that no line is wider than the width; a single word wider than the width
// is broken between its characters. Leading blanks of the paragraph are kept;
// a line broken at blanks loses them.
QStringList wrapLines(const QString &text, const QFontMetricsF &metrics, double width)
{
    QStringList lines;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &paragraphLine : normalised.split(QLatin1Char('\n'))) {
        if (metrics.horizontalAdvance(paragraphLine) <= width + 0.01) {
            lines << paragraphLine;
            continue;
        }
        QString line;
        qsizetype i = 0;
        const qsizetype n = paragraphLine.size();
        while (i < n) {
            // The next piece: its blanks and then its word.
            qsizetype j = i;
            while (j < n && paragraphLine.at(j) == QLatin1Char(' '))
                ++j;
            while (j < n && paragraphLine.at(j) != QLatin1Char(' '))
                ++j;
            const QString piece = paragraphLine.mid(i, j - i);
            const QString candidate = line + piece;
            // Blanks at the end of a line need no room: they never start a line of their own.
            const bool blanksOnly = piece.trimmed().isEmpty();
            if (!blanksOnly && !line.trimmed().isEmpty() &&
                metrics.horizontalAdvance(candidate) > width + 0.01) {
                lines << QString(line).remove(QRegularExpression(QStringLiteral(" +$")));
                line = piece.trimmed();
            } else {
                line = candidate;
            }
            i = j;
        }
        lines << line;
    }
    // Words wider than the width, broken where the width ends.
    QStringList fitted;
    for (QString line : std::as_const(lines)) {
        if (metrics.horizontalAdvance(line) > width + 0.01)
            line.remove(QRegularExpression(QStringLiteral(" +$")));
        while (line.size() > 1 && metrics.horizontalAdvance(line) > width + 0.01) {
            qsizetype fits = 1;
            while (fits < line.size() &&
                   metrics.horizontalAdvance(line.left(fits + 1)) <= width + 0.01)
                ++fits;
            fitted << line.left(fits);
            line = line.mid(fits);
        }
        fitted << line;
    }
    return fitted;
}

} // namespace

DocumentEngine::DocumentEngine() = default;

// ---------------------------------------------------------------------------
// Document

void DocumentEngine::BeginDocument()
{
    m_table.reset();
    m_page = 0;
    m_column = 0;
    if (m_deviceError != 0) {
        m_error = m_deviceError;
        m_document.reset();
        m_open = false;
        return;
    }
    m_document = std::make_shared<Document>();
    m_document->pages.emplace_back();
    m_open = true;
    m_error = NoError;
    m_cursorX = columnLeft();
    m_cursorY = m_top;
}

void DocumentEngine::FinishDocument()
{
    if (!requireDocument())
        return;
    Document &doc = *m_document;
    doc.header = m_header;
    doc.footer = m_footer;
    doc.headerFont = doc.fonts.index(m_headerFont);
    doc.leftMargin = m_left;
    doc.rightMargin = m_right;
    doc.topMargin = m_top;
    doc.bottomMargin = m_bottom;
    doc.finished = true;
    m_open = false;
    m_table.reset();
}

void DocumentEngine::DocumentAction(int code)
{
    switch (code) {
    case BeginAction:
        BeginDocument();
        break;
    case NextColumnAction:
        if (requireDocument())
            nextColumn();
        break;
    case FinishAction:
        FinishDocument();
        break;
    default:
        break;
    }
}

bool DocumentEngine::requireDocument()
{
    if (m_open)
        return true;
    if (m_error == NoError)
        m_error = NoDocument;
    return false;
}

Page &DocumentEngine::page()
{
    return m_document->pages[size_t(m_page)];
}

void DocumentEngine::setColumnCount(int count)
{
    m_columnCount = std::max(1, count);
    m_column = std::min(m_column, m_columnCount - 1);
}

double DocumentEngine::columnWidth() const
{
    const double text = PaperWidth - m_left - m_right;
    return std::max(0.0, (text - (m_columnCount - 1) * ColumnGap) / m_columnCount);
}

double DocumentEngine::columnLeft() const
{
    return m_left + m_column * (columnWidth() + ColumnGap);
}

void DocumentEngine::newPage()
{
    m_document->pages.emplace_back();
    m_page = int(m_document->pages.size()) - 1;
    m_column = 0;
    m_cursorY = m_top;
    m_cursorX = columnLeft();
}

void DocumentEngine::nextColumn()
{
    if (m_column + 1 < m_columnCount) {
        ++m_column;
        m_cursorY = m_top;
        m_cursorX = columnLeft();
    } else {
        newPage();
    }
}

// ---------------------------------------------------------------------------
// Paragraphs

void DocumentEngine::WriteParagraph(const QString &text)
{
    if (!requireDocument())
        return;
    Document &doc = *m_document;
    const quint16 font = doc.fonts.index(m_font);
    const QFontMetricsF &metrics = doc.fonts.metrics(font);
    const double lineHeight = metrics.height() * m_leading / 100.0;
    const Horizontal horizontal = horizontalOf(m_alignment);

    auto startX = [&] {
        return horizontal == Horizontal::Left ? std::clamp(m_cursorX, columnLeft(), columnRight())
                                              : columnLeft();
    };
    const QStringList lines = wrapLines(text, metrics, columnRight() - startX());
    for (const QString &line : lines) {
        // A line that would cross the bottom margin goes to the next column,
        // unless it already stands at the top of one.
        if (m_cursorY + lineHeight > bottomLimit() + 0.5 && m_cursorY > m_top + 0.5)
            nextColumn();
        if (!line.isEmpty()) {
            TextRun run;
            run.width = metrics.horizontalAdvance(line);
            switch (horizontal) {
            case Horizontal::Left:
                run.x = startX();
                break;
            case Horizontal::Centre:
                run.x = columnLeft() + (columnWidth() - run.width) / 2;
                break;
            case Horizontal::Right:
                run.x = columnRight() - run.width;
                break;
            }
            run.y = m_cursorY;
            run.font = font;
            run.text = line;
            page().items.emplace_back(std::move(run));
        }
        m_cursorY += lineHeight;
        // Only the first line starts at CursorX; following lines at the column edge.
        m_cursorX = columnLeft();
    }
    m_cursorX = columnLeft();
}

double DocumentEngine::MeasureHeight(const QString &text)
{
    const QFontMetricsF metrics(FontTable::twipFont(m_font));
    const qsizetype lines = std::max<qsizetype>(1, text.count(QLatin1Char('\n')) + 1);
    return metrics.height() * double(lines);
}

double DocumentEngine::LineHeight() const
{
    const QFontMetricsF metrics(FontTable::twipFont(m_font));
    return metrics.height() * m_leading / 100.0;
}

QStringList DocumentEngine::WrapParagraph(const QString &text, int maxLines) const
{
    const QFontMetricsF metrics(FontTable::twipFont(m_font));
    const double start = horizontalOf(m_alignment) == Horizontal::Left
                             ? std::clamp(m_cursorX, columnLeft(), columnRight())
                             : columnLeft();
    const double width = columnRight() - start;
    QStringList lines = wrapLines(text, metrics, width);
    if (maxLines > 0 && lines.size() > maxLines) {
        QString last = lines.at(maxLines - 1);
        for (qsizetype i = maxLines; i < lines.size(); ++i)
            last += QLatin1Char(' ') + lines.at(i);
        lines = lines.mid(0, maxLines);
        // The rest no longer fits on the line, so the ellipsis shows.
        lines.last() = metrics.elidedText(last, Qt::ElideRight, width);
    }
    return lines;
}

// ---------------------------------------------------------------------------
// Lines, boxes, pictures

void DocumentEngine::DrawSegment(double x1, double y1, double x2, double y2)
{
    if (!requireDocument())
        return;
    page().items.emplace_back(
        LineItem{QPointF(x1, y1), QPointF(x2, y2), m_lineColour.rgba(), m_lineWidth});
}

void DocumentEngine::DrawBox(double x1, double y1, double x2, double y2)
{
    if (!requireDocument())
        return;
    BoxItem box;
    box.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    box.lineColour = m_lineColour.rgba();
    box.lineWidth = m_lineWidth;
    box.filled = m_fillMode == 0;
    box.fillColour = m_fillColour.rgba();
    page().items.emplace_back(box);
}

void DocumentEngine::PlacePicture(const QPicture &picture)
{
    if (!requireDocument())
        return;
    Document &doc = *m_document;
    PictureItem item;
    item.rect = QRectF(QPointF(m_pictureRect[0], m_pictureRect[1]),
                       QPointF(m_pictureRect[2], m_pictureRect[3]))
                    .normalized();
    item.picture = quint32(doc.pictures.size());
    doc.pictures.push_back(picture);
    page().items.emplace_back(item);
}

// ---------------------------------------------------------------------------
// Tables

void DocumentEngine::BeginTable()
{
    if (!requireDocument())
        return;
    m_table = std::make_unique<DocumentTable>();
}

bool DocumentEngine::requireTable()
{
    if (!requireDocument())
        return false;
    if (m_table)
        return true;
    m_error = NoTable;
    return false;
}

void DocumentEngine::AppendTable(const QString &format, const QString &header, const QString &body,
                                 const QString &unused)
{
    Q_UNUSED(unused);
    if (requireTable())
        m_table->appendTable(format, header, body);
}

void DocumentEngine::AppendTableRows(const QString &format, const QString &header,
                                     TextRecords records)
{
    if (requireTable())
        m_table->appendTableRows(format, header, std::move(records));
}

void DocumentEngine::AppendTableRows(const QString &format, const QString &header,
                                     const QVector<QVariantList> &records)
{
    int columns = int(DocumentTable::parseFormat(format).size());
    for (const QVariantList &record : records)
        columns = std::max(columns, int(record.size()));
    TextRecords text(std::max(1, columns));
    text.reserve(records.size(), 8 * columns);
    for (const QVariantList &record : records)
        text.append(record);
    AppendTableRows(format, header, std::move(text));
}

double DocumentEngine::twipsFrom(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString) {
        bool ok = false;
        const double twips = value.toDouble(&ok);
        return ok ? twips : -1;
    }
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]*\\.?[0-9]+)\\s*(in|cm|mm|pt|tw|twips)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!match.hasMatch())
        return -1;
    const double number = match.captured(1).toDouble();
    const QString unit = match.captured(2).toLower();
    if (unit == QLatin1String("in"))
        return number * TwipsPerInch;
    if (unit == QLatin1String("cm"))
        return number * TwipsPerInch / 2.54;
    if (unit == QLatin1String("mm"))
        return number * TwipsPerInch / 25.4;
    if (unit == QLatin1String("pt"))
        return number * TwipsPerPoint;
    return number;
}

void DocumentEngine::setCellValue(CellAttribute attribute, int row, int column,
                                  const QVariant &value)
{
    if (!requireTable())
        return;
    DocumentTable &table = *m_table;
    if (attribute == RowCount) {
        table.setBodyRows(value.toInt());
        return;
    }
    // row -1: every row; column -1: the whole row.
    const int rows = table.totalRows();
    if (row >= rows || column >= table.columnCount() || row < -1 || column < -1)
        return;
    auto apply = [&](auto &layer, const auto &v) {
        if (row < 0)
            layer.setTable(v);
        else if (column < 0)
            layer.setRow(row, rows, v);
        else
            layer.setCell(row, column, rows, v);
    };
    switch (attribute) {
    case RowHeight: {
        const double twips = twipsFrom(value);
        if (twips < 0)
            return;
        // A height belongs to the whole row, also when a cell is named.
        if (row < 0)
            table.rowHeight.setTable(twips);
        else
            table.rowHeight.setRow(row, rows, twips);
        return;
    }
    case ColumnSpan:
        apply(table.columnSpan, std::max(1, value.toInt()));
        return;
    case CellAlignment:
        apply(table.alignment, value.toInt());
        return;
    case CellBackColour: {
        const QColor colour = value.value<QColor>();
        if (colour.isValid())
            apply(table.backColour, colour.rgba());
        return;
    }
    case RowEmphasis:
        apply(table.emphasis, value.toBool());
        return;
    case CellText: {
        const QString text = value.toString();
        const int firstRow = row < 0 ? 0 : row, lastRow = row < 0 ? rows - 1 : row;
        const int firstColumn = column < 0 ? 0 : column,
                  lastColumn = column < 0 ? table.columnCount() - 1 : column;
        for (int r = firstRow; r <= lastRow; ++r)
            for (int c = firstColumn; c <= lastColumn; ++c)
                table.setText(r, c, text);
        return;
    }
    case RowCount:
        return;
    }
}

void DocumentEngine::SetCell(CellAttribute attribute, int row, int column, const QVariant &value)
{
    setCellValue(attribute, row, column - 1, value);
}

void DocumentEngine::SetCell(CellAttribute attribute, int row, const QVariant &value)
{
    setCellValue(attribute, row, -1, value);
}

void DocumentEngine::SetCell(CellAttribute attribute, const QVariant &value)
{
    setCellValue(attribute, -1, -1, value);
}

void DocumentEngine::setTableParameter(int id, int value)
{
    if (id == CellMarginLeft)
        m_marginLeft = std::max(0, value);
    else if (id == CellMarginRight)
        m_marginRight = std::max(0, value);
}

int DocumentEngine::tableParameter(int id) const
{
    return id == CellMarginLeft ? m_marginLeft : id == CellMarginRight ? m_marginRight : 0;
}

void DocumentEngine::FinishTable()
{
    if (!requireTable())
        return;
    std::unique_ptr<DocumentTable> owned = std::move(m_table);
    DocumentTable &table = *owned;
    Document &doc = *m_document;
    table.rules = m_tableRules;
    table.marginLeft = m_marginLeft;
    table.marginRight = m_marginRight;
    table.font = doc.fonts.index(m_font);
    FontSpec emphasised = m_font;
    emphasised.bold = true;
    table.emphasisFont = doc.fonts.index(emphasised);
    table.fitTexts(doc.fonts, FloorTypeSize);

    // Row heights: as set, else one line of the row's font and a little space.
    const double plain = doc.fonts.metrics(table.font).height() + 2 * DocumentTable::PaddingY;
    const double bold =
        doc.fonts.metrics(table.emphasisFont).height() + 2 * DocumentTable::PaddingY;
    const int rows = table.totalRows();
    table.heights.assign(size_t(rows), 0.f);
    for (int r = (table.hasHeader() ? 0 : 1); r < rows; ++r) {
        const auto set = table.rowHeight.rowValue(r);
        table.heights[size_t(r)] =
            float(set ? *set : (table.emphasis.rowValue(r).value_or(false) ? bold : plain));
    }

    const quint32 index = quint32(doc.tables.size());
    const double width = table.width();
    const Horizontal horizontal = horizontalOf(m_alignment);
    auto placeX = [&] {
        switch (horizontal) {
        case Horizontal::Centre:
            return columnLeft() + (columnWidth() - width) / 2;
        case Horizontal::Right:
            return columnRight() - width;
        case Horizontal::Left:
            break;
        }
        return columnLeft();
    };
    const double headerHeight = table.hasHeader() ? table.heights[0] : 0.0;
    const int bodyRows = table.bodyRows();
    if (!table.hasHeader() && bodyRows == 0) {
        doc.tables.push_back(std::move(owned));
        return;
    }

    // The header and the first body row go together; start a new column when
    // they do not fit below the cursor.
    double y = m_cursorY;
    const double firstRow = bodyRows > 0 ? table.heights[1] : 0.0;
    if (y + headerHeight + firstRow > bottomLimit() + 0.5 && y > m_top + 0.5) {
        nextColumn();
        y = m_cursorY;
    }
    TableSlice slice;
    slice.table = index;
    slice.header = table.hasHeader();
    slice.x = placeX();
    slice.y = y;
    slice.firstRow = 1;
    y += headerHeight;
    for (int r = 1; r <= bodyRows; ++r) {
        const double h = table.heights[size_t(r)];
        const bool sliceHasRows = r > slice.firstRow;
        if (y + h > bottomLimit() + 0.5 && (sliceHasRows || slice.y > m_top + 0.5)) {
            slice.lastRow = r - 1;
            page().items.emplace_back(slice);
            nextColumn();
            slice.x = placeX();
            slice.y = m_cursorY;
            slice.firstRow = r;
            y = slice.y + headerHeight;
        }
        y += h;
    }
    slice.lastRow = bodyRows;
    page().items.emplace_back(slice);
    doc.tables.push_back(std::move(owned));
    m_cursorY = y;
    m_cursorX = columnLeft();
}

} // namespace roadtally
