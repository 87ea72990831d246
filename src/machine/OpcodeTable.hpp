#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ostrovik::machine {

/// One 8080 opcode as this machine runs it.
///
/// `mnemonic` is the instruction in Intel's notation, upper case, one blank
/// between the mnemonic and its operands and none after a comma:
///   "NOP", "MOV B,C", "MOV M,A", "INR M", "DAD SP", "PUSH PSW", "RST 3",
///   "MVI A,d8", "ADI d8", "LXI H,d16", "LDA a16", "JNZ a16", "IN p8".
/// Registers are B C D E H L M A, pairs B D H SP (PSW for PUSH/POP).
/// At most one operand comes from the instruction's own bytes, and it is always
/// the last operand, written as a placeholder:
///   d8   immediate data byte                  (instruction byte 2)
///   p8   port number byte for IN and OUT      (instruction byte 2)
///   d16  immediate data word, low byte first  (bytes 2 and 3)
///   a16  address word, low byte first         (bytes 2 and 3)
/// so `length` is 1 + the placeholder's size.
///
/// `tstates` is what the instruction costs; for a conditional call or return
/// it is the taken cost and `tstatesNotTaken` the cost when the condition
/// fails (for every other opcode both are equal; conditional jumps cost 10
/// either way).
///
/// The machine's own timings differ from Intel's datasheet in three places:
/// HLT is a 4-T-state no-operation that does not halt, RET costs 11, and
/// EI/DI cost 4 and do nothing (there are no interrupts).
///
/// The twelve opcodes Intel leaves undefined run as a documented twin; they are
/// marked `undocumented` and carry the twin's mnemonic, length and T-states:
/// 08 10 18 20 28 30 38 as NOP, CB as JMP, D9 as RET, DD ED FD as CALL.
/// An encoder must take the documented opcode for a mnemonic (the first entry
/// with `undocumented` false).
struct OpcodeInfo {
    std::string_view mnemonic;
    std::uint8_t length;
    std::uint8_t tstates;
    std::uint8_t tstatesNotTaken;
    bool undocumented;
};

namespace opcode_detail {

constexpr OpcodeInfo op(std::string_view m, std::uint8_t len, std::uint8_t t)
{
    return {m, len, t, t, false};
}
/// A conditional call or return: taken and not-taken costs.
constexpr OpcodeInfo cond(std::string_view m, std::uint8_t len, std::uint8_t taken, std::uint8_t notTaken)
{
    return {m, len, taken, notTaken, false};
}
/// An undefined opcode that runs as its twin.
constexpr OpcodeInfo twin(std::string_view m, std::uint8_t len, std::uint8_t t)
{
    return {m, len, t, t, true};
}

} // namespace opcode_detail

