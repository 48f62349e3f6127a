#include "app/tform1.h"
#include "common/gridmodel.h"
#include "common/gridroles.h"
#include "support/dbfixture.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace dorvik;
using app::TForm1;

namespace {

class RegisterTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        qputenv("DORVIK_STATE_DIR", dir.path().toUtf8());
        resetTables({"dl", "dlrad", "strediska"});
        exec("INSERT INTO strediska (STREDISKO, ICO) VALUES ('1', '27354910'), ('11', '12345678')");
        // Blank and empty invoice numbers both count as not invoiced; vnitro 2 is internal.
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, CISLOFAKT, VNITRO, NAZEVPODNI, datumzauct, datumzaucf) VALUES"
             " (3261001, '1', '2026-03-01', ' ', 0, 'Blank', '1999-11-11', NULL),"
             " (3261002, '1', '2026-03-02', '', 0, 'Empty', NULL, '2014-01-31'),"
             " (3261003, '1', '2013-05-02', '6131001', 0, 'Invoiced', NULL, NULL),"
             " (4261001, '1', '2026-04-01', '', 1, 'Slip', NULL, NULL),"
             " (4261002, '1', '2026-04-02', '', 2, 'Slip two', NULL, NULL),"
             " (32611001, '11', '2026-04-02', '', 0, 'Other centre', NULL, NULL)");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MNOZ, PC, PCR) VALUES"
             " (3261001, '1', 'A1', 'Hřebík', 1234.5, 2.5, 3086.25), (3261001, '1', 'A2', 'Šroub', 2, 1, 2),"
             " (3261002, '1', 'B1', 'Matka', 1, 1, 1)");
        writeIni(port());
    }

    int port() const { return test::testServerSettings().port; }
    void writeIni(int sqlPort, const char* centrum = "A") {
        QFile f(dir.filePath("velmo.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[LogON]\r\nIP=127.0.0.1\r\nSQLport=%1\r\nCisloPC=01\r\nStredisko=1\r\ncentrum=%2\r\n"
                               "Terminal=1\r\ntestovatVerzi=X\r\n")
                    .arg(sqlPort)
                    .arg(centrum)
                    .toUtf8());
    }
    std::unique_ptr<TForm1> openRegister() {
        auto form = std::make_unique<TForm1>(dir.filePath("velmo.ini"));
        form->show();
        QCoreApplication::processEvents(); // the show-time steps run once the window is up
        return form;
    }
    static QStringList listed(TForm1& f) {
        QStringList names;
        for (int r = 0; r < f.documents().rowCount(); ++r)
            names << f.documents().result().text(f.documents().sourceRow(r), "NAZEVPODNI");
        return names;
    }
    static bool enabled(TForm1& f, const char* name) { return f.findChild<QAction*>(name)->isEnabled(); }
    static void click(TForm1& f, const char* button) { f.findChild<QPushButton*>(button)->click(); }

    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
};

TEST_F(RegisterTest, ModesListTheirDocumentsAndSetTheMenu) {
    auto f = openRegister();
    EXPECT_EQ(f->findChild<QLabel*>("Label1")->text(), "1");
    EXPECT_EQ(f->ownIco(), "27354910");
    EXPECT_EQ(listed(*f), QStringList({"Blank", "Empty"}));
    EXPECT_FALSE(f->findChild<QPushButton*>("ButtonDL")->isEnabled());
    EXPECT_FALSE(enabled(*f, "TiskFaktury"));
    EXPECT_TRUE(enabled(*f, "GeneraceFaktury"));
    EXPECT_EQ(f->lines().rowCount(), 2);
    EXPECT_EQ(f->lines().index(0, 2).data().toString(), "1 234,5");
    EXPECT_EQ(f->lines().index(0, 5).data().toString(), "3 086,25");
    // The search dialog lists fields by name and refuses letters in number columns.
    EXPECT_EQ(f->documents().headerData(0, Qt::Horizontal, common::FieldNameRole).toString(), "CISLODOKLA");
    EXPECT_TRUE(f->documents().headerData(0, Qt::Horizontal, common::NumericColumnRole).toBool());
    EXPECT_FALSE(f->documents().headerData(8, Qt::Horizontal, common::NumericColumnRole).toBool());

    click(*f, "ButtonFA");
    EXPECT_EQ(listed(*f), QStringList({"Invoiced"}));
    EXPECT_FALSE(enabled(*f, "NovyDoklad"));
    EXPECT_FALSE(enabled(*f, "GeneraceFaktury"));
    EXPECT_TRUE(enabled(*f, "TiskFaktury"));
    int opened = 0;
    f->editorOpener = [&](const app::EditorRequest&) { return ++opened, qint64(0); };
    QTest::keyClick(f.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(opened, 0);

    click(*f, "ButtonVP");
    EXPECT_EQ(listed(*f), QStringList({"Slip", "Slip two"}));
    EXPECT_FALSE(enabled(*f, "GeneraceFaktury"));
    EXPECT_FALSE(enabled(*f, "TiskFaktury"));
    f->documents().setCurrentRow(1);
    EXPECT_FALSE(enabled(*f, "GeneraceFaktury"));
    EXPECT_EQ(f->lines().rowCount(), 0);
    EXPECT_TRUE(f->findChild<QAction*>("KontrolaVerze")->isVisible() == false);
}

TEST_F(RegisterTest, CorrectionGuardAndEditorInputs) {
    auto f = openRegister();
    QList<app::EditorRequest> requests;
    f->editorOpener = [&](const app::EditorRequest& r) {
        requests << r;
        return r.documentNumber;
    };
    f->OpravitDokladClick(); // datumzauct 1999-11-11: not posted
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].documentMode, 'O');
    EXPECT_EQ(requests[0].documentNumber, 3261001);
    EXPECT_TRUE(requests[0].terminalEnabled);

    f->documents().setCurrentRow(1); // datumzaucf 2014-01-31: posted
    f->OpravitDokladClick();
    EXPECT_EQ(requests.size(), 1);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Doklad nelze opravit. Je již zaúčtován."));
    EXPECT_EQ(prompter.asked.last().icon, common::MessageIcon::Stop);
    EXPECT_EQ(prompter.asked.last().caption, "Dorvik");

    click(*f, "ButtonVP");
    f->documents().setCurrentRow(1); // vnitro 2
    f->OpravitDokladClick();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_FALSE(requests[1].internal);
    EXPECT_EQ(f->documents().result().integer(f->currentDocumentRow(), "CISLODOKLA"), 4261002);
}

