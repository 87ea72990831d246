#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace ostrovik::files {

/// Writes @p bytes as a new file named @p wanted. Files are stamped to the
/// second, so a second one within the same second would replace the first:
/// instead it gets "_2" (then "_3" …) before its extension. Returns the path
/// written. Throws std::runtime_error naming @p what, the path and the
/// system's reason when the file cannot be created or written (its folder
/// missing, say), and leaves no partial file behind.
std::string writeNewFile(const std::filesystem::path& wanted, std::span<const std::uint8_t> bytes,
                         std::string_view what);

} // namespace ostrovik::files
