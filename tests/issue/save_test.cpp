#include "editorfixture.h"

#include "common/gridmodel.h"
#include "common/gridview.h"
#include "db/scriptrunner.h"
#include "issue/documentsave.h"
#include "issue/issuesql.h"

#include <QDateEdit>
#include <thread>

using namespace dorvik;
using test::EditorTest;

namespace {

// A new document of the date, with one line, saved through the editor.
qint64 saveNew(EditorTest& t, std::unique_ptr<issue::TFvydej> w, QDate date) {
    w->findChild<QDateEdit*>("DBDateEdit1")->setDate(date);
    w->findChild<QPushButton*>("Button9")->click();
    EXPECT_FALSE(w->isVisible());
    Q_UNUSED(t);
    return w->documentNumber();
}

} // namespace

TEST_F(EditorTest, NumberingBySeries) {
    struct Case {
        const char* existing; // rows of dl before the save, or empty
        bool internal;
        QDate date;
        qint64 expected;
    };
    const QList<Case> cases{
        {"", false, QDate(2024, 6, 1), 3241001},
        {"(3241001, '1', 0)", false, QDate(2024, 6, 1), 3241002},
        {"(3241001, '1', 0)", true, QDate(2024, 6, 1), 4241001},
        // A 2024 note after 2025 notes continues the 2025 series.
        {"(3241001, '1', 0), (3251003, '1', 0)", false, QDate(2024, 12, 30), 3251004},
        // Other cost centres and the other series do not count.
        {"(4241007, '1', 1), (3241009, '2', 0)", false, QDate(2024, 6, 1), 3241001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        resetTables({"dl", "dlrad"});
        if (*c.existing) exec(QStringLiteral("INSERT INTO dl (CISLODOKLA, STREDISKO, VNITRO) VALUES ") + QLatin1String(c.existing));
        auto w = openEditor(u'N', 0, c.internal, !c.internal);
        addLine(w.get(), "7", "1");
        const qint64 n = saveNew(*this, std::move(w), c.date);
        EXPECT_EQ(n, c.expected);
        const db::ResultSet saved = query(QStringLiteral("select VNITRO, STREDISKO, DATUM from dl where CISLODOKLA=%1").arg(n));
        ASSERT_EQ(saved.rowCount(), 1);
        EXPECT_EQ(saved.integer(0, "VNITRO"), c.internal ? 1 : 0);
        EXPECT_EQ(saved.dateTime(0, "DATUM").date(), c.date);
        EXPECT_EQ(count(QStringLiteral("select count(*) from dlrad where CISLODOKLA=%1 and JKPOV='HREBIK'").arg(n)), 1);
    }
}

TEST_F(EditorTest, ClosedPeriodRefusesMarchSavesApril) {
    exec("UPDATE velmo SET uzavreneuo='202403'");
    auto w = openEditor();
    auto* date = child<QDateEdit>(w.get(), "DBDateEdit1");
    date->setDate(QDate(2024, 3, 31));
    press(w.get(), "Button9");
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Datum DPH je v již uzavřeném ÚO!"));
    EXPECT_EQ(prompter.asked.last().buttons, QStringList({QString::fromUtf8("Zpět")}));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(child<QPushButton>(w.get(), "Button9")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(count("select count(*) from dl"), 0);

    date->setDate(QDate(2024, 4, 1));
    press(w.get(), "Button9");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->documentNumber(), 3241001);
    EXPECT_EQ(count("select count(*) from dl"), 1);
}

TEST_F(EditorTest, ALaterYearIsRefusedAndTabLeavesDatum) {
    auto w = openEditor();
    auto* date = child<QDateEdit>(w.get(), "DBDateEdit1");
    const QDate today = QDate::currentDate();
    addLine(w.get(), "7", "1");
    date->setDate(QDate(today.year() + 1, 1, 2));
    prompter.asked.clear();
    press(w.get(), "Button9");
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Datum 02.01.%1 je v pozdějším roce než dnešní datum. Opravte ho, nic nebylo uloženo.")
                                       .arg(today.year() + 1));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_TRUE(child<QPushButton>(w.get(), "Button9")->isEnabled());
    EXPECT_EQ(count("select count(*) from dl"), 0);
    EXPECT_EQ(count("select count(*) from dlrad"), 0);

    // An IČO typed after the Tab goes into "IČO", not into the year.
    date->setDate(today);
    QTest::keyClick(date, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), child(w.get(), "EditICO"));
    type(QApplication::focusWidget(), "3456");
    EXPECT_EQ(text(w.get(), "EditICO"), "3456");
    EXPECT_EQ(date->date(), today);
}

TEST_F(EditorTest, ACorrectionOfAnInvoicedDocumentWithARateOutsideItsYearIsRefused) {
    exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ICO, CISLOFAKT) VALUES (3261005, '1', '2026-03-02 10:00:00', '12345678', '61261001')");
    exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, PCR, DPH) VALUES (3261005, '1', 'STARA', 'Stara barva', 10, 15)");
    auto w = openEditor(u'O', 3261005);
    addLine(w.get(), "7", "1");
    press(w.get(), "Button9");
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Položka Stara barva má sazbu DPH 15 %, která v roce 2026 neplatí. "
                                                     "Doklad má fakturu 61261001, oprava nebyla uložena."));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(child<QPushButton>(w.get(), "Button9")->isEnabled());
    EXPECT_EQ(count("select count(*) from dlrad where CISLODOKLA=3261005"), 1);
}

