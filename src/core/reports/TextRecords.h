#pragma once
// Rows of text fields kept in one character buffer: the body of a long table
// (hundreds of thousands of rows) costs a few bytes a field, not a string each.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariantList>

#include <vector>

namespace roadtally {

class TextRecords
{
public:
    TextRecords() = default;
    explicit TextRecords(int columns) : m_columns(columns) {}

    int columns() const { return m_columns; }
    qsizetype rows() const { return m_columns > 0 ? qsizetype(m_ends.size()) / m_columns : 0; }
    bool isEmpty() const { return m_ends.empty(); }

    // Appends one record; missing fields are empty, extra fields are dropped.
    void append(const QStringList &fields);
    // Appends one record of values in their default text form; a null value is empty.
    void append(const QVariantList &values);
    // Adds the next field of the record being written (columns() fields make a record).
    void appendField(QStringView text);

    QStringView field(qsizetype row, int column) const;
    QStringList record(qsizetype row) const;

    void reserve(qsizetype rows, qsizetype charactersPerRow = 40);
    void clear();

    bool operator==(const TextRecords &other) const = default;

private:
    int m_columns = 0;
    QString m_chars;
    std::vector<quint32> m_ends; // end of each field in m_chars, row by row
};

// The default text form of a field value: a null value is empty text.
QString fieldText(const QVariant &value);

} // namespace roadtally
