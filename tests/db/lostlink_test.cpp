#include "db/cp1250.h"
#include "db/dberror.h"
#include "db/savecheck.h"
#include "db/scriptrunner.h"
#include "db/sqltext.h"
#include "support/dbfixture.h"
#include "support/loopbackproxy.h"

#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <errmsg.h>

using namespace dorvik;
using db::DbError;

namespace {

// A table of its own and a second connection that reaches the server through a relay.
class LostLinkTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        exec("DROP TABLE IF EXISTS tmp98t");
        exec("CREATE TABLE tmp98t (id INT AUTO_INCREMENT PRIMARY KEY, txt VARCHAR(100) NOT NULL DEFAULT '')"
             " ENGINE=InnoDB DEFAULT CHARSET=cp1250");
    }
    void TearDown() override { exec("DROP TABLE IF EXISTS tmp98t"); }

    db::ConnectionSettings through(const test::LoopbackProxy& proxy, int readTimeout = 300) {
        db::ConnectionSettings s = test::testServerSettings();
        s.port = proxy.port();
        s.connectTimeout = 2;
        s.readTimeout = readTimeout;
        return s;
    }
    qint64 rows() { return query("SELECT COUNT(*) FROM tmp98t").integer(0, 0); }

    test::LoopbackProxy proxy{test::testServerSettings().port};
};

TEST(Cp1250, CharactersOutsideItAreNamedOnce) {
    EXPECT_EQ(db::charactersOutsideCp1250(QString::fromUtf8("Žluťoučký kůň €")), "");
    EXPECT_EQ(db::charactersOutsideCp1250(QString::fromUtf8("a日b日 Дом 😀")), QString::fromUtf8("日Дом😀"));
    EXPECT_EQ(db::outsideCp1250Message(QString::fromUtf8("日😀")),
              QString::fromUtf8("Text obsahuje znaky, které databáze neumí uložit (znaková sada cp1250): 日 😀"));
}

TEST(SqlText, NumbersThatAreNotFiniteAreRefused) {
    for (const double v : {std::nan(""), HUGE_VAL, -HUGE_VAL}) EXPECT_THROW(db::sqlNumber(v), std::invalid_argument);
}

TEST_F(LostLinkTest, TextTheDatabaseCannotHoldIsRefusedBeforeAnythingIsWritten) {
    for (const char* text : {"Hřebík 日本", "Дом", "Hřebík 😀"}) {
        SCOPED_TRACE(text);
        try {
            exec("INSERT INTO tmp98t (txt) VALUES (" + db::sqlQuoted(QString::fromUtf8(text)) + ")");
            FAIL() << "no error";
        } catch (const DbError& e) {
            EXPECT_TRUE(e.message().contains("cp1250")) << e.message().toStdString();
        }
    }
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(query("SELECT COUNT(*) FROM tmp98t WHERE txt LIKE '%?%'").integer(0, 0), 0);
}

TEST_F(LostLinkTest, AConnectionKilledJustBeforeAWriteIsReopenedAndTheWriteDoneOnce) {
    db::Connection other;
    other.setSettings(test::testServerSettings());
    other.open();
    other.execute(QStringLiteral("KILL %1").arg(db().threadId()));
    QThread::msleep(100); // well inside the idle pause, so no ping finds it first
    exec("INSERT INTO tmp98t (txt) VALUES ('after the kill')");
    EXPECT_EQ(rows(), 1);
}

TEST_F(LostLinkTest, AStatementWhoseAnswerIsLostIsSentAgainOnlyWhenItReads) {
    db::Connection c;
    c.setSettings(through(proxy));
    c.open();
    // A read is harmless to repeat: it is answered on a new connection.
    proxy.loseAnswerTo("SELECT 42");
    EXPECT_EQ(c.query("SELECT 42").integer(0, 0), 42);
    // A write may have run: its error is shown as it is, and it ran once.
    proxy.loseAnswerTo("INSERT");
    try {
        c.execute("INSERT INTO tmp98t (txt) VALUES ('once')");
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.code(), unsigned(CR_SERVER_LOST)) << e.message().toStdString();
    }
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(c.query("SELECT COUNT(*) FROM tmp98t").integer(0, 0), 1); // and the connection is back
}

TEST_F(LostLinkTest, TheFirstBatchAfterTheServerDroppedEveryLinkRuns) {
    db::Connection c;
    c.setSettings(through(proxy));
    c.open();
    proxy.cutAll(); // what a server restart does to its connections
    QThread::msleep(50);
    db::runScript(c, {"START TRANSACTION;", "INSERT INTO tmp98t (txt) VALUES ('one');", "COMMIT;"});
    EXPECT_EQ(rows(), 1);
}

