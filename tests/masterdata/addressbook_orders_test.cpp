#include "masterdatafixture.h"
#include "masterdata/tfadre.h"
#include "masterdata/tfzakazky.h"
#include "db/cp1250.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QTableView>

using namespace dorvik;
using masterdata::TFadre;
using masterdata::TFzakazky;

namespace {

class AddressBookTest : public test::MasterDataTest {
protected:
    void SetUp() override {
        MasterDataTest::SetUp();
        resetTables({"adresar"});
        exec("INSERT INTO adresar (id, ICO, NAZEVPODNI, SIDLO, TELEFON, KOD_PLATCE, EMAILOBJ, SLEVA, KONTAKT, POZNAMKA) VALUES"
             " (5, '45274649', 'Novák stavebniny', 'Brno', '541 000 111', 'CZ45274649', 'obj@novak.cz', 2.5, 'p. Novák', 'platí včas'),"
             " (9, '26185610', 'Dvořák a syn', 'Praha', '', '', '', 0, '', '')");
        window.show();
    }

    TFadre window{db(), test::Workstation};
};

TEST_F(AddressBookTest, AddAndWriteWithNothingTypedStoresAnEmptyPartnerUnderANewId) {
    EXPECT_FALSE(panelShown(&window));
    EXPECT_EQ(listed(window.list(), "NAZEVPODNI"), QStringList({QString::fromUtf8("Dvořák a syn"), QString::fromUtf8("Novák stavebniny")}));
    press(&window, "Button2");
    EXPECT_TRUE(panelShown(&window));
    EXPECT_EQ(window.focusWidget(), child(&window, "EditICO"));
    press(&window, "Button4");
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_FALSE(panelShown(&window));
    EXPECT_EQ(count("select count(*) from adresar"), 3);
    const qint64 id = query("select max(id) from adresar").integer(0, 0);
    EXPECT_GT(id, 9);
    EXPECT_EQ(row("adresar", id), QStringList({QString::number(id), "", "", "", "", "", "", "", "", "", "0", "", ""}));
    // The new partner is the current row of the refreshed list.
    EXPECT_EQ(currentText(window.list(), "id"), QString::number(id));
}

TEST_F(AddressBookTest, EditAndWriteWithoutChangesKeepsTheIdAndEveryColumn) {
    const QStringList before = row("adresar", 5);
    select(window, 5);
    press(&window, "Button3");
    EXPECT_EQ(child(&window, "DBEdit8")->text(), QString::fromUtf8("Novák stavebniny"));
    EXPECT_EQ(child(&window, "suiDBEdit3")->text(), "2,5");
    press(&window, "Button4");
    EXPECT_EQ(row("adresar", 5), before);
    EXPECT_EQ(count("select count(*) from adresar"), 2);
}

TEST_F(AddressBookTest, TypedTextsAreStoredByteForByteAndHiddenColumnsStay) {
    select(window, 5);
    press(&window, "Button3");
    const QString name = QString::fromUtf8("O'Brien \\ \"Žluťoučký kůň\" ĚŠČŘŽÝÁÍÉ");
    retype(&window, "DBEdit8", name);
    retype(&window, "DBEdit7", QString::fromUtf8("Úvoz 7\\"));
    retype(&window, "suiDBEdit3", "12,75");
    press(&window, "Button4");
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    const db::ResultSet r = query("select NAZEVPODNI, HEX(NAZEVPODNI) h, ULICECISLO, SLEVA, KONTAKT, POZNAMKA from adresar where id = 5");
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.text(0, "NAZEVPODNI"), name);
    EXPECT_EQ(QByteArray::fromHex(r.text(0, "h").toLatin1()), db::toCp1250(name));
    EXPECT_EQ(r.text(0, "ULICECISLO"), QString::fromUtf8("Úvoz 7\\"));
    EXPECT_DOUBLE_EQ(r.number(0, "SLEVA"), 12.75);
    EXPECT_EQ(r.text(0, "KONTAKT"), QString::fromUtf8("p. Novák"));
    EXPECT_EQ(r.text(0, "POZNAMKA"), QString::fromUtf8("platí včas"));
}

