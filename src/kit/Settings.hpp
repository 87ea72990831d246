#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QString>

#include "machine/Option.hpp"

class QWidget;

/// config.ini, the settings file beside the executable. Every call opens and
/// closes the file, so these work before any window exists and always see
/// the file as it is now. Section names, keys and text values are UTF-8 here
/// and Windows-1251 in the file.
namespace ostrovik::kit {

/// The folder of the executable followed by config.ini.
std::filesystem::path configFilePath();
/// Puts the settings file elsewhere (tests); an empty path restores the
/// file beside the executable.
void setConfigFilePath(const std::filesystem::path& path);

/// One read; @p defaultValue when the file, the section or the key is missing.
QString readIni(std::string_view section, std::string_view key, std::string_view defaultValue = "0");

/// The stored text of option @p which; its first-run value when the file
/// or the key is missing.
QString readOption(machine::Option which);

/// The read the program entry makes before the application has any window.
QString readIniAtStartup(std::string_view section, std::string_view key);

/// One write, creating the file, the section and the key as needed. A failure
/// is shown as "Unable to write to <file>" and the system's reason over
/// @p parent and gives false.
bool writeIni(std::string_view section, std::string_view key, const QString& value, QWidget* parent = nullptr);

/// Shows "Unable to write to <file>" over @p parent, with @p reason (why
/// the system refused) on the line below.
void reportUnableToWrite(QWidget* parent, const std::string& reason);

} // namespace ostrovik::kit
