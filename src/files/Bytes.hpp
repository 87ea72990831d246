#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ostrovik::files {

/// Little-endian words as the machine's files store them, whatever the host.
inline std::uint16_t readWord(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline void writeWord(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace ostrovik::files
