#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ostrovik::files {

/// Magic of a tape image, compared case-sensitively.
inline constexpr std::string_view kLvtSignature = "RIZI/2.0/";
/// `fileType` of a machine-code program; any other value is a BASIC program.
inline constexpr std::uint8_t kLvtMachineCode = 0xD0;
/// Bytes before a machine-code image's data.
inline constexpr std::size_t kLvtHeaderSize = 22;
/// No file shorter than this is accepted, of either kind.
inline constexpr std::size_t kMinLoadSize = 23;

/// The header of a tape image (.lvt). A BASIC image uses only the first
/// 16 bytes; its program follows at offset 16 without address words.
struct LvtHeader {
    std::array<char, 9> signature{'R', 'I', 'Z', 'I', '/', '2', '.', '0', '/'};
    std::uint8_t fileType = kLvtMachineCode;
    /// The program's name as on tape; the loader does not read it.
    std::array<std::uint8_t, 6> tapeName{};
    std::uint16_t startAddr = 0;
    /// Last data byte's address, inclusive.
    std::uint16_t endAddr = 0;
    std::uint16_t runAddr = 0;
};

/// True when @p bytes begin with "RIZI/2.0/".
bool hasLvtSignature(std::span<const std::uint8_t> bytes);

/// Reads the header from the first 22 bytes; nothing when there are fewer.
/// The signature is taken as it stands, not checked.
std::optional<LvtHeader> parseLvtHeader(std::span<const std::uint8_t> bytes);

/// The 22 bytes of @p header, words low byte first.
std::array<std::uint8_t, kLvtHeaderSize> serialiseLvtHeader(const LvtHeader& header);

} // namespace ostrovik::files
