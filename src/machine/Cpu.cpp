#include <limits>
#include <string>

#include "machine/Machine.hpp"
#include "machine/OpcodeTable.hpp"
#include "machine/RomTraps.hpp"

namespace ostrovik::machine {

namespace {

constexpr int kRet = 0xC9;

// Compile-time length and cost of an opcode, straight from the opcode table,
// so that the interpreter cannot disagree with the assembler and disassembler.
template <int Op>
inline constexpr unsigned kLen = kOpcodeTable[Op].length;
template <int Op>
inline constexpr int kT = kOpcodeTable[Op].tstates;
template <int Op>
inline constexpr int kTNotTaken = kOpcodeTable[Op].tstatesNotTaken;

/// Carry out of bit 3 into bit 4, for sums and differences alike: bit 4 of
/// result xor the two operands.
constexpr bool halfCarry(unsigned result, unsigned x, unsigned y) { return ((result ^ x ^ y) & 0x10) != 0; }

/// @p clock plus @p t, held at the top of its range.
constexpr std::int32_t addClock(std::int32_t clock, int t)
{
    const std::int64_t sum = std::int64_t{clock} + t;
    return sum > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(sum);
}

// The interpreter's helpers are lambdas over the run's local registers;
// inlining them keeps those registers out of memory.
#define INLINE __attribute__((always_inline))

} // namespace

void Machine::initCpu()
{
    for (int v = 0; v < 256; ++v) {
        int e = flag1;
        if (!(__builtin_popcount(v) & 1))
            e |= flagP;
        if (v & 0x80)
            e |= flagS;
        if (v == 0)
            e |= flagZ;
        flagTable[v] = static_cast<std::uint16_t>(e);
    }
}

void Machine::resetRegisters(int pc)
{
    regA = regF = regB = regC = regD = regE = regH = regL = regSP = clock = 0;
    regPC = pc & 0xFFFF;
}

void Machine::reportInvalidOpcode(int opcode)
{
    host().showMessage("Нет такого кода у данного процессора " + std::to_string(opcode) + " в " +
                       std::to_string(regPC));
    regPC = (regPC + 1) & 0xFFFF;
}

void Machine::runOpcodes(std::int32_t budget)
{
    clock = 0;
    if (clock >= budget)
        return;
    // Each pass starts at an instruction boundary with budget left.
    for (;;) {
        // The trap step acts between the fetch and the dispatch of an
        // instruction at a served ROM address. It may run the CPU itself; the
        // run goes on from the registers and clock it leaves.
        if (isRomTrapAddress(static_cast<unsigned>(regPC) & 0xFFFF) &&
            romTrapStep(*this, readByte(regPC)) == kRet) {
            // The routine returns to its caller at once: an ordinary RET.
            regPC = readByte(regSP) | (readByte(regSP + 1) << 8);
            regSP = (regSP + 2) & 0xFFFF;
            clock = addClock(clock, kT<kRet>);
            if (clock >= budget)
                return;
            continue;
        }
        if (!runUntilTrap(budget))
            return;
    }
}

bool Machine::runUntilTrap(std::int32_t budget)
{
    // The registers live in locals for the whole run: every store into RAM
    // could otherwise alias them and force a reload after each write. They go
    // back to the fields whenever code outside the interpreter may look at
    // them (port output, the end of this stretch of the run).
    unsigned a = regA & 0xFF, f = regF & 0xFF, b = regB & 0xFF, c = regC & 0xFF, d = regD & 0xFF,
             e = regE & 0xFF, h = regH & 0xFF, l = regL & 0xFF;
    unsigned pc = regPC & 0xFFFF, sp = regSP & 0xFFFF;
    // Wider than the field so that a budget near the top of its range cannot
    // overflow the count.
    std::int64_t clk = clock;

    const unsigned fS = flagS, fZ = flagZ, fAC = flagAC, fP = flagP, fCY = flagCY;

    auto store = [&]() INLINE {
        regA = static_cast<std::int32_t>(a);
        regF = static_cast<std::int32_t>(f);
        regB = static_cast<std::int32_t>(b);
        regC = static_cast<std::int32_t>(c);
        regD = static_cast<std::int32_t>(d);
        regE = static_cast<std::int32_t>(e);
        regH = static_cast<std::int32_t>(h);
        regL = static_cast<std::int32_t>(l);
        regPC = static_cast<std::int32_t>(pc);
        regSP = static_cast<std::int32_t>(sp);
        clock = clk > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                                : static_cast<std::int32_t>(clk);
    };
    auto load = [&]() INLINE {
        a = regA & 0xFF, f = regF & 0xFF, b = regB & 0xFF, c = regC & 0xFF, d = regD & 0xFF;
        e = regE & 0xFF, h = regH & 0xFF, l = regL & 0xFF;
        pc = regPC & 0xFFFF, sp = regSP & 0xFFFF;
        clk = clock;
    };

    // ---- flag arithmetic ----------------------------------------------------
    auto ac = [&](bool set) INLINE { return set ? fAC : 0u; };
    auto cy = [&](bool set) INLINE { return set ? fCY : 0u; };
    auto carryIn = [&]() INLINE { return (f & fCY) ? 1u : 0u; };

    auto add = [&](unsigned v, unsigned carry) INLINE {
        const unsigned sum = a + v + carry;
        f = flagTable[sum & 0xFF] | ac(halfCarry(sum, a, v)) | cy(sum > 0xFF);
        a = sum & 0xFF;
    };
    // Subtraction's AC is the borrow into bit 4 (the low digit of A smaller
    // than the subtrahend's), not the datasheet's inverted carry.
    auto compare = [&](unsigned v, unsigned borrow) INLINE {
        const unsigned r = (a - v - borrow) & 0xFF;
        f = flagTable[r] | ac(halfCarry(r, a, v)) | cy(v + borrow > a);
        return r;
    };
    auto sub = [&](unsigned v, unsigned borrow) INLINE { a = compare(v, borrow); };
    // The logical operations keep AC and clear CY.
    auto logic = [&](unsigned r) INLINE {
        a = r;
        f = flagTable[r] | (f & fAC);
    };
    auto inr = [&](unsigned old) INLINE {
        const unsigned n = (old + 1) & 0xFF;
        f = flagTable[n] | ac(((n ^ old) & 0x10) != 0) | (f & fCY);
        return n;
    };
    auto dcr = [&](unsigned old) INLINE {
        const unsigned n = (old - 1) & 0xFF;
        f = flagTable[n] | ac(((n ^ old) & 0x10) != 0) | (f & fCY);
        return n;
    };
    auto daa = [&]() INLINE {
        unsigned corr = 0;
        if ((f & fCY) || a > 0x99)
            corr = 0x60;
        if ((f & fAC) || (a & 0x0F) > 9)
            corr += 0x06;
        const unsigned sum = a + corr;
        f = flagTable[sum & 0xFF] | ac(halfCarry(sum, a, corr)) | cy(corr >= 0x60);
        a = sum & 0xFF;
    };
    auto setCarry = [&](unsigned bit) INLINE { f = (f & ~fCY & 0xFF) | cy(bit != 0); };
    auto dad = [&](unsigned pair) INLINE {
        const unsigned sum = ((h << 8) | l) + pair;
        setCarry(sum > 0xFFFF);
        h = (sum >> 8) & 0xFF;
        l = sum & 0xFF;
    };

    // ---- memory --------------------------------------------------------------
    auto imm8 = [&]() INLINE { return static_cast<unsigned>(readByte(pc + 1)); };
    auto imm16 = [&]() INLINE { return static_cast<unsigned>(readByte(pc + 1) | (readByte(pc + 2) << 8)); };
    auto readM = [&]() INLINE { return static_cast<unsigned>(readByteAt(static_cast<int>(l), static_cast<int>(h))); };
    auto writeM = [&](unsigned v) INLINE { writeByteAt(static_cast<int>(l), static_cast<int>(h), static_cast<int>(v)); };
    auto push = [&](unsigned hi, unsigned lo) INLINE {
        sp = (sp - 2) & 0xFFFF;
        writeByte(sp, static_cast<int>(lo));
        writeByte(sp + 1, static_cast<int>(hi));
    };
    auto popWord = [&]() INLINE {
        const unsigned w = readByte(sp) | (readByte(sp + 1) << 8);
        sp = (sp + 2) & 0xFFFF;
        return w;
    };
    // CALL, taken Ccc and RST: the return address is the next instruction.
    auto call = [&](unsigned target, unsigned len) INLINE {
        pc = (pc + len) & 0xFFFF;
        push(pc >> 8, pc & 0xFF);
        pc = target;
    };

// One instruction done: advance PC by the opcode's length and count its cost.
#define STEP(op)                                                                                       \
    pc = (pc + kLen<op>) & 0xFFFF;                                                                     \
    clk += kT<op>;                                                                                     \
    break

// The eight-register families. M (HL) is the sixth register.
#define REG_CASES(base, stride, ACT)                                                                   \
    case base + 0 * (stride): ACT(base + 0 * (stride), b);                                             \
    case base + 1 * (stride): ACT(base + 1 * (stride), c);                                             \
    case base + 2 * (stride): ACT(base + 2 * (stride), d);                                             \
    case base + 3 * (stride): ACT(base + 3 * (stride), e);                                             \
    case base + 4 * (stride): ACT(base + 4 * (stride), h);                                             \
    case base + 5 * (stride): ACT(base + 5 * (stride), l);                                             \
    case base + 7 * (stride): ACT(base + 7 * (stride), a);

#define ACT_INR(op, r)                                                                                 \
    r = inr(r);                                                                                        \
    STEP(op)
#define ACT_DCR(op, r)                                                                                 \
    r = dcr(r);                                                                                        \
    STEP(op)
#define ACT_MVI(op, r)                                                                                 \
    r = imm8();                                                                                        \
    STEP(op)
#define ACT_ADD(op, r)                                                                                 \
    add(r, 0);                                                                                         \
    STEP(op)
#define ACT_ADC(op, r)                                                                                 \
    add(r, carryIn());                                                                                 \
    STEP(op)
#define ACT_SUB(op, r)                                                                                 \
    sub(r, 0);                                                                                         \
    STEP(op)
#define ACT_SBB(op, r)                                                                                 \
    sub(r, carryIn());                                                                                 \
    STEP(op)
#define ACT_ANA(op, r)                                                                                 \
    logic(a & r);                                                                                      \
    STEP(op)
#define ACT_XRA(op, r)                                                                                 \
    logic(a ^ r);                                                                                      \
    STEP(op)
#define ACT_ORA(op, r)                                                                                 \
    logic(a | r);                                                                                      \
    STEP(op)
#define ACT_CMP(op, r)                                                                                 \
    compare(r, 0);                                                                                     \
    STEP(op)

// MOV dst,src for every src, and MOV dst,M.
#define MOV_ROW(base, dst)                                                                             \
    case base + 0: dst = b; STEP(base + 0);                                                            \
    case base + 1: dst = c; STEP(base + 1);                                                            \
    case base + 2: dst = d; STEP(base + 2);                                                            \
    case base + 3: dst = e; STEP(base + 3);                                                            \
    case base + 4: dst = h; STEP(base + 4);                                                            \
    case base + 5: dst = l; STEP(base + 5);                                                            \
    case base + 6: dst = readM(); STEP(base + 6);                                                      \
    case base + 7: dst = a; STEP(base + 7);

#define ALU_ROW(base, ACT, fn_m)                                                                       \
    REG_CASES(base, 1, ACT)                                                                            \
    case base + 6: fn_m; STEP(base + 6);

// Conditional jump, call and return on condition `cond`.
#define JCC(op, cond)                                                                                  \
    case op:                                                                                           \
        pc = (cond) ? imm16() : (pc + kLen<op>) & 0xFFFF;                                              \
        clk += kT<op>;                                                                                 \
        break;
#define CCC(op, cond)                                                                                  \
    case op:                                                                                           \
        if (cond) {                                                                                    \
            call(imm16(), kLen<op>);                                                                   \
            clk += kT<op>;                                                                             \
        } else {                                                                                       \
            pc = (pc + kLen<op>) & 0xFFFF;                                                             \
            clk += kTNotTaken<op>;                                                                     \
        }                                                                                              \
        break;
#define RCC(op, cond)                                                                                  \
    case op:                                                                                           \
        if (cond) {                                                                                    \
            pc = popWord();                                                                            \
            clk += kT<op>;                                                                             \
        } else {                                                                                       \
            pc = (pc + kLen<op>) & 0xFFFF;                                                             \
            clk += kTNotTaken<op>;                                                                     \
        }                                                                                              \
        break;
#define RST(op)                                                                                        \
    case op:                                                                                           \
        call((op) & 0x38, kLen<op>);                                                                   \
        clk += kT<op>;                                                                                 \
        break;

// An undefined opcode first asks the hook, then runs as its twin.
#define UNDOCUMENTED(op)                                                                               \
    if (invalidOpcodeSignalled()) [[unlikely]] {                                                               \
        store();                                                                                       \
        reportInvalidOpcode(op);                                                                            \
        load();                                                                                        \
        break;                                                                                         \
    }

    bool atTrap = false;
    for (;;) {
        const std::uint8_t op = readByte(pc);
        switch (op) {
        // ---- 0x00-0x3F: loads, increments, rotates ---------------------------
        case 0x00: STEP(0x00);
        case 0x08: UNDOCUMENTED(0x08) STEP(0x08);
        case 0x10: UNDOCUMENTED(0x10) STEP(0x10);
        case 0x18: UNDOCUMENTED(0x18) STEP(0x18);
        case 0x20: UNDOCUMENTED(0x20) STEP(0x20);
        case 0x28: UNDOCUMENTED(0x28) STEP(0x28);
        case 0x30: UNDOCUMENTED(0x30) STEP(0x30);
        case 0x38: UNDOCUMENTED(0x38) STEP(0x38);

        case 0x01: c = readByte(pc + 1); b = readByte(pc + 2); STEP(0x01);
        case 0x11: e = readByte(pc + 1); d = readByte(pc + 2); STEP(0x11);
        case 0x21: l = readByte(pc + 1); h = readByte(pc + 2); STEP(0x21);
        case 0x31: sp = imm16(); STEP(0x31);

        case 0x02: writeByteAt(static_cast<int>(c), static_cast<int>(b), static_cast<int>(a)); STEP(0x02);
        case 0x12: writeByteAt(static_cast<int>(e), static_cast<int>(d), static_cast<int>(a)); STEP(0x12);
        case 0x0A: a = readByteAt(static_cast<int>(c), static_cast<int>(b)); STEP(0x0A);
        case 0x1A: a = readByteAt(static_cast<int>(e), static_cast<int>(d)); STEP(0x1A);

        case 0x22: {
            const unsigned addr = imm16();
            writeByte(addr, static_cast<int>(l));
            writeByte(addr + 1, static_cast<int>(h));
            STEP(0x22);
        }
        case 0x2A: {
            const unsigned addr = imm16();
            l = readByte(addr);
            h = readByte(addr + 1);
            STEP(0x2A);
        }
        case 0x32: writeByteAt(readByte(pc + 1), readByte(pc + 2), static_cast<int>(a)); STEP(0x32);
        case 0x3A: a = readByteAt(readByte(pc + 1), readByte(pc + 2)); STEP(0x3A);

        // INX and DCX step the low byte and carry into the high byte.
        case 0x03: c = (c + 1) & 0xFF; if (c == 0) b = (b + 1) & 0xFF; STEP(0x03);
        case 0x13: e = (e + 1) & 0xFF; if (e == 0) d = (d + 1) & 0xFF; STEP(0x13);
        case 0x23: l = (l + 1) & 0xFF; if (l == 0) h = (h + 1) & 0xFF; STEP(0x23);
        case 0x33: sp = (sp + 1) & 0xFFFF; STEP(0x33);
        case 0x0B: c = (c - 1) & 0xFF; if (c == 0xFF) b = (b - 1) & 0xFF; STEP(0x0B);
        case 0x1B: e = (e - 1) & 0xFF; if (e == 0xFF) d = (d - 1) & 0xFF; STEP(0x1B);
        case 0x2B: l = (l - 1) & 0xFF; if (l == 0xFF) h = (h - 1) & 0xFF; STEP(0x2B);
        case 0x3B: sp = (sp - 1) & 0xFFFF; STEP(0x3B);

        REG_CASES(0x04, 8, ACT_INR)
        case 0x34: writeM(inr(readM())); STEP(0x34);
        REG_CASES(0x05, 8, ACT_DCR)
        case 0x35: writeM(dcr(readM())); STEP(0x35);
        REG_CASES(0x06, 8, ACT_MVI)
        case 0x36: writeM(imm8()); STEP(0x36);

        case 0x09: dad((b << 8) | c); STEP(0x09);
        case 0x19: dad((d << 8) | e); STEP(0x19);
        case 0x29: dad((h << 8) | l); STEP(0x29);
        case 0x39: dad(sp); STEP(0x39);

        case 0x07: setCarry(a >> 7); a = ((a << 1) | (a >> 7)) & 0xFF; STEP(0x07);
        case 0x0F: setCarry(a & 1); a = (a >> 1) | ((a & 1) << 7); STEP(0x0F);
        case 0x17: {
            const unsigned in = carryIn();
            setCarry(a >> 7);
            a = ((a << 1) | in) & 0xFF;
            STEP(0x17);
        }
        case 0x1F: {
            const unsigned in = carryIn();
            setCarry(a & 1);
            a = (a >> 1) | (in << 7);
            STEP(0x1F);
        }
        case 0x27: daa(); STEP(0x27);
        case 0x2F: a ^= 0xFF; STEP(0x2F);
        case 0x37: f |= fCY; STEP(0x37);
        case 0x3F: f ^= fCY; STEP(0x3F);

        // ---- 0x40-0x7F: moves; 0x76 HLT runs on as a no-operation --------------
        MOV_ROW(0x40, b)
        MOV_ROW(0x48, c)
        MOV_ROW(0x50, d)
        MOV_ROW(0x58, e)
        MOV_ROW(0x60, h)
        MOV_ROW(0x68, l)
        case 0x70: writeM(b); STEP(0x70);
        case 0x71: writeM(c); STEP(0x71);
        case 0x72: writeM(d); STEP(0x72);
        case 0x73: writeM(e); STEP(0x73);
        case 0x74: writeM(h); STEP(0x74);
        case 0x75: writeM(l); STEP(0x75);
        case 0x76: STEP(0x76);
        case 0x77: writeM(a); STEP(0x77);
        MOV_ROW(0x78, a)

        // ---- 0x80-0xBF: arithmetic and logic on A -------------------------------
        ALU_ROW(0x80, ACT_ADD, add(readM(), 0))
        ALU_ROW(0x88, ACT_ADC, add(readM(), carryIn()))
        ALU_ROW(0x90, ACT_SUB, sub(readM(), 0))
        ALU_ROW(0x98, ACT_SBB, sub(readM(), carryIn()))
        ALU_ROW(0xA0, ACT_ANA, logic(a & readM()))
        ALU_ROW(0xA8, ACT_XRA, logic(a ^ readM()))
        ALU_ROW(0xB0, ACT_ORA, logic(a | readM()))
        ALU_ROW(0xB8, ACT_CMP, compare(readM(), 0))

        case 0xC6: add(imm8(), 0); STEP(0xC6);
        case 0xCE: add(imm8(), carryIn()); STEP(0xCE);
        case 0xD6: sub(imm8(), 0); STEP(0xD6);
        case 0xDE: sub(imm8(), carryIn()); STEP(0xDE);
        case 0xE6: logic(a & imm8()); STEP(0xE6);
        case 0xEE: logic(a ^ imm8()); STEP(0xEE);
        case 0xF6: logic(a | imm8()); STEP(0xF6);
        case 0xFE: compare(imm8(), 0); STEP(0xFE);

        // ---- 0xC0-0xFF: jumps, calls, returns, stack, ports --------------------
        JCC(0xC2, !(f & fZ))
        JCC(0xCA, f & fZ)
        JCC(0xD2, !(f & fCY))
        JCC(0xDA, f & fCY)
        JCC(0xE2, !(f & fP))
        JCC(0xEA, f & fP)
        JCC(0xF2, !(f & fS))
        JCC(0xFA, f & fS)
        case 0xC3: pc = imm16(); clk += kT<0xC3>; break;
        case 0xCB: UNDOCUMENTED(0xCB) pc = imm16(); clk += kT<0xCB>; break;

        CCC(0xC4, !(f & fZ))
        CCC(0xCC, f & fZ)
        CCC(0xD4, !(f & fCY))
        CCC(0xDC, f & fCY)
        CCC(0xE4, !(f & fP))
        CCC(0xEC, f & fP)
        CCC(0xF4, !(f & fS))
        CCC(0xFC, f & fS)
        case 0xCD: call(imm16(), kLen<0xCD>); clk += kT<0xCD>; break;
        case 0xDD: UNDOCUMENTED(0xDD) call(imm16(), kLen<0xDD>); clk += kT<0xDD>; break;
        case 0xED: UNDOCUMENTED(0xED) call(imm16(), kLen<0xED>); clk += kT<0xED>; break;
        case 0xFD: UNDOCUMENTED(0xFD) call(imm16(), kLen<0xFD>); clk += kT<0xFD>; break;

        RCC(0xC0, !(f & fZ))
        RCC(0xC8, f & fZ)
        RCC(0xD0, !(f & fCY))
        RCC(0xD8, f & fCY)
        RCC(0xE0, !(f & fP))
        RCC(0xE8, f & fP)
        RCC(0xF0, !(f & fS))
        RCC(0xF8, f & fS)
        case 0xC9: pc = popWord(); clk += kT<0xC9>; break;
        case 0xD9: UNDOCUMENTED(0xD9) pc = popWord(); clk += kT<0xD9>; break;

        RST(0xC7)
        RST(0xCF)
        RST(0xD7)
        RST(0xDF)
        RST(0xE7)
        RST(0xEF)
        RST(0xF7)
        RST(0xFF)

        case 0xC5: push(b, c); STEP(0xC5);
        case 0xD5: push(d, e); STEP(0xD5);
        case 0xE5: push(h, l); STEP(0xE5);
        case 0xF5: push(a, f); STEP(0xF5);
        case 0xC1: { const unsigned w = popWord(); b = w >> 8; c = w & 0xFF; STEP(0xC1); }
        case 0xD1: { const unsigned w = popWord(); d = w >> 8; e = w & 0xFF; STEP(0xD1); }
        case 0xE1: { const unsigned w = popWord(); h = w >> 8; l = w & 0xFF; STEP(0xE1); }
        // POP PSW keeps all eight bits of the flag byte as they were stored.
        case 0xF1: { const unsigned w = popWord(); a = w >> 8; f = w & 0xFF; STEP(0xF1); }

        case 0xE3: {
            const unsigned lo = readByte(sp);
            writeByte(sp, static_cast<int>(l));
            l = lo;
            const unsigned hi = readByte(sp + 1);
            writeByte(sp + 1, static_cast<int>(h));
            h = hi;
            STEP(0xE3);
        }
        case 0xE9: pc = (h << 8) | l; clk += kT<0xE9>; break;
        case 0xF9: sp = (h << 8) | l; STEP(0xF9);
        case 0xEB: {
            const unsigned th = h, tl = l;
            h = d, l = e;
            d = th, e = tl;
            STEP(0xEB);
        }

        case 0xDB: a = readPort(static_cast<int>(imm8())); STEP(0xDB);
        case 0xD3:
            // The beeper places its edge by the clock, so the machine's fields
            // must be current while the port is written.
            store();
            writePort(static_cast<int>(imm8()), static_cast<int>(a));
            STEP(0xD3);

        // There are no interrupts: EI and DI only take their time.
        case 0xF3: STEP(0xF3);
        case 0xFB: STEP(0xFB);
        // Every byte value has its case above.
        default: __builtin_unreachable();
        }
        if (clk >= budget)
            break;
        // Stop before an instruction at a served ROM address: the caller runs
        // the trap step outside this loop, which keeps its work off the path
        // of ordinary code.
        if (isRomTrapAddress(pc)) [[unlikely]] {
            atTrap = true;
            break;
        }
    }

#undef STEP
#undef REG_CASES
#undef ACT_INR
#undef ACT_DCR
#undef ACT_MVI
#undef ACT_ADD
#undef ACT_ADC
#undef ACT_SUB
#undef ACT_SBB
#undef ACT_ANA
#undef ACT_XRA
#undef ACT_ORA
#undef ACT_CMP
#undef MOV_ROW
#undef ALU_ROW
#undef JCC
#undef CCC
#undef RCC
#undef RST
#undef UNDOCUMENTED
#undef INLINE

    store();
    return atTrap;
}

} // namespace ostrovik::machine
