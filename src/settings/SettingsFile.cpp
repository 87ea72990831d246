#include "settings/SettingsFile.hpp"

#include "platform/Cp1251.hpp"
#include "platform/IniFile.hpp"
#include "settings/SettingsSchema.hpp"

namespace ostrovik::settings {

std::string readIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue)
{
    return platform::cp1251ToUtf8(platform::readIni(file, platform::utf8ToCp1251(section),
                                                    platform::utf8ToCp1251(key),
                                                    platform::utf8ToCp1251(defaultValue)));
}

std::string readOption(const std::filesystem::path& file, machine::Option which)
{
    return readIni(file, optionSection(which), optionKey(which), firstRunValue(which));
}

platform::IniStatus writeIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                             std::string_view value)
{
    return platform::writeIni(file, platform::utf8ToCp1251(section), platform::utf8ToCp1251(key),
                              platform::utf8ToCp1251(value));
}

} // namespace ostrovik::settings
