#include "reportfixture.h"

#include "common/routines.h"
#include "db/cp1250.h"
#include "reporting/fr3writer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace dorvik::reporting {
namespace {

// Attribute values as the reader sees them; a decimal comma and a point are the same number.
QString sameValue(const Attribute& a) {
    static const QRegularExpression commaNumber(QStringLiteral("^-?\\d+,\\d+$"));
    return commaNumber.match(a.value).hasMatch() ? QString(a.value).replace(',', '.') : a.value;
}

void expectSameTree(const Node& a, const Node& b, const QString& where) {
    ASSERT_EQ(a.tag, b.tag) << where.toStdString();
    ASSERT_EQ(a.attributes.size(), b.attributes.size()) << (where + "/" + a.tag).toStdString();
    for (qsizetype i = 0; i < a.attributes.size(); ++i) {
        EXPECT_EQ(a.attributes[i].name, b.attributes[i].name) << (where + "/" + a.tag).toStdString();
        EXPECT_EQ(sameValue(a.attributes[i]), sameValue(b.attributes[i])) << (where + "/" + a.tag + "@" + a.attributes[i].name).toStdString();
    }
    ASSERT_EQ(a.children.size(), b.children.size()) << (where + "/" + a.tag).toStdString();
    for (qsizetype i = 0; i < a.children.size(); ++i) expectSameTree(a.children[i], b.children[i], where + "/" + a.tag);
}

void expectSameTemplate(const Template& a, const Template& b) {
    expectSameTree(a.root, b.root, {});
    ASSERT_EQ(a.datasets.size(), b.datasets.size());
    for (qsizetype i = 0; i < a.datasets.size(); ++i) {
        EXPECT_EQ(a.datasets[i].dataSet, b.datasets[i].dataSet);
        EXPECT_EQ(a.datasets[i].dataSetName, b.datasets[i].dataSetName);
    }
    ASSERT_EQ(a.variables.size(), b.variables.size());
    for (qsizetype i = 0; i < a.variables.size(); ++i) {
        EXPECT_EQ(a.variables[i].name, b.variables[i].name);
        EXPECT_EQ(a.variables[i].value, b.variables[i].value);
    }
    EXPECT_EQ(a.dataInPropData, b.dataInPropData);
    EXPECT_EQ(a.propDataRest, b.propDataRest);
}

void expectSamePages(const PreparedReport& a, const PreparedReport& b) {
    ASSERT_EQ(a.pages.size(), b.pages.size());
    for (qsizetype p = 0; p < a.pages.size(); ++p) {
        EXPECT_EQ(test::pageTexts(a.pages[p]), test::pageTexts(b.pages[p]));
        ASSERT_EQ(a.pages[p].items.size(), b.pages[p].items.size());
        for (qsizetype i = 0; i < a.pages[p].items.size(); ++i) EXPECT_EQ(a.pages[p].items[i].rect, b.pages[p].items[i].rect);
    }
}

class Fr3Writer : public test::DbTest {
protected:
    // Two rows with every field the template names.
    db::ResultSet dataFor(const QByteArray& xml) {
        static const QRegularExpression field(QStringLiteral("frxDBDataset1\\.(?:&quot;|\")(\\w+)(?:&quot;|\")"));
        QSet<QString> names;
        for (auto it = field.globalMatch(QString::fromUtf8(xml)); it.hasNext();) names.insert(it.next().captured(1));
        QStringList columns;
        for (const QString& n : names) columns << QStringLiteral("'1' as `%1`").arg(n);
        if (columns.isEmpty()) columns << QStringLiteral("1 as N");
        const QString row = "select " + columns.join(", ");
        return query(row + " union all " + row);
    }
};

TEST_F(Fr3Writer, ShippedTemplatesComeBackTheSame) {
    const QStringList files = QDir(common::programFolder() + "fr3").entryList({"*.fr3"});
    ASSERT_GE(files.size(), 4);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QFile f(common::programFolder() + "fr3/" + file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        const Template read = parseTemplate(original);
        const QByteArray written = templateXml(read);
        const Template again = parseTemplate(written);
        expectSameTemplate(read, again);
        EXPECT_EQ(templateXml(again), written) << "a second save changes nothing";
        const db::ResultSet data = dataFor(original);
        // The history window's headings, as the runner sets them.
        const auto withHeadings = [](Template t) {
            t.setVariable("tex1", quotedLiteral("Zboží"));
            t.setVariable("tex2", quotedLiteral("Období"));
            return t;
        };
        const PreparedReport pages = prepareReport(withHeadings(read), data);
        EXPECT_FALSE(pages.pages.isEmpty());
        expectSamePages(pages, prepareReport(withHeadings(again), data));
    }
}

// A Delphi property stream with the report's lists and one property the engine does not know.
QByteArray propDataWithStyle() {
    QByteArray b;
    const auto list = [&](const QByteArray& name, const QStringList& items) {
        b += char(name.size()) + name + char(1);
        for (const QString& text : items) {
            const QByteArray item = db::toCp1250(text);
            b += char(6) + QByteArray(1, char(item.size())) + item;
        }
        b += char(0);
    };
    list("Datasets", {QStringLiteral(" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\"")});
    list("Variables", {QStringLiteral(" Name=\" Hlavicka\""), QStringLiteral(" Name=\"tex1\" Value=\"'Pekař \"\"U mlýna\"\"'\"")});
    b += char(5) + QByteArray("Style") + char(4) + QByteArray("\x01\x02\x03\x04", 4);
    b += char(0);
    return b.toHex().toUpper();
}

TEST_F(Fr3Writer, UnknownPartsAndOldFormatSurvive) {
    const QByteArray file = "<?xml version=\"1.0\"?>\n<TfrxReport Version=\"4.7\" PropData=\"" + propDataWithStyle()
                            + "\" ScriptText=\"begin&#13;&#10;  x := 1;&#13;&#10;end.\" Zzz=\"nevim\">"
                              "<TfrxDataPage Name=\"Data\" Height=\"1000\"/>"
                              "<TfrxReportPage Name=\"Page1\" PaperWidth=\"210\" PaperHeight=\"297\" LeftMargin=\"12,5\" Budouci=\"a&lt;b&amp;c\">"
                              "<TfrxMasterData Name=\"MasterData1\" Top=\"20\" Height=\"22,67718\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\" OnBeforePrint=\"MasterData1OnBeforePrint\">"
                              "<TfrxMemoView Name=\"" + db::toCp1250(QStringLiteral("Cena_č")) + "\" Width=\"200\" Height=\"20\" Hint=\""
                            + db::toCp1250(QStringLiteral("Kůň")) + "\" Text=\"" + QStringLiteral("Cena 1,5 \"[frxDBDataset1.\"N\"]\"").replace("\"", "&quot;").toUtf8()
                            + "\"><TfrxHighlight Font.Color=\"255\" Condition=\"Value &gt; 1\"/></TfrxMemoView>"
                              "<TfrxRichView Name=\"Rich1\" Width=\"10\" Height=\"10\" PropData=\"0A0B\"/>"
                              "</TfrxMasterData></TfrxReportPage></TfrxReport>";
    const Template read = parseTemplate(file);
    ASSERT_TRUE(read.oldFormat);
    const QByteArray written = templateXml(read);
    const QString text = QString::fromUtf8(written);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport Version=\"4.7\" PropData=\""))
        << "the new header, and PropData where it stood";
    for (const char* kept : {"ScriptText=\"begin&#13;&#10;  x := 1;&#13;&#10;end.\"", "Zzz=\"nevim\"", "<TfrxDataPage Name=\"Data\" Height=\"1000\"/>",
                             "Budouci=\"a&lt;b&amp;c\"", "OnBeforePrint=\"MasterData1OnBeforePrint\"", "LeftMargin=\"12.5\"",
                             "Height=\"22.67718\"", "<TfrxHighlight Font.Color=\"255\" Condition=\"Value &gt; 1\"/>",
                             "Name=\"Cena_č\"", "Hint=\"Kůň\"", "Text=\"Cena 1,5 &quot;[frxDBDataset1.&quot;N&quot;]&quot;\"",
                             "<TfrxRichView Name=\"Rich1\" Width=\"10\" Height=\"10\" PropData=\"0A0B\"/>"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(kept))) << kept << "\n" << written.toStdString();
    EXPECT_FALSE(text.contains("<Datasets")) << "the lists stay in PropData";

    const Template again = parseTemplate(written);
    EXPECT_FALSE(again.oldFormat);
    expectSameTemplate(read, again);
    EXPECT_EQ(again.propDataRest.toHex(), QByteArray("055374796c650401020304"));
    EXPECT_EQ(again.variable("tex1")->value, QStringLiteral("'Pekař \"U mlýna\"'"));
    const db::ResultSet data = query("select 7 as N");
    expectSamePages(prepareReport(read, data), prepareReport(again, data));
    EXPECT_EQ(test::pageTexts(prepareReport(again, data).pages.at(0)), QStringList({"Cena 1,5 \"7\""}));
}

TEST(Fr3WriterNumbers, PointAndFewestDecimals) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0"}, {4, "4"}, {-13, "-13"}, {22.67718, "22.67718"}, {718.11, "718.11"}, {0.1 + 0.2, "0.3"}, {-2.5, "-2.5"}};
    for (const auto& c : cases) EXPECT_EQ(formatNumber(c.value), c.text) << c.value;
}

} // namespace
} // namespace dorvik::reporting
