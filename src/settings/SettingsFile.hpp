#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "machine/Option.hpp"
#include "platform/IniDocument.hpp"

/// config.ini one key at a time: names and values are UTF-8 here and
/// Windows-1251 in the file. Every call opens and closes the file.
namespace ostrovik::settings {

/// One read; @p defaultValue when the file, the section or the key is missing.
std::string readIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue = "0");

/// The stored text of option @p which; its first-run value when the file
/// or the key is missing.
std::string readOption(const std::filesystem::path& file, machine::Option which);

/// One write, creating the file, the section and the key as needed.
platform::IniStatus writeIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                             std::string_view value);

} // namespace ostrovik::settings