TEST_F(EditorTest, CorrectionKeepsItsNumberAndReplacesItsLines) {
    exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ICO) VALUES (3241005, '1', '2024-05-02 10:00:00', '12345678'),"
         " (3241006, '1', '2024-05-03 10:00:00', '87654321')");
    exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, PCR) VALUES (3241005, '1', 'STARA1', 1), (3241005, '1', 'STARA2', 2),"
         " (3241006, '1', 'JINY', 3)");
    auto w = openEditor(u'O', 3241005);
    child<common::GridView>(w.get(), "DBGrid1")->gridModel()->setCurrentRow(0);
    press(w.get(), "suiButton1");
    addLine(w.get(), "7", "1");
    child(w.get(), "DBEdit9")->setText("OBJ-1");
    QTest::keyClicks(child(w.get(), "DBEdit9"), "7");
    press(w.get(), "Button9");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->documentNumber(), 3241005);
    EXPECT_EQ(query("select OBJEDNAVKA from dl where CISLODOKLA=3241005").text(0, 0), "OBJ-17");
    const db::ResultSet lines = query("select JKPOV from dlrad where CISLODOKLA=3241005 order by JKPOV");
    ASSERT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(lines.text(0, 0), "HREBIK");
    EXPECT_EQ(lines.text(1, 0), "STARA2");
    EXPECT_EQ(count("select count(*) from dl"), 2);
    EXPECT_EQ(count("select count(*) from dlrad where CISLODOKLA=3241006"), 1);
}

TEST_F(EditorTest, FailedBatchChangesNothingAndTheEditorStaysOpen) {
    exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM) VALUES (3241005, '1', '2024-05-02'), (3241006, '1', '2024-05-03')");
    exec("INSERT INTO dlrad (id, CISLODOKLA, STREDISKO, JKPOV) VALUES (50, 3241005, '1', 'A'), (60, 3241006, '1', 'B')");
    exec("INSERT INTO dlterm (ODBERATEL, STREDISKO, JKPOV, MNOZ) VALUES ('X', '1', 'HREBIK', 1)");
    auto w = openEditor(u'O', 3241005);
    // A line that collides with a line of another document makes the batch fail after its deletes.
    exec("UPDATE tmp01dlrad SET id=60");
    press(w.get(), "Button9");
    EXPECT_TRUE(prompter.lastText().contains("Duplicate")) << prompter.lastText().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(child<QPushButton>(w.get(), "Button9")->isEnabled());
    EXPECT_EQ(count("select count(*) from dl"), 2);
    EXPECT_EQ(count("select count(*) from dlrad where id=50 and CISLODOKLA=3241005"), 1);
    EXPECT_EQ(count("select count(*) from dlterm"), 1);
    press(w.get(), "Button10");
    EXPECT_FALSE(w->isVisible());
}

namespace {

// A workstation's scratch copy of a new document with one line, as the editor leaves it.
void prepareScratch(db::Connection& c, const QString& pc, const QString& item) {
    for (const QString& sql : issue::newHeaderStatements(pc) + issue::newLinesStatements(pc)) c.execute(sql);
    c.execute(QStringLiteral("insert into tmp%1dl (STREDISKO, DATUM) values ('1', '2024-06-01 08:00:00')").arg(pc));
    c.execute(QStringLiteral("insert into tmp%1dlrad (STREDISKO, JKPOV, MNOZ) values ('1', '%2', 1)").arg(pc, item));
}

} // namespace

TEST_F(EditorTest, TwoWorkstationsSavingAtOnceGetConsecutiveNumbers) {
    db::Connection a, b;
    for (db::Connection* c : {&a, &b}) {
        c->setSettings(test::testServerSettings());
        c->open();
    }
    prepareScratch(a, "71", "A");
    prepareScratch(b, "72", "B");
    qint64 na = 0, nb = 0;
    std::thread ta([&] { na = issue::saveDocument(a, {"71", "1", u'N', 0, false, {}, {}}).number; });
    std::thread tb([&] { nb = issue::saveDocument(b, {"72", "1", u'N', 0, false, {}, {}}).number; });
    ta.join();
    tb.join();
    EXPECT_EQ(std::min(na, nb), 3241001);
    EXPECT_EQ(std::max(na, nb), 3241002);
    EXPECT_EQ(count(QStringLiteral("select count(*) from dlrad where CISLODOKLA=%1 and JKPOV='A'").arg(na)), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from dlrad where CISLODOKLA=%1 and JKPOV='B'").arg(nb)), 1);
    for (const char* pc : {"71", "72"}) db::runScript(a, issue::closeBatch(pc));
}

TEST_F(EditorTest, ADuplicateNumberIsTakenAgain) {
    // Another program that does not take the series lock commits 3241001 after this save read the
    // highest number: the batch fails on the key and the save numbers afresh.
    prepareScratch(db(), "71", "A");
    db::Connection other;
    other.setSettings(test::testServerSettings());
    other.open();
    other.execute("START TRANSACTION");
    other.execute("INSERT INTO dl (CISLODOKLA, STREDISKO) VALUES (3241001, '1')");
    std::thread commit([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.execute("COMMIT");
    });
    QList<qint64> numbers;
    const qint64 n = issue::saveDocument(db(), {"71", "1", u'N', 0, false, {}, {}}, [&](qint64 x) { numbers << x; }).number;
    commit.join();
    EXPECT_EQ(numbers, QList<qint64>({3241001, 3241002}));
    EXPECT_EQ(n, 3241002);
    EXPECT_EQ(count("select count(*) from dlrad where CISLODOKLA=3241002"), 1);
    db::runScript(db(), issue::closeBatch("71"));
}
