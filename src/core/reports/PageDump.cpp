#include "core/reports/PageDump.h"
#include "core/reports/PagePainter.h"

#include <QColor>

#include <cmath>

namespace roadtally {

namespace {

QString num(double v)
{
    const double rounded = std::round(v * 10) / 10;
    return QString::number(rounded == 0 ? 0.0 : rounded, 'f',
                           std::fmod(std::abs(rounded), 1.0) < 0.05 ? 0 : 1);
}

QString colour(QRgb rgb)
{
    return QColor::fromRgba(rgb).name(QColor::HexRgb);
}

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString fontText(const Document &document, quint16 index)
{
    const FontSpec &spec = document.fonts.spec(index);
    QString text = spec.face + QLatin1Char(' ') + num(spec.size);
    if (spec.bold)
        text += QLatin1String(" bold");
    if (spec.italic)
        text += QLatin1String(" italic");
    return text;
}

QString runLine(const Document &document, const QString &kind, const TextRun &run)
{
    return QStringLiteral("%1 %2 %3 w %4 [%5] %6\n")
        .arg(kind, num(run.x), num(run.y), num(run.width), fontText(document, run.font),
             quoted(run.text));
}

QString sliceLines(const Document &document, const TableSlice &slice)
{
    const DocumentTable &table = *document.tables[slice.table];
    QStringList widths;
    for (const DocumentTable::Column &c : table.columns())
        widths << (c.centred ? QStringLiteral("^") : QString()) + num(c.width);
    QString out =
        QStringLiteral(
            "table %1 at %2 %3 rows %4 header %5 rules %6 margins %7 %8 [%9] columns %10\n")
            .arg(slice.table + 1)
            .arg(num(slice.x), num(slice.y))
            .arg(slice.lastRow >= slice.firstRow
                     ? QStringLiteral("%1-%2").arg(slice.firstRow).arg(slice.lastRow)
                     : QStringLiteral("none"))
            .arg(slice.header ? QStringLiteral("yes") : QStringLiteral("no"))
            .arg(table.rules)
            .arg(num(table.marginLeft), num(table.marginRight), fontText(document, table.font),
                 widths.join(QLatin1Char('|')));
    forEachCell(table, slice, [&](const CellPlace &cell) {
        QString line = QStringLiteral("  cell %1,%2").arg(cell.row).arg(cell.column + 1);
        if (cell.span > 1)
            line += QStringLiteral("+%1").arg(cell.span - 1);
        line += QStringLiteral(" %1 %2 %3x%4 align %5")
                    .arg(num(cell.rect.x()), num(cell.rect.y()), num(cell.rect.width()),
                         num(cell.rect.height()))
                    .arg(table.alignmentOf(cell.row, cell.column));
        if (const auto back = table.backColour.value(cell.row, cell.column))
            line += QStringLiteral(" back ") + colour(*back);
        if (table.emphasis.value(cell.row, cell.column).value_or(false))
            line += QStringLiteral(" emphasis");
        const QString text = table.text(cell.row, cell.column);
        if (!text.isEmpty()) {
            const CellTextPlace place = cellTextPlace(document, table, cell, text);
            line += QStringLiteral(" text-x %1").arg(num(place.baseline.x()));
            if (table.fittedFont(cell.row, cell.column))
                line += QStringLiteral(" [%1]").arg(fontText(document, place.font));
            if (place.clipped)
                line += QStringLiteral(" clipped");
            line += QLatin1Char(' ') + quoted(text);
        }
        out += line + QLatin1Char('\n');
    });
    return out;
}

} // namespace

QString dumpPage(const Document &document, int pageIndex)
{
    QString out;
    if (pageIndex < 0 || pageIndex >= document.pageCount())
        return out;
    for (const PageItem &item : document.pages[size_t(pageIndex)].items) {
        if (const auto *run = std::get_if<TextRun>(&item)) {
            out += runLine(document, QStringLiteral("text"), *run);
        } else if (const auto *line = std::get_if<LineItem>(&item)) {
            out += QStringLiteral("line %1 %2 %3 %4 pen %5 %6\n")
                       .arg(num(line->from.x()), num(line->from.y()), num(line->to.x()),
                            num(line->to.y()), colour(line->colour), num(line->width));
        } else if (const auto *box = std::get_if<BoxItem>(&item)) {
            out += QStringLiteral("box %1 %2 %3 %4 pen %5 %6 fill %7\n")
                       .arg(num(box->rect.left()), num(box->rect.top()), num(box->rect.right()),
                            num(box->rect.bottom()), colour(box->lineColour), num(box->lineWidth),
                            box->filled ? colour(box->fillColour) : QStringLiteral("none"));
        } else if (const auto *slice = std::get_if<TableSlice>(&item)) {
            out += sliceLines(document, *slice);
        } else if (const auto *picture = std::get_if<PictureItem>(&item)) {
            const QPicture &p = document.pictures[picture->picture];
            const QRect b = p.boundingRect();
            out += QStringLiteral("picture %1 %2 %3 %4 %5\n")
                       .arg(num(picture->rect.left()), num(picture->rect.top()),
                            num(picture->rect.right()), num(picture->rect.bottom()),
                            p.isNull() ? QStringLiteral("empty")
                                       : QStringLiteral("bounds %1 %2 %3x%4")
                                             .arg(b.x())
                                             .arg(b.y())
                                             .arg(b.width())
                                             .arg(b.height()));
        }
    }
    for (const TextRun &run : headerFooterRuns(document, pageIndex + 1))
        out += runLine(document,
                       run.y < PaperHeight / 2 ? QStringLiteral("page-header")
                                               : QStringLiteral("page-footer"),
                       run);
    return out;
}

QString dumpDocument(const Document &document)
{
    QString out;
    for (int p = 0; p < document.pageCount(); ++p)
        out += QStringLiteral("page %1 of %2\n").arg(p + 1).arg(document.pageCount()) +
               dumpPage(document, p);
    return out;
}

} // namespace roadtally
