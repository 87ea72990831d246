#include <cerrno>
#include <cstring>
#include <optional>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <unistd.h>

#include "platform/FileFaults.hpp"
#include "FilesTestSupport.hpp"
#include "files/LoadFile.hpp"
#include "files/Snapshot.hpp"

using namespace ostrovik;
using namespace ostrovik::files;
using namespace ostrovik::files::test;

namespace {

class LoadFileTest : public ::testing::Test {
protected:
    TempDir dir;
    TestHost host;
    std::unique_ptr<machine::Machine> m = std::make_unique<machine::Machine>(host);

    void SetUp() override
    {
        // As after a cold reset: latches high, a recognisable ROM area.
        m->Ports.fill(0xFF);
        for (int a = 0xC000; a <= 0xFFFF; ++a)
            m->RAM[a] = static_cast<std::uint8_t>(a * 5 + 1);
        m->set_var(m->BasicStartVar, 0x2000);
        m->r_A = 0x11, m->r_B = 0x22, m->r_PC = 0x4321, m->r_SP = 0x8765;
    }

    std::string put(const std::string& name, std::span<const std::uint8_t> bytes)
    {
        return writeFile(dir.file(name), bytes);
    }

    /// Everything a refused or ignored load must leave alone.
    struct State {
        std::array<std::uint8_t, 65536> ram;
        std::array<std::uint8_t, 16384> vram;
        std::array<std::uint8_t, 256> ports;
        std::array<std::uint8_t, machine::Machine::kTapeBufSize> tape;
        std::int32_t tapeLength, pc, sp, a;
        bool operator==(const State&) const = default;
    };
    std::unique_ptr<State> state() const
    {
        return std::make_unique<State>(
            State{m->RAM, m->VRAM, m->Ports, m->TapeBuf, m->TapeLength, m->r_PC, m->r_SP, m->r_A});
    }
};

TEST_F(LoadFileTest, SmallMissingOrFolderGivesTheMessageAndChangesNothing)
{
    const auto image22 = machineCodeTape(0x3000, 0x3000, 0x3000, {});
    std::filesystem::create_directory(dir.file("folder.lvt"));
    const std::string names[] = {put("short.lvt", image22), put("empty.lvt", {}), dir.file("missing.lvt"),
                                 dir.file("folder.lvt")};
    const auto before = state();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        host.messages.clear();
        NewLoadFile(*m, name, true);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], "File is very small or not found !!!");
        EXPECT_TRUE(*state() == *before);
    }
}

TEST_F(LoadFileTest, TwentyThreeBytesIsEnough)
{
    const std::uint8_t data[] = {0x5A};
    NewLoadFile(*m, put("one.lvt", machineCodeTape(0x3000, 0x3000, 0x3000, data)), true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m->TapeLength, 23);
    EXPECT_EQ(m->RAM[0x3000], 0x5A);
    EXPECT_EQ(m->r_PC, 0x3000);
}

TEST_F(LoadFileTest, UnknownHeaderIsIgnoredWithoutAMessage)
{
    auto lower = machineCodeTape(0x3000, 0x3001, 0x3000, pattern(40, 1));
    lower[0] = 'r';
    auto dump = std::vector<std::uint8_t>(100, 0x33);
    std::copy_n("Rizi/DUMP", 9, dump.begin());
    const auto before = state();
    NewLoadFile(*m, put("lower.lvt", lower), true);
    NewLoadFile(*m, put("dump.sav", dump), true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(*state() == *before);
    EXPECT_EQ(host.presented, 0);
}

TEST_F(LoadFileTest, ContentDecidesNotTheExtension)
{
    const std::uint8_t data[] = {1, 2};
    NewLoadFile(*m, put("tape.sav", machineCodeTape(0x3000, 0x3001, 0x3000, data)), true);
    EXPECT_EQ(m->RAM[0x3001], 2);
    EXPECT_EQ(m->TapeLength, 24);

    auto s = std::make_unique<TSavSnapshot>();
    s->PC = 0x0777;
    std::vector<std::uint8_t> file(kSavSize);
    serialiseSavSnapshot(*s, std::span<std::uint8_t, kSavSize>(file.data(), kSavSize));
    NewLoadFile(*m, put("snap.lvt", file), true);
    EXPECT_EQ(m->r_PC, 0x0777);
    EXPECT_EQ(host.presented, 1);
}

TEST_F(LoadFileTest, MachineCodeWithAutoStartWarmStartsAndRunsFromItsAddress)
{
    m->Ports[0xC2] = 0x00;
    const auto data = pattern(300, 9);
    NewLoadFile(*m, put("mc.lvt", machineCodeTape(0x2100, 0x2100 + 299, 0x2180, data)), true);
    EXPECT_EQ(m->TapeLength, 322);
    EXPECT_EQ(m->Ports[0xC2], 0xFF);
    EXPECT_EQ(m->r_SP, 0xAFC1);
    EXPECT_EQ(m->get_var(0xAFC1), 0x02FD);
    EXPECT_EQ(m->r_PC, 0x2180);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), m->RAM.begin() + 0x2100));
    EXPECT_EQ(m->RAM[0x2100 + 300], 0);
    EXPECT_EQ(m->r_A, 0x11); // only the warm start's registers change
}

