#include "settings/SettingsSchema.hpp"

#include "platform/Cp1251.hpp"
#include "platform/Integers.hpp"

namespace ostrovik::settings {

std::string_view optionSection(machine::Option which)
{
    switch (which) {
    case machine::Option::Compressor:
    case machine::Option::FrameTime: return kVideoOptions;
    case machine::Option::Interval: return kCPUOptions;
    default: return kAutoStartUpOptions;
    }
}

std::string firstRunValue(machine::Option which)
{
    const std::size_t i = machine::indexOf(which);
    if (i < kCheckOptions.size())
        return kCheckOptions[i].designChecked ? "1" : "0";
    switch (which) {
    case machine::Option::RenderingMode: return std::to_string(kDefaultRenderingMode);
    case machine::Option::ScreenShotFormat: return std::to_string(kDefaultScreenShotFormat);
    case machine::Option::FrameTime: return std::to_string(kDefaultFrameTime);
    case machine::Option::Interval: return std::to_string(kDefaultInterval);
    default: return {};
    }
}

std::optional<std::int32_t> parseDecimal(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return platform::parseInteger(text);
}

std::int32_t decimalOr(std::string_view text, std::int32_t fallback)
{
    return parseDecimal(text).value_or(fallback);
}

std::string keyNameOf(std::uint16_t key)
{
    switch (key) {
    case 9: return "TAB";
    case 13: return "ENTER";
    case 16: return "SHIFT";
    case 17: return "CTRL";
    case 18: return "ALT";
    case 32: return "SPACE";
    case 37: return "LEFT";
    case 38: return "UP";
    case 39: return "RIGHT";
    case 40: return "DOWN";
    default: break;
    }
    const char byte = static_cast<char>(key & 0xFF);
    return platform::cp1251ToUtf8(std::string_view(&byte, 1));
}

std::uint16_t joyKeyFromText(std::string_view text, std::uint16_t defaultCode)
{
    const auto value = parseDecimal(text);
    const auto word = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value.value_or(0)) & 0xFFFF);
    return word == 0 ? defaultCode : word;
}

} // namespace ostrovik::settings
