#include "app/tform1.h"
#include "app/versioncheck.h"
#include "common/inifile.h"
#include "support/dbfixture.h"
#include "support/files.h"
#include "support/scriptedprompter.h"
#include "support/webserver.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace dorvik;
using app::VersionCheckResult;
using test::WebServer;

namespace {

const QDateTime built(QDate(2015, 2, 14), QTime(10, 22, 36));

// A program folder with a local program file, and the maker's download folder on a local
// HTTPS server whose authority the test trusts.
class UpdateFolders {
public:
    explicit UpdateFolders(const test::TlsIdentity& identity = test::serverIdentity()) : server(&identity) {}

    QString folder() const { return dir.path() + u'/'; }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString baseAddress() const { return server.url(QStringLiteral("/soubory/")); }

    void publish(const QByteArray& versionFile, const QByteArray& installer = "#!/bin/sh\n") {
        server.serve(QStringLiteral("/soubory/dorodozir.ver"), versionFile);
        server.serve(QStringLiteral("/soubory/") + app::installerFileName("dorodozir"), installer);
    }
    void placeProgram(const QString& name, const QDateTime& changed) {
        test::writeAll(path(name), "program");
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(changed, QFileDevice::FileModificationTime));
    }
    bool installerRequested() const {
        return server.requested().contains(QStringLiteral("/soubory/") + app::installerFileName("dorodozir"));
    }

    QTemporaryDir dir;
    test::TrustedAuthority trust{test::serverIdentity()};
    WebServer server;
};

VersionCheckResult check(UpdateFolders& f, const QString& baseAddress) {
    return app::checkVersion({baseAddress, f.folder()}, "dorodozir", "dorvik", true);
}

