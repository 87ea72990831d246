#include "platform/FileFaults.hpp"
#include "platform/RegularFile.hpp"
#include "support/TempFolder.hpp"

#include <cerrno>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

using namespace ostrovik::platform;

namespace {

struct ReadCase {
    const char* what;
    std::string path;          // inside the folder unless absolute
    std::size_t maxBytes;
    WhenLonger whenLonger;
    FileReadStatus status;
    std::string bytes;
};

TEST(RegularFile, ReadsOnlyRegularFilesUpToTheBound)
{
    ostrovik::test::TempFolder folder("regular-file");
    folder.put("ten", "0123456789");
    folder.put("empty", "");
    std::filesystem::create_directory(folder / "folder");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);

    const std::vector<ReadCase> cases = {
        {"whole file within the bound", "ten", 10, WhenLonger::Refuse, FileReadStatus::Ok, "0123456789"},
        {"empty file", "empty", 10, WhenLonger::Refuse, FileReadStatus::Ok, ""},
        {"one byte too many is refused", "ten", 9, WhenLonger::Refuse, FileReadStatus::TooLarge, ""},
        {"one byte too many keeps the prefix", "ten", 9, WhenLonger::KeepPrefix, FileReadStatus::Truncated,
         "012345678"},
        {"missing", "none", 10, WhenLonger::Refuse, FileReadStatus::Missing, ""},
        {"folder", "folder", 10, WhenLonger::Refuse, FileReadStatus::NotRegular, ""},
        {"FIFO with no writer does not hang", "fifo", 10, WhenLonger::Refuse, FileReadStatus::NotRegular, ""},
        {"endless device", "/dev/zero", 1 << 20, WhenLonger::KeepPrefix, FileReadStatus::NotRegular, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = c.path.starts_with('/') ? c.path : (folder / c.path).string();
        const FileRead read = readRegularFile(path, c.maxBytes, c.whenLonger);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.bytes, c.bytes);
        EXPECT_EQ(read.reason.empty(), c.status == FileReadStatus::Ok);
    }
    EXPECT_EQ(readRegularFile((folder / "folder").string(), 10).reason, "Is a directory");
}

TEST(RegularFile, StreamsOnlyRegularFiles)
{
    ostrovik::test::TempFolder folder("regular-file");
    std::string big(200'000, 'x');
    big[150'000] = '\0';
    folder.put("big", big);
    std::filesystem::create_directory(folder / "folder");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    const struct {
        const char* what;
        std::string path;
        FileReadStatus status;
        std::string bytes;
    } cases[] = {
        {"read in pieces, every byte", "big", FileReadStatus::Ok, big},
        {"missing", "none", FileReadStatus::Missing, ""},
        {"folder", "folder", FileReadStatus::NotRegular, ""},
        {"FIFO with no writer does not hang", "fifo", FileReadStatus::NotRegular, ""},
        {"endless device", "/dev/zero", FileReadStatus::NotRegular, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegularFileBuf file(c.path.starts_with('/') ? c.path : (folder / c.path).string());
        const std::string bytes((std::istreambuf_iterator<char>(&file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(file.status(), c.status);
        EXPECT_TRUE(bytes == c.bytes);
        EXPECT_EQ(file.reason().empty(), c.status == FileReadStatus::Ok);
    }
    ScopedOpenFault fault([](const std::string&, bool) { return EACCES; });
    RegularFileBuf refused((folder / "big").string());
    EXPECT_EQ(refused.status(), FileReadStatus::Failed);
    EXPECT_EQ(refused.reason(), "Permission denied");
}

TEST(RegularFile, ObeysTheInjectedOpenFault)
{
    ostrovik::test::TempFolder folder("regular-file");
    const auto path = folder.put("ten", "0123456789").string();
    ScopedOpenFault fault([](const std::string&, bool) { return EACCES; });
    const FileRead read = readRegularFile(path, 100);
    EXPECT_EQ(read.status, FileReadStatus::Failed);
    EXPECT_EQ(read.reason, "Permission denied");
}

} // namespace
