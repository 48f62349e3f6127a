#include "reporting/template.h"

#include "reporting/fr3writer.h"

#include <QBuffer>
#include <QImageReader>
#include <QRectF>
#include <QtEndian>
#include <algorithm>

namespace dorvik::reporting {

bool Node::has(const QString& name) const {
    for (const Attribute& a : attributes)
        if (a.name == name) return true;
    return false;
}

QString Node::text(const QString& name, const QString& fallback) const {
    for (const Attribute& a : attributes)
        if (a.name == name) return a.value;
    return fallback;
}

double Node::number(const QString& name, double fallback) const {
    for (const Attribute& a : attributes) {
        if (a.name != name) continue;
        bool ok = false;
        const double v = QString(a.value).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? v : fallback;
    }
    return fallback;
}

bool Node::boolean(const QString& name, bool fallback) const {
    for (const Attribute& a : attributes)
        if (a.name == name) return a.value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return fallback;
}

void Node::set(const QString& name, const QString& value) {
    for (Attribute& a : attributes)
        if (a.name == name) {
            a.value = value;
            return;
        }
    attributes.append({name, value});
}

void Node::remove(const QString& name) {
    attributes.removeIf([&](const Attribute& a) { return a.name == name; });
}

void Template::setVariable(const QString& name, const QString& expression) {
    for (Variable& v : variables)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) {
            v.value = expression;
            return;
        }
    variables.append({name, expression});
}

const Variable* Template::variable(const QString& name) const {
    for (const Variable& v : variables)
        if (v.name.compare(name, Qt::CaseInsensitive) == 0) return &v;
    return nullptr;
}

namespace {

const QString PageTag = QStringLiteral("TfrxReportPage");
// Sizes in a template are 96-dpi pixels, the paper is in mm.
constexpr double PxPerMm = 96.0 / 25.4;
// The paper where the template says nothing.
constexpr double DefaultPaperWidth = 210, DefaultPaperHeight = 297, DefaultMargin = 10;

QMarginsF marginsMm(const Node& page) {
    return QMarginsF(page.number(QStringLiteral("LeftMargin"), DefaultMargin), page.number(QStringLiteral("TopMargin"), DefaultMargin),
                     page.number(QStringLiteral("RightMargin"), DefaultMargin), page.number(QStringLiteral("BottomMargin"), DefaultMargin));
}

} // namespace

QSizeF sheetSize(const Node& page) {
    QSizeF size(page.number(QStringLiteral("PaperWidth"), DefaultPaperWidth) * PxPerMm, page.number(QStringLiteral("PaperHeight"), DefaultPaperHeight) * PxPerMm);
    if (page.text(QStringLiteral("Orientation")) == QLatin1String("poLandscape") && size.width() < size.height()) size.transpose();
    return size;
}

QMarginsF sheetMargins(const Node& page) { return marginsMm(page) * PxPerMm; }

QPageLayout Template::pageLayout() const {
    Node none;
    const Node* page = &none;
    for (const Node& n : root.children)
        if (n.tag == PageTag) {
            page = &n;
            break;
        }
    const double w = page->number(QStringLiteral("PaperWidth"), DefaultPaperWidth), h = page->number(QStringLiteral("PaperHeight"), DefaultPaperHeight);
    const bool landscape = page->text(QStringLiteral("Orientation")) == QLatin1String("poLandscape") || w > h;
    const QPageSize paper(QSizeF(std::min(w, h), std::max(w, h)), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(paper, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, marginsMm(*page), QPageLayout::Millimeter);
}

void Template::setPageLayout(const QPageLayout& layout) {
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    const int windowsPaper = layout.pageSize().windowsId();
    for (Node& page : root.children) {
        if (page.tag != PageTag) continue;
        page.set(QStringLiteral("PaperWidth"), formatNumber(paper.width()));
        page.set(QStringLiteral("PaperHeight"), formatNumber(paper.height()));
        page.set(QStringLiteral("PaperSize"), QString::number(windowsPaper > 0 ? windowsPaper : 256)); // 256: user-defined
        page.set(QStringLiteral("Orientation"), layout.orientation() == QPageLayout::Landscape ? QStringLiteral("poLandscape") : QStringLiteral("poPortrait"));
        page.set(QStringLiteral("LeftMargin"), formatNumber(margins.left()));
        page.set(QStringLiteral("TopMargin"), formatNumber(margins.top()));
        page.set(QStringLiteral("RightMargin"), formatNumber(margins.right()));
        page.set(QStringLiteral("BottomMargin"), formatNumber(margins.bottom()));
    }
}

QImage pictureOf(const Node& object) {
    const QByteArray bytes = QByteArray::fromHex(object.text(QStringLiteral("Picture.PropData")).toLatin1());
    if (bytes.isEmpty()) return {};
    const int nameLength = uchar(bytes[0]);
    const QByteArray rest = bytes.mid(1 + nameLength);
    QImage image;
    if (image.loadFromData(rest) || image.loadFromData(rest.mid(4))) return image;
    image.loadFromData(bytes);
    return image;
}

QString picturePropData(const QByteArray& file) {
    QBuffer buffer;
    buffer.setData(file);
    const QByteArray format = QImageReader(&buffer).format();
    QByteArray className, graphic = file;
    if (format == "png") {
        className = "TPngImage";
    } else if (format == "jpeg") {
        className = "TJPEGImage";
    } else if (format == "bmp") {
        className = "TBitmap";
        QByteArray size(4, 0);
        qToLittleEndian(quint32(file.size()), size.data());
        graphic.prepend(size);
    } else {
        return {};
    }
    return QString::fromLatin1((char(className.size()) + className + graphic).toHex().toUpper());
}

QString quotedLiteral(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

} // namespace dorvik::reporting
