#include "core/reports/PagePainter.h"

#include <QGlyphRun>
#include <QPen>

#include <algorithm>

#include <optional>

namespace roadtally {

namespace {

constexpr double TableRuleWidth = 10; // twips: a half-point line
constexpr QRgb Black = 0xff000000;

QPen penOf(QRgb colour, double width)
{
    QPen pen{QColor::fromRgba(colour)};
    pen.setWidthF(width); // 0 gives the thinnest line the device can draw
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void drawRun(QPainter &painter, const Document &document, const TextRun &run)
{
    painter.setFont(document.fonts.font(run.font));
    painter.drawText(QPointF(run.x, run.y + document.fonts.metrics(run.font).ascent()), run.text);
}

void paintSlice(QPainter &painter, const Document &document, const TableSlice &slice)
{
    const DocumentTable &table = *document.tables[slice.table];
    painter.setPen(Qt::NoPen);
    // Backgrounds first, so that text and rules stand on them. Cells of one
    // colour stacked in a column are filled as one rectangle: a long table's
    // shaded columns cost a few fills a page, not one a cell.
    struct Run
    {
        QRectF rect;
        QRgb colour = 0;
    };
    std::vector<std::optional<Run>> runs(size_t(table.columnCount()));
    auto flush = [&](std::optional<Run> &run) {
        if (run)
            painter.fillRect(run->rect, QColor::fromRgba(run->colour));
        run.reset();
    };
    forEachCell(table, slice, [&](const CellPlace &cell) {
        std::optional<Run> &run = runs[size_t(cell.column)];
        const auto back = table.backColour.value(cell.row, cell.column);
        const bool continues = run && back && *back == run->colour &&
                               qFuzzyCompare(run->rect.left(), cell.rect.left()) &&
                               qFuzzyCompare(run->rect.width(), cell.rect.width()) &&
                               qAbs(run->rect.bottom() - cell.rect.top()) < 0.01;
        if (continues) {
            run->rect.setBottom(cell.rect.bottom());
            return;
        }
        // A cell spanning columns ends the runs beneath it.
        for (int c = cell.column; c < cell.column + cell.span; ++c)
            flush(runs[size_t(c)]);
        if (back)
            run = Run{cell.rect, *back};
    });
    for (std::optional<Run> &run : runs)
        flush(run);

    // The texts: those one font draws whole go out as one glyph run per font
    // for the slice, so a page of a long table costs the device a few text
    // calls, not one a cell; the rest one by one.
    painter.setPen(QColor(Qt::black));
    struct Batch
    {
        quint16 font = 0;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    std::vector<Batch> batches;
    int currentFont = -1;
    forEachCell(table, slice, [&](const CellPlace &cell) {
        const QString text = table.text(cell.row, cell.column);
        if (text.isEmpty())
            return;
        const CellTextPlace place = cellTextPlace(document, table, cell, text);
        // The text is clipped to its cell; one that fits the cell needs no clip.
        const bool overflows = place.clipped && place.width > cell.rect.width() + 0.01;
        const ShapedTexts::Shaped &shaped =
            document.shapedTexts.get(document.fonts, place.font, text);
        if (shaped.glyphRun && !overflows) {
            auto batch = std::find_if(batches.begin(), batches.end(),
                                      [&](const Batch &b) { return b.font == place.font; });
            if (batch == batches.end())
                batch = batches.insert(batches.end(), Batch{place.font, {}, {}});
            for (size_t g = 0; g < shaped.glyphs.size(); ++g) {
                batch->glyphs.append(shaped.glyphs[g]);
                batch->positions.append(place.baseline + QPointF(shaped.x[g], 0));
            }
            return;
        }
        if (place.font != currentFont) {
            painter.setFont(document.fonts.font(place.font));
            currentFont = place.font;
        }
        if (overflows) {
            painter.save();
            painter.setClipRect(cell.rect, Qt::IntersectClip);
            painter.drawText(place.baseline, text);
            painter.restore();
        } else {
            painter.drawText(place.baseline, text);
        }
    });
    for (const Batch &batch : batches) {
        if (batch.glyphs.isEmpty())
            continue;
        QGlyphRun run;
        run.setRawFont(document.shapedTexts.rawFont(batch.font));
        run.setGlyphIndexes(batch.glyphs);
        run.setPositions(batch.positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    if (table.rules == 0)
        return;
    const bool outline = table.rules & 1, between = table.rules & 2, across = table.rules & 4;
    std::vector<QLineF> lines;
    double top = 0, bottom = 0, left = 0, right = 0;
    bool first = true;
    forEachCell(table, slice, [&](const CellPlace &cell) {
        const QRectF &r = cell.rect;
        if (first) {
            top = r.top();
            left = r.left();
            first = false;
        }
        bottom = std::max(bottom, r.bottom());
        right = std::max(right, r.right());
        const bool firstRowOfSlice = r.top() <= top + 0.01;
        if (!firstRowOfSlice && between)
            lines.emplace_back(r.topLeft(), r.topRight());
        if (cell.column > 0 && across)
            lines.emplace_back(r.topLeft(), r.bottomLeft());
    });
    if (outline && !first) {
        lines.emplace_back(QPointF(left, top), QPointF(right, top));
        lines.emplace_back(QPointF(left, bottom), QPointF(right, bottom));
        lines.emplace_back(QPointF(left, top), QPointF(left, bottom));
        lines.emplace_back(QPointF(right, top), QPointF(right, bottom));
    }
    painter.setPen(penOf(Black, TableRuleWidth));
    painter.drawLines(lines.data(), int(lines.size()));
}

void paintPicture(QPainter &painter, const Document &document, const PictureItem &item)
{
    const QPicture &picture = document.pictures[item.picture];
    const QRect bounds = picture.boundingRect();
    if (picture.isNull() || bounds.isEmpty() || item.rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(item.rect, Qt::IntersectClip);
    painter.translate(item.rect.topLeft());
    painter.scale(item.rect.width() / bounds.width(), item.rect.height() / bounds.height());
    painter.translate(-bounds.topLeft());
    // Playing a picture scales it by the device's resolution against the
    // picture's own; the rectangle already gives its size, so undo that.
    if (const QPaintDevice *device = painter.device();
        device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter.scale(double(picture.logicalDpiX()) / device->logicalDpiX(),
                      double(picture.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(QPointF(0, 0), picture);
    painter.restore();
}

} // namespace

std::vector<TextRun> headerFooterRuns(const Document &document, int pageNumber)
{
    std::vector<TextRun> runs;
    const quint16 font = document.headerFont;
    if (font >= document.fonts.size())
        return runs;
    const QFontMetricsF &metrics = document.fonts.metrics(font);
    const double h = metrics.height();
    const double left = document.leftMargin, right = PaperWidth - document.rightMargin;
    auto place = [&](const QString &text, double y) {
        const HeaderParts parts = headerParts(text, pageNumber);
        if (!parts.left.isEmpty())
            runs.push_back(
                TextRun{left, y, metrics.horizontalAdvance(parts.left), font, parts.left});
        if (!parts.centre.isEmpty()) {
            const double w = metrics.horizontalAdvance(parts.centre);
            runs.push_back(TextRun{(left + right - w) / 2, y, w, font, parts.centre});
        }
        if (!parts.right.isEmpty()) {
            const double w = metrics.horizontalAdvance(parts.right);
            runs.push_back(TextRun{right - w, y, w, font, parts.right});
        }
    };
    if (!document.header.isEmpty())
        place(document.header, std::max(0.0, (document.topMargin - h) / 2));
    if (!document.footer.isEmpty())
        place(document.footer,
              PaperHeight - document.bottomMargin + std::max(0.0, (document.bottomMargin - h) / 2));
    return runs;
}

CellTextPlace cellTextPlace(const Document &document, const DocumentTable &table,
                            const CellPlace &cell, const QString &text)
{
    CellTextPlace place;
    place.font = table.fittedFont(cell.row, cell.column)
                     .value_or(table.emphasis.value(cell.row, cell.column).value_or(false)
                                   ? table.emphasisFont
                                   : table.font);
    const QFontMetricsF &metrics = document.fonts.metrics(place.font);
    place.width = document.shapedTexts.get(document.fonts, place.font, text).width;
    const QRectF &r = cell.rect;
    const double innerLeft = r.left() + table.marginLeft,
                 innerRight = r.right() - table.marginRight;
    place.clipped = place.width > innerRight - innerLeft + 0.01;
    double x = innerLeft;
    switch (table.alignmentOf(cell.row, cell.column)) {
    case 1:
    case 4:
    case 7:
        x = r.center().x() - place.width / 2;
        break;
    case 2:
    case 5:
    case 8:
        x = innerRight - place.width;
        break;
    default:
        break;
    }
    const double y = r.top() + (r.height() - metrics.height()) / 2 + metrics.ascent();
    place.baseline = QPointF(x, y);
    return place;
}

void paintPage(QPainter &painter, const Document &document, int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= document.pageCount())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PageItem &item : document.pages[size_t(pageIndex)].items) {
        if (const auto *run = std::get_if<TextRun>(&item)) {
            painter.setPen(QColor(Qt::black));
            drawRun(painter, document, *run);
        } else if (const auto *line = std::get_if<LineItem>(&item)) {
            painter.setPen(penOf(line->colour, line->width));
            painter.drawLine(line->from, line->to);
        } else if (const auto *box = std::get_if<BoxItem>(&item)) {
            painter.setPen(penOf(box->lineColour, box->lineWidth));
            painter.setBrush(box->filled ? QBrush(QColor::fromRgba(box->fillColour))
                                         : QBrush(Qt::NoBrush));
            painter.drawRect(box->rect);
            painter.setBrush(Qt::NoBrush);
        } else if (const auto *slice = std::get_if<TableSlice>(&item)) {
            paintSlice(painter, document, *slice);
        } else if (const auto *picture = std::get_if<PictureItem>(&item)) {
            paintPicture(painter, document, *picture);
        }
    }
    painter.setPen(QColor(Qt::black));
    for (const TextRun &run : headerFooterRuns(document, pageIndex + 1))
        drawRun(painter, document, run);
    painter.restore();
}

void paintPage(QPainter &painter, const Document &document, int pageIndex, const QRectF &target)
{
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / PaperWidth, target.height() / PaperHeight);
    paintPage(painter, document, pageIndex);
    painter.restore();
}

QImage renderPage(const Document &document, int pageIndex, double dotsPerInch)
{
    const QSize size(qRound(PaperWidth / TwipsPerInch * dotsPerInch),
                     qRound(PaperHeight / TwipsPerInch * dotsPerInch));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, document, pageIndex, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace roadtally
