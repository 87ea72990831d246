#include <gtest/gtest.h>

#include <bit>

#include "machine/Machine.hpp"
#include "machine/OpcodeTable.hpp"
#include "machine/TestMachine.hpp"

namespace {

using ostrovik::machine::kOpcodeTable;
using ostrovik::machine::test::TestMachine;

constexpr int S = 0x80, Z = 0x40, AC = 0x10, P = 0x04, ONE = 0x02, CY = 0x01;

} // namespace

TEST(Cpu, FlagTableCornerEntries)
{
    TestMachine t;
    EXPECT_EQ(t.m.flagTable[0], 0x46);
    EXPECT_EQ(t.m.flagTable[0x80], 0x82);
    EXPECT_EQ(t.m.flagTable[0xFF], 0x86);
}

// ---- budgets -------------------------------------------------------------------

TEST(CpuRun, BudgetOfZeroOrLessRunsNothing)
{
    for (int budget : {0, -1, -56448}) {
        TestMachine t;
        t.poke(0x0100, {0x3C}); // INR A
        t.m.regPC = 0x0100;
        t.m.clock = 99;
        t.m.runOpcodes(budget);
        EXPECT_EQ(t.m.clock, 0);
        EXPECT_EQ(t.m.regPC, 0x0100);
        EXPECT_EQ(t.m.regA, 0);
    }
}

TEST(CpuRun, BudgetOfOneRunsExactlyOneInstruction)
{
    TestMachine t;
    t.poke(0x0100, {0xE3, 0x3C}); // XTHL; INR A
    t.m.regPC = 0x0100;
    t.m.regSP = 0x8000;
    t.m.runOpcodes(1);
    EXPECT_EQ(t.m.clock, 18);
    EXPECT_EQ(t.m.regPC, 0x0101);
    EXPECT_EQ(t.m.regA, 0);
}

TEST(CpuRun, EndsAtTheFirstInstructionBoundaryAtOrPastTheBudget)
{
    TestMachine t;
    // NOPs: 4 each. A budget of 10 takes three (12), a budget of 12 also three.
    t.m.regPC = 0x0100;
    t.m.runOpcodes(10);
    EXPECT_EQ(t.m.clock, 12);
    EXPECT_EQ(t.m.regPC, 0x0103);
    t.m.runOpcodes(12);
    EXPECT_EQ(t.m.clock, 12);
    EXPECT_EQ(t.m.regPC, 0x0106);
}

// ---- flags ----------------------------------------------------------------------

TEST(CpuFlags, SubtractingOrComparingAWithItself)
{
    TestMachine t;
    t.m.regA = 0x5C;
    t.step(0x0100, {0x97}); // SUB A
    EXPECT_EQ(t.m.regA, 0);
    EXPECT_EQ(t.m.regF, 0x46);

    t.m.regA = 0x5C;
    t.m.regF = 0;
    t.step(0x0100, {0xBF}); // CMP A
    EXPECT_EQ(t.m.regA, 0x5C);
    EXPECT_EQ(t.m.regF, 0x46);

    t.m.regA = 0x5C;
    t.m.regF = AC | CY;
    t.step(0x0100, {0xAF}); // XRA A
    EXPECT_EQ(t.m.regA, 0);
    EXPECT_EQ(t.m.regF, 0x46 | AC);
}

TEST(CpuFlags, AuxiliaryCarryOfAddAndSubtract)
{
    TestMachine t;
    t.m.regA = 0x0F;
    t.m.regB = 0x01;
    t.step(0x0100, {0x80}); // ADD B
    EXPECT_EQ(t.m.regA, 0x10);
    EXPECT_EQ(t.m.regF, 0x12);

    t.m.regA = 0x10;
    t.step(0x0100, {0x90}); // SUB B
    EXPECT_EQ(t.m.regA, 0x0F);
    EXPECT_EQ(t.m.regF, 0x16);

    // A borrow-free subtraction leaves AC clear (the datasheet would set it).
    t.m.regA = 0x35;
    t.m.regB = 0x12;
    t.step(0x0100, {0x90});
    EXPECT_EQ(t.m.regA, 0x23);
    EXPECT_EQ(t.m.regF, ONE);
}

