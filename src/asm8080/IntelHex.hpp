#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ostrovik::asm8080 {

/// Intel HEX text of @p bytes placed at @p origin: data records of up to 16
/// bytes, then the end-of-file record. Addresses wrap at 64 KB.
std::string toIntelHex(std::span<const std::uint8_t> bytes, std::uint16_t origin);

}  // namespace ostrovik::asm8080
