#include "editorfixture.h"

#include "common/gridmodel.h"
#include "common/gridview.h"

#include <QDateEdit>

using namespace dorvik;
using test::EditorTest;

namespace {

bool tableExists(test::EditorTest&, db::Connection& c, const char* name) {
    return c.query(QStringLiteral("SHOW TABLES LIKE '%1'").arg(QLatin1String(name))).rowCount() == 1;
}

} // namespace

TEST_F(EditorTest, NewDocumentOpensEmptyAndZpetWritesNothing) {
    exec("CREATE TABLE IF NOT EXISTS tmp01dlrad10 (a INT)");
    auto w = openEditor();
    for (const char* t : {"tmp01dl", "tmp01dlrad", "tmp01stav"}) EXPECT_TRUE(tableExists(*this, db(), t)) << t;
    EXPECT_EQ(w->windowTitle(), "Dorvik");
    EXPECT_EQ(child<QDateEdit>(w.get(), "DBDateEdit1")->date(), QDate::currentDate());
    EXPECT_EQ(QApplication::focusWidget(), child<QDateEdit>(w.get(), "DBDateEdit1"));
    EXPECT_EQ(text(w.get(), "EditICO"), "");
    EXPECT_EQ(text(w.get(), "EditSoucetC"), "0,00");
    EXPECT_FALSE(child<QLabel>(w.get(), "Label15")->isVisible());

    addLine(w.get(), "7", "2");
    EXPECT_EQ(count("select count(*) from tmp01dlrad"), 1);
    EXPECT_EQ(text(w.get(), "EditSoucetV"), "20,00");
    press(w.get(), "Button10");
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->documentNumber(), 0);
    EXPECT_EQ(count("select count(*) from dl"), 0);
    EXPECT_EQ(count("select count(*) from dlrad"), 0);
    for (const char* t : {"tmp01dl", "tmp01dlrad", "tmp01stav", "tmp01dlrad10"})
        EXPECT_FALSE(tableExists(*this, db(), t)) << t;
}

TEST_F(EditorTest, CodeEntry) {
    struct Case {
        const char* typed;
        const char* item; // nullptr: refused with the message
        const char* message;
    };
    const QString notFound = QStringLiteral("Položka nenalezena.");
    const QList<Case> cases{
        {"7", "HREBIK", nullptr},                  // fast number
        {"0007", "HREBIK", nullptr},               // four characters are still a fast number
        {"8", nullptr, "Položka nenalezena."},     // no such fast number
        {"8594001234567", "HREBIK", nullptr},      // own EAN, 13
        {"12345670", "SROUB", nullptr},            // own EAN, 8
        {"5°°8594001234567", "HREBIK", nullptr},   // scanned prefix
        {"5~~8594001234567", "HREBIK", nullptr},   // the same on a US layout
        {"ěščř", "SROUB", nullptr},                // Czech digit row: 2345
        {"NULOVY", nullptr, "Položka není na skladě"},
        {"MINUS", "MINUS", nullptr},               // negative stock passes
        {"STARY", "STARY", nullptr},               // inactive by its code
        {"8590000000026", "STARY", nullptr},       // inactive by an extra EAN
        {"99", nullptr, "Položka nenalezena."},    // but not by its fast number
        {"8590000000019", nullptr, "Položka nenalezena."}, // nor by its own EAN
        {"PRACE", "PRACE", nullptr},               // service: no stock check
        {"XYZ12345", nullptr, "Položka nenalezena."}, // eight characters are an EAN only
        {"NIC", nullptr, "Položka nenalezena."},
        {"NICNIC", nullptr, "Položka nenalezena."},
    };
    auto w = openEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        prompter.asked.clear();
        press(w.get(), "Button2");
        scan(w.get(), QString::fromUtf8(c.typed));
        if (c.item) {
            EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
            EXPECT_EQ(text(w.get(), "EditJKP"), QLatin1String(c.item));
            EXPECT_EQ(QApplication::focusWidget(), child(w.get(), "DBEdit4"));
            EXPECT_EQ(child<QPushButton>(w.get(), "suiButton3")->isVisible(), QLatin1String(c.item) == "PRACE");
        } else {
            EXPECT_EQ(prompter.lastText(), QString::fromUtf8(c.message));
            EXPECT_EQ(prompter.asked.last().caption, QString::fromUtf8("Vezorar výdej"));
            EXPECT_EQ(text(w.get(), "EditJKP"), "");
            EXPECT_EQ(QApplication::focusWidget(), child(w.get(), "Edit1"));
        }
        press(w.get(), "Button5");
    }
    EXPECT_EQ(text(w.get(), "Edit1"), QString::fromUtf8("NICNIC"));
    EXPECT_EQ(count("select count(*) from tmp01dlrad"), 0);
}

