#include "db/cp1250.h"
#include "receipts/receiptsql.h"
#include "receipts/tfneouct.h"
#include "reporting/preparedreport.h"
#include "support/files.h"
#include "support/windowtest.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

using namespace dorvik;
using receipts::TFneouct;

namespace {

class UnwrittenTest : public test::WindowDbTest {
protected:
    void SetUp() override {
        WindowDbTest::SetUp();
        resetTables({"uctenky"});
        // Around the end of 30 November 2026.
        add(1, "11", "2026-11-30 00:00:01", "A1", 0);      // on the day: not listed
        add(2, "11", "2026-11-29 23:59:00", "B1", 0);      // the day before: listed
        add(3, "12", "2026-11-20 10:00:00", "S1", 0, "P"); // a service line: listed
        add(4, "12", "2026-11-20 10:00:00", "A1", 4.5);    // written off: not listed
        add(5, "13", "2026-11-20 10:00:00", "A1", 0);
        add(6, "11", "2026-11-10 10:00:00", "A1", 0);
    }

    void add(int receipt, const char* centre, const char* time, const char* code, double cost, const char* kind = "") {
        exec(QStringLiteral("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, CENAR, nc, povaha)"
                            " VALUES (%1, '%2', '%3', '%4', 'Zboží %4', 2, 50, %5, '%6')")
                 .arg(receipt)
                 .arg(QLatin1String(centre), QLatin1String(time), QLatin1String(code))
                 .arg(cost)
                 .arg(QLatin1String(kind)));
    }
    QStringList receiptsListed(const QString& centres) {
        const db::ResultSet rs = query(receipts::unwrittenSelect(QDate(2026, 11, 30), *receipts::costCentreList(centres)));
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, "stredisko") + "/" + rs.text(r, "cisuctenky");
        return out;
    }
    common::RegisterContext context() { return {db(), settings, "11", "12345678", true, {}, -1}; }

};

TEST(CostCentreList, AcceptsCodesSeparatedByCommasOnly) {
    const struct {
        const char* text;
        std::optional<QString> list;
    } cases[] = {
        {"", QString()},
        {"11", "'11'"},
        {" 11 , 12 ", "'11','12'"},
        {"11'", std::nullopt},
        {"11) or (1=1", std::nullopt},
        {"11,", std::nullopt},
        {"11 12", std::nullopt},
        {"'11'", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(receipts::costCentreList(c.text), c.list) << c.text;
}

TEST_F(UnwrittenTest, ListsLinesBeforeTheDayIncludingServicesInCentreItemReceiptOrder) {
    EXPECT_EQ(receiptsListed(""), QStringList({"11/6", "11/2", "12/3", "13/5"}));
    EXPECT_EQ(receiptsListed("11,12"), QStringList({"11/6", "11/2", "12/3"}));
    EXPECT_EQ(receiptsListed("12"), QStringList({"12/3"}));
}

TEST_F(UnwrittenTest, PrintRefusesAnythingButCodesAndHandsTheChosenTemplate) {
    TFneouct w(context());
    w.show();
    EXPECT_EQ(w.findChild<QDateEdit*>("DateEdit1")->date(), QDate::currentDate());
    w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 11, 30));
    QString pdf;
    int previews = 0;
    w.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
        ++previews;
        pdf = dir.filePath(QStringLiteral("neouct%1.pdf").arg(previews));
        reporting::writePdf(report, pdf);
    });
    auto* centres = w.findChild<QLineEdit*>("suiEdit2");
    auto* print = w.findChild<QPushButton*>("Button1");

    for (const char* bad : {"11'", "11) or (1=1"}) {
        centres->setText(bad);
        print->click();
        EXPECT_EQ(prompter.asked.last().caption, "Neodepsané položky účtenek");
        EXPECT_EQ(prompter.asked.last().icon, common::MessageIcon::Stop);
    }
    EXPECT_EQ(previews, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.txt")));

    centres->setText("11, 12");
    print->click();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(w.report().templatePath().section('/', -2), "fr3/neouct1.fr3");
    EXPECT_EQ(db::fromCp1250(test::readAll(dir.filePath("a.txt"))),
              receipts::unwrittenSelect(QDate(2026, 11, 30), "'11','12'"));
    const QString lines = test::pdfText(pdf);
    EXPECT_TRUE(lines.contains("30.11.2026")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("Zboží B1")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("Zboží S1")) << lines.toStdString();

    w.findChild<QCheckBox*>("suiCheckBox1")->setChecked(true);
    print->click();
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(w.report().templatePath().section('/', -2), "fr3/neouct2.fr3");
    EXPECT_EQ(prompter.asked.size(), 2) << prompter.lastText().toStdString();
}

} // namespace
