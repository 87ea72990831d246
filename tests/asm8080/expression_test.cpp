#include <gtest/gtest.h>

#include "AsmTestUtil.hpp"

using asmtest::code;
using asmtest::onlyError;
using Bytes = std::vector<std::uint8_t>;

namespace {

/// The word a DW of @p expr assembles to, or -1 on any error.
long word(const std::string& expr)
{
    auto r = ostrovik::asm8080::assemble("\tORG 1000h\n\tDW " + expr + "\n");
    if (!r.ok() || r.bytes.size() != 2)
        return -1;
    return r.bytes[0] | (r.bytes[1] << 8);
}

}  // namespace

TEST(AsmExpressions, NumberForms)
{
    EXPECT_EQ(word("1234"), 1234);
    EXPECT_EQ(word("1234d"), 1234);
    EXPECT_EQ(word("0C1h"), 0xC1);
    EXPECT_EQ(word("8000H"), 0x8000);
    EXPECT_EQ(word("0ffffh"), 0xFFFF);
    EXPECT_EQ(word("1011b"), 11);
    EXPECT_EQ(word("17o"), 15);
    EXPECT_EQ(word("17Q"), 15);
    EXPECT_EQ(word("'A'"), 0x41);
    EXPECT_EQ(word("\"a\""), 0x61);
    EXPECT_EQ(word("'AB'"), 0x4142);
    EXPECT_EQ(word("''''"), 0x27);  // a doubled quote is one quote
    EXPECT_EQ(word("$"), 0x1000);
    EXPECT_EQ(word("$+3"), 0x1003);
}

TEST(AsmExpressions, MalformedNumbersAreErrors)
{
    EXPECT_EQ(onlyError("\tDW 12A\n"), "bad digit in number 12A");
    EXPECT_EQ(onlyError("\tDW 102b\n"), "bad digit in number 102B");
    EXPECT_EQ(onlyError("\tDW 9q\n"), "bad digit in number 9Q");
    EXPECT_EQ(onlyError("\tDW FFh\n"), "undefined symbol FFH");  // hex needs a leading digit
    EXPECT_EQ(onlyError("\tDW 123456789012\n"), "number too large: 123456789012");
    EXPECT_EQ(onlyError("\tDW 'ABC'\n"), "a string in an expression must have one or two characters");
    EXPECT_EQ(onlyError("\tDB 'AB\n"), "string not closed");
}

TEST(AsmExpressions, OperatorsAndPrecedence)
{
    EXPECT_EQ(word("2+3*4"), 14);
    EXPECT_EQ(word("(2+3)*4"), 20);
    EXPECT_EQ(word("20/3"), 6);
    EXPECT_EQ(word("20 MOD 3"), 2);
    EXPECT_EQ(word("10-2-3"), 5);
    EXPECT_EQ(word("1 SHL 4 + 1"), 17);   // SHL binds like *
    EXPECT_EQ(word("80h SHR 3"), 0x10);
    EXPECT_EQ(word("0F0h AND 3Ch"), 0x30);
    EXPECT_EQ(word("0F0h OR 0Fh"), 0xFF);
    EXPECT_EQ(word("0FFh XOR 0Fh"), 0xF0);
    EXPECT_EQ(word("1 OR 2 AND 0"), 1);    // AND before OR
    EXPECT_EQ(word("NOT 0"), 0xFFFF);
    EXPECT_EQ(word("NOT 1 AND 0Fh"), 0x0E);
    EXPECT_EQ(word("HIGH 1234h"), 0x12);
    EXPECT_EQ(word("LOW 1234h"), 0x34);
    EXPECT_EQ(word("HIGH 1234h + 1"), 0x13);
    EXPECT_EQ(word("-1"), 0xFFFF);
    EXPECT_EQ(word("-(-5)"), 5);
    EXPECT_EQ(word("HIGH -1"), 0xFF);
    EXPECT_EQ(word("-1 SHR 8"), 0xFF);
    EXPECT_EQ(word("((((7))))"), 7);
    EXPECT_EQ(word("and0 + or1"), -1);     // names that merely start with keywords are symbols
    EXPECT_EQ(code("AND0 EQU 1\nOR1 EQU 2\n\tDB AND0+OR1\n"), Bytes{3});
}

TEST(AsmExpressions, ErrorsInExpressions)
{
    EXPECT_EQ(onlyError("\tDW 1/0\n"), "division by zero");
    EXPECT_EQ(onlyError("\tDW 1 MOD 0\n"), "MOD by zero");
    EXPECT_EQ(onlyError("\tDW (1+2\n"), "')' expected, found end of line");
    EXPECT_EQ(onlyError("\tDW 1+\n"), "value expected at end of expression");
    EXPECT_EQ(onlyError("\tDW 1 2\n"), "unexpected number 2 in expression");
    EXPECT_EQ(onlyError("\tDW AND 2\n"), "operator AND needs a value before it");
    EXPECT_EQ(onlyError("\tDW NOWHERE\n"), "undefined symbol NOWHERE");
    EXPECT_EQ(onlyError("\tDW " + std::string(100, '(') + "1" + std::string(100, ')') + "\n"),
              "expression nested too deeply");
    EXPECT_EQ(onlyError("\tDW 1 # 2\n"), "unexpected character '#'");
}

TEST(AsmExpressions, ArithmeticWrapsWithoutOverflowTraps)
{
    // 64-bit intermediates: huge products wrap instead of overflowing.
    EXPECT_EQ(word("(0FFFFFFFFh*0FFFFFFFFh*0FFFFFFFFh) AND 0FFFFh"), 0xFFFF);
    EXPECT_EQ(word("(0 - 7FFFFFFFh*7FFFFFFFh*4) / -1 AND 0"), 0);
    EXPECT_EQ(word("1 SHL 64"), 0);
    EXPECT_EQ(word("1 SHL -1"), 0);
}
