#include "pickerfixture.h"
#include "pickers/pickerqueries.h"
#include "pickers/tfhistorie.h"
#include "pickers/tfnabzbozi.h"
#include "reporting/previewwindow.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

using namespace dorvik;
using pickers::TFhistorie;

namespace {

// Two receipts of 10, one delivery of 3 and three POS sales of 1 of item A1 in centre 1,
// besides movements of another item and of the same item in another centre.
class HistoryTest : public test::PickerTest {
protected:
    void SetUp() override {
        PickerTest::SetUp();
        resetTables({"seznam", "prijem", "prirad", "dl", "dlrad", "uctenky"});
        exec("DROP TABLE IF EXISTS tmp01histo");
        exec("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, AKTIVNI) VALUES ('1', 'A1', 'Hřebík 50', 'A'), ('1', 'B2', 'Vrut', 'A')");
        exec("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM, NAZEVPODNI) VALUES"
             " (101, '1', '2024-04-10', 'Železárny Vír'), (102, '1', '2024-05-02', 'Kovo Brno'), (103, '11', '2024-05-02', 'Jinde')");
        exec("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MNOZ, NC, ZUSTATEK) VALUES"
             " (101, '1', 'A1', 'Hřebík 50', 10, 1.5, 0), (102, '1', 'A1', 'Hřebík 50', 10, 1.6, 4),"
             " (102, '1', 'B2', 'Vrut', 50, 0.2, 50), (103, '11', 'A1', 'Hřebík 50', 7, 1.5, 7)");
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, DATUM, NAZEVPODNI) VALUES (3241001, '1', '2024-05-01 08:30:00', 'Novák')");
        exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, NAZEV, MNOZ, NC) VALUES"
             " (3241001, '1', 'A1', 'Hřebík 50', 3, 1.5), (3241001, '1', 'B2', 'Vrut', 5, 0.2)");
        exec("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, nc) VALUES"
             " (5003, '1', '2024-05-03 10:00:00', 'A1', 'Hřebík 50', 1, 1.6),"
             " (5002, '1', '2024-05-03 10:00:00', 'A1', 'Hřebík 50', 1, 1.6),"
             " (5001, '1', '2024-04-20 10:00:00', 'A1', 'Hřebík 50', 1, 1.5),"
             " (5004, '11', '2024-04-20 10:00:00', 'A1', 'Hřebík 50', 1, 1.5)");
    }

    bool historyTableExists() { return query("SHOW TABLES LIKE 'tmp01histo'").rowCount() > 0; }

    struct Movement {
        QString number;
        QString type;
        QString date;
        double quantity;
        double remaining;
        bool operator==(const Movement&) const = default;
    };
    static std::vector<Movement> movements(const common::GridModel& m) {
        std::vector<Movement> out;
        for (int r = 0; r < m.rowCount(); ++r) {
            const int s = m.sourceRow(r);
            out.push_back({m.result().text(s, QStringLiteral("CISLODOKLA")), m.result().text(s, QStringLiteral("TYP")),
                           m.result().dateTime(s, QStringLiteral("DATUM")).date().toString(Qt::ISODate), m.result().number(s, QStringLiteral("MNOZ")),
                           m.result().number(s, QStringLiteral("ZUSTATEK"))});
        }
        return out;
    }
    static QStringList numbers(const common::GridModel& m) { return listed(m, "CISLODOKLA"); }
};

