#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "machine/Option.hpp"

/// The layout of config.ini: its sections, its keys in the order of the
/// complete write, and the values a first start writes. Names are UTF-8 here;
/// the settings file holds them as Windows-1251 bytes.
namespace ostrovik::settings {

inline constexpr std::string_view kAutoStartUpOptions = "AutoStartUpOptions";
inline constexpr std::string_view kVideoOptions = "VideoOptions";
inline constexpr std::string_view kCPUOptions = "CPUOptions";
inline constexpr std::string_view kJoyOptions = "JoyOptions";
inline constexpr std::string_view kMruList = "MRU list";

inline constexpr std::string_view kFullScreen = "FullScreen";
inline constexpr std::string_view kGray = "Gray";
inline constexpr std::string_view kBlur = "Blur";
inline constexpr std::string_view kBorder = "Border";
inline constexpr std::string_view kLanguage = "Language";
inline constexpr std::string_view k256x256 = "256x256";
inline constexpr std::string_view kRunBasic = "RunBasic";
inline constexpr std::string_view kRunSound = "RunSound";
inline constexpr std::string_view kQuickRun = "QuickRun";
/// Ends in the Cyrillic capital Es, not a Latin C.
inline constexpr std::string_view kH058C = "h058С";
inline constexpr std::string_view kOneInstance = "OneInstance";
inline constexpr std::string_view kRenderingMode = "RenderingMode";
inline constexpr std::string_view kScreenShotFormat = "ScreenShotFormat";
inline constexpr std::string_view kFormHeight = "FormHeight";
inline constexpr std::string_view kFormWidth = "FormWidth";
inline constexpr std::string_view kCompressor = "Compressor";
inline constexpr std::string_view kFrameTime = "FrameTime";
inline constexpr std::string_view kInterval = "Interval";

/// One on/off option: its key in AutoStartUpOptions, its check box and the
/// box's design state (which is also the first-run value). The box's
/// caption is the caption set's.
struct CheckOption {
    machine::Option id;
    std::string_view key;
    std::string_view control;
    bool designChecked;
};

/// In the order they are read and written.
inline constexpr std::array<CheckOption, 11> kCheckOptions{{
    {machine::Option::FullScreen, kFullScreen, "fullScreenBox", true},
    {machine::Option::Gray, kGray, "grayTvBox", false},
    {machine::Option::Blur, kBlur, "blurBox", false},
    {machine::Option::Border, kBorder, "borderColourBox", true},
    {machine::Option::Language, kLanguage, "russianBox", false},
    {machine::Option::Screen256x256, k256x256, "screen256Box", false},
    {machine::Option::RunBasic, kRunBasic, "runBasicBox", false},
    {machine::Option::RunSound, kRunSound, "soundBox", true},
    {machine::Option::QuickRun, kQuickRun, "quickRunBox", false},
    {machine::Option::Patch058C, kH058C, "patch058CBox", false},
    {machine::Option::OneInstance, kOneInstance, "oneCopyBox", false},
}};
static_assert(kCheckOptions.size() == machine::kCheckOptionCount);

/// The config key of every option, the check boxes' from their table.
constexpr std::string_view optionKey(machine::Option which)
{
    const std::size_t i = machine::indexOf(which);
    if (i < kCheckOptions.size())
        return kCheckOptions[i].key;
    switch (which) {
    case machine::Option::RenderingMode: return kRenderingMode;
    case machine::Option::ScreenShotFormat: return kScreenShotFormat;
    case machine::Option::Compressor: return kCompressor;
    case machine::Option::FrameTime: return kFrameTime;
    case machine::Option::Interval: return kInterval;
    default: return {};
    }
}

namespace detail {
constexpr bool checkOptionsInEnumOrder()
{
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i)
        if (machine::indexOf(kCheckOptions[i].id) != i)
            return false;
    return true;
}
} // namespace detail
static_assert(detail::checkOptionsInEnumOrder(), "kCheckOptions follows the order of machine::Option");

/// First-run values of the numeric and text options.
inline constexpr int kDefaultRenderingMode = 0;
inline constexpr int kDefaultScreenShotFormat = 1;
/// One frame per tick of the recording timer: a recording plays back in real time.
inline constexpr int kDefaultFrameTime = 50;
inline constexpr int kDefaultInterval = 1;
inline constexpr int kMinInterval = 1;
inline constexpr int kMaxInterval = 100;
/// "GDI", "OpenGL", "DirectX3D".
inline constexpr int kRenderingModeCount = 3;
/// "bmp", "jpg", "png".
inline constexpr int kScreenShotFormatCount = 3;
/// The recording quality the settings window starts with: "High".
inline constexpr int kDefaultRecordingQuality = 2;

/// One joystick direction or button: its key in JoyOptions, the virtual key it
/// types unless set otherwise, the button that shows it, and the heading and
/// tag the key-capture dialog gets from that button.
struct JoyKeyOption {
    std::string_view key;
    std::uint16_t defaultCode;
    std::string_view button;
    std::string_view heading;
    int tag;
};

/// Up, down, left, right, then the buttons 1 to 4: the order of every read and write.
inline constexpr std::array<JoyKeyOption, 8> kJoyKeys{{
    {"KEY_JOY_UP", 38, "joyUpButton", "UP", 1},
    {"KEY_JOY_DOWN", 40, "joyDownButton", "DOWN", 2},
    {"KEY_JOY_LEFT", 37, "joyLeftButton", "LEFT", 3},
    {"KEY_JOY_RIGHT", 39, "joyRightButton", "RIGHT", 4},
    {"KEY_JOY_1", 70, "joyKey1Button", "1", 5},
    {"KEY_JOY_2", 32, "joyKey2Button", "2", 6},
    {"KEY_JOY_3", 13, "joyKey3Button", "3", 7},
    {"KEY_JOY_4", 71, "joyKey4Button", "4", 8},
}};

/// The section option @p which is stored in.
std::string_view optionSection(machine::Option which);

/// The text a first start writes for option @p which. A settings file that
/// lacks the option's key (written by hand, or by an older copy) reads as
/// this, so a missing key never switches an option off.
std::string firstRunValue(machine::Option which);

/// A stored number: an optional sign and decimal digits (blanks around them
/// allowed) within 32 bits. Anything else is not a number.
std::optional<std::int32_t> parseDecimal(std::string_view text);

/// The number stored in @p text, or @p fallback when it is not one.
std::int32_t decimalOr(std::string_view text, std::int32_t fallback);

/// The display name of a virtual key (UTF-8): the named keys, else the
/// Windows-1251 character of the code's low byte.
std::string keyNameOf(std::uint16_t key);

/// A stored joystick key: the number truncated to 16 bits, the default when
/// that gives 0 or the text is not a number.
std::uint16_t joyKeyFromText(std::string_view text, std::uint16_t defaultCode);

} // namespace ostrovik::settings
