// Reading the catalogue's pages: lines, the count, the rows, descriptions.
#include <gtest/gtest.h>

#include "games/CataloguePage.hpp"

using namespace ostrovik::games;

namespace {

const std::string kHead = "\t  <th class=\"thTop\" nowrap=\"nowrap\">Mark</th>";

std::string nameLine(const std::string& name)
{
    return "\t  <td class=\"\" align=\"center\"><span class=\"gen\"><a href=\"page.php?name=" + name +
           "\" class=\"gen\">";
}
std::string titleLine(const std::string& title)
{
    return title + "</a></span></td>";
}
std::string rankLine(const std::string& mark, const std::string& host = "localhost")
{
    return "\t  <td class=\"\" align=\"center\"><span class=\"gen\"><img src=\"http://" + host + "/ranks/rank" +
           mark + ".gif\"></span></td>";
}

} // namespace

TEST(CataloguePage, LinesOfAPage)
{
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n\r\r\n\n", {"", "", "", ""}},
        {"Игра\n", {"Игра"}},
        {"ok\n\xC8\xE3\xF0\xE0\n", {}},       // Windows-1251, not UTF-8
        {"\xC0\x80", {}},                      // an overlong NUL
        {"\xED\xA0\x80", {}},                  // a surrogate
        {"\xF0\x9F\x8E\xAE game", {"\xF0\x9F\x8E\xAE game"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pageToLines(c.bytes), c.lines) << c.bytes;
}

TEST(CataloguePage, GameCountFromTheStartPage)
{
    // A 60-character line: the count is characters 51 to 54.
    const std::string line60 = std::string(26, '.') + "</strong> [ total games:" + " 1 2" + " ]</b>";
    ASSERT_EQ(line60.size(), 60u);
    struct Case {
        Lines page;
        int count;
        bool error;
    };
    const Case cases[] = {
        {{"<strong>Games</strong> [ total games: 123 ]</b>"}, 123, false},
        {{line60}, 12, false},
        {{"</strong> [ total games:  60 ]</b>", "other", "</strong> [ total games: 601 ]</b>"}, 601, false},
        {{"no count here"}, 0, false},
        {{"</strong> [ total games:   0 ]</b>"}, 0, false},
        {{"</strong> [ total games: 12x ]</b>"}, 0, true},
        {{"</strong> [ total games:     ]</b>"}, 0, true},
    };
    for (const Case& c : cases) {
        const GameCount g = readGameCount(c.page);
        EXPECT_EQ(g.count, c.count) << c.page[0];
        EXPECT_EQ(!g.error.empty(), c.error) << c.page[0];
    }
    EXPECT_EQ(gameCountLine(123), "Игр на сайте:123");
}

TEST(CataloguePage, CountRaisedToWholePages)
{
    const std::pair<int, int> cases[] = {{1, 50},    {50, 50},   {51, 100},  {123, 150},
                                         {599, 600}, {600, 600}, {601, 601}, {65535, 65535}};
    for (const auto& [count, whole] : cases)
        EXPECT_EQ(wholePages(static_cast<std::uint16_t>(count)), whole) << count;
}

TEST(CataloguePage, RowsOfTheGamesTable)
{
    const Lines page = {"<html>",
                        kHead,
                        nameLine("Xonix"),
                        titleLine("Ксоникс"),
                        rankLine("7"),
                        "<tr>",
                        nameLine("Other"),
                        titleLine(" Spaced "),
                        rankLine("10", "elsewhere"),
                        "</table>",
                        nameLine("AfterTable"),
                        titleLine("x"),
                        rankLine("1")};
    const std::optional<std::size_t> head = findTableHead(page);
    ASSERT_EQ(head, 1u);
    const std::vector<GameRow> rows = readRows(page, *head);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "Xonix");
    EXPECT_EQ(rows[0].title, "Ксоникс");
    EXPECT_EQ(rows[0].mark, "7");
    EXPECT_EQ(rows[1].title, " Spaced ");
    // The rank marker carries the catalogue's own host; another stays in the mark.
    EXPECT_EQ(rows[1].mark, rankLine("10", "elsewhere").substr(0, rankLine("10", "elsewhere").size() - 18));

    // Without "</table>" the walk ends at the page's end; a row cut short by
    // it has empty texts.
    const Lines open = {kHead, nameLine("A"), titleLine("a"), rankLine("2"), nameLine("Last")};
    const std::vector<GameRow> cut = readRows(open, 0);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1].name, "Last");
    EXPECT_EQ(cut[1].title, "");
    EXPECT_EQ(cut[1].mark, "");
    EXPECT_FALSE(findTableHead({"<table>", "</table>"}));
}

TEST(CataloguePage, DescriptionAfterTheSecondScreenshot)
{
    const std::string marker = "<td><img src=\"http://localhost/games/Xonix/screen2.png\" width = 256 height = 256 "
                               "/></td></tr><tr><td COLSPAN=3>";
    struct Case {
        Lines page;
        std::optional<std::string> description;
    };
    const Case cases[] = {
        {{"x", marker, "First</td></tr>", marker, "Second</td></tr>"}, "First"},
        {{marker, "a</td></tr>b</td></tr>"}, "ab"},
        {{"no marker"}, std::nullopt},
        {{marker}, std::nullopt},
        {{"<img src=\"http://localhost/games/Other/screen2.png\" width = 256 height = 256 /></td></tr><tr><td "
          "COLSPAN=3>",
          "x"},
         std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findDescription(c.page, "Xonix"), c.description);
}

TEST(CataloguePage, HostilePagesCostInProportionToTheirSize)
{
    // Four million empty lines, and a row whose name line repeats the name
    // end a quarter of a million times.
    const std::size_t many = 4u << 20;
    const Lines empty = pageToLines(std::string(many, '\n'));
    ASSERT_EQ(empty.size(), many);
    EXPECT_EQ(empty[many - 1], "");

    std::string repeated = nameLine("X");
    for (int i = 0; i < 250'000; ++i)
        repeated += "\" class=\"gen\">";
    const Lines page = pageToLines(kHead + "\n" + repeated + "Y\ntitle</a></span></td>\n" + rankLine("3"));
    const std::vector<GameRow> rows = readRows(page, 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "XY");
    EXPECT_EQ(rows[0].title, "title");
    EXPECT_EQ(rows[0].mark, "3");
}