TEST_F(RegisterTest, SavedDocumentBecomesTheCurrentRow) {
    auto f = openRegister();
    f->editorOpener = [&](const app::EditorRequest& r) {
        EXPECT_EQ(r.documentMode, 'N');
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, NAZEVPODNI) VALUES (3261009, '1', NOW(), 'New')");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV) VALUES (3261009, '1', 'N1', 'Nové')");
        return qint64(3261009);
    };
    f->findChild<QAction*>("NovyDoklad")->trigger();
    EXPECT_EQ(f->documents().result().text(f->currentDocumentRow(), "NAZEVPODNI"), "New");
    ASSERT_EQ(f->lines().rowCount(), 1);
    EXPECT_EQ(f->lines().result().text(0, "JKPOV"), "N1");
}

TEST_F(RegisterTest, AfterTheEditorTheRegisterStaysOnItsDocumentNotOnItsRowIndex) {
    auto f = openRegister();
    f->documents().setCurrentRow(1); // "Empty"
    const auto current = [&] { return f->documents().result().text(f->currentDocumentRow(), "NAZEVPODNI"); };
    ASSERT_EQ(current(), "Empty");
    // Another workstation saved a document that sorts first; this editor closed on "Zpět".
    f->editorOpener = [&](const app::EditorRequest&) {
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, CISLOFAKT, NAZEVPODNI) VALUES (3260999, '1', '2026-02-01', '', 'Meanwhile')");
        return qint64(0);
    };
    f->findChild<QAction*>("NovyDoklad")->trigger();
    EXPECT_EQ(listed(*f), QStringList({"Meanwhile", "Blank", "Empty"}));
    EXPECT_EQ(current(), "Empty");

    // The current document left the list (invoiced meanwhile): no jump to its old index's neighbour.
    f->editorOpener = [&](const app::EditorRequest&) {
        exec("UPDATE dl SET CISLOFAKT = '6261001' WHERE CISLODOKLA = 3261002");
        return qint64(0);
    };
    f->findChild<QAction*>("NovyDoklad")->trigger();
    EXPECT_EQ(listed(*f), QStringList({"Meanwhile", "Blank"}));
    EXPECT_EQ(current(), "Meanwhile");
}

TEST_F(RegisterTest, InvoiceGenerationMovesTheDocumentToFa) {
    resetTables({"fakt", "velmo"});
    exec("INSERT INTO velmo (uzavreneuo) VALUES ('201312')");
    auto f = openRegister();
    f->documents().setCurrentRow(1); // "Empty": delivery note 3261002
    QTimer::singleShot(0, [] {
        auto* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Vytvoření faktury"));
        window->findChild<QPushButton*>("Button1")->click();
    });
    f->findChild<QAction*>("GeneraceFaktury")->trigger();
    EXPECT_TRUE(prompter.lastText().startsWith(QString::fromUtf8("Vytvořena faktura "))) << prompter.lastText().toStdString();
    EXPECT_EQ(listed(*f), QStringList({"Blank"}));
    EXPECT_EQ(query("SELECT COUNT(*) FROM dl WHERE CISLODOKLA = 3261002 AND CISLOFAKT <> ''").integer(0, 0), 1);
    click(*f, "ButtonFA");
    EXPECT_EQ(listed(*f), QStringList({"Empty", "Invoiced"}));
}

