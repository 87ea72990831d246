#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/PictureConvert.hpp"

namespace ostrovik::tools {

/// Bytes of one screen: 64 a line, four pixels a byte.
inline constexpr std::size_t kScreenImageSize = 16384;
using ScreenImage = std::array<std::uint8_t, kScreenImageSize>;

/// The display stub: sets the palette, copies the picture from RAM
/// 0x4000-0x7FFF into video RAM, switching the memory map around each
/// write, then calls the ROM at 0xF803 and returns. Loaded at 0x8000.
extern const std::array<std::uint8_t, 29> kDisplayStub;
/// The palette value the stub sets unless told otherwise (200).
inline constexpr std::uint8_t kStubPalette = 0xC8;

inline constexpr std::size_t kPictureLvtSize = 22 + kScreenImageSize + kDisplayStub.size();
/// Where the stub's palette operand lies in the tape image.
inline constexpr std::size_t kPaletteOperandOffset = 22 + kScreenImageSize + 1;

/// The 8-bit work picture written and deleted by each save.
inline constexpr std::string_view kWorkFileName = "etalon.bmp";
/// Where the work picture's pixel bytes begin: after the two headers and
/// the 256 palette entries.
inline constexpr std::size_t kWorkPixelOffset = 14 + 40 + 256 * 4;

/// A 256 × 256 picture of 8-bit @p indices (rows top first) with
/// workPalette() as a BMP file: rows stored bottom row first.
std::vector<std::uint8_t> workBitmap(std::span<const std::uint8_t> indices);

/// The screen image from a work picture file: its pixel bytes from byte
/// 1078 in groups of four, each group one screen byte, the last screen byte
/// first, two bits of each index kept. Throws std::runtime_error when the
/// file is too short to hold a 256 × 256 picture.
ScreenImage screenImageFromWorkBitmap(std::span<const std::uint8_t> file);

/// The tape image that shows @p screen: header, screen bytes, display stub
/// with @p palette as its palette operand.
std::vector<std::uint8_t> pictureLvt(const ScreenImage& screen, std::uint8_t palette);

/// "BW_" or "Color_": the output files' prefixes.
inline constexpr std::string_view kBwPrefix = "BW_";
inline constexpr std::string_view kColourPrefix = "Color_";

/// <programDir>/PicToLVT/<prefix><name>.lvt
std::filesystem::path pictureLvtPath(const std::filesystem::path& programDir, std::string_view prefix,
                                     std::string_view name);

/// The rotate-and-save step: mirrors @p indices (256 × 256, rows top first)
/// left to right and writes them as the work picture in @p programDir.
void saveWorkBitmap(const std::filesystem::path& programDir, std::span<const std::uint8_t> indices);

/// The rest of a save: reads the work picture from @p programDir, writes the
/// tape image to pictureLvtPath(), replacing one that is there, then deletes
/// the work picture. Returns the tape image's path. Throws
/// std::runtime_error naming the file and the reason; the work picture then
/// stays where it is.
std::filesystem::path writePictureLvt(const std::filesystem::path& programDir, std::string_view prefix,
                                      std::string_view name, std::uint8_t palette);

inline constexpr std::size_t kMaxWholeFileBytes = 1u << 20;

/// @p bytes as the file @p path, replacing what was there. Throws
/// std::runtime_error naming the file and the system's reason; a write cut
/// short (a full disk) leaves no file under the name.
void writeWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
/// The whole of the file @p path, a regular file of at most
/// kMaxWholeFileBytes (the work picture, a tape image). Throws
/// std::runtime_error naming the file and the reason.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);

} // namespace ostrovik::tools
