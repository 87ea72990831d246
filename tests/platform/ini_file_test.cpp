#include "support/TempFolder.hpp"
#include "platform/FileFaults.hpp"
#include "platform/IniFile.hpp"

#include <chrono>
#include <cerrno>
#include <cstring>
#include <optional>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ostrovik::platform;
namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    fs::path configPath(const char* name = "config.ini") const { return dir_ / name; }

    static std::string contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    static void put(const fs::path& path, std::string_view bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::size_t filesInDir() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    ostrovik::test::TempFolder folder_{"ini"};
    const fs::path& dir_ = folder_.path();
};

} // namespace

TEST_F(IniFileTest, MissingFileReadsAsDefaultsAndAWriteCreatesIt)
{
    const IniFile ini(configPath());
    EXPECT_EQ(ini.readIni("AutoStartUpOptions", "OneInstance"), "0");
    EXPECT_EQ(ini.readIni("MRU list", "1", ""), "");
    EXPECT_FALSE(fs::exists(configPath())); // reading creates nothing

    ASSERT_TRUE(ini.writeIni("AutoStartUpOptions", "FullScreen", "1"));
    ASSERT_TRUE(writeIni(configPath(), "AutoStartUpOptions", "h058\xD1", "0"));
    ASSERT_TRUE(ini.writeIni("VideoOptions", "Compressor", ""));
    EXPECT_EQ(contents(configPath()), "[AutoStartUpOptions]\r\nFullScreen=1\r\nh058\xD1=0\r\n"
                                "[VideoOptions]\r\nCompressor=\r\n");
    EXPECT_EQ(readIni(configPath(), "autostartupoptions", "FULLSCREEN"), "1");
    EXPECT_EQ(ini.readIni("AutoStartUpOptions", "h058C"), "0");
    EXPECT_EQ(ini.readIni("VideoOptions", "Compressor", "default"), ""); // present but empty
    EXPECT_EQ(filesInDir(), 1u); // no temporary file left behind
}

TEST_F(IniFileTest, EveryCallSeesTheFileAsItIsNow)
{
    const IniFile ini(configPath());
    ASSERT_TRUE(ini.writeIni("CPUOptions", "Interval", "1"));
    put(configPath(), "; edited by hand\n[CPUOptions]\nInterval=50\n");
    EXPECT_EQ(ini.readIni("CPUOptions", "Interval"), "50");
    ASSERT_TRUE(ini.writeIni("JoyOptions", "KEY_JOY_2", "32"));
    EXPECT_EQ(contents(configPath()), "; edited by hand\n[CPUOptions]\nInterval=50\n[JoyOptions]\nKEY_JOY_2=32\n");

    fs::remove(configPath()); // deleted while running: back to the defaults, then written anew
    EXPECT_EQ(ini.readIni("CPUOptions", "Interval"), "0");
    ASSERT_TRUE(ini.writeIni("CPUOptions", "Interval", "7"));
    EXPECT_EQ(contents(configPath()), "[CPUOptions]\r\nInterval=7\r\n");
}

TEST_F(IniFileTest, LoadAndSaveForSeveralKeysAtOnce)
{
    const IniFile ini(configPath());
    IniDocument doc;
    ASSERT_TRUE(ini.load(doc));
    EXPECT_TRUE(doc.empty());
    for (const char* key : {"1", "2", "3", "4", "5"}) {
        ASSERT_TRUE(doc.set("MRU list", key, std::string("/tmp/") + key));
    }
    ASSERT_TRUE(ini.save(doc));
    IniDocument again;
    ASSERT_TRUE(ini.load(again));
    EXPECT_EQ(again.bytes(), doc.bytes());
    EXPECT_EQ(ini.readIni("MRU list", "5"), "/tmp/5");
}

TEST_F(IniFileTest, FailedWritesLeaveTheFileAsItWas)
{
    // A folder where the file should be: unreadable, so nothing may replace it.
    fs::create_directory(configPath());
    const IniStatus onFolder = writeIni(configPath(), "A", "k", "1");
    EXPECT_FALSE(onFolder);
    EXPECT_FALSE(onFolder.message.empty());
    EXPECT_TRUE(fs::is_directory(configPath()));
    EXPECT_EQ(readIni(configPath(), "A", "k"), "0");
    IniDocument doc;
    EXPECT_FALSE(IniFile(configPath()).load(doc));

    // A folder that does not exist.
    EXPECT_FALSE(writeIni(dir_ / "missing" / "config.ini", "A", "k", "1"));

    // A value the file cannot hold.
    const fs::path file = configPath("other.ini");
    put(file, "[A]\nk=1\n");
    EXPECT_FALSE(writeIni(file, "A", "k", "two\nlines"));
    EXPECT_EQ(contents(file), "[A]\nk=1\n");

}

