#pragma once

#include "platform/IniDocument.hpp"

#include <filesystem>
#include <string>
#include <string_view>

namespace ostrovik::platform {

/// A settings file is a few kilobytes; anything past this is no settings
/// file, and reading it at every call would stall the program.
inline constexpr std::size_t kMaxIniFileBytes = 1024 * 1024;

/// One INI file on disk, opened and closed again by every call: nothing is
/// cached, so the order of the calls is the order of the file's changes and
/// a file deleted or edited in between is seen at once.
///
/// Section names, keys and values are Windows-1251 bytes (use Cp1251.hpp to
/// convert window text); a value that is a path holds the file system's bytes.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    /// The value of @p key in @p section; @p defaultValue when the file, the
    /// section or the key is missing, or the file cannot be read (it is no
    /// regular file, or it is larger than kMaxIniFileBytes).
    std::string readIni(std::string_view section, std::string_view key,
                        std::string_view defaultValue = "0") const;

    /// Sets one key, creating the file, the section and the key as needed.
    /// On failure the file is left exactly as it was and the status says why.
    IniStatus writeIni(std::string_view section, std::string_view key, std::string_view value) const;

    /// The whole file, for the operations that read or write several keys at
    /// one opening. A missing file gives an empty document; a file that
    /// exists but cannot be read is a failure.
    IniStatus load(IniDocument& document) const;

    /// Replaces the file with @p document: written beside it under a
    /// temporary name, flushed, then renamed over it, so that a failure
    /// (full disk, no permission) leaves the old file whole. A file that
    /// exists but may not be written (or has no write permission at all) is
    /// never replaced.
    IniStatus save(const IniDocument& document) const;

private:
    std::filesystem::path path_;
};

/// One-call forms of IniFile's reading and writing.
std::string readIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue = "0");
IniStatus writeIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value);

} // namespace ostrovik::platform
