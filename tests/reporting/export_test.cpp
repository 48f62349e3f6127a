#include "reportfixture.h"

#include "common/routines.h"
#include "reporting/previewwindow.h"
#include "reporting/reportrunner.h"
#include "reporting/spreadsheetexport.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/xlsx.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace dorvik::reporting {
namespace {

// A report grouped by SKUPINA whose data band prints the fields out of the dataset's order,
// through a data field, FormatFloat, Format and an inline text.
const QString GroupedBands =
    "<TfrxPageHeader Name=\"PageHeader1\" Top=\"20\" Height=\"30\">"
    "<TfrxMemoView Width=\"400\" Height=\"20\" Text=\"Obrat [oddata] – [dodata]\"/></TfrxPageHeader>"
    "<TfrxMasterData Name=\"MasterData1\" Top=\"120\" Height=\"20\" DataSet=\"frxDBDataset1\" DataSetName=\"frxDBDataset1\">"
    "<TfrxMemoView Left=\"400\" Width=\"100\" Height=\"20\" DataField=\"CENA\" DataSetName=\"frxDBDataset1\""
    " DisplayFormat.FormatStr=\"# ##0.00\" DisplayFormat.Kind=\"fkNumeric\"/>"
    "<TfrxMemoView Left=\"300\" Width=\"100\" Height=\"20\" Text=\"[FormatFloat('### ###.####', &lt;frxDBDataset1.&quot;MNOZ&quot;&gt;)]\"/>"
    "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"[frxDBDataset1.&quot;NAZEV&quot;] ([frxDBDataset1.&quot;KOD&quot;])\"/>"
    "<TfrxMemoView Left=\"500\" Width=\"100\" Height=\"20\" Text=\"[Format('%2.1n', [&lt;frxDBDataset1.&quot;SLEVA&quot;&gt;])] %\"/>"
    "</TfrxMasterData>"
    "<TfrxGroupHeader Name=\"GroupHeader1\" Top=\"80\" Height=\"20\" Condition=\"frxDBDataset1.&quot;SKUPINA&quot;\">"
    "<TfrxMemoView Width=\"300\" Height=\"20\" Text=\"Skupina [frxDBDataset1.&quot;SKUPINA&quot;]\"/></TfrxGroupHeader>"
    "<TfrxGroupFooter Name=\"GroupFooter1\" Top=\"160\" Height=\"20\">"
    "<TfrxMemoView Left=\"400\" Width=\"100\" Height=\"20\" Text=\"[SUM(&lt;frxDBDataset1.&quot;CENA&quot;&gt;,MasterData1)]\"/></TfrxGroupFooter>";

class Export : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("DROP TEMPORARY TABLE IF EXISTS obrat");
        exec("CREATE TEMPORARY TABLE obrat (POCET int, SKUPINA varchar(20), KOD varchar(10), NAZEV varchar(60), MNOZ decimal(15,4),"
             " CENA double, SLEVA decimal(5,2), DATUM date, ZMENA datetime, POZN varchar(20) NULL) DEFAULT CHARSET=cp1250");
        exec("INSERT INTO obrat VALUES (7, 'Stavebniny', 'A100', 'Cement; \"Portland\" 25 kg', 4.5, 1234.5, 12.25, '2026-12-01', '2026-12-01 10:30:00', NULL),"
             " (8, 'Stavebniny', 'B200', 'Písek praný', 1, 0.1, 0, '2026-12-11', '2026-12-11 00:00:00', 'žluťoučký kůň')");
        Template t = parseTemplate(test::templateXml(GroupedBands).replace("<TfrxReport>", "<TfrxReport ReportOptions.Name=\"Obrat skladu\">"));
        t.setVariable("oddata", quotedLiteral("01.12.2026"));
        t.setVariable("dodata", quotedLiteral("11.12.2026"));
        source = {t, query("select * from obrat order by POCET"), reportTitle(t)};
    }
    ReportSource source;
    QTemporaryDir dir;
};

