#include "db/cp1250.h"
#include "db/dberror.h"
#include "db/scratchtable.h"
#include "db/scriptrunner.h"
#include "db/sqltext.h"
#include "support/dbfixture.h"

#include <QThread>

using namespace dorvik;
using db::DbError;

namespace {

class ConnectionTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("DROP TABLE IF EXISTS tmp99t");
        exec("CREATE TABLE tmp99t (id INT AUTO_INCREMENT PRIMARY KEY, txt VARCHAR(300) NOT NULL DEFAULT '',"
             " num DOUBLE NOT NULL DEFAULT 0) ENGINE=InnoDB DEFAULT CHARSET=cp1250");
    }
    void TearDown() override { exec("DROP TABLE IF EXISTS tmp99t"); }
};

TEST(SqlText, QuotesAndNumbers) {
    EXPECT_EQ(db::sqlQuoted("O'Brien"), "'O''Brien'");
    EXPECT_EQ(db::sqlQuoted("a\\"), "'a\\\\'");
    EXPECT_EQ(db::sqlQuoted(QString("x\ny") + QChar(0)), "'x\\ny\\0'");
    QLocale::setDefault(QLocale(QLocale::Czech));
    EXPECT_EQ(db::sqlNumber(2.5), "2.5");
    EXPECT_EQ(db::sqlNumber(-0.1), "-0.1");
    EXPECT_EQ(db::sqlNumber(qint64(126000123456)), "126000123456");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(db::scratchTable("01", "dl"), "tmp01dl");
}

TEST(SqlText, SessionModeDropsWhatTheStatementsCannotLiveWith) {
    EXPECT_EQ(db::sessionSqlMode("ONLY_FULL_GROUP_BY,STRICT_TRANS_TABLES,NO_ZERO_DATE,ANSI_QUOTES,"
                                 "NO_AUTO_VALUE_ON_ZERO,NO_BACKSLASH_ESCAPES,NO_ENGINE_SUBSTITUTION"),
              "STRICT_TRANS_TABLES,NO_ZERO_DATE,NO_ENGINE_SUBSTITUTION");
    EXPECT_EQ(db::sessionSqlMode(""), "");
}

TEST(Cp1250, CzechLettersMapToTheirBytes) {
    const QString czech = QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy ŠČŘŽÝÁÍÉĚŮŤĎŇ");
    const QByteArray bytes = db::toCp1250(czech);
    EXPECT_EQ(bytes.size(), czech.size());
    EXPECT_EQ(static_cast<unsigned char>(db::toCp1250(QString::fromUtf8("ě"))[0]), 236);
    EXPECT_EQ(static_cast<unsigned char>(db::toCp1250(QString::fromUtf8("š"))[0]), 154);
    EXPECT_EQ(db::fromCp1250(bytes), czech);
    EXPECT_EQ(db::toCp1250(QString::fromUtf8("€ 日")), QByteArray("\x80 ?"));
}

TEST_F(ConnectionTest, HostileTextsRoundTripByteForByte) {
    const QString texts[] = {
        "it's", "''", "end\\", "in\\side", "\\'", QString("nul") + QChar(0) + "inside", "100 %", "a_b", "say \"hi\"",
        QString::fromUtf8("Žluťoučký kůň"), "line\nbreak\r\n", QString(QChar(0x1a)), "'; DROP TABLE tmp99t; --",
        QString(255, QChar(u'\\')), QString(254, QChar(u'\'')) + "\\",
    };
    for (const QString& t : texts) {
        exec("DELETE FROM tmp99t");
        exec("INSERT INTO tmp99t (txt) VALUES (" + db::sqlQuoted(t) + ")");
        const auto rs = query("SELECT txt, txt = " + db::sqlQuoted(t) + " FROM tmp99t");
        ASSERT_EQ(rs.rowCount(), 1) << t.toStdString();
        EXPECT_EQ(rs.text(0, 0), t) << t.toStdString();
        EXPECT_EQ(rs.integer(0, 1), 1) << t.toStdString();
    }
}

