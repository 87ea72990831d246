#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrovik::tools {

/// The machine's memory, as the editor works on it: directly, not through
/// the memory map, so that every change reaches the running machine.
using MachineRam = std::array<std::uint8_t, 65536>;

/// A font file is memory 0xB100-0xB900 inclusive: the glyphs of codes 32 to
/// 287 and the byte after them. No header.
inline constexpr std::uint16_t kFontStart = 0xB100;
inline constexpr std::size_t kFontFileSize = 2049;

/// "FONTS_<stamp>.fnt", the name a saved font is offered under.
std::string fontFileName(std::string_view stamp);

/// Writes the font file @p path from @p ram. Throws std::runtime_error
/// naming the file and the reason, and then leaves no file behind; memory
/// is never touched.
void saveFont(const std::filesystem::path& path, const MachineRam& ram);

/// What a font load did.
struct FontLoad {
    /// Bytes that replaced memory from 0xB100 on.
    std::size_t bytesRead = 0;
    /// Why the load stopped early, when it did.
    std::optional<std::string> error;
};

/// Reads the font file @p path into @p ram from 0xB100 on, byte by byte: a
/// longer file gives its first 2,049 bytes; a shorter one stops with an
/// error when it runs out, the bytes before that already in memory. A file
/// that cannot be opened leaves memory as it was.
FontLoad loadFont(const std::filesystem::path& path, MachineRam& ram);

} // namespace ostrovik::tools
