// The library's layout, its ratings, its names and its messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "games/CataloguePage.hpp"
#include "games/GameLibrary.hpp"
#include "games/GameName.hpp"
#include "games/LogText.hpp"
#include "platform/FileFaults.hpp"
#include "support/FifoOtherEnd.hpp"
#include "support/TempFolder.hpp"

#include <sys/stat.h>
#include <unistd.h>

using namespace ostrovik::games;
namespace fs = std::filesystem;

namespace {

void touch(const fs::path& p, const std::string& bytes = "x")
{
    std::ofstream(p, std::ios::binary) << bytes;
}

} // namespace

TEST(Rating, FirstLineOfMarkTxt)
{
    struct Case {
        std::string line;
        bool clear;
        int mark;
        bool error;
    };
    const Case cases[] = {
        {"", true, 0, false},       {"0", true, 0, false},       {"1", false, 1, false},
        {" 7 ", false, 7, false},   {"1 0", false, 10, false},   {"12", false, 12, false},
        {"266", false, 10, false},  {"-1", false, 255, false},   {"00", false, 0, false},
        {"x", true, 0, true},       {" ", true, 0, true},        {"\t7", true, 0, true},
        {"99999999999", true, 0, true}, {"+5", false, 5, false},     {"+-5", true, 0, true},
    };
    for (const Case& c : cases) {
        const Rating r = parseRating(c.line);
        EXPECT_EQ(r.clear, c.clear) << '"' << c.line << '"';
        EXPECT_EQ(!r.error.empty(), c.error) << '"' << c.line << '"';
        if (!c.clear) {
            EXPECT_EQ(r.mark, c.mark) << '"' << c.line << '"';
        }
    }
    EXPECT_EQ(parseRating("a b").error, "'ab' is not a valid integer value");
    EXPECT_EQ(deleteUselessSpaces("  1 \t 2  "), "1\t2");
}

TEST(Rating, StarsAndHalfStarPlaces)
{
    struct Case {
        int mark, full, half;
    };
    const Case cases[] = {{0, 0, -1}, {1, 0, 0},   {2, 1, -1}, {3, 1, 31},  {5, 2, 62},
                          {9, 4, 124}, {10, 5, -1}, {11, 5, -1}, {255, 5, -1}};
    for (const Case& c : cases) {
        const StarLayout s = layoutStars(static_cast<std::uint8_t>(c.mark));
        EXPECT_EQ(s.fullStars, c.full) << c.mark;
        EXPECT_EQ(s.halfStarX.value_or(-1), c.half) << c.mark;
    }
}

TEST(Library, GamesAreTheRootsFoldersHiddenOnesIncluded)
{
    const ostrovik::test::TempFolder folder("library-list");
    const fs::path& program = folder.path();
    const std::string root = libraryRoot(program.string());
    EXPECT_EQ(root, program.string() + "/GAMES_SOFT/offline/");
    EXPECT_EQ(countGames(root), 0);
    fs::create_directories(root);
    touch(fs::path(root) / "readme.txt");
    EXPECT_EQ(countGames(root), 0);
    for (const char* game : {"Alpha", ".hidden", "Игра"})
        fs::create_directory(fs::path(root) / game);
    std::vector<std::string> games = gamesInLibrary(root);
    std::sort(games.begin(), games.end());
    EXPECT_EQ(games, (std::vector<std::string>{".hidden", "Alpha", "Игра"}));
    EXPECT_EQ(countGames(root), 3);
}

TEST(Library, RunnableFilePrefersTheTapeImage)
{
    const ostrovik::test::TempFolder folder("library-run");
    const std::string root = folder.path().string() + "/";
    struct Case {
        const char* game;
        std::vector<const char*> files;
        const char* runs;
    };
    const Case cases[] = {
        {"both", {"both.lvt", "both.sav"}, "both/both.lvt"},
        {"snap", {"snap.sav", "snap.lv0"}, "snap/snap.sav"},
        {"none", {"screen1.png", "none.lv1"}, nullptr},
    };
    for (const Case& c : cases) {
        fs::create_directories(root + c.game);
        for (const char* f : c.files)
            touch(fs::path(root) / c.game / f);
        const std::optional<std::string> file = runnableFile(root, c.game);
        EXPECT_EQ(file.value_or(""), c.runs ? root + c.runs : "") << c.game;
    }
}

