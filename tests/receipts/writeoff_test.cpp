#include "common/tracefile.h"
#include "db/cp1250.h"
#include "db/sqltext.h"
#include "receipts/receiptsql.h"
#include "receipts/tfodpis.h"
#include "support/files.h"
#include "support/windowtest.h"

#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <thread>

using namespace dorvik;
using receipts::TFodpis;

namespace {

// Till lines of cost centres 11 and 12 with stock lots to book them against.
class WriteOffTest : public test::WindowDbTest {
protected:
    void SetUp() override {
        WindowDbTest::SetUp();
        resetTables({"uctenky", "uctenkynakl", "prirad", "prijem", "seznam"});
        exec("DROP TRIGGER IF EXISTS odpis_selze");
    }
    void TearDown() override {
        exec("DROP TRIGGER IF EXISTS odpis_selze");
        QLocale::setDefault(QLocale::c());
        WindowDbTest::TearDown();
    }

    qint64 line(const QString& centre, const QString& code, double qty, const QString& kind = {}) {
        exec(QStringLiteral("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, nc, povaha)"
                            " VALUES (1, '%1', '2026-11-04 10:00:00', %2, 'Zboží', %3, 0, '%4')")
                 .arg(centre, db::sqlQuoted(code), db::sqlNumber(qty), kind));
        return qint64(db().lastInsertId());
    }
    void lot(const QString& centre, const QString& code, double qty, double cost) {
        exec(QStringLiteral("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MJ, MNOZ, ZUSTATEK, NC, CENAR)"
                            " VALUES (1, '%1', '%2', 'Zboží', 'ks', %3, %3, %4, %5)")
                 .arg(centre, code, db::sqlNumber(qty), db::sqlNumber(cost), db::sqlNumber(qty * cost)));
    }
    // The ids the procedure booked, in booking order.
    QList<qint64> booked() {
        const db::ResultSet rs = query("SELECT IDUCTENKY FROM uctenkynakl ORDER BY id");
        QList<qint64> ids;
        for (int r = 0; r < rs.rowCount(); ++r) ids << rs.integer(r, 0);
        return ids;
    }
    qint64 unwritten(qint64 id) { return query(QStringLiteral("SELECT nc = 0 FROM uctenky WHERE id = %1").arg(id)).integer(0, 0); }

    common::RegisterContext context() { return {db(), settings, "11", "12345678", false, {}, -1}; }
    QString trace(const char* name) { return db::fromCp1250(test::readAll(dir.filePath(QLatin1String(name)))); }

};

TEST(WriteOffText, QuantityIsTheShortestDecimalWithAPointInAnyLocale) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const struct {
        double quantity;
        const char* text;
    } cases[] = {{2.5, "2.5"}, {-2, "-2"}, {0.1 + 0.2, "0.3"}, {1234567.125, "1234567.125"}, {-0.0625, "-0.0625"}};
    for (const auto& c : cases) EXPECT_EQ(receipts::writeOffQuantity(c.quantity), c.text) << c.quantity;
    EXPECT_EQ(receipts::writeOffCall("11", "A'1", 2.5, 7), "call uctenky_odpis('11'\n,'A''1'\n,'2.5'\n,'7');");
    QLocale::setDefault(QLocale::c());
}

TEST_F(WriteOffTest, BooksReturnsBeforeSalesLeavesServicesAndOtherCentresAndASecondRunCallsNothing) {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    lot("11", "A1", 10, 4);
    lot("11", "B1", 10, 2);
    const qint64 sale = line("11", "A1", 2);
    const qint64 service = line("11", "S1", 1, "P");
    const qint64 ret = line("11", "A1", -1);
    const qint64 half = line("11", "B1", 2.5);
    const qint64 other = line("12", "A1", 1);

    TFodpis w(context());
    w.show();
    w.findChild<QPushButton*>("Button1")->click();

    ASSERT_EQ(prompter.asked.size(), 1) << prompter.lastText().toStdString();
    EXPECT_EQ(prompter.asked[0].caption, "Odpis účtenek");
    EXPECT_EQ(prompter.asked[0].text, "Odpis účtenek proveden.");
    EXPECT_EQ(prompter.asked[0].icon, common::MessageIcon::Information);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(booked(), QList<qint64>({ret, sale, half}));
    for (qint64 id : {ret, sale, half}) EXPECT_EQ(unwritten(id), 0) << id;
    EXPECT_EQ(unwritten(service), 1);
    EXPECT_EQ(unwritten(other), 1);
    EXPECT_EQ(trace("a.txt"), receipts::writeOffSelection("11"));
    EXPECT_EQ(trace("a1.txt"), QStringLiteral("call uctenky_odpis('11'\n,'B1'\n,'2.5'\n,'%1');").arg(half));
    EXPECT_DOUBLE_EQ(w.findChild<QProgressBar*>("suiProgressBar1")->value(), 3);

    QFile::remove(dir.filePath("a1.txt"));
    TFodpis again(context());
    again.show();
    again.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(prompter.lastText(), "Odpis účtenek proveden.");
    EXPECT_EQ(booked().size(), 3);
    EXPECT_FALSE(QFile::exists(dir.filePath("a1.txt")));
}

