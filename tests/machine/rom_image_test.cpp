// Reading bios.dat: the wrap of long files into the scratch buffer, and the
// files that are no ROM image at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.hpp"
#include "machine/TestMachine.hpp"

namespace fs = std::filesystem;

namespace {

using ostrovik::machine::test::TestMachine;

class RomImage : public ::testing::Test {
protected:
    void SetUp() override { t.m.programDir = dir_.string(); }

    fs::path bios() const { return dir_ / "bios.dat"; }

    /// A file of @p size bytes where byte n is (n * 3 + n / 65,536) & 0xFF.
    void writeImage(std::size_t size)
    {
        std::vector<char> bytes(size);
        for (std::size_t n = 0; n < size; ++n)
            bytes[n] = static_cast<char>((n * 3 + n / 65536) & 0xFF);
        std::ofstream(bios(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
    }

    /// The message loadBios gives up with, or "" when it loads.
    std::string loadError()
    {
        try {
            t.m.loadBios();
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }

    ostrovik::test::TempFolder folder_{"rom"};
    const fs::path& dir_ = folder_.path();
    TestMachine t;
};

} // namespace

TEST_F(RomImage, LongFilesWrapIntoTheScratchBuffer)
{
    // 65,566 bytes: bytes 65,558 … 65,565 land on 22 … 29, the first eight ROM bytes.
    writeImage(65566);
    ASSERT_EQ(loadError(), "");
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(t.m.ram[0xC000 + i], ((65558 + i) * 3 + 1) & 0xFF) << i;
    EXPECT_EQ(t.m.ram[0xC008], (30 * 3) & 0xFF);
    EXPECT_EQ(t.m.ram[0xFFFF], ((22 + 0x3FFF) * 3) & 0xFF);
}

TEST_F(RomImage, AHugeSparseFileIsReadOnlyWhereItCounts)
{
    // Eight gigabytes of holes with a marker at the last offset that maps to 0xC000.
    const std::uint64_t size = 8ull << 30;
    {
        std::ofstream f(bios(), std::ios::binary);
        f.seekp(static_cast<std::streamoff>(size - 65536 + 22));
        f.put('\x5A');
    }
    ASSERT_EQ(::truncate(bios().c_str(), static_cast<off_t>(size)), 0);
    ASSERT_EQ(loadError(), "");
    EXPECT_EQ(t.m.ram[0xC000], 0x5A);
    EXPECT_EQ(t.m.ram[0xC001], 0);
}

TEST_F(RomImage, WhatIsNoRomImageIsRefusedWithItsReason)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::string reason; // empty: it loads
    };
    const auto sized = [this](std::size_t n) { return [this, n](const fs::path&) { writeImage(n); }; };
    const Case cases[] = {
        {"missing", [](const fs::path&) {}, "No such file or directory"},
        {"empty", sized(0), "the file holds 0 bytes, too few for a ROM image"},
        {"header only", sized(22), "the file holds 22 bytes, too few for a ROM image"},
        {"one ROM byte", sized(23), ""},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "Is a directory"},
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "not a regular file"},
        {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(bios());
        c.make(bios());
        const std::string error = loadError();
        if (c.reason.empty()) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error, "Cannot open the ROM image " + bios().string() + ": " + c.reason);
        }
    }
}
