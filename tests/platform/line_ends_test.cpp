#include <gtest/gtest.h>

#include <string>

#include "platform/LineEnds.hpp"

namespace {

using ostrovik::platform::crLfLineEnds;

TEST(CrLfLineEnds, EveryLineEndsWithCrLfAsTheClipboardHoldsIt)
{
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"", ""},
        {"10 PRINT", "10 PRINT"},
        {"10 PRINT\n20 END", "10 PRINT\r\n20 END"},
        {"10 PRINT\n20 END\n", "10 PRINT\r\n20 END\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"A\r\nB", "A\r\nB"}, // already CR LF: unchanged
        {"A\rB", "A\rB"},     // a lone CR presses Enter already
        {"A\r\n\nB", "A\r\n\r\nB"},
        {"\xC0\xC1\n\xFF", "\xC0\xC1\r\n\xFF"}, // code-page bytes pass through
    };
    for (const Case& c : cases)
        EXPECT_EQ(crLfLineEnds(c.in), c.out) << c.in;
}

} // namespace