TEST(CpuFlags, IncrementAndDecrementKeepCarry)
{
    TestMachine t;
    t.m.regB = 0xFF;
    t.m.regF = CY;
    t.step(0x0100, {0x04}); // INR B
    EXPECT_EQ(t.m.regB, 0);
    EXPECT_EQ(t.m.regF, Z | AC | P | ONE | CY);

    t.m.regF = 0;
    t.m.regB = 0xFF;
    t.step(0x0100, {0x04});
    EXPECT_EQ(t.m.regF, Z | AC | P | ONE);

    t.m.regC = 0x10;
    t.step(0x0100, {0x0D}); // DCR C
    EXPECT_EQ(t.m.regC, 0x0F);
    EXPECT_EQ(t.m.regF, AC | P | ONE);

    // INR M and DCR M work on memory at HL.
    t.m.regH = 0x90;
    t.m.regL = 0x00;
    t.m.ram[0x9000] = 0x0F;
    t.step(0x0100, {0x34}); // INR M
    EXPECT_EQ(t.m.ram[0x9000], 0x10);
    EXPECT_EQ(t.m.regF, AC | ONE);
    EXPECT_EQ(t.m.clock, 10);
    t.step(0x0100, {0x35}); // DCR M
    EXPECT_EQ(t.m.ram[0x9000], 0x0F);
    EXPECT_EQ(t.m.regF, AC | P | ONE);
}

TEST(CpuFlags, DecimalAdjust)
{
    TestMachine t;
    t.m.regA = 0x9A;
    t.m.regF = 0;
    t.step(0x0100, {0x27});
    EXPECT_EQ(t.m.regA, 0x00);
    EXPECT_EQ(t.m.regF, 0x57);

    t.m.regA = 0x10;
    t.m.regF = CY;
    t.step(0x0100, {0x27});
    EXPECT_EQ(t.m.regA, 0x70);
    EXPECT_EQ(t.m.regF & CY, CY);

    // AC alone asks for the low correction.
    t.m.regA = 0x12;
    t.m.regF = AC;
    t.step(0x0100, {0x27});
    EXPECT_EQ(t.m.regA, 0x18);
    EXPECT_EQ(t.m.regF, P | ONE);
}

TEST(CpuFlags, LogicalOperationsKeepAuxiliaryCarryAndClearCarry)
{
    for (int before : {0, AC | CY, CY, AC}) {
        for (int op : {0xA0, 0xB0, 0xA8, 0xE6, 0xF6, 0xEE}) {
            TestMachine t;
            t.m.regA = 0xF0;
            t.m.regB = 0x3C;
            t.m.regF = before;
            t.step(0x0100, {op, 0x3C});
            SCOPED_TRACE(op);
            EXPECT_EQ(t.m.regF & AC, before & AC);
            EXPECT_EQ(t.m.regF & CY, 0);
        }
    }
}

TEST(CpuFlags, PopPswKeepsAllEightBits)
{
    TestMachine t;
    t.m.regSP = 0x8000;
    t.poke(0x8000, {0xFF, 0x12});
    t.step(0x0100, {0xF1}); // POP PSW
    EXPECT_EQ(t.m.regF, 0xFF);
    EXPECT_EQ(t.m.regA, 0x12);
    t.step(0x0100, {0xF5}); // PUSH PSW
    EXPECT_EQ(t.m.ram[0x8000], 0xFF);
    EXPECT_EQ(t.m.ram[0x8001], 0x12);
    EXPECT_EQ(t.m.regSP, 0x8000);
}

TEST(CpuFlags, RotatesCarryAndComplements)
{
    TestMachine t;
    t.m.regA = 0x81;
    t.m.regF = Z;
    t.step(0x0100, {0x07}); // RLC
    EXPECT_EQ(t.m.regA, 0x03);
    EXPECT_EQ(t.m.regF, Z | CY);
    t.step(0x0100, {0x0F}); // RRC
    EXPECT_EQ(t.m.regA, 0x81);
    EXPECT_EQ(t.m.regF, Z | CY);
    t.step(0x0100, {0x17}); // RAL: carry in, bit 7 out
    EXPECT_EQ(t.m.regA, 0x03);
    EXPECT_EQ(t.m.regF, Z | CY);
    t.step(0x0100, {0x1F}); // RAR
    EXPECT_EQ(t.m.regA, 0x81);
    EXPECT_EQ(t.m.regF, Z | CY);
    t.m.regF = 0;
    t.step(0x0100, {0x1F});
    EXPECT_EQ(t.m.regA, 0x40);
    EXPECT_EQ(t.m.regF, CY);

    t.step(0x0100, {0x3F}); // CMC
    EXPECT_EQ(t.m.regF, 0);
    t.step(0x0100, {0x37}); // STC
    EXPECT_EQ(t.m.regF, CY);
    t.step(0x0100, {0x2F}); // CMA
    EXPECT_EQ(t.m.regA, 0xBF);
    EXPECT_EQ(t.m.regF, CY);
}

