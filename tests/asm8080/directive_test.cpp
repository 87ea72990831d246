#include <gtest/gtest.h>

#include <cstring>

#include <sys/resource.h>

#include "AsmTestUtil.hpp"

using asmtest::code;
using asmtest::onlyError;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::uint16_t wordAt(const Bytes& b, std::size_t i)
{
    return static_cast<std::uint16_t>(b[i] | (b[i + 1] << 8));
}

/// Checks the 22-byte tape header that the two workbench texts carry.
void expectProbaHeader(const Bytes& image, std::uint16_t end)
{
    ASSERT_GE(image.size(), 22u);
    EXPECT_EQ(0, std::memcmp(image.data(), "RIZI/2.0/", 9));
    EXPECT_EQ(image[9], 0xD0);
    EXPECT_EQ(0, std::memcmp(image.data() + 10, "PROBA1", 6));
    EXPECT_EQ(wordAt(image, 16), 0x8000);
    EXPECT_EQ(wordAt(image, 18), end);
    EXPECT_EQ(wordAt(image, 20), 0x8000);
}

}  // namespace

TEST(AsmDirectives, InitialEditorTextIsATapeImage)
{
    std::string source = asmtest::readFile(asmtest::testDataPath("asm_initial_text.asm"));
    auto r = ostrovik::asm8080::assemble(source);
    ASSERT_TRUE(r.ok()) << r.listing;
    EXPECT_EQ(r.origin, 0x8000 - 22);
    // The header, then MVI A,0 / OUT 0C1h / INR A / JMP LAB1 at 8000h.
    Bytes expected = asmtest::bytesOf("RIZI/2.0/\xD0PROBA1");
    Bytes tail{0x00, 0x80, 0x08, 0x80, 0x00, 0x80, 0x3E, 0x00, 0xD3, 0xC1, 0x3C, 0xC3, 0x02, 0x80};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(r.bytes, expected);
    expectProbaHeader(r.bytes, 0x8008);
}

TEST(AsmDirectives, NewProjectTemplateIsATapeImage)
{
    std::string source = asmtest::readFile(asmtest::testDataPath("asm_new_project.asm"));
    auto r = ostrovik::asm8080::assemble(source);
    ASSERT_TRUE(r.ok()) << r.listing;
    EXPECT_EQ(r.origin, 0x8000 - 22);
    Bytes expected = asmtest::bytesOf("RIZI/2.0/\xD0PROBA1");
    Bytes tail{0x00, 0x80, 0x00, 0x80, 0x00, 0x80};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(r.bytes, expected);
    expectProbaHeader(r.bytes, 0x8000);
}

TEST(AsmDirectives, WindowsLineEndsAssembleAlike)
{
    std::string source = asmtest::readFile(asmtest::testDataPath("asm_initial_text.asm"));
    std::string crlf;
    for (char c : source)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(code(crlf), code(source));
}

TEST(AsmDirectives, EndStopsTheSourceAndNamesItsAddress)
{
    EXPECT_EQ(code("\tORG 10h\n\tDW END\n\tNOP\n\tEND\n\tDB 99\n"), (Bytes{0x13, 0x00, 0x00}));
    EXPECT_EQ(code("\tDB 1\nEND ; stops here\n\tDB 2\n"), Bytes{1});
    EXPECT_EQ(code("\tDB 1\n\tEND 0\n"), Bytes{1});  // a start address is accepted
    EXPECT_EQ(code("\tDB 1\n"), Bytes{1});          // END is optional
    EXPECT_EQ(onlyError("\tDW END\n"), "undefined symbol END");
    EXPECT_EQ(onlyError("END:\tNOP\n"), "END is a reserved word and cannot be a label");
}

TEST(AsmDirectives, LabelsWithAndWithoutColon)
{
    EXPECT_EQ(code("\tORG 100h\nA1:\tNOP\nA2\tNOP\n  A3: NOP\nA4:\nA5\n\tDW A1,A2,A3,A4,A5\n"),
              (Bytes{0, 0, 0, 0x00, 0x01, 0x01, 0x01, 0x02, 0x01, 0x03, 0x01, 0x03, 0x01}));
    // A known operation in the first column is still an operation.
    EXPECT_EQ(code("NOP\nRET\n"), (Bytes{0x00, 0xC9}));
    EXPECT_EQ(code("Lower: jmp lower\n"), (Bytes{0xC3, 0x00, 0x00}));
}

TEST(AsmDirectives, ForwardReferencesResolve)
{
    EXPECT_EQ(code("\tJMP LATER\n\tDW X\nLATER:\tRET\nX EQU Y+1\nY EQU LATER\n"),
              (Bytes{0xC3, 0x05, 0x00, 0x06, 0x00, 0xC9}));
    // ORG and DS that depend on names defined further down settle too.
    EXPECT_EQ(code("\tORG BASE\n\tDS SIZE\n\tDB 1\nBASE EQU 4\nSIZE EQU 2\n"), (Bytes{1}));
    EXPECT_EQ(code("\tORG BASE\n\tDS SIZE\n\tDB 1\nBASE EQU 4\nSIZE EQU 2\n").size(), 1u);
    auto r = ostrovik::asm8080::assemble("\tORG BASE\n\tDS SIZE\n\tDB 1\nBASE EQU 4\nSIZE EQU 2\n");
    EXPECT_EQ(r.origin, 6);
}

