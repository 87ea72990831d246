// The stand-in test ROM through the ROM traps: the console tap and the tape
// load.

#include "support/FirmwareFixture.hpp"

namespace {

using namespace ostrovik::machine;
using namespace ostrovik::test;
using Firmware = FirmwareFixture;

TEST_F(Firmware, ConsoleTapShowsTheBannerInTheLog)
{
    host.logVisible = true;
    m.coldReset();
    ASSERT_GE(host.logLines.size(), 2u);
    EXPECT_EQ(host.logLines[0], "OSTROVIK TEST ROM");
    EXPECT_EQ(host.logLines[1], "L [NAME] - LOAD FROM TAPE");
}

// ---- tape load --------------------------------------------------------------------

class FirmwareTape : public Firmware {
protected:
    /// The host's tape dialog returns a file; loading it fills the tape
    /// buffer only, so what lands in memory is the firmware's own doing.
    void insertTape(const std::vector<std::uint8_t>& image)
    {
        host.tapeFile = "tape.lvt";
        host.onLoad = [this, image](const std::string&, bool) {
            std::copy(image.begin(), image.end(), m.tapeBuffer.begin());
            m.tapeLength = static_cast<std::int32_t>(image.size());
        };
    }
};

TEST_F(FirmwareTape, LoadStoresTheDataAndStartsTheProgram)
{
    // MVI A,5Ah / STA 3100h / RET: the program leaves a mark and returns to
    // the warm start, which gives a new prompt.
    const std::vector<std::uint8_t> program = {0x3E, 0x5A, 0x32, 0x00, 0x31, 0xC9};
    insertTape(machineCodeTape(0x3000, 0x3005, 0x3000, program));
    typeText("L");
    press(kEnter, 150000, 2000000);
    EXPECT_EQ(host.dialogs, 1);
    ASSERT_EQ(host.loads.size(), 1u);
    EXPECT_FALSE(host.loads[0].autoStart);
    for (std::size_t i = 0; i < program.size(); ++i)
        EXPECT_EQ(m.ram[0x3000 + i], program[i]);
    EXPECT_EQ(m.ram[0x3100], 0x5A) << "the program ran";
    EXPECT_EQ(m.readMemoryWord(0xAFC1), 0x02FD);
    const auto rows = screen();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[2], ">L");
    EXPECT_EQ(rows[3], "FILE        3000-3005 3000");
    EXPECT_EQ(rows[4], ">");
}

TEST_F(FirmwareTape, NameGoesWhereTheTapeNameIsServed)
{
    insertTape(machineCodeTape(0x3000, 0x3000, 0x3000, std::vector<std::uint8_t>{0xC9}));
    typeText("L PROBA");
    press(kEnter, 150000, 2000000);
    EXPECT_EQ(std::string(m.ram.begin() + kTapeName, m.ram.begin() + kTapeName + 6), "PROBA ");
    EXPECT_EQ(line(3), "FILE PROBA  3000-3000 3000");
    EXPECT_EQ(line(4), ">");
}

TEST_F(FirmwareTape, NoTapeAndBrokenHeaderAreReported)
{
    // Cancelled dialog with nothing ever loaded: the stream ends after the name.
    typeText("L");
    press(kEnter, 150000, 1000000);
    EXPECT_EQ(host.dialogs, 1);
    EXPECT_EQ(line(3), "FILE");
    EXPECT_EQ(line(4), "NO FILE");
    EXPECT_EQ(line(5), ">");

    insertTape(machineCodeTape(0x3005, 0x3000, 0x3000, {}));
    typeText("L");
    press(kEnter, 150000, 1000000);
    EXPECT_EQ(line(6), "FILE");
    EXPECT_EQ(line(7), "TAPE ERROR");
    EXPECT_EQ(line(8), ">");
}

TEST_F(FirmwareTape, BasicFileThroughTheLoadCommandRunsTheStandIn)
{
    // The real loader behind the tape dialog: a BASIC file starts the BASIC
    // entry and types RUN inside the load.
    host.tapeFile = writeFile("basic.lvt", basicTape(std::string("10 PRINT 1\0", 11)));
    host.options[Option::RunBasic] = "1";
    host.onLoad = [this](const std::string& path, bool autoStart) {
        ostrovik::files::newLoadFile(m, path, autoStart);
    };
    // The user lets go of Enter while the dialog is open.
    host.onDialog = [this] { m.setKey(kEnter, false); };
    typeText("L");
    m.setKey(kEnter, true);
    run(1000000);
    ASSERT_EQ(host.loads.size(), 1u);
    EXPECT_FALSE(host.loads[0].autoStart);
    const auto rows = screen();
    ASSERT_GE(rows.size(), 6u);
    EXPECT_EQ(rows[0], "BASIC 2000-200B");
    EXPECT_EQ(rows[2], "OK");
    EXPECT_EQ(rows[3], "RUN");
    EXPECT_EQ(rows[4], "10 PRINT 1");
    EXPECT_EQ(rows[5], "OK");
}

} // namespace
