#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "FilesTestSupport.hpp"
#include "files/LoadFile.hpp"
#include "files/Snapshot.hpp"

using namespace ostrovik;
using namespace ostrovik::files;
using namespace ostrovik::files::test;

namespace {

/// A file that starts like one the loader knows (or nearly so), then random
/// bytes; sizes cluster around the limits that matter.
std::vector<std::uint8_t> randomFile(std::mt19937& rng)
{
    static constexpr std::size_t kSizes[] = {0, 1, 9, 15, 16, 17, 21, 22, 23, 24, 100, 4096,
                                             65557, 65558, 65559, kSavSize - 1, kSavSize, 90003, 90004, 90005};
    std::size_t size = kSizes[rng() % std::size(kSizes)];
    if (rng() % 3 == 0)
        size = rng() % 91000;
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(rng());
    static constexpr std::string_view kHeads[] = {"RIZI/2.0/\xD0", "RIZI/2.0/", "RIZI/DUMP/2.0/H+", "RIZI/DUM",
                                                  "rizi/2.0/", ""};
    const std::string_view head = kHeads[rng() % std::size(kHeads)];
    std::copy_n(head.begin(), std::min(head.size(), bytes.size()), bytes.begin());
    return bytes;
}

TEST(LoadFuzz, RandomAndTruncatedFilesNeverReachPastABuffer)
{
    TempDir dir;
    TestHost host;
    auto m = std::make_unique<machine::Machine>(host);
    std::mt19937 rng(20240303);
    const std::string name = dir.file("fuzz.lvt");
    for (int round = 0; round < 300; ++round) {
        const auto bytes = randomFile(rng);
        // Every prefix length class of the same file: truncation at any point.
        for (const std::size_t cut : {bytes.size(), bytes.size() / 2, std::size_t{23}, std::size_t{22}}) {
            if (cut > bytes.size())
                continue;
            writeFile(name, std::span(bytes).first(cut));
            host.options[machine::Option::RunBasic] = rng() % 8 == 0 ? "1" : "0";
            host.options[machine::Option::Patch058C] = rng() % 2 ? "1" : "0";
            m->writeMemoryWord(m->basicStartVar, static_cast<int>(rng()));
            m->ports[0xC2] = static_cast<std::uint8_t>(rng());
            host.messages.clear();
            newLoadFile(*m, name, rng() % 2 == 0);
            if (cut < 23 || cut > machine::Machine::kTapeBufferSize)
                EXPECT_EQ(host.messages.size(), 1u) << "size " << cut;
            else
                EXPECT_TRUE(host.messages.empty()) << "size " << cut;
            EXPECT_LE(m->tapeLength, static_cast<std::int32_t>(machine::Machine::kTapeBufferSize));
        }
    }
}

} // namespace
