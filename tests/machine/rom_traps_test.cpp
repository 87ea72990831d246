#include <gtest/gtest.h>

#include <stdexcept>

#include "machine/Machine.hpp"
#include "machine/RomTraps.hpp"
#include "machine/TestMachine.hpp"

namespace {

using ostrovik::machine::test::TestMachine;
namespace rom_entry = ostrovik::machine::rom_entry;

/// A program at 0100h that calls a ROM routine, with the stack at 8000h.
struct TrapMachine : TestMachine {
    TrapMachine()
    {
        m.regSP = 0x8000;
        // Name bytes the tape stream serves in place of the header's name.
        poke(0xBE8C, {0x4E, 0x41, 0x4D, 0x45, 0x31, 0x32});
    }
    /// CALL @p routine; runs until the routine has returned to 0103h (or a
    /// trap's RET has run).
    void call(std::uint16_t routine, int budget = 28)
    {
        poke(0x0100, {0xCD, routine & 0xFF, routine >> 8});
        m.regPC = 0x0100;
        m.regSP = 0x8000;
        m.runOpcodes(budget);
    }
    int readByte()
    {
        call(rom_entry::TapeByte);
        EXPECT_EQ(m.regPC, 0x0103);
        return m.regA;
    }
    void loadImage(int length)
    {
        for (int i = 0; i < length; ++i)
            m.tapeBuffer[i] = static_cast<std::uint8_t>(i * 3 + 1);
        m.tapeLength = length;
        m.tapePosition = 0;
    }
    /// Prints each code through the console routine; returns the T-states
    /// of the last call, one instruction at a time until it has returned.
    int console(std::initializer_list<int> codes)
    {
        int tstates = 0;
        for (int code : codes) {
            m.regC = code;
            call(rom_entry::ConsoleOut, 1);
            tstates = m.clock;
            for (int i = 0; i < 100 && m.regPC != 0x0103; ++i) {
                m.runOpcodes(1);
                tstates += m.clock;
            }
            EXPECT_EQ(m.regPC, 0x0103);
        }
        return tstates;
    }
};

} // namespace

TEST(RomTraps, TrapAddressesAreRecognisedExactly)
{
    using ostrovik::machine::isRomTrapAddress;
    for (unsigned a : {0xDD94u, 0xE4BEu, 0xDDCAu, 0xE4D0u, 0xDF68u})
        EXPECT_TRUE(isRomTrapAddress(a)) << a;
    int count = 0;
    for (unsigned a = 0; a < 0x10000; ++a)
        count += isRomTrapAddress(a);
    EXPECT_EQ(count, 5);
}

// ---- tape stream ------------------------------------------------------------------

TEST(RomTrapsTape, HundredByteImageStream)
{
    TrapMachine t;
    t.loadImage(100);
    t.m.regB = 0x12;
    t.m.regF = 0x57;
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(t.readByte(), 0xD0) << i;
    for (int v : {0x4E, 0x41, 0x4D, 0x45, 0x31, 0x32})
        EXPECT_EQ(t.readByte(), v);
    for (int i = 16; i < 100; ++i)
        ASSERT_EQ(t.readByte(), (i * 3 + 1) & 0xFF) << i;
    EXPECT_EQ(t.m.tapePosition, 100);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t.readByte(), 0xFF);
        EXPECT_EQ(t.m.tapePosition, 100);
    }
    // Each read is the CALL and the trap's RET, and touches nothing else.
    EXPECT_EQ(t.m.clock, 17 + 11);
    EXPECT_EQ(t.m.regSP, 0x8000);
    EXPECT_EQ(t.m.regB, 0x12);
    EXPECT_EQ(t.m.regF, 0x57);
}

TEST(RomTrapsTape, ByteReadBeforeAnyLoad)
{
    TrapMachine t;
    ASSERT_EQ(t.m.tapePosition, -1);
    EXPECT_EQ(t.readByte(), 0xD0);
    EXPECT_EQ(t.m.tapePosition, 0);
}

