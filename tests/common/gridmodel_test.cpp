#include "common/displayformat.h"
#include "common/gridmodel.h"
#include "db/dberror.h"
#include "support/dbfixture.h"

#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <cmath>
#include <vector>

using namespace dorvik;
using common::GridColumn;
using common::GridModel;

namespace {

TEST(DisplayFormat, FormatsNumbersAsTheListsShowThem) {
    struct Case {
        const char* pattern;
        double value;
        const char* shown;
    };
    const Case cases[] = {
        {"### ###.####", 1234.5, "1 234,5"},
        {"### ###.####", 3, "3"},
        {"### ###.####", 0, ""}, // every digit optional
        {"### ###.####", 0.5, ",5"},
        {"### ###.####", 1234567.12345, "1 234 567,1235"},
        {"### ###.####", -2.00004, "-2"},
        {"### ###.####", -0.00004, ""},
        {"### ### ##0.00", 1234567.891, "1 234 567,89"},
        {"### ### ##0.00", -5, "-5,00"},
        {"### ### ##0.00", 0, "0,00"},
        {"### ### ##0.00", -0.004, "0,00"},
        {"### ### ##0.00", 2.675, "2,68"},
        {"### ### ##0.00", 1.005, "1,01"},
        {"### ### ##0.00", -2.675, "-2,68"},
        {"### ### ##0.00", 999999.995, "1 000 000,00"},
        {"### ### ##0.00", 1e15, "1 000 000 000 000 000,00"},
        {"### ### ##0.####", 0, "0"},
        {"### ### ##0.####", 12.34567, "12,3457"},
        {"### ###.00", 0.5, ",50"},
        {"#,##0.00", 1234567.891, "1 234 567,89"},
        {"0.00", 1234.5, "1234,50"},
        {"0.0000", 0.00005, "0,0001"},
        {"0", -0.5, "-1"},
        {"000", 7, "007"},
        {"0.00 Kč", -3, "-3,00 Kč"},
        {"", 1234.5, "1234,5"},
        {"", 0, "0"},
        {"", 0.1 + 0.2, "0,3"},
        {"", -12, "-12"},
        {"", 0.00001, "0,00001"},
        {"", 1.5e-6, "1,5E-6"},
        {"", 1e20, "1E20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(common::formatNumber(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.shown))
            << c.pattern << " of " << c.value;
}

TEST(DisplayFormat, DatesInTheCzechShortForm) {
    EXPECT_EQ(common::formatDate(QDate(2013, 9, 1)), "01.09.2013");
    EXPECT_EQ(common::formatDateTime(QDateTime(QDate(2013, 9, 1), QTime(0, 0))), "01.09.2013");
    EXPECT_EQ(common::formatDateTime(QDateTime(QDate(2013, 9, 1), QTime(8, 5, 3))), "01.09.2013 08:05:03");
    EXPECT_EQ(common::formatDateTime(QDateTime(QDate(2013, 9, 1), QTime(0, 0, 1))), "01.09.2013 00:00:01");
    EXPECT_EQ(common::formatDate(QDate()), "");
    EXPECT_EQ(common::formatDateTime(QDateTime()), "");
}

// Six rows whose values sort differently as numbers, as texts and as dates, with ties.
class GridModelTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("DROP TABLE IF EXISTS tmp99grid");
        exec("CREATE TABLE tmp99grid (id INT PRIMARY KEY, n INT, nazev VARCHAR(40) NULL, mnoz DOUBLE NULL,"
             " cena DECIMAL(12,2) NOT NULL, kdy DATETIME NULL, datum DATE NULL) DEFAULT CHARSET=cp1250");
        exec("INSERT INTO tmp99grid VALUES"
             " (1, 10, 'b', 2, 10.5, '2013-09-01 10:00:00', '2013-09-01'),"
             " (2, 9, 'a', 10, -3, '2013-09-01 09:00:00', NULL),"
             " (3, -2, 'b', 2, 100, NULL, '2012-01-31'),"
             " (4, 100, NULL, -1, 10.5, '2012-12-31 23:59:59', '2013-09-01'),"
             " (5, 9, 'B', 1.5, 2, '2013-09-01 10:00:00', '2000-02-29'),"
             " (6, 0, 'a', NULL, 9.99, '2013-01-02 00:00:00', '2013-01-02')");
    }
    void TearDown() override { exec("DROP TABLE IF EXISTS tmp99grid"); }

    void load(GridModel& model) { model.setResult(query("SELECT * FROM tmp99grid ORDER BY id")); }

    // The ids in the list's order.
    static std::vector<int> ids(const GridModel& model) {
        std::vector<int> out;
        for (int row = 0; row < model.rowCount(); ++row)
            out.push_back(int(model.result().integer(model.sourceRow(row), "id")));
        return out;
    }

    static QString shown(const GridModel& model, int row, const QString& field) {
        return model.data(model.index(row, model.columnOf(field))).toString();
    }
};

TEST_F(GridModelTest, ShowsCellsThroughTheColumnsFormats) {
    exec("UPDATE tmp99grid SET nazev = 'Žluťoučký kůň' WHERE id = 2");
    GridModel model;
    model.setColumns({{"nazev", "Název", 120, {}},
                      {"MNOZ", "Množství", 80, common::QuantityFormat},
                      {"cena", "Cena", 80, common::MoneyFormat},
                      {"n", {}, 40, {}},
                      {"kdy", "Kdy", 100, {}},
                      {"datum", "Datum", 80, {}}});
    load(model);

    ASSERT_EQ(model.rowCount(), 6);
    ASSERT_EQ(model.columnCount(), 6);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Název"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), "n"); // no title: the field name
    EXPECT_EQ(model.columns()[2].width, 80);
    EXPECT_EQ(model.columnOf("Cena"), 2);
    EXPECT_EQ(model.columnOf("id"), -1);

    EXPECT_EQ(shown(model, 1, "nazev"), QString::fromUtf8("Žluťoučký kůň"));
    EXPECT_EQ(shown(model, 3, "nazev"), ""); // NULL
    EXPECT_EQ(shown(model, 1, "mnoz"), "10");
    EXPECT_EQ(shown(model, 4, "mnoz"), "1,5");
    EXPECT_EQ(shown(model, 5, "mnoz"), "");
    EXPECT_EQ(shown(model, 1, "cena"), "-3,00");
    EXPECT_EQ(shown(model, 0, "cena"), "10,50");
    EXPECT_EQ(shown(model, 2, "n"), "-2");
    EXPECT_EQ(shown(model, 0, "kdy"), "01.09.2013 10:00:00");
    EXPECT_EQ(shown(model, 5, "kdy"), "02.01.2013"); // midnight: the date only
    EXPECT_EQ(shown(model, 4, "datum"), "29.02.2000");

    const auto alignment = [&](const char* field) {
        return Qt::Alignment(model.data(model.index(0, model.columnOf(field)), Qt::TextAlignmentRole).toInt());
    };
    EXPECT_TRUE(alignment("cena") & Qt::AlignRight);
    EXPECT_TRUE(alignment("n") & Qt::AlignRight);
    EXPECT_TRUE(alignment("nazev") & Qt::AlignLeft);
    EXPECT_TRUE(alignment("kdy") & Qt::AlignLeft);
}

TEST_F(GridModelTest, ColumnsDefaultToTheWholeResultAndMustExistInIt) {
    GridModel all;
    load(all);
    EXPECT_EQ(all.columnCount(), 7);
    EXPECT_EQ(all.headerData(2, Qt::Horizontal).toString(), "nazev");

    GridModel model;
    model.setColumns({{"nazev", "Název", 120, {}}, {"chybi", "Chybí", 50, {}}});
    EXPECT_THROW(load(model), db::DbError);
    EXPECT_EQ(model.rowCount(), 0); // a refused result leaves the list as it was
}

TEST_F(GridModelTest, SortsStablyByNumberTextAndDate) {
    struct Case {
        const char* field;
        Qt::SortOrder order;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"n", Qt::AscendingOrder, {3, 6, 2, 5, 1, 4}},
        {"n", Qt::DescendingOrder, {4, 1, 2, 5, 6, 3}},
        {"mnoz", Qt::AscendingOrder, {6, 4, 5, 1, 3, 2}}, // NULL first; 10 after 2, not as text
        {"mnoz", Qt::DescendingOrder, {2, 1, 3, 5, 4, 6}},
        {"cena", Qt::AscendingOrder, {2, 5, 6, 1, 4, 3}},
        {"nazev", Qt::AscendingOrder, {4, 2, 6, 1, 3, 5}},
        {"nazev", Qt::DescendingOrder, {5, 1, 3, 2, 6, 4}},
        {"kdy", Qt::AscendingOrder, {3, 4, 6, 2, 1, 5}},
        {"kdy", Qt::DescendingOrder, {1, 5, 2, 6, 4, 3}},
        {"datum", Qt::AscendingOrder, {2, 5, 3, 6, 1, 4}},
    };
    GridModel model;
    load(model);
    for (const Case& c : cases) {
        model.sort(model.columnOf(c.field), c.order);
        EXPECT_EQ(ids(model), c.ids) << c.field << (c.order == Qt::AscendingOrder ? " ascending" : " descending");
        for (int row = 0; row < model.rowCount(); ++row) ASSERT_EQ(model.rowOf(model.sourceRow(row)), row);
    }
    // The cells follow the rows.
    model.sort(model.columnOf("mnoz"));
    EXPECT_EQ(shown(model, 5, "mnoz"), "10");
    EXPECT_EQ(shown(model, 5, "id"), "2");
}

