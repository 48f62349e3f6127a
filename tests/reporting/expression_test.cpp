#include "reportfixture.h"

#include <gtest/gtest.h>

namespace dorvik::reporting {
namespace {

// Fields and variables of a fixed row, to see what the language makes of them.
class FixedRow : public EvalContext {
public:
    Value field(const QString&, const QString& name) override {
        if (name == QLatin1String("NULL")) return {};
        if (name == QLatin1String("DATUM")) return Value::ofDate(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        if (name == QLatin1String("CENA")) return Value::ofNumber(1234.5);
        return Value::ofText(name);
    }
    Value variable(const QString& name) override {
        if (name == QLatin1String("Page#")) return Value::ofNumber(3);
        return Value::ofText(QStringLiteral("var:") + name);
    }
    Value aggregate(const Expr&) override { return Value::ofNumber(0); }
};

QString expand(const QString& text) {
    FixedRow row;
    QString out;
    for (const TextPart& p : splitMemoText(text))
        out += p.expression ? formatValue(evaluate(*p.expression, row), p.formatKind, p.format) : p.literal;
    return out;
}

TEST(Expression, MemoTexts) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"[1 + 2 * 3] [(1 + 2) * 3] [7 div 2] [7 mod 2] [-2 + 1]", "7 9 3 1 -1"},
        {"['Pekař''s' + ' ' + 'krám']", "Pekař's krám"},
        {"['a]b' + '[c]']", "a]b[c]"},
        {"[IIF(1 > 2, 'ano', 'ne')] [IIF((1 < 2) and not (2 = 3), 'ano', 'ne')] [IIF((1 <> 1) or (2 >= 2), 'ano', 'ne')] [IIF(1 <> 1 or 2, 'ano', 'ne')]", "ne ano ano ano"},
        {"[<frxDBDataset1.\"NAZEV\">]|[frxDBDataset1.\"NAZEV\"]|[<frxDBDataset1.\"NULL\">]|", "NAZEV|NAZEV||"},
        {"[<oddata>] [Page#]", "var:oddata 3"},
        {"[FormatFloat('# ##0.00', <frxDBDataset1.\"CENA\">)] [FormatFloat('0.0', 2.25)]", "1 234,50 2,3"},
        {"[Format('%2.2n', [1234.5])] [Format('%d ks, %s', [3, 'x'])] [Format('%.3f', [2])]", "1 234,50 3 ks, x 2,000"},
        {"[<frxDBDataset1.\"CENA\"> #n%2.2n] [<frxDBDataset1.\"CENA\"> #n# ##0] [<frxDBDataset1.\"DATUM\"> #ddd.mm.yyyy]", "1 234,50 1 235 05.03.2024"},
        {"[FormatDateTime('dd.mm.yyyy hh:nn', <frxDBDataset1.\"DATUM\">)] [DateToStr(<frxDBDataset1.\"DATUM\">)]", "05.03.2024 14:07 05.03.2024"},
        {"[IntToStr(12.7)] [FloatToStr(2.5)] [StrToFloat('1,25') * 2] [Round(2.5)] [Round(3.5)] [Int(-2.7)] [Frac(2.25)]", "12 2,5 2,5 2 4 -2 0,25"},
        {"[Copy('abcdef', 2, 3)] [Pos('cd', 'abcdef')] [Length('žluť')] [Trim('  x  ')] [UpperCase('čaj')] [LowerCase('ŘEKA')]", "bcd 3 4 x ČAJ řeka"},
        {"bez výrazu [ neuzavřená", "bez výrazu [ neuzavřená"},
    };
    for (const auto& c : cases) EXPECT_EQ(expand(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
}

TEST(Expression, ErrorsNameTheirCause) {
    for (const char* bad : {"[1 +]", "[Nezname(1)]", "[Copy('a')]", "[StrToFloat('x1')]", "[1 / 0]"})
        EXPECT_THROW(expand(QString::fromUtf8(bad)), ExpressionError) << bad;
}

} // namespace
} // namespace dorvik::reporting