TEST_F(Export, XlsxHasTheTemplatesColumnsFirstWithTheirFormats) {
    const QString path = dir.filePath("obrat.xlsx");
    writeXlsx(source, path);
    const test::XlsxSheet sheet = test::readXlsx(path);

    const QStringList heads{"SKUPINA", "NAZEV", "KOD", "MNOZ", "CENA", "SLEVA", "POCET", "DATUM", "ZMENA", "POZN"};
    for (int c = 0; c < heads.size(); ++c) {
        const test::XlsxCell head = sheet.cells.value(QChar('A' + c) + QString("1"));
        EXPECT_EQ(head.value, heads[c]);
        EXPECT_TRUE(head.bold) << heads[c].toStdString();
    }
    EXPECT_EQ(sheet.frozenAt, "A2") << "the heads stay in view";
    ASSERT_EQ(sheet.widths.size(), heads.size());
    EXPECT_GE(sheet.widths[1], 26) << "the longest name fits";
    EXPECT_LT(sheet.widths[0], sheet.widths[1]);

    const auto cell = [&](const char* ref) { return sheet.cells.value(ref); };
    const double firstDay = QDate(1899, 12, 30).daysTo(QDate(2026, 12, 1));
    const struct {
        const char* ref;
        bool number;
        QString value;
        QString format;
    } cases[] = {
        {"B2", false, "Cement; \"Portland\" 25 kg", "General"},
        {"B3", false, "Písek praný", "General"},
        {"J3", false, "žluťoučký kůň", "General"},
        {"D2", true, "4.5", "General"},         // only optional decimals: the spreadsheet's own
        {"E2", true, "1234.5", "#,##0.00"},     // "# ##0.00"
        {"E3", true, "0.1", "#,##0.00"},
        {"F2", true, "12.25", "#,##0.0"},       // Format('%2.1n')
        {"G2", true, "7", "General"},
        {"H2", true, QString::number(firstDay, 'g', 17), "dd.mm.yyyy"},
        {"I2", true, QString::number(firstDay + 0.4375, 'g', 17), "dd.mm.yyyy hh:mm:ss"},
        {"H3", true, QString::number(firstDay + 10, 'g', 17), "dd.mm.yyyy"},
    };
    for (const auto& c : cases) {
        const test::XlsxCell got = cell(c.ref);
        SCOPED_TRACE(c.ref);
        EXPECT_EQ(got.type == "s" || got.type == "inlineStr" || got.type == "str", !c.number) << got.type.toStdString();
        if (c.number) EXPECT_DOUBLE_EQ(got.value.toDouble(), c.value.toDouble());
        else EXPECT_EQ(got.value, c.value);
        EXPECT_EQ(got.format, c.format);
    }
    EXPECT_FALSE(sheet.cells.contains("J2")) << "NULL leaves the cell empty";
}

TEST_F(Export, CsvIsUtf8WithSemicolonsQuotesAndDecimalCommas) {
    const QByteArray expected =
        "\xEF\xBB\xBF"
        "SKUPINA;NAZEV;KOD;MNOZ;CENA;SLEVA;POCET;DATUM;ZMENA;POZN\r\n"
        "Stavebniny;\"Cement; \"\"Portland\"\" 25 kg\";A100;4,5;1234,5;12,25;7;01.12.2026;01.12.2026 10:30:00;\r\n"
        "Stavebniny;Písek praný;B200;1;0,1;0;8;11.12.2026;11.12.2026 00:00:00;žluťoučký kůň\r\n";
    EXPECT_EQ(csvBytes(source), expected);
    writeCsv(source, dir.filePath("obrat.csv"));
    EXPECT_EQ(test::readAll(dir.filePath("obrat.csv")), expected);
    EXPECT_THROW(writeCsv(source, dir.filePath("nikde/obrat.csv")), std::runtime_error);
    EXPECT_THROW(writeXlsx(source, dir.filePath("nikde/obrat.xlsx")), std::runtime_error);
}

TEST(SpreadsheetNumberFormat, TemplateFormatsBecomeSpreadsheetCodes) {
    const struct {
        const char* format;
        const char* code;
    } cases[] = {
        {"# ##0.00", "#,##0.00"}, {"#,##0.00", "#,##0.00"}, {"0.000", "0.000"}, {"0.0#", "0.0#"}, {"# ##0", "#,##0"},
        {"### ###.####", "General"}, {"#", "#"}, {"# ##0.00 Kč", "#,##0.00\" Kč\""}, {"%2.2n", "#,##0.00"}, {"%d", "0"},
        {"%.3f", "0.000"}, {"%g", "General"}, {"", "General"}, {"text", "General"},
    };
    for (const auto& c : cases) EXPECT_EQ(spreadsheetNumberFormat(c.format), c.code) << c.format;
}

TEST(SuggestedName, ReportNameAndVariablesWithDatesTurned) {
    const auto titled = [](const QString& name, const QList<std::pair<QString, QString>>& variables) {
        const QString root = name.isNull() ? QString("<TfrxReport>") : "<TfrxReport ReportOptions.Name=\"" + name + "\">";
        Template t = parseTemplate(test::templateXml({}).replace("<TfrxReport>", root.toUtf8()));
        for (const auto& [variable, text] : variables) t.setVariable(variable, quotedLiteral(text));
        return suggestedFileName(reportTitle(t), "xlsx");
    };
    EXPECT_EQ(titled("Obrat skladu", {{"oddata", "01.12.2026"}, {"dodata", "11.12.2026"}}), "Obrat skladu 2026-12-01 – 2026-12-11.xlsx");
    EXPECT_EQ(titled("Neodepsané účtenky", {{"dodata", "1.3.2024"}}), "Neodepsané účtenky 2024-03-01.xlsx");
    EXPECT_EQ(titled("Historie zboží", {{"tex1", "Zboží: A/100 \"x\""}, {"tex2", ""}}), "Historie zboží Zboží- A-100 -x-.xlsx");
    EXPECT_EQ(titled({}, {}), "Sestava.xlsx");
    EXPECT_EQ(suggestedFileName("", "pdf"), "dorvik.pdf");
}

