#include "machine/Machine.hpp"

namespace ostrovik::machine {

void Machine::i8080_init()
{
    for (int v = 0; v < 256; ++v) {
        int e = flag_1;
        if (!(__builtin_popcount(v) & 1))
            e |= flag_P;
        if (v & 0x80)
            e |= flag_S;
        if (v == 0)
            e |= flag_Z;
        flag_table[v] = static_cast<std::uint16_t>(e);
    }
}

void Machine::i8080_reset(int pc)
{
    r_A = r_F = r_B = r_C = r_D = r_E = r_H = r_L = r_SP = clock = 0;
    r_PC = pc & 0xFFFF;
}

void Machine::i8080_do_opcodes(std::int32_t budget)
{
    clock = 0;
    (void)budget;
}

void Machine::invalid_opcode(int opcode)
{
    (void)opcode;
}

} // namespace ostrovik::machine
