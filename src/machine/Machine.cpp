#include "machine/Machine.hpp"

#include <algorithm>

namespace ostrovik::machine {

Machine::Machine(Host& host) : host_(host)
{
    i8080_init();
}

int Machine::get_var(std::uint32_t addr) const
{
    addr &= 0xFFFF;
    return RAM[addr] | (RAM[(addr + 1) & 0xFFFF] << 8);
}

void Machine::set_var(std::uint32_t addr, int value)
{
    addr &= 0xFFFF;
    RAM[addr] = static_cast<std::uint8_t>(value & 0xFF);
    RAM[(addr + 1) & 0xFFFF] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::uint8_t Machine::do_input(int port) const
{
    switch (latch(port)) {
    case 0xC2:
        return Ports[0xC2];
    case 0xD1: {
        int rows = 0;
        const int select = Ports[0xD0];
        for (int i = 0; i < 8; ++i)
            if (!(select & (1 << i)))
                rows |= KeyMatrix[i];
        return static_cast<std::uint8_t>(~rows);
    }
    case 0xD2: {
        int rows = 0;
        const int select = Ports[0xD2];
        for (int i = 0; i < 4; ++i)
            if (!(select & (1 << i)))
                rows |= KeyMatrixExt[i];
        return static_cast<std::uint8_t>(~((rows << 4) | (~select & 0x0F)));
    }
    default:
        return 0xFF;
    }
}

void Machine::do_output(int port, int value)
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
        const int c2 = (value & 1) ? (Ports[0xC2] | bit) : (Ports[0xC2] & ~bit);
        value = c2 & 0xFF;
        do_output(0xC2, value);
    }
    Ports[l] = static_cast<std::uint8_t>(value);
}

void Machine::init_memory()
{
    RAM.fill(0);
    VRAM.fill(0);
    Ports.fill(0);
    KeyMatrix.fill(0);
    KeyMatrixExt.fill(0);
    i8080_init();
}

} // namespace ostrovik::machine
