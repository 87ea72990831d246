#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/TempFolder.hpp"
#include "machine/Machine.hpp"
#include "machine/TestMachine.hpp"

namespace {

using ostrovik::machine::test::TestMachine;

/// Records every value the beeper hook receives, with the latch it replaces.
struct BeeperDouble : ostrovik::machine::SoundSink {
    const ostrovik::machine::Machine* m = nullptr;
    std::vector<int> values, oldLatches;
    void putSound(int value) override
    {
        values.push_back(value);
        oldLatches.push_back(m->ports[0xC2]);
    }
};

/// A folder with a bios.dat whose ROM bytes are (address * 7) & 0xFF.
class RomFolder {
public:
    RomFolder()
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("ostrovik-mm-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        std::ofstream f(dir_ / "bios.dat", std::ios::binary);
        std::vector<char> image(22 + 0x4000, 0);
        for (int i = 0; i < 0x4000; ++i)
            image[22 + i] = static_cast<char>(((0xC000 + i) * 7) & 0xFF);
        f.write(image.data(), static_cast<std::streamsize>(image.size()));
    }
    ~RomFolder() { std::filesystem::remove_all(dir_); }
    std::string path() const { return dir_.string(); }

private:
    std::filesystem::path dir_;
};

constexpr int romByte(int addr) { return (addr * 7) & 0xFF; }

} // namespace

TEST(MemoryMap, RomIsReadOnlyAndVisibleInBothViews)
{
    RomFolder rom;
    TestMachine t;
    t.m.programDir = rom.path();
    t.m.coldReset();
    for (int addr : {0xC000, 0xFFFF}) {
        t.m.writeByte(addr, romByte(addr) ^ 0xFF);
        EXPECT_EQ(t.m.ram[addr], romByte(addr));
        EXPECT_EQ(t.m.readByte(addr), romByte(addr));
        t.m.writePort(0xC3, 0x02); // video RAM view
        EXPECT_EQ(t.m.readByte(addr), romByte(addr));
        t.m.writeByte(addr, 0);
        EXPECT_EQ(t.m.ram[addr], romByte(addr));
        t.m.writePort(0xC3, 0x03);
    }
}

TEST(MemoryMap, VideoViewHidesLowRamAndShowsVideoRam)
{
    TestMachine t;
    t.m.ram[0x1234] = 0x11;
    t.m.ram[0x4000] = 0x22;
    t.m.writePort(0xC2, 0xFD); // bit 1 clear
    EXPECT_EQ(t.m.readByte(0x1234), 0);
    t.m.writeByte(0x1234, 0x99);
    EXPECT_EQ(t.m.ram[0x1234], 0x11);
    EXPECT_EQ(t.m.readByte(0x1234), 0);

    t.m.writeByte(0x4000, 0x5A);
    EXPECT_EQ(t.m.videoRam[0], 0x5A);
    EXPECT_EQ(t.m.readByte(0x4000), 0x5A);
    EXPECT_EQ(t.m.ram[0x4000], 0x22);
    t.m.writeByte(0x7FFF, 0x6B);
    EXPECT_EQ(t.m.videoRam[0x3FFF], 0x6B);

    t.m.writeByte(0x8000, 0x33);
    EXPECT_EQ(t.m.ram[0x8000], 0x33);
    EXPECT_EQ(t.m.readByte(0x8000), 0x33);

    t.m.writePort(0xC2, 0xFF);
    EXPECT_EQ(t.m.readByte(0x1234), 0x11);
    EXPECT_EQ(t.m.readByte(0x4000), 0x22);
    EXPECT_EQ(t.m.readByte(0x8000), 0x33);
}

TEST(MemoryMap, CodeInLowRamRunsAsNopsInTheVideoView)
{
    TestMachine t;
    t.poke(0x0100, {0x3E, 0x42}); // MVI A,42h
    t.m.ports[0xC2] = 0xFD;
    t.m.regPC = 0x0100;
    t.m.runOpcodes(1);
    EXPECT_EQ(t.m.regPC, 0x0101);
    EXPECT_EQ(t.m.clock, 4);
    EXPECT_EQ(t.m.regA, 0);
}

TEST(MemoryMap, CpuAccessesGoThroughTheMap)
{
    TestMachine t;
    t.m.ports[0xC2] = 0xFD;
    t.poke(0x8000, {0x77, 0x7E}); // MOV M,A; MOV A,M with HL = 4000h
    t.m.regH = 0x40;
    t.m.regA = 0x3C;
    t.m.regPC = 0x8000;
    t.m.runOpcodes(1);
    EXPECT_EQ(t.m.videoRam[0], 0x3C);
    EXPECT_EQ(t.m.ram[0x4000], 0);
    t.m.videoRam[0] = 0x5D;
    t.m.runOpcodes(1);
    EXPECT_EQ(t.m.regA, 0x5D);
}

