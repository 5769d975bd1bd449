#pragma once
// The texts of a document's table cells, each laid out once per font: its
// width and, where one font draws it whole, its glyphs. A long table repeats
// the same few texts thousands of times; painting them from here costs a
// lookup instead of a text layout per cell, and the glyphs of many cells go
// to the device in one call.

#include <QHash>
#include <QRawFont>
#include <QString>

#include <unordered_map>
#include <vector>

namespace roadtally {

class FontTable;

class ShapedTexts
{
public:
    struct Shaped
    {
        double width = 0;      // advance of the whole text, as QFontMetricsF gives it
        bool glyphRun = false; // false: draw it as text (several fonts, marks, ...)
        std::vector<quint32> glyphs;
        std::vector<float> x; // glyph origins on the baseline, from the text's start
    };

    // The text in the font of that index; valid until the next call.
    const Shaped &get(const FontTable &fonts, quint16 font, const QString &text);
    // The font the glyphs of that font index are drawn in.
    QRawFont rawFont(quint16 font) const;
    void clear() { m_fonts.clear(); }

private:
    struct PerFont
    {
        std::unordered_map<QString, Shaped> texts;
        QRawFont raw;
        bool rawKnown = false;
    };
    std::vector<PerFont> m_fonts;
};

} // namespace roadtally
