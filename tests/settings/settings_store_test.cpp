// The typed settings store on its own: the complete write's exact bytes, the
// load from what the file holds (or cannot give), the values' ranges, and
// who hears of a change.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "platform/IniFile.hpp"
#include "settings/SettingsSchema.hpp"
#include "settings/SettingsStore.hpp"
#include "support/TempFolder.hpp"
#include "support/TestData.hpp"

using namespace ostrovik;
using machine::Option;
using settings::SettingsStore;
using settings::StoreChange;

namespace {

std::string bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A store on config.ini in a folder of its own.
struct Sandbox {
    test::TempFolder folder{"settings-store"};
    std::filesystem::path file = folder / "config.ini";
    SettingsStore store{[this] { return file; }};
};

// Every value away from its first-run one; the codec's name has Cyrillic
// letters, stored as Windows-1251 bytes.
void setEverything(SettingsStore& store)
{
    for (const settings::CheckOption& option : settings::kCheckOptions)
        store.setChecked(option.id, !option.designChecked);
    store.setRenderingMode(1);
    store.setScreenShotFormat(2);
    store.setCompressor("XVID Кодек");
    store.setFrameTime(40);
    store.setInterval(37);
    const std::uint16_t keys[] = {87, 83, 65, 68, 112, 17, 16, 9};
    for (std::size_t i = 0; i < 8; ++i)
        store.setJoystickVirtualKey(i, keys[i]);
}

} // namespace

// The goldens are what the settings window wrote before the store held the
// options: a first start, and every value changed.
TEST(SettingsStore, CompleteWriteGivesTheFileByteForByte)
{
    const struct {
        const char* name;
        std::function<void(SettingsStore&)> set;
        const char* golden;
    } cases[] = {
        {"first start", [](SettingsStore&) {}, "settings/first_run_config.ini"},
        {"every value set", setEverything, "settings/all_set_config.ini"},
    };
    for (const auto& c : cases) {
        Sandbox box;
        c.set(box.store);
        ASSERT_TRUE(box.store.save()) << c.name;
        const std::string golden = test::testData(c.golden);
        ASSERT_FALSE(golden.empty()) << c.golden;
        EXPECT_EQ(bytesOf(box.file), golden) << c.name;
        // The patch option's key ends in byte 0xD1, the Cyrillic Es.
        EXPECT_NE(golden.find("\r\nh058\xD1="), std::string::npos) << c.name;
        // Saved again, nothing changes.
        ASSERT_TRUE(box.store.save());
        EXPECT_EQ(bytesOf(box.file), golden) << c.name;
    }
}

TEST(SettingsStore, LoadAndSaveRoundTrip)
{
    Sandbox from;
    from.folder.put("config.ini", test::testData("settings/all_set_config.ini"));
    from.store.load();
    Sandbox expected;
    setEverything(expected.store);
    for (std::size_t i = 0; i < machine::kOptionCount; ++i) {
        const auto which = static_cast<Option>(i);
        EXPECT_EQ(from.store.text(which), expected.store.text(which)) << i;
    }
    EXPECT_EQ(from.store.compressor(), "XVID Кодек");
    EXPECT_EQ(from.store.joystickVirtualKeys().joyKeyRight, 68);
    EXPECT_EQ(from.store.joystickVirtualKeys().joyKeyButton[3], 9);

    // What was loaded goes into another file as the same bytes.
    Sandbox to;
    to.store.load();
    setEverything(to.store);
    ASSERT_TRUE(to.store.save());
    EXPECT_EQ(bytesOf(to.file), bytesOf(from.file));
}

