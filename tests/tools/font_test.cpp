// The character-generator editor's core: picking a code, editing its dots,
// writing them into the machine's memory, and the font file.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/FileSizeLimit.hpp"
#include "support/TempFolder.hpp"
#include "tools/FontFile.hpp"
#include "tools/GlyphEditor.hpp"

using namespace ostrovik::tools;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<MachineRam> patternedRam()
{
    auto ram = std::make_unique<MachineRam>();
    for (std::size_t i = 0; i < ram->size(); ++i)
        (*ram)[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return ram;
}

void writeBytes(const fs::path& path, std::size_t count, std::uint8_t start)
{
    std::ofstream f(path, std::ios::binary);
    for (std::size_t i = 0; i < count; ++i)
        f.put(static_cast<char>(start + i));
}

std::string gridRow(const GlyphEditor& e, int row)
{
    std::string s;
    for (int c = 0; c < 8; ++c)
        s += e.cell(c, row).empty() ? "." : std::string(e.cell(c, row));
    return s;
}

} // namespace

TEST(GlyphEditor, PickingACellNamesItsCodeAndAddress)
{
    struct Case {
        int column, row, code;
        const char* codeLabel;
        const char* addressLabel;
    } cases[] = {
        {0, 0, 32, "KOI-7 code=32", "Adress=45312 HEX=B100"},
        {1, 2, 65, "KOI-7 code=65", "Adress=45576 HEX=B208"},
        {15, 0, 47, "KOI-7 code=47", "Adress=45432 HEX=B178"},
        {15, 15, 287, "KOI-7 code=287", "Adress=47352 HEX=B8F8"},
    };
    const auto ram = patternedRam();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        GlyphEditor e;
        e.select(c.column, c.row, *ram);
        EXPECT_EQ(e.code(), c.code);
        EXPECT_EQ(e.column(), c.column);
        EXPECT_EQ(e.row(), c.row);
        EXPECT_EQ(e.codeLabel(), c.codeLabel);
        EXPECT_EQ(e.addressLabel(), c.addressLabel);
        for (int r = 0; r < 8; ++r)
            EXPECT_EQ(e.rowByte(r), (*ram)[glyphAddress(c.code) + r]);
    }
}

TEST(GlyphEditor, TheDotGridShowsBitSevenAtTheLeft)
{
    auto ram = std::make_unique<MachineRam>();
    const std::uint8_t rows[8] = {0x81, 0x80, 0x01, 0x00, 0xFF, 0x3C, 0x55, 0xAA};
    for (int r = 0; r < 8; ++r)
        (*ram)[glyphAddress(65) + r] = rows[r];
    GlyphEditor e;
    e.select(1, 2, *ram);
    const char* expected[8] = {"10000001", "10000000", "00000001", "00000000",
                               "11111111", "00111100", "01010101", "10101010"};
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(gridRow(e, r), expected[r]) << "row " << r;
}

TEST(GlyphEditor, OnlyChangeWritesTheDotsIntoMemory)
{
    struct Case {
        const char* what;
        bool pick;                              // code 287 picked first
        std::vector<std::pair<int, int>> dots;  // toggled (column, row)
        bool change;
        std::uint16_t at;                       // where the glyph is written
        std::array<std::uint8_t, 8> glyph;      // what is there afterwards
    } cases[] = {
        {"change before any pick", false, {}, true, 0xB100, {}},
        {"toggles before any pick keep their places", false, {{0, 0}, {3, 1}, {7, 7}}, true, 0xB100,
         {0x80, 0x10, 0, 0, 0, 0, 0, 0x01}},
        {"a picked glyph edited", true, {{0, 0}, {7, 0}}, true, 0xB8F8, {0x81, 0, 0, 0, 0, 0, 0, 0}},
        {"a dot toggled twice", true, {{2, 3}, {2, 3}}, true, 0xB8F8, {}},
        {"toggles without change", true, {{0, 0}, {1, 1}}, false, 0xB8F8, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto ram = std::make_unique<MachineRam>();
        ram->fill(0xEE);
        // Code 287's glyph is blank before the edit.
        std::fill_n(ram->begin() + 0xB8F8, 8, 0);
        const auto before = *ram;
        GlyphEditor e;
        if (c.pick)
            e.select(15, 15, *ram);
        for (auto [column, row] : c.dots)
            e.toggle(column, row);
        EXPECT_EQ(*ram, before);
        if (!c.change)
            continue;
        e.change(*ram);
        for (int r = 0; r < 8; ++r)
            EXPECT_EQ((*ram)[c.at + r], c.glyph[static_cast<std::size_t>(r)]) << "row " << r;
        // Nothing outside the glyph moves.
        auto outside = *ram;
        std::copy_n(before.begin() + c.at, 8, outside.begin() + c.at);
        EXPECT_EQ(outside, before);
    }
}

TEST(GlyphEditor, BitStringsReadFirstCharacterHighest)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"", 0}, {"1", 1}, {"0", 0}, {"10", 2}, {"10000001", 0x81}, {"11111111", 255}, {"0101", 5}};
    for (const Case& c : cases)
        EXPECT_EQ(bitStringToByte(c.text), c.value) << '"' << c.text << '"';
}

