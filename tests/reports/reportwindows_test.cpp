#include "common/formstorage.h"
#include "reporting/preparedreport.h"
#include "reports/tfsest3.h"
#include "reports/tfsest4.h"
#include "reports/tfsest6.h"
#include "support/files.h"
#include "support/windowtest.h"

#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

using namespace dorvik;

namespace {

// The issue-document, invoice and order report windows driven by their controls: what each
// hands to its template, the enabling of their choices, and what stays after them.
class ReportWindowsTest : public test::WindowDbTest {
protected:
    void SetUp() override {
        WindowDbTest::SetUp();
        resetTables({"dl", "dlrad", "fakt"});
        exec("DROP TABLE IF EXISTS tmp01sest1");

        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ZAKAZKA, ICO, NAZEVPODNI) VALUES"
             " (3261001, '1', '2026-11-30 15:00:00', 'Z26-007', '25614975', 'Stavby Horák s.r.o.')");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, PC, DPH, PCR) VALUES"
             " (3261001, '1', '100011', 'Hřebík 50 mm', 'kg', 2.5, 40, 100, 56, 21, 140)");
        // One invoice of two rows: issued in October, supplied in November.
        for (const char* text : {"Fakturujeme Vám", "Hřebík 50 mm"})
            exec(QStringLiteral("INSERT INTO fakt (CFAKT, TEXT, VYSTAVENI, PLNENI, UHRADA, STREDISKO, ODB1, SUMA_ZV, SUMA_DPHV, SUMA_FA, ZAOK)"
                                " VALUES (6126001, '%1', '2026-10-31', '2026-11-01', 'Hotově', '1', 'Stavby Horák s.r.o.', 1000, 210, 1210, 1210)")
                     .arg(QString::fromUtf8(text)));
    }
    common::RegisterContext context() { return {db(), settings, "1", "12345678", false, {}, -1}; }

    static QRadioButton* choice(QWidget& w, const char* group, int index) {
        return w.findChild<QGroupBox*>(group)->findChildren<QRadioButton*>().at(index);
    }
    static void setPeriod(QWidget& w) {
        w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 11, 1));
        w.findChild<QDateEdit*>("DateEdit2")->setDate(QDate(2026, 11, 30));
    }

    // Presses "OK" and returns the text of the prepared report.
    QString runToPdf(reporting::ReportWindow& w) {
        const QString pdf = dir.filePath("report.pdf");
        QFile::remove(pdf);
        int previews = 0;
        w.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
            ++previews;
            reporting::writePdf(report, pdf);
        });
        w.findChild<QPushButton*>("Button1")->click();
        EXPECT_EQ(previews, 1);
        EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
        // One select, no progress shown, nothing left open.
        EXPECT_FALSE(w.findChild<QProgressBar*>("suiProgressBar1")->isVisible());
        EXPECT_FALSE(w.findChild<QLabel*>("Label5")->isVisible());
        EXPECT_EQ(w.result().rowCount(), 0);
        return test::pdfText(pdf);
    }
};