TEST_F(RegisterTest, YearIsRememberedAndAppliedToTheFirstList) {
    {
        auto f = openRegister();
        auto* year = f->findChild<QComboBox*>("suiComboBoxRok");
        EXPECT_EQ(year->itemText(0), QString::fromUtf8("Vše"));
        year->setCurrentIndex(year->findText("2013"));
        EXPECT_TRUE(listed(*f).isEmpty()); // no delivery note of 2013: the lines go too
        EXPECT_EQ(f->lines().rowCount(), 0);
        f->close();
    }
    auto f = openRegister();
    EXPECT_EQ(f->findChild<QComboBox*>("suiComboBoxRok")->currentText(), "2013");
    EXPECT_TRUE(listed(*f).isEmpty());
    click(*f, "ButtonFA");
    EXPECT_EQ(listed(*f), QStringList({"Invoiced"}));
}

TEST_F(RegisterTest, CostCentreChoiceTakesAnyTypedCode) {
    auto f = openRegister();
    ASSERT_TRUE(f->findChild<QMenu*>("MenuCentrum")->isEnabled());
    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Vyber číslo střediska"));
        auto* combo = dialog->findChild<QComboBox*>();
        EXPECT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->currentText(), "1");
        combo->setEditText("11");
        dialog->close(); // the title bar's close button takes the text too
    });
    f->StrediskoClick();
    EXPECT_EQ(f->findChild<QLabel*>("Label1")->text(), "11");
    EXPECT_EQ(listed(*f), QStringList({"Other centre"}));
    EXPECT_EQ(f->ownIco(), "12345678");

    QTimer::singleShot(0, [] {
        auto* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QComboBox*>()->setEditText("999");
        dialog->findChild<QPushButton*>("ButtonOK")->click();
    });
    f->StrediskoClick();
    EXPECT_EQ(f->costCentre(), "999");
    EXPECT_TRUE(listed(*f).isEmpty());
    EXPECT_EQ(f->ownIco(), "");
}

TEST_F(RegisterTest, CentrumOffDisablesTheMenu) {
    writeIni(port(), "a");
    auto f = openRegister();
    EXPECT_FALSE(f->centrumMode());
}

TEST_F(RegisterTest, ServisOpensTheMasterDataWindows) {
    auto f = openRegister();
    QList<app::MasterDataWindow> opened;
    f->masterDataOpener = [&](app::MasterDataWindow w) { opened << w; };
    for (const char* action : {"Adresar", "Zakazky", "ZakaznickeKarty"}) f->findChild<QAction*>(action)->trigger();
    EXPECT_EQ(opened, QList<app::MasterDataWindow>({app::MasterDataWindow::Addresses, app::MasterDataWindow::Orders,
                                                    app::MasterDataWindow::Cards}));
}

TEST_F(RegisterTest, ConnectionFailureSkipsTheRestAndTheNextCommandConnectsAgain) {
    writeIni(1); // nothing listens on port 1
    auto f = openRegister();
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_FALSE(prompter.lastText().isEmpty());
    EXPECT_EQ(f->findChild<QLabel*>("Label1")->text(), "");
    EXPECT_TRUE(f->findChild<QPushButton*>("ButtonDL")->isEnabled());
    EXPECT_EQ(f->documents().rowCount(), 0);

    click(*f, "ButtonFA"); // tries the connection again and reports the same way
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_FALSE(f->connection().isOpen());
}

TEST_F(RegisterTest, CtrlCCopiesTheSelectedRowsWithTitles) {
    auto f = openRegister();
    auto* lines = f->findChild<QTableView*>("DBGrid2");
    lines->setFocus();
    QTest::keyClick(lines, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
    QStringList copied = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(copied.size(), 4) << "titles, two rows, the closing line break";
    EXPECT_EQ(copied[0], "JKP\tNázev\tMnožství\tMJ\tCena\tCelkem řádek\tDPH\tVYDEJKA");
    EXPECT_TRUE(copied[1].startsWith("A1\tHřebík\t1234,5\t")) << "numbers without grouping: " << copied[1].toStdString();
    EXPECT_TRUE(copied[1].contains("\t3086,25\t"));
    EXPECT_TRUE(copied[2].startsWith("A2\tŠroub\t2\t"));
    EXPECT_EQ(copied[3], "");

    // One selected document: its row alone; the list keeps it current.
    auto* documents = f->findChild<QTableView*>("DBGrid1");
    documents->setFocus();
    QTest::keyClick(documents, Qt::Key_Down);
    QTest::keyClick(documents, Qt::Key_C, Qt::ControlModifier);
    copied = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(copied.size(), 3);
    EXPECT_TRUE(copied[0].startsWith("Číslo dokladu\tStředisko\tDatum\t"));
    EXPECT_TRUE(copied[1].startsWith("3261002\t1\t")) << copied[1].toStdString();
    EXPECT_EQ(f->documents().result().text(f->documents().sourceRow(f->documents().currentRow()), "NAZEVPODNI"), "Empty");
}

} // namespace
