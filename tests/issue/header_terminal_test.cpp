#include "editorfixture.h"

#include "common/gridmodel.h"
#include "issue/linelogic.h"
#include "issue/tfterm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

using namespace dorvik;
using test::EditorTest;

TEST_F(EditorTest, CustomerByIco) {
    struct Case {
        bool internal;
        const char* ico;
        const char* name; // nullptr: "IČO nenalezeno."
        const char* discount; // nullptr: no label
    };
    const QList<Case> cases{
        {false, "12345678", "Stavebniny s.r.o.", "Sleva 8 %"},
        {false, "87654321", "Zahrady a.s.", "Sleva 2,5 %"},
        {false, "11223344", "Bez slevy", nullptr},
        {false, "5", nullptr, nullptr},          // an internal unit is not a customer
        {false, "", nullptr, nullptr},
        {true, "5", "Dílna", nullptr},
        {true, "12345678", nullptr, nullptr},    // a customer is not an internal unit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ico);
        prompter.asked.clear();
        auto w = openEditor(u'N', 0, c.internal, false);
        QLineEdit* ico = child(w.get(), "EditICO");
        ico->setFocus();
        QTest::keyClicks(ico, c.ico);
        QTest::keyClick(ico, Qt::Key_Tab);
        auto* discount = child<QLabel>(w.get(), "Label20");
        if (c.name) {
            EXPECT_TRUE(prompter.asked.isEmpty());
            EXPECT_EQ(text(w.get(), "DBEdit8"), QString::fromUtf8(c.name));
            EXPECT_EQ(discount->isVisible(), c.discount != nullptr);
            if (c.discount) {
                EXPECT_EQ(discount->text(), QString::fromUtf8(c.discount));
            }
        } else {
            EXPECT_EQ(prompter.lastText(), QString::fromUtf8("IČO nenalezeno."));
            EXPECT_EQ(QApplication::focusWidget(), ico);
            EXPECT_EQ(text(w.get(), "DBEdit8"), "");
            EXPECT_FALSE(discount->isVisible());
        }
    }
}

TEST_F(EditorTest, IcoFillsTheHeaderAndLeavingTowardsZpetSkipsTheLookup) {
    auto w = openEditor();
    QLineEdit* ico = child(w.get(), "EditICO");
    ico->setFocus();
    QTest::keyClicks(ico, "12345678");
    QTest::keyClick(ico, Qt::Key_Tab);
    press(w.get(), "Button9");
    const db::ResultSet saved = query("select ICO, NAZEVPODNI, SIDLO, ULICECISLO, PSC, POSTA, DIC from dl");
    ASSERT_EQ(saved.rowCount(), 1);
    EXPECT_EQ(saved.text(0, "ICO"), "12345678");
    EXPECT_EQ(saved.text(0, "ULICECISLO"), QString::fromUtf8("Dlouhá 1"));
    EXPECT_EQ(saved.text(0, "PSC"), "60200");
    EXPECT_EQ(saved.text(0, "POSTA"), "Brno 2");
    EXPECT_EQ(saved.text(0, "DIC"), "CZ12345678");

    auto w2 = openEditor();
    prompter.asked.clear();
    QLineEdit* ico2 = child(w2.get(), "EditICO");
    ico2->setFocus();
    QTest::keyClicks(ico2, "999");
    child<QPushButton>(w2.get(), "Button10")->setFocus();
    EXPECT_TRUE(prompter.asked.isEmpty());
    // Leaving DIČ looks the IČO up as well.
    child(w2.get(), "suiDBEdit1")->setFocus();
    QTest::keyClick(child(w2.get(), "suiDBEdit1"), Qt::Key_Tab);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("IČO nenalezeno."));
}

namespace {

// Answers the terminal list window once it is shown: takes the list of the customer, or
// cancels when the customer is null.
void answerTerminal(const char* customer, bool create = true) {
    QTimer::singleShot(0, [customer, create] {
        auto* lists = qobject_cast<issue::TFterm*>(QApplication::activeModalWidget());
        ASSERT_NE(lists, nullptr);
        if (customer) lists->lists().locate("odberatel", QString::fromUtf8(customer));
        lists->findChild<QPushButton*>(create ? "suiButton1" : "Button5")->click();
    });
}

} // namespace

class TerminalTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        exec("INSERT INTO dlterm (ODBERATEL, DATUMCAS, CAS, STREDISKO, JKPOV, MNOZ, NAZEV, PC, DPH, PCSD) VALUES"
             " ('X', '2024-06-01 08:00', '08:00', '1', 'HREBIK', 3, 'stary nazev', 1, 0, 1),"
             " ('X', '2024-06-01 08:05', '08:05', '1', 'SROUB', 0.125, '', 1, 0, 1),"
             " ('Y', '2024-06-01 09:00', '09:00', '1', 'HREBIK', 1, '', 1, 0, 1),"
             " ('X', '2024-06-01 09:30', '09:30', '2', 'HREBIK', 5, '', 1, 0, 1),"
             " ('X', '2024-06-01 09:40', '09:40', '1', 'ZADNE', 1, 'zachyceno', 7, 21, 8.47)");
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QTemporaryDir dir;
    QString previous;
};