TEST_F(Export, PreviewAsksForTheFileWithTheSuggestedNameAndWrites) {
    QStandardPaths::setTestModeEnabled(true);
    PreviewWindow w(prepareReport(source.report, source.data));
    auto* excel = w.findChild<QAction*>("ExportExcel");
    ASSERT_TRUE(excel);
    EXPECT_FALSE(excel->isEnabled()) << "no data, no export";
    w.setSource(source);
    EXPECT_TRUE(excel->isEnabled());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(documents);
    for (const QString extension : {"xlsx", "csv", "pdf"}) {
        SCOPED_TRACE(extension.toStdString());
        const QString target = dir.filePath("vystup." + extension);
        QString suggested, startDir;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            suggested = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
            startDir = QDir(dialog->directory()).absolutePath();
            dialog->selectFile(target);
            static_cast<QDialog*>(dialog)->accept();
        });
        w.findChild<QAction*>(extension == "xlsx" ? "ExportExcel" : extension == "csv" ? "ExportCsv" : "UlozitPdf")->trigger();
        EXPECT_EQ(suggested, "Obrat skladu 2026-12-01 – 2026-12-11." + extension);
        EXPECT_EQ(startDir, QDir(documents).absolutePath());
        EXPECT_GT(QFileInfo(target).size(), 0);
        EXPECT_TRUE(w.findChild<QLabel*>("Stav")->text().contains(QDir::toNativeSeparators(target)));
    }
    EXPECT_EQ(test::readXlsx(dir.filePath("vystup.xlsx")).cells.value("B3").value, "Písek praný");
    EXPECT_EQ(test::readAll(dir.filePath("vystup.csv")), csvBytes(source));
    EXPECT_TRUE(test::pdfText(dir.filePath("vystup.pdf")).contains("Skupina Stavebniny"));
    QStandardPaths::setTestModeEnabled(false);
}

TEST_F(Export, QuickPdfTellsWhereItWentAndWhenNoViewerOpenedIt) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    test::ScriptedPrompter prompter;
    PreviewWindow w(prepareReport(source.report, source.data));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // No viewer is installed here and no handler is set: opening the file fails.
    QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier);
    const QString path = QDir::toNativeSeparators(QDir(dir.path()).filePath("dorvik.pdf"));
    EXPECT_TRUE(QFile::exists("dorvik.pdf"));
    EXPECT_EQ(w.findChild<QLabel*>("Stav")->text(), "PDF uloženo: " + path);
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.asked[0].caption, "Náhled tisku");
    EXPECT_EQ(prompter.lastText(), "PDF je uloženo v souboru " + path + ".\nProhlížeč PDF se nepodařilo otevřít.");
    QDir::setCurrent(previous);
}

TEST_F(Export, RunnerHandsTheTemplateDataAndTitleToThePreview) {
    QDir().mkpath(common::programFolder() + "fr3");
    test::writeAll(common::programFolder() + "fr3/export_grouped.fr3",
                   test::templateXml(GroupedBands).replace("<TfrxReport>", "<TfrxReport ReportOptions.Name=\"Obrat skladu\">"));
    ReportRunner r(nullptr, {"dorvik"});
    QList<ReportSource> shown;
    r.setPreview([&](const PreparedReport&, QWidget*) { shown << r.source(); });
    r.loadTemplate("fr3/export_grouped.fr3");
    // Other tests read every template beside the program; this one needs its variables.
    QFile::remove(common::programFolder() + "fr3/export_grouped.fr3");
    r.setDataset(source.data);
    r.setVariable("oddata", "01.12.2026");
    r.setVariable("dodata", "11.12.2026");
    r.show();
    r.setTitle("Faktura 6261001");
    r.show();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].title, "Obrat skladu 2026-12-01 – 2026-12-11");
    EXPECT_EQ(shown[0].data.rowCount(), 2);
    EXPECT_EQ(exportColumns(shown[0].report, shown[0].data).first().name, "SKUPINA");
    EXPECT_EQ(shown[1].title, "Faktura 6261001");
    r.loadTemplate("fr3/runner_missing.fr3");
    EXPECT_EQ(r.source().title, "Sestava") << "another template forgets the title";
}

} // namespace
} // namespace dorvik::reporting