TEST(CpuFlags, AddSubtractAndCompareAgreeWithDigitArithmeticForEveryOperand)
{
    // The reference works digit by digit, as the rules are meant: AC is the
    // carry out of (or borrow into) the low digit.
    auto reference = [](int a, int v, int c, bool subtract, int& result) {
        int flags = ONE;
        if (subtract) {
            result = (a - v - c) & 0xFF;
            if ((a & 0xF) < (v & 0xF) + c)
                flags |= AC;
            if (a < v + c)
                flags |= CY;
        } else {
            result = (a + v + c) & 0xFF;
            if ((a & 0xF) + (v & 0xF) + c > 0xF)
                flags |= AC;
            if (a + v + c > 0xFF)
                flags |= CY;
        }
        if (result & 0x80)
            flags |= S;
        if (result == 0)
            flags |= Z;
        if (std::popcount(static_cast<unsigned>(result)) % 2 == 0)
            flags |= P;
        return flags;
    };
    TestMachine t;
    t.poke(0x0100, {0x80, 0x88, 0x90, 0x98, 0xB8}); // ADD B, ADC B, SUB B, SBB B, CMP B
    int failures = 0;
    for (int a = 0; a < 256 && failures < 10; ++a)
        for (int v = 0; v < 256; ++v)
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < 5; ++i) {
                    const bool withCarry = i == 1 || i == 3;
                    const bool subtract = i >= 2;
                    t.m.regA = a;
                    t.m.regB = v;
                    t.m.regF = c ? CY : 0;
                    t.m.regPC = 0x0100 + i;
                    t.m.runOpcodes(1);
                    int result = 0;
                    const int flags = reference(a, v, withCarry ? c : 0, subtract, result);
                    const int expectA = i == 4 ? a : result;
                    if (t.m.regA != expectA || t.m.regF != flags) {
                        ADD_FAILURE() << "op " << i << " A=" << a << " v=" << v << " c=" << c << ": got A="
                                      << t.m.regA << " F=" << t.m.regF << ", want A=" << expectA << " F=" << flags;
                        ++failures;
                    }
                }
}

// ---- control, timing and wrapping ------------------------------------------------------

TEST(CpuControl, HaltEnableAndDisableOnlyTakeTheirTime)
{
    TestMachine t;
    t.m.regA = 0x12;
    t.m.regF = 0x57;
    t.step(0x0100, {0x76}); // HLT
    EXPECT_EQ(t.m.clock, 4);
    EXPECT_EQ(t.m.regPC, 0x0101);
    t.step(0x0100, {0xFB}); // EI
    EXPECT_EQ(t.m.clock, 4);
    EXPECT_EQ(t.m.regPC, 0x0101);
    t.step(0x0100, {0xF3}); // DI
    EXPECT_EQ(t.m.clock, 4);
    EXPECT_EQ(t.m.regPC, 0x0101);
    EXPECT_EQ(t.m.regA, 0x12);
    EXPECT_EQ(t.m.regF, 0x57);

    // Execution runs on past HLT.
    t.poke(0x0200, {0x76, 0x3C});
    t.m.regPC = 0x0200;
    t.m.runOpcodes(9);
    EXPECT_EQ(t.m.regA, 0x13);
}

