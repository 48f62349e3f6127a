#include "common/formstorage.h"
#include "common/inifile.h"
#include "common/startupsettings.h"
#include "db/cp1250.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

using namespace dorvik;
using namespace dorvik::common;

namespace {

using test::readAll;
using test::writeAll;

class IniTest : public ::testing::Test {
protected:
    // The INI file of the test, holding the given bytes.
    QString ini(const QByteArray& bytes) {
        writeAll(path_, bytes);
        return path_;
    }

    QTemporaryDir dir_;
    const QString path_ = dir_.filePath("velmo.ini");
};

using StartupSettingsTest = IniTest;

TEST_F(StartupSettingsTest, NoFileGivesTheDefaults) {
    const StartupSettings s = readStartupSettings(dir_.filePath("missing.ini"));
    EXPECT_EQ(s.host, "localhost");
    EXPECT_EQ(s.user, "root");
    EXPECT_EQ(s.password, "");
    EXPECT_EQ(s.port, 3306);
    EXPECT_EQ(s.workstation, "00");
    EXPECT_EQ(s.costCentre, "777");
    EXPECT_EQ(s.centrumMode, "N");
    EXPECT_EQ(s.recalculateStock, "N");
    EXPECT_EQ(s.versionTestMode, "A");
    EXPECT_EQ(s.terminal, 0);
    EXPECT_EQ(s.deliveryNoteLayout, 1);
    EXPECT_EQ(readPrefixFakt(dir_.filePath("missing.ini")), 0);

    const db::ConnectionSettings c = s.connectionSettings();
    EXPECT_EQ(c.host, "localhost");
    EXPECT_EQ(c.port, 3306);
    EXPECT_EQ(c.user, "root");
    EXPECT_EQ(c.password, "");
    EXPECT_EQ(c.database, "velmo");
}

TEST_F(StartupSettingsTest, ValuesAsWrittenNamesInAnyCase) {
    const QString path = ini("; workstation 3\r\n"
                             "[other]\r\nIP=wrong\r\n"
                             "[logon]\r\n"
                             "ip = db.shop.cz \r\n"
                             "USER=prodej\r\n"
                             "Password=\"Se cret\"\r\n"
                             "sqlport=3307\r\n"
                             "CisloPC=03\r\n"
                             "Stredisko=120\r\n"
                             "centrum=a\r\n"
                             "prepocitatStav=A\r\n"
                             "testovatVerzi=X\r\n"
                             "Terminal=65537\r\n"
                             "typvydejky=3\r\n"
                             "prefixFakt=26\r\n"
                             "IP=second\r\n");
    const StartupSettings s = readStartupSettings(path);
    EXPECT_EQ(s.host, "db.shop.cz");
    EXPECT_EQ(s.user, "prodej");
    EXPECT_EQ(s.password, "Se cret");
    EXPECT_EQ(s.port, 3307);
    EXPECT_EQ(s.workstation, "03");
    EXPECT_EQ(s.costCentre, "120");
    EXPECT_EQ(s.centrumMode, "a");
    EXPECT_EQ(s.recalculateStock, "A");
    EXPECT_EQ(s.versionTestMode, "X");
    EXPECT_EQ(s.terminal, 1); // low 16 bits
    EXPECT_EQ(s.deliveryNoteLayout, 3);
    EXPECT_EQ(readPrefixFakt(path), 26);

    const db::ConnectionSettings c = s.connectionSettings();
    EXPECT_EQ(c.host, "db.shop.cz");
    EXPECT_EQ(c.port, 3307);
    EXPECT_EQ(c.user, "prodej");
    EXPECT_EQ(c.password, "Se cret");
    EXPECT_EQ(c.database, "velmo");
}

TEST_F(StartupSettingsTest, IntegersThatAreNotIntegersGiveTheDefault) {
    const struct {
        const char* text;
        int port;
    } cases[] = {
        {"abc", 3306}, {"", 3306},       {"33o6", 3306},         {"0x10", 3306},        {"3 306", 3306},
        {"1.5", 3306}, {"+", 3306},      {"2147483648", 3306},   {"3310", 3310},        {" +3311 ", 3311},
        {"-1", -1},    {"007", 7},       {"2147483647", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const auto& c : cases) {
        const QString path = ini(QByteArray("[LogON]\nSQLport=") + c.text + "\n");
        EXPECT_EQ(readStartupSettings(path).port, c.port) << c.text;
    }
    // The 16-bit keys: a non-integer gives the default, a larger integer keeps its low 16 bits.
    const StartupSettings s = readStartupSettings(ini("[LogON]\nTerminal=abc\ntypvydejky=-65534\n"));
    EXPECT_EQ(s.terminal, 0);
    EXPECT_EQ(s.deliveryNoteLayout, 2);
    EXPECT_EQ(readStartupSettings(ini("[LogON]\nTerminal=32768\n")).terminal, -32768);
}

TEST_F(StartupSettingsTest, Cp1250AndUtf8Files) {
    const QString user = QString::fromUtf8("Šťastný");
    const QByteArray utf8 = QString::fromUtf8("[LogON]\r\nUser=Šťastný\r\nStredisko=Plzeň\r\n").toUtf8();
    const QByteArray cp1250 = db::toCp1250(QString::fromUtf8(utf8));
    for (const QByteArray& bytes : {cp1250, utf8, QByteArray("\xEF\xBB\xBF") + utf8}) {
        const StartupSettings s = readStartupSettings(ini(bytes));
        EXPECT_EQ(s.user, user) << bytes.toHex().constData();
        EXPECT_EQ(s.costCentre, QString::fromUtf8("Plzeň")) << bytes.toHex().constData();
    }
    // Its last byte (Č) opens a UTF-8 sequence, so the end alone must not pass for UTF-8.
    EXPECT_EQ(readStartupSettings(ini(db::toCp1250(QString::fromUtf8("[LogON]\nUser=Č")))).user, QString::fromUtf8("Č"));
}

using IniFileTest = IniTest;

TEST_F(IniFileTest, ReadsTheFirstSectionAndKeyAndIgnoresOtherLines) {
    const IniFile f(ini("Key=before any section\n"
                        "[A]\n"
                        "; Key=comment\n"
                        "not an entry\n"
                        "Key = one = two \n"
                        "key=later\n"
                        "Quoted='x'\n"
                        "Half=\"x\n"
                        "[ B ]\n"
                        "Key=b\n"
                        "[a]\n"
                        "Other=second section of the same name\n"));
    EXPECT_EQ(f.readString("a", "KEY", "-"), "one = two");
    EXPECT_EQ(f.readString("A", "Quoted", "-"), "x");
    EXPECT_EQ(f.readString("A", "Half", "-"), "\"x");
    EXPECT_EQ(f.readString("b", "key", "-"), "b");
    EXPECT_EQ(f.readString("A", "Other", "-"), "-");
    EXPECT_EQ(f.readString("C", "Key", "-"), "-");
}

TEST_F(IniFileTest, WritingKeepsTheOtherLinesEncodingAndLineBreaks) {
    IniFile f(ini(db::toCp1250(QString::fromUtf8("; Poznámka\r\n[Dnes]\r\nDatum=20150305\r\nJiný=ž\r\n\r\n[Další]\r\nX=1\r\n"))));
    ASSERT_TRUE(f.writeString("dnes", "datum", "20150306"));
    ASSERT_TRUE(f.writeString("Dnes", "Nový", QString::fromUtf8("č")));
    ASSERT_TRUE(f.writeString("Třetí", "Y", "2"));
    EXPECT_EQ(readAll(path_), db::toCp1250(QString::fromUtf8("; Poznámka\r\n[Dnes]\r\ndatum=20150306\r\nJiný=ž\r\nNový=č\r\n\r\n"
                                                               "[Další]\r\nX=1\r\n[Třetí]\r\nY=2\r\n")));
    EXPECT_EQ(f.readString("DNES", "DATUM", "-"), "20150306");

    IniFile bom(ini("\xEF\xBB\xBF[A]\nK=1\n"));
    ASSERT_TRUE(bom.writeString("A", "K", QString::fromUtf8("ř")));
    EXPECT_EQ(readAll(path_), "\xEF\xBB\xBF[A]\nK=\xC5\x99\n");
}

TEST_F(IniFileTest, ANewFileIsUtf8AndAnUnreadableOneIsLeftAlone) {
    IniFile fresh(dir_.filePath("new.ini"));
    ASSERT_TRUE(fresh.writeString("TForm1", "Název", QString::fromUtf8("Vše")));
    EXPECT_EQ(readAll(dir_.filePath("new.ini")), QString::fromUtf8("[TForm1]\r\nNázev=Vše\r\n").toUtf8());

    ASSERT_TRUE(QDir().mkdir(dir_.filePath("folder.ini")));
    IniFile folder(dir_.filePath("folder.ini"));
    EXPECT_FALSE(folder.writeString("A", "K", "1"));
    EXPECT_EQ(folder.readString("A", "K", "-"), "-");
}

// Each test gets its own state folder, one level deeper than exists, and the old one back.
class FormStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = qgetenv("DORVIK_STATE_DIR");
        hadOld_ = qEnvironmentVariableIsSet("DORVIK_STATE_DIR");
        qputenv("DORVIK_STATE_DIR", dir_.filePath("state").toUtf8());
    }
    void TearDown() override {
        if (hadOld_)
            qputenv("DORVIK_STATE_DIR", old_);
        else
            qunsetenv("DORVIK_STATE_DIR");
    }

