// Loading and saving on the stand-in firmware: programs made here start and
// run, the BASIC stand-in sees the automatic RUN, and a snapshot continues
// exactly where it was taken.
#include <memory>
#include <string>

#include "FilesTestSupport.hpp"
#include "asm8080/Assembler.hpp"
#include "files/LoadFile.hpp"
#include "files/SaveSnapshot.hpp"
#include "support/FirmwareFixture.hpp"

namespace {

using namespace ostrovik;
using Firmware = ostrovik::test::FirmwareFixture;
using ostrovik::test::kEnter;

class LoadOnFirmware : public Firmware {
protected:
    files::test::TempDir dir;

    std::string put(const std::string& name, std::span<const std::uint8_t> bytes)
    {
        return files::test::writeFile(dir.file(name), bytes);
    }
};

TEST_F(LoadOnFirmware, AssembledMachineCodeStartsAtItsRunAddressAndDraws)
{
    const auto result = asm8080::assemble(R"(
        ORG 8800h
        NOP
START:  MVI A,02h
        OUT 0C3h        ; video RAM at 4000h
        LXI H,4000h
        MVI B,64
FILL:   MVI M,0FFh      ; the top dot row: ink
        INX H
        DCR B
        JNZ FILL
        MVI A,03h
        OUT 0C3h
STOP:   JMP STOP    ; in RAM whichever way port C2 maps the low half
)");
    ASSERT_TRUE(result.ok()) << result.listing;
    const int end = result.origin + static_cast<int>(result.bytes.size()) - 1;
    const auto image = test::machineCodeTape(result.origin, end, result.origin + 1, result.bytes);

    ASSERT_NE(m.videoRam[0], 0xFF);
    files::newLoadFile(m, put("draw.lvt", image), true);
    EXPECT_EQ(m.regPC, 0x8801);
    EXPECT_EQ(m.readMemoryWord(m.regSP), 0x02FD);
    run(20000);
    EXPECT_EQ(m.regPC, end - 2); // at STOP
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(m.videoRam[i], 0xFF) << i;
    EXPECT_EQ(m.ports[0xC2] & 0x02, 0x02);
}

TEST_F(LoadOnFirmware, BasicStandInSeesTheAutomaticRun)
{
    const std::string program("10 PRINT 1\0" "20 END\0", 18);
    host.options[machine::Option::RunBasic] = "1";
    files::newLoadFile(m, put("prog.bas", files::test::basicTape(
                                              {reinterpret_cast<const std::uint8_t*>(program.data()), program.size()})),
                       true);
    const auto rows = screen();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], "BASIC 2000-2012");
    EXPECT_EQ(rows[3], "RUN");
    EXPECT_EQ(rows[4], "10 PRINT 1");
    EXPECT_EQ(rows[5], "20 END");
    EXPECT_EQ(rows[6], "OK");
}

TEST_F(LoadOnFirmware, SavedSnapshotContinuesExactlyWhereItWasTaken)
{
    typeText("AB");
    m.programDir = dir.path().string(); // bios.dat is read; FilesSAV goes here
    std::filesystem::create_directory(dir.path() / "FilesSAV");
    const std::string path = files::saveSnapshot(m, "");

    test::TestHost otherHost;
    auto other = std::make_unique<machine::Machine>(otherHost);
    files::newLoadFile(*other, path, true);
    EXPECT_EQ(otherHost.presented, 1);

    // The same keys with the same timing on both machines.
    for (machine::Machine* mm : {&m, other.get()}) {
        for (machine::KeyMask key : {test::letterKey('C'), kEnter}) {
            mm->setKey(key, true);
            mm->runOpcodes(150000);
            mm->setKey(key, false);
            mm->runOpcodes(150000);
        }
    }
    EXPECT_TRUE(other->ram == m.ram);
    EXPECT_TRUE(other->videoRam == m.videoRam);
    EXPECT_TRUE(other->ports == m.ports);
    EXPECT_EQ((std::array{other->regA, other->regF, other->regB, other->regC, other->regD, other->regE, other->regH,
                          other->regL, other->regSP, other->regPC}),
              (std::array{m.regA, m.regF, m.regB, m.regC, m.regD, m.regE, m.regH, m.regL, m.regSP, m.regPC}));
    EXPECT_EQ(screen().at(2), ">ABC");
}

} // namespace
