#pragma once
// A laid-out document: pages of items in twips (1440 to the inch, from the
// top-left corner of the paper), the fonts, tables and pictures they refer to,
// and the page header and footer printed on every page.

#include "core/reports/DocumentTable.h"
#include "core/reports/ShapedTexts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPicture>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

namespace roadtally {

inline constexpr double TwipsPerInch = 1440.0;
inline constexpr double TwipsPerPoint = 20.0;
// US Letter portrait.
inline constexpr double PaperWidth = 12240.0;
inline constexpr double PaperHeight = 15840.0;

struct FontSpec
{
    QString face;     // as the report names it ("Arial")
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    bool operator==(const FontSpec &) const = default;
};

// The fonts a document uses, each once, with their metrics in twips.
class FontTable
{
public:
    quint16 index(const FontSpec &spec);
    const FontSpec &spec(quint16 index) const { return m_specs[index]; }
    const QFont &font(quint16 index) const { return m_fonts[index]; }
    const QFontMetricsF &metrics(quint16 index) const { return *m_metrics[index]; }
    int size() const { return int(m_specs.size()); }

    // The face the layout is made for, through a metric-compatible face where
    // the named one is not installed (Arial through Liberation Sans).
    static QString installedFamily(const QString &face);
    // A font whose pixel size is its size in twips, so that one pixel is one twip.
    static QFont twipFont(const FontSpec &spec);

private:
    std::vector<FontSpec> m_specs;
    std::vector<QFont> m_fonts;
    std::vector<std::unique_ptr<QFontMetricsF>> m_metrics;
};

// One line of text; y is the top of its line, the baseline lies the font's
// ascent below it.
struct TextRun
{
    double x = 0;
    double y = 0;
    double width = 0;
    quint16 font = 0;
    QString text;
};

struct LineItem
{
    QPointF from;
    QPointF to;
    QRgb colour = 0xff000000;
    double width = 0; // twips
};

struct BoxItem
{
    QRectF rect;
    QRgb lineColour = 0xff000000;
    double lineWidth = 0;
    bool filled = true;
    QRgb fillColour = 0xff000000;
};

// Rows of a table laid out in one text column of one page: the header row
// (when the table has one) and body rows first..last, from (x, y) down.
struct TableSlice
{
    quint32 table = 0;
    int firstRow = 1;
    int lastRow = 0; // less than firstRow when only the header is here
    bool header = false;
    double x = 0;
    double y = 0;
};

struct PictureItem
{
    quint32 picture = 0;
    QRectF rect;
};

using PageItem = std::variant<TextRun, LineItem, BoxItem, TableSlice, PictureItem>;

struct Page
{
    std::vector<PageItem> items; // in the order they were written: later items paint over earlier
};

struct Document
{
    std::vector<Page> pages;
    FontTable fonts;
    std::vector<std::unique_ptr<DocumentTable>> tables;
    std::vector<QPicture> pictures;

    // Printed on every page: "|" separates left, centre and right parts, "%d"
    // is the page number. The texts, their font and the margins they stand in
    // are those in force when the document was finished.
    QString header;
    QString footer;
    quint16 headerFont = 0;
    double leftMargin = 720;
    double rightMargin = 720;
    double topMargin = 1440;
    double bottomMargin = 1440;
    bool finished = false;

    // The cell texts as the painter and the dumps measure and draw them; filled
    // as pages are painted.
    mutable ShapedTexts shapedTexts;

    int pageCount() const { return int(pages.size()); }
};

// The left, centre and right parts of a header or footer for one page.
struct HeaderParts
{
    QString left;
    QString centre;
    QString right;
};
HeaderParts headerParts(const QString &text, int pageNumber);

} // namespace roadtally
