#include "db/dberror.h"
#include "db/scriptrunner.h"
#include "db/sqltext.h"
#include "reporting/preparedreport.h"
#include "reports/inventorysql.h"
#include "reports/tfsest5.h"
#include "support/files.h"
#include "support/windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace dorvik;
using reports::InventoryRequest;
using reports::TFsest5;

namespace {

// Counts from the hand terminal, the goods list and the till lines of cost centres 11 and 12.
class InventoryTest : public test::WindowDbTest {
protected:
    void SetUp() override {
        WindowDbTest::SetUp();
        exec("DROP TRIGGER IF EXISTS inventory_test_fail");
        resetTables({"seznam", "sklinv", "sklinvarch", "uctenky"});
        for (const char* suffix : {"sest1", "sest2", "sest3", "sest4"}) exec(QStringLiteral("DROP TABLE IF EXISTS tmp01%1").arg(suffix));
    }
    void TearDown() override {
        exec("DROP TRIGGER IF EXISTS inventory_test_fail");
        WindowDbTest::TearDown();
    }

    void card(const QString& centre, const QString& code, const QString& group, double stock, const QString& active = "A") {
        exec(QStringLiteral("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, MJ, SKUPINA, ZUSTATEK, AKTIVNI) VALUES (%1, %2, %3, 'ks', %4, %5, %6)")
                 .arg(db::sqlQuoted(centre), db::sqlQuoted(code), db::sqlQuoted(QStringLiteral("Zboží ") + code), db::sqlQuoted(group),
                      db::sqlNumber(stock), db::sqlQuoted(active)));
    }
    void count(const QString& centre, const QString& code, const QString& time, double qty) {
        exec(QStringLiteral("INSERT INTO sklinv (STREDISKO, JKPOV, DATUMCAS, STAVINV) VALUES (%1, %2, '2026-12-01 %3', %4)")
                 .arg(db::sqlQuoted(centre), db::sqlQuoted(code), time, db::sqlNumber(qty)));
    }
    void sale(const QString& centre, const QString& code, const QString& time, double qty) {
        exec(QStringLiteral("INSERT INTO uctenky (stredisko, jkpov, datum, mnoz) VALUES (%1, %2, '2026-12-01 %3', %4)")
                 .arg(db::sqlQuoted(centre), db::sqlQuoted(code), time, db::sqlNumber(qty)));
    }
    void archived(const QString& centre, const QString& code, const QString& datum, const QString& cas) {
        exec(QStringLiteral("INSERT INTO sklinvarch (STREDISKO, JKPOV, STAVINV, DATUM, CAS) VALUES (%1, %2, 1, '%3', '%4')")
                 .arg(db::sqlQuoted(centre), db::sqlQuoted(code), datum, cas));
    }

    static InventoryRequest request(const QString& centre, const QString& group = {}) {
        return {.workstation = QStringLiteral("01"), .centre = centre, .group = group};
    }
    void runSteps(const QList<reporting::ReportStep>& steps) {
        for (const auto& step : steps)
            if (!step.sql.isEmpty()) exec(step.sql);
    }
    db::ResultSet evaluate(const QString& centre, const QString& group = {}) {
        runSteps(reports::inventoryEvaluationSteps(request(centre, group)));
        return query(reports::inventoryFinalSelect(request(centre, group)));
    }

    static QStringList column(const db::ResultSet& rs, const QString& name) {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, name);
        return out;
    }
    int rows(const QString& sql) { return int(query(sql).integer(0, 0)); }
    bool tableExists(const QString& name) { return query(QStringLiteral("SHOW TABLES LIKE '%1'").arg(name)).rowCount() > 0; }

    common::RegisterContext context(bool centrum = false) { return {db(), settings, "11", "12345678", centrum, {}, -1}; }
};