TEST(Ports, BitCommandsOnC3DriveC2AndTheBeeper)
{
    TestMachine t;
    BeeperDouble beeper;
    beeper.m = &t.m;
    t.m.setSoundSink(&beeper);
    t.m.ports[0xC2] = 0x00;

    t.m.writePort(0xC3, 0x03); // set bit 1: all-RAM view
    EXPECT_EQ(t.m.ports[0xC2], 0x02);
    EXPECT_EQ(t.m.ports[0xC3], 0x02);
    EXPECT_EQ(beeper.values, std::vector<int>{0x02});
    EXPECT_EQ(beeper.oldLatches, std::vector<int>{0x00});

    t.m.writePort(0xC3, 0x01); // set bit 0: beeper
    EXPECT_EQ(t.m.ports[0xC2], 0x03);
    EXPECT_EQ(t.m.ports[0xC3], 0x03);

    t.m.writePort(0xC3, 0x02); // clear bit 1
    EXPECT_EQ(t.m.ports[0xC2], 0x01);
    EXPECT_EQ(t.m.ports[0xC3], 0x01);
    EXPECT_EQ(beeper.values, (std::vector<int>{0x02, 0x03, 0x01}));

    t.m.writePort(0xC3, 0x80); // mode word: stored only
    EXPECT_EQ(t.m.ports[0xC3], 0x80);
    EXPECT_EQ(t.m.ports[0xC2], 0x01);
    EXPECT_EQ(beeper.values.size(), 3u);

    // OUT from the CPU takes the same way.
    t.m.regA = 0x03;
    t.step(0x8000, {0xD3, 0xC3});
    EXPECT_EQ(t.m.ports[0xC2], 0x03);
    EXPECT_EQ(beeper.values.back(), 0x03);
    EXPECT_EQ(t.m.clock, 10);
}

TEST(Ports, PortNumbersAliasByThreeBits)
{
    TestMachine t;
    t.m.videoShadow.fill(0x1234);
    t.m.writePort(0x01, 0x2A);
    EXPECT_EQ(t.m.ports[0xC1], 0x2A);
    EXPECT_EQ(t.m.ports[0x01], 0xFF);
    for (auto v : t.m.videoShadow)
        ASSERT_EQ(v, 0x0101);

    t.m.writePort(0xF2, 0x0E);
    EXPECT_EQ(t.m.ports[0xD2], 0x0E);
}

TEST(Ports, KeyboardMatricesReadThroughTheRowSelects)
{
    TestMachine t;
    t.m.keyMatrix[0] = 0x08;
    t.m.keyMatrix[5] = 0x01;
    t.m.ports[0xD0] = 0xFF;
    EXPECT_EQ(t.m.readPort(0xD1), 0xFF);
    t.m.ports[0xD0] = 0xFE;
    EXPECT_EQ(t.m.readPort(0xD1), 0xF7);
    t.m.ports[0xD0] = 0xDE; // rows 0 and 5
    EXPECT_EQ(t.m.readPort(0xD1), 0xF6);

    t.m.ports[0xD2] = 0xF0;
    EXPECT_EQ(t.m.readPort(0xD2), 0xF0);
    t.m.extKeyMatrix[2] = 0x04;
    t.m.ports[0xD2] = 0xFB;
    EXPECT_EQ(t.m.readPort(0xD2), 0xBB);

    // IN from the CPU.
    t.m.ports[0xD0] = 0xFE;
    t.step(0x8000, {0xDB, 0xD1});
    EXPECT_EQ(t.m.regA, 0xF7);
}

TEST(Ports, LatchesWithoutAReadMeaningReadAllOnes)
{
    TestMachine t;
    t.m.ports.fill(0x00);
    for (int port : {0xC0, 0xC1, 0xC3, 0xD0, 0xD3})
        EXPECT_EQ(t.m.readPort(port), 0xFF) << port;
    t.m.ports[0xC2] = 0x5A;
    EXPECT_EQ(t.m.readPort(0xC2), 0x5A);
}

TEST(MemoryMap, WordsAndPairAddresses)
{
    TestMachine t;
    t.m.writeMemoryWord(0xAFC1, 0x02FD);
    EXPECT_EQ(t.m.ram[0xAFC1], 0xFD);
    EXPECT_EQ(t.m.ram[0xAFC2], 0x02);
    EXPECT_EQ(t.m.readMemoryWord(0xAFC1), 0x02FD);

    t.m.ram[0x1234] = 0x77;
    EXPECT_EQ(t.m.readByteAt(0x34, 0x12), 0x77);
    t.m.writeByteAt(0x35, 0x12, 0x66);
    EXPECT_EQ(t.m.ram[0x1235], 0x66);
}