    QTemporaryDir dir_;
    QByteArray old_;
    bool hadOld_ = false;
};

TEST_F(FormStorageTest, RoundTripStampsFormVersion) {
    FormStorage store;
    EXPECT_EQ(store.path(), dir_.filePath("state/dorvik.INI"));
    EXPECT_EQ(store.readInt("TForm1", "suiComboBoxRok_ItemIndex", 4), 4);

    store.write("TForm1", "suiComboBoxRok_ItemIndex", 2);
    store.write("TFsest1", "DateEdit1_Text", "01.03.2015");
    const QByteArray file = readAll(store.path());
    EXPECT_TRUE(file.contains("[TForm1]\r\nsuiComboBoxRok_ItemIndex=2\r\nFormVersion=0\r\n")) << file.constData();
    EXPECT_TRUE(file.contains("[TFsest1]\r\nDateEdit1_Text=01.03.2015\r\nFormVersion=0\r\n")) << file.constData();

    const FormStorage again;
    EXPECT_EQ(again.readInt("TForm1", "suiComboBoxRok_ItemIndex", 0), 2);
    EXPECT_EQ(again.readString("TFsest1", "DateEdit1_Text", "today"), "01.03.2015");
    EXPECT_EQ(again.readString("TFsest1", "DateEdit2_Text", "today"), "today");
}

TEST_F(FormStorageTest, RestoresOnlyWhileFormVersionIsNotNegative) {
    QDir().mkpath(dir_.filePath("state"));
    const struct {
        const char* version;
        int index;
    } cases[] = {{"", 3}, {"FormVersion=0\n", 3}, {"FormVersion=5\n", 3}, {"FormVersion=-1\n", 7}};
    for (const auto& c : cases) {
        writeAll(dir_.filePath("state/dorvik.INI"), QByteArray("[TForm1]\nsuiComboBoxRok_ItemIndex=3\n") + c.version);
        EXPECT_EQ(FormStorage().readInt("TForm1", "suiComboBoxRok_ItemIndex", 7), c.index) << c.version;
    }
    FormStorage store;
    store.write("TForm1", "suiComboBoxRok_ItemIndex", 1);
    EXPECT_EQ(store.readInt("TForm1", "suiComboBoxRok_ItemIndex", 7), 1);
}

} // namespace
