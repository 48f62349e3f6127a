// The data model against the real server: scratch copies of the permanent
// tables under strict mode, and the two stored procedures.

#include "db/dberror.h"
#include "support/dbfixture.h"

#include <ostream>
#include <vector>

using namespace dorvik;

namespace {

// Strict for every engine (the scratch copies are MyISAM), without the modes
// the program's statements cannot live with.
class SchemaTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("SET SESSION sql_mode = 'STRICT_ALL_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'");
    }
    void dropScratch() {
        exec("DROP TABLE IF EXISTS tmp96dl, tmp96dlrad, tmp96fakt, tmp96adr, tmp96zak, tmp96zka, tmp96sest1");
    }
};

// --- scratch copies --------------------------------------------------------

class ScratchCopyTest : public SchemaTest {
protected:
    void SetUp() override {
        SchemaTest::SetUp();
        resetTables({"dl", "dlrad", "fakt", "adresar", "zakazky", "zakarty", "sklinv", "sklinvarch", "uctenky"});
        dropScratch();
    }
    void TearDown() override { dropScratch(); }
};

TEST_F(ScratchCopyTest, NewDocumentWithOnlyCentreAndDateIsSavedAsAnUninvoicedDeliveryNote) {
    exec("CREATE TABLE tmp96dl COLLATE cp1250_general_ci ENGINE=MyISAM (select * from dl LIMIT 0,0)");
    exec("DELETE from tmp96dl");
    exec("insert into tmp96dl (STREDISKO, DATUM) values ('1', '2026-12-11 09:30:00')");
    exec("UPDATE tmp96dl SET cislodokla = 3261001");
    exec("insert into dl select * from tmp96dl");

    // the register's "DL" list, and the posted-document guard's columns
    const auto rs = query("select cislodokla, vnitro, cislofakt, datumzauct, datumzaucf from dl"
                          " where stredisko = '1' AND dl.cislofakt = \" \" AND dl.vnitro = 0");
    ASSERT_EQ(rs.rowCount(), 1);
    EXPECT_EQ(rs.integer(0, "cislodokla"), 3261001);
    EXPECT_EQ(rs.text(0, "cislofakt"), "");
    EXPECT_TRUE(rs.isNull(0, "datumzauct"));
    EXPECT_TRUE(rs.isNull(0, "datumzaucf"));
}

TEST_F(ScratchCopyTest, LinesAddedInTheEditorGetNewIdsAndCorrectedLinesKeepTheirs) {
    exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, MNOZ) VALUES (3261001, '1', 'A', 1), (3261001, '1', 'B', 2)");
    const auto before = query("select id from dlrad order by id");
    ASSERT_EQ(before.rowCount(), 2);

    // correction: copy the document's lines, add one with only the columns "Přidat" sets, write back
    exec("CREATE TABLE tmp96dlrad COLLATE cp1250_general_ci ENGINE=MyISAM (select * from dlrad WHERE cislodokla = 3261001)");
    exec("insert into tmp96dlrad (STREDISKO, CISLODOKLA) values ('1', 3261001)");
    exec("insert into tmp96dlrad (STREDISKO, CISLODOKLA) values ('1', 0)");
    exec("UPDATE tmp96dlrad SET cislodokla = 3261001");
    exec("DELETE from dlrad WHERE cislodokla = 3261001");
    exec("insert into dlrad select * from tmp96dlrad");

    const auto after = query("select id, jkpov from dlrad order by id");
    ASSERT_EQ(after.rowCount(), 4);
    EXPECT_EQ(after.integer(0, "id"), before.integer(0, "id"));
    EXPECT_EQ(after.integer(1, "id"), before.integer(1, "id"));
    EXPECT_GT(after.integer(2, "id"), before.integer(1, "id"));
    EXPECT_GT(after.integer(3, "id"), after.integer(2, "id"));
    EXPECT_EQ(after.text(2, "jkpov"), "");
}

