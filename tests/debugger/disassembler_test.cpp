#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestData.hpp"
#include "asm8080/Assembler.hpp"
#include "debugger/Disassembler.hpp"

using namespace ostrovik::debugger;

namespace {

using Ram = std::array<std::uint8_t, 65536>;

std::unique_ptr<Ram> ramWith(std::uint16_t at, std::initializer_list<int> bytes)
{
    auto ram = std::make_unique<Ram>();
    for (int b : bytes)
        (*ram)[at++] = static_cast<std::uint8_t>(b);
    return ram;
}

std::vector<std::string> columns(const Instruction& in)
{
    return {addressText(in), bytesText(in), mnemonicText(in), operandText(in)};
}

} // namespace

// Rows written out by hand, blanks included; the bytes stand at 0100.
TEST(Disassembler, RowsSpellEachInstructionFormAsTheListingDoes)
{
    struct Row {
        std::initializer_list<int> memory;
        const char* bytes;
        const char* mnemonic;
        const char* operand;
    };
    const Row rows[] = {
        {{0x00}, "00 ", "NOP", ""},
        {{0x7E}, "7E ", "MOV A,M", ""},
        {{0x41}, "41 ", "MOV B,C", ""},
        {{0x77}, "77 ", "MOV M,A", ""},
        {{0x76}, "76 ", "HLT", ""},
        {{0xEB}, "EB ", "XCHG", ""},
        {{0xE8}, "E8 ", "RPE", ""},
        {{0x34}, "34 ", "INR M", ""},
        {{0x39}, "39 ", "DAD SP", ""},
        {{0x1A}, "1A ", "LDAX D", ""},
        {{0xF1}, "F1 ", "POP PSW", ""},
        {{0xFF}, "FF ", "RST 7", ""},
        {{0x06, 0x3E}, "06 3E", "MVI B ,3E", ""},
        {{0x36, 0x5A}, "36 5A", "MVI M ,5A", ""},
        {{0xE6, 0x0F}, "E6 0F", "ANI ,0F", ""},
        {{0xCE, 0x01}, "CE 01", "ACI ,01", ""},
        {{0xFE, 0x0D}, "FE 0D", "CPI 0D", ""},
        {{0xD3, 0xC1}, "D3 C1", "OUT 0C1h", ""},
        {{0xDB, 0xD1}, "DB D1", "IN 0D1h", ""},
        {{0x31, 0xC1, 0xAF}, "31 C1 AF", "LXI SP,", "AFC1h"},
        {{0x21, 0x00, 0x40}, "21 00 40", "LXI H,", "4000h"},
        {{0x2A, 0x43, 0x02}, "2A 43 02", "LHLD ", "0243h"},
        {{0x32, 0x00, 0xC0}, "32 00 C0", "STA ", "C000h"},
        {{0xC3, 0xFD, 0x02}, "C3 FD 02", "JMP ", "002FDh"},
        {{0xC3, 0x00, 0xC0}, "C3 00 C0", "JMP ", "0C000h"},
        {{0xC2, 0x00, 0xC0}, "C2 00 C0", "JNZ ", "0C000h"},
        {{0xC4, 0x00, 0xC0}, "C4 00 C0", "CNZ ", "0C000h"},
        {{0xCA, 0xFD, 0x02}, "CA FD 02", "JZ ", "02FDh"},
        {{0xCD, 0x00, 0xC0}, "CD 00 C0", "CALL ", "C000h"},
        {{0xEC, 0x00, 0xC0}, "EC 00 C0", "CPE ", "C000h"},
        {{0xD2, 0x34, 0x12}, "D2 34 12", "JNC ", "1234h"},
        {{0x08}, "08 ", "NOP", ""},
        {{0x38}, "38 ", "NOP", ""},
        {{0xCB, 0x34, 0x12}, "CB 34 12", "_jmp_ ", "1234h"},
        {{0xD9}, "D9 ", "_ret_", ""},
        {{0xDD, 0x34, 0x12}, "DD 34 12", "_call_ ", "1234h"},
        {{0xFD, 0x34, 0x12}, "FD 34 12", "_call_ ", "1234h"},
    };
    for (const Row& row : rows) {
        auto ram = ramWith(0x0100, row.memory);
        const Instruction in = decodeAt(*ram, 0x0100);
        const std::vector<std::string> expected{"0100:", row.bytes, row.mnemonic, row.operand};
        EXPECT_EQ(columns(in), expected) << row.bytes;
        EXPECT_EQ(in.length, row.memory.size()) << row.bytes;
    }
}