TEST_F(EditorTest, ARefusedCodeIsReplacedByTheNextScanAndAScannedPrefixIsTheQuantity) {
    auto w = openEditor();
    press(w.get(), "Button2");
    scan(w.get(), "NIC");
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Položka nenalezena."));
    QApplication::processEvents();
    EXPECT_EQ(child<QLineEdit>(w.get(), "Edit1")->selectedText(), "NIC");
    prompter.asked.clear();
    scan(w.get(), QString::fromUtf8("2°°8594001234567"));
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(text(w.get(), "EditJKP"), "HREBIK");
    EXPECT_EQ(text(w.get(), "DBEdit4"), "2");
    QTest::keyClick(child(w.get(), "DBEdit4"), Qt::Key_Return, Qt::ControlModifier);
    const db::ResultSet line = query("select JKPOV, MNOZ, PCR from tmp01dlrad");
    ASSERT_EQ(line.rowCount(), 1);
    EXPECT_DOUBLE_EQ(line.number(0, "MNOZ"), 2);
    EXPECT_DOUBLE_EQ(line.number(0, "PCR"), 20);

    press(w.get(), "Button2");
    scan(w.get(), "8594001234567");
    EXPECT_EQ(text(w.get(), "EditJKP"), "HREBIK");
    EXPECT_NE(text(w.get(), "DBEdit4"), "2") << "without a prefix the quantity is not filled";
}

TEST_F(EditorTest, TheTotalWithVatIsTheInvoicesTotal) {
    exec("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, POVAHA, MJ, PC, DPH, NC, EAN, FOFRCISLO, ZUSTATEK, AKTIVNI, POPIS)"
         " VALUES ('1', 'BARVA', 'Barva', '', 'ks', 33.33, 12, 20, '', 0, 10, 'A', '')");
    auto w = openEditor();
    EXPECT_EQ(text(w.get(), "EditCelkemDPH"), "0,00");
    EXPECT_TRUE(child(w.get(), "EditCelkemDPH")->isReadOnly());
    addLine(w.get(), "7", "1");     // 10,00 at 21 %
    addLine(w.get(), "BARVA", "3"); // 99,99 at 12 %: VAT 11,9988, rounded per rate to 12,00
    EXPECT_EQ(text(w.get(), "EditSoucetC"), "109,99");
    EXPECT_EQ(text(w.get(), "EditCelkemDPH"), "124,09");
}

TEST_F(EditorTest, CodeEntryFillsTheLineAndOwnIcoKeepsDescriptions) {
    for (const char* own : {"11111111", "27354910"}) {
        SCOPED_TRACE(own);
        ownIco = QLatin1String(own);
        auto w = openEditor();
        addLine(w.get(), "7", "2");
        const db::ResultSet line = query("select * from tmp01dlrad");
        ASSERT_EQ(line.rowCount(), 1);
        EXPECT_EQ(line.text(0, "JKPOV"), "HREBIK");
        EXPECT_EQ(line.text(0, "NAZEV"), QString::fromUtf8("Hřebík 40"));
        EXPECT_EQ(line.text(0, "EAN"), "8594001234567");
        EXPECT_EQ(line.integer(0, "FOFRCISLO"), 7);
        EXPECT_EQ(line.text(0, "STREDISKO"), "1");
        EXPECT_DOUBLE_EQ(line.number(0, "ZUSTATEK"), 3);
        EXPECT_DOUBLE_EQ(line.number(0, "CENAR"), 12);
        EXPECT_DOUBLE_EQ(line.number(0, "PCR"), 20);
        EXPECT_FALSE(line.isNull(0, "KDY"));
        EXPECT_EQ(line.text(0, "POPIS"), ownIco == "27354910" ? "" : "popis");
    }
}

TEST_F(EditorTest, InternalModePricesAtPurchasePrice) {
    auto w = openEditor(u'N', 0, true, false);
    EXPECT_TRUE(child<QLabel>(w.get(), "Label15")->isVisible());
    EXPECT_EQ(child<QLabel>(w.get(), "LabelPC")->text(), "NC");
    EXPECT_FALSE(child<QPushButton>(w.get(), "suiButton2")->isEnabled());

    addLine(w.get(), "7", "2");
    press(w.get(), "Button2");
    scan(w.get(), "PRACE");
    EXPECT_FALSE(child(w.get(), "DBEdit5")->isReadOnly());
    EXPECT_EQ(text(w.get(), "DBEdit5"), "300");
    QTest::keyClick(child(w.get(), "DBEdit4"), Qt::Key_1);
    QTest::keyClick(child(w.get(), "DBEdit4"), Qt::Key_Return, Qt::ControlModifier);
    const db::ResultSet lines = query("select JKPOV, PC, DPH, CENAR, PCR from tmp01dlrad order by JKPOV");
    ASSERT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(lines.text(0, "JKPOV"), "HREBIK");
    EXPECT_DOUBLE_EQ(lines.number(0, "PC"), 6);
    EXPECT_EQ(lines.integer(0, "DPH"), 0);
    EXPECT_DOUBLE_EQ(lines.number(0, "PCR"), lines.number(0, "CENAR"));
    EXPECT_DOUBLE_EQ(lines.number(1, "PC"), 300);
    EXPECT_EQ(lines.integer(1, "DPH"), 0);

    addLine(w.get(), "BEZNC", "1");
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Není vyplněna PC."));
    EXPECT_TRUE(w->lineOpen());
}

