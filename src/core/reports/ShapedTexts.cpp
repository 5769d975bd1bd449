#include "core/reports/ShapedTexts.h"
#include "core/reports/Document.h"

#include <QGlyphRun>
#include <QTextLayout>

namespace roadtally {

namespace {

// Texts kept per font: plenty for the dates, speeds and directions of a long
// list; the times of day of a long survey come and go.
constexpr size_t MaxTextsPerFont = 50'000;

} // namespace

const ShapedTexts::Shaped &ShapedTexts::get(const FontTable &fonts, quint16 font,
                                            const QString &text)
{
    if (font >= m_fonts.size())
        m_fonts.resize(size_t(font) + 1);
    PerFont &per = m_fonts[font];
    if (const auto found = per.texts.find(text); found != per.texts.end())
        return found->second;
    if (per.texts.size() >= MaxTextsPerFont)
        per.texts.clear();

    Shaped shaped;
    // The same measure the layout and the page dumps use.
    shaped.width = fonts.metrics(font).horizontalAdvance(text);
    QTextLayout layout(text, fonts.font(font));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        const QList<QGlyphRun> runs = layout.glyphRuns();
        if (runs.isEmpty()) {
            shaped.glyphRun = true; // nothing to draw
        } else if (runs.size() == 1) {
            const QGlyphRun &run = runs.first();
            if (!per.rawKnown) {
                per.raw = run.rawFont();
                per.rawKnown = true;
            }
            const QList<QPointF> positions = run.positions();
            const QList<quint32> glyphs = run.glyphIndexes();
            const double baseline = line.y() + line.ascent();
            bool flat = run.rawFont() == per.raw && positions.size() == glyphs.size();
            for (const QPointF &p : positions)
                flat = flat && qAbs(p.y() - baseline) < 0.001;
            if (flat) {
                shaped.glyphRun = true;
                shaped.glyphs.assign(glyphs.cbegin(), glyphs.cend());
                shaped.x.reserve(size_t(positions.size()));
                for (const QPointF &p : positions)
                    shaped.x.push_back(float(p.x() - line.x()));
            }
        }
    }
    return per.texts.emplace(text, std::move(shaped)).first->second;
}

QRawFont ShapedTexts::rawFont(quint16 font) const
{
    return font < m_fonts.size() ? m_fonts[font].raw : QRawFont();
}

} // namespace roadtally
