#pragma once

#include <cstdint>

namespace ostrovik::platform {

/// Windows locale identifier of Russian, default sublanguage.
inline constexpr std::uint32_t kLocaleRussian = 0x419;

/// The thread's locale. On the desktop the program was first written for,
/// this chose how the text functions treated Cyrillic letters. Here every
/// text the program keeps is Unicode in the windows and Windows-1251 only at
/// its own conversions (Cp1251.hpp), and numbers are always formatted and
/// read in the "C" way, so there is nothing for it to change.
inline void setThreadLocale(std::uint32_t locale)
{
    (void)locale;
}

} // namespace ostrovik::platform