TEST_F(GridModelTest, EqualKeysKeepTheResultsOrderInLongLists) {
    // Enough rows that an unstable sort would reorder the ties.
    exec("DELETE FROM tmp99grid");
    exec("INSERT INTO tmp99grid (id, n, nazev, cena) SELECT seq, seq % 3, CHAR(65 + seq % 3), 0 FROM seq_1_to_300");
    GridModel model;
    load(model);
    for (const char* field : {"n", "nazev"}) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            model.sort(model.columnOf(field), order);
            const std::vector<int> sorted = ids(model);
            for (size_t i = 1; i < sorted.size(); ++i) {
                const int a = sorted[i - 1] % 3;
                const int b = sorted[i] % 3;
                ASSERT_TRUE(order == Qt::AscendingOrder ? a <= b : a >= b) << field << " at " << i;
                if (a == b) {
                    ASSERT_LT(sorted[i - 1], sorted[i]) << field << " at " << i;
                }
            }
        }
    }
}

TEST_F(GridModelTest, SortsTextsInCzechOrder) {
    // ch follows h; č, ř, š, ž follow their letters; other accents and case only break ties.
    const char* const expected[] = {"",      "10",   "9",     "Ábel",  "ahoj", "cesta", "Čáp",  "čas",
                                    "hrad",  "Chata", "kura", "kůra",  "kurz", "praha", "Praha", "rak",
                                    "řeka",  "sýr",  "šero",  "zebra", "Žába"};
    const int count = int(std::size(expected));
    exec("DELETE FROM tmp99grid");
    exec("INSERT INTO tmp99grid (id, cena) VALUES (0, 0)"); // nazev NULL
    for (int i = 0; i < count; ++i) {
        const int id = (i * 8) % count + 1; // the result's order is not the expected one
        exec(QString("INSERT INTO tmp99grid (id, nazev, cena) VALUES (%1, '%2', 0)").arg(id).arg(QString::fromUtf8(expected[i])));
    }
    GridModel model;
    load(model);
    model.sort(model.columnOf("nazev"));
    ASSERT_EQ(model.rowCount(), count + 1);
    EXPECT_TRUE(model.result().isNull(model.sourceRow(0), "nazev"));
    for (int i = 0; i < count; ++i) EXPECT_EQ(shown(model, i + 1, "nazev"), QString::fromUtf8(expected[i])) << i;
}

