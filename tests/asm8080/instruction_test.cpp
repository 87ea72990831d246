#include <gtest/gtest.h>

#include <sstream>

#include "AsmTestUtil.hpp"
#include "machine/OpcodeTable.hpp"

using asmtest::code;
using asmtest::onlyError;
using Bytes = std::vector<std::uint8_t>;

// Each line of the fixture holds one instruction form and, after the
// semicolon, the bytes the 8080 data book gives for it.
TEST(AsmInstructions, EveryFormAssemblesToItsKnownBytes)
{
    std::istringstream in(asmtest::readFile(asmtest::testDataPath("asm_all_forms.asm")));
    std::string line;
    int forms = 0;
    while (std::getline(in, line)) {
        auto semi = line.find(';');
        if (line.empty() || line[0] == ';' || semi == std::string::npos)
            continue;
        Bytes expected;
        std::istringstream hexes(line.substr(semi + 1));
        unsigned b;
        while (hexes >> std::hex >> b)
            expected.push_back(static_cast<std::uint8_t>(b));
        auto r = ostrovik::asm8080::assemble("\tORG 100h\n" + line + "\n");
        ASSERT_TRUE(r.ok()) << line << ": " << (r.errors.empty() ? "" : r.errors[0].message);
        EXPECT_EQ(r.origin, 0x100) << line;
        EXPECT_EQ(r.bytes, expected) << line;
        ++forms;
    }
    EXPECT_EQ(forms, 246);  // 244 documented opcodes, RIM and SIM
}

TEST(AsmInstructions, MnemonicsAndRegistersIgnoreCase)
{
    EXPECT_EQ(code("\tmov a,m\n\tMvi b,1\n\tlxi sp,0AFC1h\n\tpush psw\n"),
              (Bytes{0x7E, 0x06, 0x01, 0x31, 0xC1, 0xAF, 0xF5}));
    EXPECT_EQ(code("\tMOV\tA , B\n"), Bytes{0x78});
}

TEST(AsmInstructions, OperandValuesComeFromExpressions)
{
    EXPECT_EQ(code("P EQU 0C0h\n\tOUT P+1\n\tMVI A,-1\n\tLXI H,-2\n\tRST 2*3\n"),
              (Bytes{0xD3, 0xC1, 0x3E, 0xFF, 0x21, 0xFE, 0xFF, 0xF7}));
    // The 8080 has no MOV M,M: that opcode is HLT.
    EXPECT_EQ(onlyError("\tMOV M,M\n"), "MOV: no such operand combination");
}

TEST(AsmInstructions, BadOperandsAreExplained)
{
    EXPECT_EQ(onlyError("\tMOV A,5\n"), "MOV: register expected as operand 2");
    EXPECT_EQ(onlyError("\tLXI PSW,1\n"), "LXI: register PSW not allowed here");
    EXPECT_EQ(onlyError("\tPUSH SP\n"), "PUSH: register SP not allowed here");
    EXPECT_EQ(onlyError("\tLDAX H\n"), "LDAX: register H not allowed here");
    EXPECT_EQ(onlyError("\tJMP B\n"), "JMP: value expected, not register B");
    EXPECT_EQ(onlyError("\tNOP 1\n"), "NOP takes no operand");
    EXPECT_EQ(onlyError("\tJMP\n"), "JMP needs one operand");
    EXPECT_EQ(onlyError("\tMVI A\n"), "MVI needs two operands");
    EXPECT_EQ(onlyError("\tRST 8\n"), "RST number must be 0 to 7, not 8");
    EXPECT_EQ(onlyError("\tMVI A,B+1\n"), "register B where a value is expected");
    EXPECT_EQ(onlyError("\tFOO A\n"), "unknown mnemonic FOO");
}

TEST(AsmInstructions, ValuesOutOfRangeAreErrors)
{
    EXPECT_EQ(code("\tMVI A,255\n\tMVI A,-256\n\tADI -1\n"), (Bytes{0x3E, 0xFF, 0x3E, 0x00, 0xC6, 0xFF}));
    EXPECT_EQ(onlyError("\tMVI A,256\n"), "value out of byte range: 256 (100h)");
    EXPECT_EQ(onlyError("\tOUT -257\n"), "value out of byte range: -257");
    EXPECT_EQ(code("\tJMP 0FFFFh\n"), (Bytes{0xC3, 0xFF, 0xFF}));
    EXPECT_EQ(onlyError("\tJMP 10000h\n"), "value out of word range: 65536 (10000h)");
}

// The interpreter, the disassembler and the assembler share one opcode table:
// every documented form of it must assemble back to its own opcode.
TEST(AsmInstructions, EveryDocumentedTableFormAssemblesToItsOpcode)
{
    int checked = 0;
    for (std::size_t op = 0; op < ostrovik::machine::kOpcodeTable.size(); ++op) {
        const auto& info = ostrovik::machine::kOpcodeTable[op];
        if (info.undocumented)
            continue;
        std::string form(info.mnemonic);
        for (const char* placeholder : {"d16", "a16", "d8", "p8"})
            if (auto at = form.find(placeholder); at != std::string::npos)
                form.replace(at, std::string(placeholder).size(), info.length == 3 ? "3456h" : "12h");
        auto r = ostrovik::asm8080::assemble("\t" + form + "\n");
        ASSERT_TRUE(r.ok()) << form;
        ASSERT_EQ(r.bytes.size(), info.length) << form;
        EXPECT_EQ(r.bytes[0], op) << form;
        ++checked;
    }
    EXPECT_EQ(checked, 244);
}
