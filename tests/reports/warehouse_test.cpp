#include "db/sqltext.h"
#include "reporting/preparedreport.h"
#include "reports/tfsest1.h"
#include "reports/warehousesql.h"
#include "support/files.h"
#include "support/windowtest.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace dorvik;
using reports::TFsest1;
using reports::WarehouseKind;
using reports::WarehouseRequest;

namespace {

const QDate from(2026, 11, 1);
const QDate to(2026, 11, 30);

// Movements of cost centres 11 and 12 around November 2026, and the goods list.
class WarehouseTest : public test::WindowDbTest {
protected:
    void SetUp() override {
        WindowDbTest::SetUp();
        resetTables({"seznam", "prijem", "prirad", "dl", "dlrad", "uctenkynakl"});
        for (const char* suffix : {"sest1", "sest2", "sest3", "sest4"}) exec(QStringLiteral("DROP TABLE IF EXISTS tmp01%1").arg(suffix));
    }

    void card(const QString& centre, const QString& code, const QString& name, const QString& group, const QString& kind = {}) {
        exec(QStringLiteral("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, MJ, SKUPINA, POVAHA, AKTIVNI)"
                            " VALUES ('%1', %2, '%3', 'ks', '%4', '%5', 'A')")
                 .arg(centre, db::sqlQuoted(code), name, group, kind));
    }
    void receipt(int number, const QString& centre, const QString& date, const QString& code, double qty, double value) {
        exec(QStringLiteral("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM) VALUES (%1, '%2', '%3')").arg(number).arg(centre, date));
        exec(QStringLiteral("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR) VALUES (%1, '%2', %3, 'Příjem', 'ks', %4, %5, %6)")
                 .arg(number)
                 .arg(centre, db::sqlQuoted(code))
                 .arg(qty)
                 .arg(value / qty)
                 .arg(value));
    }
    void issue(int number, const QString& centre, const QString& dateTime, const QString& code, double qty, double value, double remainder) {
        exec(QStringLiteral("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM) VALUES (%1, '%2', '%3')").arg(number).arg(centre, dateTime));
        exec(QStringLiteral("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, VOCASEK)"
                            " VALUES (%1, '%2', %3, 'Výdej', 'ks', %4, %5, %6, %7)")
                 .arg(number)
                 .arg(centre, db::sqlQuoted(code))
                 .arg(qty)
                 .arg(value / qty)
                 .arg(value)
                 .arg(remainder));
    }
    void sale(const QString& centre, const QString& dateTime, const QString& code, double qty, double value, double remainder) {
        exec(QStringLiteral("INSERT INTO uctenkynakl (CISLODOKLA, STREDISKO, DATUM, JKPOV, NAZEV, MJ, MNOZ, NC, CENAR, VOCASEK)"
                            " VALUES (1, '%1', '%2', %3, 'Prodej', 'ks', %4, %5, %6, %7)")
                 .arg(centre, dateTime, db::sqlQuoted(code))
                 .arg(qty)
                 .arg(value / qty)
                 .arg(value)
                 .arg(remainder));
    }

    // The worked example: before the range a receipt of 10 (100) and a sale of 2 (20 + 0.5);
    // in the range a receipt of 5 (50) and, in the afternoon of the to-date, an issue of 3 (30 + 0.1).
    void workedExample(const QString& centre, const QString& code) {
        static int number = 100;
        ++number;
        receipt(number * 10 + 1, centre, "2026-10-05", code, 10, 100);
        sale(centre, "2026-10-20 09:15:00", code, 2, 20, 0.5);
        receipt(number * 10 + 2, centre, "2026-11-10", code, 5, 50);
        issue(number * 10 + 3, centre, "2026-11-30 15:42:00", code, 3, 30, 0.1);
    }

    // Runs the kind's statements for November and returns the final select's rows.
    db::ResultSet runReport(WarehouseKind kind, const QString& centre = {}, const QString& group = {}, const QString& code = {}) {
        WarehouseRequest r;
        r.workstation = QStringLiteral("01");
        r.kind = kind;
        r.from = from;
        r.to = to;
        r.centre = centre;
        r.group = group;
        r.codeFragment = code;
        for (const auto& step : reports::warehouseSteps(r))
            if (!step.sql.isEmpty()) exec(step.sql);
        return query(reports::warehouseFinalSelect(r));
    }

    common::RegisterContext context(bool centrum = false) { return {db(), settings, "11", "12345678", centrum, {}, -1}; }

    static QStringList column(const db::ResultSet& rs, const QString& name) {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, name);
        return out;
    }

