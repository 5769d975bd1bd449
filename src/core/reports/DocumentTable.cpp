#include "core/reports/DocumentTable.h"
#include "core/reports/Document.h"

#include <algorithm>
#include <climits>

namespace roadtally {

namespace {

qint64 cellKey(int row, int column)
{
    return (qint64(row) << 16) | qint64(column);
}

} // namespace

QVector<DocumentTable::Column> DocumentTable::parseFormat(const QString &format)
{
    QString text = format.trimmed();
    if (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    QVector<Column> columns;
    if (text.isEmpty())
        return columns;
    for (QString spec : text.split(QLatin1Char('|'))) {
        Column column;
        spec = spec.trimmed();
        if (spec.startsWith(QLatin1Char('^'))) {
            column.centred = true;
            spec.remove(0, 1);
        }
        column.width = std::max(0.0, spec.trimmed().toDouble());
        columns.append(column);
    }
    return columns;
}

QVector<QStringList> DocumentTable::parseRows(const QString &text)
{
    QVector<QStringList> rows;
    if (text.isEmpty())
        return rows;
    QStringList pieces = text.split(QLatin1Char(';'));
    if (pieces.size() > 1 && pieces.last().isEmpty())
        pieces.removeLast(); // the ";" that closes the last row
    for (const QString &row : std::as_const(pieces))
        rows.append(row.split(QLatin1Char('|')));
    return rows;
}

double DocumentTable::width() const
{
    double sum = 0;
    for (const Column &c : m_columns)
        sum += c.width;
    return sum;
}

void DocumentTable::appendTable(const QString &format, const QString &header, const QString &body)
{
    const int columns = format.isEmpty() ? columnCount() : int(parseFormat(format).size());
    TextRecords records(std::max(1, columns));
    for (const QStringList &row : parseRows(body))
        records.append(row);
    appendTableRows(format, header, std::move(records));
}

void DocumentTable::appendTableRows(const QString &format, const QString &header,
                                    TextRecords records)
{
    if (!format.isEmpty())
        m_columns = parseFormat(format);
    const QVector<QStringList> headerRows = parseRows(header);
    if (!headerRows.isEmpty()) {
        // One header row: every report writes one.
        m_header = headerRows.first();
        m_hasHeader = true;
    }
    const qsizetype before = m_body.rows();
    if (m_body.isEmpty() && m_bodyRows == 0) {
        m_body = std::move(records);
    } else {
        if (m_body.columns() == 0)
            m_body = TextRecords(records.columns());
        for (qsizetype r = 0; r < records.rows(); ++r)
            m_body.append(records.record(r));
    }
    const qsizetype appended = m_body.rows() - before;
    m_bodyRows =
        int(std::min<qsizetype>(std::max<qsizetype>(m_bodyRows, 0) + appended, INT_MAX - 1));
    resizeLayers();
}

void DocumentTable::setBodyRows(int rows)
{
    m_bodyRows = std::max(0, rows);
    resizeLayers();
}

void DocumentTable::resizeLayers()
{
    const int rows = totalRows(), columns = columnCount();
    rowHeight.resize(rows, columns);
    columnSpan.resize(rows, columns);
    alignment.resize(rows, columns);
    backColour.resize(rows, columns);
    emphasis.resize(rows, columns);
}

QString DocumentTable::text(int row, int column) const
{
    if (!m_overrides.isEmpty()) {
        const auto it = m_overrides.constFind(cellKey(row, column));
        if (it != m_overrides.cend())
            return it.value();
    }
    if (row == 0)
        return column < m_header.size() ? m_header.at(column) : QString();
    if (row - 1 < m_body.rows())
        return m_body.field(row - 1, column).toString();
    return {};
}

void DocumentTable::setText(int row, int column, const QString &text)
{
    m_overrides.insert(cellKey(row, column), text);
}

void DocumentTable::fitTexts(FontTable &fonts, double floorSize)
{
    m_fitted.clear();
    QVector<qint64> keys;
    if (m_hasHeader)
        for (int c = 0; c < columnCount(); ++c)
            keys.append(cellKey(0, c));
    for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it)
        if (!keys.contains(it.key()))
            keys.append(it.key());
    for (const qint64 key : std::as_const(keys)) {
        const int row = int(key >> 16), column = int(key & 0xffff);
        if (row >= totalRows() || column >= columnCount() || isCovered(row, column))
            continue;
        const QString content = text(row, column);
        if (content.isEmpty())
            continue;
        double inner = -marginLeft - marginRight;
        for (int c = column; c < column + spanOf(row, column); ++c)
            inner += m_columns.at(c).width;
        const quint16 base = emphasis.value(row, column).value_or(false) ? emphasisFont : font;
        if (fonts.metrics(base).horizontalAdvance(content) <= inner + 0.01)
            continue;
        FontSpec spec = fonts.spec(base);
        quint16 chosen = base;
        for (double size = spec.size - 0.5; size >= floorSize - 0.001; size -= 0.5) {
            spec.size = size;
            chosen = fonts.index(spec);
            if (fonts.metrics(chosen).horizontalAdvance(content) <= inner + 0.01)
                break;
        }
        m_fitted.insert(key, chosen);
        const QFontMetricsF &metrics = fonts.metrics(chosen);
        if (metrics.horizontalAdvance(content) > inner + 0.01)
            setText(row, column, metrics.elidedText(content, Qt::ElideRight, std::max(0.0, inner)));
    }
}

int DocumentTable::spanOf(int row, int column) const
{
    const int span = columnSpan.value(row, column).value_or(1);
    return std::clamp(span, 1, columnCount() - column);
}

bool DocumentTable::isCovered(int row, int column) const
{
    // Walk the visible cells from the left; covered cells are skipped by their span.
    for (int c = 0; c < column;) {
        const int span = spanOf(row, c);
        if (c + span > column)
            return true;
        c += span;
    }
    return false;
}

int DocumentTable::alignmentOf(int row, int column) const
{
    if (const auto code = alignment.value(row, column))
        return *code;
    return column < m_columns.size() && m_columns.at(column).centred ? 7 : 0;
}

} // namespace roadtally
