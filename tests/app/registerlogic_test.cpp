#include "app/registerlogic.h"

#include <gtest/gtest.h>

using namespace dorvik::app;

namespace {

TEST(RegisterLogic, ListStatementPerModeAndYear) {
    struct Case {
        QString year;
        RegisterMode mode;
        const char* expected;
    } cases[] = {
        {"", RegisterMode::DL,
         "select * from dl\n where stredisko = '1'\n AND dl.cislofakt = \" \" AND dl.vnitro = 0\n order by cislodokla"},
        {"2013", RegisterMode::FA,
         "select * from dl\n where stredisko = '1'\n AND year(datum) = '2013'\n AND dl.cislofakt <> \" \"\n order by cislodokla"},
        {"2026", RegisterMode::VP,
         "select * from dl\n where stredisko = '1'\n AND year(datum) = '2026'\n AND dl.vnitro > 0\n order by cislodokla"},
    };
    for (const Case& c : cases) EXPECT_EQ(documentListSql("1", c.year, c.mode), QString::fromUtf8(c.expected));
    EXPECT_EQ(documentListSql("it's", "", RegisterMode::VP).section('\n', 1, 1), " where stredisko = 'it''s'");
    EXPECT_EQ(lineListSql(3261001), "select * from dlrad where cislodokla = '3261001'");
    EXPECT_EQ(ownIcoSql("11"), "select * from strediska\n where stredisko = '11'");
}

TEST(RegisterLogic, YearsRunFromThisYearDownTo2012) {
    const QStringList years = yearEntries(2026);
    EXPECT_EQ(years.first(), QString::fromUtf8("Vše"));
    EXPECT_EQ(years.at(1), "2026");
    EXPECT_EQ(years.last(), "2012");
    EXPECT_EQ(years.size(), 16);
}

TEST(RegisterLogic, PostedDates) {
    EXPECT_FALSE(isPosted(QDate(1999, 11, 11), QDate()));
    EXPECT_TRUE(isPosted(QDate(1999, 11, 12), QDate()));
    EXPECT_TRUE(isPosted(QDate(1999, 11, 11), QDate(2014, 1, 31)));
    EXPECT_FALSE(isPosted(QDate(), QDate()));
}

TEST(RegisterLogic, EditorRequests) {
    struct Case {
        EditorRequest request;
        QChar mode;
        bool internal, terminal;
    } cases[] = {
        {newDocumentRequest(RegisterMode::DL, 1), 'N', false, true},
        {newDocumentRequest(RegisterMode::VP, 1), 'N', true, false},
        {newDocumentRequest(RegisterMode::DL, 0), 'N', false, false},
        {correctionRequest(42, 2, 1), 'O', false, true}, // vnitro 2 is listed as internal but edited as a delivery note
        {correctionRequest(42, 1, 1), 'O', true, false},
        {correctionRequest(42, 0, 0), 'O', false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.request.documentMode, c.mode);
        EXPECT_EQ(c.request.internal, c.internal);
        EXPECT_EQ(c.request.terminalEnabled, c.terminal);
    }
    EXPECT_EQ(correctionRequest(42, 0, 0).documentNumber, 42);
}

} // namespace
