#pragma once

#include "reporting/preparedreport.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <array>
#include <optional>

namespace dorvik::reporting {

// One text style at 96 dpi: measures strings and turns them into glyph runs straight from the
// font's tables, so a line is shaped once and the preview, the printer and the PDF draw the
// glyphs that were measured. Kerning is off in reports, so advances simply add up.
// A string with a character the font lacks goes through Qt's shaping with font fallback.
class TextFace {
public:
    explicit TextFace(const TextStyle& style);

    // The face of a style, kept per thread.
    static TextFace& of(const TextStyle& style);

    const QFontMetricsF& metrics() const { return metrics_; }
    double width(const QString& text);
    // Glyphs placed from x = 0 on the baseline; nullopt when the shaped path must draw the text.
    std::optional<QGlyphRun> glyphRun(const QString& text);

private:
    struct Glyph {
        quint32 index = 0;
        double advance = 0;
        bool known = false;
    };
    const Glyph* glyph(QChar c);

    TextStyle style_;
    QFontMetricsF metrics_;
    QRawFont raw_;
    std::array<Glyph, 0x300> latin_{}; // Latin with its extensions: every Czech letter
    QHash<char16_t, Glyph> others_;
};

} // namespace dorvik::reporting
