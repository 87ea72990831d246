#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>

#include "platform/FileFaults.hpp"
#include "platform/RegularFile.hpp"
#include "platform/WholeFile.hpp"
#include "support/TempFolder.hpp"

using namespace ostrovik::platform;
namespace fs = std::filesystem;

TEST(WholeFile, WritesAllOrLeavesNothingUnderTheName)
{
    struct Case {
        const char* what;
        std::optional<std::string> before; // what stands under the name first
        int openFault;
        int writeFault;
        bool ok;
        std::optional<std::string> after; // nothing: no file remains
        const char* reason;
    };
    const Case cases[] = {
        {"a new file", std::nullopt, 0, 0, true, "0123456789", ""},
        {"an old file overwritten", std::string(100, 'x'), 0, 0, true, "0123456789", ""},
        {"a full disk on a new file", std::nullopt, 0, ENOSPC, false, std::nullopt, "No space left on device"},
        {"a full disk keeps the old file whole", std::string(100, 'x'), 0, ENOSPC, false,
         std::string(100, 'x'), "No space left on device"},
        {"creation refused keeps the old file", std::string("old"), EACCES, 0, false, std::string("old"),
         "Permission denied"},
    };
    for (const Case& c : cases) {
        ostrovik::test::TempFolder folder("whole-file");
        const std::string path = (folder / "memory.dat").string();
        if (c.before)
            folder.put("memory.dat", *c.before);
        ScopedOpenFault openFault([&](const std::string&, bool forWriting) { return forWriting ? c.openFault : 0; });
        ScopedWriteFault writeFault([&](const std::string& p) { return p == path ? c.writeFault : 0; });
        const FileWrite written = writeWholeFile(path, "0123456789");
        EXPECT_EQ(written.ok, c.ok) << c.what;
        EXPECT_EQ(written.reason, c.reason) << c.what;
        const FileRead read = readRegularFile(path, 1000);
        EXPECT_EQ(read.status == FileReadStatus::Ok, c.after.has_value()) << c.what;
        if (c.after) {
            EXPECT_EQ(read.bytes, *c.after) << c.what;
        }
        // Nothing but the file itself is left in the folder.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()),
                  c.after ? 1 : 0) << c.what;
    }
}

TEST(WholeFile, AFullDeviceFailsAndStaysWhereItIs)
{
    // A real full disk: /dev/full takes no byte. It is reported and, not
    // being a file of ours, left alone.
    if (!fs::exists("/dev/full"))
        GTEST_FAIL() << "/dev/full is missing";
    const FileWrite written = writeWholeFile("/dev/full", std::string(1 << 16, 'x'));
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.reason, "No space left on device");
    EXPECT_TRUE(fs::exists("/dev/full"));
}

TEST(WholeFile, APipeWithoutReaderIsRefusedAtOnceAndALinkIsKept)
{
    ostrovik::test::TempFolder folder("whole-file");
    const auto fifo = folder / "font.fnt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const FileWrite toPipe = writeWholeFile(fifo.string(), "abc");
    EXPECT_FALSE(toPipe.ok);
    EXPECT_EQ(toPipe.reason, "No such device or address");
    EXPECT_TRUE(fs::is_fifo(fifo));

    folder.put("real.fnt", "old");
    fs::create_symlink("real.fnt", folder / "link.fnt");
    ASSERT_TRUE(writeWholeFile((folder / "link.fnt").string(), "new").ok);
    EXPECT_TRUE(fs::is_symlink(folder / "link.fnt"));
    EXPECT_EQ(readRegularFile((folder / "real.fnt").string(), 10).bytes, "new");
}

TEST(WholeFile, RunnableFilesMayBeExecuted)
{
    ostrovik::test::TempFolder folder("whole-file");
    const std::string path = (folder / "asm.cmd").string();
    ASSERT_TRUE(writeWholeFile(path, "exit\n", true).ok);
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_exec, fs::perms::none);
}
