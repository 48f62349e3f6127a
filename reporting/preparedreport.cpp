#include "reporting/preparedreport.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
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

void drawText(QPainter& p, const PreparedItem& item) {
    if (item.lines.isEmpty()) return;
    // Points in 96-dpi units: the painter's scale then brings them to the device.
    // The font is scaled down by the device's resolution, so its metrics come in page units.
    // Consecutive items mostly share a style: keep the last font and its metrics.
    struct Cached {
        QPaintDevice* device = nullptr;
        int dpi = 0;
        TextStyle style;
        QFont font;
        std::optional<QFontMetricsF> metrics;
    };
    static thread_local Cached cache;
    const TextStyle& s = item.style;
    if (cache.device != p.device() || cache.dpi != p.device()->logicalDpiY() || !cache.metrics || cache.style.family != s.family || cache.style.pointSize != s.pointSize
        || cache.style.bold != s.bold || cache.style.italic != s.italic || cache.style.underline != s.underline
        || cache.style.strikeOut != s.strikeOut) {
        TextStyle scaled = s;
        scaled.pointSize = s.pointSize * 96.0 / p.device()->logicalDpiY();
        cache.device = p.device();
        cache.dpi = p.device()->logicalDpiY();
        cache.style = s;
        cache.font = fontFor(scaled);
        cache.metrics.emplace(cache.font, p.device());
    }
    p.setFont(cache.font);
    p.setPen(item.style.color);
    const QFontMetricsF& fm = *cache.metrics;
    const QRectF inner = item.rect.adjusted(item.gapX, item.gapY, -item.gapX, -item.gapY);
    const double textHeight = item.lines.size() * item.lineHeight;
    double y = inner.top();
    if (item.vAlign == VAlign::Bottom) y = inner.bottom() - textHeight;
    else if (item.vAlign == VAlign::Center) y = inner.top() + (inner.height() - textHeight) / 2;
    if (item.clipped) {
        p.save();
        p.setClipRect(item.rect, Qt::IntersectClip);
    }
    for (qsizetype i = 0; i < item.lines.size(); ++i, y += item.lineHeight) {
        const QString& line = item.lines[i];
        const double baseline = y + item.ascent;
        const double width = fm.horizontalAdvance(line);
        const bool lastOfParagraph = i + 1 == item.lines.size();
        if (item.hAlign == HAlign::Block && !lastOfParagraph && line.contains(QLatin1Char(' '))) {
            const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            double wordsWidth = 0;
            for (const QString& w : words) wordsWidth += fm.horizontalAdvance(w);
            const double gap = words.size() > 1 ? (inner.width() - wordsWidth) / (words.size() - 1) : 0;
            double x = inner.left();
            for (const QString& w : words) {
                p.drawText(QPointF(x, baseline), w);
                x += fm.horizontalAdvance(w) + gap;
            }
            continue;
        }
        double x = inner.left();
        if (item.hAlign == HAlign::Right) x = inner.right() - width;
        else if (item.hAlign == HAlign::Center) x = inner.left() + (inner.width() - width) / 2;
        p.drawText(QPointF(x, baseline), line);
    }
    if (item.clipped) p.restore();
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
            TextStyle style = item.style;
            style.pointSize = style.pointSize * 96.0 / p.device()->logicalDpiY();
            p.setFont(fontFor(style));
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