TEST_F(ConnectionTest, ValuesConvertOnDemand) {
    exec("INSERT INTO tmp99t (txt, num) VALUES ('x', 2.75)");
    const auto rs = query("SELECT id, txt, num, CAST('2015-03-05 14:07:09' AS DATETIME) AS kdy, NULL AS nic FROM tmp99t");
    EXPECT_EQ(rs.columnNames(), QStringList({"id", "txt", "num", "kdy", "nic"}));
    EXPECT_EQ(rs.column(0).kind, db::ColumnKind::Integer);
    EXPECT_EQ(rs.column(2).kind, db::ColumnKind::Float);
    EXPECT_EQ(rs.column(3).kind, db::ColumnKind::DateTime);
    EXPECT_DOUBLE_EQ(rs.number(0, "NUM"), 2.75);
    EXPECT_EQ(rs.dateTime(0, "kdy"), QDateTime(QDate(2015, 3, 5), QTime(14, 7, 9)));
    EXPECT_TRUE(rs.isNull(0, "nic"));
    EXPECT_THROW(rs.text(0, "missing"), DbError);
}

TEST_F(ConnectionTest, FailingStatementCarriesServerMessage) {
    try {
        exec("SELECT nosuchcolumn FROM tmp99t");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), 1054u);
        EXPECT_TRUE(e.message().contains("nosuchcolumn")) << e.message().toStdString();
        EXPECT_EQ(e.statement(), "SELECT nosuchcolumn FROM tmp99t");
    }
    exec("SELECT 1"); // the connection stays usable
}

TEST_F(ConnectionTest, BatchFailingInsideItsTransactionLeavesNothing) {
    const QStringList batch{"START TRANSACTION;", "INSERT INTO tmp99t (txt) VALUES ('one');",
                            "INSERT INTO tmp99t (nosuch) VALUES ('two');", "INSERT INTO tmp99t (txt) VALUES ('three');",
                            "COMMIT;"};
    EXPECT_THROW(db::runScript(db(), batch), DbError);
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(query("SELECT COUNT(*) FROM tmp99t").integer(0, 0), 0);

    db::runScript(db(), {"START TRANSACTION;", "INSERT INTO tmp99t (txt) VALUES ('one');", "COMMIT;"});
    EXPECT_EQ(query("SELECT COUNT(*) FROM tmp99t").integer(0, 0), 1);
}

TEST_F(ConnectionTest, KilledConnectionIsOpenedAgainByTheNextCommand) {
    db::Connection other;
    other.setSettings(test::testServerSettings());
    other.open();
    other.execute(QStringLiteral("KILL %1").arg(db().threadId()));
    QThread::msleep(1100);
    EXPECT_EQ(query("SELECT 42").integer(0, 0), 42);
    // The reopened session has the program's modes again.
    EXPECT_EQ(query("SELECT @@SESSION.sql_mode LIKE '%ONLY_FULL_GROUP_BY%'").integer(0, 0), 0);
}

TEST_F(ConnectionTest, BatchNeverReconnectsBehindItsTransaction) {
    db::Connection other;
    other.setSettings(test::testServerSettings());
    other.open();
    const auto id = db().threadId();
    const QStringList batch{"START TRANSACTION;", "INSERT INTO tmp99t (txt) VALUES ('one');",
                            QStringLiteral("DO (SELECT 1)"), "INSERT INTO tmp99t (txt) VALUES ('two');", "COMMIT;"};
    db().execute("START TRANSACTION");
    db().execute("INSERT INTO tmp99t (txt) VALUES ('zero')");
    other.execute(QStringLiteral("KILL %1").arg(id));
    QThread::msleep(1100);
    EXPECT_THROW(db::runScript(db(), batch), DbError);
    EXPECT_EQ(query("SELECT COUNT(*) FROM tmp99t").integer(0, 0), 0);
}

TEST_F(ConnectionTest, GroupedSelectRunsUnderServerFullGroupByMode) {
    exec("INSERT INTO tmp99t (txt, num) VALUES ('a', 1), ('a', 2), ('b', 3)");
    const auto rs = query("SELECT txt, num, SUM(num) FROM tmp99t GROUP BY txt ORDER BY txt");
    EXPECT_EQ(rs.rowCount(), 2);
    EXPECT_DOUBLE_EQ(rs.number(1, 2), 3.0);
    // Double-quoted literals are strings and id 0 asks for the next value.
    exec("INSERT INTO tmp99t (id, txt) VALUES (0, \"c\")");
    EXPECT_GT(db().lastInsertId(), 0u);
}

TEST_F(ConnectionTest, FailedOpenReportsClientText) {
    db::Connection c;
    auto s = test::testServerSettings();
    s.password = "wrong";
    c.setSettings(s);
    try {
        c.open();
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), 1045u);
        EXPECT_TRUE(e.message().contains("Access denied")) << e.message().toStdString();
    }
    EXPECT_FALSE(c.isOpen());
}

} // namespace