TEST_F(IniFileTest, AWriteCutShortLeavesTheOldFileWhole)
{
    const std::string before = "[A]\r\nk=1\r\n";
    put(configPath(), before);
    // Let no file grow past 16 bytes: the new contents cannot be written out.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const IniStatus status = writeIni(configPath(), "A", "k", std::string(100, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(status);
    EXPECT_FALSE(status.message.empty());
    EXPECT_EQ(contents(configPath()), before);
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(IniFileTest, AFolderWeMayNotWriteInto)
{
    // The refusal is played through the open hook, so the case runs for the
    // superuser too; without superuser rights the folder's own permissions
    // refuse as well.
    const fs::path file = configPath("other.ini");
    put(file, "[A]\nk=1\n");
    struct Way {
        const char* what;
        bool real;
    };
    for (const Way way : {Way{"refused by the open hook", false}, Way{"read-only folder", true}}) {
        if (way.real && ::geteuid() == 0)
            continue; // permissions do not bind the superuser; the hook stands in
        SCOPED_TRACE(way.what);
        std::optional<ostrovik::platform::ScopedOpenFault> fault;
        if (way.real)
            fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        else
            fault.emplace([](const std::string&, bool forWriting) { return forWriting ? EACCES : 0; });
        const IniStatus status = writeIni(file, "A", "k", "2");
        EXPECT_FALSE(status);
        EXPECT_FALSE(status.message.empty());
        EXPECT_FALSE(writeIni(file, "B", "k", "2"));
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_EQ(contents(file), "[A]\nk=1\n");
        EXPECT_EQ(filesInDir(), 1u);
    }
}

TEST_F(IniFileTest, KeepsPermissionsAndSymbolicLinks)
{
    const fs::path real = configPath("real.ini");
    put(real, "[A]\r\nk=1\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, configPath());

    ASSERT_TRUE(writeIni(configPath(), "A", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(configPath()));
    EXPECT_EQ(contents(real), "[A]\r\nk=2\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileTest, RewritingTheSameValueLeavesTheFileAlone)
{
    put(configPath(), "[A]\nk=1\n");
    // A modification time a day old: any rewrite would move it, however
    // coarse the file system's clock and however busy the machine.
    const auto before = fs::last_write_time(configPath()) - std::chrono::hours(24);
    fs::last_write_time(configPath(), before);
    ASSERT_TRUE(writeIni(configPath(), "a", "K", "1"));
    EXPECT_EQ(fs::last_write_time(configPath()), before);
    // A changed value is written: the time moves.
    ASSERT_TRUE(writeIni(configPath(), "a", "K", "2"));
    EXPECT_NE(fs::last_write_time(configPath()), before);
}

TEST_F(IniFileTest, WhatIsNoSettingsFileReadsAsDefaultsAndIsNeverReplaced)
{
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        std::string reason;
    };
    const Case cases[] = {
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "not a regular file"},
        {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, "not a regular file"},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "Is a directory"},
        {"100 MB",
         [](const fs::path& p) {
             put(p, "[A]\nk=1\n");
             ASSERT_EQ(::truncate(p.c_str(), 100 << 20), 0);
         },
         "the file is larger than 1024 KB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(configPath());
        c.make(configPath());
        const auto type = fs::symlink_status(configPath()).type();
        EXPECT_EQ(readIni(configPath(), "A", "k"), "0");
        IniDocument doc;
        EXPECT_EQ(IniFile(configPath()).load(doc).message, c.reason);
        const IniStatus write = writeIni(configPath(), "A", "k", "2");
        EXPECT_FALSE(write);
        EXPECT_EQ(write.message, c.reason);
        EXPECT_EQ(fs::symlink_status(configPath()).type(), type);
        EXPECT_EQ(filesInDir(), 1u);
    }
}

TEST_F(IniFileTest, AFileUpToTheSizeLimitIsReadAndOneByteMoreIsRefused)
{
    struct Case {
        std::uintmax_t size;
        const char* value;
        std::string reason;
    };
    const Case cases[] = {
        {kMaxIniFileBytes, "1", ""},
        {kMaxIniFileBytes + 1, "0", "the file is larger than 1024 KB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        // The key first, then blanks up to the size: ";" makes them a comment.
        put(configPath(), "[A]\nk=1\n;");
        fs::resize_file(configPath(), c.size);
        EXPECT_EQ(readIni(configPath(), "A", "k"), c.value);
        IniDocument doc;
        EXPECT_EQ(IniFile(configPath()).load(doc).message, c.reason);
    }
}

TEST_F(IniFileTest, AReadOnlyFileIsNotReplacedAndTheReasonIsGiven)
{
    const std::string before = "[A]\r\nk=1\r\n";
    put(configPath(), before);
    fs::permissions(configPath(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const IniStatus one = writeIni(configPath(), "A", "k", "2");
    EXPECT_FALSE(one);
    EXPECT_EQ(one.message, "Permission denied");
    IniDocument doc;
    ASSERT_TRUE(IniFile(configPath()).load(doc));
    ASSERT_TRUE(doc.set("B", "k", "3"));
    EXPECT_EQ(IniFile(configPath()).save(doc).message, "Permission denied");
    EXPECT_EQ(contents(configPath()), before);
    EXPECT_EQ(filesInDir(), 1u);
    EXPECT_EQ(readIni(configPath(), "A", "k"), "1");
}