TEST(FontFile, SavedFontsLoadBackAndOddSizesAreHandled)
{
    EXPECT_EQ(fontFileName("05_03_2024_14_07_09"), "FONTS_05_03_2024_14_07_09.fnt");

    const ostrovik::test::TempFolder folder("font");
    const fs::path saved = folder / "saved.fnt";
    const auto original = patternedRam();
    saveFont(saved, *original);
    EXPECT_EQ(fs::file_size(saved), 2049u);

    struct Case {
        const char* what;
        fs::path file;
        std::size_t read;
        bool error;
    };
    const fs::path shortFile = folder / "short.fnt", longFile = folder / "long.fnt", missing = folder / "missing.fnt",
                   pipe = folder / "pipe.fnt", directory = folder / "folder.fnt";
    writeBytes(shortFile, 100, 0x40);
    writeBytes(longFile, 3000, 0x40);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(directory);
    // A FIFO without a writer would hang, and /dev/zero never ends: neither
    // is a file, and memory stays as it was.
    const Case cases[] = {
        {"round trip", saved, 2049, false},
        {"short file", shortFile, 100, true},
        {"long file", longFile, 2049, false},
        {"missing file", missing, 0, true},
        {"FIFO", pipe, 0, true},
        {"device", "/dev/zero", 0, true},
        {"folder", directory, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto ram = std::make_unique<MachineRam>();
        ram->fill(0x5A);
        const FontLoad load = loadFont(c.file, *ram);
        EXPECT_EQ(load.bytesRead, c.read);
        EXPECT_EQ(load.error.has_value(), c.error);
        for (std::size_t i = 0; i < 65536; ++i) {
            std::uint8_t want = 0x5A;
            if (i >= kFontStart && i < kFontStart + c.read)
                want = c.file == saved ? (*original)[i] : static_cast<std::uint8_t>(0x40 + (i - kFontStart));
            ASSERT_EQ((*ram)[i], want) << "at " << std::hex << i;
        }
    }
    const auto shortLoad = [&] {
        auto ram = std::make_unique<MachineRam>();
        return loadFont(shortFile, *ram);
    }();
    ASSERT_TRUE(shortLoad.error);
    EXPECT_NE(shortLoad.error->find("100"), std::string::npos) << *shortLoad.error;

    // A font that cannot be written says so.
    EXPECT_THROW(saveFont(folder / "no/such/folder.fnt", *original), std::runtime_error);
}

TEST(FontFile, AWriteCutShortLeavesNoCutFileBehind)
{
    // The disk fills before the first byte, or half-way; a font of the same
    // name may be there from before.
    struct Case {
        const char* what;
        rlim_t room;
        bool existing;
    } cases[] = {
        {"no room at all", 0, false},
        {"room for half the font", 1000, false},
        {"over an older font", 1000, true},
    };
    const ostrovik::test::TempFolder folder("font");
    const auto ram = patternedRam();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = folder / "full.fnt";
        if (c.existing)
            writeBytes(file, 2049, 0);
        std::string error;
        {
            const ostrovik::test::FileSizeLimit full(c.room);
            ASSERT_TRUE(full.ok());
            try {
                saveFont(file, *ram);
            } catch (const std::runtime_error& e) {
                error = e.what();
            }
        }
        EXPECT_NE(error.find("full.fnt"), std::string::npos) << error;
        EXPECT_NE(error.find("File too large"), std::string::npos) << error;
        // An older font stays whole; otherwise nothing is left.
        EXPECT_EQ(fs::exists(file), c.existing);
        if (c.existing) {
            EXPECT_EQ(fs::file_size(file), 2049u);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), c.existing ? 1 : 0);
        fs::remove(file);
    }
}
