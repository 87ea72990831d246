#include <gtest/gtest.h>

#include "machine/Machine.hpp"

TEST(Cpu, FlagTableCornerEntries)
{
    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine m(host);
    EXPECT_EQ(m.flag_table[0], 0x46);
    EXPECT_EQ(m.flag_table[0x80], 0x82);
    EXPECT_EQ(m.flag_table[0xFF], 0x86);
}
