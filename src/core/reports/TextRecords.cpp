#include "core/reports/TextRecords.h"

namespace roadtally {

QString fieldText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

void TextRecords::appendField(QStringView text)
{
    m_chars.append(text);
    m_ends.push_back(quint32(m_chars.size()));
}

void TextRecords::append(const QStringList &fields)
{
    for (int c = 0; c < m_columns; ++c)
        appendField(c < fields.size() ? QStringView(fields.at(c)) : QStringView());
}

void TextRecords::append(const QVariantList &values)
{
    for (int c = 0; c < m_columns; ++c)
        appendField(c < values.size() ? fieldText(values.at(c)) : QString());
}

QStringView TextRecords::field(qsizetype row, int column) const
{
    if (row < 0 || column < 0 || column >= m_columns)
        return {};
    const qsizetype index = row * m_columns + column;
    if (index >= qsizetype(m_ends.size()))
        return {};
    const quint32 begin = index == 0 ? 0 : m_ends[size_t(index - 1)];
    return QStringView(m_chars).mid(begin, m_ends[size_t(index)] - begin);
}

QStringList TextRecords::record(qsizetype row) const
{
    QStringList out;
    for (int c = 0; c < m_columns; ++c)
        out << field(row, c).toString();
    return out;
}

void TextRecords::reserve(qsizetype rows, qsizetype charactersPerRow)
{
    m_ends.reserve(size_t(rows * m_columns));
    m_chars.reserve(rows * charactersPerRow);
}

void TextRecords::clear()
{
    m_chars.clear();
    m_ends.clear();
}

} // namespace roadtally
