#include <gtest/gtest.h>

#include <set>
#include <string>

#include "machine/OpcodeTable.hpp"

using ostrovik::machine::kOpcodeTable;

namespace {

// Intel's 8080 datasheet, written out independently of the machine's table:
// 0 marks the twelve opcodes the datasheet leaves undefined.
// clang-format off
constexpr int kDatasheetLength[256] = {
    1,3,1,1,1,1,2,1, 0,1,1,1,1,1,2,1,   0,3,1,1,1,1,2,1, 0,1,1,1,1,1,2,1,
    0,3,3,1,1,1,2,1, 0,1,3,1,1,1,2,1,   0,3,3,1,1,1,2,1, 0,1,3,1,1,1,2,1,
    1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,   1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,
    1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,   1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,
    1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,   1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,
    1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,   1,1,1,1,1,1,1,1, 1,1,1,1,1,1,1,1,
    1,1,3,3,3,1,2,1, 1,1,3,0,3,3,2,1,   1,1,3,2,3,1,2,1, 1,0,3,2,3,0,2,1,
    1,1,3,1,3,1,2,1, 1,1,3,1,3,0,2,1,   1,1,3,1,3,1,2,1, 1,1,3,1,3,0,2,1,
};
constexpr int kDatasheetTStates[256] = {
    4,10,7,5,5,5,7,4, 0,10,7,5,5,5,7,4,      0,10,7,5,5,5,7,4, 0,10,7,5,5,5,7,4,
    0,10,16,5,5,5,7,4, 0,10,16,5,5,5,7,4,    0,10,13,5,10,10,10,4, 0,10,13,5,5,5,7,4,
    5,5,5,5,5,5,7,5, 5,5,5,5,5,5,7,5,        5,5,5,5,5,5,7,5, 5,5,5,5,5,5,7,5,
    5,5,5,5,5,5,7,5, 5,5,5,5,5,5,7,5,        7,7,7,7,7,7,7,7, 5,5,5,5,5,5,7,5,
    4,4,4,4,4,4,7,4, 4,4,4,4,4,4,7,4,        4,4,4,4,4,4,7,4, 4,4,4,4,4,4,7,4,
    4,4,4,4,4,4,7,4, 4,4,4,4,4,4,7,4,        4,4,4,4,4,4,7,4, 4,4,4,4,4,4,7,4,
    11,10,10,10,17,11,7,11, 11,10,10,0,17,17,7,11,   11,10,10,10,17,11,7,11, 11,0,10,10,17,0,7,11,
    11,10,10,18,17,11,7,11, 11,5,10,4,17,0,7,11,     11,10,10,4,17,11,7,11, 11,5,10,4,17,0,7,11,
};
// clang-format on

bool isConditionalReturn(int op) { return (op & 0xC7) == 0xC0; }
bool isConditionalCall(int op) { return (op & 0xC7) == 0xC4; }

} // namespace

TEST(OpcodeTable, LengthsAndTStatesFollowTheDatasheetWithTheMachinesDifferences)
{
    // Where the machine departs from the datasheet, and the twins of the
    // undefined opcodes.
    int length[256], tstates[256];
    for (int op = 0; op < 256; ++op) {
        length[op] = kDatasheetLength[op];
        tstates[op] = kDatasheetTStates[op];
    }
    tstates[0x76] = 4;  // HLT runs as a no-operation
    tstates[0xC9] = 11; // RET
    for (int op : {0x08, 0x10, 0x18, 0x20, 0x28, 0x30, 0x38}) {
        length[op] = 1;
        tstates[op] = 4;
    }
    length[0xCB] = 3, tstates[0xCB] = 10;
    length[0xD9] = 1, tstates[0xD9] = 11;
    for (int op : {0xDD, 0xED, 0xFD})
        length[op] = 3, tstates[op] = 17;

    for (int op = 0; op < 256; ++op) {
        SCOPED_TRACE(op);
        const auto& e = kOpcodeTable[op];
        EXPECT_EQ(e.length, length[op]);
        EXPECT_EQ(e.tstates, tstates[op]);
        const int notTaken = isConditionalReturn(op) ? 5 : isConditionalCall(op) ? 11 : tstates[op];
        EXPECT_EQ(e.tstatesNotTaken, notTaken);
        EXPECT_EQ(e.undocumented, kDatasheetLength[op] == 0);
    }
}

TEST(OpcodeTable, UndocumentedOpcodesCarryTheirTwinsForm)
{
    for (int op : {0x08, 0x10, 0x18, 0x20, 0x28, 0x30, 0x38})
        EXPECT_EQ(kOpcodeTable[op].mnemonic, "NOP");
    EXPECT_EQ(kOpcodeTable[0xCB].mnemonic, "JMP a16");
    EXPECT_EQ(kOpcodeTable[0xD9].mnemonic, "RET");
    for (int op : {0xDD, 0xED, 0xFD})
        EXPECT_EQ(kOpcodeTable[op].mnemonic, "CALL a16");
}

TEST(OpcodeTable, DocumentedMnemonicsAreUniqueAndRegular)
{
    // An encoder looks a mnemonic up in the documented entries, so each
    // must name exactly one opcode.
    std::set<std::string> seen;
    for (int op = 0; op < 256; ++op) {
        const auto& e = kOpcodeTable[op];
        if (e.undocumented)
            continue;
        EXPECT_TRUE(seen.insert(std::string(e.mnemonic)).second) << e.mnemonic;
        EXPECT_EQ(e.mnemonic.find(", "), std::string_view::npos) << e.mnemonic;
    }
    EXPECT_EQ(seen.size(), 244u);
    EXPECT_EQ(kOpcodeTable[0x41].mnemonic, "MOV B,C");
    EXPECT_EQ(kOpcodeTable[0x3E].mnemonic, "MVI A,d8");
    EXPECT_EQ(kOpcodeTable[0x21].mnemonic, "LXI H,d16");
    EXPECT_EQ(kOpcodeTable[0xC2].mnemonic, "JNZ a16");
    EXPECT_EQ(kOpcodeTable[0xDF].mnemonic, "RST 3");
    EXPECT_EQ(kOpcodeTable[0xDB].mnemonic, "IN p8");
    EXPECT_EQ(kOpcodeTable[0xF5].mnemonic, "PUSH PSW");
}