// Which instructions a range lists: the first address of each row, in order.
TEST(Disassembler, RangesListWholeInstructionsFromTheStartWhileItLiesInRange)
{
    struct Case {
        const char* what;
        std::uint16_t at;
        std::initializer_list<int> memory;
        std::int32_t from, to;
        std::vector<std::uint16_t> starts;
    };
    const Case cases[] = {
        {"From = To on a three-byte instruction", 0x0100, {0xC3, 0x00, 0xC0}, 0x100, 0x100, {0x100}},
        {"the end in the middle of an instruction", 0x0100, {0x00, 0x31, 0xC1, 0xAF, 0x00}, 0x100, 0x102,
         {0x100, 0x101}},
        {"a two-byte immediate steps by two", 0x0100, {0xE6, 0x0F, 0x00}, 0x100, 0x102, {0x100, 0x102}},
        {"an undefined no-operation steps by one", 0x0100, {0x08, 0x00}, 0x100, 0x101, {0x100, 0x101}},
        {"the undefined jump steps by three", 0x0100, {0xCB, 0x00, 0x00, 0x00}, 0x100, 0x103, {0x100, 0x103}},
        {"From > To lists nothing", 0x0100, {0x00}, 0x101, 0x100, {}},
        {"decoding starts at From even inside an instruction", 0x0100, {0x21, 0x3E, 0x01, 0x00}, 0x101, 0x102,
         {0x101}},
        {"the listing stops at the end of memory", 0xFFFD, {0x00, 0x00, 0x00}, 0xFFFD, 0xFFFD + 100,
         {0xFFFD, 0xFFFE, 0xFFFF}},
        {"a start past the end of memory lists nothing", 0x0000, {0x00}, 0x10000, 0x10010, {}},
        {"a start below 0 begins at 0", 0x0000, {0x00, 0x00}, -5, 1, {0x0000, 0x0001}},
    };
    for (const Case& c : cases) {
        auto ram = ramWith(c.at, c.memory);
        std::vector<std::uint16_t> starts;
        for (const Instruction& in : disassemble(*ram, c.from, c.to))
            starts.push_back(in.address);
        EXPECT_EQ(starts, c.starts) << c.what;
    }
}

TEST(Disassembler, OperandBytesPastTheEndOfMemoryComeFromItsStart)
{
    auto ram = ramWith(0xFFFE, {0xCD, 0x34});
    (*ram)[0x0000] = 0x12;
    const std::vector<Instruction> rows = disassemble(*ram, 0xFFFE, 0x10000 + 80);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(columns(rows[0]), (std::vector<std::string>{"FFFE:", "CD 34 12", "CALL ", "1234h"}));
}

TEST(Disassembler, ProgressHearsEveryRowOfAWholeMemoryPass)
{
    auto ram = std::make_unique<Ram>();
    (*ram)[0x1000] = 0xC3; // one three-byte instruction among the NOPs
    int calls = 0, last = 0;
    const std::vector<Instruction> rows = disassemble(*ram, 0, 65535, [&](int n) {
        ++calls;
        EXPECT_EQ(n, last + 1);
        last = n;
    });
    EXPECT_EQ(rows.size(), 65536u - 2);
    EXPECT_EQ(calls, 65536 - 2);
}

namespace {

/// A listing row written back as assembler source: the immediate byte and the
/// operand word become numbers the assembler reads.
std::string asSource(const Instruction& in)
{
    std::string text = mnemonicText(in);
    if (in.length == 2) {
        const std::size_t xx = text.find(bytesText(in).substr(3), text.size() - 3);
        text.insert(xx, "0");
        if (text.back() != 'h')
            text += "h";
        // "MVI B ,3E" and "ANI ,0F" in the assembler's own notation.
        const std::size_t comma = text.find(" ,");
        if (comma != std::string::npos)
            text.replace(comma, 2, text.starts_with("MVI") ? "," : " ");
    }
    if (in.length == 3)
        text += "0" + operandText(in);
    return "\t" + text + "\n";
}

} // namespace

// Every instruction form our assembler knows, disassembled and assembled again.
TEST(Disassembler, EveryAssembledFormReadsBackAsTheSameInstruction)
{
    std::istringstream in(ostrovik::test::testData("asm_all_forms.asm"));
    std::string line;
    int forms = 0;
    while (std::getline(in, line)) {
        const auto semi = line.find(';');
        if (line.empty() || line[0] == ';' || semi == std::string::npos)
            continue;
        if (line.find("RIM") != std::string::npos || line.find("SIM") != std::string::npos)
            continue; // the 8085's, which this CPU takes for no-operations
        const auto first = ostrovik::asm8080::assemble("\tORG 100h\n" + line + "\n");
        ASSERT_TRUE(first.ok()) << line;
        Ram ram{};
        std::copy(first.bytes.begin(), first.bytes.end(), ram.begin() + 0x100);
        const std::vector<Instruction> rows = disassemble(ram, 0x100, 0x100);
        ASSERT_EQ(rows.size(), 1u) << line;
        ASSERT_EQ(rows[0].length, first.bytes.size()) << line;
        // The same mnemonic word as the source line.
        const std::string word = mnemonicText(rows[0]).substr(0, mnemonicText(rows[0]).find(' '));
        EXPECT_EQ(line.substr(1, line.find_first_of(" \t", 1) - 1), word) << line;
        const auto again = ostrovik::asm8080::assemble("\tORG 100h\n" + asSource(rows[0]));
        ASSERT_TRUE(again.ok()) << line << " read back as " << asSource(rows[0]);
        EXPECT_EQ(again.bytes, first.bytes) << line << " read back as " << asSource(rows[0]);
        ++forms;
    }
    EXPECT_EQ(forms, 244);
}
