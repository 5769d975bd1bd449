#include "core/export/WorkbookWriter.h"

#include "core/export/PendingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <xlsxwriter.h>

#include <cmath>
#include <list>
#include <stdexcept>

namespace roadtally {

namespace {

// The longest text a cell holds.
constexpr int MaxCellText = 32767;
// Column widths in characters: room for the widest value, within reason.
constexpr int MinColumnWidth = 6;
constexpr int MaxColumnWidth = 60;
// Chart size in pixels and the rows one chart takes on its sheet.
constexpr int ChartWidth = 720;
constexpr int ChartHeight = 360;
constexpr int ChartRows = 20;

class WriteFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class Workbook
{
public:
    Workbook(const QString &path, const WorkbookOptions &options) : m_options(options)
    {
        lxw_workbook_options opts{};
        opts.constant_memory = LXW_TRUE; // rows go to disk as they are written
        opts.use_zip64 = LXW_TRUE;       // a very long survey may pass 4 GB of XML
        // The rows wait in temporary files beside the workbook, on the disk that
        // must hold it anyway, rather than in a small system temporary folder.
        opts.tmpdir = const_cast<char *>(keep(QFile::encodeName(QFileInfo(path).absolutePath())));
        m_book = workbook_new_opt(keep(QFile::encodeName(path)), &opts);
        if (!m_book)
            throw WriteFailure("the workbook could not be started (out of memory?)");
        if (!options.title.isEmpty()) {
            lxw_doc_properties properties{};
            properties.title = const_cast<char *>(keep(options.title.toUtf8()));
            workbook_set_properties(m_book, &properties);
        }
    }

    ~Workbook()
    {
        if (m_book)
            lxw_workbook_free(m_book);
    }

    void writeTable(const ExportTable &table, ExportWriteResult &result)
    {
        int part = 1;
        Sheet sheet = startSheet(table, table.name, result);
        lxw_worksheet *const firstSheet = sheet.sheet;
        lxw_row_t row = 1;
        const lxw_row_t perSheet = lxw_row_t(std::max<qint64>(2, m_options.rowsPerSheet));
        table.forEachRow([&](const ExportRow &r) {
            if (row >= perSheet) {
                finishSheet(sheet);
                sheet = startSheet(table, QStringLiteral("%1 (%2)").arg(table.name).arg(++part),
                                   result);
                row = 1;
            }
            writeRow(sheet, row++, r);
            ++result.rows;
        });
        finishSheet(sheet);
        addCharts(table, firstSheet);
    }

    void close()
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr; // workbook_close frees it, also on failure
        if (error != LXW_NO_ERROR)
            throw WriteFailure(lxw_strerror(error));
    }

private:
    struct Sheet
    {
        lxw_worksheet *sheet = nullptr;
        QVector<int> widths;
        QVector<bool> fixed;   // the table set the column's width
        QVector<bool> centred; // the table centres the column
    };

    // libxlsxwriter keeps pointers to some texts; they live as long as the workbook.
    const char *keep(const QByteArray &bytes)
    {
        m_texts.push_back(bytes);
        return m_texts.back().constData();
    }

    lxw_format *format(bool bold, const QString &numberFormat, bool wrap = false,
                       bool centred = false)
    {
        // A long sheet asks for the same few formats row after row, with the
        // same shared format text: find those without building a key.
        const int flags = (bold ? 1 : 0) | (wrap ? 2 : 0) | (centred ? 4 : 0);
        for (const RecentFormat &r : m_recent) {
            if (r.flags == flags &&
                (r.text.constData() == numberFormat.constData() || r.text == numberFormat))
                return r.format;
        }
        lxw_format *f = findFormat(bold, numberFormat, wrap, centred);
        if (m_recent.size() >= 8)
            m_recent.removeFirst();
        m_recent.append({flags, numberFormat, f});
        return f;
    }

