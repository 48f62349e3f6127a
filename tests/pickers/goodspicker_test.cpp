#include "common/gridview.h"
#include "pickerfixture.h"
#include "pickers/pickerqueries.h"
#include "pickers/tfnabzbozi.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dorvik;
using pickers::TFnabzbozi;

namespace {

class GoodsPickerTest : public test::PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        resetTables({"seznam", "prirad", "dlrad", "uctenky", "uctenkynakl"});
        exec("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, MJ, PCSD, PNC, STAV, AKTIVNI) VALUES"
             " ('1', '1001', 'Šroub M6', 'ks', 2.5, 1.2, 0, 'A'),"
             " ('1', '7', 'Čep 8', 'ks', 3, 1.5, 0, 'A'),"
             " ('1', '1002', 'Hřebík 50', 'kg', 80, 60, 0, 'A'),"
             " ('1', '1003', 'Matice stará', 'ks', 1, 1, 0, 'N'),"
             " ('1', '1004', 'Podložka', 'ks', 1, 1, 0, ''),"
             " ('11', '1005', 'Jiné středisko', 'ks', 1, 1, 0, 'A')");
        goods.setQuery(pickers::goodsQuery("1"));
        goods.setWorkstation("01");
    }

    QWidget* grid() { return goods.findChild<QWidget*>("DBGrid1"); }

    TFnabzbozi goods{db()};
};

TEST_F(GoodsPickerTest, ListsActiveGoodsByNameAndKeepsTheRowUntilClosed) {
    whenModal([&](QWidget* w) {
        EXPECT_EQ(w, &goods);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Zboží"));
        EXPECT_EQ(w->pos(), QPoint(0, 100));
        EXPECT_EQ(listed(goods.list(), "JKPOV"), QStringList({"7", "1002", "1001"}));
        goods.list().setCurrentRow(2);
        QTest::keyClick(grid(), Qt::Key_Return);
    });
    ASSERT_TRUE(goods.choose());
    EXPECT_EQ(goods.text("JKPOV"), "1001");

    // The list stays loaded: a row added meanwhile is not seen, the chosen row is current again.
    exec("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, AKTIVNI) VALUES ('1', '1006', 'Aku vrtačka', 'A')");
    whenModal([&](QWidget*) {
        EXPECT_EQ(goods.list().rowCount(), 3);
        EXPECT_EQ(currentText(goods.list(), "JKPOV"), "1001");
        QTest::keyClick(grid(), Qt::Key_Escape);
    });
    EXPECT_FALSE(goods.choose());
    EXPECT_FALSE(goods.taken());

    // The editor's close step: the next opening reads the list afresh.
    goods.closeList();
    whenModal([&](QWidget*) {
        EXPECT_EQ(listed(goods.list(), "JKPOV"), QStringList({"1006", "7", "1002", "1001"}));
        goods.findChild<QPushButton*>("Button2")->click();
    });
    EXPECT_FALSE(goods.choose());
}

TEST_F(GoodsPickerTest, RecalculationOnOpeningShowsStockBeforeTheUserChooses) {
    whenModal([&](QWidget*) {
        goods.list().setCurrentRow(1);
        EXPECT_EQ(goods.number("STAV"), 0);
        goods.findChild<QPushButton*>("Button1")->click();
    });
    ASSERT_TRUE(goods.choose());
    ASSERT_EQ(goods.text("JKPOV"), "1002");

    // A receipt booked behind the picker's back.
    exec("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, ZUSTATEK) VALUES (1, '1', '1002', 12.5, 12.5)");
    goods.setRecalculateStock(true);
    double stock = -1;
    QString current;
    whenModal([&](QWidget*) {
        stock = goods.number("STAV");
        current = goods.text("JKPOV");
    });
    goods.choose();
    EXPECT_EQ(current, "1002");
    EXPECT_EQ(stock, 12.5);
    EXPECT_EQ(goods.list().index(1, goods.list().columnOf("STAV")).data().toString(), "12,5");
}

TEST_F(GoodsPickerTest, PurchasePriceColumnFollowsTheCheckBoxAcrossShowings) {
    auto* view = goods.findChild<common::GridView*>("DBGrid1");
    const int pnc = goods.list().columnOf("PNC");
    whenModal([&](QWidget*) {
        auto* box = goods.findChild<QCheckBox*>("suiCheckBox1");
        EXPECT_FALSE(box->isChecked());
        EXPECT_TRUE(view->isColumnHidden(pnc));
        box->click();
        EXPECT_FALSE(view->isColumnHidden(pnc));
        EXPECT_EQ(view->columnWidth(pnc), 65);
    });
    goods.choose();
    whenModal([&](QWidget*) {
        EXPECT_TRUE(goods.findChild<QCheckBox*>("suiCheckBox1")->isChecked());
        EXPECT_FALSE(view->isColumnHidden(pnc));
        EXPECT_EQ(view->columnWidth(pnc), 65);
    });
    goods.choose();
}

TEST_F(GoodsPickerTest, F3ThenTypingSearchesTheNameAndMovesToTheFoundItem) {
    QPoint dialogAt;
    whenModal([&](QWidget* w) {
        whenModal([&](QWidget* search) {
            EXPECT_EQ(search->windowTitle(), "Hledat");
            dialogAt = search->pos();
            // Typing right after F3 goes into "Co hledat".
            ASSERT_EQ(search->focusWidget(), search->findChild<QLineEdit*>("EditHledat"));
            QTest::keyClicks(search->focusWidget(), "50");
            search->findChild<QPushButton*>("ButtonPrevzit")->click();
        });
        QTest::keyClick(grid(), Qt::Key_F3);
        QApplication::setActiveWindow(w); // offscreen does not hand activation back after "Hledat"
        QTest::keyClick(grid(), Qt::Key_Return);
    });
    ASSERT_TRUE(goods.choose());
    EXPECT_EQ(dialogAt, QPoint(600, 200));
    EXPECT_EQ(goods.text("JKPOV"), "1002");
}

TEST_F(GoodsPickerTest, FailuresAreShownAndARecalculationFailureKeepsTheList) {
    goods.setQuery(pickers::goodsQuery("1") + " and bogus"); // refused by the server
    whenModal([&](QWidget*) { EXPECT_EQ(goods.list().rowCount(), 0); });
    goods.choose();
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.asked[0].icon, common::MessageIcon::Stop);

    goods.setQuery(pickers::goodsQuery("1"));
    whenModal([](QWidget*) {});
    goods.choose();
    exec("RENAME TABLE prirad TO prirad_away");
    whenModal([&](QWidget*) {
        goods.findChild<QPushButton*>("suiButton1")->click();
        EXPECT_EQ(goods.list().rowCount(), 3);
    });
    goods.choose();
    exec("RENAME TABLE prirad_away TO prirad");
    EXPECT_EQ(prompter.asked.size(), 2);
}

} // namespace