    bool tableExists(const QString& name) { return query(QStringLiteral("SHOW TABLES LIKE '%1'").arg(name)).rowCount() > 0; }
};

TEST_F(WarehouseTest, WorkedExampleTurnoverAndValuationCountTheWholeToDate) {
    card("11", "A1", "Hřebík 50", "ZEL");
    workedExample("11", "A1");

    for (WarehouseKind kind : {WarehouseKind::Turnover, WarehouseKind::Valuation}) {
        SCOPED_TRACE(int(kind));
        const db::ResultSet rs = runReport(kind, "11");
        ASSERT_EQ(rs.rowCount(), 1);
        const auto n = [&](const char* c) { return rs.number(0, QLatin1String(c)); };
        EXPECT_DOUBLE_EQ(n("POC"), 8);
        EXPECT_DOUBLE_EQ(n("POCNC"), 79.50);
        EXPECT_DOUBLE_EQ(n("PRI"), 5);
        EXPECT_DOUBLE_EQ(n("PRINC"), 50.00);
        EXPECT_DOUBLE_EQ(n("VYD"), 3);
        EXPECT_DOUBLE_EQ(n("VYDNC"), 30.10);
        EXPECT_DOUBLE_EQ(n("ZUS"), 10);
        EXPECT_DOUBLE_EQ(n("ZUSNC"), 99.40);
        EXPECT_EQ(rs.text(0, "NAZEV"), "Hřebík 50");
        EXPECT_EQ(rs.text(0, "SKUPINA"), "ZEL");
        if (kind == WarehouseKind::Valuation) {
            EXPECT_DOUBLE_EQ(n("NC"), 9.94);
        }
    }
}

TEST_F(WarehouseTest, TheToDateEndsAtMidnightAndTheFromDateStartsAtIt) {
    card("11", "A1", "Hřebík 50", "ZEL");
    issue(501, "11", "2026-10-31 23:59:59", "A1", 1, 1, 0);  // before: opening
    issue(502, "11", "2026-11-01 00:00:00", "A1", 2, 2, 0);  // in the range
    issue(503, "11", "2026-11-30 23:59:59", "A1", 4, 4, 0);  // in the range
    issue(504, "11", "2026-12-01 00:00:00", "A1", 8, 8, 0);  // after
    sale("11", "2026-11-30 18:00:00", "A1", 16, 16, 0);      // in the range
    sale("11", "2026-12-01 00:00:00", "A1", 32, 32, 0);      // after
    const db::ResultSet rs = runReport(WarehouseKind::Turnover, "11");
    ASSERT_EQ(rs.rowCount(), 1);
    EXPECT_DOUBLE_EQ(rs.number(0, "POC"), -1);
    EXPECT_DOUBLE_EQ(rs.number(0, "VYD"), 22);
}

TEST_F(WarehouseTest, AllCostCentresListAnItemOncePerCentreAndGroupFilterTakesFinishedTotals) {
    card("11", "A1", "Hřebík 50", "ZEL");
    card("12", "A1", "Hřebík 50", "SKL");
    workedExample("11", "A1");
    workedExample("12", "A1");
    receipt(9001, "13", "2026-11-02", "A1", 1, 1); // no card in 13: no group

    const db::ResultSet all = runReport(WarehouseKind::Turnover);
    EXPECT_EQ(column(all, "STREDISKO"), QStringList({"11", "12", "13"}));

    const db::ResultSet zel = runReport(WarehouseKind::Valuation, {}, "ZEL");
    EXPECT_EQ(column(zel, "STREDISKO"), QStringList({"11"}));
}

TEST_F(WarehouseTest, ServiceItemsLeaveAndValuationKeepsAValueWithoutQuantity) {
    card("11", "S1", "Doprava", "", "P");
    card("11", "V1", "Zbytek", "");
    card("11", "Z1", "Nula", "");
    receipt(7001, "11", "2026-11-03", "S1", 1, 100);
    receipt(7002, "11", "2026-11-03", "V1", 2, 20);
    issue(7003, "11", "2026-11-04 10:00:00", "V1", 2, 19, 0); // quantity 0, value 1 left
    receipt(7004, "11", "2026-11-03", "Z1", 2, 20);
    issue(7005, "11", "2026-11-04 10:00:00", "Z1", 2, 20, 0);  // both 0

    EXPECT_EQ(column(runReport(WarehouseKind::Turnover), "JKPOV"), QStringList({"V1", "Z1"}));
    const db::ResultSet valuation = runReport(WarehouseKind::Valuation);
    ASSERT_EQ(column(valuation, "JKPOV"), QStringList({"V1"}));
    EXPECT_DOUBLE_EQ(valuation.number(0, "ZUSNC"), 1);
    // The unit cost of one of its movement lines, not a division by zero.
    EXPECT_TRUE(valuation.number(0, "NC") == 10 || valuation.number(0, "NC") == 9.5) << valuation.number(0, "NC");
}

