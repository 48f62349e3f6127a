#include "reporting/fr3writer.h"

#include "db/cp1250.h"
#include "reporting/fr3reader.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <cmath>

namespace dorvik::reporting {
namespace {

// Sizes, positions and widths; only these get their decimal comma turned into a point.
bool isNumberAttribute(const QString& name) {
    static const QSet<QString> names = {
        QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"), QStringLiteral("Height"),
        QStringLiteral("PaperWidth"), QStringLiteral("PaperHeight"), QStringLiteral("LeftMargin"),
        QStringLiteral("RightMargin"), QStringLiteral("TopMargin"), QStringLiteral("BottomMargin"),
        QStringLiteral("Frame.Width"), QStringLiteral("GapX"), QStringLiteral("GapY"), QStringLiteral("LineSpacing"),
        QStringLiteral("ColumnWidth"), QStringLiteral("Zoom"), QStringLiteral("Curve"),
    };
    return names.contains(name);
}

QString escaped(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            if (c.unicode() < 0x20) out += QStringLiteral("&#%1;").arg(c.unicode());
            else out += c;
        }
    }
    return out;
}

QString attributeText(const Attribute& a) {
    static const QRegularExpression commaNumber(QStringLiteral("^-?\\d+,\\d+$"));
    QString value = a.value;
    if (isNumberAttribute(a.name) && commaNumber.match(value).hasMatch()) value.replace(QLatin1Char(','), QLatin1Char('.'));
    return QLatin1Char(' ') + a.name + QStringLiteral("=\"") + escaped(value) + QLatin1Char('"');
}

void writeNode(QString& out, const Node& n, int depth, const QList<Node>& leading = {}) {
    const QString indent(depth * 2, QLatin1Char(' '));
    out += indent + QLatin1Char('<') + n.tag;
    for (const Attribute& a : n.attributes) out += attributeText(a);
    if (n.children.isEmpty() && leading.isEmpty()) {
        out += QStringLiteral("/>\n");
        return;
    }
    out += QStringLiteral(">\n");
    for (const Node& c : leading) writeNode(out, c, depth + 1);
    for (const Node& c : n.children) writeNode(out, c, depth + 1);
    out += indent + QStringLiteral("</") + n.tag + QStringLiteral(">\n");
}

QList<Attribute> datasetItem(const DatasetRef& d) {
    return {{QStringLiteral("DataSet"), d.dataSet}, {QStringLiteral("DataSetName"), d.dataSetName}};
}

QList<Attribute> variableItem(const Variable& v) {
    QList<Attribute> item = {{QStringLiteral("Name"), v.name}};
    if (!v.value.isEmpty()) item.append({QStringLiteral("Value"), v.value});
    return item;
}

// A string value of a Delphi property stream: cp1250 when it can be, else UTF-8.
void appendString(QByteArray& b, const QString& text) {
    const QByteArray ansi = db::toCp1250(text);
    const bool fits = db::fromCp1250(ansi) == text;
    const QByteArray bytes = fits ? ansi : text.toUtf8();
    if (fits && bytes.size() < 256) {
        b += char(6);
        b += char(bytes.size());
    } else {
        b += char(fits ? 0x0C : 0x14);
        const quint32 n = quint32(bytes.size());
        for (int i = 0; i < 4; ++i) b += char((n >> (8 * i)) & 0xFF);
    }
    b += bytes;
}

// The items as the blob carries them: ' DataSet="x" DataSetName="y"'.
QString itemText(const QList<Attribute>& item) {
    QString s;
    for (const Attribute& a : item) s += QLatin1Char(' ') + a.name + QStringLiteral("=\"") + QString(a.value).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    return s;
}

QString propDataHex(const Template& t) {
    QByteArray b;
    if (t.dataInPropData) {
        const auto list = [&](const QByteArray& name, const QStringList& items) {
            b += char(name.size()) + name + char(1);
            for (const QString& item : items) appendString(b, item);
            b += char(0);
        };
        QStringList datasets, variables;
        for (const DatasetRef& d : t.datasets) datasets << itemText(datasetItem(d));
        for (const Variable& v : t.variables) variables << itemText(variableItem(v));
        list("Datasets", datasets);
        list("Variables", variables);
    }
    b += t.propDataRest;
    b += char(0);
    return QString::fromLatin1(b.toHex().toUpper());
}

} // namespace

QString formatNumber(double value) {
    if (std::fabs(value - std::round(value)) < 1e-9) return QString::number(qint64(std::round(value)));
    QString s = QString::number(value, 'f', 5);
    while (s.endsWith(QLatin1Char('0'))) s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    return s;
}

QByteArray templateXml(const Template& t) {
    Node root = t.root;
    if (root.tag.isEmpty()) root.tag = QStringLiteral("TfrxReport");
    QList<Node> leading;
    if (t.dataInPropData || !t.propDataRest.isEmpty()) {
        const Attribute blob{QStringLiteral("PropData"), propDataHex(t)};
        if (t.propDataIndex >= 0 && t.propDataIndex <= root.attributes.size()) root.attributes.insert(t.propDataIndex, blob);
        else root.attributes.append(blob);
    }
    if (!t.dataInPropData) {
        Node datasets{QStringLiteral("Datasets"), {}, {}};
        for (const DatasetRef& d : t.datasets) datasets.children.append({QStringLiteral("item"), datasetItem(d), {}});
        Node variables{QStringLiteral("Variables"), {}, {}};
        for (const Variable& v : t.variables) variables.children.append({QStringLiteral("item"), variableItem(v), {}});
        leading = {datasets, variables};
    }
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n");
    writeNode(out, root, 0, leading);
    return out.toUtf8();
}

void writeTemplate(const Template& report, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) throw TemplateError(QStringLiteral("Nelze zapsat %1").arg(path).toStdString());
    f.write(templateXml(report));
    if (!f.commit()) throw TemplateError(QStringLiteral("Nelze zapsat %1").arg(path).toStdString());
}

} // namespace dorvik::reporting
