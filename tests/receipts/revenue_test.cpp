#include "db/cp1250.h"
#include "db/sqltext.h"
#include "receipts/revenuesql.h"
#include "receipts/tftrzby1.h"
#include "reporting/preparedreport.h"
#include "support/files.h"
#include "support/windowtest.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace dorvik;
using receipts::RevenueKind;
using receipts::TFtrzby1;

namespace {

const QDate day1(2013, 9, 10);
const QDate day2(2013, 9, 11);

// Receipts of cost centres 11 and 12 on 10 and 11 September 2013.
class RevenueTest : public test::WindowDbTest {
protected:
    void SetUp() override {
        WindowDbTest::SetUp();
        resetTables({"uctenky", "uctenkynakl", "seznam", "zakarty", "strediska"});
        for (const char* t : {"trz1", "trz2", "trz3"}) exec(QStringLiteral("DROP TABLE IF EXISTS tmp01%1").arg(t));
    }

    struct Line {
        const char* code;
        double amount;   // CENAR, VAT included
        int vat = 21;
        double discount = 0;
        const char* card = "";
        const char* kind = "";
    };
    // One receipt; its header values (total, bases and VAT by rate) repeat on each line.
    void receipt(int number, const char* centre, const char* time, const char* payment, const QList<Line>& lines) {
        double total = 0, z5 = 0, d5 = 0, z23 = 0, d23 = 0;
        for (const Line& l : lines) {
            total += l.amount;
            const double base = l.amount * 100 / (100 + l.vat);
            (l.vat == 21 ? z23 : z5) += base;
            (l.vat == 21 ? d23 : d5) += l.amount - base;
        }
        int order = 0;
        for (const Line& l : lines)
            exec(QStringLiteral("INSERT INTO uctenky (cisuctenky, id2, stredisko, datum, typplatby, soucetu, soucetuzao, z5, d5, z23, d23,"
                                " jkpov, nazev, mnoz, CENAR, DPH, sleva, cenar0, cislokarty, povaha)"
                                " VALUES (%1, %2, '%3', '%4', '%5', %6, %7, %8, %9, %10, %11, '%12', 'Zboží', 1, %13, %14, %15, %16, '%17', '%18')")
                     .arg(number)
                     .arg(++order)
                     .arg(QLatin1String(centre), QLatin1String(time), QString::fromUtf8(payment))
                     .arg(db::sqlNumber(total), db::sqlNumber(std::round(total)), db::sqlNumber(z5), db::sqlNumber(d5), db::sqlNumber(z23),
                          db::sqlNumber(d23), QLatin1String(l.code), db::sqlNumber(l.amount))
                     .arg(l.vat)
                     .arg(db::sqlNumber(l.discount), db::sqlNumber(l.amount + l.discount), QLatin1String(l.card), QLatin1String(l.kind)));
    }
    // Two cost centres selling on two days; receipt 1 has three lines.
    void twoCentresTwoDays() {
        receipt(1, "11", "2013-09-10 08:00:00", "hotově", {{"A1", 121}, {"B1", 112, 12}, {"C1", 60.5}});
        receipt(2, "11", "2013-09-10 18:30:00", "karta", {{"B1", 56, 12}});
        receipt(3, "12", "2013-09-10 09:00:00", "hotově", {{"A1", 242}});
        receipt(4, "11", "2013-09-11 10:00:00", "hotově", {{"C1", 12.1}});
        receipt(5, "12", "2013-09-11 11:00:00", "hotově", {{"A1", 121}});
        receipt(6, "12", "2013-09-11 23:59:59", "hotově", {{"B1", 11.2, 12}});
    }

    receipts::RevenueRequest request(RevenueKind kind, QDate from = day1, QDate to = day2, const QString& centre = {}, const QString& code = {}) {
        return {QStringLiteral("01"), kind, from, to, centre, code};
    }
    db::ResultSet runReport(const receipts::RevenueRequest& r) {
        for (const auto& step : receipts::revenueSteps(r)) exec(step.sql);
        return query(receipts::revenueFinalSelect(r));
    }
    static QStringList column(const db::ResultSet& rs, const QString& name) {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, name);
        return out;
    }
    static double total(const db::ResultSet& rs, const QString& name) {
        double sum = 0;
        for (int r = 0; r < rs.rowCount(); ++r) sum += rs.number(r, name);
        return sum;
    }
    bool tableExists(const QString& name) { return query(QStringLiteral("SHOW TABLES LIKE '%1'").arg(name)).rowCount() > 0; }
    common::RegisterContext context(bool centrum = true) { return {db(), settings, "11", "12345678", centrum, {}, -1}; }

};

