#include "db/dberror.h"
#include "db/editabletable.h"
#include "support/dbfixture.h"

using namespace dorvik;

namespace {

// A keyless scratch copy, as the editors make them.
class EditableTableTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("DROP TABLE IF EXISTS tmp99src, tmp99e");
        exec("CREATE TABLE tmp99src (id INT AUTO_INCREMENT PRIMARY KEY, nazev VARCHAR(40) NOT NULL DEFAULT 'nic',"
             " mnoz DOUBLE NOT NULL DEFAULT 0, kdy DATETIME NULL, ico VARCHAR(10) NOT NULL DEFAULT '')");
        exec("CREATE TABLE tmp99e ENGINE=MyISAM (select * from tmp99src LIMIT 0,0)");
    }
    void TearDown() override { exec("DROP TABLE IF EXISTS tmp99src, tmp99e"); }
};

TEST_F(EditableTableTest, NewRowWritesOnlyTheColumnsSet) {
    db::EditableTable t(db(), "tmp99e");
    t.open();
    t.insert();
    t.setValue("MNOZ", 2.675);
    t.setValue("kdy", QDateTime(QDate(2026, 12, 11), QTime(9, 30)));
    t.post();
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.rows().text(0, "nazev"), "nic");
    EXPECT_EQ(t.rows().integer(0, "id"), 0);
    EXPECT_DOUBLE_EQ(t.rows().number(0, "mnoz"), 2.675);
    EXPECT_EQ(t.rows().dateTime(0, "kdy"), QDateTime(QDate(2026, 12, 11), QTime(9, 30)));
}

TEST_F(EditableTableTest, EditAndDeleteFindTheRowByItsOldValues) {
    // Two identical rows and one with a NULL: each change touches exactly one row.
    exec("INSERT INTO tmp99e (id, nazev, mnoz, kdy) VALUES (0, 'a''b\\\\', 0.1, NULL), (0, 'a''b\\\\', 0.1, NULL),"
         " (0, 'c', 1.0000001, '2026-01-02 03:04:05')");
    db::EditableTable t(db(), "tmp99e");
    t.open("order by nazev");
    t.edit(0);
    EXPECT_EQ(t.value("nazev").toString(), "a'b\\");
    t.setValue("nazev", "změněno");
    t.post();
    EXPECT_EQ(query("SELECT COUNT(*) FROM tmp99e WHERE nazev = 'změněno'").integer(0, 0), 1);

    t.open("order by nazev");
    t.remove(0); // 'a''b\'
    t.edit(0);   // 'c' with its odd float
    t.setValue("ico", QVariant());
    EXPECT_THROW(t.post(), db::DbError); // NOT NULL column refuses NULL under strict mode
    t.cancel();
    t.edit(0);
    t.setValue("ico", "12345678");
    t.post();
    const auto rs = query("SELECT nazev, ico FROM tmp99e ORDER BY nazev");
    ASSERT_EQ(rs.rowCount(), 2);
    EXPECT_EQ(rs.text(0, "ico"), "12345678");
    EXPECT_EQ(rs.text(1, "nazev"), QString::fromUtf8("změněno"));
}

TEST_F(EditableTableTest, CancelDropsTheChange) {
    exec("INSERT INTO tmp99e (nazev) VALUES ('x')");
    db::EditableTable t(db(), "tmp99e");
    t.open();
    t.edit(0);
    t.setValue("nazev", "y");
    t.cancel();
    EXPECT_THROW(t.setValue("nazev", "z"), db::DbError);
    EXPECT_EQ(query("SELECT nazev FROM tmp99e").text(0, 0), "x");
}

} // namespace
