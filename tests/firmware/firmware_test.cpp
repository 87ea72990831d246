// The stand-in test ROM on the machine core: boot, console output, keyboard
// and the BASIC stand-in.

#include "support/FirmwareFixture.hpp"

namespace {

using namespace ostrovik::machine;
using namespace ostrovik::test;
using Firmware = FirmwareFixture;

// ---- boot ---------------------------------------------------------------------

TEST_F(Firmware, ColdStartShowsTheBannerAndAPrompt)
{
    const auto rows = screen();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "OSTROVIK TEST ROM");
    EXPECT_EQ(rows[1], "L [NAME] - LOAD FROM TAPE");
    EXPECT_EQ(rows[2], ">");
    // All RAM mapped after boot; the cursor waits after the prompt.
    EXPECT_TRUE(m.ports[0xC2] & 0x02);
    EXPECT_EQ(m.ram[kCursorCol], 1);
    EXPECT_EQ(m.ram[kCursorRow], 2);
    EXPECT_EQ(cell(1, 2)[15], 0xFF) << "cursor underline";
}

TEST_F(Firmware, FontCoversCodes32To287)
{
    // Every printable ASCII glyph is drawn and distinct, so text reads back
    // unambiguously; codes 128-287 are blank; the set ends at 0xB8FF.
    for (int a = 33; a < 96; ++a) {
        const auto ga = glyph(a);
        EXPECT_NE(ga, glyph(32)) << "code " << a << " is blank";
        for (int b = a + 1; b < 96; ++b)
            EXPECT_NE(ga, glyph(b)) << "codes " << a << " and " << b << " look alike";
    }
    // Cyrillic letters with their own shapes differ from every Latin one.
    for (int code : {96, 98, 99, 100, 102, 103, 105, 106, 108, 112, 113, 117, 118, 120, 121, 122, 123,
                     124, 125, 126})
        for (int latin = 32; latin < 96; ++latin)
            EXPECT_NE(glyph(code), glyph(latin)) << "code " << code;
    for (int a = 0xB400; a <= 0xB8FF; ++a)
        ASSERT_EQ(m.ram[a], 0) << std::hex << a;
}

// ---- console output at 0xDF68 ---------------------------------------------------

TEST_F(Firmware, ConsoleDrawsTheGlyphAndKeepsRegisters)
{
    setCursor(5, 10);
    m.regA = 0x12;
    m.regB = 0x34;
    m.regD = 0x56;
    m.regE = 0x78;
    m.regH = 0x9A;
    m.regL = 0xBC;
    conout('A');
    EXPECT_EQ(cell(5, 10), glyph('A'));
    EXPECT_EQ(m.ram[kCursorCol], 6);
    EXPECT_EQ(m.ram[kCursorRow], 10);
    EXPECT_EQ(m.regA, 0x12);
    EXPECT_EQ(m.regB, 0x34);
    EXPECT_EQ(m.regC, 'A');
    EXPECT_EQ(m.regD, 0x56);
    EXPECT_EQ(m.regE, 0x78);
    EXPECT_EQ(m.regH, 0x9A);
    EXPECT_EQ(m.regL, 0xBC);
}

TEST_F(Firmware, ConsoleControlCodes)
{
    setCursor(5, 10);
    conout('A');
    conout(127); // delete
    EXPECT_EQ(cell(5, 10), glyph(' '));
    EXPECT_EQ(m.ram[kCursorCol], 5);
    conout(10); // ignored
    conout(1);  // ignored
    EXPECT_EQ(m.ram[kCursorCol], 5);
    EXPECT_EQ(m.ram[kCursorRow], 10);
    conout(13);
    EXPECT_EQ(m.ram[kCursorCol], 0);
    EXPECT_EQ(m.ram[kCursorRow], 11);
    conout(127); // at the start of a line: nothing
    EXPECT_EQ(m.ram[kCursorCol], 0);
    EXPECT_EQ(m.ram[kCursorRow], 11);
    // The 32nd character of a row wraps to the next row.
    setCursor(31, 4);
    conout('Z');
    EXPECT_EQ(cell(31, 4), glyph('Z'));
    EXPECT_EQ(m.ram[kCursorCol], 0);
    EXPECT_EQ(m.ram[kCursorRow], 5);
}