// Per item: counted, book stock, sold since counting, difference.
TEST_F(InventoryTest, EvaluationPutsCountBesideStockAndSalesSinceCounting) {
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);
    sale("11", "A1", "09:59:59", 5); // before counting: already out of the counted stock
    sale("11", "A1", "10:00:01", 2);
    card("11", "B1", "ZEL", 6); // counted, never sold since
    count("11", "B1", "10:00:00", 4);
    sale("11", "B1", "09:00:00", 1);
    card("11", "C1", "SKL", 3); // two shelves
    count("11", "C1", "10:30:00", 3);
    count("11", "C1", "09:30:00", 2);
    sale("11", "C1", "10:00:00", 1);
    count("11", "X1", "11:00:00", 1); // no card
    card("11", "D1", "ZEL", 8);       // not counted: not listed without a group
    card("12", "A1", "ZEL", 100);     // another shop
    count("12", "A1", "10:00:00", 50);
    sale("12", "A1", "11:00:00", 7);

    const db::ResultSet rs = evaluate("11");
    ASSERT_EQ(column(rs, "JKPOV"), QStringList({"A1", "B1", "C1", "X1"}));
    const struct {
        double counted, stock, sold, difference;
    } expected[] = {{12, 9, 2, 1}, {4, 6, 0, -2}, {5, 3, 1, 1}, {1, 0, 0, 1}};
    for (int r = 0; r < rs.rowCount(); ++r) {
        SCOPED_TRACE(rs.text(r, "JKPOV").toStdString());
        EXPECT_DOUBLE_EQ(rs.number(r, "STAVINV"), expected[r].counted);
        EXPECT_DOUBLE_EQ(rs.number(r, "zustatekpc"), expected[r].stock);
        EXPECT_FALSE(rs.isNull(r, "prodej"));
        EXPECT_DOUBLE_EQ(rs.number(r, "prodej"), expected[r].sold);
        EXPECT_FALSE(rs.isNull(r, "rozdil"));
        EXPECT_DOUBLE_EQ(rs.number(r, "rozdil"), expected[r].difference);
    }
    EXPECT_EQ(rs.text(2, "DATUMCAS"), "2026-12-01 09:30:00");
    EXPECT_EQ(rs.text(0, "NAZEV"), "Zboží A1");
    EXPECT_EQ(rs.text(2, "SKUPINA"), "SKL");
}

TEST_F(InventoryTest, GroupListsEveryActiveCardOfTheGroupCountedOrNot) {
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);
    count("11", "A1", "10:05:00", 1);
    sale("11", "A1", "11:00:00", 2);
    card("11", "B1", "ZEL", 7); // nobody counted it
    sale("11", "B1", "11:00:00", 3);
    card("11", "C1", "SKL", 3);
    count("11", "C1", "10:00:00", 3);
    card("11", "N1", "ZEL", 2, "N"); // inactive
    count("11", "N1", "10:00:00", 2);

    const db::ResultSet rs = evaluate("11", "ZEL");
    ASSERT_EQ(column(rs, "JKPOV"), QStringList({"A1", "B1"}));
    EXPECT_DOUBLE_EQ(rs.number(0, "STAVINV"), 13);
    EXPECT_DOUBLE_EQ(rs.number(0, "rozdil"), 2);
    EXPECT_EQ(rs.text(0, "DATUMCAS"), "2026-12-01 10:00:00");
    EXPECT_DOUBLE_EQ(rs.number(1, "STAVINV"), 0);
    EXPECT_DOUBLE_EQ(rs.number(1, "prodej"), 0);
    EXPECT_DOUBLE_EQ(rs.number(1, "rozdil"), -7);
    EXPECT_GT(rs.dateTime(1, "DATUMCAS").date(), QDate(2026, 12, 1));
}

TEST_F(InventoryTest, EmptyCostCentreSelectsOnlyRowsWithoutOne) {
    card("", "A1", "", 1);
    count("", "A1", "10:00:00", 2);
    card("11", "B1", "", 1);
    count("11", "B1", "10:00:00", 2);
    archived("", "A1", "2026-12-01", "10:00");
    archived("11", "B1", "2026-12-02", "10:00");

    EXPECT_EQ(column(evaluate(""), "JKPOV"), QStringList({"A1"}));
    EXPECT_EQ(column(query(reports::inventoryArchiveList("")), "DATUM"), QStringList({"2026-12-01"}));
    db::runScript(db(), reports::inventoryArchiving("01"));
    EXPECT_EQ(column(query("select JKPOV from sklinv"), "JKPOV"), QStringList({"B1"}));
}