TEST_F(HistoryTest, GoodsPickerOpensTheItemsMovementsWithTotals) {
    pickers::TFnabzbozi goods(db());
    goods.setQuery(pickers::goodsQuery("1"));
    goods.setWorkstation("01");
    std::vector<Movement> shown;
    QStringList titles, totals;
    bool tableWhileOpen = false;
    whenModal([&](QWidget*) {
        ASSERT_EQ(goods.text("JKPOV"), "A1");
        whenModal([&](QWidget* w) {
            auto* history = static_cast<TFhistorie*>(w);
            EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Historie zboží"));
            tableWhileOpen = historyTableExists();
            titles << w->findChild<QLabel*>("Label1")->text() << w->findChild<QLabel*>("Label2")->text();
            for (const char* name : {"Label3", "Label4", "Label5"}) totals << w->findChild<QLabel*>(name)->text();
            shown = movements(history->list());
            w->findChild<QPushButton*>("Button2")->click();
        });
        goods.findChild<QPushButton*>("suiButton2")->click();
    });
    goods.choose();
    EXPECT_TRUE(tableWhileOpen);
    EXPECT_FALSE(historyTableExists());
    EXPECT_EQ(titles, QStringList({"A1", QString::fromUtf8("Hřebík 50")}));
    EXPECT_EQ(totals, QStringList({"20", "3", "3"}));
    const std::vector<Movement> expected{
        {"101", "P", "2024-04-10", 10, 0},    {"5001", "U", "2024-04-20", 1, 0}, {"3241001", "V", "2024-05-01", 3, 0},
        {"102", "P", "2024-05-02", 10, 4},    {"5002", "U", "2024-05-03", 1, 0}, {"5003", "U", "2024-05-03", 1, 0},
    };
    EXPECT_EQ(shown, expected);
}

TEST_F(HistoryTest, TypeAndDateFiltersRebuildTheList) {
    TFhistorie history(db(), "01", "A1", QString::fromUtf8("Hřebík 50"), "1");
    whenModal([&](QWidget* w) {
        auto* sales = w->findChild<QCheckBox*>("CheckBoxU");
        auto* fromDate = w->findChild<QCheckBox*>("suiCheckBox1");
        auto* date = w->findChild<QDateEdit*>("DateEdit1");
        EXPECT_FALSE(fromDate->isChecked());
        EXPECT_EQ(date->date(), QDate::currentDate().addDays(-30));

        sales->click();
        EXPECT_EQ(numbers(history.list()), QStringList({"101", "3241001", "102"}));
        EXPECT_EQ(w->findChild<QLabel*>("Label5")->text(), "3"); // totals stay as computed at opening

        date->setDate(QDate(2024, 5, 1));
        fromDate->click();
        EXPECT_EQ(numbers(history.list()), QStringList({"3241001", "102"}));
        EXPECT_EQ(trace(), "select * from tmp01histo\n where (TYP=\"X\"\n OR TYP=\"P\"\n OR TYP=\"V\"\n)\n"
                           " and datum>='2024-05-01'\n ORDER BY DATUM,cislodokla");
        sales->click();
        EXPECT_EQ(numbers(history.list()), QStringList({"3241001", "102", "5002", "5003"}));

        for (const char* name : {"CheckBoxP", "CheckBoxV", "CheckBoxU"}) w->findChild<QCheckBox*>(name)->click();
        EXPECT_EQ(history.list().rowCount(), 0);
        w->close(); // the title bar's close button drops the table too
    });
    history.exec();
    EXPECT_FALSE(historyTableExists());
}

TEST_F(HistoryTest, TiskPrintsTheFilteredListWithTheItemAsHeading) {
    TFhistorie history(db(), "01", "A1", QString::fromUtf8("Hřebík 50"), "1");
    QStringList texts;
    whenModal([&](QWidget* w) {
        w->findChild<QCheckBox*>("CheckBoxU")->click();
        whenModal([&](QWidget* preview) {
            auto* window = qobject_cast<reporting::PreviewWindow*>(preview);
            ASSERT_NE(window, nullptr);
            for (const reporting::PreparedPage& page : window->report().pages)
                for (const reporting::PreparedItem& item : page.items)
                    if (item.kind == reporting::PreparedItem::Kind::Text) texts << item.plainText();
        });
        w->findChild<QPushButton*>("suiButton1")->click();
    });
    history.exec();
    EXPECT_TRUE(texts.contains("A1"));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Hřebík 50")));
    for (const char* shown : {"101", "3241001", "102", "01.05.2024", "Novák", "Kovo Brno"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(shown))) << shown;
    EXPECT_FALSE(texts.contains("5001")); // the sales were filtered away
    // The totals of what is printed: receipts 20, issues 3, sales none.
    const qsizetype receipts = texts.indexOf(QString::fromUtf8("Příjem (P)"));
    ASSERT_GE(receipts, 0);
    EXPECT_EQ(texts.mid(receipts, 6), QStringList({QString::fromUtf8("Příjem (P)"), "20", QString::fromUtf8("Výdej, fakturace (V)"),
                                                   "3", QString::fromUtf8("Účtenky (U)"), "0"}));
}

} // namespace
