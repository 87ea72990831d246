#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/TempFolder.hpp"
#include "AsmTestUtil.hpp"

namespace fs = std::filesystem;

namespace {

/// A fresh folder holding temp.asm; asm8080 runs with it as current folder,
/// the way the workbench's batch file starts it.
class AsmCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* bin = std::getenv("OSTROVIK_BIN");
        ASSERT_NE(bin, nullptr);
        exe_ = fs::path(bin) / "asm8080";
        ASSERT_TRUE(fs::exists(exe_));
    }

    void writeSource(const std::string& text)
    {
        std::ofstream(dir_ / "temp.asm", std::ios::binary) << text;
    }

    int run(const std::string& args)
    {
        std::string cmd = "cd '" + dir_.string() + "' && '" + exe_.string() + "' " + args + " 2>stderr.txt";
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string file(const std::string& name) { return asmtest::readFile((dir_ / name).string()); }

    fs::path exe_;
    ostrovik::test::TempFolder folder_{"asm8080-cli"};
    const fs::path& dir_ = folder_.path();
};

}  // namespace

TEST_F(AsmCli, BuildsTheInitialEditorTextIntoBinHexAndListing)
{
    writeSource(asmtest::readFile(asmtest::testDataPath("asm_initial_text.asm")));
    ASSERT_EQ(run("-ltemp.lst temp.asm"), 0) << file("stderr.txt");
    std::string bin = file("temp.bin");
    ASSERT_EQ(bin.size(), 30u);
    EXPECT_EQ(bin.substr(0, 16), std::string("RIZI/2.0/\xD0PROBA1"));
    EXPECT_EQ(file("temp.hex"),
              ":107FEA0052495A492F322E302FD050524F424131E6\n"
              ":0E7FFA000080088000803E00D3C13CC302809E\n"
              ":00000001FF\n");
    EXPECT_NE(file("temp.lst").find("8005  C3 02 80"), std::string::npos);
    EXPECT_TRUE(file("stderr.txt").empty());
}

TEST_F(AsmCli, ErrorsGoToListingAndStderrAndLeaveNoImage)
{
    // An image from an earlier run must not be taken for this run's result.
    std::ofstream(dir_ / "temp.bin") << "stale";
    writeSource("\tNOP\n\tJMP MISSING\n");
    EXPECT_EQ(run("-ltemp.lst temp.asm"), 1);
    EXPECT_FALSE(fs::exists(dir_ / "temp.bin"));
    EXPECT_FALSE(fs::exists(dir_ / "temp.hex"));
    std::string lst = file("temp.lst");
    EXPECT_NE(lst.find("*** Error: undefined symbol MISSING\n2: \tJMP MISSING\n"), std::string::npos) << lst;
    EXPECT_NE(file("stderr.txt").find("temp.asm:2: error: undefined symbol MISSING"), std::string::npos);
}

TEST_F(AsmCli, SourceInAnotherFolderGetsItsOutputsBesideIt)
{
    fs::create_directories(dir_ / "src.d");
    std::ofstream(dir_ / "src.d" / "prog.a80") << "\tORG 100h\n\tRET\n";
    ASSERT_EQ(run("-lout.lst src.d/prog.a80"), 0) << file("stderr.txt");
    EXPECT_EQ(file("src.d/prog.bin"), "\xC9");
    EXPECT_TRUE(fs::exists(dir_ / "src.d" / "prog.hex"));
    EXPECT_TRUE(fs::exists(dir_ / "out.lst"));
}

TEST_F(AsmCli, MissingSourceAndBadCommandLines)
{
    EXPECT_EQ(run("-ltemp.lst nothere.asm"), 1);
    EXPECT_NE(file("temp.lst").find("*** Error: cannot read source file nothere.asm"), std::string::npos);
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("-x temp.asm"), 2);
}

TEST_F(AsmCli, AnOutputThatNamesTheSourceIsRefusedAndTheSourceKept)
{
    struct Case {
        const char* source;
        const char* args;
        const char* refused;
    };
    const Case cases[] = {
        {"prog.bin", "-l prog.bin", "prog.bin"},       // the image would be the source
        {"prog2.hex", "prog2.hex", "prog2.hex"},       // the Intel HEX file would be
        {"prog3.lst", "-l prog3.lst", "prog3.lst"},    // the default listing would be
        {"prog4.asm", "-lprog4.asm prog4.asm", "prog4.asm"}, // the listing named outright
        {"prog5.asm", "-l./prog5.asm prog5.asm", "./prog5.asm"}, // another spelling
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string text = "\tORG 100h\n\tRET\n";
        std::ofstream(dir_ / c.source, std::ios::binary) << text;
        EXPECT_EQ(run(c.args), 1);
        EXPECT_EQ(file(c.source), text);
        EXPECT_NE(file("stderr.txt").find(std::string("output file ") + c.refused + " would overwrite the source"),
                  std::string::npos)
            << file("stderr.txt");
    }
}
