#include "reporting/fr3reader.h"

#include "db/cp1250.h"

#include <gtest/gtest.h>

namespace dorvik::reporting {
namespace {

QByteArray wrap(const QByteArray& inner) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport Version=\"4.13\">" + inner + "</TfrxReport>";
}

const Node& firstObject(const Template& t) { return t.root.children.at(0).children.at(0).children.at(0); }

// A Delphi property stream as FastReport writes the report's Datasets and Variables.
QString propData(const QList<QPair<QByteArray, QList<QByteArray>>>& lists) {
    QByteArray b;
    for (const auto& [name, items] : lists) {
        b += char(name.size()) + name + char(1);
        for (const QByteArray& item : items) {
            if (item.size() < 256) {
                b += char(6) + QByteArray(1, char(item.size())) + item;
            } else {
                const quint32 n = quint32(item.size());
                b += char(0x0C);
                for (int i = 0; i < 4; ++i) b += char((n >> (8 * i)) & 0xFF);
                b += item;
            }
        }
        b += char(0);
    }
    b += char(0);
    return QString::fromLatin1(b.toHex().toUpper());
}

TEST(Fr3Reader, ReadsTheFormatsVariants) {
    // Datasets and variables as child elements.
    Template children = parseTemplate(wrap(
        "<Datasets><item DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\"/></Datasets>"
        "<Variables><item Name=\" Kategorie\"/><item Name=\"oddata\" Value=\"'1.1.2024'\"/></Variables>"
        "<TfrxReportPage Name=\"Page1\"/>"));
    ASSERT_EQ(children.datasets.size(), 1);
    EXPECT_EQ(children.datasets[0].dataSetName, "frxDBDataset1");
    ASSERT_NE(children.variable("oddata"), nullptr);
    EXPECT_EQ(children.variable("oddata")->value, "'1.1.2024'");
    EXPECT_FALSE(children.dataInPropData);
    ASSERT_EQ(children.root.children.size(), 1) << "the lists are lifted out of the element tree";

    // The same inside the root's PropData blob, long and short strings.
    const QString blob = propData({{"Datasets", {" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\""}},
                                   {"Variables", {" Name=\"oddata\" Value=\"'" + QByteArray(300, 'x') + "'\"",
                                                  " Name=\"dodata\" Value=\"'31.1.2024'\""}}});
    Template packed = parseTemplate(wrap("<TfrxReportPage Name=\"Page1\"/>").replace("Version=\"4.13\"", ("PropData=\"" + blob + "\"").toLatin1()));
    EXPECT_TRUE(packed.dataInPropData);
    ASSERT_EQ(packed.datasets.size(), 1);
    EXPECT_EQ(packed.datasets[0].dataSet, "frxDBDataset1");
    ASSERT_EQ(packed.variables.size(), 2);
    EXPECT_EQ(packed.variables[0].value.size(), 302);
    EXPECT_EQ(packed.variable("dodata")->value, "'31.1.2024'");
    EXPECT_FALSE(packed.root.has("PropData"));
}

TEST(Fr3Reader, OldFormatKeepsTextInUtf8AndTheRestInCp1250) {
    const QByteArray file = "<?xml version=\"1.0\"?>\n<TfrxReport><TfrxReportPage><TfrxMasterData>"
                            "<TfrxMemoView Name=\"" + db::toCp1250(QStringLiteral("Cena_č")) + "\" Text=\""
                            + QStringLiteral("Příliš žluťoučký").toUtf8() + "\" Hint=\"" + db::toCp1250(QStringLiteral("Kůň")) + "\"/>"
                            "</TfrxMasterData></TfrxReportPage></TfrxReport>";
    const Template t = parseTemplate(file);
    EXPECT_TRUE(t.oldFormat);
    const Node& memo = firstObject(t);
    EXPECT_EQ(memo.text("Text"), QStringLiteral("Příliš žluťoučký"));
    EXPECT_EQ(memo.text("Name"), QStringLiteral("Cena_č"));
    EXPECT_EQ(memo.text("Hint"), QStringLiteral("Kůň"));
}

TEST(Fr3Reader, AttributesKeepOrderDefaultsAndUnknownParts) {
    const Template t = parseTemplate(wrap(
        "<TfrxReportPage Name=\"Page1\"><TfrxMasterData Name=\"MasterData1\" Height=\"22,67718\">"
        "<TfrxMemoView Name=\"Memo1\" Left=\"3,5\" Zzz=\"kept\" Text=\"a&#13;&#10;b\"/>"
        "<TfrxFutureView Name=\"X\"><Inner A=\"1\"/></TfrxFutureView>"
        "</TfrxMasterData></TfrxReportPage>"));
    const Node& band = t.root.children[0].children[0];
    EXPECT_DOUBLE_EQ(band.number("Height"), 22.67718);
    const Node& memo = band.children[0];
    EXPECT_DOUBLE_EQ(memo.number("Left"), 3.5);
    EXPECT_TRUE(memo.boolean("WordWrap", true)) << "omitted attributes fall back to the format's default";
    QStringList names;
    for (const Attribute& a : memo.attributes) names << a.name;
    EXPECT_EQ(names, QStringList({"Name", "Left", "Zzz", "Text"}));
    EXPECT_EQ(memo.text("Zzz"), "kept");
    EXPECT_EQ(memo.text("Text"), "a\r\nb");
    ASSERT_EQ(band.children.size(), 2);
    EXPECT_EQ(band.children[1].tag, "TfrxFutureView");
    EXPECT_EQ(band.children[1].children[0].text("A"), "1");
}

TEST(Fr3Reader, BrokenFileNamesLineAndColumn) {
    try {
        parseTemplate("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TfrxReport>\n  <TfrxReportPage Name=\"P\">\n</TfrxReport>");
        FAIL() << "no error";
    } catch (const TemplateError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("řádek 4"))) << e.what();
    }
}

} // namespace
} // namespace dorvik::reporting
