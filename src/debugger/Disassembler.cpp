#include "debugger/Disassembler.hpp"

#include <algorithm>
#include <string_view>

#include "debugger/HexText.hpp"
#include "machine/OpcodeTable.hpp"

namespace ostrovik::debugger {

namespace {

/// Column 2 of an opcode around its immediate byte: head + XX + tail.
struct MnemonicForm {
    std::string head;
    std::string tail;
};

/// The listing's spelling of the opcode table's form. The table writes Intel's
/// notation with a placeholder for the operand ("MVI B,d8", "ADI d8", "IN p8",
/// "JMP a16"); the listing has its own habits around the immediate byte, and
/// names the undefined opcodes apart from their documented twins.
MnemonicForm formOf(const machine::OpcodeInfo& op)
{
    std::string_view m = op.mnemonic;
    const std::string_view word = m.substr(0, m.find(' '));
    std::string text(m);
    if (op.undocumented && word != "NOP") {
        std::string lower(word);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(c | 0x20); });
        text = "_" + lower + "_" + std::string(m.substr(word.size()));
    }
    const auto cut = [&](std::string_view placeholder) {
        text.resize(text.size() - placeholder.size());
    };
    if (m.ends_with("d16") || m.ends_with("a16")) {
        cut("d16");
        return {text, {}};
    }
    if (m.ends_with("p8")) {
        cut("p8");
        return {text + "0", "h"};
    }
    if (m.ends_with(",d8")) {
        cut(",d8");
        return {text + " ,", {}};
    }
    if (m.ends_with("d8")) {
        cut("d8");
        return {word == "CPI" ? text : text + ",", {}};
    }
    return {text, {}};
}

const std::array<MnemonicForm, 256>& forms()
{
    static const std::array<MnemonicForm, 256> table = [] {
        std::array<MnemonicForm, 256> t;
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = formOf(machine::kOpcodeTable[i]);
        return t;
    }();
    return table;
}

} // namespace

Instruction decodeAt(Memory ram, std::uint16_t address)
{
    Instruction in;
    in.address = address;
    in.bytes[0] = ram[address];
    in.length = machine::kOpcodeTable[in.bytes[0]].length;
    for (int i = 1; i < in.length; ++i)
        in.bytes[static_cast<std::size_t>(i)] = ram[static_cast<std::uint16_t>(address + i)];
    return in;
}

std::string addressText(const Instruction& in)
{
    return hex4(in.address) + ":";
}

std::string bytesText(const Instruction& in)
{
    switch (in.length) {
    case 1:
        return hex2(in.bytes[0]) + " ";
    case 2:
        return hex2(in.bytes[0]) + " " + hex2(in.bytes[1]);
    default:
        return hex2(in.bytes[0]) + " " + hex2(in.bytes[1]) + " " + hex2(in.bytes[2]);
    }
}

std::string mnemonicText(const Instruction& in)
{
    const MnemonicForm& form = forms()[in.opcode()];
    if (in.length == 2)
        return form.head + hex2(in.bytes[1]) + form.tail;
    return form.head;
}

std::string operandText(const Instruction& in)
{
    if (in.length != 3)
        return {};
    // The listing has always set JNZ, JMP and CNZ apart by a leading zero.
    const std::uint8_t op = in.opcode();
    const char* lead = (op == 0xC2 || op == 0xC3 || op == 0xC4) ? "0" : "";
    return lead + hex2(in.bytes[2]) + hex2(in.bytes[1]) + "h";
}

std::vector<Instruction> disassemble(Memory ram, std::int32_t from, std::int32_t to,
                                     const std::function<void(int)>& progress)
{
    std::vector<Instruction> rows;
    const std::int64_t last = std::min<std::int64_t>(to, 0xFFFF);
    for (std::int64_t a = std::max<std::int32_t>(from, 0); a <= last;) {
        rows.push_back(decodeAt(ram, static_cast<std::uint16_t>(a)));
        a += rows.back().length;
        if (progress)
            progress(static_cast<int>(rows.size()));
    }
    return rows;
}

} // namespace ostrovik::debugger