TEST_F(WarehouseTest, CardListShowsActiveCardsWithComputedStockFilteredByGroup) {
    card("11", "A1", "Hřebík 50", "ZEL");
    card("11", "B1", "Bez pohybu", "ZEL");
    card("11", "C1", "Jiná skupina", "SKL");
    exec("UPDATE seznam SET MNOZ = 99");
    workedExample("11", "A1");

    const db::ResultSet rs = runReport(WarehouseKind::CardList, "11", "ZEL");
    EXPECT_EQ(column(rs, "JKPOV"), QStringList({"A1", "B1"}));
    EXPECT_EQ(column(rs, "MNOZ"), QStringList({"10", "0"}));
}

TEST_F(WarehouseTest, ControlIgnoresFiltersAndListsWhereStockFiguresDisagree) {
    resetTables({"uctenky"});
    card("11", "A1", "Souhlasí", "ZEL");
    card("11", "B1", "Neodepsaná účtenka", "ZEL");
    card("12", "B1", "Jiné středisko", "ZEL");
    receipt(8001, "11", "2026-11-03", "A1", 5, 50);
    receipt(8002, "11", "2026-11-03", "B1", 5, 50);
    receipt(8003, "12", "2026-11-03", "B1", 5, 50);
    // A till line not yet written off lowers STAV only.
    exec("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, nc) VALUES"
         " (1, '11', '2026-11-04 10:00:00', 'B1', 'x', 1, 0), (2, '12', '2026-11-04 10:00:00', 'B1', 'x', 1, 0)");
    const db::ResultSet rs = runReport(WarehouseKind::Control, "11", "SKL", "Q");
    ASSERT_EQ(column(rs, "JKPOV"), QStringList({"B1"}));
    EXPECT_EQ(column(rs, "STREDISKO"), QStringList({"11"}));
    EXPECT_DOUBLE_EQ(rs.number(0, "MNOZ"), 5);
    EXPECT_DOUBLE_EQ(rs.number(0, "ZUSTATEK"), 5);
    EXPECT_DOUBLE_EQ(rs.number(0, "STAV"), 4);
}

TEST_F(WarehouseTest, CodeFragmentIsOneLiteralWithItsWildcards) {
    const QStringList codes{R"(A"1)", R"(B\2)", "C'3", "D_4", "DX4"};
    for (int i = 0; i < codes.size(); ++i) {
        card("11", codes[i], "Zboží", "");
        receipt(600 + i, "11", "2026-11-03", codes[i], 1, 1);
    }

    const struct {
        QString fragment;
        QStringList codes;
    } cases[] = {
        {R"(")", {R"(A"1)"}},
        {R"(\)", {R"(B\2)"}},
        {"'", {"C'3"}},
        {"D_", {"DX4", "D_4"}}, // "_" stays a wildcard
        {R"(" or "1"="1)", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fragment.toStdString());
        EXPECT_EQ(column(runReport(WarehouseKind::Turnover, {}, {}, c.fragment), "JKPOV"), c.codes);
        EXPECT_EQ(column(runReport(WarehouseKind::CardList, {}, {}, c.fragment), "JKPOV"), c.codes);
    }
}

// The window: cost-centre rule, one run at a time, what stays after a run, the drops on closing.
TEST_F(WarehouseTest, CostCentreFieldFollowsCentrumMode) {
    TFsest1 own(context(false));
    auto* centre = own.findChild<QLineEdit*>("suiEdit2");
    EXPECT_EQ(centre->text(), "11");
    EXPECT_TRUE(centre->isReadOnly());
    TFsest1 centrum(context(true));
    centre = centrum.findChild<QLineEdit*>("suiEdit2");
    EXPECT_EQ(centre->text(), "");
    EXPECT_FALSE(centre->isReadOnly());
}