TEST(VersionCheck, ComparesThePublishedTimestampWithTheProgramFile) {
    const struct {
        const char* name;
        QByteArray versionFile;
        std::optional<QDateTime> local;
        VersionCheckResult expected;
    } cases[] = {
        {"equal is not newer", "Dorvik\r\ndorvik 2015-02-14 10:22:36.000\r\n", built, VersionCheckResult::NoNewVersion},
        {"two seconds newer", "Dorvik\r\ndorvik 2015-02-14 10:22:36.000\r\n", built.addSecs(-2),
         VersionCheckResult::NewVersion},
        {"timestamp before the name", "Dorvik\r\n2015-02-14 10:22:36.000 dorvik\r\n", built.addSecs(-2),
         VersionCheckResult::NoNewVersion},
        {"name in upper case", "Dorvik\nDORVIK 2015-02-14 10:22:38.000\n", built, VersionCheckResult::NewVersion},
        {"no local program file", "Dorvik\r\ndorvik 2001-01-01 00:00:00.000\r\n", std::nullopt,
         VersionCheckResult::NewVersion},
        {"one line only", "dorvik 2099-01-01 00:00:00.000", built, VersionCheckResult::NoNewVersion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateFolders f;
        f.publish(c.versionFile);
        if (c.local) f.placeProgram("dorvik", *c.local);
        EXPECT_EQ(check(f, f.baseAddress()), c.expected);
        EXPECT_EQ(test::readAll(f.path("dorodozir.ver")), c.versionFile);
        const bool fetched = c.expected == VersionCheckResult::NewVersion;
        EXPECT_EQ(f.installerRequested(), fetched);
        EXPECT_EQ(QFileInfo::exists(f.path(app::installerFileName("dorodozir"))), fetched);
    }
}

TEST(VersionCheck, LogsBothTimestampsAndMakesTheInstallerExecutable) {
    UpdateFolders f;
    f.publish("Dorvik\r\ndorvik 2015-02-14 10:22:36.000\r\n", "#!/bin/sh\nexit 0\n");
    f.placeProgram("dorvik", built.addSecs(-2));
    ASSERT_EQ(check(f, f.baseAddress()), VersionCheckResult::NewVersion);
    EXPECT_EQ(test::readAll(f.path("verze.log")),
              "Verze programu: 2015-02-14 10:22:34\nVerze internet: 2015-02-14 10:22:36\n");
    const QFileInfo installer(f.path(app::installerFileName("dorodozir")));
    EXPECT_EQ(test::readAll(installer.filePath()), "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(installer.isExecutable());

    // Without fetching, the answer alone.
    UpdateFolders quiet;
    quiet.publish("Dorvik\r\ndorvik 2015-02-14 10:22:36.000\r\n");
    EXPECT_EQ(app::checkVersion({quiet.baseAddress(), quiet.folder()}, "dorodozir", "dorvik", false),
              VersionCheckResult::NewVersion);
    EXPECT_FALSE(quiet.installerRequested());
}

TEST(VersionCheck, WhatCannotBeCheckedIsAConnectionError) {
    const QByteArray newer = "Dorvik\r\ndorvik 2099-01-01 00:00:00.000\r\n";
    {
        SCOPED_TRACE("certificate from an authority nobody trusts");
        UpdateFolders f(test::strangerIdentity());
        f.publish(newer);
        EXPECT_EQ(check(f, f.baseAddress()), VersionCheckResult::ConnectionError);
        EXPECT_TRUE(f.server.requested().isEmpty());
        EXPECT_TRUE(QDir(f.folder()).isEmpty());
    }
    {
        SCOPED_TRACE("no version file on the server");
        UpdateFolders f;
        EXPECT_EQ(check(f, f.baseAddress()), VersionCheckResult::ConnectionError);
        EXPECT_FALSE(f.installerRequested());
        EXPECT_FALSE(QFileInfo::exists(f.path("verze.log")));
    }
    {
        SCOPED_TRACE("an installer that is not there is not kept");
        UpdateFolders f;
        f.server.serve("/soubory/dorodozir.ver", newer);
        EXPECT_EQ(check(f, f.baseAddress()), VersionCheckResult::ConnectionError);
        EXPECT_TRUE(f.installerRequested());
        EXPECT_FALSE(QFileInfo::exists(f.path(app::installerFileName("dorodozir"))));
    }
    {
        SCOPED_TRACE("plain http and no address are refused before asking");
        WebServer plain;
        plain.serve("/soubory/dorodozir.ver", newer);
        UpdateFolders f;
        for (const QString& address : {plain.url("/soubory/"), QString(), QStringLiteral("soubory/")})
            EXPECT_EQ(check(f, address), VersionCheckResult::ConnectionError) << address.toStdString();
        EXPECT_TRUE(plain.requested().isEmpty());
        EXPECT_TRUE(QDir(f.folder()).isEmpty());
    }
}

// The register with a program folder of its own (velmo.ini, the program file, the update
// files) that is also the current directory, where the daily marker lives.
class RegisterVersionTest : public test::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        previousDir = QDir::currentPath();
        QDir::setCurrent(f.dir.path());
        qputenv("DORVIK_STATE_DIR", f.dir.path().toUtf8());
        f.placeProgram(app::programFileName(), built);
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    void writeIni(const char* versionTestMode) {
        test::writeAll(f.path("velmo.ini"), QStringLiteral("[LogON]\r\nIP=127.0.0.1\r\nSQLport=%1\r\nStredisko=1\r\n"
                                                           "testovatVerzi=%2\r\nadresaVerze=%3\r\n")
                                                .arg(test::testServerSettings().port)
                                                .arg(versionTestMode, f.baseAddress())
                                                .toUtf8());
    }
    void publish(const QDateTime& published, const QByteArray& installer = "#!/bin/sh\n") {
        f.publish("Dorvik\r\n" + app::programFileName().toUtf8() + " "
                      + published.toString("yyyy-MM-dd hh:mm:ss").toUtf8() + ".000\r\n",
                  installer);
    }
    // Shown, with its start-up steps done (the cost centre shows once the connection is open).
    std::unique_ptr<app::TForm1> start() {
        auto form = std::make_unique<app::TForm1>(f.path("velmo.ini"));
        form->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->findChild<QLabel*>("Label1")->text().isEmpty(); }, 20000));
        return form;
    }
    int versionFileRequests() const { return f.server.requested().count("/soubory/dorodozir.ver"); }

    UpdateFolders f;
    QString previousDir;
    test::ScriptedPrompter prompter;
};