TEST_F(TerminalTest, WindowRefreshesListsAndDeletes) {
    issue::TFterm w(db(), "1");
    w.show();
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Seznam pro vytvoření dodacího listu"));
    EXPECT_EQ(query("select NAZEV, PC from dlterm where ODBERATEL='X' and JKPOV='HREBIK' and STREDISKO='1'").text(0, 0),
              QString::fromUtf8("Hřebík 40"));
    EXPECT_EQ(query("select PC from dlterm where STREDISKO='2'").number(0, 0), 99);
    EXPECT_EQ(query("select NAZEV from dlterm where JKPOV='ZADNE'").text(0, 0), "zachyceno");
    ASSERT_EQ(w.lists().rowCount(), 2);
    w.lists().locate("odberatel", "X");
    EXPECT_EQ(w.lines().rowCount(), 3);
    EXPECT_EQ(w.lists().index(w.lists().currentRow(), 3).data().toString(), "37,31"); // 3*10 + 0,125*2,5 + 7
    prompter.answer(1);
    w.findChild<QPushButton*>("suiButton2")->click();
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Opravdu smazat záznam?"));
    EXPECT_EQ(count("select count(*) from dlterm"), 5);
    w.findChild<QPushButton*>("suiButton2")->click();
    EXPECT_EQ(count("select count(*) from dlterm where STREDISKO='1' and ODBERATEL='X'"), 0);
    EXPECT_EQ(count("select count(*) from dlterm"), 2);
    EXPECT_EQ(w.lists().rowCount(), 1);
}

TEST_F(TerminalTest, ImportIntoANewDocumentAndSave) {
    auto w = openEditor();
    addLine(w.get(), "7", "1");
    answerTerminal("X");
    press(w.get(), "suiButton2");
    EXPECT_EQ(w->terminalKey(), "X");
    const db::ResultSet lines = query("select JKPOV, MNOZ, PC, PCR, CENAR, NC, EAN, POVAHA from tmp01dlrad order by JKPOV");
    ASSERT_EQ(lines.rowCount(), 3);
    EXPECT_EQ(lines.text(0, "JKPOV"), "HREBIK");
    EXPECT_DOUBLE_EQ(lines.number(0, "PCR"), 30);
    EXPECT_DOUBLE_EQ(lines.number(0, "CENAR"), 18);
    EXPECT_EQ(lines.text(0, "EAN"), "8594001234567");
    EXPECT_DOUBLE_EQ(lines.number(1, "PCR"), 0.31); // 0,3125 rounded half away from zero
    EXPECT_EQ(lines.text(1, "POVAHA"), "K");
    EXPECT_DOUBLE_EQ(lines.number(2, "PCR"), 7);
    EXPECT_EQ(text(w.get(), "EditSoucetV"), "37,31");
    QFile trace(dir.filePath("a4.txt"));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QString written = QString::fromLatin1(trace.readAll());
    EXPECT_TRUE(written.startsWith("START TRANSACTION;\r\nDELETE from tmp01dlrad;\r\nINSERT into tmp01dlrad")) << written.toStdString();
    EXPECT_TRUE(written.contains(" and odberatel='X');")) << written.toStdString();

    press(w.get(), "Button9");
    EXPECT_EQ(w->documentNumber(), issue::numberBase(QDate::currentDate().year(), false, "1") + 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from dlrad where CISLODOKLA=%1").arg(w->documentNumber())), 3);
    EXPECT_EQ(count("select count(*) from dlterm where STREDISKO='1' and ODBERATEL='X'"), 0);
    EXPECT_EQ(count("select count(*) from dlterm"), 2); // Y and the other cost centre's X
}

TEST_F(TerminalTest, ImportIntoACorrectionAndCancelledSecondImport) {
    exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM) VALUES (3241005, '1', '2024-05-02')");
    exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV) VALUES (3241005, '1', 'STARA')");
    auto w = openEditor(u'O', 3241005);
    answerTerminal("Y");
    press(w.get(), "suiButton2");
    EXPECT_EQ(w->terminalKey(), "Y");
    answerTerminal(nullptr, false);
    press(w.get(), "suiButton2");
    EXPECT_EQ(w->terminalKey(), ""); // ZPĚT keeps the lines but forgets the list
    answerTerminal("Y");
    press(w.get(), "suiButton2");
    press(w.get(), "Button9");
    EXPECT_EQ(w->documentNumber(), 3241005);
    const db::ResultSet lines = query("select JKPOV, PCR from dlrad where CISLODOKLA=3241005");
    ASSERT_EQ(lines.rowCount(), 1);
    EXPECT_EQ(lines.text(0, "JKPOV"), "HREBIK");
    EXPECT_DOUBLE_EQ(lines.number(0, "PCR"), 10);
    EXPECT_EQ(count("select count(*) from dlterm where ODBERATEL='Y'"), 0);
    EXPECT_EQ(count("select count(*) from dlterm where ODBERATEL='X'"), 4);
}
