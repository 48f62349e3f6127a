#include "invoicing/documentprint.h"

#include "db/resultset.h"
#include "reporting/reportrunner.h"
#include "reporting/spreadsheetexport.h"
#include "support/dbfixture.h"
#include "support/files.h"
#include "support/xlsx.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace dorvik::invoicing {
namespace {

// Prints go through the real runner and the shipped templates; the preview is replaced by
// a PDF whose text pdftotext reads back.
class DocumentPrint : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        resetTables({"dl", "dlrad", "strediska", "fakt"});
        exec("INSERT INTO strediska (STREDISKO, NAZEV, ICO, DIC, FIRMA, ADR2, ADR3, ADR4, BANKA, UCET, OBRE) VALUES"
             " ('11', 'Prodejna Brno', '27354911', 'CZ27354911', 'Tarvik s.r.o.', 'Vídeňská 12', '639 00 Brno', 'Česká republika',"
             " 'Komerční banka', '123456789/0100', 'Zapsáno v OR u KS v Brně, oddíl C, vložka 4711')");
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ICO, NAZEVPODNI, ULICECISLO, PSC, POSTA, DIC) VALUES"
             " (11000123, '11', '2024-03-05 10:00:00', '44556677', 'Stavby Novák', 'Dlouhá 5', '60200', 'Brno', 'CZ44556677'),"
             " (11000124, '11', '2024-03-06 10:00:00', '44556677', 'Stavby Novák', '', '', '', ''),"
             " (11000125, '11', '2024-03-07 10:00:00', '5', 'Dílna', '', '', '', '')");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, PC, PCR, DPH) VALUES"
             " (11000123, '11', 'A100', 'Cement 25 kg', 'ks', 4, 90, 360, 120.5, 482, 21),"
             " (11000123, '11', 'B200', 'Písek praný', 't', 1.5, 400, 600, 500, 750, 21),"
             " (11000125, '11', 'A100', 'Cement 25 kg', 'ks', 2, 90, 180, 90, 180, 0)");
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    // Runs a print and returns the PDF text of what the preview would have shown.
    QString printed(const std::function<void(reporting::ReportRunner&)>& print, const QStringList& args = {"dorvik"}) {
        reporting::ReportRunner runner(nullptr, args);
        QString text;
        runner.setPreview([&](const reporting::PreparedReport& report, QWidget*) {
            ++previews;
            shownSource = runner.source();
            reporting::writePdf(report, dir.filePath("out.pdf"));
            text = test::pdfText(dir.filePath("out.pdf"));
            if (onPreview) onPreview();
        });
        print(runner);
        lastTemplate = runner.templatePath();
        return text;
    }
    // Invoice 1100001 of delivery note 11000123: a text line, two items at two rates, a closing text.
    void insertInvoice() {
        const char* header = "CFAKT, STREDISKO, ICO, DICO, ODB1, ODB2, ODB3, ODB4, ODBPSC, VYSTAVENI, PLNENI, SPLATNOST, UHRADA, KS, DODACILIST,"
                             " SUMA_ZV, SUMA_DPHV, SUMA_ZN, SUMA_DPHN, SUMA_FA, ZAOK, HALERE";
        const char* values = "1100001, '11', '44556677', 'CZ44556677', 'Stavby Novák', 'Dlouhá 5', '', 'Brno', '60200', '2024-03-05',"
                             " '2024-03-05', '2024-03-19', 'převodem', '0308', '11000123', 1000, 210, 100, 15, 1325, 1325, 0";
        exec(QString("INSERT INTO fakt (TEXT, MJ, MNOZSTVI, CENA, CELKEM, DAN, %1) VALUES"
                     " ('Fakturujeme Vám dodávku dle dodacího listu 11000123', '', 0, 0, 0, 0, %2),"
                     " ('Cement 25 kg', 'ks', 10, 100, 1000, 21, %2),"
                     " ('Písek praný', 't', 1, 100, 100, 15, %2),"
                     " ('Děkujeme za Vaši objednávku.', '', 0, 0, 0, 0, %2)")
                 .arg(header, values));
    }
    bool tableExists(const QString& name) { return query("SHOW TABLES LIKE '" + name + "'").rowCount() > 0; }

    QTemporaryDir dir;
    QString previousDir;
    QString lastTemplate;
    int previews = 0;
    reporting::ReportSource shownSource;
    std::function<void()> onPreview;
};