TEST(Library, TextFilesAreWindows1251Lines)
{
    const ostrovik::test::TempFolder folder("library-text");
    const fs::path& dir = folder.path();
    const std::string file = (dir / "g.txt").string();
    ASSERT_TRUE(writeTextLines(file, {"Игра", "Описание игры"}));
    std::ifstream in(file, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(bytes, "\xC8\xE3\xF0\xE0\r\n\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xE8\xE3\xF0\xFB\r\n");
    EXPECT_EQ(textLines("one\rtwo\nthree\r\n\r\nfive"), (std::vector<std::string>{"one", "two", "three", "", "five"}));
    EXPECT_EQ(textLines(bytes), (std::vector<std::string>{"Игра", "Описание игры"}));
    EXPECT_FALSE(writeTextLines((dir / "no" / "such.txt").string(), {"x"}));
}

// A game's text files are written whole or not at all, and a FIFO that
// stands under the name is refused at once rather than waited on.
TEST(Library, TextFilesAreWholeOrRefusedWithoutWaiting)
{
    const ostrovik::test::TempFolder folder("library-text-faults");
    const std::string earlier = (folder.path() / "earlier.txt").string();
    ASSERT_TRUE(writeTextLines(earlier, {"3"}));
    {
        // A disk that fills up as the file closes: what was there stays.
        ostrovik::platform::ScopedWriteFault full([&](const std::string& p) { return p == earlier ? ENOSPC : 0; });
        EXPECT_FALSE(writeTextLines(earlier, {"5", std::string(100'000, 'x')}));
    }
    std::ifstream in(earlier, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "3\r\n");

    const std::string fifo = (folder.path() / "mark.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ostrovik::test::OtherEnd reader(fifo, ostrovik::test::Way::Write);
    EXPECT_FALSE(writeTextLines(fifo, {"5"}));
    reader.finish();
    EXPECT_FALSE(reader.letTheCallerGo()) << "the write waited for a reader";
}

// What stands where a game folder's file should be: only a regular file is
// read, and never more than the bound.
TEST(Library, GameFilesAreRegularAndBounded)
{
    const ostrovik::test::TempFolder folder("game-files");
    folder.put("short", "12345");
    folder.put("long", std::string(100, 'x'));
    fs::create_directory(folder / "folder");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder / "zero");
    struct Case {
        const char* name;
        bool keepStart;
        GameFile::State state;
        std::size_t bytes;
        bool cut;
    };
    const Case cases[] = {
        {"short", false, GameFile::State::Read, 5, false},  {"long", true, GameFile::State::Read, 10, true},
        {"long", false, GameFile::State::Failed, 0, false}, {"absent", true, GameFile::State::Absent, 0, false},
        {"folder", true, GameFile::State::Absent, 0, false}, {"fifo", true, GameFile::State::Failed, 0, false},
        {"zero", true, GameFile::State::Failed, 0, false},
    };
    for (const Case& c : cases) {
        const GameFile file = readGameFile((folder / c.name).string(), 10, c.keepStart);
        EXPECT_EQ(file.state, c.state) << c.name;
        EXPECT_EQ(file.bytes.size(), c.bytes) << c.name;
        EXPECT_EQ(file.cut, c.cut) << c.name;
        EXPECT_EQ(file.reason.empty(), c.state != GameFile::State::Failed) << c.name;
    }
}

TEST(Rating, MarkFileReadOnlyAsFarAsItsFirstLine)
{
    struct Case {
        std::string bytes;
        bool cut;
        int mark; ///< -1: cleared
        std::string error;
    };
    const std::string digits(5000, '1');
    const Case cases[] = {
        {"7\r\n", false, 7, ""},
        {"", false, -1, ""},
        {"1 0\r\n" + digits, true, 10, ""},
        {"\r\n" + digits, true, -1, ""},
        {"7" + std::string(100, ' '), true, -1, "'7' is not a valid integer value"},
        {digits, true, -1, "'" + digits.substr(0, kQuotedBytes) + "…' is not a valid integer value"},
        {digits, false, -1, "'" + digits.substr(0, kQuotedBytes) + "…' is not a valid integer value"},
        {"\xC4\xE5\xF1\xFF\xF2\xFC", false, -1, "'Десять' is not a valid integer value"},
        {std::string(31, '9') + "\xC4\xE5\xF1\xFF\xF2\xFC", false, -1,
         "'" + std::string(31, '9') + "Деся…' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        const Rating r = ratingOfMarkFile(c.bytes, c.cut);
        EXPECT_EQ(r.error, c.error) << c.bytes.substr(0, 20);
        EXPECT_EQ(r.clear, c.mark < 0) << c.bytes.substr(0, 20);
        if (c.mark >= 0) {
            EXPECT_EQ(r.mark, c.mark) << c.bytes.substr(0, 20);
        }
    }
}

TEST(Library, MessagesBreakLinesWithLineFeedThenReturn)
{
    const std::string root = "/opt/emu/GAMES_SOFT/offline/";
    EXPECT_EQ(rootMissingMessage(root, "http://localhost/games/"),
              "Нет каталога /opt/emu/GAMES_SOFT/offline/\n\r"
              "создаю каталог , пройдите в меню \"Скачать игры с  http://localhost/games/\" \n\r"
              "для закачки игр !!!");
    EXPECT_EQ(noGamesMessage(root, "http://localhost/games/"),
              "Нет игр /opt/emu/GAMES_SOFT/offline/\n\r"
              "пройдите в меню \"Скачать игры с  http://localhost/games/\" \n\r"
              "для закачки игр !!!");
    EXPECT_EQ(nothingToRunMessage("Xonix"), "Нет файла для запуска Xonix/Xonix.lvt или sav");
}

TEST(GameName, OnlyAFolderOfItsOwnInsideTheLibrary)
{
    struct Case {
        std::string name;
        bool safe;
    };
    const Case cases[] = {
        {"Xonix", true},        {"Игра 2", true},         {"...", true},         {"a.b", true},
        {"", false},            {".", false},             {"..", false},         {"../x", false},
        {"a/b", false},         {"/etc", false},          {"a\\b", false},       {std::string("a\0b", 3), false},
        {"tab\there", false},   {"line\n", false},        {"del\x7f", false},
        // Characters that break a line or turn it around in the log.
        {"a\u2028b", false},    {"a\u2029b", false},      {"a\u0085b", false},  {"a\u009Fb", false},
        {"\u202Aa", false},     {"\u202Ea", false},       {"\u2066a", false},   {"a\u2069", false},
        {"a\u2027b", true},     {"a\u202Fb", true},       {"a\u2065b", true},   {"a\u206Ab", true},
        {std::string(251, 'x'), true}, {std::string(252, 'x'), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSafeGameName(c.name), c.safe) << c.name;
    EXPECT_EQ(refusedNameLine(std::string("a\0b", 3)),
              "Имя игры \"a\\x00b\" не годится для папки, игра пропущена !!!");
    // A long name is quoted by its first 200 bytes, cut between characters;
    // a character that turns the line is shown by its number.
    std::string longName = "x";
    for (int i = 0; i < 200; ++i)
        longName += "Я";
    EXPECT_EQ(refusedNameLine(longName),
              "Имя игры \"" + longName.substr(0, 199) + "...\" не годится для папки, игра пропущена !!!");
    EXPECT_EQ(refusedNameLine("\u202Eab"), "Имя игры \"\\u202Eab\" не годится для папки, игра пропущена !!!");
}

TEST(LogText, QuotedTextCannotBreakOrTurnALine)
{
    using namespace std::string_literals;
    struct Case {
        std::string text;
        std::string quoted;
    };
    const Case cases[] = {
        {"Xonix", "Xonix"},
        {"Игра \u00E9\U0001F600", "Игра \u00E9\U0001F600"},
        {"a\0b\tc\x7F"s, "a\\x00b\\x09c\\x7F"},
        {"a\u2028b\u0085c\u202E", "a\\u2028b\\u0085c\\u202E"},
        // A byte that begins no whole character is escaped, and what follows
        // it is judged on its own.
        {"\xE0\n\n", "\\xE0\\x0A\\x0A"},
        {"\xC3\0"s, "\\xC3\\x00"},
        {"\xF8\r\n", "\\xF8\\x0D\\x0A"},
        {"\xE2\x80\u2028", "\\xE2\\x80\\u2028"},
        {"a\x80\xBF" "b", "a\\x80\\xBFb"},
        {"end\xD0", "end\\xD0"},
        // Overlong forms, a surrogate and a number past U+10FFFF.
        {"\xC0\x8A\xE0\x80\x8A", "\\xC0\\x8A\\xE0\\x80\\x8A"},
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        // Cut before a character whose bytes do not all fit.
        {std::string(199, 'x') + "Я", std::string(199, 'x') + "..."},
        {std::string(199, 'x') + "\xD0", std::string(199, 'x') + "\\xD0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quoteInLog(c.text), c.quoted) << c.quoted;
}

TEST(GameName, EscapedInsideAddresses)
{
    struct Case {
        const char* name;
        const char* escaped;
    };
    const Case cases[] = {{"Xonix_2-1.0~", "Xonix_2-1.0~"}, {"a b#c", "a%20b%23c"},
                          {"Игра", "%D0%98%D0%B3%D1%80%D0%B0"}, {"?&=/%", "%3F%26%3D%2F%25"}};
    for (const Case& c : cases)
        EXPECT_EQ(escapeForAddress(c.name), c.escaped);
}
