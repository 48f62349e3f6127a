#include "reportfixture.h"

#include <gtest/gtest.h>

namespace dorvik::reporting {
namespace {

using test::findText;
using test::pageTexts;
using test::templateXml;

class Layout : public test::DbTest {
protected:
    PreparedReport prepare(const QString& bands, const QString& sql, const QString& pageAttributes = {}) {
        return prepareReport(parseTemplate(templateXml(bands, pageAttributes)), query(sql));
    }
    static QString numbers(int n) {
        return QStringLiteral("with recursive r(n) as (select 1 union all select n + 1 from r where n < %1) select n as N from r").arg(n);
    }
};

const QString DataBand = QStringLiteral(
    "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"%1\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
    "<TfrxMemoView Name=\"M\" Width=\"200\" Height=\"20\" Text=\"r[frxDBDataset1.&quot;N&quot;]\"/></TfrxMasterData>");

TEST_F(Layout, GroupFooterSeesItsGroupsLastRowAndSum) {
    const PreparedReport r = prepare(
        "<TfrxGroupHeader Name=\"GH\" Top=\"50\" Height=\"20\" Condition=\"frxDBDataset1.&quot;G&quot;\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"skupina [frxDBDataset1.&quot;G&quot;]\"/></TfrxGroupHeader>"
        + DataBand.arg(20) +
        "<TfrxGroupFooter Name=\"GF\" Top=\"150\" Height=\"20\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[frxDBDataset1.&quot;N&quot;]|[SUM(&lt;frxDBDataset1.&quot;N&quot;&gt;,MasterData1)]|[COUNT(MasterData1)]\"/></TfrxGroupFooter>"
        "<TfrxFooter Name=\"F\" Top=\"200\" Height=\"20\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"celkem [SUM(&lt;frxDBDataset1.&quot;N&quot;&gt;,MasterData1)]\"/></TfrxFooter>",
        "select 'A' as G, 1 as N union all select 'A', 2 union all select 'B', 5 union all select 'C', 7 union all select 'C', 8");
    ASSERT_EQ(r.pages.size(), 1);
    EXPECT_EQ(pageTexts(r.pages[0]), QStringList({"skupina A", "r1", "r2", "2|3|2", "skupina B", "r5", "5|5|1",
                                                  "skupina C", "r7", "r8", "8|15|2", "celkem 23"}));
}

TEST_F(Layout, PagesBreakBetweenBandsWithPageTotalsAndTotalPages) {
    // Room for 1046 px between the margins, 40 of them the page footer: ten 100 px rows a page.
    const PreparedReport r = prepare(
        DataBand.arg(100) +
        "<TfrxPageFooter Name=\"PF\" Top=\"900\" Height=\"40\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[Page#]/[TotalPages#] [SUM(&lt;frxDBDataset1.&quot;N&quot;&gt;,MasterData1)]\"/></TfrxPageFooter>",
        numbers(25));
    ASSERT_EQ(r.pages.size(), 3);
    const double footerTop = 297 * 96 / 25.4 - 10 * 96 / 25.4 - 40;
    for (int p = 0; p < 3; ++p) {
        const QStringList texts = pageTexts(r.pages[p]);
        EXPECT_EQ(texts.first(), QStringLiteral("r%1").arg(p * 10 + 1));
        for (const PreparedItem& item : r.pages[p].items)
            if (item.plainText().startsWith('r')) {
                EXPECT_LE(item.rect.top() + 100 - 0.01, footerTop) << "row split into the footer";
            }
    }
    EXPECT_EQ(pageTexts(r.pages[0]).last(), "1/3 55");
    EXPECT_EQ(pageTexts(r.pages[1]).last(), "2/3 155");
    EXPECT_EQ(pageTexts(r.pages[2]).last(), "3/3 115");
    EXPECT_NEAR(findText(r.pages[0], "1/3 55")->rect.top(), footerTop, 0.01);
}

TEST_F(Layout, APageThatIsNotPrintedIfEmptyLeavesNoPageForNoRows) {
    const QString bands = "<TfrxPageHeader Name=\"PH\" Top=\"0\" Height=\"20\"><TfrxMemoView Width=\"300\" Height=\"20\" Text=\"hlava\"/></TfrxPageHeader>" +
                          DataBand.arg(20);
    EXPECT_EQ(prepare(bands, numbers(1) + " where n > 1", "PrintIfEmpty=\"False\"").pages.size(), 0);
    EXPECT_EQ(prepare(bands, numbers(2), "PrintIfEmpty=\"False\"").pages.size(), 1);
    EXPECT_EQ(prepare(bands, numbers(1) + " where n > 1").pages.size(), 1);
}

TEST_F(Layout, GroupThatKeepsTogetherStartsOnANewPageWhenItDoesNotFit) {
    // Ten 100 px rows a page (see above). Groups of 4, 4, 3, 12 and 2 rows, header and footer
    // 0 px high so only rows count: 4 + 4 fit, the 3 would straddle, the 12 cannot fit anywhere.
    const PreparedReport r = prepare(
        "<TfrxGroupHeader Name=\"GH\" Top=\"50\" Height=\"0\" KeepTogether=\"True\" Condition=\"frxDBDataset1.&quot;G&quot;\"/>"
        + DataBand.arg(100) +
        "<TfrxGroupFooter Name=\"GF\" Top=\"150\" Height=\"0\">"
        "<TfrxMemoView Width=\"300\" Height=\"0\" Text=\"g[frxDBDataset1.&quot;G&quot;] [SUM(&lt;frxDBDataset1.&quot;N&quot;&gt;,MasterData1)]\"/></TfrxGroupFooter>"
        "<TfrxPageFooter Name=\"PF\" Top=\"900\" Height=\"40\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[Page#]/[TotalPages#] [SUM(&lt;frxDBDataset1.&quot;N&quot;&gt;,MasterData1)]\"/></TfrxPageFooter>",
        "with recursive r(n) as (select 1 union all select n + 1 from r where n < 25)"
        " select n as N, case when n <= 4 then 1 when n <= 8 then 2 when n <= 11 then 3 when n <= 23 then 4 else 5 end as G from r");
    ASSERT_EQ(r.pages.size(), 4);
    EXPECT_EQ(pageTexts(r.pages[0]), QStringList({"r1", "r2", "r3", "r4", "g1 10", "r5", "r6", "r7", "r8", "g2 26", "1/4 36"}));
    EXPECT_EQ(pageTexts(r.pages[1]), QStringList({"r9", "r10", "r11", "g3 30", "2/4 30"}));
    EXPECT_EQ(pageTexts(r.pages[2]).first(), "r12") << "a group too big for any page begins on a new one";
    EXPECT_EQ(pageTexts(r.pages[2]).last(), "3/4 165");
    EXPECT_EQ(pageTexts(r.pages[3]), QStringList({"r22", "r23", "g4 210", "r24", "r25", "g5 49", "4/4 94"}));
}

TEST_F(Layout, TotalPagesCountsRowsThatStretch) {
    // Rows of one to thirty lines: how many pages they fill is known only from their texts.
    const PreparedReport r = prepare(
        "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"20\" Stretched=\"True\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
        "<TfrxMemoView Width=\"60\" Height=\"20\" StretchMode=\"smActualHeight\" Text=\"[frxDBDataset1.&quot;T&quot;]\"/></TfrxMasterData>"
        "<TfrxPageFooter Name=\"PF\" Top=\"900\" Height=\"20\">"
        "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[Page#]/[TotalPages#]\"/></TfrxPageFooter>",
        "with recursive r(n) as (select 1 union all select n + 1 from r where n < 30)"
        " select repeat('slovo ', n) as T from r");
    ASSERT_GT(r.pages.size(), 3);
    for (qsizetype p = 0; p < r.pages.size(); ++p)
        EXPECT_EQ(pageTexts(r.pages[p]).last(), QStringLiteral("%1/%2").arg(p + 1).arg(r.pages.size()));
}

TEST_F(Layout, StretchedMemoPushesWhatIsBelowIt) {
    const QString longText = QString("slovo ").repeated(40);
    const PreparedReport r = prepare(
        "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"40\" Stretched=\"True\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
        "<TfrxMemoView Name=\"Long\" Width=\"100\" Height=\"20\" StretchMode=\"smActualHeight\" Text=\"" + longText + "\"/>"
        "<TfrxMemoView Name=\"Below\" Top=\"20\" Width=\"100\" Height=\"20\" Text=\"pod\"/>"
        "<TfrxMemoView Name=\"Beside\" Left=\"150\" Top=\"20\" Width=\"100\" Height=\"20\" Text=\"vedle\"/>"
        "</TfrxMasterData>"
        "<TfrxFooter Name=\"F\" Top=\"200\" Height=\"20\"><TfrxMemoView Width=\"100\" Height=\"20\" Text=\"konec\"/></TfrxFooter>",
        "select 1 as N");
    const PreparedPage& page = r.pages.at(0);
    const PreparedItem* stretched = &page.items[0];
    ASSERT_GT(stretched->lines.size(), 5);
    EXPECT_GT(stretched->rect.height(), 5 * 15.0);
    const double top = stretched->rect.top();
    EXPECT_NEAR(findText(page, "pod")->rect.top(), stretched->rect.bottom(), 0.01);
    EXPECT_NEAR(findText(page, "vedle")->rect.top(), top + 20, 0.01) << "not under the stretched memo: stays";
    EXPECT_NEAR(findText(page, "konec")->rect.top(), findText(page, "pod")->rect.bottom(), 0.01) << "the band grew";
}

TEST_F(Layout, HideZerosDisplayFormatsAndNullFields) {
    const PreparedReport r = prepare(
        "<TfrxMasterData Name=\"MasterData1\" Top=\"100\" Height=\"20\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
        "<TfrxMemoView Width=\"100\" Height=\"20\" HideZeros=\"True\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2n\" Text=\"[frxDBDataset1.&quot;Z&quot;]\"/>"
        "<TfrxMemoView Left=\"100\" Width=\"100\" Height=\"20\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"# ##0.00\" DataField=\"Z\" DataSet=\"frxDBDataset1\"/>"
        "<TfrxMemoView Left=\"200\" Width=\"100\" Height=\"20\" HideZeros=\"True\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.2n\" Text=\"[frxDBDataset1.&quot;V&quot;]\"/>"
        "<TfrxMemoView Left=\"300\" Width=\"100\" Height=\"20\" Text=\"&lt;[frxDBDataset1.&quot;X&quot;]&gt;\"/>"
        "<TfrxMemoView Left=\"400\" Width=\"100\" Height=\"20\" DisplayFormat.Kind=\"fkDateTime\" DisplayFormat.FormatStr=\"d.m.yyyy\" Text=\"[frxDBDataset1.&quot;D&quot;]\"/>"
        "</TfrxMasterData>",
        "select 0.0 as Z, 12345.678 as V, null as X, date'2024-03-05' as D");
    EXPECT_EQ(pageTexts(r.pages.at(0)), QStringList({"", "0,00", "12 345,68", "<>", "5.3.2024"}));
}

TEST_F(Layout, MissingFieldIsTheEnginesError) {
    EXPECT_THROW(prepare(DataBand.arg(20).replace("N&quot;", "NENI&quot;"), "select 1 as N"), ExpressionError);
}

TEST_F(Layout, IgnoredScriptsAreReported) {
    const QByteArray xml = templateXml(DataBand.arg(20).replace("Name=\"M\"", "Name=\"M\" OnBeforePrint=\"MOnBeforePrint\""))
                               .replace("<TfrxReport>", "<TfrxReport ScriptText=\"procedure X; begin end; begin end.\">");
    const PreparedReport r = prepareReport(parseTemplate(xml), query("select 1 as N"));
    EXPECT_EQ(r.ignoredHandlers, QStringList({"ScriptText", "M.OnBeforePrint"}));
    EXPECT_EQ(pageTexts(r.pages.at(0)), QStringList({"r1"}));
}

} // namespace
} // namespace dorvik::reporting
