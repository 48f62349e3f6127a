#include "db/sqltext.h"
#include "reports/invoicesql.h"
#include "support/dbfixture.h"

using namespace dorvik;
using reports::InvoiceReport;
using reports::InvoiceRequest;
using reports::PaymentMethod;

namespace {

// Invoices of `fakt`, several rows each as invoice generation writes them.
class InvoiceReportsTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        resetTables({"fakt"});
        exec("DROP TABLE IF EXISTS tmp01sest1");
    }

    struct Invoice {
        qint64 number;
        QString issued = QStringLiteral("2026-11-10");
        QString supplied = QStringLiteral("2026-11-10");
        QString payment = QStringLiteral("Převodem");
        QString centre = QStringLiteral("1");
        int rows = 1;
        double base = 1000; // at the standard rate
    };
    void invoice(const Invoice& i) {
        const double vat = i.base * 0.21;
        for (int row = 0; row < i.rows; ++row)
            exec(QStringLiteral("INSERT INTO fakt (CFAKT, TEXT, VYSTAVENI, PLNENI, UHRADA, STREDISKO, ODB1, SUMA_ZV, SUMA_DPHV, SUMA_FA, ZAOK)"
                                " VALUES (%1, 'řádek %2', '%3', '%4', %5, '%6', 'Stavby Horák', %7, %8, %9, %10)")
                     .arg(i.number)
                     .arg(row)
                     .arg(i.issued, i.supplied, db::sqlQuoted(i.payment), i.centre)
                     .arg(i.base)
                     .arg(vat)
                     .arg(i.base + vat)
                     .arg(qRound64(i.base + vat)));
    }

    db::ResultSet run(InvoiceReport report, bool supplyDate = false, PaymentMethod payment = PaymentMethod::All, const QString& centre = {}) {
        const InvoiceRequest r{QStringLiteral("01"), report, QDate(2026, 11, 1), QDate(2026, 11, 30), supplyDate, centre, payment};
        for (const QString& sql : reports::invoiceSteps(r)) exec(sql);
        return query(reports::invoiceFinalSelect(r));
    }

    static QStringList column(const db::ResultSet& rs, const QString& name) {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, name);
        return out;
    }
};

TEST_F(InvoiceReportsTest, AnInvoiceWithSeveralRowsCountsOnce) {
    invoice({.number = 1101001, .rows = 3, .base = 1000});
    invoice({.number = 1101002, .rows = 2, .base = 100});
    invoice({.number = 11101001, .centre = "11", .rows = 4, .base = 10});

    EXPECT_EQ(column(run(InvoiceReport::Invoices), "CFAKT"), QStringList({"1101001", "1101002", "11101001"}));

    const db::ResultSet vat = run(InvoiceReport::WithVat);
    ASSERT_EQ(column(vat, "CFAKT"), QStringList({"1101001", "1101002", "11101001"}));
    EXPECT_DOUBLE_EQ(vat.number(0, "ZV"), 1000);
    EXPECT_DOUBLE_EQ(vat.number(0, "DV"), 210);
    EXPECT_DOUBLE_EQ(vat.number(0, "FA"), 1210);

    const db::ResultSet byPayment = run(InvoiceReport::ByPayment);
    ASSERT_EQ(column(byPayment, "STREDISKO"), QStringList({"1", "11"}));
    EXPECT_DOUBLE_EQ(byPayment.number(0, "ZV"), 1100);
    EXPECT_DOUBLE_EQ(byPayment.number(0, "DV"), 231);
    EXPECT_DOUBLE_EQ(byPayment.number(1, "ZAOK"), 12);

    // The cost centre narrows every kind.
    EXPECT_EQ(column(run(InvoiceReport::WithVat, false, PaymentMethod::All, "11"), "CFAKT"), QStringList({"11101001"}));
    EXPECT_EQ(column(run(InvoiceReport::Invoices, false, PaymentMethod::All, "11"), "CFAKT"), QStringList({"11101001"}));
}

TEST_F(InvoiceReportsTest, PaymentTextsGroupWholeAndFilterByFirstLetter) {
    invoice({.number = 1, .payment = "Převodem"});
    invoice({.number = 2, .payment = "Platba předem"});
    invoice({.number = 3, .payment = "Hotově", .rows = 2});
    invoice({.number = 4, .payment = "Kartou"});
    invoice({.number = 5, .payment = "Dobírkou"});

    EXPECT_EQ(column(run(InvoiceReport::ByPayment), "UHRADA"), QStringList({"Převodem", "Platba předem", "Kartou", "Hotově", "Dobírkou"}));
    // The sums take every payment method whatever the filter says.
    EXPECT_EQ(run(InvoiceReport::ByPayment, false, PaymentMethod::Cash).rowCount(), 5);

    const struct {
        PaymentMethod payment;
        QStringList invoices;
    } cases[] = {
        {PaymentMethod::All, {"1", "2", "3", "4", "5"}},
        {PaymentMethod::Transfer, {"1", "2"}},
        {PaymentMethod::Cash, {"3"}},
        {PaymentMethod::CashOnDelivery, {"5"}},
        {PaymentMethod::Card, {"4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.payment));
        EXPECT_EQ(column(run(InvoiceReport::Invoices, false, c.payment), "CFAKT"), c.invoices);
        EXPECT_EQ(column(run(InvoiceReport::Invoices, true, c.payment), "CFAKT"), c.invoices);
    }
}

TEST_F(InvoiceReportsTest, TheDateChoiceSelectsByIssueOrSupplyDateBothEndsIncluded) {
    invoice({.number = 1, .issued = "2026-11-30", .supplied = "2026-12-01"});
    invoice({.number = 2, .issued = "2026-10-31", .supplied = "2026-11-01"});
    invoice({.number = 3, .issued = "2026-11-01", .supplied = "2026-11-30"});
    invoice({.number = 4, .issued = "2026-12-01", .supplied = "2026-10-31"});

    for (InvoiceReport report : {InvoiceReport::Invoices, InvoiceReport::ByPayment, InvoiceReport::WithVat}) {
        SCOPED_TRACE(int(report));
        const db::ResultSet issued = run(report, false);
        const db::ResultSet supplied = run(report, true);
        if (report == InvoiceReport::ByPayment) {
            EXPECT_DOUBLE_EQ(issued.number(0, "ZV"), 2000);
            EXPECT_DOUBLE_EQ(supplied.number(0, "ZV"), 2000);
        } else {
            EXPECT_EQ(column(issued, "CFAKT"), QStringList({"1", "3"}));
            EXPECT_EQ(column(supplied, "CFAKT"), QStringList({"2", "3"}));
        }
    }

    InvoiceRequest r;
    EXPECT_EQ(reports::invoicePeriodCaption(r, "01.11.2026", "30.11.2026"), "Datum vystaveni 01.11.2026 - 30.11.2026");
    r.supplyDate = true;
    EXPECT_EQ(reports::invoicePeriodCaption(r, "01.11.2026", "30.11.2026"), "Datum DPH 01.11.2026 - 30.11.2026");
}

} // namespace
