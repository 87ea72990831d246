#pragma once

#include <cstdint>

#include "machine/KeyMask.hpp"

namespace ostrovik::machine {

/// The DU-01 key a Windows virtual key types: through the Latin key table
/// (virtual keys 8 to 221) when @p rusLayout is 0, through the Cyrillic one
/// (8 to 222) otherwise. Keys out of range or without an entry give
/// KEYMASK_NONE. Never gives KEYMASK_RUS or KEYMASK_LAT: those are pressed
/// directly.
KeyMask keyMaskOf(std::uint16_t virtualKey, std::uint8_t rusLayout);

} // namespace ostrovik::machine
