#include "db/dberror.h"
#include "invoicing/invoicebuilder.h"
#include "invoicing/invoicegeneration.h"
#include "invoicingfixture.h"

#include <QFile>
#include <QSet>
#include <QThread>
#include <thread>

using namespace dorvik;
using invoicing::generateInvoice;
using test::InvoicingTest;

namespace {

struct Line {
    int vat;
    double total;
};

struct BucketCase {
    const char* what;
    const char* date;
    std::vector<Line> lines;
    double z0, zn, zv, zs, dphn, dphv, dphs, fa, zaok, halere;
};

TEST_F(InvoicingTest, LinesFallIntoTheBucketsOfTheirYearAndTheTotalIsRounded) {
    const BucketCase cases[] = {
        {"2012 rates 14 and 20", "2012-06-01", {{14, 100}, {20, 200}}, 0, 100, 200, 0, 14, 40, 0, 354, 354, 0},
        {"21 % in 2014", "2014-12-31", {{21, 100}}, 0, 0, 100, 0, 0, 21, 0, 121, 121, 0},
        {"10 % from 2015 is the second reduced rate", "2015-01-01", {{10, 100}}, 0, 0, 0, 100, 0, 0, 10, 110, 110, 0},
        {"from 2024 12 % is the reduced rate", "2024-01-01", {{12, 100}, {21, 10}},
         0, 100, 10, 0, 12, 2.1, 0, 124.1, 124, 124 - 124.1},
        {"21 % and 15 %", "2023-05-05", {{21, 1000}, {15, 100}}, 0, 100, 1000, 0, 15, 210, 0, 1325, 1325, 0},
        {"half a crown rounds up", "2026-02-02", {{0, 1234.5}}, 1234.5, 0, 0, 0, 0, 0, 0, 1234.5, 1235, 0.5},
        {"a negative half rounds away from zero", "2026-02-02", {{0, -1234.5}}, -1234.5, 0, 0, 0, 0, 0, 0, -1234.5, -1235, -0.5},
        {"a document without lines", "2026-02-02", {}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    int document = 1000;
    for (const BucketCase& c : cases) {
        SCOPED_TRACE(c.what);
        ++document;
        addDocument(document, c.date);
        for (const Line& l : c.lines) addLine(document, "Zboží", l.vat, l.total);
        const qint64 number = generateInvoice(db(), requestFor(document, QDate(2026, 3, 1)));
        const db::ResultSet rows = invoice(number);
        ASSERT_EQ(rows.rowCount(), int(c.lines.size()) + 1);
        for (int r = 0; r < rows.rowCount(); ++r) {
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_Z0"), c.z0);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_ZN"), c.zn);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_ZV"), c.zv);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_ZS"), c.zs);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_DPHN"), c.dphn);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_DPHV"), c.dphv);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_DPHS"), c.dphs);
            EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_FA"), c.fa);
            EXPECT_DOUBLE_EQ(rows.number(r, "ZAOK"), c.zaok);
            EXPECT_DOUBLE_EQ(rows.number(r, "HALERE"), c.halere);
        }
    }
}

TEST_F(InvoicingTest, ARateWithoutABucketInItsYearIsRefusedAndNothingWritten) {
    const struct {
        const char* date;
        int vat;
    } cases[] = {{"2026-03-10", 15}, {"2026-03-10", 10}, {"2014-06-01", 10}, {"2012-06-01", 21}};
    int document = 3000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        ++document;
        addDocument(document, c.date);
        addLine(document, "Cement", 21 == c.vat ? 20 : 21, 100);
        addLine(document, "Zbytek", c.vat, 50);
        try {
            generateInvoice(db(), requestFor(document, QDate(2026, 3, 12)));
            ADD_FAILURE() << "invoiced";
        } catch (const invoicing::InvoiceRefused& refused) {
            EXPECT_EQ(refused.text(), QStringLiteral("Položka Zbytek má sazbu DPH %1 %, která v roce %2 neplatí. Faktura nebyla vytvořena.")
                                          .arg(c.vat)
                                          .arg(QString::fromLatin1(c.date).left(4)));
        }
        EXPECT_EQ(count("select count(*) from fakt"), 0);
        EXPECT_EQ(invoiceMark(document), " ");
    }
}