TEST_F(LoadFileTest, EndBeforeStartStoresNothingButStillStarts)
{
    const auto data = pattern(64, 3);
    const auto ram = m->RAM;
    NewLoadFile(*m, put("back.lvt", machineCodeTape(0x3000, 0x2FFF, 0x3000, data)), true);
    EXPECT_EQ(m->r_PC, 0x3000);
    auto expected = ram;
    expected[0xAFC1] = 0xFD;
    expected[0xAFC2] = 0x02;
    EXPECT_TRUE(m->RAM == expected);

    // A range that would wrap past 0xFFFF is, by its signed difference, empty.
    NewLoadFile(*m, put("wrap.lvt", machineCodeTape(0xFFFE, 0x0001, 0x0000, data)), true);
    EXPECT_TRUE(m->RAM == expected);
    EXPECT_EQ(m->r_PC, 0x0000);
}

TEST_F(LoadFileTest, RangeToTheTopOfMemoryDropsTheRomArea)
{
    const auto data = pattern(0x10000 - 0xBFFC, 0x40);
    const auto rom = std::vector<std::uint8_t>(m->RAM.begin() + 0xC000, m->RAM.end());
    NewLoadFile(*m, put("top.lvt", machineCodeTape(0xBFFC, 0xFFFF, 0xBFFC, data)), true);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 4, m->RAM.begin() + 0xBFFC));
    EXPECT_TRUE(std::equal(rom.begin(), rom.end(), m->RAM.begin() + 0xC000));
    EXPECT_EQ(m->RAM[0x0000], 0); // no wrap to the bottom
    EXPECT_EQ(m->TapeLength, 22 + 0x4004);
}

TEST_F(LoadFileTest, WithoutAutoStartTheCurrentMemoryMapDecides)
{
    m->Ports[0xC2] = 0xFD; // bit 1 clear: 0x0000–0x3FFF dropped, 0x4000–0x7FFF is video RAM
    const std::uint8_t low[] = {0xA1, 0xA2, 0xA3, 0xA4};
    const std::uint8_t high[] = {0xB1, 0xB2};
    const auto ram = m->RAM;
    NewLoadFile(*m, put("low.lvt", machineCodeTape(0x3FFE, 0x4001, 0x3FFE, low)), false);
    NewLoadFile(*m, put("high.lvt", machineCodeTape(0x7FFF, 0x8000, 0x7FFF, high)), false);
    EXPECT_EQ(m->VRAM[0], 0xA3);
    EXPECT_EQ(m->VRAM[1], 0xA4);
    EXPECT_EQ(m->VRAM[0x3FFF], 0xB1);
    auto expected = ram;
    expected[0x8000] = 0xB2;
    EXPECT_TRUE(m->RAM == expected);
    EXPECT_EQ(m->Ports[0xC2], 0xFD);
    EXPECT_EQ(m->r_PC, 0x4321);
    EXPECT_EQ(m->r_SP, 0x8765);
}

