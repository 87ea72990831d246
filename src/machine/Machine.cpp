#include "machine/Machine.hpp"

#include <algorithm>

namespace ostrovik::machine {

Machine::Machine(Host& host) : host_(host)
{
    initCpu();
}

int Machine::readMemoryWord(std::uint32_t addr) const
{
    addr &= 0xFFFF;
    return ram[addr] | (ram[(addr + 1) & 0xFFFF] << 8);
}

void Machine::writeMemoryWord(std::uint32_t addr, int value)
{
    addr &= 0xFFFF;
    ram[addr] = static_cast<std::uint8_t>(value & 0xFF);
    ram[(addr + 1) & 0xFFFF] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::uint8_t Machine::readPort(int port) const
{
    switch (latch(port)) {
    case 0xC2:
        return ports[0xC2];
    case 0xD1: {
        int rows = 0;
        const int select = ports[0xD0];
        for (int i = 0; i < 8; ++i)
            if (!(select & (1 << i)))
                rows |= keyMatrix[i];
        return static_cast<std::uint8_t>(~rows);
    }
    case 0xD2: {
        int rows = 0;
        const int select = ports[0xD2];
        for (int i = 0; i < 4; ++i)
            if (!(select & (1 << i)))
                rows |= extKeyMatrix[i];
        return static_cast<std::uint8_t>(~((rows << 4) | (~select & 0x0F)));
    }
    default:
        return 0xFF;
    }
}

void Machine::writePort(int port, int value)
{
    value &= 0xFF;
    const int l = latch(port);
    if (l == 0xC1)
        invalidateScreen();
    if (l == 0xC2 && soundSink_)
        soundSink_->putSound(value);
    if (l == 0xC3 && value < 0x80) {
        // Bit set/reset command for port C2.
        const int bit = 1 << ((value >> 1) & 7);
        const int c2 = (value & 1) ? (ports[0xC2] | bit) : (ports[0xC2] & ~bit);
        value = c2 & 0xFF;
        writePort(0xC2, value);
    }
    ports[l] = static_cast<std::uint8_t>(value);
}

void Machine::clearMemory()
{
    ram.fill(0);
    videoRam.fill(0);
    ports.fill(0);
    keyMatrix.fill(0);
    extKeyMatrix.fill(0);
    initCpu();
}

} // namespace ostrovik::machine