TEST_F(AddressBookTest, ADiscountThatIsNoNumberIsRefusedAndTheEditStaysOpen) {
    const QStringList before = row("adresar", 5);
    select(window, 5);
    press(&window, "Button3");
    for (const char* bad : {"abc", "nan", "inf"}) {
        retype(&window, "suiDBEdit3", bad);
        press(&window, "Button4");
        EXPECT_TRUE(prompter.lastText().contains(QLatin1String(bad))) << bad;
        EXPECT_TRUE(panelShown(&window));
        EXPECT_EQ(row("adresar", 5), before);
    }
    retype(&window, "suiDBEdit3", "3");
    press(&window, "Button4");
    EXPECT_FALSE(panelShown(&window));
    EXPECT_EQ(query("select SLEVA from adresar where id = 5").number(0, 0), 3);
}

TEST_F(AddressBookTest, BackWritesNothing) {
    const QStringList before = row("adresar", 5);
    select(window, 5);
    press(&window, "Button3");
    retype(&window, "DBEdit8", "Jiné jméno");
    press(&window, "Button5");
    EXPECT_FALSE(panelShown(&window));
    EXPECT_EQ(row("adresar", 5), before);
    // A later write without an open edit does nothing either.
    window.Button4Click();
    EXPECT_EQ(row("adresar", 5), before);
}

TEST_F(AddressBookTest, DeleteAsksAndOnlyZrusitDeletes) {
    select(window, 5);
    prompter.answer(1);
    press(&window, "suiButton1");
    ASSERT_EQ(prompter.asked.size(), 1);
    const common::MessageRequest& asked = prompter.asked.first();
    EXPECT_EQ(asked.caption, QString::fromUtf8("Příjem vnitro"));
    EXPECT_EQ(asked.text, QString::fromUtf8("Opravdu zrušit adresu?"));
    EXPECT_EQ(asked.buttons, QStringList({QString::fromUtf8("Zrušit"), "Ne"}));
    EXPECT_EQ(asked.icon, common::MessageIcon::Question);
    EXPECT_EQ(count("select count(*) from adresar where id = 5"), 1);
    press(&window, "suiButton1");
    EXPECT_EQ(count("select count(*) from adresar where id = 5"), 0);
    EXPECT_EQ(listed(window.list(), "id"), QStringList({"9"}));
}

TEST_F(AddressBookTest, AFailingInsertLeavesThePartnerInPlaceAndTheEditOpen) {
    const QStringList before = row("adresar", 5);
    select(window, 5);
    press(&window, "Button3");
    retype(&window, "DBEdit10", "Olomouc");
    {
        RefusedInserts refused(*this, "adresar");
        press(&window, "Button4");
        EXPECT_EQ(prompter.lastText(), "insert refused");
        EXPECT_EQ(row("adresar", 5), before);
        EXPECT_TRUE(panelShown(&window));
        EXPECT_FALSE(db().inTransaction());
    }
    press(&window, "Button4");
    EXPECT_FALSE(panelShown(&window));
    EXPECT_EQ(query("select SIDLO from adresar where id = 5").text(0, 0), "Olomouc");
}

TEST_F(AddressBookTest, APartnerDeletedElsewhereIsNotOpenedAndLeavesTheList) {
    select(window, 5);
    exec("DELETE FROM adresar WHERE id = 5");
    press(&window, "Button3");
    EXPECT_TRUE(prompter.asked.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_FALSE(panelShown(&window));
    EXPECT_EQ(listed(window.list(), "id"), QStringList({"9"}));
}

TEST_F(AddressBookTest, DoubleClickDoesNothingAndClosingDropsTheScratchTable) {
    select(window, 5);
    doubleClickCurrent(&window);
    EXPECT_FALSE(panelShown(&window));
    press(&window, "Button3");
    EXPECT_TRUE(tableExists("tmp97adr"));
    press(&window, "Button1");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(tableExists("tmp97adr"));
}

class OrdersTest : public test::MasterDataTest {
protected:
    void SetUp() override {
        MasterDataTest::SetUp();
        resetTables({"zakazky", "adresar"});
        exec("INSERT INTO zakazky (id, ZAKAZKA, ICO, NAZEVPODNI, POPIS, DATUMOD, DATUMDO) VALUES"
             " (3, 'Z-02', '45274649', 'Novák stavebniny', 'Střecha', '2026-01-05 08:30:00', '2026-06-30 17:00:00'),"
             " (4, 'Z-01', '45274649', 'Novák stavebniny', 'Sklep', '2026-02-01 00:00:00', '2026-03-01 00:00:00'),"
             " (7, 'A-10', '26185610', 'Dvořák a syn', 'Fasáda', '2026-03-01 00:00:00', '2026-12-31 00:00:00')");
        exec("INSERT INTO adresar (ICO, NAZEVPODNI) VALUES ('12345678', 'Stavby Kříž')");
        window.show();
    }

    TFzakazky window{db(), test::Workstation, addresses};
};

TEST_F(OrdersTest, ListedByCustomerThenCodeAndAnOrderWithOnlyItsCodeHasBothDatesAtCreation) {
    EXPECT_EQ(listed(window.list(), "ZAKAZKA"), QStringList({"A-10", "Z-01", "Z-02"}));
    press(&window, "Button2");
    EXPECT_EQ(window.focusWidget(), child(&window, "DBEdit10"));
    test::typeText(child(&window, "DBEdit10"), "Z-01"); // duplicates are not checked
    press(&window, "Button4");
    const db::ResultSet r = query("select ZAKAZKA, DATUMOD, DATUMDO, TIMESTAMPDIFF(SECOND, DATUMOD, NOW()) age from zakazky where id > 7");
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.text(0, "ZAKAZKA"), "Z-01");
    EXPECT_EQ(r.text(0, "DATUMOD"), r.text(0, "DATUMDO"));
    EXPECT_LE(r.integer(0, "age"), 5);
    EXPECT_EQ(count("select count(*) from zakazky where ZAKAZKA = 'Z-01'"), 2);
}