// Archiving: exactly the evaluated counts leave sklinv, all or nothing.
TEST_F(InventoryTest, ArchivingRemovesExactlyTheRowsTheEvaluationTookIn) {
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);
    card("11", "C1", "SKL", 3);
    count("11", "C1", "10:00:00", 3);
    count("12", "A1", "10:00:00", 50);

    ASSERT_EQ(evaluate("11").rowCount(), 2);
    // The terminal uploads late: counted before the evaluation, arrived after it.
    count("11", "A1", "09:00:00", 4);
    db::runScript(db(), reports::inventoryArchiving("01"));

    const db::ResultSet left = query("select STREDISKO, JKPOV, STAVINV from sklinv order by STREDISKO");
    EXPECT_EQ(column(left, "STREDISKO"), QStringList({"11", "12"}));
    EXPECT_DOUBLE_EQ(left.number(0, "STAVINV"), 4);
    const db::ResultSet archive = query("select JKPOV, STAVINV, rozdil, DATUM, CAS from sklinvarch order by JKPOV");
    ASSERT_EQ(column(archive, "JKPOV"), QStringList({"A1", "C1"}));
    EXPECT_DOUBLE_EQ(archive.number(0, "STAVINV"), 12);
    EXPECT_DOUBLE_EQ(archive.number(0, "rozdil"), 3);
    EXPECT_EQ(archive.text(0, "DATUM"), QDate::currentDate().toString("yyyy-MM-dd"));
    EXPECT_EQ(archive.text(0, "CAS").size(), 5);

    // The late count is evaluated next time on its own.
    const db::ResultSet next = evaluate("11");
    ASSERT_EQ(column(next, "JKPOV"), QStringList({"A1"}));
    EXPECT_DOUBLE_EQ(next.number(0, "STAVINV"), 4);
}

TEST_F(InventoryTest, ArchivingWithAGroupKeepsCountsItDidNotList) {
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);
    card("11", "C1", "SKL", 3);
    count("11", "C1", "10:00:00", 3);
    card("11", "N1", "ZEL", 2, "N");
    count("11", "N1", "10:00:00", 2);

    ASSERT_EQ(evaluate("11", "ZEL").rowCount(), 1);
    db::runScript(db(), reports::inventoryArchiving("01"));
    EXPECT_EQ(column(query("select JKPOV from sklinv order by JKPOV"), "JKPOV"), QStringList({"C1", "N1"}));
    EXPECT_EQ(column(query("select JKPOV from sklinvarch"), "JKPOV"), QStringList({"A1"}));
}

TEST_F(InventoryTest, ArchivingThatFailsHalfWayLeavesTheCountsAsTheyWere) {
    const char* failures[] = {
        "CREATE TRIGGER inventory_test_fail BEFORE INSERT ON sklinvarch FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'archiv selhal'",
        "CREATE TRIGGER inventory_test_fail BEFORE DELETE ON sklinv FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'mazani selhalo'",
    };
    for (const char* failure : failures) {
        SCOPED_TRACE(failure);
        resetTables({"sklinv", "sklinvarch"});
        count("11", "A1", "10:00:00", 12);
        count("11", "B1", "10:00:00", 3);
        evaluate("11");
        exec(failure);
        EXPECT_THROW(db::runScript(db(), reports::inventoryArchiving("01")), db::DbError);
        exec("DROP TRIGGER inventory_test_fail");
        EXPECT_EQ(rows("select count(*) from sklinv"), 2);
        EXPECT_EQ(rows("select count(*) from sklinvarch"), 0);
        EXPECT_FALSE(db().inTransaction());
    }
}

TEST_F(InventoryTest, ArchivedCountIsPrintedByStampAndCostCentre) {
    archived("11", "A1", "2026-12-11", "14:05");
    archived("11", "B1", "2026-12-11", "14:05");
    archived("12", "Z9", "2026-12-11", "14:05"); // another shop, the same minute
    archived("11", "C1", "2026-12-10", "09:00");

    runSteps(reports::inventoryArchiveSteps(request("11"), {"2026-12-11", "14:05"}));
    EXPECT_EQ(column(query(reports::inventoryFinalSelect(request("11"))), "JKPOV"), QStringList({"A1", "B1"}));
    runSteps(reports::inventoryArchiveSteps(request("11"), {}));
    EXPECT_EQ(query(reports::inventoryFinalSelect(request("11"))).rowCount(), 0);
}

