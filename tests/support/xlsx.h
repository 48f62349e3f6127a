#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace dorvik::test {

// One file of a zip archive, as unzip gives it.
inline QByteArray unzipped(const QString& archive, const QString& member) {
    QProcess p;
    p.start("unzip", {"-p", archive, member});
    p.waitForFinished();
    return p.readAllStandardOutput();
}

struct XlsxCell {
    QString type;   // the cell's t attribute: "n" (or empty) numbers and dates, "s"/"inlineStr"/"str" texts
    QString value;  // the number as written, or the text
    QString format; // the number format code; "General" without one
    bool bold = false;
};

// The first sheet of a workbook read back from its XML: cells by reference ("B2"), the
// frozen pane and the column widths.
struct XlsxSheet {
    QMap<QString, XlsxCell> cells;
    QString frozenAt; // topLeftCell of a frozen pane
    QList<double> widths;

    // "A1" for column 0, row 1; "AA" follows "Z".
    static QString ref(int column, int row) {
        QString letters;
        for (int c = column + 1; c > 0; c = (c - 1) / 26) letters.prepend(QChar('A' + (c - 1) % 26));
        return letters + QString::number(row);
    }
    // The column whose head (row 1) is the text; -1 when none.
    int headColumn(const QString& head) const {
        for (int c = 0; c < 16384 && cells.contains(ref(c, 1)); ++c)
            if (cells.value(ref(c, 1)).value == head) return c;
        return -1;
    }
    XlsxCell at(int column, int row) const { return cells.value(ref(column, row)); }
};

inline XlsxSheet readXlsx(const QString& path) {
    // The formats the file may name by number only.
    QHash<int, QString> codes{{0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"}, {14, "m/d/yyyy"}, {22, "m/d/yyyy h:mm"}};
    QList<bool> boldFonts;
    QList<std::pair<int, int>> xfs; // numFmtId, fontId
    QXmlStreamReader styles(unzipped(path, "xl/styles.xml"));
    bool inFont = false, inCellXfs = false;
    while (!styles.atEnd()) {
        styles.readNext();
        const auto name = styles.name();
        if (styles.isStartElement()) {
            const auto a = styles.attributes();
            if (name == u"numFmt") codes[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
            else if (name == u"font") { inFont = true; boldFonts << false; }
            else if (name == u"b" && inFont) boldFonts.last() = true;
            else if (name == u"cellXfs") inCellXfs = true;
            else if (name == u"xf" && inCellXfs) xfs.append({a.value("numFmtId").toInt(), a.value("fontId").toInt()});
        } else if (styles.isEndElement()) {
            if (name == u"font") inFont = false;
            else if (name == u"cellXfs") inCellXfs = false;
        }
    }
    QStringList shared;
    QXmlStreamReader strings(unzipped(path, "xl/sharedStrings.xml"));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"t") shared << strings.readElementText();

    XlsxSheet sheet;
    QXmlStreamReader xml(unzipped(path, "xl/worksheets/sheet1.xml"));
    QString ref;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"pane" && a.value("state") == u"frozen") sheet.frozenAt = a.value("topLeftCell").toString();
        else if (xml.name() == u"col") sheet.widths << a.value("width").toDouble();
        else if (xml.name() == u"c") {
            ref = a.value("r").toString();
            XlsxCell& cell = sheet.cells[ref];
            cell.type = a.value("t").toString();
            const auto xf = xfs.value(a.value("s").toInt(), {0, 0});
            cell.format = codes.value(xf.first, "General");
            cell.bold = boldFonts.value(xf.second);
        } else if (xml.name() == u"v" || xml.name() == u"t") {
            XlsxCell& cell = sheet.cells[ref];
            cell.value = xml.readElementText();
            if (cell.type == "s") cell.value = shared.value(cell.value.toInt());
        }
    }
    return sheet;
}

} // namespace dorvik::test