TEST(DocumentTemplate, ChoiceByIcoAndLayout) {
    const struct {
        const char* ico;
        int layout;
        const char* expected;
    } cases[] = {
        {"", 2, "fr3/vydv1.fr3"},  {"123", 2, "fr3/vydv1.fr3"},   {"123", 1, "fr3/vydv1.fr3"},
        {"1234", 2, "fr3/vyd2.fr3"}, {"1234", 1, "fr3/vyd1.fr3"}, {"44556677", 0, "fr3/vyd1.fr3"},
    };
    for (const auto& c : cases) EXPECT_EQ(issueDocumentTemplate(c.ico, c.layout), c.expected) << c.ico << " " << c.layout;
}

TEST_F(DocumentPrint, IssueDocumentShowsNumberItemsAndTotal) {
    const QString text = printed([&](reporting::ReportRunner& r) { printIssueDocument(db(), r, "11000123", 1); });
    EXPECT_TRUE(lastTemplate.endsWith("fr3/vyd1.fr3"));
    for (const char* expected : {"11000123", "05.03.2024", "Tarvik s.r.o.", "Stavby Novák", "44556677", "Cement 25 kg",
                                 "Písek praný", "120,50", "482,00", "750,00", "1 232,00", "Převzato dne, čas", "SPZ", "Jméno, podpis"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(DocumentPrint, DocumentsWithoutLinesOrWithoutNumber) {
    const db::ResultSet rows = query(issueDocumentStatement("11000124"));
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_TRUE(rows.isNull(0, "JKPOV"));
    EXPECT_EQ(rows.text(0, "ICO"), "44556677") << "the document's own IČO under the plain name";
    QString text = printed([&](reporting::ReportRunner& r) { printIssueDocument(db(), r, "11000124", 2); });
    EXPECT_TRUE(lastTemplate.endsWith("fr3/vyd2.fr3"));
    EXPECT_TRUE(text.contains("11000124"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Počet položek: 1")));

    text = printed([&](reporting::ReportRunner& r) { printIssueDocument(db(), r, "", 2); });
    EXPECT_TRUE(lastTemplate.endsWith("fr3/vydv1.fr3")) << "no rows: empty IČO";
    EXPECT_EQ(previews, 2);

    text = printed([&](reporting::ReportRunner& r) { printIssueDocument(db(), r, "11000125", 1); });
    EXPECT_TRUE(lastTemplate.endsWith("fr3/vydv1.fr3"));
    EXPECT_TRUE(text.contains("180,00"));
}

TEST_F(DocumentPrint, DesignerSwitchIsCaseSensitive) {
    QStringList designed;
    reporting::ReportRunner::installDesigner([&](const QString& path, reporting::Template&, const db::ResultSet&, QWidget*) { designed << path; });
    printed([&](reporting::ReportRunner& r) { printIssueDocument(db(), r, "11000123", 1); }, {"dorvik", "/es"});
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(designed.isEmpty());
    printed([&](reporting::ReportRunner& r) { printInvoice(db(), r, "07", "1100001", "11"); }, {"dorvik", "/ES"});
    EXPECT_EQ(previews, 1);
    ASSERT_EQ(designed.size(), 1);
    EXPECT_TRUE(designed[0].endsWith("fr3/fa1.fr3"));
    EXPECT_FALSE(tableExists("tmp07fa"));
    reporting::ReportRunner::installDesigner({});
}

TEST_F(DocumentPrint, InvoiceWithSupplierRowsAndVatRecapitulation) {
    insertInvoice();
    // Another invoice's rows stay out.
    exec("INSERT INTO fakt (TEXT, CFAKT) VALUES ('cizí', 1100002)");

    bool existedDuringPreview = false;
    onPreview = [&] { existedDuringPreview = tableExists("tmp07fa"); };
    const auto print = [&](reporting::ReportRunner& r) { printInvoice(db(), r, "07", "1100001", "11"); };
    const QString text = printed(print);
    EXPECT_TRUE(existedDuringPreview);
    EXPECT_FALSE(tableExists("tmp07fa"));
    for (const char* expected : {"1100001", "Tarvik s.r.o.", "Vídeňská 12", "27354911", "CZ27354911", "Komerční banka", "123456789/0100",
                                 "vložka 4711", "Stavby Novák", "60200", "CZ44556677", "19.03.2024", "převodem", "0308",
                                 "Fakturujeme Vám dodávku dle dodacího listu 11000123", "Cement 25 kg", "1 000,00", "210,00",
                                 "1 210,00", "15,00", "1 325,00", "Celkem k úhradě", "Děkujeme za Vaši objednávku.",
                                 "základní 21 %", "první snížená 12 %", "druhá snížená –"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8("cizí")));
    EXPECT_LT(text.indexOf("Fakturujeme"), text.indexOf("Cement")) << "rows in id order";

    QFile trace("a.txt");
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(trace.readAll()), invoiceTableStatement("07", "1100001", "11"));
    EXPECT_EQ(invoiceTableStatement("07", "1100001", "11"),
              "CREATE table tmp07fa\n select f.*,a.ico as F_ICO,a.DIC as F_DIC,a.FIRMA as F_ADR1,a.ADR2 as F_ADR2,\n"
              " a.ADR3 as F_ADR3,a.ADR4 as F_ADR4, a.BANKA, a.UCET, a.OBRE from fakt f, strediska a\n"
              " where f.cfakt='1100001'\n and a.stredisko='11'");

    EXPECT_EQ(printed(print), text) << "printed twice, the same";
    EXPECT_FALSE(tableExists("tmp07fa"));

    // The rates named are those of the taxable supply's year.
    exec("UPDATE fakt SET PLNENI = '2023-12-29' WHERE CFAKT = 1100001");
    const QString older = printed(print);
    for (const char* expected : {"základní 21 %", "první snížená 15 %", "druhá snížená 10 %"})
        EXPECT_TRUE(older.contains(QString::fromUtf8(expected))) << expected << "\n" << older.toStdString();
}

TEST_F(DocumentPrint, InvoiceExportsItsRowsToASpreadsheet) {
    insertInvoice();
    printed([&](reporting::ReportRunner& r) { printInvoice(db(), r, "07", "1100001", "11"); });
    EXPECT_EQ(shownSource.title, "Faktura 1100001");
    EXPECT_EQ(reporting::suggestedFileName(shownSource.title, "xlsx"), "Faktura 1100001.xlsx");
    const QString path = dir.filePath("faktura.xlsx");
    reporting::writeXlsx(shownSource, path);
    const test::XlsxSheet sheet = test::readXlsx(path);
    const int text = sheet.headColumn("TEXT"), total = sheet.headColumn("CELKEM"), issued = sheet.headColumn("VYSTAVENI");
    ASSERT_GE(text, 0);
    ASSERT_GE(total, 0);
    ASSERT_GE(issued, 0);
    EXPECT_LT(issued, text) << "the heading's fields stand above the lines on the page";
    EXPECT_LT(text, total);
    EXPECT_GT(sheet.headColumn("id"), total) << "fields the template does not print come last";
    EXPECT_EQ(sheet.at(text, 2).value, "Fakturujeme Vám dodávku dle dodacího listu 11000123");
    EXPECT_EQ(sheet.at(text, 4).value, "Písek praný");
    const test::XlsxCell cement = sheet.at(total, 3);
    EXPECT_EQ(cement.type, "") << "a number";
    EXPECT_DOUBLE_EQ(cement.value.toDouble(), 1000);
    EXPECT_EQ(cement.format, "#,##0.00");
    EXPECT_EQ(sheet.at(issued, 2).format, "dd.mm.yyyy");
    EXPECT_DOUBLE_EQ(sheet.at(issued, 2).value.toDouble(), QDate(1899, 12, 30).daysTo(QDate(2024, 3, 5)));
}

} // namespace
} // namespace dorvik::invoicing