TEST_F(OrdersTest, DoubleClickEditsAndAWriteWithoutChangesKeepsTheRow) {
    const QStringList before = row("zakazky", 3);
    select(window, 3);
    doubleClickCurrent(&window);
    ASSERT_TRUE(panelShown(&window));
    EXPECT_EQ(child(&window, "DBEdit10")->text(), "Z-02");
    EXPECT_EQ(child<QDateEdit>(&window, "DBDateEdit1")->date(), QDate(2026, 1, 5));
    press(&window, "Button4");
    EXPECT_EQ(row("zakazky", 3), before);
}

TEST_F(OrdersTest, AChangedDateKeepsItsTimeOfDay) {
    select(window, 3);
    press(&window, "ButtonOpravit");
    child<QDateEdit>(&window, "DBDateEdit2")->setDate(QDate(2026, 9, 30));
    press(&window, "Button4");
    EXPECT_EQ(query("select DATUMDO from zakazky where id = 3").text(0, 0), "2026-09-30 17:00:00");
}

TEST_F(OrdersTest, NabidkaTakesTheCustomerAndLeavingThePickerChangesNothing) {
    press(&window, "Button2");
    test::typeText(child(&window, "DBEdit10"), "N-1");
    whenModal([&](QWidget*) { addresses.Button2Click(); });
    press(&window, "Button6");
    EXPECT_EQ(child(&window, "EditICO")->text(), "");
    whenModal([&](QWidget*) { addresses.Button1Click(); });
    press(&window, "Button6");
    EXPECT_EQ(child(&window, "EditICO")->text(), "12345678");
    EXPECT_EQ(child(&window, "DBEdit8")->text(), QString::fromUtf8("Stavby Kříž"));
    press(&window, "Button4");
    EXPECT_EQ(query("select concat(ICO, '|', NAZEVPODNI, '|', ZAKAZKA) from zakazky where id > 7").text(0, 0),
              QString::fromUtf8("12345678|Stavby Kříž|N-1"));
}

TEST_F(OrdersTest, AFailingInsertLeavesTheOrderInPlaceAndClosingKeepsTheScratchTable) {
    const QStringList before = row("zakazky", 4);
    select(window, 4);
    press(&window, "ButtonOpravit");
    retype(&window, "DBEdit7", "Sklep a garáž");
    {
        RefusedInserts refused(*this, "zakazky");
        press(&window, "Button4");
    }
    EXPECT_EQ(prompter.lastText(), "insert refused");
    EXPECT_EQ(row("zakazky", 4), before);
    press(&window, "Button5");
    press(&window, "Button1");
    EXPECT_TRUE(tableExists("tmp97zak"));
}

TEST_F(OrdersTest, ATitleClickSortsTheListAndOpensTheSearch) {
    bool searched = false;
    whenModal([&](QWidget* search) { searched = search->windowTitle() == "Hledat"; });
    QHeaderView* header = child<QTableView>(&window, "DBGrid1")->horizontalHeader();
    const int column = window.list().columnOf("POPIS");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    EXPECT_TRUE(searched);
    EXPECT_EQ(listed(window.list(), "POPIS"), QStringList({QString::fromUtf8("Fasáda"), "Sklep", QString::fromUtf8("Střecha")}));
}

} // namespace