TEST(AsmDirectives, DataDirectives)
{
    EXPECT_EQ(code("\tDB 1,2+3,'A',\"BC\",'it''s',-1\n"),
              (Bytes{1, 5, 'A', 'B', 'C', 'i', 't', '\'', 's', 0xFF}));
    EXPECT_EQ(code("\tDB 'A'+1,\"a;b,c\"\n"), (Bytes{'B', 'a', ';', 'b', ',', 'c'}));
    EXPECT_EQ(code("\tDW 1234h,LABEL,-1\nLABEL:\n"), (Bytes{0x34, 0x12, 0x06, 0x00, 0xFF, 0xFF}));
    // DS leaves a gap that the image fills with zeros; a trailing DS adds nothing.
    EXPECT_EQ(code("\tDB 1\n\tDS 3\n\tDB 2\n\tDS 10\n"), (Bytes{1, 0, 0, 0, 2}));
    // ORG jumps are gaps as well; the image starts at the lowest address.
    auto r = ostrovik::asm8080::assemble("\tORG 20h\n\tDB 2\n\tORG 1Eh\n\tDB 1\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.origin, 0x1E);
    EXPECT_EQ(r.bytes, (Bytes{1, 0, 2}));
    EXPECT_EQ(onlyError("\tDB\n"), "DB needs at least one value");
    EXPECT_EQ(onlyError("\tDB 1,,2\n"), "empty operand");
    EXPECT_EQ(onlyError("\tDB 300\n"), "value out of byte range: 300 (12Ch)");
    EXPECT_EQ(onlyError("\tDW 65536\n"), "value out of word range: 65536 (10000h)");
    EXPECT_EQ(onlyError("\tDS -1\n"), "DS size out of range: -1");
}

TEST(AsmDirectives, EquAndOrgErrors)
{
    EXPECT_EQ(onlyError("\tEQU 5\n"), "EQU needs a name in the label field");
    EXPECT_EQ(onlyError("X\tEQU\n"), "EQU needs one value");
    EXPECT_EQ(onlyError("\tORG 10000h\n"), "ORG address out of range: 65536 (10000h)");
    EXPECT_EQ(onlyError("X EQU 1\nX EQU 2\n"), "duplicate label X (first defined in line 1)");
    EXPECT_EQ(onlyError("X EQU X+1\n"), "undefined symbol X");
    // An address that depends on itself never settles: reported, not looped on.
    EXPECT_EQ(onlyError("\tORG 1-LP\nLP:\tNOP\n"), "the value of LP does not settle (circular definition)");
    EXPECT_EQ(onlyError("MOV:\tNOP\n"), "MOV is a reserved word and cannot be a label");
}

TEST(AsmDirectives, CodeMustFitTheAddressSpaceOnce)
{
    EXPECT_EQ(onlyError("\tORG 0FFFEh\n\tJMP 0\n"), "code runs past address FFFFh");
    EXPECT_EQ(onlyError("\tDB 1,2\n\tORG 1\n\tDB 3\n"), "address 0001h is assembled twice");
    EXPECT_EQ(onlyError("\tORG 0FFF0h\n\tDS 20h\n"), "DS size out of range: 32 (20h)");
    // Sizes that would wrap the location counter if they were added first.
    struct Huge {
        const char* source;
        const char* error;
    };
    const Huge huge[] = {
        {"\tDS (7FFFFFFFh SHL 32) OR 0FFFFFFFFh\n\tDB 1\n",
         "DS size out of range: 9223372036854775807 (7FFFFFFFFFFFFFFFh)"},
        {"\tORG 1\n\tDS (7FFFFFFFh SHL 32) OR 0FFFFFFFFh\n\tNOP\n",
         "DS size out of range: 9223372036854775807 (7FFFFFFFFFFFFFFFh)"},
        {"\tDS 10001h\n", "DS size out of range: 65537 (10001h)"},
    };
    for (const Huge& h : huge) {
        SCOPED_TRACE(h.source);
        EXPECT_EQ(onlyError(h.source), h.error);
        const auto r = ostrovik::asm8080::assemble(h.source);
        EXPECT_NE(r.listing.find(std::string("*** Error: ") + h.error), std::string::npos) << r.listing;
    }
    EXPECT_EQ(ostrovik::asm8080::assemble("\tDS 10000h\n").errors.size(), 0u);
    auto r = ostrovik::asm8080::assemble("\tORG 0FFFFh\n\tRST 7\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.origin, 0xFFFF);
    EXPECT_EQ(r.bytes, Bytes{0xFF});
}

TEST(AsmDirectives, EmptySourceGivesAnEmptyImage)
{
    auto r = ostrovik::asm8080::assemble("");
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.bytes.empty());
    EXPECT_TRUE(ostrovik::asm8080::assemble("; only a comment\n\n   \nHERE:\n").bytes.empty());
}

TEST(AsmDirectives, MemoryStaysAFewTimesTheSourceSize)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's own bookkeeping swamps the figure";
#endif
    const auto peakBytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
    };
    // Eight megabytes of lines that each hold a few tokens and a comment.
    const std::string line = "\tORG 1234h+5\t; the same place once more\n";
    std::string source;
    while (source.size() < (8u << 20))
        source += line;
    const std::size_t before = peakBytes();
    const auto r = ostrovik::asm8080::assemble(source);
    const std::size_t grown = peakBytes() - before;
    EXPECT_TRUE(r.ok());
    EXPECT_LT(grown, 6 * source.size()) << "peak grew by " << grown << " bytes";
}
