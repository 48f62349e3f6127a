#include "common/columnsearchdialog.h"
#include "pickerfixture.h"
#include "pickers/pickerqueries.h"
#include "pickers/tfnabadres.h"
#include "pickers/tfnabzakaz.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace dorvik;
using pickers::TFnabadres;
using pickers::TFnabzakaz;

namespace {

class AddressPickerTest : public test::PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        resetTables({"adresar"});
        exec("INSERT INTO adresar (ICO, NAZEVPODNI, SIDLO) VALUES"
             " ('45274649', 'Novák stavebniny', 'Brno'), ('12', 'Prodejna Kovanov', 'Kovanov'),"
             " ('26185610', 'Dvořák a syn', 'Praha'), ('3', 'Sklad centrum', 'Jihlava'), ('1234', 'Čtyřmístné IČO', 'Tábor')");
    }

    QStringList shownIcos() {
        QStringList icos;
        whenModal([&](QWidget*) { icos = listed(addresses.list(), "ICO"); });
        addresses.choose();
        return icos;
    }

    TFnabadres addresses{db()};
};

TEST_F(AddressPickerTest, ListsByTheQueryTheLastCallerSet) {
    EXPECT_EQ(shownIcos(), QStringList({"12", "1234", "26185610", "3", "45274649"}));
    addresses.setQuery(pickers::addressQuery(true));
    EXPECT_EQ(shownIcos(), QStringList({"12", "3"}));
    // The next caller (an order window) opens it with the query as it stands.
    EXPECT_EQ(shownIcos(), QStringList({"12", "3"}));
    addresses.setQuery(pickers::addressQuery(false));
    EXPECT_EQ(shownIcos(), QStringList({"1234", "26185610", "45274649"}));
}

TEST_F(AddressPickerTest, TitleClickSortsAndSearchesAndEnterTakesThePartner) {
    QStringList values;
    QPoint dialogAt;
    whenModal([&](QWidget* w) {
        EXPECT_EQ(w->pos(), QPoint(0, 100));
        auto* grid = addresses.findChild<QTableView*>("DBGrid1");
        whenModal([&](QWidget* search) {
            dialogAt = search->pos();
            QTest::keyClicks(search->findChild<QLineEdit*>("EditHledat"), "nov");
            values = static_cast<common::ColumnSearchDialog*>(search)->shownValues();
            QTest::keyClick(search->findChild<QLineEdit*>("EditHledat"), Qt::Key_Down);
            search->findChild<QPushButton*>("ButtonPrevzit")->click();
        });
        QHeaderView* header = grid->horizontalHeader();
        const int column = addresses.list().columnOf("NAZEVPODNI");
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        // Sorted by name, ascending, Czech order.
        EXPECT_EQ(listed(addresses.list(), "NAZEVPODNI").first(), QString::fromUtf8("Čtyřmístné IČO"));
        QApplication::setActiveWindow(w); // offscreen does not hand activation back after "Hledat"
        QTest::keyClick(grid, Qt::Key_Return);
    });
    ASSERT_TRUE(addresses.choose());
    EXPECT_EQ(dialogAt, QPoint(600, 200));
    EXPECT_EQ(values, QStringList({QString::fromUtf8("Novák stavebniny"), "Prodejna Kovanov"}));
    EXPECT_EQ(addresses.text("ICO"), "12");
    EXPECT_EQ(addresses.text("SIDLO"), "Kovanov");
}

class OrderPickerTest : public test::PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        resetTables({"zakazky"});
        exec("INSERT INTO zakazky (ZAKAZKA, ICO, NAZEVPODNI, POPIS, DATUMOD, DATUMDO) VALUES"
             " ('Z01', '45274649', 'Novák', 'Open', NOW() - INTERVAL 30 DAY, NOW() + INTERVAL 10 DAY),"
             " ('Z02', '45274649', 'Novák', 'Ended yesterday', NOW() - INTERVAL 30 DAY, NOW() - INTERVAL 1 DAY),"
             " ('Z03', '26185610', 'Dvořák', 'Open elsewhere', NOW() - INTERVAL 30 DAY, NOW() + INTERVAL 1 DAY),"
             " ('', '45274649', 'Novák', 'No code', NOW() - INTERVAL 30 DAY, NOW() + INTERVAL 10 DAY),"
             " ('', '', '', 'No code, no customer', NOW() - INTERVAL 30 DAY, NOW() + INTERVAL 10 DAY)");
    }

    TFnabzakaz orders{db()};
};

TEST_F(OrderPickerTest, CheckBoxesFilterOpenOrdersAndTheCustomer) {
    struct Case {
        const char* ico;
        bool openOnly;
        bool customerOnly;
        QStringList expected;
    };
    const Case cases[] = {
        {"45274649", true, true, {"Z01"}},
        {"45274649", false, true, {"Z01", "Z02"}},
        {"45274649", true, false, {"Z01", "Z03"}},
        {"45274649", false, false, {"Z01", "Z02", "Z03"}},
        {"99999999", true, true, {}}, // a customer without orders
        {"99999999", true, false, {"Z01", "Z03"}},
        {"", true, true, {}}, // no customer in the header
        {"", true, false, {"Z01", "Z03"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ico << " open " << c.openOnly << " customer " << c.customerOnly);
        orders.setCustomer(c.ico, pickers::customerCaption(c.ico, "Novák"));
        QStringList shown;
        bool bothTicked = false;
        whenModal([&](QWidget*) {
            auto* open = orders.findChild<QCheckBox*>("CheckBox1");
            auto* customer = orders.findChild<QCheckBox*>("CheckBox2");
            bothTicked = open->isChecked() && customer->isChecked();
            EXPECT_EQ(customer->text(), QStringLiteral("pouze pro %1 Novák").arg(c.ico));
            if (!c.openOnly) open->click();
            if (!c.customerOnly) customer->click();
            shown = listed(orders.list(), "ZAKAZKA");
        });
        orders.choose();
        EXPECT_TRUE(bothTicked); // every showing starts with both ticked
        EXPECT_EQ(shown, c.expected);
    }
}

TEST_F(OrderPickerTest, QueryGoesToTheTraceFileAndTheChosenOrderIsRead) {
    orders.setCustomer("45274649", pickers::customerCaption("45274649", "Novák"));
    whenModal([&](QWidget*) {
        EXPECT_EQ(trace(), "select * from zakazky where zakazka<>\"\"\n and datumdo>=NOW()\n and ico='45274649'\norder by zakazka");
        orders.findChild<QCheckBox*>("CheckBox1")->click();
        EXPECT_EQ(trace(), "select * from zakazky where zakazka<>\"\"\n and ico='45274649'\norder by zakazka");
        orders.list().setCurrentRow(1);
        auto* grid = orders.findChild<QTableView*>("DBGrid1");
        emit grid->doubleClicked(grid->currentIndex());
    });
    ASSERT_TRUE(orders.choose());
    EXPECT_EQ(orders.text("zakazka"), "Z02");
}

} // namespace