    lxw_format *findFormat(bool bold, const QString &numberFormat, bool wrap, bool centred)
    {
        const QString key = QStringLiteral("%1%2%3|")
                                .arg(bold ? 'b' : ' ')
                                .arg(wrap ? 'w' : ' ')
                                .arg(centred ? 'c' : ' ') +
                            numberFormat;
        if (lxw_format *f = m_formats.value(key))
            return f;
        lxw_format *f = workbook_add_format(m_book);
        if (bold)
            format_set_bold(f);
        if (wrap) {
            format_set_text_wrap(f);
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
        }
        if (centred)
            format_set_align(f, LXW_ALIGN_CENTER);
        if (!numberFormat.isEmpty())
            format_set_num_format(f, keep(numberFormat.toUtf8()));
        m_formats.insert(key, f);
        return f;
    }

    Sheet startSheet(const ExportTable &table, const QString &name, ExportWriteResult &result)
    {
        Sheet s;
        s.sheet = workbook_add_worksheet(m_book, keep(name.toUtf8()));
        if (!s.sheet)
            throw WriteFailure(
                QStringLiteral("the sheet \"%1\" could not be added").arg(name).toStdString());
        result.sheets << name;
        lxw_format *bold = format(true, QString());
        s.widths.resize(table.columns.size());
        s.fixed.resize(table.columns.size());
        s.centred.resize(table.columns.size());
        for (int c = 0; c < table.columns.size(); ++c) {
            const ExportColumn &column = table.columns.at(c);
            s.fixed[c] = column.width > 0;
            s.centred[c] = column.centred;
            s.widths[c] = s.fixed.at(c) ? column.width : int(column.header.size()) + 1;
            if (!column.header.isEmpty())
                check(worksheet_write_string(s.sheet, 0, lxw_col_t(c), keepCellText(column.header),
                                             column.centred ? format(true, QString(), false, true)
                                                            : bold));
        }
        worksheet_freeze_panes(s.sheet, 1, 0);
        // Printed, a sheet is one page wide, charts included, with the header on every page.
        worksheet_set_landscape(s.sheet);
        worksheet_fit_to_pages(s.sheet, 1, 0);
        check(worksheet_repeat_rows(s.sheet, 0, 0));
        return s;
    }

    void finishSheet(Sheet &s)
    {
        for (int c = 0; c < s.widths.size(); ++c) {
            const int width = std::clamp(s.widths.at(c) + 2, MinColumnWidth, MaxColumnWidth);
            check(worksheet_set_column(s.sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr));
        }
    }

    void writeRow(Sheet &s, lxw_row_t row, const ExportRow &r)
    {
        for (int c = 0; c < r.cells.size(); ++c) {
            const ExportCell &cell = r.cells.at(c);
            if (cell.isEmpty())
                continue;
            const lxw_col_t col = lxw_col_t(c);
            // A text of several lines wraps in its cell, with Excel's line break (LF).
            const bool lines =
                cell.type == ExportCell::Type::Text &&
                (cell.text.contains(QLatin1Char('\n')) || cell.text.contains(QLatin1Char('\r')));
            const bool centred = c < s.centred.size() && s.centred.at(c);
            lxw_format *f = cell.format.isEmpty() && !r.emphasis && !lines && !centred
                                ? nullptr
                                : format(r.emphasis, cell.format, lines, centred);
            switch (cell.type) {
            case ExportCell::Type::Empty:
                break;
            case ExportCell::Type::Number:
                if (std::isfinite(cell.number))
                    check(worksheet_write_number(s.sheet, row, col, cell.number, f));
                break;
            case ExportCell::Type::Text:
                check(worksheet_write_string(
                    s.sheet, row, col, keepCellText(lines ? cellLines(cell.text) : cell.text), f));
                break;
            case ExportCell::Type::Date:
                check(worksheet_write_number(s.sheet, row, col, excelDateNumber(cell.date), f));
                break;
            case ExportCell::Type::Time:
                check(worksheet_write_number(s.sheet, row, col,
                                             cell.time.msecsSinceStartOfDay() / 86400000.0, f));
                break;
            }
            if (c < s.widths.size() && !s.fixed.at(c) && !r.spill)
                s.widths[c] = std::max(s.widths.at(c), displayWidth(cell));
        }
    }

