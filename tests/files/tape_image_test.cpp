#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "files/Snapshot.hpp"
#include "files/TapeImage.hpp"

using namespace ostrovik::files;

TEST(TapeImage, HeaderBytesAreLittleEndianAtTheirOffsets)
{
    LvtHeader h;
    h.tapeName = {'G', 'A', 'M', 'E', ' ', '1'};
    h.startAddr = 0x1234;
    h.endAddr = 0xABCD;
    h.runAddr = 0x0102;
    const auto bytes = serialiseLvtHeader(h);
    const std::vector<std::uint8_t> expected = {'R', 'I', 'Z', 'I', '/', '2', '.', '0', '/', 0xD0, 'G',
                                                'A', 'M', 'E', ' ', '1', 0x34, 0x12, 0xCD, 0xAB, 0x02, 0x01};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);

    const auto back = parseLvtHeader(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->signature, h.signature);
    EXPECT_EQ(back->fileType, 0xD0);
    EXPECT_EQ(back->tapeName, h.tapeName);
    EXPECT_EQ(back->startAddr, 0x1234);
    EXPECT_EQ(back->endAddr, 0xABCD);
    EXPECT_EQ(back->runAddr, 0x0102);

    EXPECT_FALSE(parseLvtHeader(std::span<const std::uint8_t>(bytes).first(21)));
}

TEST(TapeImage, MagicsAreCaseSensitiveAndNeedAllTheirBytes)
{
    const auto bytes = [](std::string_view s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    EXPECT_TRUE(hasLvtSignature(bytes("RIZI/2.0/\xD0")));
    EXPECT_FALSE(hasLvtSignature(bytes("rizi/2.0/\xD0")));
    EXPECT_FALSE(hasLvtSignature(bytes("RIZI/2.0")));
    EXPECT_TRUE(hasSavSignature(bytes("RIZI/DUMP/2.0/H+")));
    // Only the first nine characters count.
    EXPECT_TRUE(hasSavSignature(bytes("RIZI/DUMPxxxxxxx")));
    EXPECT_FALSE(hasSavSignature(bytes("RIZI/Dump/2.0/H+")));
    EXPECT_FALSE(hasSavSignature(bytes("RIZI/DUM")));
}

TEST(Snapshot, FieldsLandAtTheirOffsetsAndParseBack)
{
    auto s = std::make_unique<SavSnapshot>();
    for (std::size_t i = 0; i < s->ram.size(); ++i)
        s->ram[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    for (std::size_t i = 0; i < s->videoRam.size(); ++i)
        s->videoRam[i] = static_cast<std::uint8_t>(i * 3);
    for (std::size_t i = 0; i < s->ports.size(); ++i)
        s->ports[i] = static_cast<std::uint8_t>(255 - i);
    s->B = 1, s->C = 2, s->D = 3, s->E = 4, s->H = 5, s->L = 6, s->A = 7, s->F = 8;
    s->SP = 0xAFC1;
    s->PC = 0x1054;

    std::vector<std::uint8_t> file(kSavSize, 0xEE);
    serialiseSavSnapshot(*s, std::span<std::uint8_t, kSavSize>(file.data(), kSavSize));
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "RIZI/DUMP/2.0/H+");
    EXPECT_EQ(file[16], 0);
    EXPECT_EQ(file[17], s->ram[0]);
    EXPECT_EQ(file[17 + 0xFFFF], s->ram[0xFFFF]);
    EXPECT_EQ(file[65553], s->videoRam[0]);
    EXPECT_EQ(file[65553 + 16383], s->videoRam[16383]);
    EXPECT_EQ(file[81937], 255);
    EXPECT_EQ(file[81937 + 255], 0);
    const std::vector<std::uint8_t> tail(file.begin() + 82193, file.end());
    EXPECT_EQ(tail, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 0xC1, 0xAF, 0x54, 0x10}));

    auto back = std::make_unique<SavSnapshot>();
    parseSavSnapshot(std::span<const std::uint8_t, kSavSize>(file.data(), kSavSize), *back);
    EXPECT_EQ(back->signature, s->signature);
    EXPECT_EQ(back->ram, s->ram);
    EXPECT_EQ(back->videoRam, s->videoRam);
    EXPECT_EQ(back->ports, s->ports);
    EXPECT_EQ(back->F, 8);
    EXPECT_EQ(back->SP, 0xAFC1);
    EXPECT_EQ(back->PC, 0x1054);
}
