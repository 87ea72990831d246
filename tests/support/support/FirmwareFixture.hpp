#pragma once

// A machine booted from the stand-in test ROM (bios.dat from
// firmware/testrom.asm, found in $OSTROVIK_BIN), with helpers that type keys,
// call ROM routines and read the text screen back through the font in RAM.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/TempFolder.hpp"
#include "files/LoadFile.hpp"
#include "machine/Machine.hpp"
#include "support/TestHost.hpp"
#include "support/TapeImages.hpp"

namespace ostrovik::test {

using machine::Machine;
using machine::KeyMask;

// Firmware cells the tests look at (documented at the top of testrom.asm).
constexpr int kCursorCol = 0xBE00;
constexpr int kCursorRow = 0xBE01;
constexpr int kTapeName = 0xBE8C;
constexpr int kConsole = 0xDF68;
constexpr int kKeyIn = 0xF803;
constexpr int kTapeSkip = 0xE4D0;
constexpr int kReturnLoop = 0x9000; // JMP 9000h, readable in both memory maps

// Keys of the DU-01 (latin key table).
constexpr KeyMask kEnter = 0x13FF, kShift = 0x70FF, kBackspace = 0x23FF, kSpace = 0x30FF,
                   kOne = 0x47FF, kLeft = 0xFF32;

inline KeyMask letterKey(char c)
{
    static constexpr std::array<KeyMask, 26> letters = {
        0x64FF, 0x31FF, 0x57FF, 0x27FF, 0x54FF, 0x67FF, 0x10FF, 0x16FF, 0x75FF,
        0x52FF, 0x55FF, 0x22FF, 0x76FF, 0x53FF, 0x21FF, 0x63FF, 0x71FF, 0x20FF,
        0x77FF, 0x74FF, 0x56FF, 0x26FF, 0x65FF, 0x73FF, 0x66FF, 0x17FF};
    return letters.at(static_cast<std::size_t>(c - 'A'));
}

// KOI-7 codes 96-126 as UTF-8, for reading Cyrillic off the screen.
constexpr std::array<std::string_view, 31> kCyrillic = {
    "Ю", "А", "Б", "Ц", "Д", "Е", "Ф", "Г", "Х", "И", "Й", "К", "Л", "М", "Н", "О",
    "П", "Я", "Р", "С", "Т", "У", "Ж", "В", "Ь", "Ы", "З", "Ш", "Э", "Щ", "Ч"};

class BeepCounter : public machine::SoundSink {
public:
    void putSound(int value) override
    {
        if ((value ^ level) & 1)
            ++edges;
        level = value;
    }
    int level = 0xFF;
    int edges = 0;
};

/// The fixture itself: a machine with the test host (fast start on) and a
/// beeper counter, started from the test ROM.
class FirmwareFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* bin = std::getenv("OSTROVIK_BIN");
        ASSERT_NE(bin, nullptr) << "OSTROVIK_BIN names the folder that holds bios.dat";
        host.quick = true;
        m.programDir = bin;
        m.setSoundSink(&beeper);
        m.coldReset(); // fast start: 20,000,000 T-states
    }

    /// Writes @p bytes to a file of this test's own folder; returns its path.
    std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        if (!folder_)
            folder_.emplace("firmware");
        const auto path = *folder_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    void run(int tstates) { m.runOpcodes(tstates); }

    void press(KeyMask key, int held = 150000, int after = 150000)
    {
        m.setKey(key, true);
        run(held);
        m.setKey(key, false);
        run(after);
    }
    void typeText(std::string_view text)
    {
        for (char c : text)
            press(c == ' ' ? kSpace : letterKey(c));
    }

    /// The 16 video bytes of a character cell, dot row by dot row.
    std::array<std::uint8_t, 16> cell(int col, int row) const
    {
        std::array<std::uint8_t, 16> b{};
        for (int r = 0; r < 8; ++r) {
            b[2 * r] = m.videoRam[row * 512 + r * 64 + col * 2];
            b[2 * r + 1] = m.videoRam[row * 512 + r * 64 + col * 2 + 1];
        }
        return b;
    }
    /// A glyph of the font in RAM as the cell it should draw: ink in both bit
    /// planes, four dots a byte.
    std::array<std::uint8_t, 16> glyph(int code) const
    {
        std::array<std::uint8_t, 16> b{};
        for (int r = 0; r < 8; ++r) {
            const int g = m.ram[0xB000 + 8 * code + r];
            b[2 * r] = static_cast<std::uint8_t>((g & 0xF0) | (g >> 4));
            b[2 * r + 1] = static_cast<std::uint8_t>(((g & 0x0F) << 4) | (g & 0x0F));
        }
        return b;
    }
    /// One text row read back by matching every cell against the font (dot
    /// row 7, where the cursor underline goes, left out); trailing blanks cut.
    std::string line(int row) const
    {
        std::string text;
        for (int col = 0; col < 32; ++col) {
            const auto have = cell(col, row);
            std::string ch = "\x7F"; // no glyph matches
            for (int code = 32; code < 128; ++code) {
                const auto want = glyph(code);
                if (std::equal(want.begin(), want.begin() + 14, have.begin())) {
                    ch = code < 96 ? std::string(1, static_cast<char>(code))
                                   : code < 127 ? std::string(kCyrillic[code - 96]) : "\x7F";
                    break;
                }
            }
            text += ch;
        }
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }
    std::vector<std::string> screen() const
    {
        std::vector<std::string> rows;
        for (int r = 0; r < 32; ++r)
            rows.push_back(line(r));
        while (!rows.empty() && rows.back().empty())
            rows.pop_back();
        return rows;
    }

    /// Calls a ROM routine with the given registers and runs until it has
    /// returned to a loop in high RAM.
    void call(int addr, int budget = 300000)
    {
        startCall(addr);
        run(budget);
        ASSERT_EQ(m.regPC, kReturnLoop) << "the routine at " << std::hex << addr << " did not return";
        EXPECT_EQ(m.regSP, 0xAF02);
    }
    /// Points PC at a ROM routine whose return address is a loop in high RAM.
    void startCall(int addr)
    {
        m.ram[kReturnLoop] = 0xC3;
        m.ram[kReturnLoop + 1] = kReturnLoop & 0xFF;
        m.ram[kReturnLoop + 2] = kReturnLoop >> 8;
        m.regSP = 0xAF00;
        m.writeMemoryWord(0xAF00, kReturnLoop);
        m.regPC = addr;
    }
    void conout(int c)
    {
        m.regC = c;
        call(kConsole);
    }
    void setCursor(int col, int row)
    {
        m.ram[kCursorCol] = static_cast<std::uint8_t>(col);
        m.ram[kCursorRow] = static_cast<std::uint8_t>(row);
    }

    /// Loads a BASIC tape file as File → Open does: the program goes where
    /// the program-start word points, the BASIC entry starts, and with the
    /// RunBasic option the command RUN is typed.
    void loadBasic(std::string_view program, bool run = true)
    {
        host.options[machine::Option::RunBasic] = run ? "1" : "0";
        ostrovik::files::newLoadFile(m, writeFile("basic.lvt", basicTape(program)), true);
    }

    TestHost host;
    Machine m{host};
    BeepCounter beeper;

private:
    std::optional<TempFolder> folder_;
};


} // namespace ostrovik::test
