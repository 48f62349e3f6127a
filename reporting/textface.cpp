#include "reporting/textface.h"

#include <QImage>
#include <map>

namespace dorvik::reporting {

namespace {

const QPaintDevice* device96() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return &device;
}

QString styleKey(const TextStyle& s) {
    return s.family + QLatin1Char('/') + QString::number(s.pointSize) + QLatin1Char(s.bold ? 'b' : '-') + QLatin1Char(s.italic ? 'i' : '-')
           + QLatin1Char(s.underline ? 'u' : '-') + QLatin1Char(s.strikeOut ? 's' : '-');
}

} // namespace

TextFace::TextFace(const TextStyle& style) : style_(style), metrics_(fontFor(style), device96()) {
    raw_ = QRawFont::fromFont(fontFor(style));
    raw_.setPixelSize(style.pointSize * 96.0 / 72.0);
}

TextFace& TextFace::of(const TextStyle& style) {
    static thread_local std::map<QString, TextFace> faces;
    const QString key = styleKey(style);
    auto it = faces.find(key);
    if (it == faces.end()) it = faces.try_emplace(key, style).first;
    return it->second;
}

const TextFace::Glyph* TextFace::glyph(QChar c) {
    if (c.isSurrogate()) return nullptr;
    Glyph& g = c.unicode() < latin_.size() ? latin_[c.unicode()] : others_[c.unicode()];
    if (!g.known) {
        g.known = true;
        const QList<quint32> indexes = raw_.isValid() ? raw_.glyphIndexesForString(QString(c)) : QList<quint32>();
        if (indexes.size() == 1 && indexes.first() != 0) {
            g.index = indexes.first();
            g.advance = raw_.advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics).value(0).x();
        }
    }
    return g.index ? &g : nullptr;
}

double TextFace::width(const QString& text) {
    double w = 0;
    for (QChar c : text) {
        const Glyph* g = glyph(c);
        if (!g) return metrics_.horizontalAdvance(text);
        w += g->advance;
    }
    return w;
}

std::optional<QGlyphRun> TextFace::glyphRun(const QString& text) {
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    double x = 0;
    for (QChar c : text) {
        const Glyph* g = glyph(c);
        if (!g) return std::nullopt;
        indexes << g->index;
        positions << QPointF(x, 0);
        x += g->advance;
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    run.setUnderline(style_.underline);
    run.setStrikeOut(style_.strikeOut);
    return run;
}

} // namespace dorvik::reporting