TEST(RomTrapsTape, WordReads)
{
    TrapMachine t;
    t.loadImage(100);
    t.m.tapePosition = 16;
    t.call(rom_entry::TapeWord);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.regL, (16 * 3 + 1) & 0xFF);
    EXPECT_EQ(t.m.regH, (17 * 3 + 1) & 0xFF);
    EXPECT_EQ(t.m.tapePosition, 18);

    // Exactly one byte left.
    t.m.tapePosition = 99;
    t.call(rom_entry::TapeWord);
    EXPECT_EQ(t.m.regL, 0xFF);
    EXPECT_EQ(t.m.regH, 0xFF);
    EXPECT_EQ(t.m.tapePosition, 99);

    // Two bytes left, then none.
    t.m.tapePosition = 98;
    t.call(rom_entry::TapeWord);
    EXPECT_EQ(t.m.regL, (98 * 3 + 1) & 0xFF);
    EXPECT_EQ(t.m.tapePosition, 100);
    t.call(rom_entry::TapeWord);
    EXPECT_EQ(t.m.regL, 0xFF);
    EXPECT_EQ(t.m.tapePosition, 100);
}

TEST(RomTrapsTape, ReadsStayInsideTheBufferWhateverThePosition)
{
    // A file opened from the menu fills the buffer without a tape-load trap,
    // so the position can still be -1; a length beyond the buffer is cut.
    TrapMachine t;
    t.loadImage(100);
    t.m.tapePosition = -1;
    t.call(rom_entry::TapeWord);
    EXPECT_EQ(t.m.regL, 0xFF);
    EXPECT_EQ(t.m.regH, 0xFF);
    EXPECT_EQ(t.m.tapePosition, -1);

    const int size = static_cast<int>(t.m.tapeBuffer.size());
    t.m.tapeLength = size + 50;
    t.m.tapePosition = size - 1;
    t.call(rom_entry::TapeWord);
    EXPECT_EQ(t.m.regL, 0xFF);
    EXPECT_EQ(t.m.tapePosition, size - 1);
    t.m.tapePosition = size;
    EXPECT_EQ(t.readByte(), 0xFF);
    EXPECT_EQ(t.m.tapePosition, size);
}

TEST(RomTraps, SkippedRoutineReturnsAtOnce)
{
    TrapMachine t;
    t.poke(rom_entry::Skipped, {0x3C}); // would be INR A
    t.m.regA = 1, t.m.regB = 2, t.m.regC = 3, t.m.regD = 4, t.m.regE = 5, t.m.regH = 6, t.m.regL = 7, t.m.regF = 0x13;
    t.call(rom_entry::Skipped);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.regSP, 0x8000);
    EXPECT_EQ(t.m.clock, 28);
    EXPECT_EQ(t.m.regA, 1);
    EXPECT_EQ(t.m.regB, 2);
    EXPECT_EQ(t.m.regC, 3);
    EXPECT_EQ(t.m.regD, 4);
    EXPECT_EQ(t.m.regE, 5);
    EXPECT_EQ(t.m.regH, 6);
    EXPECT_EQ(t.m.regL, 7);
    EXPECT_EQ(t.m.regF, 0x13);
}

// ---- tape load ----------------------------------------------------------------------

TEST(RomTrapsLoad, ChosenFileIsLoadedWithoutStartingAndTheMachineWasPaused)
{
    TrapMachine t;
    t.m.tapePosition = 57;
    t.host.tapeFile = "/games/xonix.lvt";
    int pausedInDialog = -1, posInDialog = -1, pausedInLoad = -1;
    t.host.onDialog = [&] {
        pausedInDialog = t.m.paused;
        posInDialog = t.m.tapePosition;
    };
    t.host.onLoad = [&](const std::string&, bool) { pausedInLoad = t.m.paused; };
    t.call(rom_entry::TapeLoad);
    EXPECT_EQ(t.host.dialogs, 1);
    ASSERT_EQ(t.host.loads.size(), 1u);
    EXPECT_EQ(t.host.loads[0].path, "/games/xonix.lvt");
    EXPECT_FALSE(t.host.loads[0].autoStart);
    EXPECT_EQ(pausedInDialog, 1);
    EXPECT_EQ(pausedInLoad, 1);
    EXPECT_EQ(posInDialog, 0);
    EXPECT_EQ(t.m.paused, 0);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.clock, 28);
}

TEST(RomTrapsLoad, CancelledDialogLoadsNothingAndRewindsTheStream)
{
    TrapMachine t;
    t.loadImage(40);
    t.m.tapePosition = 30;
    t.call(rom_entry::TapeLoad);
    EXPECT_TRUE(t.host.loads.empty());
    EXPECT_EQ(t.m.paused, 0);
    EXPECT_EQ(t.m.tapePosition, 0);
    EXPECT_EQ(t.m.tapeLength, 40);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.readByte(), 0xD0);
}