TEST_F(EditorTest, ExitStepRoundsWarnsAndComputes) {
    auto w = openEditor();
    press(w.get(), "Button2");
    scan(w.get(), "MINUS");
    QLineEdit* quantity = child(w.get(), "DBEdit4");
    QLineEdit* price = child(w.get(), "DBEdit5");
    quantity->selectAll();
    QTest::keyClicks(quantity, "0,03125");
    QTest::keyClick(quantity, Qt::Key_Return);
    EXPECT_EQ(quantity->text(), "0,0313");
    // Above the stock: a warning, and back to the quantity.
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Nelze. Na skladě pouze -2 kg"));
    EXPECT_EQ(QApplication::focusWidget(), quantity);
    price->setFocus();
    price->selectAll();
    QTest::keyClicks(price, "0,125");
    QTest::keyClick(price, Qt::Key_Tab);
    EXPECT_EQ(price->text(), "0,13");
    press(w.get(), "Button4");
    const db::ResultSet line = query("select MNOZ, PC, PCR, CENAR from tmp01dlrad");
    ASSERT_EQ(line.rowCount(), 1);
    EXPECT_DOUBLE_EQ(line.number(0, "MNOZ"), 0.0313);
    EXPECT_DOUBLE_EQ(line.number(0, "PC"), 0.13);
    EXPECT_DOUBLE_EQ(line.number(0, "CENAR"), 0.03);

    prompter.asked.clear();
    press(w.get(), "Button2");
    scan(w.get(), "7");
    quantity->selectAll();
    QTest::keyClicks(quantity, "4");
    QTest::keyClick(quantity, Qt::Key_Tab);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Nelze. Na skladě pouze 3 ks"));
    EXPECT_EQ(QApplication::focusWidget(), quantity);

    press(w.get(), "Button5");
    press(w.get(), "Button2");
    scan(w.get(), "SROUB");
    quantity->selectAll();
    QTest::keyClicks(quantity, "2,5");
    QTest::keyClick(quantity, Qt::Key_Tab);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Položka jen na celé KS."));
    // Ctrl+Enter while the quantity still has the focus applies the exit step first.
    quantity->selectAll();
    QTest::keyClicks(quantity, "3");
    QTest::keyClick(quantity, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(w->lineOpen());
    EXPECT_EQ(count("select count(*) from tmp01dlrad where JKPOV='SROUB' and MNOZ=3 and PCR=7.5 and CENAR=3"), 1);
}

TEST_F(EditorTest, ZapsatRefusals) {
    auto w = openEditor();
    press(w.get(), "Button2");
    QTest::keyClick(child(w.get(), "Edit1"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Položka nenalezena."));
    EXPECT_EQ(QApplication::focusWidget(), child(w.get(), "Edit1"));
    scan(w.get(), "7");
    QTest::keyClick(child(w.get(), "DBEdit4"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Není vyplněno množství."));
    EXPECT_TRUE(w->lineOpen());
    press(w.get(), "Button5");
    EXPECT_EQ(count("select count(*) from tmp01dlrad"), 0);
    EXPECT_FALSE(child<QWidget>(w.get(), "PanelRadek")->isVisible());
}

TEST_F(EditorTest, CorrectionTotalsAndDeletion) {
    exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, ICO, NAZEVPODNI) VALUES (3241005, '1', '2024-05-02 10:00:00', '12345678', 'Stavebniny s.r.o.')");
    exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, DPH, PCR) VALUES"
         " (3241005, '1', 'A', 10, 100), (3241005, '1', 'B', 15, 100), (3241005, '1', 'C', 21, 100), (3241005, '1', 'D', 0, 100)");
    auto w = openEditor(u'O', 3241005);
    EXPECT_EQ(text(w.get(), "EditICO"), "12345678");
    EXPECT_EQ(child<QDateEdit>(w.get(), "DBDateEdit1")->date(), QDate(2024, 5, 2));
    EXPECT_EQ(text(w.get(), "EditSoucetS"), "100,00");
    EXPECT_EQ(text(w.get(), "EditSoucetV"), "100,00");
    EXPECT_EQ(text(w.get(), "EditSoucetN"), "200,00");
    EXPECT_EQ(text(w.get(), "EditSoucetC"), "400,00");

    auto* grid = child<common::GridView>(w.get(), "DBGrid1");
    grid->gridModel()->setCurrentRow(0);
    prompter.answer(1); // Ne
    press(w.get(), "suiButton1");
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Opravdu smazat řádek?"));
    EXPECT_EQ(prompter.asked.last().buttons, QStringList({"Smazat", QString::fromUtf8("Ne")}));
    EXPECT_EQ(count("select count(*) from tmp01dlrad"), 4);
    press(w.get(), "suiButton1");
    EXPECT_EQ(count("select count(*) from tmp01dlrad where JKPOV='A'"), 0);
    EXPECT_EQ(text(w.get(), "EditSoucetS"), "0,00");
    EXPECT_EQ(text(w.get(), "EditSoucetC"), "300,00");
}