TEST_F(GridModelTest, CurrentRecordSurvivesASort) {
    GridModel model;
    QSignalSpy changes(&model, &GridModel::currentRowChanged);
    load(model);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toInt(), 0);
    EXPECT_EQ(model.currentRow(), 0);

    model.setCurrentRow(4); // id 5
    ASSERT_EQ(changes.count(), 1);
    changes.clear();
    model.setCurrentRow(6);
    model.setCurrentRow(-1);
    EXPECT_EQ(model.currentRow(), 4);
    EXPECT_EQ(changes.count(), 0);

    const QPersistentModelIndex held = model.index(4, model.columnOf("nazev"));
    model.sort(model.columnOf("kdy"), Qt::DescendingOrder); // 1, 5, 2, 6, 4, 3
    EXPECT_EQ(model.currentRow(), 1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toInt(), 1);
    EXPECT_EQ(held.row(), 1); // a view's selection follows its record too
    EXPECT_EQ(model.result().integer(model.sourceRow(model.currentRow()), "id"), 5);

    model.sort(model.columnOf("n")); // 3, 6, 2, 5, 1, 4: id 5 stays at row 3
    EXPECT_EQ(model.currentRow(), 3);
    EXPECT_EQ(model.result().integer(model.sourceRow(3), "id"), 5);
}

TEST_F(GridModelTest, LocateFindsARecordAgainAfterAReload) {
    exec("UPDATE tmp99grid SET nazev = 'Žába' WHERE id = 3");
    GridModel model;
    load(model);
    model.sort(model.columnOf("n")); // 3, 6, 2, 5, 1, 4
    QSignalSpy changes(&model, &GridModel::currentRowChanged);

    EXPECT_EQ(model.locate("n", 9), 2); // the first in the list's order
    EXPECT_EQ(model.currentRow(), 2);
    EXPECT_EQ(model.locate("nazev", QString::fromUtf8("Žába")), 0);
    EXPECT_EQ(model.locate("nazev", QString::fromUtf8("žába")), -1); // texts match exactly
    EXPECT_EQ(model.locate("mnoz", 1.5), 3);
    EXPECT_EQ(model.locate("cena", "10.50"), 4);
    EXPECT_EQ(model.locate("kdy", QDateTime(QDate(2013, 1, 2), QTime(0, 0))), 1);
    EXPECT_EQ(model.locate("datum", QDate(2013, 9, 1)), 4);
    EXPECT_EQ(model.locate("ID", 2), 2); // also a field the list does not show
    EXPECT_EQ(model.locate("n", 42), -1);
    EXPECT_EQ(model.currentRow(), 2);
    EXPECT_THROW(model.locate("chybi", 1), db::DbError);
    EXPECT_EQ(changes.count(), 7);

    // A reload in the result's own order; the caller re-selects its document.
    exec("INSERT INTO tmp99grid (id, n, cena) VALUES (0, 1, 0)");
    model.setResult(query("SELECT * FROM tmp99grid ORDER BY id"));
    EXPECT_EQ(model.currentRow(), 0);
    EXPECT_EQ(model.locate("id", 4), 4);
    EXPECT_EQ(model.result().integer(model.sourceRow(model.currentRow()), "n"), 100);

    changes.clear();
    model.setResult(query("SELECT * FROM tmp99grid WHERE id < 0"));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.takeFirst().at(0).toInt(), -1);
}

} // namespace
