#pragma once

#include "common/startupsettings.h"
#include "support/dbfixture.h"
#include "support/scriptedprompter.h"

#include <QDir>
#include <QTemporaryDir>

namespace dorvik::test {

// A window test against the real server: the state file and the trace files go to a fresh
// folder that is the current directory meanwhile, message boxes are answered by a script,
// and the workstation is "01".
class WindowDbTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        qputenv("DORVIK_STATE_DIR", dir.path().toUtf8());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        settings.workstation = QStringLiteral("01");
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    QTemporaryDir dir;
    QString previousDir;
    common::StartupSettings settings;
    ScriptedPrompter prompter;
};

} // namespace dorvik::test
