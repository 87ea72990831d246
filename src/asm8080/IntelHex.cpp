#include "asm8080/IntelHex.hpp"

#include <cstdio>

namespace ostrovik::asm8080 {

std::string toIntelHex(std::span<const std::uint8_t> bytes, std::uint16_t origin)
{
    std::string out;
    char buf[16];
    for (std::size_t pos = 0; pos < bytes.size(); pos += 16) {
        std::size_t count = std::min<std::size_t>(16, bytes.size() - pos);
        auto address = static_cast<unsigned>((origin + pos) & 0xFFFF);
        unsigned sum = static_cast<unsigned>(count) + (address >> 8) + (address & 0xFF);
        std::snprintf(buf, sizeof buf, ":%02X%04X00", static_cast<unsigned>(count), address);
        out += buf;
        for (std::size_t i = 0; i < count; ++i) {
            std::snprintf(buf, sizeof buf, "%02X", bytes[pos + i]);
            out += buf;
            sum += bytes[pos + i];
        }
        std::snprintf(buf, sizeof buf, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        out += buf;
    }
    out += ":00000001FF\n";
    return out;
}

}  // namespace ostrovik::asm8080