TEST_F(ReportWindowsTest, EachReportReachesItsTemplateWithThePeriodAndCostCentre) {
    const struct {
        std::function<std::unique_ptr<reporting::ReportWindow>(const common::RegisterContext&)> make;
        int kind;
        const char* templateName;
        QStringList printed;
    } cases[] = {
        {[](const auto& c) { return std::make_unique<reports::TFsest3>(c); }, 0, "sestv1.fr3",
         {"Seznam výdejek", "01.11.2026", "30.11.2026", "středisko 1", "3261001", "Stavby Horák", "100,00", "140,00"}},
        {[](const auto& c) { return std::make_unique<reports::TFsest3>(c); }, 1, "sestv2.fr3",
         {"Rozpis výdejek", "Doklad 3261001", "Hřebík 50 mm", "2,5", "140,00"}},
        {[](const auto& c) { return std::make_unique<reports::TFsest6>(c); }, 0, "sestz0.fr3",
         {"Seznam zakázek", "Z26-007", "Stavby Horák", "100,00", "140,00"}},
        {[](const auto& c) { return std::make_unique<reports::TFsest6>(c); }, 2, "sestz2.fr3",
         {"Zakázka Z26-007", "Doklad 3261001", "Hřebík 50 mm", "140,00"}},
        {[](const auto& c) { return std::make_unique<reports::TFsest4>(c); }, 0, "sestf1.fr3",
         {"Seznam faktur", "Datum vystaveni 01.11.2026 - 30.11.2026", "středisko 1"}},
        {[](const auto& c) { return std::make_unique<reports::TFsest4>(c); }, 2, "sestf3.fr3",
         {"Seznam faktur s DPH", "Datum vystaveni", "Základ 21 %", "Základ 12 %", "Rekapitulace DPH"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateName);
        auto w = c.make(context());
        w->show();
        setPeriod(*w);
        choice(*w, "RadioGroupTyp", c.kind)->click();
        const QString text = runToPdf(*w);
        EXPECT_EQ(w->report().templatePath().section('/', -2), QStringLiteral("fr3/") + c.templateName);
        for (const QString& expected : c.printed) EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
        w->close();
    }
}

TEST_F(ReportWindowsTest, InvoiceVatListBySupplyDateTracesItsSelectAndKeepsItsTable) {
    {
        reports::TFsest4 w(context());
        w.show();
        setPeriod(w);
        choice(w, "RadioGroupTyp", 2)->click();
        choice(w, "suiRadioGroup1", 1)->click();
        const QString text = runToPdf(w);
        for (const char* expected : {"Datum DPH 01.11.2026 - 30.11.2026", "6126001", "1 000,00", "210,00", "1 210,00"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
        EXPECT_EQ(QString::fromLatin1(test::readAll(dir.filePath("a.txt"))),
                  QStringLiteral("select CFAKT,odb1,STREDISKO,UHRADA,SUM(SUMA_Z0) as Z0,SUM(SUMA_ZN) as ZN,SUM(SUMA_ZV) as ZV,\n"
                                 " SUM(SUMA_DPHN) as DN,SUM(SUMA_DPHV) as DV,SUM(SUMA_FA) as FA,SUM(ZAOK) as ZAOK,\n"
                                 " SUM(SUMA_ZS) as ZS,SUM(SUMA_DPHS) as DS\n"
                                 " from tmp01sest1 group by STREDISKO,CFAKT order by STREDISKO,CFAKT "));
        // The headings name the rates of the printed period's years; a heading may wrap.
        const QString heads = text.simplified();
        EXPECT_TRUE(heads.contains(QString::fromUtf8("Základ 12 %"))) << text.toStdString();
        EXPECT_TRUE(heads.contains(QString::fromUtf8("2. snížená"))) << text.toStdString();
        w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2023, 12, 1));
        const QString acrossYears = runToPdf(w).simplified();
        for (const char* expected : {"Základ 15 % /", "DPH 10 % /", "Základ 21 %", "01.12.2023 - 30.11.2026"})
            EXPECT_TRUE(acrossYears.contains(QString::fromUtf8(expected))) << expected << "\n" << acrossYears.toStdString();
        w.findChild<QPushButton*>("Button2")->click();
    }
    // The per-invoice table stays for whoever looks at it.
    EXPECT_EQ(query("SELECT COUNT(*) FROM tmp01sest1").integer(0, 0), 1);
}

TEST_F(ReportWindowsTest, ChoicesEnableAsTheReportKindNeedsThem) {
    // " Součet " only where there is a breakdown to sum; its choice survives.
    for (const bool orders : {false, true}) {
        SCOPED_TRACE(orders);
        std::unique_ptr<reporting::ReportWindow> w;
        if (orders) w = std::make_unique<reports::TFsest6>(context());
        else w = std::make_unique<reports::TFsest3>(context());
        auto* sums = w->findChild<QGroupBox*>("RadioGroup2");
        EXPECT_FALSE(sums->isEnabled());
        choice(*w, "RadioGroupTyp", 1)->click();
        EXPECT_TRUE(sums->isEnabled());
        choice(*w, "RadioGroup2", 1)->click();
        choice(*w, "RadioGroupTyp", 0)->click();
        EXPECT_FALSE(sums->isEnabled());
        choice(*w, "RadioGroupTyp", 2)->click();
        EXPECT_TRUE(sums->isEnabled());
        EXPECT_TRUE(choice(*w, "RadioGroup2", 1)->isChecked());
    }
    // " Typ platby " off for the sums per payment text.
    reports::TFsest4 invoices(context());
    auto* payment = invoices.findChild<QGroupBox*>("RadioGroup2");
    EXPECT_TRUE(payment->isEnabled());
    choice(invoices, "RadioGroupTyp", 1)->click();
    EXPECT_FALSE(payment->isEnabled());
    choice(invoices, "suiRadioGroup1", 1)->click();
    EXPECT_FALSE(payment->isEnabled());
    choice(invoices, "RadioGroupTyp", 2)->click();
    EXPECT_TRUE(payment->isEnabled());
}

TEST_F(ReportWindowsTest, EachWindowRemembersItsDatesInItsOwnSection) {
    const struct {
        std::function<std::unique_ptr<reporting::ReportWindow>(const common::RegisterContext&)> make;
        const char* section;
    } cases[] = {
        {[](const auto& c) { return std::make_unique<reports::TFsest3>(c); }, "TFsest3"},
        {[](const auto& c) { return std::make_unique<reports::TFsest4>(c); }, "TFsest4"},
        {[](const auto& c) { return std::make_unique<reports::TFsest6>(c); }, "TFsest6"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].section);
        auto w = cases[i].make(context());
        w->show();
        w->findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 1, 1 + i));
        w->close();
        EXPECT_EQ(common::FormStorage().readString(cases[i].section, "DateEdit1_Text", {}), QStringLiteral("0%1.01.2026").arg(1 + i));
        auto again = cases[i].make(context());
        again->show();
        EXPECT_EQ(again->findChild<QDateEdit*>("DateEdit1")->date(), QDate(2026, 1, 1 + i));
    }
}

} // namespace
