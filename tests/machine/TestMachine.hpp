#pragma once

#include <cstdint>
#include <initializer_list>

#include "machine/Machine.hpp"
#include "support/TestHost.hpp"

namespace ostrovik::machine::test {

/// A machine with empty memory in the all-RAM view (every latch 0xFF), as
/// after a cold reset with the ROM area still zero.
struct TestMachine {
    ostrovik::test::TestHost host;
    Machine m{host};

    TestMachine()
    {
        m.clearMemory();
        m.ports.fill(0xFF);
        m.initCpu();
    }
    /// Bytes straight into RAM (the ROM area included).
    void poke(std::uint32_t at, std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            m.ram[at++ & 0xFFFF] = static_cast<std::uint8_t>(b);
    }
    /// Places @p bytes at @p at, points PC there and runs one instruction.
    void step(std::uint32_t at, std::initializer_list<int> bytes)
    {
        poke(at, bytes);
        m.regPC = static_cast<std::int32_t>(at);
        m.runOpcodes(1);
    }
};

} // namespace ostrovik::machine::test