TEST_F(Firmware, ConsoleScrollsAtTheBottom)
{
    setCursor(0, 31);
    conout('X');
    conout(13);
    EXPECT_EQ(m.ram[kCursorRow], 31);
    EXPECT_EQ(cell(0, 30), glyph('X'));
    EXPECT_EQ(cell(0, 31), glyph(' '));
    EXPECT_EQ(line(1), ">") << "the banner moved up one row";
    EXPECT_EQ(line(0), "L [NAME] - LOAD FROM TAPE");
    // The wrap at the last column of the last row scrolls too.
    setCursor(31, 31);
    conout('Y');
    EXPECT_EQ(cell(31, 30), glyph('Y'));
    EXPECT_EQ(m.ram[kCursorRow], 31);
    EXPECT_EQ(m.ram[kCursorCol], 0);
}

TEST_F(Firmware, ConsoleKeepsTheCallersMemoryMap)
{
    // A caller with video RAM in view gets it back in view.
    m.ports[0xC2] = 0xFD;
    setCursor(2, 3);
    conout('Q');
    EXPECT_EQ(m.ports[0xC2], 0xFD);
    EXPECT_EQ(cell(2, 3), glyph('Q'));
}

// ---- keyboard ---------------------------------------------------------------------

TEST_F(Firmware, TypedKeysAreEchoedWithABeep)
{
    const int before = beeper.edges;
    press(letterKey('A'));
    EXPECT_EQ(line(2), ">A");
    EXPECT_GE(beeper.edges - before, 2) << "a beep is at least two edges";
    EXPECT_EQ(m.ports[0xC2] & 1, 1) << "the beeper rests high";
    press(kSpace);
    press(0x06FF); // 0
    press(kOne);
    m.setKey(kShift, true);
    run(50000);
    press(kOne); // Shift+1
    m.setKey(kShift, false);
    run(50000);
    EXPECT_EQ(line(2), ">A 01!");
    press(kBackspace);
    EXPECT_EQ(line(2), ">A 01");
    EXPECT_EQ(m.ram[kCursorCol], 5);
}

TEST_F(Firmware, HeldKeyIsTypedOnce)
{
    m.setKey(letterKey('W'), true);
    run(2000000);
    m.setKey(letterKey('W'), false);
    run(100000);
    EXPECT_EQ(line(2), ">W");
}

TEST_F(Firmware, KeysHeldTogetherAreAllTyped)
{
    // A key still held (here Enter of an earlier command) hides no new one.
    m.setKey(kEnter, true);
    run(300000);
    press(letterKey('Q'));
    m.setKey(kEnter, false);
    run(100000);
    EXPECT_EQ(line(3), ">Q");
    // Two keys pressed at once are both typed.
    m.setKey(letterKey('K'), true);
    m.setKey(letterKey('O'), true);
    run(300000);
    m.setKey(letterKey('K'), false);
    m.setKey(letterKey('O'), false);
    run(100000);
    EXPECT_TRUE(line(3) == ">QOK" || line(3) == ">QKO") << line(3);
}

TEST_F(Firmware, RusAndLatSwitchTheLetters)
{
    press(KEYMASK_RUS);
    press(letterKey('F'));
    press(letterKey('Q'));
    press(KEYMASK_LAT);
    press(letterKey('F'));
    EXPECT_EQ(line(2), ">ФЯF");
}

