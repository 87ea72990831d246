#include "settings/SettingsFile.hpp"

#include "platform/Cp1251.hpp"
#include "platform/IniFile.hpp"
#include "settings/SettingsSchema.hpp"

namespace ostrovik::settings {

std::string ReadIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue)
{
    return platform::Cp1251ToUtf8(platform::ReadIni(file, platform::Utf8ToCp1251(section),
                                                    platform::Utf8ToCp1251(key),
                                                    platform::Utf8ToCp1251(defaultValue)));
}

std::string ReadOption(const std::filesystem::path& file, machine::Option which)
{
    return ReadIni(file, optionSection(which), optionKey(which), firstRunValue(which));
}

platform::IniStatus WriteIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                             std::string_view value)
{
    return platform::WriteIni(file, platform::Utf8ToCp1251(section), platform::Utf8ToCp1251(key),
                              platform::Utf8ToCp1251(value));
}

} // namespace ostrovik::settings
