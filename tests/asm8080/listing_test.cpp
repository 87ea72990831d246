#include <gtest/gtest.h>

#include <sstream>

#include "AsmTestUtil.hpp"

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string l;
    while (std::getline(in, l))
        out.push_back(l);
    return out;
}

}  // namespace

// The workbench shows every listing line that holds "*** Error" and the
// line right after it as the error's place.
TEST(AsmListing, EveryErrorIsFollowedByItsPlace)
{
    auto r = ostrovik::asm8080::assemble("\tNOP\n\tJMP NOWHERE\n\tMVI A,300\nX:\nX:\n\tBLAH\n");
    ASSERT_EQ(r.errors.size(), 4u);
    auto l = lines(r.listing);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i < l.size(); ++i)
        if (l[i].find("*** Error") != std::string::npos) {
            ASSERT_LT(i + 1, l.size());
            pairs.emplace_back(l[i], l[i + 1]);
        }
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[0].first, "*** Error: undefined symbol NOWHERE");
    EXPECT_EQ(pairs[0].second, "2: \tJMP NOWHERE");
    EXPECT_EQ(pairs[1].first, "*** Error: value out of byte range: 300 (12Ch)");
    EXPECT_EQ(pairs[1].second, "3: \tMVI A,300");
    EXPECT_EQ(pairs[2].first, "*** Error: duplicate label X (first defined in line 4)");
    EXPECT_EQ(pairs[2].second, "5: X:");
    EXPECT_EQ(pairs[3].first, "*** Error: unknown mnemonic BLAH");
    EXPECT_EQ(pairs[3].second, "6: \tBLAH");
    EXPECT_EQ(r.errors[0].line, 2);
    EXPECT_EQ(r.errors[0].sourceLine, "\tJMP NOWHERE");
}

TEST(AsmListing, RowsShowAddressBytesLineAndSource)
{
    auto r = ostrovik::asm8080::assemble("N EQU 5\n\tORG 100h\nGO:\tLXI H,1234h\n\tDB 1,2,3,4,5,6\n");
    ASSERT_TRUE(r.ok());
    auto l = lines(r.listing);
    auto has = [&](const std::string& s) {
        for (const auto& x : l)
            if (x == s)
                return true;
        return false;
    };
    EXPECT_TRUE(has("      =0005            1  N EQU 5")) << r.listing;
    EXPECT_TRUE(has("0100  21 34 12         3  GO:\tLXI H,1234h")) << r.listing;
    EXPECT_TRUE(has("0103  01 02 03 04      4  \tDB 1,2,3,4,5,6")) << r.listing;
    EXPECT_TRUE(has("0107  05 06")) << r.listing;
    EXPECT_EQ(r.listing.find("*** Error"), std::string::npos);
}

TEST(AsmListing, SeveralErrorsOnOneLineEachGetAPlace)
{
    auto r = ostrovik::asm8080::assemble("\tDW A1,A2\n");
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_EQ(r.errors[0].message, "undefined symbol A1");
    EXPECT_EQ(r.errors[1].message, "undefined symbol A2");
}