TEST_F(Firmware, UnknownCommandAnswersWithAQuestionMark)
{
    typeText("X");
    press(kEnter);
    const auto rows = screen();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2], ">X");
    EXPECT_EQ(rows[3], "?");
    EXPECT_EQ(rows[4], ">");
}

TEST_F(Firmware, KeyWaitAndTapeSkipReturn)
{
    // 0xF803 waits for a key and returns its character.
    startCall(kKeyIn);
    run(1000000);
    EXPECT_NE(m.regPC, kReturnLoop) << "returned without a key";
    m.setKey(letterKey('K'), true);
    run(100000);
    m.setKey(letterKey('K'), false);
    EXPECT_EQ(m.regPC, kReturnLoop);
    EXPECT_EQ(m.regA, 'K');
    EXPECT_EQ(m.regSP, 0xAF02);
    call(kTapeSkip, 10000);
}

// ---- BASIC stand-in ---------------------------------------------------------------

TEST_F(Firmware, BasicRunShowsThePrintableBytes)
{
    // A keyword token (0x8E) and other bytes outside 32-126 are not shown;
    // a zero ends a program line.
    loadBasic(std::string("10 \x8E\"HI\"\x01\0" "20 END\0", 17));
    const auto rows = screen();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], "BASIC 2000-2011");
    EXPECT_EQ(rows[1], "31 30 20 8E 22 48 49 22 ...");
    EXPECT_EQ(rows[2], "OK");
    EXPECT_EQ(rows[3], "RUN");
    EXPECT_EQ(rows[4], "10 \"HI\"");
    EXPECT_EQ(rows[5], "20 END");
    EXPECT_EQ(rows[6], "OK");
}

TEST_F(Firmware, BasicWithoutAutomaticRunWaitsForTheCommand)
{
    loadBasic(std::string("10 END\0", 7), false);
    run(500000);
    auto rows = screen();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], "31 30 20 45 4E 44 00");
    EXPECT_EQ(rows[2], "OK");
    // Anything but RUN is answered with a question mark.
    typeText("LIST");
    press(kEnter);
    typeText("RUN");
    press(kEnter);
    rows = screen();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[3], "LIST");
    EXPECT_EQ(rows[4], "?");
    EXPECT_EQ(rows[5], "OK");
    EXPECT_EQ(rows[6], "RUN");
    EXPECT_EQ(rows[7], "10 END");
    EXPECT_EQ(rows[8], "OK");
}

TEST_F(Firmware, ArrowKeyBreaksBasicUnlessPatched)
{
    m.setKey(kLeft, true);
    loadBasic(std::string("10 PRINT 1\0", 11));
    auto rows = screen();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[3], "RUN");
    EXPECT_EQ(rows[4], "1");
    EXPECT_EQ(rows[5], "BREAK");
    EXPECT_EQ(rows[6], "OK");

    // The h058С option patches 0x058C to XRA A: the arrows no longer stop it.
    host.options[Option::Patch058C] = "1";
    loadBasic(std::string("10 END\0", 7));
    m.setKey(kLeft, false);
    EXPECT_EQ(m.ram[0x058C], 0xAF);
    rows = screen();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "BASIC 2000-2007");
    EXPECT_EQ(rows[3], "RUN");
    EXPECT_EQ(rows[4], "10 END");
    EXPECT_EQ(rows[5], "OK");
}

TEST_F(Firmware, WarmStartReturnsToThePrompt)
{
    // A program that changed the palette returns to the monitor's colours.
    typeText("AB");
    m.writePort(0xC1, 0xC8);
    m.warmStart();
    run(500000);
    EXPECT_EQ(m.ports[0xC1], 0x4C);
    EXPECT_EQ(line(2), ">AB");
    EXPECT_EQ(line(3), ">");
    EXPECT_EQ(cell(3, 2)[15], 0) << "the cut-short line keeps no cursor";
    // The command loop works again afterwards.
    typeText("Z");
    EXPECT_EQ(line(3), ">Z");
}

} // namespace
