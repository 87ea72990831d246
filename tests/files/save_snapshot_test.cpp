#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "FilesTestSupport.hpp"
#include "files/LoadFile.hpp"
#include "files/SaveSnapshot.hpp"
#include "files/Snapshot.hpp"
#include "files/TimeStamp.hpp"

using namespace ostrovik;
using namespace ostrovik::files;
using namespace ostrovik::files::test;

namespace {

constexpr const char* kStamp = "03_03_2024_14_05_09";
std::string fixedStamp() { return kStamp; }

TEST(SnapshotName, StampIsDayMonthYearHourMinuteSecond)
{
    std::tm t{};
    t.tm_mday = 3;
    t.tm_mon = 2;
    t.tm_year = 124;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(fileTimeStamp(t), "03_03_2024_14_05_09");
    t.tm_mday = 31, t.tm_mon = 11, t.tm_year = 99, t.tm_hour = 23, t.tm_min = 59, t.tm_sec = 58;
    EXPECT_EQ(fileTimeStamp(t), "31_12_1999_23_59_58");
    EXPECT_EQ(fileTimeStampNow().size(), 19u);
}

TEST(SnapshotName, BaseIsTheFileNameWithoutItsLastFourCharacters)
{
    EXPECT_EQ(snapshotBaseName("/home/u/GAMES_SOFT/offline/abc/abc.lvt"), "abc");
    EXPECT_EQ(snapshotBaseName("abc.lvt"), "abc");
    EXPECT_EQ(snapshotBaseName("/x/a.lv"), "");
    EXPECT_EQ(snapshotBaseName("/x/game.lvt.sav"), "game.lvt");
    EXPECT_EQ(snapshotBaseName("/x/abcde"), "a");
    EXPECT_EQ(snapshotBaseName(""), "");
    EXPECT_EQ(snapshotBaseName("/x/y/"), "");
    // Characters, not bytes.
    EXPECT_EQ(snapshotBaseName("/x/игра.лвт"), "игра");

    const std::string dir = "/opt/ostrovik";
    EXPECT_EQ(snapshotPath(dir, "/games/abc.lvt", kStamp), "/opt/ostrovik/FilesSAV/abc_03_03_2024_14_05_09.sav");
    EXPECT_EQ(snapshotPath(dir, "", kStamp), "/opt/ostrovik/FilesSAV/Save_03_03_2024_14_05_09.sav");
    EXPECT_EQ(snapshotPath(dir, "a.lv", kStamp), "/opt/ostrovik/FilesSAV/Save_03_03_2024_14_05_09.sav");
    EXPECT_EQ(snapshotPath(dir, "game.lvt.sav", kStamp),
              "/opt/ostrovik/FilesSAV/game.lvt_03_03_2024_14_05_09.sav");
}

class SaveSnapshotTest : public ::testing::Test {
protected:
    TempDir dir;
    TestHost host;
    std::unique_ptr<machine::Machine> m = std::make_unique<machine::Machine>(host);

    void SetUp() override
    {
        m->programDir = dir.path().string();
        std::filesystem::create_directory(dir.path() / "FilesSAV");
        for (std::size_t i = 0; i < m->ram.size(); ++i)
            m->ram[i] = static_cast<std::uint8_t>(i * 31 + (i >> 8));
        for (std::size_t i = 0; i < m->videoRam.size(); ++i)
            m->videoRam[i] = static_cast<std::uint8_t>(i * 3 + 2);
        for (std::size_t i = 0; i < m->ports.size(); ++i)
            m->ports[i] = static_cast<std::uint8_t>(i ^ 0x5A);
        m->ports[0xC2] = 0xFD;
        m->regB = 1, m->regC = 2, m->regD = 3, m->regE = 4, m->regH = 5, m->regL = 6, m->regA = 7, m->regF = 0x83;
        m->regSP = 0xAFC1;
        m->regPC = 0x2345;
    }
};

TEST_F(SaveSnapshotTest, WritesTheWholeStateAndLoadsBackExactly)
{
    m->paused = 1; // paused by the user before the save
    const std::string path = saveSnapshot(*m, "/games/abc.lvt", fixedStamp);
    EXPECT_EQ(path, (dir.path() / "FilesSAV" / "abc_03_03_2024_14_05_09.sav").string());
    EXPECT_EQ(m->paused, 0);

    const auto file = readFile(path);
    ASSERT_EQ(file.size(), kSavSize);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 17), std::string("RIZI/DUMP/2.0/H+") + '\0');
    EXPECT_EQ(std::vector<std::uint8_t>(file.end() - 12, file.end()),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 0x83, 0xC1, 0xAF, 0x45, 0x23}));

    TestHost otherHost;
    auto other = std::make_unique<machine::Machine>(otherHost);
    newLoadFile(*other, path, true);
    EXPECT_TRUE(other->ram == m->ram);
    EXPECT_TRUE(other->videoRam == m->videoRam);
    EXPECT_TRUE(other->ports == m->ports);
    EXPECT_EQ((std::array{other->regB, other->regC, other->regD, other->regE, other->regH, other->regL, other->regA,
                          other->regF, other->regSP, other->regPC}),
              (std::array{m->regB, m->regC, m->regD, m->regE, m->regH, m->regL, m->regA, m->regF, m->regSP, m->regPC}));
}

TEST_F(SaveSnapshotTest, SameSecondKeepsBothFiles)
{
    const std::string first = saveSnapshot(*m, "", fixedStamp);
    m->regPC = 0x0042;
    const std::string second = saveSnapshot(*m, "", fixedStamp);
    EXPECT_EQ(first, (dir.path() / "FilesSAV" / "Save_03_03_2024_14_05_09.sav").string());
    EXPECT_EQ(second, (dir.path() / "FilesSAV" / "Save_03_03_2024_14_05_09_2.sav").string());
    EXPECT_EQ(readFile(first)[kSavPcAt], 0x45);
    EXPECT_EQ(readFile(second)[kSavPcAt], 0x42);
    EXPECT_EQ(std::filesystem::path(saveSnapshot(*m, "", fixedStamp)).filename(),
              "Save_03_03_2024_14_05_09_3.sav");
}

TEST_F(SaveSnapshotTest, MissingFolderIsReportedAndTheMachineRunsOn)
{
    std::filesystem::remove(dir.path() / "FilesSAV");
    m->paused = 1;
    try {
        saveSnapshot(*m, "abc.lvt", fixedStamp);
        ADD_FAILURE() << "no error reported";
    } catch (const std::runtime_error& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find((dir.path() / "FilesSAV" / "abc_03_03_2024_14_05_09.sav").string()), std::string::npos);
        EXPECT_NE(what.find("No such file or directory"), std::string::npos) << what;
    }
    EXPECT_EQ(m->paused, 0);
}

} // namespace