TEST_F(RegisterVersionTest, NewVersionStartsTheInstallerAndEndsTheProgram) {
    writeIni("N");
    const QString mark = f.path("installer-ran");
    publish(built.addSecs(2), "#!/bin/sh\necho started > '" + mark.toUtf8() + "'\n");
    auto form = start();
    EXPECT_TRUE(prompter.asked.isEmpty()); // no check at start but with "A"
    form->findChild<QAction*>("KontrolaVerze")->trigger();
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.lastText(), "Nyní bude aktualizován program Dizidir.\nBude proveden restart programu!");
    EXPECT_EQ(prompter.asked[0].icon, common::MessageIcon::Information);
    EXPECT_EQ(prompter.asked[0].caption, "Dorvik");
    EXPECT_TRUE(QTest::qWaitFor([&] { return test::readAll(mark) == "started\n"; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    // The menu check writes no daily marker.
    EXPECT_FALSE(QFileInfo::exists(f.path("dorvik.ini")));
}

TEST_F(RegisterVersionTest, MenuReportsNoNewVersionAndConnectionErrors) {
    writeIni("N");
    auto form = start();
    const struct {
        const char* text;
        common::MessageIcon icon;
    } expected[] = {{"Chyba připojení.", common::MessageIcon::Stop}, {"Není nová verze.", common::MessageIcon::Information}};
    for (const auto& e : expected) {
        form->findChild<QAction*>("KontrolaVerze")->trigger();
        ASSERT_FALSE(prompter.asked.isEmpty());
        EXPECT_EQ(prompter.lastText(), QString::fromUtf8(e.text));
        EXPECT_EQ(prompter.asked.last().icon, e.icon);
        publish(built); // nothing published at first: 404
    }
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(RegisterVersionTest, StartUpChecksOnceADay) {
    writeIni("A");
    publish(built);
    start();
    EXPECT_EQ(versionFileRequests(), 1);
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.lastText(), QString::fromUtf8("Není nová verze."));
    const QString today = QDate::currentDate().toString("yyyyMMdd");
    common::IniFile marker(f.path("dorvik.ini"));
    EXPECT_EQ(marker.readString("Dnes", "Datum", {}), today);

    start(); // the same day: no check
    EXPECT_EQ(versionFileRequests(), 1);
    EXPECT_EQ(prompter.asked.size(), 1);

    marker.writeString("Dnes", "Datum", QDate::currentDate().addDays(-1).toString("yyyyMMdd"));
    start(); // the next day: once
    start();
    EXPECT_EQ(versionFileRequests(), 2);
    EXPECT_EQ(prompter.asked.size(), 2);
    EXPECT_EQ(marker.readString("Dnes", "Datum", {}), today);
}

TEST_F(RegisterVersionTest, ModeXHidesTheMenuItemAndLeavesTheMarkerAlone) {
    writeIni("X");
    publish(built.addSecs(2));
    auto form = start();
    EXPECT_FALSE(form->findChild<QAction*>("KontrolaVerze")->isVisible());
    EXPECT_TRUE(f.server.requested().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(f.path("dorvik.ini")));
    EXPECT_TRUE(prompter.asked.isEmpty());
}

TEST_F(RegisterVersionTest, AServerThatNeverAnswersDoesNotHoldUpTheStart) {
    writeIni("A");
    f.server.setSilent(true);
    QElapsedTimer started;
    started.start();
    auto form = start();
    // Well under the download's own 30 seconds of silence; at start a failed check is silent.
    EXPECT_LT(started.elapsed(), 15000);
    EXPECT_TRUE(prompter.asked.isEmpty());
    EXPECT_EQ(form->findChild<QLabel*>("Label1")->text(), "1");
}

} // namespace