    static QString cellLines(QString text)
    {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return text;
    }

    // A cell's text as UTF-8, cut to what a cell can hold; valid until the next call.
    const char *keepCellText(const QString &text)
    {
        m_cellText = text.left(MaxCellText).toUtf8();
        return m_cellText.constData();
    }

    void addCharts(const ExportTable &table, lxw_worksheet *sheet)
    {
        const QString &sheetName = table.name;
        int slot = 0;
        for (const ExportChart &chart : table.charts) {
            if (chart.rowCount <= 0 || chart.series.isEmpty())
                continue;
            lxw_chart *c = workbook_add_chart(
                m_book, chart.kind == ExportChart::Kind::Line ? LXW_CHART_LINE : LXW_CHART_COLUMN);
            const QByteArray source =
                (chart.dataSheet.isEmpty() ? sheetName : chart.dataSheet).toUtf8();
            const char *sourceName = keep(source);
            const lxw_row_t first = lxw_row_t(chart.firstRow + 1);
            const lxw_row_t last = lxw_row_t(chart.firstRow + chart.rowCount);
            for (const ExportChart::Series &series : chart.series) {
                lxw_chart_series *s = chart_add_series(c, nullptr, nullptr);
                chart_series_set_categories(s, sourceName, first, lxw_col_t(chart.categoryColumn),
                                            last, lxw_col_t(chart.categoryColumn));
                chart_series_set_values(s, sourceName, first, lxw_col_t(series.valueColumn), last,
                                        lxw_col_t(series.valueColumn));
                chart_series_set_name(s, keep(series.name.toUtf8()));
            }
            if (!chart.title.isEmpty())
                chart_title_set_name(c, keep(chart.title.toUtf8()));
            if (!chart.categoryTitle.isEmpty())
                chart_axis_set_name(c->x_axis, keep(chart.categoryTitle.toUtf8()));
            if (!chart.valueTitle.isEmpty())
                chart_axis_set_name(c->y_axis, keep(chart.valueTitle.toUtf8()));
            chart_legend_set_position(c, LXW_CHART_LEGEND_BOTTOM);

            lxw_chart_options place{};
            place.x_offset = 10;
            place.x_scale = ChartWidth / 480.0; // the default chart is 480 x 288 pixels
            place.y_scale = ChartHeight / 288.0;
            check(worksheet_insert_chart_opt(sheet, lxw_row_t(1 + slot * ChartRows),
                                             lxw_col_t(table.columns.size() + 1), c, &place));
            ++slot;
        }
    }

    static void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            throw WriteFailure(lxw_strerror(error));
    }

    WorkbookOptions m_options;
    lxw_workbook *m_book = nullptr;
    QHash<QString, lxw_format *> m_formats;
    struct RecentFormat
    {
        int flags = 0;
        QString text;
        lxw_format *format = nullptr;
    };
    QVector<RecentFormat> m_recent;
    std::list<QByteArray> m_texts;
    QByteArray m_cellText;
};

} // namespace

double excelDateNumber(const QDate &date)
{
    static const qint64 base = QDate(1899, 12, 30).toJulianDay();
    return double(date.toJulianDay() - base);
}

ExportWriteResult writeWorkbook(const QVector<ExportTable> &tables, const QString &path,
                                const WorkbookOptions &options)
{
    ExportWriteResult result;
    PendingFile file(path);
    if (!file.reserve()) {
        result.error = file.errorText();
        return result;
    }
    try {
        Workbook book(file.temporaryPath(), options);
        for (const ExportTable &table : tables)
            book.writeTable(table, result);
        book.close();
    } catch (const std::exception &e) {
        result.error = QStringLiteral("Cannot write %1: %2")
                           .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what()));
        result.sheets.clear();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorText();
        result.sheets.clear();
        return result;
    }
    result.files << path;
    return result;
}

} // namespace roadtally
