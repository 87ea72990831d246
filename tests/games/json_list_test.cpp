// Reading the catalogue's JSON list.
#include <gtest/gtest.h>

#include "games/JsonList.hpp"

using namespace ostrovik::games;

namespace {

using Entries = std::vector<GameListEntry>;

std::string nested(std::size_t levels, const std::string& inner)
{
    return std::string(levels, '[') + inner + std::string(levels, ']');
}

} // namespace

TEST(JsonList, MembersAsText)
{
    struct Case {
        std::string text;
        std::optional<Entries> list;
    };
    const Case cases[] = {
        {"[]", Entries{}},
        {R"([{"Name":"Xonix","FullName":"Ксоникс","Description":"Про \"игру\"","Mark":"7"}])",
         Entries{{"Xonix", "Ксоникс", "Про \"игру\"", "7"}}},
        // Other values as the library writes them; null as missing.
        {R"([{"Name":12,"FullName":true,"Description":null,"Mark":7.5}])", Entries{{"12", "true", "", "7.5"}}},
        {R"([{"Name":{"b":[1,{"c":null}],"a":"x"},"Mark":[]}])", Entries{{R"({"a":"x","b":[1,{"c":null}]})", "", "", "[]"}}},
        // An element that is no object has empty members; a later member
        // of the same name wins; a member inside another is not the game's.
        {R"([1,"x",[{"Name":"no"}],{"Name":"a","Name":"b"},{"Other":{"Name":"z"},"Mark":"3"}])",
         Entries{{}, {}, {}, {"b", "", "", ""}, {"", "", "", "3"}}},
        {"", std::nullopt},
        {"[", std::nullopt},
        {"[{}] x", std::nullopt},
        {R"({"Name":"a"})", std::nullopt},
        {"1", std::nullopt},
    };
    for (const Case& c : cases) {
        std::string refusal;
        EXPECT_EQ(parseGameList(c.text, &refusal), c.list) << c.text;
        EXPECT_EQ(refusal, "") << c.text;
    }
}

TEST(JsonList, DeepOrLongListsAreRefusedWithALine)
{
    const std::string deep = "Список JSON вложен глубже 64 уровней, не читаем его !!!";
    const std::string many = "В списке JSON больше 65535 игр, не читаем его !!!";
    std::string games;
    for (std::size_t i = 0; i < kMaxListGames; ++i)
        games += "{},";
    struct Case {
        std::string text;
        std::optional<std::string> name; ///< nothing: refused
        std::string refusal;
    };
    const Case cases[] = {
        // The list and its game are two levels: 62 more are allowed.
        {R"([{"Name":)" + nested(62, "1") + "}]", nested(62, "1"), ""},
        {R"([{"Name":)" + nested(63, "1") + "}]", std::nullopt, deep},
        {R"([{"Name":)" + nested(100'000, "") + "}]", std::nullopt, deep},
        {R"([{"Other":)" + nested(100'000, "") + R"(},{"Name":"late"}])", std::nullopt, deep},
        {nested(100'000, ""), std::nullopt, deep},
        {"[" + games + R"({"Name":"one too many"}])", std::nullopt, many},
        {"[" + games.substr(3) + R"({"Name":"last"}])", "last", ""},
    };
    for (const Case& c : cases) {
        std::string refusal;
        const auto list = parseGameList(c.text, &refusal);
        EXPECT_EQ(list.has_value(), c.name.has_value()) << c.text.substr(0, 80);
        if (list && c.name) {
            EXPECT_EQ(list->back().name, *c.name);
        }
        EXPECT_EQ(refusal, c.refusal) << c.text.substr(0, 80);
    }
}