TEST_F(WarehouseTest, RunHandsTheResultToTheTemplateAndOkDuringARunDoesNothing) {
    card("11", "A1", "Hřebík 50", "ZEL");
    workedExample("11", "A1");
    TFsest1 w(context());
    w.show();
    w.findChild<QDateEdit*>("DateEdit1")->setDate(from);
    w.findChild<QDateEdit*>("DateEdit2")->setDate(to);
    w.findChild<QGroupBox*>("RadioGroup2")->findChildren<QRadioButton*>().at(1)->click();

    int previews = 0;
    QString pdf;
    w.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
        ++previews;
        EXPECT_TRUE(w.running());
        // A second press while the first run is showing its report.
        w.findChild<QPushButton*>("Button1")->click();
        w.findChild<QPushButton*>("Button2")->click();
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.findChild<QLabel*>("Label5")->isVisible());
        EXPECT_EQ(w.findChild<QProgressBar*>("suiProgressBar1")->value(), 100);
        pdf = dir.filePath("sest12.pdf");
        reporting::writePdf(report, pdf);
    });
    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(previews, 1);
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(w.report().templatePath().section('/', -2), "fr3/sest12.fr3");
    const QString text = test::pdfText(pdf);
    EXPECT_TRUE(text.contains("01.11.2026")) << text.toStdString();
    EXPECT_TRUE(text.contains("99,40")) << text.toStdString();
    // A movement report leaves nothing shown and nothing open.
    EXPECT_FALSE(w.findChild<QProgressBar*>("suiProgressBar1")->isVisible());
    EXPECT_FALSE(w.findChild<QLabel*>("Label5")->isVisible());
    EXPECT_EQ(w.result().rowCount(), 0);
}

TEST_F(WarehouseTest, ControlReportKeepsItsResultAndCardListForcesNoGroups) {
    resetTables({"uctenky"});
    card("11", "A1", "Hřebík 50", "ZEL");
    // A till line not yet written off: STAV differs from ZUSTATEK.
    exec("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, nc) VALUES (1, '11', '2026-11-04 10:00:00', 'A1', 'x', 1, 0)");
    TFsest1 w(context());
    w.show();
    w.report().setPreview([](const reporting::PreparedReport&, QWidget*) {});
    auto kinds = w.findChild<QGroupBox*>("RadioGroupTyp")->findChildren<QRadioButton*>();
    auto sums = w.findChild<QGroupBox*>("RadioGroup2");
    sums->findChildren<QRadioButton*>().at(1)->click();
    kinds.at(2)->click();
    EXPECT_FALSE(sums->isEnabled());
    EXPECT_TRUE(sums->findChildren<QRadioButton*>().at(0)->isChecked());
    kinds.at(3)->click();
    EXPECT_TRUE(sums->isEnabled());

    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(w.report().templatePath().section('/', -2), "fr3/sestkon2.fr3");
    EXPECT_EQ(w.result().rowCount(), 1);
    EXPECT_TRUE(w.findChild<QProgressBar*>("suiProgressBar1")->isVisible());
    EXPECT_TRUE(w.findChild<QLabel*>("Label5")->isVisible());
}

TEST_F(WarehouseTest, ClosingDropsTheScratchTablesAndRemembersTheDates) {
    {
        TFsest1 w(context());
        w.show();
        w.findChild<QDateEdit*>("DateEdit1")->setDate(QDate(2026, 1, 1));
        w.findChild<QDateEdit*>("DateEdit2")->setDate(QDate(2026, 1, 31));
        exec("CREATE TABLE tmp01sest3 (a int)");
        exec("CREATE TABLE tmp01sest4 (a int)");
        w.findChild<QPushButton*>("Button2")->click();
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    for (const char* t : {"tmp01sest3", "tmp01sest4"}) EXPECT_FALSE(tableExists(t)) << t;

    TFsest1 again(context());
    EXPECT_EQ(again.findChild<QDateEdit*>("DateEdit1")->date(), QDate::currentDate());
    again.show();
    EXPECT_EQ(again.findChild<QDateEdit*>("DateEdit1")->date(), QDate(2026, 1, 1));
    EXPECT_EQ(again.findChild<QDateEdit*>("DateEdit2")->date(), QDate(2026, 1, 31));
}

TEST_F(WarehouseTest, DateFieldsTakeTypedDatesAndTabLeavesThem) {
    TFsest1 w(context(true));
    w.show();
    QApplication::setActiveWindow(&w);
    auto* first = w.findChild<QDateEdit*>("DateEdit1");
    auto* second = w.findChild<QDateEdit*>("DateEdit2");
    // As a Tab into a field leaves it: the day selected. Tab from the day goes to the next field.
    first->setFocus();
    first->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
    second->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(second, "3110");
    QTest::keyClick(second, Qt::Key_Backtab);
    EXPECT_EQ(second->date(), QDate(QDate::currentDate().year(), 10, 31));
    EXPECT_EQ(QApplication::focusWidget(), first);
}

} // namespace
