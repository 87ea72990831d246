#pragma once

#include <cstdint>

namespace ostrovik::machine {

/// A DU-01 key as four nibbles, high to low: main-matrix row, main-matrix bit,
/// extra-matrix row, extra-matrix bit. A nibble out of range means "no key in
/// that matrix".
using KeyMask = std::uint16_t;

inline constexpr KeyMask KEYMASK_NONE = 0xFFFF;
/// The key that switches the machine to Cyrillic input.
inline constexpr KeyMask KEYMASK_RUS = 0x61FF;
/// The key that switches the machine to Latin input.
inline constexpr KeyMask KEYMASK_LAT = 0x35FF;

} // namespace ostrovik::machine