// The master-data windows and invoice generation: an empty copy, one new row
// with the columns the program sets, then the copy back with id 0.
struct CopyCase {
    const char* table;
    const char* copy;
    const char* create; // the program's CREATE of the copy
    const char* insert; // its INSERT of the new row
};

void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.table;
}

class MasterCopyTest : public ScratchCopyTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(MasterCopyTest, NewRowIsAcceptedAndGetsAnId) {
    const CopyCase& c = GetParam();
    exec(c.create);
    exec(c.insert);
    exec(QString("INSERT into %1 SELECT * from %2").arg(c.table, c.copy));
    exec(QString("INSERT into %1 SELECT * from %2").arg(c.table, c.copy));
    const auto rs = query(QString("select id from %1 order by id").arg(c.table));
    ASSERT_EQ(rs.rowCount(), 2);
    EXPECT_GT(rs.integer(0, 0), 0);
    EXPECT_GT(rs.integer(1, 0), rs.integer(0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Copies, MasterCopyTest,
    ::testing::Values(
        CopyCase{"adresar", "tmp96adr", "CREATE TABLE tmp96adr\n select * from adresar LIMIT 0,0",
                 "INSERT into tmp96adr\n(`id`,`ICO`,`NAZEVPODNI`,`SIDLO`,`ULICECISLO`,`PSC`,`POSTA`)\n"
                 " VALUES (0,\"\",\"\",\"\",\"\",\"\",\"\")"},
        CopyCase{"zakazky", "tmp96zak", "CREATE TABLE tmp96zak\n select * from zakazky LIMIT 0,0",
                 "INSERT into tmp96zak\n(`id`,`ICO`,`NAZEVPODNI`,`POPIS`,`ZAKAZKA`,`DATUMOD`,`DATUMDO`)\n"
                 " VALUES (0,\"\",\"\",\"\",\"\",NOW(),NOW())"},
        CopyCase{"zakarty", "tmp96zka", "CREATE TABLE tmp96zka ENGINE=MyISAM\n select * from zakarty LIMIT 0,0",
                 "INSERT into tmp96zka\n(`id`,`ICO`,`NAZEVPODNI`,`SLEVA`,`DATUMZAL`,`PLATI`)\n"
                 " VALUES (0,\"\",\"\",0,NOW(),\"A\")"},
        CopyCase{"fakt", "tmp96fakt", "CREATE TABLE tmp96fakt (select * from fakt LIMIT 0,0)",
                 "INSERT into tmp96fakt (TEXT, CFAKT) VALUES ('Fakturujeme', 6261001)"}),
    [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.table); });

TEST_F(ScratchCopyTest, InventoryOfAnItemWithoutLaterSalesEvaluatesAndArchives) {
    exec("INSERT INTO sklinv (STREDISKO, JKPOV, DATUMCAS, STAVINV) VALUES ('1', 'A', '2026-12-10 18:00:00', 5)");
    exec("CREATE TABLE tmp96sest1 select * from sklinv LIMIT 0,0;");
    exec("INSERT INTO tmp96sest1 (STREDISKO,JKPOV,DATUMCAS,STAVINV,SKUPINA) \n"
         "select STREDISKO,JKPOV,MIN(DATUMCAS) as DATUMCAS,sum(stavinv) AS STAVINV,SKUPINA from sklinv\n"
         " where STREDISKO='1'\n group by jkpov order by datumcas desc");
    // no sale after the count: the subquery gives NULL, which a NOT NULL column refuses
    exec("UPDATE tmp96sest1 i  \nSET i.prodej = (SELECT SUM(s.mnoz) from uctenky s \n"
         "where s.STREDISKO=i.STREDISKO and s.JKPOV=i.JKPOV and s.datum>i.datumcas\n group by s.JKPOV)");
    exec("UPDATE tmp96sest1 i\nSET i.rozdil=i.stavinv-i.prodej-i.zustatekpc");
    exec("UPDATE tmp96sest1 \n set datum = DATE_FORMAT(NOW(),\"%Y-%m-%d\"), cas = DATE_FORMAT(NOW(),\"%H:%i\")");
    exec("INSERT into sklinvarch select * from tmp96sest1");
    const auto rs = query("select STAVINV, prodej, DATUM, CAS from sklinvarch");
    ASSERT_EQ(rs.rowCount(), 1);
    EXPECT_DOUBLE_EQ(rs.number(0, "STAVINV"), 5);
    EXPECT_TRUE(rs.isNull(0, "prodej"));
    EXPECT_EQ(rs.text(0, "DATUM").size(), 10);
    EXPECT_EQ(rs.text(0, "CAS").size(), 5);
}

// --- uctenky_odpis -----------------------------------------------------------

struct Lot {
    const char* received; // prijem.DATUM
    double mnoz;
    double nc;
    double zustatek;
};

struct WriteOffCase {
    const char* name;
    std::vector<Lot> lots; // inserted in this order, so a later row may be an older lot
    double listNc;         // seznam.NC of the item
    double mnoz;           // the till line
    double cenar;          // expected costing row
    double nc;
    std::vector<double> left; // ZUSTATEK of the lots afterwards
    double lineNc;            // uctenky.nc afterwards
};

void PrintTo(const WriteOffCase& c, std::ostream* os) {
    *os << c.name;
}

class WriteOffTest : public SchemaTest, public ::testing::WithParamInterface<WriteOffCase> {
protected:
    void SetUp() override {
        SchemaTest::SetUp();
        resetTables({"seznam", "prijem", "prirad", "uctenky", "uctenkynakl"});
    }
    void callWriteOff(const QString& mnoz, qint64 id) {
        // the write-off window's call, four lines
        exec(QString("call uctenky_odpis('1'\n,'A'\n,'%1'\n,'%2');").arg(mnoz).arg(id));
    }
};

TEST_P(WriteOffTest, BooksTheLineOnceAgainstTheLots) {
    const WriteOffCase& c = GetParam();
    exec(QString("INSERT INTO seznam (STREDISKO, JKPOV, NAZEV, MJ, NC) VALUES ('1', 'A', 'Kladivo', 'ks', %1)")
             .arg(c.listNc));
    // another centre's lot of the same item must not be touched
    exec("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM) VALUES (90, '11', '2025-01-01')");
    exec("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, NC, ZUSTATEK) VALUES (90, '11', 'A', 9, 1, 9)");
    std::vector<qint64> lotIds;
    for (size_t i = 0; i < c.lots.size(); ++i) {
        const Lot& l = c.lots[i];
        exec(QString("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM) VALUES (%1, '1', '%2')").arg(100 + i).arg(l.received));
        exec(QString("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, NC, CENAR, ZUSTATEK)"
                     " VALUES (%1, '1', 'A', %2, %3, %4, %5)")
                 .arg(100 + i).arg(l.mnoz).arg(l.nc).arg(l.mnoz * l.nc).arg(l.zustatek));
        lotIds.push_back(db().lastInsertId());
    }
    exec(QString("INSERT INTO uctenky (cisuctenky, stredisko, datum, jkpov, nazev, mnoz, povaha)"
                 " VALUES (20017, '1', '2026-12-05 10:20:30', 'A', 'Kladivo', %1, 'K')")
             .arg(c.mnoz));
    const qint64 id = db().lastInsertId();
    const QString mnoz = QString::number(c.mnoz, 'g', 15);

    callWriteOff(mnoz, id);
    callWriteOff(mnoz, id); // already written off: books nothing more

    const auto n = query("select * from uctenkynakl");
    ASSERT_EQ(n.rowCount(), 1);
    EXPECT_EQ(n.integer(0, "CISLODOKLA"), 20017);
    EXPECT_EQ(n.text(0, "STREDISKO"), "1");
    EXPECT_EQ(n.text(0, "JKPOV"), "A");
    EXPECT_EQ(n.text(0, "MJ"), "ks");
    EXPECT_EQ(n.dateTime(0, "DATUM"), QDateTime(QDate(2026, 12, 5), QTime(10, 20, 30)));
    EXPECT_DOUBLE_EQ(n.number(0, "MNOZ"), c.mnoz);
    EXPECT_DOUBLE_EQ(n.number(0, "CENAR"), c.cenar);
    EXPECT_NEAR(n.number(0, "NC"), c.nc, 0.00005);
    EXPECT_DOUBLE_EQ(n.number(0, "VOCASEK"), 0);

    for (size_t i = 0; i < lotIds.size(); ++i)
        EXPECT_DOUBLE_EQ(query(QString("select ZUSTATEK from prirad where id = %1").arg(lotIds[i])).number(0, 0),
                         c.left[i])
            << "lot " << i;
    EXPECT_DOUBLE_EQ(query("select ZUSTATEK from prirad where STREDISKO = '11'").number(0, 0), 9);
    EXPECT_NEAR(query(QString("select nc from uctenky where id = %1").arg(id)).number(0, 0), c.lineNc, 0.00005);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteOffTest,
    ::testing::Values(
        WriteOffCase{"OneLot", {{"2026-03-01", 10, 12, 10}}, 9, 4, 48, 12, {6}, 12},
        // the February lot is the older row but the newer receipt
        WriteOffCase{"TwoLotsOldestReceiptFirst", {{"2026-02-01", 5, 12, 5}, {"2026-01-10", 3, 10, 3}}, 9, 6,
                     66, 11, {2, 0}, 11},
        WriteOffCase{"ReturnGoesIntoTheNewestLot", {{"2026-01-10", 3, 10, 0}, {"2026-02-01", 5, 12, 2}}, 9, -1,
                     -12, 12, {0, 3}, 12},
        WriteOffCase{"FractionalQuantity", {{"2026-01-10", 2.5, 10, 0.75}, {"2026-02-01", 4, 12, 4}}, 9, 1.25,
                     13.5, 10.8, {0, 3.5}, 10.8},
        // one piece from the lot, the rest at the newest lot's cost
        WriteOffCase{"LotsRunOut", {{"2026-01-10", 5, 10, 1}, {"2026-03-01", 4, 14, 0}}, 9, 3, 38, 12.6667,
                     {0, 0}, 12.6667},
        WriteOffCase{"NoLotsAtAll", {}, 9, 2, 18, 9, {}, 9},
        // a free lot: the line must still leave the unwritten list
        WriteOffCase{"CostZero", {{"2026-01-10", 4, 0, 4}}, 0, 1, 0, 0, {3}, 0.0001}),
    [](const ::testing::TestParamInfo<WriteOffCase>& info) { return std::string(info.param.name); });

TEST_F(WriteOffTest, ServiceLinesAndUnknownIdsAreLeftAlone) {
    exec("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM) VALUES (100, '1', '2026-01-10')");
    exec("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, NC, ZUSTATEK) VALUES (100, '1', 'A', 5, 10, 5)");
    exec("INSERT INTO uctenky (cisuctenky, stredisko, jkpov, mnoz, povaha) VALUES (1, '1', 'A', 1, 'P')");
    const qint64 id = db().lastInsertId();
    callWriteOff("1", id);
    callWriteOff("1", id + 1000);
    EXPECT_EQ(query("select count(*) from uctenkynakl").integer(0, 0), 0);
    EXPECT_DOUBLE_EQ(query("select ZUSTATEK from prirad").number(0, 0), 5);
    EXPECT_DOUBLE_EQ(query("select nc from uctenky").number(0, 0), 0);
}

TEST_F(WriteOffTest, AFailureRollsTheLotsBack) {
    exec("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM) VALUES (100, '1', '2026-01-10')");
    exec("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, NC, ZUSTATEK) VALUES (100, '1', 'A', 5, 10, 5)");
    exec("INSERT INTO uctenky (cisuctenky, stredisko, jkpov, mnoz) VALUES (1, '1', 'A', 2)");
    const qint64 id = db().lastInsertId();
    // the costing row cannot be written: the lot was already reduced by then
    exec("RENAME TABLE uctenkynakl TO uctenkynakl_away");
    EXPECT_THROW(callWriteOff("2", id), db::DbError);
    exec("RENAME TABLE uctenkynakl_away TO uctenkynakl");
    EXPECT_DOUBLE_EQ(query("select ZUSTATEK from prirad").number(0, 0), 5);
    EXPECT_DOUBLE_EQ(query("select nc from uctenky").number(0, 0), 0);
    EXPECT_FALSE(db().inTransaction());
}

// --- seznam_stav -------------------------------------------------------------

class StockTest : public SchemaTest {
protected:
    void SetUp() override {
        SchemaTest::SetUp();
        resetTables({"seznam", "prijem", "prirad", "dl", "dlrad", "uctenky", "uctenkynakl"});
    }
};

TEST_F(StockTest, RecalculatesEveryRowFromTheLinesOwnCentres) {
    // stale figures everywhere, so a row the procedure misses shows
    exec("INSERT INTO seznam (STREDISKO, JKPOV, ZUSTATEK, STAV) VALUES"
         " ('1', 'A', 99, 99), ('11', 'A', 99, 99), ('1', 'B', 99, 99), ('1', 'C', 99, 99)");
    // a receipt headed in centre 1 whose second line belongs to centre 11
    exec("INSERT INTO prijem (CISLODOKLA, STREDISKO, DATUM) VALUES (100, '1', '2026-01-10')");
    exec("INSERT INTO prirad (CISLODOKLA, STREDISKO, JKPOV, MNOZ, ZUSTATEK) VALUES"
         " (100, '1', 'A', 10, 0), (100, '11', 'A', 4, 0), (100, '1', 'B', 2.5, 0)");
    exec("INSERT INTO dlrad (CISLODOKLA, STREDISKO, JKPOV, MNOZ) VALUES"
         " (3261001, '1', 'A', 3), (3261002, '1', 'A', 0.5), (32611001, '11', 'A', 1), (3261002, '1', 'B', 4)");
    exec("INSERT INTO uctenkynakl (CISLODOKLA, STREDISKO, JKPOV, MNOZ) VALUES (1, '1', 'A', 2), (2, '1', 'A', -1)");
    // till: written off (already in uctenkynakl), unwritten, an unwritten service line
    exec("INSERT INTO uctenky (stredisko, jkpov, mnoz, nc, povaha) VALUES"
         " ('1', 'A', 2, 11, 'K'), ('1', 'A', 1.5, 0, 'K'), ('1', 'A', -1, 0, ''), ('1', 'A', 7, 0, 'P'),"
         " ('11', 'A', 1, 0, '')");

    exec("call seznam_stav()");

    struct Expected {
        const char* centre;
        const char* item;
        double zustatek;
        double stav;
    };
    const Expected expected[] = {
        {"1", "A", 10 - 3 - 0.5 - (2 - 1), 5.5 - (1.5 - 1)},
        {"11", "A", 4 - 1, 3 - 1},
        {"1", "B", 2.5 - 4, -1.5},
        {"1", "C", 0, 0},
    };
    for (const Expected& e : expected) {
        const auto rs = query(QString("select ZUSTATEK, STAV from seznam where STREDISKO = '%1' and JKPOV = '%2'")
                                  .arg(e.centre, e.item));
        ASSERT_EQ(rs.rowCount(), 1);
        EXPECT_DOUBLE_EQ(rs.number(0, "ZUSTATEK"), e.zustatek) << e.centre << "/" << e.item;
        EXPECT_DOUBLE_EQ(rs.number(0, "STAV"), e.stav) << e.centre << "/" << e.item;
    }
}

} // namespace