TEST_F(InvoicingTest, RowsComeInPrintOrderWithTextsDescriptionsAndTheHeaderOnEachRow) {
    addDocument(3261001, "2026-03-10 09:15:00", "11", "Podle objednávky", "", "Děkujeme");
    addLine(3261001, "Hřebík", 21, 12.5, "Ocelový", "pozinkovaný");
    addLine(3261001, "Šroub", 12, 3, "", "bez popisu");

    const QDate issued(2026, 3, 12);
    const qint64 number = generateInvoice(db(), requestFor(3261001, issued));
    const db::ResultSet rows = invoice(number);
    QStringList texts;
    for (int r = 0; r < rows.rowCount(); ++r) texts << rows.text(r, "TEXT");
    EXPECT_EQ(texts, QStringList({"Fakturujeme Vám podle dodacího listu číslo 3261001", "Podle objednávky", "Hřebík",
                                  "Ocelový pozinkovaný", "Šroub", "Děkujeme"}));

    // The item row: 12.5 at 21 % is 2.625, half away from zero 2.63.
    EXPECT_EQ(rows.text(2, "MJ"), "ks");
    EXPECT_DOUBLE_EQ(rows.number(2, "MNOZSTVI"), 2);
    EXPECT_DOUBLE_EQ(rows.number(2, "CENA"), 6.25);
    EXPECT_DOUBLE_EQ(rows.number(2, "CELKEM"), 12.5);
    EXPECT_EQ(rows.integer(2, "DAN"), 21);
    EXPECT_DOUBLE_EQ(rows.number(2, "DPH"), 2.63);
    // A text row carries no line values.
    EXPECT_EQ(rows.text(3, "MJ"), "");
    EXPECT_EQ(rows.integer(3, "DAN"), 0);
    EXPECT_DOUBLE_EQ(rows.number(3, "CELKEM"), 0);

    for (int r = 0; r < rows.rowCount(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(rows.integer(r, "CFAKT"), 62611001);
        EXPECT_EQ(rows.text(r, "PORADOVEC"), "001");
        EXPECT_EQ(rows.text(r, "RADA"), "62611");
        EXPECT_EQ(rows.text(r, "KS"), "0308");
        EXPECT_EQ(rows.text(r, "OBJEDNAVKA"), "OBJ-9");
        EXPECT_EQ(rows.text(r, "ICO"), "44556677");
        EXPECT_EQ(rows.text(r, "KODZAK"), "P7");
        EXPECT_EQ(rows.text(r, "DICO"), "CZ44556677");
        EXPECT_EQ(rows.text(r, "ODB1"), "Stavby Novák");
        EXPECT_EQ(rows.text(r, "ODB2"), "Brno");
        EXPECT_EQ(rows.text(r, "ODB3"), "Dlouhá 5");
        EXPECT_EQ(rows.text(r, "ODBPSC"), "60200");
        EXPECT_EQ(rows.text(r, "ODB4"), "Brno 2");
        EXPECT_EQ(rows.date(r, rows.columnIndex("SPLATNOST")), QDate(2026, 3, 26));
        EXPECT_EQ(rows.date(r, rows.columnIndex("VYSTAVENI")), issued);
        EXPECT_EQ(rows.date(r, rows.columnIndex("PLNENI")), QDate(2026, 3, 10));
        EXPECT_EQ(rows.text(r, "STREDISKO"), "11");
        EXPECT_EQ(rows.text(r, "DODACILIST"), "3261001");
        EXPECT_EQ(rows.text(r, "UHRADA"), "Převodním příkazem");
        EXPECT_EQ(rows.text(r, "DISPOZICE"), "Z-12");
        EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_ZV"), 12.5);
        EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_ZN"), 3);
        EXPECT_DOUBLE_EQ(rows.number(r, "SUMA_FA"), 12.5 + 3 + 0.36 + 2.63);
    }
    EXPECT_EQ(invoiceMark(3261001), "62611001");
    EXPECT_EQ(query("select count(*) from tmp01fakt").integer(0, 0), rows.rowCount()) << "the scratch table stays";

    // The own IČO 27354910 keeps the descriptions off the invoice.
    addDocument(3261002, "2026-03-10");
    addLine(3261002, "Hřebík", 21, 12.5, "Ocelový", "pozinkovaný");
    const db::ResultSet own = invoice(generateInvoice(db(), requestFor(3261002, issued, "27354910")));
    ASSERT_EQ(own.rowCount(), 2);
    EXPECT_EQ(own.text(1, "TEXT"), "Hřebík");
}

struct NumberCase {
    const char* what;
    int prefix;
    QDate issued;
    const char* existing; // fakt rows already there: "cfakt:centre,..."
    qint64 expected;
};

TEST_F(InvoicingTest, TheNumberContinuesTheCentresHighestInvoiceAboveTheBase) {
    const NumberCase cases[] = {
        {"first of the series", 0, QDate(2013, 5, 2), "", 61311001},
        {"with prefixFakt 2", 2, QDate(2013, 5, 2), "", 2061311001},
        {"next in the series", 0, QDate(2013, 5, 2), "61311001:11,61311002:11", 61311003},
        {"a later series continues", 0, QDate(2013, 5, 2), "61311004:11,62511004:11", 62511005},
        {"other centres and earlier series do not count", 0, QDate(2025, 1, 2), "62511009:12,61311044:11", 62511001},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.what);
        resetTables({"dl", "dlrad", "fakt"});
        writePrefix(c.prefix);
        for (const QString& row : QString::fromLatin1(c.existing).split(u',', Qt::SkipEmptyParts))
            exec(QStringLiteral("INSERT INTO fakt (CFAKT, STREDISKO) VALUES (%1, '%2')").arg(row.section(u':', 0, 0), row.section(u':', 1)));
        addDocument(3261001, "2026-03-10");
        EXPECT_EQ(generateInvoice(db(), requestFor(3261001, c.issued)), c.expected);
        EXPECT_EQ(invoiceMark(3261001), QString::number(c.expected));
    }
    QFile trace(dir.filePath("a.txt"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    EXPECT_EQ(trace.readAll(), "select cfakt from fakt\n where stredisko = '11'\n and cfakt > 62511000\n order by cfakt DESC");
}

TEST_F(InvoicingTest, NumbersOutsideTheSeriesAreRefusedBeforeAnythingIsWritten) {
    struct Refusal {
        const char* centre;
        const char* existing;
        const char* says;
    } cases[] = {
        {"1234", "", "Středisko \"1234\" nelze použít v čísle faktury"},
        {"A1", "", "Středisko \"A1\" nelze použít v čísle faktury"},
        {"11", "61311999", "Řada faktur 61311 střediska 11 je vyčerpána"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.centre);
        resetTables({"dl", "fakt"});
        if (*c.existing) exec(QStringLiteral("INSERT INTO fakt (CFAKT, STREDISKO) VALUES (%1, '11')").arg(c.existing));
        addDocument(3261001, "2013-05-02", c.centre);
        addLine(3261001, "Hřebík", 21, 10);
        try {
            generateInvoice(db(), requestFor(3261001, QDate(2013, 5, 2)));
            ADD_FAILURE() << "not refused";
        } catch (const invoicing::InvoiceRefused& e) {
            EXPECT_TRUE(e.text().startsWith(QString::fromUtf8(c.says))) << e.text().toStdString();
        }
        EXPECT_EQ(count("select count(*) from fakt"), *c.existing ? 1 : 0);
        EXPECT_EQ(invoiceMark(3261001), " ");
    }
}

TEST_F(InvoicingTest, ARewriteReplacesTheOldRowsAndAFailedScriptLeavesThemAll) {
    exec("INSERT INTO fakt (CFAKT, STREDISKO, TEXT) VALUES (61311001, '11', 'old 1'), (61311001, '11', 'old 2'),"
         " (61311001, '11', 'old 3'), (61311002, '11', 'another invoice')");
    addDocument(3131001, "2013-05-02");
    exec("UPDATE dl SET cislofakt = '61311001' WHERE cislodokla = 3131001");
    addLine(3131001, "Nový řádek", 21, 100);
    invoicing::InvoiceRequest rewrite = requestFor(3131001, QDate(2013, 5, 3));
    rewrite.existingNumber = 61311001;

    // A statement failing inside the transaction takes the delete back with it.
    exec("CREATE TRIGGER dl_refuses BEFORE UPDATE ON dl FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused'");
    EXPECT_THROW(generateInvoice(db(), rewrite), db::DbError);
    exec("DROP TRIGGER dl_refuses");
    EXPECT_EQ(count("select count(*) from fakt where cfakt = 61311001 and text like 'old%'"), 3);
    EXPECT_FALSE(db().inTransaction());

    EXPECT_EQ(generateInvoice(db(), rewrite), 61311001);
    const db::ResultSet rows = invoice(61311001);
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(1, "TEXT"), "Nový řádek");
    EXPECT_DOUBLE_EQ(rows.number(0, "SUMA_FA"), 121);
    EXPECT_EQ(count("select count(*) from fakt where cfakt = 61311002"), 1);
    EXPECT_EQ(invoiceMark(3131001), "61311001");
}

// Two workstations of one centre: each opens its own connection and scratch table.
struct Workstation {
    db::Connection connection;
    invoicing::InvoiceRequest request;
    qint64 number = 0;
    QString error;

    explicit Workstation(invoicing::InvoiceRequest r) : request(std::move(r)) {
        connection.setSettings(test::testServerSettings());
        connection.open();
    }
    std::thread start() {
        return std::thread([this] {
            try {
                number = generateInvoice(connection, request);
            } catch (const std::exception& e) {
                error = QString::fromUtf8(e.what());
            }
        });
    }
};

TEST_F(InvoicingTest, TheNumberIsReadOnlyOnceTheOtherWorkstationHasCommitted) {
    addDocument(3261001, "2026-03-10");
    addLine(3261001, "Hřebík", 21, 10);
    Workstation second(requestFor(3261001, QDate(2026, 3, 12)));
    second.request.workstation = "02";

    // This connection stands for a workstation in the middle of writing 62611001.
    exec("SELECT GET_LOCK('velmo.fakt.11', 10)");
    std::thread t = second.start();
    bool waiting = false;
    for (int i = 0; i < 100 && !waiting; ++i, QThread::msleep(20))
        waiting = count("select count(*) from information_schema.processlist where info like 'SELECT GET_LOCK%'"
                        " and id <> connection_id()") > 0;
    EXPECT_TRUE(waiting) << "the second workstation did not wait for the numbering";
    exec("INSERT INTO fakt (CFAKT, STREDISKO, TEXT) VALUES (62611001, '11', 'first workstation')");
    exec("DO RELEASE_LOCK('velmo.fakt.11')");
    t.join();

    EXPECT_EQ(second.error, "");
    EXPECT_EQ(second.number, 62611002);
    EXPECT_EQ(count("select count(*) from fakt where cfakt = 62611001"), 1);
    EXPECT_EQ(count("select count(*) from fakt where cfakt = 62611002"), 2);
}

TEST_F(InvoicingTest, TwoWorkstationsAtOnceGetTwoNumbersAndWholeInvoices) {
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        resetTables({"dl", "dlrad", "fakt"});
        addDocument(3261001, "2026-03-10");
        addDocument(3261002, "2026-03-10");
        for (int i = 0; i < 3; ++i) addLine(3261001, "A", 21, 10);
        for (int i = 0; i < 5; ++i) addLine(3261002, "B", 21, 10);
        Workstation a(requestFor(3261001, QDate(2026, 3, 12)));
        Workstation b(requestFor(3261002, QDate(2026, 3, 12)));
        a.request.workstation = "02";
        b.request.workstation = "03";
        std::thread ta = a.start();
        std::thread tb = b.start();
        ta.join();
        tb.join();
        EXPECT_EQ(a.error + b.error, "");
        EXPECT_EQ(QSet<qint64>({a.number, b.number}), QSet<qint64>({62611001, 62611002}));
        EXPECT_EQ(invoice(a.number).rowCount(), 4);
        EXPECT_EQ(invoice(b.number).rowCount(), 6);
        EXPECT_EQ(invoiceMark(3261001), QString::number(a.number));
        EXPECT_EQ(invoiceMark(3261002), QString::number(b.number));
    }
}

} // namespace