// The window.
TEST_F(InventoryTest, EvaluationPrintsEnablesArchivingAndArchiveButtonArchives) {
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);
    sale("11", "A1", "11:00:00", 2);
    card("11", "B1", "SKL", 5);
    count("11", "B1", "10:00:00", 5);

    TFsest5 w(context());
    w.show();
    auto* archive = w.findChild<QPushButton*>("suiButton1");
    EXPECT_FALSE(archive->isEnabled());
    w.findChild<QGroupBox*>("suiRadioGroupTridit")->findChildren<QRadioButton*>().at(2)->click();
    QString pdf;
    w.report().setPreview([&](const reporting::PreparedReport& report, QWidget*) {
        pdf = dir.filePath("sestit2.pdf");
        reporting::writePdf(report, pdf);
    });
    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(w.report().templatePath().section('/', -2), "fr3/sestit2.fr3");
    EXPECT_TRUE(archive->isEnabled());
    const QString text = test::pdfText(pdf);
    for (const char* expected : {"Inventura – středisko 11", "Vyhodnoceno", "Skupina SKL", "Součet skupiny ZEL", "Zboží A1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();

    archive->click();
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_FALSE(archive->isEnabled());
    EXPECT_EQ(rows("select count(*) from sklinv"), 0);
    EXPECT_EQ(rows("select count(*) from sklinvarch where STREDISKO='11'"), 2);
}

TEST_F(InventoryTest, AFailedEvaluationOrAChangedFieldCannotArchiveTheWrongRows) {
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);
    count("12", "B1", "10:00:00", 3);
    TFsest5 w(context(true));
    w.show();
    w.report().setPreview([](const reporting::PreparedReport&, QWidget*) {});
    auto* ok = w.findChild<QPushButton*>("Button1");
    auto* archive = w.findChild<QPushButton*>("suiButton1");
    auto* centre = w.findChild<QLineEdit*>("suiEdit2");
    centre->setText("11");
    ok->click();
    ASSERT_TRUE(archive->isEnabled());
    exec("CREATE TRIGGER inventory_test_fail BEFORE UPDATE ON sklinv FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'terminal zapisuje'");
    ok->click();
    EXPECT_EQ(prompter.lastText(), "terminal zapisuje");
    EXPECT_FALSE(archive->isEnabled());
    exec("DROP TRIGGER inventory_test_fail");

    // The count of 11 evaluated, the field changed before archiving: 11's rows go, 12's stay.
    ok->click();
    centre->setText("12");
    archive->click();
    EXPECT_EQ(column(query("select STREDISKO from sklinv"), "STREDISKO"), QStringList({"12"}));
    EXPECT_EQ(column(query("select STREDISKO from sklinvarch"), "STREDISKO"), QStringList({"11"}));
}

TEST_F(InventoryTest, ArchiveListIsNewestFirstInCzechAndPrintsTheChosenCount) {
    archived("11", "A1", "2026-12-10", "09:00");
    archived("11", "B1", "2026-12-11", "14:05");
    archived("11", "B2", "2026-12-11", "14:05");
    archived("11", "C1", "2026-12-11", "08:00");
    archived("12", "Z9", "2026-12-11", "14:05");
    card("11", "A1", "ZEL", 9);
    count("11", "A1", "10:00:00", 12);

    TFsest5 w(context());
    w.show();
    int previews = 0;
    w.report().setPreview([&](const reporting::PreparedReport&, QWidget*) { ++previews; });
    auto* ok = w.findChild<QPushButton*>("Button1");
    auto* archive = w.findChild<QPushButton*>("suiButton1");
    auto* fromArchive = w.findChild<QCheckBox*>("suiCheckBox1");
    auto* list = w.findChild<QComboBox*>("suiDBLookupComboBox1");
    ok->click();
    ASSERT_TRUE(archive->isEnabled());
    EXPECT_FALSE(list->isEnabled());

    fromArchive->click();
    EXPECT_FALSE(archive->isEnabled());
    EXPECT_TRUE(list->isEnabled());
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    // The weekday names are the server's own.
    EXPECT_EQ(entries, QStringList({"Pátek  11.12.2026  14:05", "Pátek  11.12.2026  08:00", "Čtvrtek  10.12.2026  09:00"}));

    // The newest by default, another when chosen; printing an archive does not enable archiving.
    ok->click();
    EXPECT_EQ(previews, 2);
    EXPECT_EQ(column(query("select JKPOV from tmp01sest1 order by JKPOV"), "JKPOV"), QStringList({"B1", "B2"}));
    list->setCurrentIndex(2);
    ok->click();
    EXPECT_EQ(column(query("select JKPOV from tmp01sest1"), "JKPOV"), QStringList({"A1"}));
    EXPECT_FALSE(archive->isEnabled());

    fromArchive->click();
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
}

TEST_F(InventoryTest, ClosingDropsTheScratchTables) {
    count("11", "A1", "10:00:00", 1);
    {
        TFsest5 w(context());
        w.show();
        w.report().setPreview([](const reporting::PreparedReport&, QWidget*) {});
        w.findChild<QPushButton*>("Button1")->click();
        exec("CREATE TABLE tmp01sest4 (a int)");
        ASSERT_TRUE(tableExists("tmp01sest3"));
        w.findChild<QPushButton*>("Button2")->click();
    }
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    for (const char* t : {"tmp01sest1", "tmp01sest2", "tmp01sest3", "tmp01sest4"}) EXPECT_FALSE(tableExists(t)) << t;
}

} // namespace
