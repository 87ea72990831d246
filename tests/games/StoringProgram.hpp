#pragma once

#include <string>

/// A machine-code tape image for a game folder: stores 0x5A at 0x5000, then
/// loops at 0x4005.
inline std::string storingProgram()
{
    std::string f("RIZI/2.0/\xD0GAME01", 16);
    const char code[] = {'\x3E', '\x5A', '\x32', '\x00', '\x50', '\xC3', '\x05', '\x40'};
    for (int w : {0x4000, 0x4000 + int(sizeof code) - 1, 0x4000}) {
        f += char(w & 0xFF);
        f += char(w >> 8);
    }
    f.append(code, sizeof code);
    return f;
}