TEST_F(RevenueTest, AReceiptCountsOnceWithItsWholeTotalAlsoUnderAnItemFilter) {
    twoCentresTwoDays();
    const struct {
        RevenueKind kind;
        QString code;
        double expected;
    } cases[] = {
        {RevenueKind::PaymentKinds, {}, 293.5 + 56 + 242 + 12.1 + 121 + 11.2},
        {RevenueKind::DaysPaymentKinds, {}, 293.5 + 56 + 242 + 12.1 + 121 + 11.2},
        {RevenueKind::VatRecapitulation, {}, 293.5 + 56 + 242 + 12.1 + 121 + 11.2},
        // Receipts with C1: 1 (whole) and 4.
        {RevenueKind::PaymentKinds, "C1", 293.5 + 12.1},
        {RevenueKind::DaysPaymentKinds, "C1", 293.5 + 12.1},
        {RevenueKind::VatRecapitulation, "C1", 293.5 + 12.1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(int(c.kind)).arg(c.code).toStdString());
        const db::ResultSet rs = runReport(request(c.kind, day1, day2, {}, c.code));
        EXPECT_NEAR(total(rs, "zakl23") + total(rs, "dph23") + total(rs, "zakl5") + total(rs, "dph5"), c.expected, 0.001);
    }
    // Per payment kind and cost centre.
    const db::ResultSet byKind = runReport(request(RevenueKind::PaymentKinds));
    EXPECT_EQ(column(byKind, "stredisko"), QStringList({"11", "11", "12"}));
    EXPECT_EQ(column(byKind, "typplatby"), QStringList({"hotově", "karta", "hotově"}));
    const db::ResultSet byDay = runReport(request(RevenueKind::DaysPaymentKinds, day1, day2, "11"));
    EXPECT_EQ(column(byDay, "datumu"), QStringList({"2013-09-10", "2013-09-10", "2013-09-11"}));
}

TEST_F(RevenueTest, VatRecapitulationHasOneRowPerCentreAndDayWithItsReceiptRange) {
    twoCentresTwoDays();
    const db::ResultSet rs = runReport(request(RevenueKind::VatRecapitulation));
    EXPECT_EQ(column(rs, "cisuctenky"), QStringList({"11130910", "11130911", "12130910", "12130911"}));
    EXPECT_EQ(column(rs, "cisuod"), QStringList({"1", "4", "3", "5"}));
    EXPECT_EQ(column(rs, "cisudo"), QStringList({"2", "4", "3", "6"}));
    EXPECT_NEAR(rs.number(0, "zakl5"), 150, 0.001);
    EXPECT_NEAR(rs.number(0, "dph5"), 18, 0.001);
    EXPECT_NEAR(rs.number(0, "zakl23"), 150, 0.001);
    EXPECT_NEAR(rs.number(0, "dph23"), 31.5, 0.001);
}

TEST_F(RevenueTest, ProfitCountsTheCostsOfTheWholeToDate) {
    twoCentresTwoDays();
    const char* costs[][2] = {{"2013-09-09 23:59:59", "1"},   // before
                              {"2013-09-10 00:00:00", "10"},  // the from-date
                              {"2013-09-10 15:00:00", "20"},  // the to-date, afternoon
                              {"2013-09-11 00:00:00", "40"}}; // after
    for (const auto& c : costs)
        exec(QStringLiteral("INSERT INTO uctenkynakl (STREDISKO, DATUM, JKPOV, MNOZ, CENAR) VALUES ('11', '%1', 'A1', 1, %2)")
                 .arg(QLatin1String(c[0]), QLatin1String(c[1])));
    const db::ResultSet rs = runReport(request(RevenueKind::Profit, day1, day1));
    ASSERT_EQ(column(rs, "stredisko"), QStringList({"11", "12"}));
    EXPECT_NEAR(rs.number(0, "soucetu"), 100 + 100 + 50 + 50, 0.001);
    EXPECT_DOUBLE_EQ(rs.number(0, "cenar"), 30);
    EXPECT_TRUE(rs.isNull(1, "cenar"));
}