TEST(SettingsStore, FileThatGivesNothingLoadsTheFirstRunValues)
{
    const struct {
        const char* name;
        std::function<void(const Sandbox&)> make;
    } cases[] = {
        {"missing", [](const Sandbox&) {}},
        {"a folder", [](const Sandbox& b) { std::filesystem::create_directory(b.file); }},
        {"a FIFO", [](const Sandbox& b) { ASSERT_EQ(::mkfifo(b.file.c_str(), 0600), 0); }},
        {"too large",
         [](const Sandbox& b) {
             std::string text = "[AutoStartUpOptions]\r\nFullScreen=0\r\nGray=1\r\n[JoyOptions]\r\nKEY_JOY_UP=87\r\n";
             text.resize(platform::kMaxIniFileBytes + 1, ';');
             b.folder.put("config.ini", text);
         }},
    };
    for (const auto& c : cases) {
        Sandbox box;
        c.make(box);
        // Moved off first, so that the load has to put each one back.
        setEverything(box.store);
        box.store.load();
        SettingsStore fresh([] { return std::filesystem::path(); });
        for (std::size_t i = 0; i < machine::kOptionCount; ++i) {
            const auto which = static_cast<Option>(i);
            EXPECT_EQ(box.store.text(which), fresh.text(which)) << c.name << " option " << i;
        }
        for (std::size_t i = 0; i < settings::kJoyKeys.size(); ++i)
            EXPECT_EQ(box.store.joystickVirtualKey(i), settings::kJoyKeys[i].defaultCode) << c.name << " key " << i;
    }
}

TEST(SettingsStore, ValuesStayWithinWhatTheControlsCanShow)
{
    Sandbox box;
    const struct {
        const char* name;
        std::function<void(int)> set;
        std::function<int()> get;
        int given;
        int kept;
    } cases[] = {
        {"interval below", [&](int v) { box.store.setInterval(v); }, [&] { return box.store.interval(); }, 0, 1},
        {"interval above", [&](int v) { box.store.setInterval(v); }, [&] { return box.store.interval(); }, 500, 100},
        {"format above", [&](int v) { box.store.setScreenShotFormat(v); }, [&] { return box.store.screenShotFormat(); }, 7, 2},
        {"format below", [&](int v) { box.store.setScreenShotFormat(v); }, [&] { return box.store.screenShotFormat(); }, -5, -1},
        {"mode past the list", [&](int v) { box.store.setRenderingMode(v); }, [&] { return box.store.renderingMode(); }, 9, -1},
        {"mode DirectX3D", [&](int v) { box.store.setRenderingMode(v); }, [&] { return box.store.renderingMode(); }, 2, 2},
        {"frame time unbounded", [&](int v) { box.store.setFrameTime(v); }, [&] { return box.store.frameTime(); }, -3, -3},
    };
    for (const auto& c : cases) {
        c.set(c.given);
        EXPECT_EQ(c.get(), c.kept) << c.name;
    }
}

TEST(SettingsStore, ListenersHearEachRealChangeWhileTheyHoldOn)
{
    Sandbox box;
    std::vector<StoreChange> heard;
    auto handle = box.store.subscribe([&](const StoreChange& c) { heard.push_back(c); });

    box.store.setChecked(Option::QuickRun, true);
    box.store.setChecked(Option::QuickRun, true); // no change
    box.store.setChecked(Option::Compressor, true); // no on/off option
    box.store.setJoystickVirtualKey(5, 90);
    box.store.setInterval(1); // already 1
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].kind, StoreChange::Kind::Option);
    EXPECT_EQ(heard[0].option, Option::QuickRun);
    EXPECT_EQ(heard[1].kind, StoreChange::Kind::JoystickKey);
    EXPECT_EQ(heard[1].joystickKey, 5u);
    EXPECT_TRUE(box.store.checked(Option::QuickRun));
    EXPECT_EQ(box.store.joystickVirtualKeys().joyKeyButton[1], 90);

    // A save turns the keys still 0 into their defaults, then says it saved.
    heard.clear();
    ASSERT_TRUE(box.store.save());
    ASSERT_EQ(heard.size(), 8u);
    EXPECT_EQ(heard.back().kind, StoreChange::Kind::Saved);
    EXPECT_EQ(box.store.joystickVirtualKey(0), 38);
    EXPECT_EQ(box.store.joystickVirtualKey(5), 90);

    handle.reset();
    box.store.setChecked(Option::Gray, true);
    EXPECT_EQ(heard.size(), 8u);
}

TEST(SettingsStore, FailedWriteSaysWhyAndIsNoSave)
{
    Sandbox box;
    box.folder.put("file", "");
    box.file = box.folder / "file" / "config.ini";
    bool saved = false;
    auto handle = box.store.subscribe([&](const StoreChange& c) { saved |= c.kind == StoreChange::Kind::Saved; });
    const platform::IniStatus status = box.store.save();
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Not a directory");
    EXPECT_FALSE(saved);
    EXPECT_FALSE(box.store.fileExists());
}