TEST(RomTrapsLoad, PauseEndsEvenWhenTheLoadFails)
{
    TrapMachine t;
    t.host.tapeFile = "broken.lvt";
    t.host.onLoad = [](const std::string&, bool) { throw std::runtime_error("cannot read"); };
    EXPECT_THROW(t.call(rom_entry::TapeLoad), std::runtime_error);
    EXPECT_EQ(t.m.paused, 0);
    EXPECT_EQ(t.m.regPC, rom_entry::TapeLoad);
}

TEST(RomTrapsLoad, NestedRunContinuesWithTheInnerRunsState)
{
    // The load starts a program and runs it (as a BASIC RUN does); the outer
    // run then returns through the stack the inner run left, with its clock.
    TrapMachine t;
    t.host.tapeFile = "prog.bas";
    t.poke(0x9000, {0x00, 0x03});
    t.host.onLoad = [&](const std::string&, bool) {
        t.m.regPC = 0x0200; // NOPs
        t.m.regSP = 0x9000;
        t.m.regB = 0x77;
        t.m.runOpcodes(1000);
        EXPECT_EQ(t.m.clock, 1000);
    };
    t.call(rom_entry::TapeLoad);
    EXPECT_EQ(t.m.regPC, 0x0300);
    EXPECT_EQ(t.m.regSP, 0x9002);
    EXPECT_EQ(t.m.regB, 0x77);
    EXPECT_EQ(t.m.clock, 1011);
    EXPECT_EQ(t.m.paused, 0);
}

// ---- console tap ------------------------------------------------------------------

TEST(RomTrapsConsole, CollectsLinesWhileTheLogWindowIsShown)
{
    TrapMachine t;
    t.poke(rom_entry::ConsoleOut, {0x04, 0xC9}); // the routine itself: INR B; RET
    t.host.logVisible = true;
    const int tstates = t.console({'H', 'I', 127, 1, 10, 0, 30, 200, 97, 96, 13});
    ASSERT_EQ(t.host.logLines.size(), 1u);
    EXPECT_EQ(t.host.logLines[0], "H    АЮ");
    EXPECT_TRUE(t.m.logLine.empty());
    // The ROM's own routine still ran for every character.
    EXPECT_EQ(t.m.regB, 11);
    EXPECT_EQ(tstates, 17 + 5 + 11);
}

TEST(RomTrapsConsole, DeleteOnAnEmptyLineAndHiddenWindow)
{
    TrapMachine t;
    t.host.logVisible = true;
    t.poke(rom_entry::ConsoleOut, {0xC9});
    t.console({127, 'A', 127, 127});
    EXPECT_EQ(t.m.logLine, "");
    t.console({'O', 'K'});

    // Hidden: nothing is collected, and the unfinished line waits.
    t.host.logVisible = false;
    t.console({'X', 127, 13});
    EXPECT_EQ(t.m.logLine, "OK");
    EXPECT_TRUE(t.host.logLines.empty());

    t.host.logVisible = true;
    t.console({'!', 13});
    ASSERT_EQ(t.host.logLines.size(), 1u);
    EXPECT_EQ(t.host.logLines[0], "OK!");
}

TEST(RomTraps, FireHoweverExecutionArrives)
{
    TrapMachine t;
    t.loadImage(100);
    t.m.tapePosition = 20;
    // Falling through into the byte routine.
    t.poke(rom_entry::TapeByte - 2, {0x00, 0x00});
    t.poke(0x8000, {0x03, 0x01});
    t.m.regPC = rom_entry::TapeByte - 2;
    t.m.runOpcodes(19);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.regA, (20 * 3 + 1) & 0xFF);
    EXPECT_EQ(t.m.clock, 4 + 4 + 11);

    // A run that starts at a served address, with a budget of one
    // instruction: the trap's RET is that instruction.
    t.m.regSP = 0x8000;
    t.m.regPC = rom_entry::TapeByte;
    t.m.runOpcodes(1);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.clock, 11);
    EXPECT_EQ(t.m.tapePosition, 22);

    // Returning from one served routine straight into another.
    t.poke(0x8000, {rom_entry::TapeWord & 0xFF, rom_entry::TapeWord >> 8, 0x03, 0x01});
    t.m.regSP = 0x8000;
    t.m.regPC = rom_entry::Skipped;
    t.m.runOpcodes(22);
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.clock, 22);
    EXPECT_EQ(t.m.regL, (22 * 3 + 1) & 0xFF);
    EXPECT_EQ(t.m.tapePosition, 24);
}