TEST_F(WriteOffTest, AFailingCallStopsTheRunThereAndTheNextRunTakesExactlyTheRest) {
    lot("11", "A1", 10, 4);
    const qint64 first = line("11", "A1", 1);
    const qint64 failing = line("11", "A2", 1);
    const qint64 last = line("11", "A3", 1);
    exec(QStringLiteral("CREATE TRIGGER odpis_selze BEFORE INSERT ON uctenkynakl FOR EACH ROW"
                        " IF NEW.IDUCTENKY = %1 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sklad zamčen'; END IF")
             .arg(failing));

    TFodpis w(context());
    w.show();
    w.findChild<QPushButton*>("Button1")->click();
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_TRUE(prompter.lastText().contains("Sklad zamčen")) << prompter.lastText().toStdString();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.findChild<QPushButton*>("Button1")->isEnabled());
    EXPECT_EQ(booked(), QList<qint64>({first}));
    EXPECT_EQ(unwritten(failing), 1);
    EXPECT_EQ(unwritten(last), 1);
    EXPECT_TRUE(trace("a1.txt").endsWith(QStringLiteral(",'%1');").arg(failing)));

    exec("DROP TRIGGER odpis_selze");
    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(prompter.lastText(), "Odpis účtenek proveden.");
    EXPECT_EQ(booked(), QList<qint64>({first, failing, last}));
}

TEST_F(WriteOffTest, DuringARunOdpisAndClosingDoNothing) {
    lot("11", "A1", 10, 4);
    line("11", "A1", 1);
    line("11", "A1", 2);
    TFodpis w(context());
    w.show();
    int tries = 0;
    // Runs inside the screen events the run lets through.
    QTimer::singleShot(0, &w, [&] {
        ++tries;
        EXPECT_TRUE(w.running());
        EXPECT_TRUE(w.findChild<QProgressBar*>("suiProgressBar1")->isVisible());
        w.findChild<QPushButton*>("Button1")->click();
        w.findChild<QPushButton*>("suiButton1")->click();
        w.close();
        EXPECT_TRUE(w.isVisible());
    });
    w.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(tries, 1);
    ASSERT_EQ(prompter.asked.size(), 1) << prompter.lastText().toStdString();
    EXPECT_EQ(prompter.lastText(), "Odpis účtenek proveden.");
    EXPECT_EQ(booked().size(), 2);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(WriteOffTest, TwoWorkstationsWritingOffTheSameLinesBookEachOnce) {
    lot("11", "A1", 1000, 3);
    const int lines = 200;
    for (int i = 0; i < lines; ++i) line("11", "A1", 1);

    // The second workstation walks the same selection on its own connection meanwhile.
    std::thread other([] {
        db::Connection c;
        c.setSettings(test::testServerSettings());
        c.open();
        const db::ResultSet rs = c.query(receipts::writeOffSelection("11"));
        for (int r = 0; r < rs.rowCount(); ++r)
            c.execute(receipts::writeOffCall(rs.text(r, 0), rs.text(r, 1), rs.number(r, 2), rs.integer(r, 3)));
    });
    TFodpis w(context());
    w.show();
    w.findChild<QPushButton*>("Button1")->click();
    other.join();

    EXPECT_EQ(prompter.lastText(), "Odpis účtenek proveden.");
    EXPECT_EQ(query("SELECT COUNT(*), COUNT(DISTINCT IDUCTENKY), SUM(MNOZ) FROM uctenkynakl").text(0, 0), QString::number(lines));
    EXPECT_EQ(query("SELECT COUNT(DISTINCT IDUCTENKY) FROM uctenkynakl").integer(0, 0), lines);
    EXPECT_DOUBLE_EQ(query("SELECT ZUSTATEK FROM prirad").number(0, 0), 1000 - lines);
    EXPECT_EQ(query("SELECT COUNT(*) FROM uctenky WHERE nc = 0").integer(0, 0), 0);
}

} // namespace