TEST(CpuControl, ProgramCounterAndStackWrapAtSixteenBits)
{
    TestMachine t;
    t.step(0xFFFF, {0x00});
    EXPECT_EQ(t.m.regPC, 0x0000);

    t.m.regSP = 0x8000;
    t.step(0xFFFE, {0xCD, 0x34, 0x12});
    EXPECT_EQ(t.m.regPC, 0x1234);
    EXPECT_EQ(t.m.ram[0x7FFE], 0x01);
    EXPECT_EQ(t.m.ram[0x7FFF], 0x00);

    // PUSH from SP 0 writes at 0xFFFE (ROM, dropped) and wraps SP; POP wraps back.
    t.m.regSP = 0x0000;
    t.step(0x0100, {0xC5});
    EXPECT_EQ(t.m.regSP, 0xFFFE);
    t.m.regSP = 0xFFFF;
    t.m.ram[0xFFFF] = 0x34;
    t.m.ram[0x0000] = 0x12;
    t.step(0x0100, {0xD1}); // POP D
    EXPECT_EQ(t.m.regSP, 0x0001);
    EXPECT_EQ(t.m.regE, 0x34);
    EXPECT_EQ(t.m.regD, 0x12);

    // INX and DCX carry between the bytes of a pair and wrap.
    t.m.regH = 0xFF;
    t.m.regL = 0xFF;
    t.step(0x0100, {0x23});
    EXPECT_EQ(t.m.regH, 0);
    EXPECT_EQ(t.m.regL, 0);
    t.step(0x0100, {0x2B});
    EXPECT_EQ(t.m.regH, 0xFF);
    EXPECT_EQ(t.m.regL, 0xFF);
    t.m.regSP = 0xFFFF;
    t.step(0x0100, {0x33});
    EXPECT_EQ(t.m.regSP, 0);
    t.step(0x0100, {0x3B});
    EXPECT_EQ(t.m.regSP, 0xFFFF);

    // LHLD at 0xFFFF takes H from 0x0000.
    t.step(0x0100, {0x2A, 0xFF, 0xFF});
    EXPECT_EQ(t.m.regL, 0x34);
    EXPECT_EQ(t.m.regH, 0x12);
}

TEST(CpuControl, DoubleAddSetsOnlyCarry)
{
    TestMachine t;
    t.m.regH = 0x80;
    t.m.regL = 0x01;
    t.m.regD = 0x80;
    t.m.regE = 0xFF;
    t.m.regF = Z | S;
    t.step(0x0100, {0x19}); // DAD D
    EXPECT_EQ(t.m.regH, 0x01);
    EXPECT_EQ(t.m.regL, 0x00);
    EXPECT_EQ(t.m.regF, Z | S | CY);
    t.step(0x0100, {0x29}); // DAD H: no carry clears CY
    EXPECT_EQ(t.m.regH, 0x02);
    EXPECT_EQ(t.m.regF, Z | S);
}

TEST(CpuControl, ExchangesAndPairLoads)
{
    TestMachine t;
    t.m.regSP = 0x8000;
    t.poke(0x8000, {0x11, 0x22});
    t.m.regH = 0x33;
    t.m.regL = 0x44;
    t.step(0x0100, {0xE3}); // XTHL
    EXPECT_EQ(t.m.regL, 0x11);
    EXPECT_EQ(t.m.regH, 0x22);
    EXPECT_EQ(t.m.ram[0x8000], 0x44);
    EXPECT_EQ(t.m.ram[0x8001], 0x33);

    t.m.regD = 0x01;
    t.m.regE = 0x02;
    t.step(0x0100, {0xEB}); // XCHG
    EXPECT_EQ(t.m.regD, 0x22);
    EXPECT_EQ(t.m.regE, 0x11);
    EXPECT_EQ(t.m.regH, 0x01);
    EXPECT_EQ(t.m.regL, 0x02);

    t.step(0x0100, {0xF9}); // SPHL
    EXPECT_EQ(t.m.regSP, 0x0102);
    t.step(0x0100, {0xE9}); // PCHL
    EXPECT_EQ(t.m.regPC, 0x0102);
    EXPECT_EQ(t.m.clock, 5);

    t.step(0x0100, {0x22, 0x00, 0x90}); // SHLD 9000h
    EXPECT_EQ(t.m.ram[0x9000], 0x02);
    EXPECT_EQ(t.m.ram[0x9001], 0x01);
    t.m.regA = 0x77;
    t.step(0x0100, {0x32, 0x02, 0x90}); // STA 9002h
    EXPECT_EQ(t.m.ram[0x9002], 0x77);
    t.m.regB = 0x90;
    t.m.regC = 0x01;
    t.step(0x0100, {0x0A}); // LDAX B
    EXPECT_EQ(t.m.regA, 0x01);
}