TEST_F(RevenueTest, CardDiscountsGroupUnderZTheEmptyKindOrTheLinesOwn) {
    exec("INSERT INTO strediska (STREDISKO, ICO) VALUES ('11', '27000001')");
    exec("INSERT INTO zakarty (CISLOKARTY, ICO, NAZEVPODNI, SLEVA) VALUES ('20900001', '27000001', 'Naše prodejna', 10),"
         " ('20900002', '44000002', 'Stavby Novák', 5)");
    receipt(1, "11", "2013-09-10 08:00:00", "hotově",
            {{"A1", 90, 21, 10, "20900001"}, {"B1", 95, 21, 5, "20900002"}, {"C1", 100}, {"D1", 48, 21, 2, "20999999", "K"}});
    receipt(2, "11", "2013-09-10 09:00:00", "hotově", {{"A1", 19, 21, 1, "20900002"}, {"E1", 9, 21, 1, "", "K"}});
    const db::ResultSet rs = runReport(request(RevenueKind::CardDiscounts, day1, day1));
    EXPECT_EQ(column(rs, "povaha"), QStringList({"", "K", "K", "Z"}));
    EXPECT_EQ(column(rs, "cislokarty"), QStringList({"20900002", "", "20999999", "20900001"}));
    EXPECT_EQ(column(rs, "popis2"), QStringList({"Stavby Novák", "", "", "Naše prodejna"}));
    EXPECT_EQ(column(rs, "sleva"), QStringList({"6", "1", "2", "10"}));
    EXPECT_EQ(column(rs, "cenar"), QStringList({"114", "9", "48", "90"}));
    EXPECT_EQ(column(rs, "cenar0"), QStringList({"120", "10", "50", "100"}));
}

TEST_F(RevenueTest, EveryKindRunsAndAFromDateAfterTheToDateFindsNothing) {
    twoCentresTwoDays();
    for (int kind = 0; kind <= int(RevenueKind::CardDiscounts); ++kind) {
        SCOPED_TRACE(kind);
        const int rows = runReport(request(RevenueKind(kind), day1, day2, "11")).rowCount();
        if (RevenueKind(kind) != RevenueKind::CardDiscounts) {
            EXPECT_GT(rows, 0);
        }
        EXPECT_EQ(runReport(request(RevenueKind(kind), day2, day1)).rowCount(), 0);
    }
    EXPECT_EQ(column(runReport(request(RevenueKind::ReceiptsLines, day1, day1, "11")), "jkpov"), QStringList({"A1", "B1", "C1", "B1"}));
    EXPECT_EQ(column(runReport(request(RevenueKind::LinesReceipts, day1, day1, "11")), "cisuctenky"), QStringList({"1", "1", "2", "1"}));
    EXPECT_EQ(column(runReport(request(RevenueKind::Receipts, day1, day2, "12")), "cisuctenky"), QStringList({"3", "5", "6"}));
}

TEST_F(RevenueTest, WindowStartsAtTodayShowsTheKindsTemplateAndDropsItsTablesOnClosing) {
    twoCentresTwoDays();
    {
        TFtrzby1 w(context());
        w.show();
        w.findChild<QDateEdit*>("DateEdit1")->setDate(day1);
        w.findChild<QDateEdit*>("DateEdit2")->setDate(day2);
        w.findChild<QGroupBox*>("RadioGroup1")->findChildren<QRadioButton*>().at(7)->click();
        QString pdf;
        w.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
            pdf = dir.filePath("trz7.pdf");
            reporting::writePdf(report, pdf);
        });
        w.findChild<QPushButton*>("Button1")->click();
        EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
        EXPECT_EQ(w.report().templatePath().section('/', -2), "fr3/trz7.fr3");
        EXPECT_EQ(db::fromCp1250(test::readAll(dir.filePath("a.txt"))),
                  receipts::revenueFinalSelect(w.request()));
        const QString text = test::pdfText(pdf);
        EXPECT_TRUE(text.contains("10.09.2013")) << text.toStdString();
        EXPECT_TRUE(text.contains("11.09.2013")) << text.toStdString();
        EXPECT_TRUE(tableExists("tmp01trz1"));
        EXPECT_TRUE(tableExists("tmp01trz2"));
        exec("CREATE TABLE tmp01trz3 (a int)");
        w.findChild<QPushButton*>("Button2")->click();
        EXPECT_FALSE(w.isVisible());
    }
    for (const char* t : {"tmp01trz1", "tmp01trz2", "tmp01trz3"}) EXPECT_FALSE(tableExists(t)) << t;

    TFtrzby1 again(context());
    again.show();
    EXPECT_EQ(again.findChild<QDateEdit*>("DateEdit1")->date(), QDate::currentDate());
    EXPECT_EQ(again.findChild<QDateEdit*>("DateEdit2")->date(), QDate::currentDate());
}

} // namespace