TEST_F(LoadFileTest, ShortestBasicImageLoadsSixBytes)
{
    const std::uint8_t program[] = {1, 2, 3, 4, 5, 6};
    const auto image = basicTape(program, 0x99);
    ASSERT_EQ(image.size(), 23u);
    m->Ports[0xC2] = 0x00;
    NewLoadFile(*m, put("b.bas", image), false); // a BASIC load starts whatever AutoStart says
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m->TapeLength, 22);
    EXPECT_TRUE(std::equal(std::begin(program), std::end(program), m->RAM.begin() + 0x2000));
    EXPECT_EQ(m->RAM[0x2006], 0); // the file's last byte is not loaded
    EXPECT_EQ(m->get_var(0x0245), 0x2006);
    EXPECT_EQ(m->Ports[0xC2], 0xFF);
    EXPECT_EQ(m->r_SP, 0xAFC1);
    EXPECT_EQ(m->get_var(0xAFC1), 0x02FD);
    EXPECT_EQ(m->r_PC, 0x1054);
    EXPECT_EQ(m->RAM[0x058C], 0); // the patch is off by default
}

TEST_F(LoadFileTest, BasicKeepsTheReturnAddressDropsRomAndPatchesOnRequest)
{
    host.options[machine::Option::Patch058C] = "1";
    m->set_var(m->BasicStartVar, 0xAFBF);
    const auto program = pattern(6, 0x60);
    NewLoadFile(*m, put("over.lvt", basicTape(program)), true);
    EXPECT_EQ(m->RAM[0xAFBF], program[0]);
    EXPECT_EQ(m->RAM[0xAFC0], program[1]);
    EXPECT_EQ(m->get_var(0xAFC1), 0x02FD); // written again after the program
    EXPECT_EQ(m->RAM[0xAFC3], program[4]);
    EXPECT_EQ(m->RAM[0x058C], 0xAF);

    m->set_var(m->BasicStartVar, 0xBFFE);
    const auto rom = std::vector<std::uint8_t>(m->RAM.begin() + 0xC000, m->RAM.end());
    NewLoadFile(*m, put("rom.lvt", basicTape(program)), true);
    EXPECT_EQ(m->RAM[0xBFFF], program[1]);
    EXPECT_TRUE(std::equal(rom.begin(), rom.end(), m->RAM.begin() + 0xC000));
    EXPECT_EQ(m->get_var(0x0245), 0xC004);
}

TEST_F(LoadFileTest, HeaderPromisingMoreThanTheFileTakesWhatTheBufferHolds)
{
    const auto earlier = pattern(2000, 0x21);
    NewLoadFile(*m, put("long.lvt", machineCodeTape(0x5000, 0x5000 + 1999, 0x5000, earlier)), true);
    const auto tape = m->TapeBuf;

    const auto data = pattern(8, 0xC0);
    NewLoadFile(*m, put("short.lvt", machineCodeTape(0x3000, 0x3000 + 99, 0x3000, data)), true);
    EXPECT_EQ(m->TapeLength, 30);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), m->RAM.begin() + 0x3000));
    EXPECT_TRUE(std::equal(tape.begin() + 30, tape.begin() + 122, m->RAM.begin() + 0x3008));

    // The largest promise a header can make stays inside the tape buffer.
    NewLoadFile(*m, put("huge.lvt", machineCodeTape(0x0000, 0xFFFF, 0x0000, data)), true);
    EXPECT_EQ(m->RAM[0x0000], data[0]);
    EXPECT_EQ(m->RAM[0xBFFF], m->TapeBuf[22 + 0xBFFF]);
}