TEST(CpuControl, ConditionalCostsTakenAndNotTaken)
{
    struct Case {
        int op;
        int flags;
        int clock;
        int pc;
    };
    const Case cases[] = {
        {0xC9, 0, 11, 0x3000},      // RET
        {0xC0, 0, 11, 0x3000},      // RNZ taken
        {0xC0, Z, 5, 0x0101},       // RNZ not taken
        {0xC4, 0, 17, 0x2000},      // CNZ taken
        {0xC4, Z, 11, 0x0103},      // CNZ not taken
        {0xC2, 0, 10, 0x2000},      // JNZ taken
        {0xC2, Z, 10, 0x0103},      // JNZ not taken
        {0xFA, S, 10, 0x2000},      // JM taken
        {0xEC, P, 17, 0x2000},      // CPE taken
        {0xD8, 0, 5, 0x0101},       // RC not taken
    };
    for (const Case& c : cases) {
        TestMachine t;
        t.m.regSP = 0x8000;
        t.poke(0x8000, {0x00, 0x30});
        t.m.regF = c.flags;
        t.step(0x0100, {c.op, 0x00, 0x20});
        SCOPED_TRACE(c.op);
        EXPECT_EQ(t.m.clock, c.clock);
        EXPECT_EQ(t.m.regPC, c.pc);
    }
}

TEST(CpuControl, UndocumentedOpcodesRunAsTheirTwins)
{
    TestMachine t;
    t.m.regSP = 0x8000;
    t.step(0x0100, {0xDD, 0x34, 0x12}); // as CALL
    EXPECT_EQ(t.m.regPC, 0x1234);
    EXPECT_EQ(t.m.regSP, 0x7FFE);
    EXPECT_EQ(t.m.ram[0x7FFE], 0x03);
    EXPECT_EQ(t.m.ram[0x7FFF], 0x01);
    EXPECT_EQ(t.m.clock, 17);
    t.step(0x1234, {0xD9}); // as RET
    EXPECT_EQ(t.m.regPC, 0x0103);
    EXPECT_EQ(t.m.regSP, 0x8000);
    EXPECT_EQ(t.m.clock, 11);
    t.step(0x0100, {0xCB, 0x78, 0x56}); // as JMP
    EXPECT_EQ(t.m.regPC, 0x5678);
    EXPECT_EQ(t.m.clock, 10);
    t.step(0x0100, {0x08}); // as NOP
    EXPECT_EQ(t.m.regPC, 0x0101);
    EXPECT_EQ(t.m.clock, 4);
    EXPECT_TRUE(t.host.messages.empty());
}

TEST(CpuControl, EveryOpcodeTakesItsTableLengthAndTime)
{
    // Each opcode once with every condition false, once with every condition
    // true. Operand bytes point at 2000h; a return finds 3000h on the stack.
    for (int op = 0; op < 256; ++op) {
        for (int flags : {0x00, 0xFF}) {
            TestMachine t;
            t.m.regSP = 0x8000;
            t.poke(0x8000, {0x00, 0x30});
            t.m.regH = 0x90;
            t.m.regL = 0x00;
            t.m.regF = flags;
            t.step(0x0100, {op, 0x00, 0x20});
            SCOPED_TRACE(op);
            SCOPED_TRACE(flags);

            const auto& info = kOpcodeTable[op];
            const int cc = (op >> 3) & 7;
            const bool condTrue = (flags != 0) == ((cc & 1) != 0);
            const bool isRet = op == 0xC9 || op == 0xD9, isRcc = (op & 0xC7) == 0xC0;
            const bool isJmp = op == 0xC3 || op == 0xCB, isJcc = (op & 0xC7) == 0xC2;
            const bool isCall = op == 0xCD || op == 0xDD || op == 0xED || op == 0xFD;
            const bool isCcc = (op & 0xC7) == 0xC4, isRst = (op & 0xC7) == 0xC7;

            int pc = 0x0100 + info.length, clock = info.tstates;
            if (isRet || (isRcc && condTrue))
                pc = 0x3000;
            else if (isJmp || isCall || ((isJcc || isCcc) && condTrue))
                pc = 0x2000;
            else if (isRst)
                pc = op & 0x38;
            else if (op == 0xE9) // PCHL
                pc = 0x9000;
            if ((isRcc || isCcc) && !condTrue)
                clock = info.tstatesNotTaken;
            EXPECT_EQ(t.m.regPC, pc);
            EXPECT_EQ(t.m.clock, clock);
        }
    }
}

TEST(CpuControl, InvalidOpcodeMessageAdvancesProgramCounter)
{
    TestMachine t;
    t.m.regPC = 0xFFFF;
    t.m.reportInvalidOpcode(237);
    ASSERT_EQ(t.host.messages.size(), 1u);
    EXPECT_EQ(t.host.messages[0], "Нет такого кода у данного процессора 237 в 65535");
    EXPECT_EQ(t.m.regPC, 0);
}

