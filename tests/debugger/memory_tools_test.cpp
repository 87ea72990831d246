#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "debugger/MemoryTools.hpp"
#include "debugger/Numbers.hpp"
#include "platform/FileFaults.hpp"
#include "support/TempFolder.hpp"

#include <cerrno>
#include <sys/stat.h>

using namespace ostrovik::debugger;

namespace {

using Ram = std::array<std::uint8_t, 65536>;

/// The error text @p f throws, or nothing when it does not throw.
template <typename F>
std::optional<std::string> errorOf(F&& f)
{
    try {
        f();
    } catch (const std::runtime_error& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

/// The shared temporary folder with the two things these tests put in it.
class TempFolder : public ostrovik::test::TempFolder {
public:
    TempFolder() : ostrovik::test::TempFolder("debugger") {}
    std::string file(const std::string& name) const { return (*this / name).string(); }
    void write(const std::string& name, std::size_t size, std::uint8_t fill) const
    {
        put(name, std::string(size, static_cast<char>(fill)));
    }
};

} // namespace

TEST(DebuggerNumbers, FieldsReadDecimalAndHexOrFailWithTheInvalidIntegerMessage)
{
    struct Case {
        const char* text;
        bool hex;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", false, 0},          {"65535", false, 65535},   {"-1", false, -1},
        {"256", false, 256},      {"2147483647", false, 2147483647},
        {"2147483648", false, {}}, {"", false, {}},          {"1A", false, {}},
        {"12 ", false, {}},       {"-", false, {}},
        {"C000", true, 0xC000},   {"c000", true, 0xC000},    {"ff", true, 0xFF},
        {"FFFFFFFF", true, -1},   {"", true, {}},            {"G1", true, {}},
        {"-1", true, {}},         {"100000000", true, {}},
    };
    for (const Case& c : cases) {
        std::int32_t got = 0;
        const auto error = errorOf([&] { got = c.hex ? hexToInt(c.text) : strToInt(c.text); });
        if (c.value) {
            EXPECT_FALSE(error) << c.text;
            EXPECT_EQ(got, *c.value) << c.text;
        } else {
            EXPECT_EQ(error, "'" + std::string(c.text) + "' is not a valid integer value") << c.text;
        }
    }
}

TEST(DebuggerSearch, OnlyTheLowByteCountsAndEveryAddressCanMatch)
{
    auto ram = std::make_unique<Ram>();
    ram->fill(0x11);
    (*ram)[0x0000] = 0;
    (*ram)[0x4000] = 0;
    (*ram)[0xFFFF] = 0;
    EXPECT_EQ(findValue(*ram, 0), (std::vector<int>{0, 0x4000, 0xFFFF}));
    EXPECT_EQ(findValue(*ram, 256), findValue(*ram, 0));
    EXPECT_EQ(findValue(*ram, -256), findValue(*ram, 0));
    std::vector<int> heard;
    findValue(*ram, 0, [&](int a) { heard.push_back(a); });
    EXPECT_EQ(heard, (std::vector<int>{0, 0x4000, 0xFFFF}));
    ram->fill(7);
    EXPECT_EQ(findValue(*ram, 7).size(), 65536u);
    EXPECT_TRUE(findValue(*ram, 8).empty());
}

TEST(DebuggerCheatFinder, StepTwoListsValuesThatDroppedByExactlyOneToSomethingOtherThanZero)
{
    struct Case {
        std::uint8_t before, after;
        bool listed;
    };
    const Case cases[] = {
        {5, 4, true}, {255, 254, true}, {2, 1, true}, {1, 0, false},
        {0, 255, false}, {5, 5, false}, {5, 3, false}, {4, 5, false},
    };
    CheatFinder finder;
    auto ram = std::make_unique<Ram>();
    for (const Case& c : cases) {
        ram->fill(0x80);
        (*ram)[0x1234] = c.before;
        EXPECT_EQ(finder.remember(*ram), 65536);
        (*ram)[0x1234] = c.after;
        const std::vector<int> expected = c.listed ? std::vector<int>{0x1234} : std::vector<int>{};
        EXPECT_EQ(finder.droppedByOne(*ram), expected) << int(c.before) << " -> " << int(c.after);
    }
}

TEST(DebuggerCheatFinder, RecheckKeepsTheLinesStillHoldingTheValueAndStopsAtTheFirstOutOfRange)
{
    auto ram = std::make_unique<Ram>();
    (*ram)[10] = 3;
    (*ram)[30] = 3;
    struct Case {
        const char* what;
        const char* value;
        std::vector<std::string> lines;
        std::vector<std::string> memo;
        std::optional<int> examined; // nothing when the pass stops with an error
    };
    const Case cases[] = {
        {"an empty list", "3", {}, {}, 0},
        {"an empty list never reads the value", "x", {}, {}, 0},
        {"the lines still holding it", "3", {"10", "20", "30"}, {"10", "30"}, 3},
        {"a value above a byte", "256", {"10"}, {}, std::nullopt},
        {"an address past memory, after a kept line", "3", {"10", "65536", "30"}, {"10"}, std::nullopt},
        {"a negative address", "3", {"-1"}, {}, std::nullopt},
        {"a line that is no number", "3", {"10", "abc"}, {"10"}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<std::string> memo;
        std::optional<int> examined;
        const auto error = errorOf([&] { examined = recheck(*ram, c.value, c.lines, memo); });
        EXPECT_EQ(memo, c.memo) << c.what;
        EXPECT_EQ(examined, c.examined) << c.what;
        EXPECT_EQ(error.has_value(), !c.examined.has_value()) << c.what;
    }
}

TEST(DebuggerPoke, WritesTheLowByteAnywhereInMemoryAndRefusesAddressesOutsideIt)
{
    struct Case {
        std::int32_t address, value;
        bool written;
    };
    const Case cases[] = {
        {0xC000, 0xFF, true}, // the ROM area is writable here
        {0x4000, 0x12, true}, // main memory, never video memory
        {0xFFFF, 0x1AB, true}, {0x0000, 1, true},
        {0x10000, 5, false},  {-1, 5, false},
    };
    for (const Case& c : cases) {
        auto ram = std::make_unique<Ram>();
        const auto error = errorOf([&] { poke(*ram, c.address, c.value); });
        EXPECT_EQ(!error, c.written) << c.address;
        if (c.written)
            EXPECT_EQ((*ram)[static_cast<std::size_t>(c.address)], c.value & 0xFF) << c.address;
        else
            EXPECT_EQ(std::count(ram->begin(), ram->end(), 0), 65536) << c.address;
    }
}

TEST(DebuggerMemoryDump, LoadsWhatTheFileHoldsAndNeverMore)
{
    TempFolder folder;
    struct Case {
        const char* what;
        std::optional<std::size_t> fileSize; // nothing: no file
        std::size_t changed;                 // bytes now 0xAA from address 0
        bool fails;
    };
    const Case cases[] = {
        {"a 100-byte file", 100, 100, false},
        {"a whole dump", 65536, 65536, false},
        {"an empty file", 0, 0, false},
        {"a longer file stores its first 64 KB", 70000, 65536, true},
        {"a missing file", std::nullopt, 0, true},
        // What is no regular file is refused before a byte is read: a FIFO
        // nobody writes to would wait for ever, /dev/zero never ends.
        {"a FIFO", std::nullopt, 0, true},
        {"/dev/zero", std::nullopt, 0, true},
        {"a folder", std::nullopt, 0, true},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file("memory.dat1");
        std::filesystem::remove(path);
        if (c.fileSize)
            folder.write("memory.dat1", *c.fileSize, 0xAA);
        if (std::string_view(c.what) == "a FIFO") {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        }
        if (std::string_view(c.what) == "/dev/zero")
            std::filesystem::create_symlink("/dev/zero", path);
        if (std::string_view(c.what) == "a folder")
            std::filesystem::create_directory(path);
        auto ram = std::make_unique<Ram>();
        ram->fill(0x55);
        const auto error = errorOf([&] { loadMemoryDump(*ram, path); });
        EXPECT_EQ(error.has_value(), c.fails) << c.what;
        const auto firstUnchanged = std::find(ram->begin(), ram->end(), 0x55) - ram->begin();
        EXPECT_EQ(static_cast<std::size_t>(firstUnchanged), c.changed) << c.what;
        EXPECT_EQ(std::count(ram->begin(), ram->end(), 0x55), static_cast<long>(65536 - c.changed)) << c.what;
    }
}

TEST(DebuggerMemoryDump, SavesAllOfMemoryAndReportsAFolderItCannotWrite)
{
    TempFolder folder;
    auto ram = std::make_unique<Ram>();
    for (std::size_t a = 0; a < ram->size(); ++a)
        (*ram)[a] = static_cast<std::uint8_t>(a * 7 + (a >> 8));
    saveMemoryDump(*ram, folder.file("memory.dat"));
    EXPECT_EQ(std::filesystem::file_size(folder.file("memory.dat")), 65536u);
    auto back = std::make_unique<Ram>();
    loadMemoryDump(*back, folder.file("memory.dat"));
    EXPECT_EQ(*back, *ram);

    const auto error = errorOf([&] { saveMemoryDump(*ram, folder.file("no-such-folder/memory.dat")); });
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("no-such-folder/memory.dat"), std::string::npos) << *error;

    // A disk that fills up half-way: said so, and the earlier dump stays whole.
    ostrovik::platform::ScopedWriteFault full([](const std::string&) { return ENOSPC; });
    auto other = std::make_unique<Ram>();
    const auto fullError = errorOf([&] { saveMemoryDump(*other, folder.file("memory.dat")); });
    ASSERT_TRUE(fullError);
    EXPECT_NE(fullError->find("No space left on device"), std::string::npos) << *fullError;
    loadMemoryDump(*back, folder.file("memory.dat"));
    EXPECT_EQ(*back, *ram);
}

TEST(DebuggerListing, CopiedRowsAreTabMnemonicBlankOperandCrLf)
{
    Ram ram{};
    ram[0x100] = 0x31, ram[0x101] = 0xC1, ram[0x102] = 0xAF; // LXI SP,AFC1h
    const std::vector<Instruction> rows = disassemble(ram, 0x100, 0x103);
    EXPECT_EQ(listingCopyText(rows), "\tLXI SP, AFC1h\r\n\tNOP \r\n");
}

TEST(DebuggerDump, CharacterColumnShowsPrintableBytesOnly)
{
    const std::pair<std::uint8_t, char> cases[] = {
        {0, '.'}, {31, '.'}, {32, ' '}, {'A', 'A'}, {127, 127}, {128, '.'}, {255, '.'}};
    for (auto [byte, shown] : cases)
        EXPECT_EQ(dumpCharacter(byte), shown) << int(byte);
}