// clang-format off
inline constexpr std::array<OpcodeInfo, 256> kOpcodeTable = [] {
    using namespace opcode_detail;
    return std::array<OpcodeInfo, 256>{{
    // 0x00
    op("NOP", 1, 4),        op("LXI B,d16", 3, 10), op("STAX B", 1, 7),     op("INX B", 1, 5),
    op("INR B", 1, 5),      op("DCR B", 1, 5),      op("MVI B,d8", 2, 7),   op("RLC", 1, 4),
    twin("NOP", 1, 4),      op("DAD B", 1, 10),     op("LDAX B", 1, 7),     op("DCX B", 1, 5),
    op("INR C", 1, 5),      op("DCR C", 1, 5),      op("MVI C,d8", 2, 7),   op("RRC", 1, 4),
    // 0x10
    twin("NOP", 1, 4),      op("LXI D,d16", 3, 10), op("STAX D", 1, 7),     op("INX D", 1, 5),
    op("INR D", 1, 5),      op("DCR D", 1, 5),      op("MVI D,d8", 2, 7),   op("RAL", 1, 4),
    twin("NOP", 1, 4),      op("DAD D", 1, 10),     op("LDAX D", 1, 7),     op("DCX D", 1, 5),
    op("INR E", 1, 5),      op("DCR E", 1, 5),      op("MVI E,d8", 2, 7),   op("RAR", 1, 4),
    // 0x20
    twin("NOP", 1, 4),      op("LXI H,d16", 3, 10), op("SHLD a16", 3, 16),  op("INX H", 1, 5),
    op("INR H", 1, 5),      op("DCR H", 1, 5),      op("MVI H,d8", 2, 7),   op("DAA", 1, 4),
    twin("NOP", 1, 4),      op("DAD H", 1, 10),     op("LHLD a16", 3, 16),  op("DCX H", 1, 5),
    op("INR L", 1, 5),      op("DCR L", 1, 5),      op("MVI L,d8", 2, 7),   op("CMA", 1, 4),
    // 0x30
    twin("NOP", 1, 4),      op("LXI SP,d16", 3, 10), op("STA a16", 3, 13),  op("INX SP", 1, 5),
    op("INR M", 1, 10),     op("DCR M", 1, 10),     op("MVI M,d8", 2, 10),  op("STC", 1, 4),
    twin("NOP", 1, 4),      op("DAD SP", 1, 10),    op("LDA a16", 3, 13),   op("DCX SP", 1, 5),
    op("INR A", 1, 5),      op("DCR A", 1, 5),      op("MVI A,d8", 2, 7),   op("CMC", 1, 4),
    // 0x40
    op("MOV B,B", 1, 5), op("MOV B,C", 1, 5), op("MOV B,D", 1, 5), op("MOV B,E", 1, 5),
    op("MOV B,H", 1, 5), op("MOV B,L", 1, 5), op("MOV B,M", 1, 7), op("MOV B,A", 1, 5),
    op("MOV C,B", 1, 5), op("MOV C,C", 1, 5), op("MOV C,D", 1, 5), op("MOV C,E", 1, 5),
    op("MOV C,H", 1, 5), op("MOV C,L", 1, 5), op("MOV C,M", 1, 7), op("MOV C,A", 1, 5),
    // 0x50
    op("MOV D,B", 1, 5), op("MOV D,C", 1, 5), op("MOV D,D", 1, 5), op("MOV D,E", 1, 5),
    op("MOV D,H", 1, 5), op("MOV D,L", 1, 5), op("MOV D,M", 1, 7), op("MOV D,A", 1, 5),
    op("MOV E,B", 1, 5), op("MOV E,C", 1, 5), op("MOV E,D", 1, 5), op("MOV E,E", 1, 5),
    op("MOV E,H", 1, 5), op("MOV E,L", 1, 5), op("MOV E,M", 1, 7), op("MOV E,A", 1, 5),
    // 0x60
    op("MOV H,B", 1, 5), op("MOV H,C", 1, 5), op("MOV H,D", 1, 5), op("MOV H,E", 1, 5),
    op("MOV H,H", 1, 5), op("MOV H,L", 1, 5), op("MOV H,M", 1, 7), op("MOV H,A", 1, 5),
    op("MOV L,B", 1, 5), op("MOV L,C", 1, 5), op("MOV L,D", 1, 5), op("MOV L,E", 1, 5),
    op("MOV L,H", 1, 5), op("MOV L,L", 1, 5), op("MOV L,M", 1, 7), op("MOV L,A", 1, 5),
    // 0x70
    op("MOV M,B", 1, 7), op("MOV M,C", 1, 7), op("MOV M,D", 1, 7), op("MOV M,E", 1, 7),
    op("MOV M,H", 1, 7), op("MOV M,L", 1, 7), op("HLT", 1, 4),     op("MOV M,A", 1, 7),
    op("MOV A,B", 1, 5), op("MOV A,C", 1, 5), op("MOV A,D", 1, 5), op("MOV A,E", 1, 5),
    op("MOV A,H", 1, 5), op("MOV A,L", 1, 5), op("MOV A,M", 1, 7), op("MOV A,A", 1, 5),
    // 0x80
    op("ADD B", 1, 4), op("ADD C", 1, 4), op("ADD D", 1, 4), op("ADD E", 1, 4),
    op("ADD H", 1, 4), op("ADD L", 1, 4), op("ADD M", 1, 7), op("ADD A", 1, 4),
    op("ADC B", 1, 4), op("ADC C", 1, 4), op("ADC D", 1, 4), op("ADC E", 1, 4),
    op("ADC H", 1, 4), op("ADC L", 1, 4), op("ADC M", 1, 7), op("ADC A", 1, 4),
    // 0x90
    op("SUB B", 1, 4), op("SUB C", 1, 4), op("SUB D", 1, 4), op("SUB E", 1, 4),
    op("SUB H", 1, 4), op("SUB L", 1, 4), op("SUB M", 1, 7), op("SUB A", 1, 4),
    op("SBB B", 1, 4), op("SBB C", 1, 4), op("SBB D", 1, 4), op("SBB E", 1, 4),
    op("SBB H", 1, 4), op("SBB L", 1, 4), op("SBB M", 1, 7), op("SBB A", 1, 4),
    // 0xA0
    op("ANA B", 1, 4), op("ANA C", 1, 4), op("ANA D", 1, 4), op("ANA E", 1, 4),
    op("ANA H", 1, 4), op("ANA L", 1, 4), op("ANA M", 1, 7), op("ANA A", 1, 4),
    op("XRA B", 1, 4), op("XRA C", 1, 4), op("XRA D", 1, 4), op("XRA E", 1, 4),
    op("XRA H", 1, 4), op("XRA L", 1, 4), op("XRA M", 1, 7), op("XRA A", 1, 4),
    // 0xB0
    op("ORA B", 1, 4), op("ORA C", 1, 4), op("ORA D", 1, 4), op("ORA E", 1, 4),
    op("ORA H", 1, 4), op("ORA L", 1, 4), op("ORA M", 1, 7), op("ORA A", 1, 4),
    op("CMP B", 1, 4), op("CMP C", 1, 4), op("CMP D", 1, 4), op("CMP E", 1, 4),
    op("CMP H", 1, 4), op("CMP L", 1, 4), op("CMP M", 1, 7), op("CMP A", 1, 4),
    // 0xC0
    cond("RNZ", 1, 11, 5),      op("POP B", 1, 10),     op("JNZ a16", 3, 10),  op("JMP a16", 3, 10),
    cond("CNZ a16", 3, 17, 11), op("PUSH B", 1, 11),    op("ADI d8", 2, 7),    op("RST 0", 1, 11),
    cond("RZ", 1, 11, 5),       op("RET", 1, 11),       op("JZ a16", 3, 10),   twin("JMP a16", 3, 10),
    cond("CZ a16", 3, 17, 11),  op("CALL a16", 3, 17),  op("ACI d8", 2, 7),    op("RST 1", 1, 11),
    // 0xD0
    cond("RNC", 1, 11, 5),      op("POP D", 1, 10),     op("JNC a16", 3, 10),  op("OUT p8", 2, 10),
    cond("CNC a16", 3, 17, 11), op("PUSH D", 1, 11),    op("SUI d8", 2, 7),    op("RST 2", 1, 11),
    cond("RC", 1, 11, 5),       twin("RET", 1, 11),     op("JC a16", 3, 10),   op("IN p8", 2, 10),
    cond("CC a16", 3, 17, 11),  twin("CALL a16", 3, 17), op("SBI d8", 2, 7),   op("RST 3", 1, 11),
    // 0xE0
    cond("RPO", 1, 11, 5),      op("POP H", 1, 10),     op("JPO a16", 3, 10),  op("XTHL", 1, 18),
    cond("CPO a16", 3, 17, 11), op("PUSH H", 1, 11),    op("ANI d8", 2, 7),    op("RST 4", 1, 11),
    cond("RPE", 1, 11, 5),      op("PCHL", 1, 5),       op("JPE a16", 3, 10),  op("XCHG", 1, 4),
    cond("CPE a16", 3, 17, 11), twin("CALL a16", 3, 17), op("XRI d8", 2, 7),   op("RST 5", 1, 11),
    // 0xF0
    cond("RP", 1, 11, 5),       op("POP PSW", 1, 10),   op("JP a16", 3, 10),   op("DI", 1, 4),
    cond("CP a16", 3, 17, 11),  op("PUSH PSW", 1, 11),  op("ORI d8", 2, 7),    op("RST 6", 1, 11),
    cond("RM", 1, 11, 5),       op("SPHL", 1, 5),       op("JM a16", 3, 10),   op("EI", 1, 4),
    cond("CM a16", 3, 17, 11),  twin("CALL a16", 3, 17), op("CPI d8", 2, 7),   op("RST 7", 1, 11),
    }};
}();
// clang-format on

namespace opcode_detail {

/// Bytes the operand placeholder at the end of @p m stands for.
constexpr int operandBytes(std::string_view m)
{
    if (m.ends_with("d16") || m.ends_with("a16"))
        return 2;
    if (m.ends_with("d8") || m.ends_with("p8"))
        return 1;
    return 0;
}

constexpr bool lengthsMatchOperands()
{
    for (const OpcodeInfo& o : kOpcodeTable)
        if (o.length != 1 + operandBytes(o.mnemonic))
            return false;
    return true;
}

} // namespace opcode_detail

static_assert(opcode_detail::lengthsMatchOperands(), "an opcode's length disagrees with its operand form");

/// T-states of @p opcode (taken cost for conditional calls and returns).
constexpr int opcodeTStates(std::uint8_t opcode) { return kOpcodeTable[opcode].tstates; }

} // namespace ostrovik::machine
