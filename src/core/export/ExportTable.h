#pragma once
// One sheet of a survey export: a name, a header row, rows of typed cells and
// the charts drawn from it. The workbook writer and the CSV writer both write
// these, so the two outputs always carry the same figures.

#include <QDate>
#include <QString>
#include <QTime>
#include <QVector>

#include <functional>

namespace roadtally {

// A cell as a spreadsheet should store it: a number stays a number, a date a
// date. The format is the workbook's display format (Excel number format code);
// the CSV writes the value itself.
struct ExportCell
{
    enum class Type { Empty, Number, Text, Date, Time };

    Type type = Type::Empty;
    double number = 0;
    QString text;
    QDate date;
    QTime time;
    QString format;

    static ExportCell empty() { return {}; }
    static ExportCell ofNumber(double value, const QString &format = QString());
    static ExportCell ofText(const QString &text);
    // An invalid date or time gives an empty cell.
    static ExportCell ofDate(const QDate &date,
                             const QString &format = QStringLiteral("mm/dd/yyyy"));
    static ExportCell ofTime(const QTime &time, const QString &format = QStringLiteral("hh:mm"));

    bool isEmpty() const { return type == Type::Empty; }
    // The value as the CSV writes it: numbers in their plain shortest form,
    // dates as yyyy-mm-dd, times as hh:mm:ss on the 24-hour clock.
    QString plainText() const;

    bool operator==(const ExportCell &other) const;
};

struct ExportRow
{
    QVector<ExportCell> cells;
    bool emphasis = false; // a heading inside the sheet, set bold like the header
    bool spill = false;    // a long text that runs on over the empty cells to its right
                           // instead of widening its column (a note)
};

struct ExportColumn
{
    QString header;
    int width = 0;        // characters; 0: as wide as the header and the values need
    bool centred = false; // values centred in the column, as the view's grid shows them
};

// A native chart over a block of a sheet: the categories from one column, one
// series per value column, over the data rows [firstRow, firstRow + rowCount).
struct ExportChart
{
    enum class Kind { Column, Line };
    struct Series
    {
        QString name;
        int valueColumn = 0;
    };

    Kind kind = Kind::Column;
    QString title;
    QString categoryTitle;
    QString valueTitle;
    QString dataSheet; // the sheet the ranges read; empty: the chart's own sheet
    int categoryColumn = 0;
    int firstRow = 0; // data rows count from 0, below the header row
    int rowCount = 0;
    QVector<Series> series;
};

// Hands each row of a long table to the sink, in order, without holding them.
using ExportRowSink = std::function<void(const ExportRow &)>;
using ExportRowStream = std::function<void(const ExportRowSink &)>;

struct ExportTable
{
    QString name; // the sheet name and the CSV file's name
    QVector<ExportColumn> columns;
    QVector<ExportRow> rows; // the rows of a short table
    ExportRowStream stream;  // when set, the rows of a long table, read as they are written
    QVector<ExportChart> charts;

    // Every row, from rows or from the stream; returns how many.
    qint64 forEachRow(const ExportRowSink &sink) const;
    // All rows in a vector (reads the stream once).
    QVector<ExportRow> allRows() const;

    // Appends a row of cells.
    void addRow(const QVector<ExportCell> &cells, bool emphasis = false);
    // Appends a note: a long text that does not widen the columns.
    void addNote(const QVector<ExportCell> &cells);
};

// The number of characters a cell takes when shown (for column widths).
int displayWidth(const ExportCell &cell);

} // namespace roadtally
