#include "common/dailymarker.h"
#include "common/filetime.h"
#include "common/routines.h"
#include "common/tracefile.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace dorvik;
using namespace dorvik::common;

namespace {

using test::readAll;
using test::writeAll;

// The marker and the trace files live in the current directory: each test gets its own.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        old_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    }
    void TearDown() override { QDir::setCurrent(old_); }

    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString old_;
};

TEST(KeyNormalisation, WrongLayoutCharactersBecomeDigits) {
    const struct {
        QString in, out;
    } cases[] = {
        {QString::fromUtf8("ěščřžýáíé"), "234567890"},
        {"!@#$%^&*()", "1234567890"},
        {"+ABC~", QString::fromUtf8("1ABC°")},
        // Capitals with accents come from no digit key.
        {QString::fromUtf8("ĚŠČŘŽÝÁÍÉ"), QString::fromUtf8("ĚŠČŘŽÝÁÍÉ")},
        {QString::fromUtf8("85ú94ů"), QString::fromUtf8("85ú94ů")},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(normaliseKeys(c.in), c.out) << c.in.toStdString();

    const QString longCode = QString(254, u'1') + QString::fromUtf8("ěš");
    EXPECT_EQ(normaliseKeys(longCode), QString(254, u'1') + u'2');
}

TEST(Rounding, HalfAwayFromZero) {
    const struct {
        double in, out;
    } cases[] = {
        {2.5, 3}, {-2.5, -3}, {2.4999, 2}, {-2.4999, -2}, {0.5, 1}, {-0.5, -1}, {0, 0},
        // Adding the half in double precision would give 1 and 4503599627370498.
        {0.49999999999999994, 0}, {4503599627370497.0, 4503599627370497.0},
    };
    for (const auto& c : cases) EXPECT_EQ(roundHalfAwayFromZero(c.in), c.out) << c.in;
}

TEST(Rounding, ToPlacesRoundsTheDoubleProduct) {
    const struct {
        qint16 places;
        double in, out;
    } cases[] = {
        {2, 1.005, 1.0},   // 100.49999999999999
        {2, 2.345, 2.35},
        {2, 0.285, 0.28},  // 28.499999999999996
        {2, 2.675, 2.68},
        {4, 0.00005, 0.0001},
        {0, -0.5, -1},
        {2, 1.235, 1.24},
        {2, -1.235, -1.24},
        {3, 12.3456, 12.346},
        {2, 19.99, 19.99},
        {-1, 125, 130},
    };
    for (const auto& c : cases) EXPECT_EQ(roundTo(c.places, c.in), c.out) << c.in << " to " << c.places;
}

TEST(SqlDates, DayAndTimeTexts) {
    const QDateTime at(QDate(2015, 3, 5), QTime(14, 7));
    EXPECT_EQ(sqlDate(at.date()), "2015-03-05");
    EXPECT_EQ(sqlDateTime(at), "2015-03-05 14:07:00");
    EXPECT_EQ(sqlDateTime(QDateTime(QDate(2015, 12, 31), QTime(23, 59, 58))), "2015-12-31 23:59:58");
    EXPECT_EQ(yearOf(at.date()), 2015);
}

TEST(TextRoutines, Parts) {
    EXPECT_EQ(leftPart("abc", 2), "ab");
    EXPECT_EQ(leftPart("abc", 5), "abc");
    EXPECT_EQ(leftPart("abc", -1), "");
    EXPECT_EQ(rightPart("abc", 2), "bc");
    EXPECT_EQ(rightPart("abc", 5), "abc");
    EXPECT_EQ(rightPart("abc", 0), "");
}

TEST(TextRoutines, Token) {
    const struct {
        QString text;
        qsizetype n;
        QString out;
    } cases[] = {
        {"a|b|c", 0, "a"}, {"a|b|c", 1, "b"}, {"a|b|c", 2, "c"}, {"a|b|c", 3, ""},
        {"a||c", 1, ""},   {"|x", 0, ""},     {"abc", 0, "abc"}, {"abc", 1, ""}, {"a|b", -1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(token(c.text, u'|', c.n), c.out) << c.text.toStdString() << " " << c.n;
}

TEST(TextRoutines, Replacing) {
    EXPECT_EQ(replaceChar("1,5,25", u',', "."), "1.5.25");
    EXPECT_EQ(replaceChar("a-b", u'-', "--"), "a--b");
    EXPECT_EQ(replaceIgnoringCase("x DORVIK.exe y Dorvik.EXE", "dorvik.exe", "|"), "x | y |");
    EXPECT_EQ(replaceIgnoringCase("abc", "", "|"), "abc");
    EXPECT_EQ(upperCase(QString::fromUtf8("žluťoučký kůň")), QString::fromUtf8("ŽLUŤOUČKÝ KŮŇ"));

    // The published timestamp as the version check takes it out of the version file's line.
    QString line = replaceIgnoringCase("DORVIK.EXE 2015-02-14 10:22:36.000", "dorvik.exe", "|");
    line = QString(line).replace(".000", "|");
    EXPECT_EQ(token(line, u'|', 1).trimmed(), "2015-02-14 10:22:36");
}

TEST(GeneralDecimal, ShortestTextWithDecimalComma) {
    const struct {
        double in;
        const char* out;
    } cases[] = {
        {8, "8"},
        {2.5, "2,5"},
        {3, "3"},
        {0.1 + 0.2, "0,3"},
        {-1234.5, "-1234,5"},
        {1234567.25, "1234567,25"},
        {100, "100"},
        {0.00001, "0,00001"},
        {-0.075, "-0,075"},
        {1.0 / 3, "0,333333333333333"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {123456789012345678.0, "1,23456789012346E17"},
        {1.5e-7, "1,5E-7"},
        {0, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(generalDecimal(c.in), QString::fromUtf8(c.out)) << c.in;
}

TEST(ParseNumber, DecimalCommaOrPointEmptyIsZeroAndNothingElse) {
    EXPECT_DOUBLE_EQ(common::parseNumber("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(common::parseNumber(" 1 234.5 "), 1234.5);
    EXPECT_DOUBLE_EQ(common::parseNumber(""), 0);
    for (const char* bad : {"abc", "nan", "inf", "-inf", "1e999"})
        EXPECT_THROW(common::parseNumber(bad), std::invalid_argument) << bad;
}

TEST(FileTimestamp, EvenSecondsInLocalTimeAndNothingForAMissingFile) {
    QTemporaryDir dir;
    const QString name = dir.filePath("dorvik.exe");
    writeAll(name, "x");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (const int second : {37, 36}) {
        const QDateTime set(QDate(2015, 2, 14), QTime(10, 22, second, 600));
        ASSERT_TRUE(file.setFileTime(set, QFileDevice::FileModificationTime));
        const auto stamp = fileTimestamp(name);
        ASSERT_TRUE(stamp.has_value());
        EXPECT_EQ(sqlDateTime(*stamp), "2015-02-14 10:22:36");
        EXPECT_EQ(stamp->time().msec(), 0);
    }
    EXPECT_FALSE(fileTimestamp(dir.filePath("missing.exe")).has_value());
}

using DailyMarker = InTempDir;

TEST_F(DailyMarker, OnlyTheFirstCallOfADayIsFalse) {
    const QByteArray today = QDate::currentDate().toString("yyyyMMdd").toLatin1();
    EXPECT_FALSE(startedToday("dorvik"));
    EXPECT_TRUE(readAll(path("dorvik.ini")).contains("Datum=" + today)) << readAll(path("dorvik.ini")).constData();
    EXPECT_TRUE(startedToday("dorvik"));
    // Another name keeps its own marker.
    EXPECT_FALSE(startedToday("other"));
}

TEST_F(DailyMarker, AnEarlierDayIsReplacedByToday) {
    const QString yesterday = QDate::currentDate().addDays(-1).toString("yyyyMMdd");
    writeAll(path("dorvik.ini"), "[Dnes]\r\nDatum=" + yesterday.toLatin1() + "\r\n");
    EXPECT_FALSE(startedToday("dorvik"));
    EXPECT_EQ(readAll(path("dorvik.ini")), "[Dnes]\r\nDatum=" + QDate::currentDate().toString("yyyyMMdd").toLatin1() + "\r\n");
    EXPECT_TRUE(startedToday("dorvik"));
}

TEST_F(DailyMarker, AMarkerThatCannotBeWrittenStillAnswers) {
    // A folder in the marker's place can be neither read nor written.
    ASSERT_TRUE(QDir().mkdir(path("dorvik.ini")));
    EXPECT_FALSE(startedToday("dorvik"));
    EXPECT_FALSE(startedToday("dorvik"));
}

using ProgramFolder = InTempDir;

TEST_F(ProgramFolder, IsTheProgramFilesFolderNotTheCurrentDirectory) {
    const QString folder = programFolder();
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_NE(QDir(folder), QDir::current());
    EXPECT_TRUE(QFileInfo::exists(folder + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

using TraceFile = InTempDir;

TEST_F(TraceFile, ReplacedEachTimeInCp1250) {
    writeAll(path("a.txt"), QByteArray(100, 'x'));
    writeTrace("a.txt", QString::fromUtf8("select * from zbozi where nazev='Šťáva'"));
    EXPECT_EQ(readAll(path("a.txt")), "select * from zbozi where nazev='\x8A\x9D\xE1va'");

    writeTrace("a4.txt", QStringList{"START TRANSACTION;", "DELETE from dlterm;", "COMMIT;"});
    EXPECT_EQ(readAll(path("a4.txt")), "START TRANSACTION;\r\nDELETE from dlterm;\r\nCOMMIT;");
}

TEST_F(TraceFile, AFileThatCannotBeWrittenIsAnError) {
    ASSERT_TRUE(QDir().mkdir(path("a1.txt")));
    EXPECT_THROW(writeTrace("a1.txt", QStringLiteral("call uctenky_odpis()")), std::runtime_error);
}

TEST(StartProgram, WaitsOnlyWhenAsked) {
    QTemporaryDir dir;
    const QString done = dir.filePath("done");
    ASSERT_TRUE(startProgram("/bin/sh", {"-c", "sleep 0.3; touch '" + done + "'"}, true));
    EXPECT_TRUE(QFileInfo::exists(done));

    const QString later = dir.filePath("later");
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(startProgram("/bin/sh", {"-c", "sleep 1; touch '" + later + "'"}, false));
    EXPECT_LT(timer.elapsed(), 900);
    EXPECT_FALSE(QFileInfo::exists(later));
    while (!QFileInfo::exists(later) && timer.elapsed() < 10000) QThread::msleep(50);
    EXPECT_TRUE(QFileInfo::exists(later)) << "the detached program did not run";

    EXPECT_FALSE(startProgram(dir.filePath("no-such-program"), {}, true));
    EXPECT_FALSE(startProgram(dir.filePath("no-such-program"), {}, false));
}

} // namespace