TEST_F(LostLinkTest, ALostCommitAnswerIsTold) {
    db::Connection c;
    c.setSettings(through(proxy));
    c.open();
    proxy.loseAnswerTo("COMMIT");
    EXPECT_THROW(db::runScript(c, {"START TRANSACTION;", "INSERT INTO tmp98t (txt) VALUES ('one');", "COMMIT;"}),
                 db::CommitUnknown);
    EXPECT_EQ(rows(), 1); // it did reach the server
    EXPECT_TRUE(db::storedAsSent(c, {"SELECT txt FROM tmp98t"}, {"SELECT 'one'"}, {}, "%1"));
}

TEST_F(LostLinkTest, AServerThatNeverAnswersGivesTheClientsMessageWithinTheTimeouts) {
    test::LoopbackProxy silent(0);
    db::Connection c;
    c.setSettings(through(silent));
    QElapsedTimer t;
    t.start();
    try {
        c.open();
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_LT(t.elapsed(), 10000);

    // Mid-session: the server stops answering; the command fails after the read timeout and
    // the connection works again once the server does.
    c.setSettings(through(proxy, 2));
    c.open();
    proxy.stall(true);
    t.restart();
    EXPECT_THROW(c.query("SELECT 1"), DbError);
    EXPECT_LT(t.elapsed(), 10000);
    proxy.stall(false);
    EXPECT_EQ(c.query("SELECT 2").integer(0, 0), 2);
}

// The workstation number: one running copy each, a leftover of a crashed one never blocks.
class WorkstationClaimTest : public LostLinkTest {
protected:
    void TearDown() override {
        holder.close();
        LostLinkTest::TearDown();
    }
    // Holds the number's locks as another copy does; `machine` empty: this machine's.
    void holdLocks(const QString& machine) {
        holder.setSettings(test::testServerSettings());
        holder.open();
        QStringList names = db::workstationLockNames("97");
        if (!machine.isEmpty()) names[1] = names[0] + u'.' + machine;
        for (const QString& name : names) holder.execute("DO GET_LOCK(" + db::sqlQuoted(name) + ", 0)");
    }
    bool holderAlive() {
        return query(QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = %1").arg(holder.threadId()))
                   .integer(0, 0) == 1;
    }
    db::Connection holder;
};

TEST_F(WorkstationClaimTest, ASecondCopyIsRefusedAndALeftoverOfThisMachineIsNot) {
    db::Connection first, second;
    for (db::Connection* c : {&first, &second}) c->setSettings(test::testServerSettings());
    first.claimWorkstation("97");
    first.open();
    try {
        second.claimWorkstation("97");
        FAIL() << "the second copy started";
    } catch (const db::WorkstationInUse& e) {
        EXPECT_TRUE(e.message().contains("97") && e.message().contains("velmo.ini")) << e.message().toStdString();
    }
    first.close();
}

TEST_F(WorkstationClaimTest, LeftoversAndOtherMachines) {
    struct Case {
        const char* what;
        const char* machine; // whose copy holds the number; "" this machine's
        bool starts;
    };
    const Case cases[] = {{"a copy of this machine that lost power", "", true},
                          {"a copy on another machine", "elsewhere", false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        holdLocks(QLatin1String(k.machine));
        db::Connection c;
        c.setSettings(test::testServerSettings());
        c.claimWorkstation("97");
        if (k.starts) {
            c.open();
            EXPECT_EQ(c.query("SELECT 1").integer(0, 0), 1);
            EXPECT_FALSE(holderAlive());
        } else {
            EXPECT_THROW(c.open(), db::WorkstationInUse);
            EXPECT_TRUE(holderAlive());
        }
        holder.close();
    }
}

TEST_F(WorkstationClaimTest, AfterADropTheNumberIsTakenAgainOrTheCopyStops) {
    db::Connection c;
    c.setSettings(through(proxy));
    c.claimWorkstation("97");
    c.open();
    // A network drop the server has not noticed: its session still holds the number.
    proxy.cutClientSides();
    EXPECT_EQ(c.query("SELECT 3").integer(0, 0), 3);

    // Meanwhile another machine's copy took the number: no further work, and it says why.
    proxy.cutAll();
    QThread::msleep(200);
    holdLocks("elsewhere");
    for (int i = 0; i < 2; ++i) {
        try {
            c.query("SELECT 4");
            FAIL() << "the copy went on";
        } catch (const db::WorkstationInUse& e) {
            EXPECT_TRUE(e.message().contains("mezitím")) << e.message().toStdString();
        }
    }
}

} // namespace