TEST_F(LoadFileTest, SnapshotRestoresTheWholeStateAndPresentsAtOnce)
{
    auto s = std::make_unique<TSavSnapshot>();
    for (std::size_t i = 0; i < s->Ram.size(); ++i)
        s->Ram[i] = static_cast<std::uint8_t>(i * 13 + (i >> 9));
    for (std::size_t i = 0; i < s->VideoRam.size(); ++i)
        s->VideoRam[i] = static_cast<std::uint8_t>(i * 7 + 1);
    s->Ports.fill(0xFF);
    s->Ports[0xC1] = 0x35; // palette
    s->Ports[0xC2] = 0xFD; // memory map: video RAM at 0x4000
    s->B = 0xB0, s->C = 0xC0, s->D = 0xD0, s->E = 0xE0, s->H = 0x80, s->L = 0x70, s->A = 0xA0, s->F = 0x47;
    s->SP = 0x7FF0;
    s->PC = 0x1234;
    std::vector<std::uint8_t> file(kSavSize);
    serialiseSavSnapshot(*s, std::span<std::uint8_t, kSavSize>(file.data(), kSavSize));

    m->TapeLength = 777;
    m->TapePos = 12;
    m->clock = 999;
    m->Paused = 1;
    m->VRAMShadow.fill(0x0022);
    NewLoadFile(*m, put("state.sav", file), false);

    EXPECT_TRUE(m->RAM == s->Ram); // the ROM area included
    EXPECT_TRUE(m->VRAM == s->VideoRam);
    EXPECT_TRUE(m->Ports == s->Ports);
    EXPECT_EQ(m->do_read(0x4005), s->VideoRam[5]);
    EXPECT_EQ((std::array{m->r_B, m->r_C, m->r_D, m->r_E, m->r_H, m->r_L, m->r_A, m->r_F}),
              (std::array<std::int32_t, 8>{0xB0, 0xC0, 0xD0, 0xE0, 0x80, 0x70, 0xA0, 0x47}));
    EXPECT_EQ(m->r_SP, 0x7FF0);
    EXPECT_EQ(m->r_PC, 0x1234);
    EXPECT_TRUE(std::all_of(m->VRAMShadow.begin(), m->VRAMShadow.end(), [](auto v) { return v == 0x0101; }));
    EXPECT_EQ(host.presented, 1);
    EXPECT_EQ(m->TapeLength, 777);
    EXPECT_EQ(m->TapePos, 12);
    EXPECT_EQ(m->clock, 999);
    EXPECT_EQ(m->Paused, 1);
}

TEST_F(LoadFileTest, ShortSnapshotTakesTheRestFromTheTapeBuffer)
{
    NewLoadFile(*m, put("long.lvt", machineCodeTape(0x5000, 0x5000 + 1999, 0x5000, pattern(2000, 0x21))), true);
    const auto tape = m->TapeBuf;
    std::vector<std::uint8_t> file = pattern(100, 0x90);
    std::copy_n("RIZI/DUMP", 9, file.begin());
    NewLoadFile(*m, put("cut.sav", file), true);
    EXPECT_TRUE(std::equal(file.begin() + 17, file.end(), m->RAM.begin()));
    EXPECT_TRUE(std::equal(tape.begin() + 100, tape.begin() + 17 + 65536, m->RAM.begin() + 83));
    EXPECT_EQ(m->r_PC, tape[82203] | tape[82204] << 8);
}

TEST_F(LoadFileTest, FileLongerThanTheTapeBufferIsRefused)
{
    std::vector<std::uint8_t> big(machine::Machine::kTapeBufSize + 1);
    std::copy_n("RIZI/DUMP/2.0/H+", 16, big.begin());
    const std::string name = put("big.sav", big);
    const auto before = state();
    NewLoadFile(*m, name, true);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(name), std::string::npos);
    EXPECT_NE(host.messages[0].find("90004"), std::string::npos);
    EXPECT_TRUE(*state() == *before);
    EXPECT_EQ(host.presented, 0);

    // One byte less fits.
    host.messages.clear();
    const auto fits = basicTape(pattern(machine::Machine::kTapeBufSize - 17, 5));
    NewLoadFile(*m, put("fits.lvt", fits), true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m->TapeLength, 90003);
    EXPECT_EQ(m->TapeBuf.back(), fits.back());
}

