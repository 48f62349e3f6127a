#include "issue/linelogic.h"

#include <gtest/gtest.h>

using namespace dorvik::issue;

TEST(LineLogic, EntryCodes) {
    EXPECT_EQ(parseEntry(QStringLiteral("5°°8594001234567")).code, "8594001234567");
    const EntryCode tilde = parseEntry(QStringLiteral("5~~8594001234567"));
    EXPECT_EQ(tilde.text, QStringLiteral("5°°8594001234567"));
    EXPECT_EQ(tilde.code, "8594001234567");
    EXPECT_EQ(parseEntry(QStringLiteral("ěščř")).code, "2345");
    EXPECT_EQ(parseEntry(QStringLiteral("°°123456789012345678901234")).code.size(), 20);
}

TEST(LineLogic, ScannedPrefixIsTheQuantity) {
    const struct {
        const char* typed;
        double quantity;
    } cases[] = {
        {"5°°8594001234567", 5}, {"5~~8594001234567", 5}, {"2,5°°8594001234567", 2.5}, {"°°8594001234567", 0},
        {"8594001234567", 0},    {"0°°8594001234567", 0}, {"-3°°8594001234567", 0},    {"x°°8594001234567", 0},
        {"nan°°8594001234567", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(parseEntry(QString::fromUtf8(c.typed)).quantity, c.quantity) << c.typed;
}

TEST(LineLogic, TotalsByRate) {
    Totals t;
    for (int dph : {10, 15, 21, 0}) t.add(dph, 100);
    t.add(17, 0.5);
    EXPECT_EQ(totalText(t.s), "100,00");
    EXPECT_EQ(totalText(t.v), "100,50");
    EXPECT_EQ(totalText(t.n), "200,00");
    EXPECT_EQ(totalText(t.total()), "400,50");
    EXPECT_EQ(totalText(1234.5), "1 234,50");
    EXPECT_EQ(totalText(0), "0,00");
}

TEST(LineLogic, MessagesAndRules) {
    EXPECT_EQ(discountText(8), "Sleva 8 %");
    EXPECT_EQ(discountText(2.5), "Sleva 2,5 %");
    EXPECT_EQ(stockMessage(3, "ks"), QStringLiteral("Nelze. Na skladě pouze 3 ks"));
    EXPECT_TRUE(breaksPieceRule("K", 2.5));
    EXPECT_FALSE(breaksPieceRule("K", 2));
    EXPECT_FALSE(breaksPieceRule("", 2.5));
}

TEST(LineLogic, NumberBase) {
    EXPECT_EQ(numberBase(2024, false, "1"), 3241000);
    EXPECT_EQ(numberBase(2024, true, "1"), 4241000);
    EXPECT_EQ(numberBase(2024, false, "777"), 324777000);
    EXPECT_EQ(numberBase(2024, true, "777"), 424777000);
    EXPECT_THROW(numberBase(2024, false, "A1"), std::invalid_argument);
    EXPECT_THROW(numberBase(2024, true, "7777"), std::invalid_argument); // 4247777000 does not fit
    EXPECT_TRUE(inClosedPeriod("202403", "202403"));
    EXPECT_FALSE(inClosedPeriod("202403", "202404"));
    EXPECT_FALSE(inClosedPeriod("", "202401"));
}
