#include "reporting/preparedreport.h"

#include "reporting/textface.h"

#include <QFileInfo>
#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <optional>
#include <stdexcept>

namespace dorvik::reporting {

QString installedFamily(const QString& f) {
    const QString lower = f.toLower();
    if (lower.startsWith(QLatin1String("arial")) || lower == QLatin1String("tahoma") || lower == QLatin1String("verdana")
        || lower == QLatin1String("ms sans serif") || lower == QLatin1String("helvetica"))
        return QStringLiteral("Liberation Sans");
    if (lower.startsWith(QLatin1String("times"))) return QStringLiteral("Liberation Serif");
    if (lower.startsWith(QLatin1String("courier"))) return QStringLiteral("Liberation Mono");
    return f;
}

QFont fontFor(const TextStyle& style) {
    QFont font(style.family);
    font.setPointSizeF(style.pointSize);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

namespace {

QPen framePen(const Frame& f) {
    QPen pen(f.color, f.width, f.style);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

void drawFrame(QPainter& p, const PreparedItem& item) {
    if (!item.frame.lines) return;
    p.setPen(framePen(item.frame));
    const QRectF r = item.rect;
    const auto line = [&](QPointF a, QPointF b, QPointF offset) {
        p.drawLine(a, b);
        if (item.frame.isDouble) p.drawLine(a + offset, b + offset);
    };
    const double d = item.frame.width * 2;
    if (item.frame.lines & 1) line(r.topLeft(), r.bottomLeft(), {d, 0});
    if (item.frame.lines & 2) line(r.topRight(), r.bottomRight(), {-d, 0});
    if (item.frame.lines & 4) line(r.topLeft(), r.topRight(), {0, d});
    if (item.frame.lines & 8) line(r.bottomLeft(), r.bottomRight(), {0, -d});
}

// Points in 96-dpi units: the painter's scale then brings them to the device. The device
// font is scaled down by the device's resolution, so that its metrics come in page units.
const QFont& deviceFont(QPainter& p, const TextStyle& s) {
    struct Cached {
        QPaintDevice* device = nullptr;
        int dpi = 0;
        TextStyle style;
        QFont font;
    };
    // Consecutive items mostly share a style: keep the last font.
    static thread_local Cached cache;
    if (cache.device != p.device() || cache.dpi != p.device()->logicalDpiY() || cache.style.family != s.family
        || cache.style.pointSize != s.pointSize || cache.style.bold != s.bold || cache.style.italic != s.italic
        || cache.style.underline != s.underline || cache.style.strikeOut != s.strikeOut) {
        TextStyle scaled = s;
        scaled.pointSize = s.pointSize * 96.0 / p.device()->logicalDpiY();
        cache = Cached{p.device(), p.device()->logicalDpiY(), s, fontFor(scaled)};
    }
    return cache.font;
}

// Draws the glyphs that were measured; text the font cannot carry alone goes through shaping.
void drawLine(QPainter& p, TextFace& face, const TextStyle& style, QPointF baseline, const QString& text) {
    if (const std::optional<QGlyphRun> run = face.glyphRun(text)) {
        p.drawGlyphRun(baseline, *run);
        return;
    }
    p.setFont(deviceFont(p, style));
    p.drawText(baseline, text);
}

void drawText(QPainter& p, const PreparedItem& item) {
    if (item.lines.isEmpty()) return;
    TextFace& face = TextFace::of(item.style);
    p.setPen(item.style.color);
    const QRectF inner = item.rect.adjusted(item.gapX, item.gapY, -item.gapX, -item.gapY);
    const qsizetype count = item.lines.size();
    const double textHeight = count * item.lineHeight;
    double top = inner.top();
    if (item.vAlign == VAlign::Bottom) top = inner.bottom() - textHeight;
    else if (item.vAlign == VAlign::Center) top = inner.top() + (inner.height() - textHeight) / 2;
    const auto lineLeft = [&](qsizetype i) {
        if (item.hAlign == HAlign::Right) return inner.right() - item.lineWidths[i];
        if (item.hAlign == HAlign::Center) return inner.left() + (inner.width() - item.lineWidths[i]) / 2;
        return inner.left();
    };
    // A clip costs a saved graphics state per item in a PDF: set it only where text reaches out.
    constexpr double tolerance = 0.01;
    bool clip = item.clipped
                && (top < item.rect.top() - tolerance
                    || top + (count - 1) * item.lineHeight + face.metrics().height() > item.rect.bottom() + tolerance);
    for (qsizetype i = 0; item.clipped && !clip && i < count; ++i) {
        const double left = lineLeft(i);
        clip = left < item.rect.left() - tolerance || left + item.lineWidths[i] > item.rect.right() + tolerance;
    }
    if (clip) {
        p.save();
        p.setClipRect(item.rect, Qt::IntersectClip);
    }
    double y = top;
    for (qsizetype i = 0; i < count; ++i, y += item.lineHeight) {
        const QString& line = item.lines[i];
        const double baseline = y + item.ascent;
        const bool lastOfParagraph = i + 1 == count;
        if (item.hAlign == HAlign::Block && !lastOfParagraph && line.contains(QLatin1Char(' '))) {
            const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            double wordsWidth = 0;
            for (const QString& w : words) wordsWidth += face.width(w);
            const double gap = words.size() > 1 ? (inner.width() - wordsWidth) / (words.size() - 1) : 0;
            double x = inner.left();
            for (const QString& w : words) {
                drawLine(p, face, item.style, QPointF(x, baseline), w);
                x += face.width(w) + gap;
            }
            continue;
        }
        drawLine(p, face, item.style, QPointF(lineLeft(i), baseline), line);
    }
    if (clip) p.restore();
}

void drawItem(QPainter& p, const PreparedItem& item) {
    switch (item.kind) {
    case PreparedItem::Kind::Text:
        if (item.fill.isValid()) p.fillRect(item.rect, item.fill);
        drawText(p, item);
        drawFrame(p, item);
        break;
    case PreparedItem::Kind::Line:
        p.setPen(framePen(item.frame));
        p.drawLine(item.rect.topLeft(), item.rect.bottomRight());
        break;
    case PreparedItem::Kind::Shape: {
        p.setPen(item.frame.width > 0 ? framePen(item.frame) : QPen(Qt::NoPen));
        p.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
        const QRectF r = item.rect;
        switch (item.shape) {
        case ShapeKind::Rectangle: p.drawRect(r); break;
        case ShapeKind::RoundRectangle: p.drawRoundedRect(r, 8, 8); break;
        case ShapeKind::Ellipse: p.drawEllipse(r); break;
        case ShapeKind::Triangle:
            p.drawPolygon(QPolygonF({QPointF(r.center().x(), r.top()), r.bottomRight(), r.bottomLeft()}));
            break;
        case ShapeKind::Diamond:
            p.drawPolygon(QPolygonF({QPointF(r.center().x(), r.top()), QPointF(r.right(), r.center().y()),
                                     QPointF(r.center().x(), r.bottom()), QPointF(r.left(), r.center().y())}));
            break;
        }
        p.setBrush(Qt::NoBrush);
        break;
    }
    case PreparedItem::Kind::Picture: {
        if (item.fill.isValid()) p.fillRect(item.rect, item.fill);
        if (!item.image.isNull()) {
            QRectF target = item.rect;
            if (item.keepAspect) {
                QSizeF s = item.image.size();
                s.scale(item.rect.size(), Qt::KeepAspectRatio);
                target = QRectF(item.rect.topLeft(), s);
            }
            p.drawImage(target, item.image);
        }
        drawFrame(p, item);
        break;
    }
    case PreparedItem::Kind::Barcode: {
        if (item.fill.isValid()) p.fillRect(item.rect, item.fill);
        for (const QRectF& bar : item.bars) p.fillRect(bar.translated(item.rect.topLeft()), Qt::black);
        if (!item.caption.isEmpty()) {
            p.setFont(deviceFont(p, item.style));
            p.setPen(Qt::black);
            const double captionTop = item.rect.bottom() - item.lineHeight;
            p.drawText(QRectF(item.rect.left(), captionTop, item.rect.width(), item.lineHeight),
                       Qt::AlignHCenter | Qt::AlignTop, item.caption);
        }
        drawFrame(p, item);
        break;
    }
    }
}

} // namespace

void paintPage(QPainter& painter, const PreparedPage& page) {
    painter.fillRect(QRectF(QPointF(0, 0), page.size), page.background.isValid() ? page.background : QColor(Qt::white));
    for (const PreparedItem& item : page.items) drawItem(painter, item);
}

void paintPageOnDevice(QPainter& painter, const PreparedPage& page, double scale) {
    painter.save();
    const double factor = painter.device()->logicalDpiX() / 96.0 * scale;
    painter.scale(factor, factor);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, page);
    painter.restore();
}

namespace {

QPageSize pageSizeOf(const PreparedPage& page) {
    return QPageSize(QSizeF(page.size.width() / 96.0 * 25.4, page.size.height() / 96.0 * 25.4), QPageSize::Millimeter);
}

} // namespace

void writePdf(const PreparedReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Dorvik"));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    if (!report.pages.isEmpty()) writer.setPageSize(pageSizeOf(report.pages.first()));
    QPainter painter;
    if (!painter.begin(&writer)) throw std::runtime_error(("Nelze zapsat " + path).toStdString());
    for (qsizetype i = 0; i < report.pages.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(pageSizeOf(report.pages[i]));
            writer.newPage();
        }
        paintPageOnDevice(painter, report.pages[i]);
    }
    painter.end();
    if (!QFileInfo::exists(path)) throw std::runtime_error(("Nelze zapsat " + path).toStdString());
}

void printReport(const PreparedReport& report, QPrinter& printer) {
    printer.setFullPage(true);
    QPainter painter;
    if (report.pages.isEmpty()) return;
    printer.setPageSize(pageSizeOf(report.pages.first()));
    if (!painter.begin(&printer)) throw std::runtime_error("Tisk nelze zahájit");
    for (qsizetype i = 0; i < report.pages.size(); ++i) {
        if (i > 0) printer.newPage();
        paintPageOnDevice(painter, report.pages[i]);
    }
    painter.end();
}

} // namespace dorvik::reporting