TEST_F(LoadFileTest, UnreadableFileThrowsAndLeavesTheMachineAlone)
{
    const std::string name = put("locked.lvt", machineCodeTape(0x3000, 0x3001, 0x3000, pattern(2, 1)));
    struct Way {
        const char* what;
        bool real; ///< the file's own permissions (they do not bind the superuser)
    };
    for (const Way way : {Way{"refused by the open hook", false}, Way{"no read permission", true}}) {
        if (way.real && ::geteuid() == 0)
            continue;
        SCOPED_TRACE(way.what);
        std::optional<platform::ScopedOpenFault> fault;
        if (way.real)
            std::filesystem::permissions(name, std::filesystem::perms::none);
        else
            fault.emplace([name](const std::string& path, bool) { return path == name ? EACCES : 0; });
        const auto before = state();
        try {
            NewLoadFile(*m, name, true);
            ADD_FAILURE() << "no error reported";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
            EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos) << e.what();
        }
        EXPECT_TRUE(*state() == *before);
        std::filesystem::permissions(name, std::filesystem::perms::owner_all);
    }
}

TEST(FileSizeByName, PlainFilesOnly)
{
    TempDir dir;
    const auto bytes = pattern(1234, 0);
    EXPECT_EQ(FileSizeByName(writeFile(dir.file("a.lvt"), bytes)), 1234);
    EXPECT_EQ(FileSizeByName(writeFile(dir.file("empty"), {})), 0);
    EXPECT_EQ(FileSizeByName(dir.file("missing")), -1);
    EXPECT_EQ(FileSizeByName(dir.path().string()), -1);
    EXPECT_EQ(FileSizeByName(""), -1);
    EXPECT_EQ(FileSizeByName("/dev/zero"), -1);
}

// The recorder below is the BASIC program: it logs every change of the keys
// R, U, N (rows 2 and 5) and Enter (row 1, logged as 0x80) at 0x2000 on.
const std::uint8_t kKeyRecorder[] = {
    0x21, 0x00, 0x20,       // 1054 LXI H,2000h
    0x0E, 0x00,             // 1057 MVI C,0
    0x3E, 0xDB,             // 1059 MVI A,0DBh   ; rows 2 and 5
    0xD3, 0xD0,             //      OUT 0D0h
    0xDB, 0xD1,             //      IN 0D1h
    0x2F,                   //      CMA
    0xE6, 0x49,             //      ANI 49h
    0x47,                   //      MOV B,A
    0x3E, 0xFD,             //      MVI A,0FDh   ; row 1
    0xD3, 0xD0,             //      OUT 0D0h
    0xDB, 0xD1,             //      IN 0D1h
    0x2F,                   //      CMA
    0xE6, 0x08,             //      ANI 08h
    0x07, 0x07, 0x07, 0x07, //      RLC ×4
    0xB0,                   //      ORA B
    0xB9,                   //      CMP C
    0xCA, 0x59, 0x10,       //      JZ 1059h
    0x4F,                   //      MOV C,A
    0x77,                   //      MOV M,A
    0x23,                   //      INX H
    0xC3, 0x59, 0x10,       //      JMP 1059h
};

TEST_F(LoadFileTest, AutomaticRunTypesRunAndEnterWhenAsked)
{
    m->set_var(m->BasicStartVar, 0x1054);
    NewLoadFile(*m, put("norun.lvt", basicTape(kKeyRecorder)), true);
    EXPECT_EQ(m->r_PC, 0x1054); // not started without the option

    host.options[machine::Option::RunBasic] = "1";
    m->set_var(m->BasicStartVar, 0x1054);
    NewLoadFile(*m, put("run.lvt", basicTape(kKeyRecorder)), true);
    EXPECT_TRUE(std::all_of(m->KeyMatrix.begin(), m->KeyMatrix.end(), [](auto r) { return r == 0; }));
    ASSERT_TRUE(cpuRuns()) << "the CPU interpreter runs no instructions";
    EXPECT_GE(m->clock, 100'000);
    const std::vector<std::uint8_t> log(m->RAM.begin() + 0x2000, m->RAM.begin() + 0x2008);
    EXPECT_EQ(log, (std::vector<std::uint8_t>{0x01, 0x00, 0x40, 0x00, 0x08, 0x00, 0x80, 0x00}));
    EXPECT_EQ((m->r_H << 8) | m->r_L, 0x2008);
}

} // namespace