TEST(CpuControl, OutputSeesTheClockAtTheStartOfTheInstruction)
{
    struct Sink : ostrovik::machine::SoundSink {
        ostrovik::machine::Machine* m = nullptr;
        std::vector<int> clocks, values;
        void putSound(int value) override
        {
            clocks.push_back(m->clock);
            values.push_back(value);
        }
    } sink;
    TestMachine t;
    sink.m = &t.m;
    t.m.setSoundSink(&sink);
    t.poke(0x0100, {0x3E, 0xFE, 0x00, 0xD3, 0xC2, 0x3E, 0xFF, 0xD3, 0xC2}); // MVI A; NOP; OUT C2h; MVI; OUT
    t.m.regPC = 0x0100;
    t.m.runOpcodes(38);
    EXPECT_EQ(sink.clocks, (std::vector<int>{11, 28}));
    EXPECT_EQ(sink.values, (std::vector<int>{0xFE, 0xFF}));
    EXPECT_EQ(t.m.clock, 38);
}

// ---- known-answer programs ----------------------------------------------------------

TEST(CpuPrograms, SummingLoop)
{
    TestMachine t;
    t.poke(0x0100, {
                       0x3E, 0x00,       // MVI A,0
                       0x06, 0x0A,       // MVI B,10
                       0x80,             // loop: ADD B
                       0x05,             // DCR B
                       0xC2, 0x04, 0x01, // JNZ loop
                   });
    t.m.regPC = 0x0100;
    t.m.runOpcodes(204);
    EXPECT_EQ(t.m.clock, 7 + 7 + 10 * (4 + 5 + 10));
    EXPECT_EQ(t.m.regPC, 0x0109);
    EXPECT_EQ(t.m.regA, 55);
    EXPECT_EQ(t.m.regB, 0);
    EXPECT_EQ(t.m.regF, 0x46);
}

TEST(CpuPrograms, CallChain)
{
    TestMachine t;
    t.poke(0x0100, {0x31, 0x00, 0x80, 0xCD, 0x10, 0x01}); // LXI SP,8000h; CALL 0110h
    t.poke(0x0110, {0x06, 0x05, 0xCD, 0x20, 0x01, 0x04, 0xC9}); // MVI B,5; CALL 0120h; INR B; RET
    t.poke(0x0120, {0x0E, 0x07, 0x78, 0x81, 0xC9});             // MVI C,7; MOV A,B; ADD C; RET
    t.m.regPC = 0x0100;
    t.m.runOpcodes(94);
    EXPECT_EQ(t.m.clock, 10 + 17 + 7 + 17 + 7 + 5 + 4 + 11 + 5 + 11);
    EXPECT_EQ(t.m.regPC, 0x0106);
    EXPECT_EQ(t.m.regSP, 0x8000);
    EXPECT_EQ(t.m.regA, 12);
    EXPECT_EQ(t.m.regB, 6);
    EXPECT_EQ(t.m.regC, 7);
    EXPECT_EQ(t.m.regF, P | ONE);
    EXPECT_EQ(t.m.ram[0x7FFE], 0x06);
    EXPECT_EQ(t.m.ram[0x7FFF], 0x01);
    EXPECT_EQ(t.m.ram[0x7FFC], 0x15);
    EXPECT_EQ(t.m.ram[0x7FFD], 0x01);
}

TEST(CpuPrograms, DecimalAdditionSequence)
{
    // 1999 + 0001 and 38 + 45 in packed decimal.
    TestMachine t;
    t.poke(0x0100, {
                       0x3E, 0x38, 0xC6, 0x45, 0x27, 0x47, // MVI A,38h; ADI 45h; DAA; MOV B,A
                       0x3E, 0x99, 0xC6, 0x01, 0x27, 0x4F, // MVI A,99h; ADI 01h; DAA; MOV C,A
                       0x3E, 0x19, 0xCE, 0x00, 0x27,       // MVI A,19h; ACI 00h; DAA
                   });
    t.m.regPC = 0x0100;
    t.m.runOpcodes(64);
    EXPECT_EQ(t.m.clock, 64);
    EXPECT_EQ(t.m.regPC, 0x0111);
    EXPECT_EQ(t.m.regB, 0x83);
    EXPECT_EQ(t.m.regC, 0x00);
    EXPECT_EQ(t.m.regA, 0x20);
    EXPECT_EQ(t.m.regF, AC | ONE);
}
