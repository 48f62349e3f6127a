#include "reporting/fr3reader.h"

#include "db/cp1250.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace dorvik::reporting {
namespace {

[[noreturn]] void fail(const QString& message) { throw TemplateError(message.toStdString()); }

// The old format (no "standalone" in the header) keeps Text in UTF-8 and every other
// attribute in the ANSI code page; the file is read as Latin-1 so each byte survives.
bool isOldFormat(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf("?>");
    if (!bytes.startsWith("<?xml") || end < 0) return false;
    return !bytes.left(end).contains("standalone");
}

QString attributeValue(const QString& name, const QString& raw, bool old) {
    if (!old) return raw;
    const QByteArray bytes = raw.toLatin1();
    if (name == QLatin1String("Text")) return QString::fromUtf8(bytes);
    return db::fromCp1250(bytes);
}

Node readElement(QXmlStreamReader& xml, bool old) {
    Node node;
    node.tag = xml.name().toString();
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        const QString name = a.qualifiedName().toString();
        node.attributes.append({name, attributeValue(name, a.value().toString(), old)});
    }
    while (xml.readNextStartElement()) node.children.append(readElement(xml, old));
    return node;
}

// Items of a Datasets or Variables list: ' DataSet="x" DataSetName="y"' or ' Name="a" Value="b"'.
QList<Attribute> itemAttributes(const QString& item) {
    static const QRegularExpression pair(QStringLiteral("(\\w+)=\"((?:[^\"]|\"\")*)\""));
    QList<Attribute> out;
    for (auto it = pair.globalMatch(item); it.hasNext();) {
        const auto m = it.next();
        out.append({m.captured(1), m.captured(2).replace(QLatin1String("\"\""), QLatin1String("\""))});
    }
    return out;
}

void addItem(const QString& list, const QList<Attribute>& attrs, Template& t) {
    auto value = [&](const char* name) {
        for (const Attribute& a : attrs)
            if (a.name == QLatin1String(name)) return a.value;
        return QString();
    };
    if (list == QLatin1String("Datasets"))
        t.datasets.append({value("DataSet"), value("DataSetName")});
    else if (list == QLatin1String("Variables"))
        t.variables.append({value("Name"), value("Value")});
}

// A Delphi TWriter property stream: name (short string), typed value, ..., empty name.
class PropStream {
public:
    explicit PropStream(QByteArray bytes) : b_(std::move(bytes)) {}
    bool atEnd() const { return pos_ >= b_.size(); }
    qsizetype position() const { return pos_; }
    QByteArray since(qsizetype start) const { return b_.mid(start, pos_ - start); }

    QString shortString() {
        const int n = byte();
        return db::fromCp1250(take(n));
    }
    // Reads one value; strings are returned, other kinds are skipped.
    QStringList value() {
        const int kind = byte();
        switch (kind) {
        case 0: return {};                                        // end of list
        case 1: {                                                 // list
            QStringList items;
            while (!atEnd() && uchar(b_[pos_]) != 0) items << value();
            ++pos_;
            return items;
        }
        case 2: take(1); return {};
        case 3: take(2); return {};
        case 4: take(4); return {};
        case 5: take(10); return {};
        case 6: return {db::fromCp1250(take(byte()))};
        case 7: take(byte()); return {};
        case 8: case 9: case 0x0D: return {};
        case 0x0C: return {db::fromCp1250(take(int32()))};
        case 0x12: {
            const QByteArray w = take(int32() * 2);
            return {QString::fromUtf16(reinterpret_cast<const char16_t*>(w.constData()), w.size() / 2)};
        }
        case 0x14: return {QString::fromUtf8(take(int32()))};
        default: fail(QStringLiteral("PropData: unknown value kind %1").arg(kind));
        }
    }

private:
    int byte() {
        if (atEnd()) fail(QStringLiteral("PropData ends early"));
        return uchar(b_[pos_++]);
    }
    int int32() {
        const QByteArray d = take(4);
        return int(uchar(d[0]) | uchar(d[1]) << 8 | uchar(d[2]) << 16 | uchar(d[3]) << 24);
    }
    QByteArray take(int n) {
        if (n < 0 || pos_ + n > b_.size()) fail(QStringLiteral("PropData ends early"));
        const QByteArray d = b_.mid(pos_, n);
        pos_ += n;
        return d;
    }
    QByteArray b_;
    qsizetype pos_ = 0;
};

} // namespace

void readPropData(const QString& hex, Template& into) {
    PropStream s(QByteArray::fromHex(hex.toLatin1()));
    while (!s.atEnd()) {
        const qsizetype start = s.position();
        const QString name = s.shortString();
        if (name.isEmpty()) break;
        const QStringList items = s.value();
        if (name == QLatin1String("Datasets") || name == QLatin1String("Variables")) {
            into.dataInPropData = true;
            for (const QString& item : items) addItem(name, itemAttributes(item), into);
        } else {
            into.propDataRest += s.since(start);
        }
    }
}

Template parseTemplate(const QByteArray& bytes) {
    Template t;
    t.oldFormat = isOldFormat(bytes);
    QByteArray data = bytes;
    if (t.oldFormat) data.replace(0, data.indexOf("?>") + 2, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    QXmlStreamReader xml(data);
    if (!xml.readNextStartElement() || xml.hasError()) {
        fail(QStringLiteral("Šablona nelze načíst: %1 (řádek %2, sloupec %3)")
                 .arg(xml.errorString()).arg(xml.lineNumber()).arg(xml.columnNumber()));
    }
    t.root = readElement(xml, t.oldFormat);
    if (xml.hasError())
        fail(QStringLiteral("Šablona nelze načíst: %1 (řádek %2, sloupec %3)")
                 .arg(xml.errorString()).arg(xml.lineNumber()).arg(xml.columnNumber()));
    if (t.root.tag != QLatin1String("TfrxReport")) fail(QStringLiteral("Šablona nezačíná prvkem TfrxReport"));

    // Lists as child elements are lifted out; a writer puts them back from the fields.
    t.root.children.removeIf([&](const Node& child) {
        if (child.tag != QLatin1String("Datasets") && child.tag != QLatin1String("Variables")) return false;
        for (const Node& item : child.children) addItem(child.tag, item.attributes, t);
        return true;
    });
    if (t.root.has(QStringLiteral("PropData"))) {
        for (int i = 0; i < t.root.attributes.size(); ++i)
            if (t.root.attributes[i].name == QLatin1String("PropData")) t.propDataIndex = i;
        readPropData(t.root.text(QStringLiteral("PropData")), t);
        t.root.remove(QStringLiteral("PropData"));
    }
    return t;
}

Template readTemplate(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw TemplateError(QStringLiteral("Nelze otevřít %1").arg(path).toStdString());
    try {
        return parseTemplate(f.readAll());
    } catch (const TemplateError& e) {
        throw TemplateError((path + QStringLiteral(": ")).toStdString() + e.what());
    }
}

} // namespace dorvik::reporting
