#include "app/tform1.h"
#include "common/gridmodel.h"
#include "support/dbfixture.h"
#include "support/loopbackproxy.h"
#include "support/scriptedprompter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace dorvik;
using app::TForm1;

namespace {

// The register coming up against a server that is there, busy with the same workstation
// number, or silent.
class StartupTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        qputenv("DORVIK_STATE_DIR", dir.path().toUtf8());
        resetTables({"dl", "strediska"});
        exec("INSERT INTO dl (CISLODOKLA, STREDISKO, NAZEVPODNI) VALUES (3261001, '1', 'Listed')");
    }
    QString ini(int port) {
        const QString path = dir.filePath(QStringLiteral("velmo%1.ini").arg(port));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[LogON]\r\nIP=127.0.0.1\r\nSQLport=%1\r\nCisloPC=96\r\nStredisko=1\r\ntestovatVerzi=X\r\n")
                    .arg(port)
                    .toUtf8());
        return path;
    }
    std::unique_ptr<TForm1> start(int port) {
        auto form = std::make_unique<TForm1>(ini(port));
        form->show();
        QCoreApplication::processEvents();
        return form;
    }

    QTemporaryDir dir;
    test::ScriptedPrompter prompter;
};

TEST_F(StartupTest, ASecondCopyWithTheSameWorkstationNumberDoesNotStart) {
    auto first = start(test::testServerSettings().port);
    EXPECT_EQ(first->documents().rowCount(), 1);
    auto second = start(test::testServerSettings().port);
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_TRUE(prompter.lastText().contains("96") && prompter.lastText().contains("velmo.ini"))
        << prompter.lastText().toStdString();
    QCoreApplication::processEvents();
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(second->documents().rowCount(), 0);
    // The first one works on.
    first->reloadAndLocate(3261001);
    EXPECT_EQ(first->documents().rowCount(), 1);
    first->close();
    first.reset();

    // Once it has ended, the number is free again.
    auto third = start(test::testServerSettings().port);
    EXPECT_EQ(third->documents().rowCount(), 1);
    EXPECT_EQ(prompter.asked.size(), 1);
}

// Notes whether the register was on screen when the box came.
class WitnessPrompter : public test::ScriptedPrompter {
public:
    int ask(const common::MessageRequest& request) override {
        registerOnScreen = watched && watched->windowHandle() && watched->windowHandle()->isExposed();
        return ScriptedPrompter::ask(request);
    }
    QWidget* watched = nullptr;
    bool registerOnScreen = false;
};

TEST_F(StartupTest, ASilentServerLeavesTheRegisterOnScreenWithTheClientsMessage) {
    test::LoopbackProxy silent(0);
    WitnessPrompter witness;
    QElapsedTimer t;
    t.start();
    auto form = std::make_unique<TForm1>(ini(silent.port()));
    witness.watched = form.get();
    form->show();
    while (witness.asked.isEmpty() && t.elapsed() < 30000) QCoreApplication::processEvents();
    ASSERT_EQ(witness.asked.size(), 1);
    EXPECT_TRUE(witness.registerOnScreen);
    EXPECT_LT(t.elapsed(), 15000);
    EXPECT_FALSE(witness.lastText().isEmpty());
    EXPECT_TRUE(form->isVisible());
}

} // namespace
