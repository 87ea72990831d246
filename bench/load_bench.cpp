// A BASIC load with the automatic RUN: reading the image, storing it, and the
// 960,000 T-states of typed RUN and Enter. Target: under 5 ms a load.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "files/LoadFile.hpp"
#include "machine/Machine.hpp"

namespace {

class BenchHost : public ostrovik::machine::NullHost {
public:
    std::string option(ostrovik::machine::Option which) const override
    {
        return which == ostrovik::machine::Option::RunBasic ? "1" : "0";
    }
};

// Polls the keyboard rows and logs every change, as a program waiting for
// input does: port traffic, logic and branches.
const std::vector<std::uint8_t> kProgram = {
    0x21, 0x00, 0x20, 0x0E, 0x00, 0x3E, 0xDB, 0xD3, 0xD0, 0xDB, 0xD1, 0x2F, 0xE6, 0x49,
    0x47, 0x3E, 0xFD, 0xD3, 0xD0, 0xDB, 0xD1, 0x2F, 0xE6, 0x08, 0x07, 0x07, 0x07, 0x07,
    0xB0, 0xB9, 0xCA, 0x59, 0x10, 0x4F, 0x77, 0x23, 0xC3, 0x59, 0x10,
};

} // namespace

int main()
{
    const auto path = std::filesystem::temp_directory_path() / "ostrovik-load-bench.lvt";
    {
        std::vector<std::uint8_t> image = {'R', 'I', 'Z', 'I', '/', '2', '.', '0', '/', 0xD3, 'B', 'E', 'N', 'C', 'H', ' '};
        image.insert(image.end(), kProgram.begin(), kProgram.end());
        image.resize(image.size() + 2000, 0x00); // NOPs after the loop, a program of some size
        image.push_back(0x00);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()),
                                                    static_cast<std::streamsize>(image.size()));
    }

    BenchHost host;
    auto m = std::make_unique<ostrovik::machine::Machine>(host);
    m->ports.fill(0xFF);
    constexpr int kLoads = 200;
    std::int64_t tstates = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLoads; ++i) {
        m->writeMemoryWord(m->basicStartVar, 0x1054);
        ostrovik::files::newLoadFile(*m, path.string(), true);
        tstates += m->clock;
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    std::filesystem::remove(path);
    // A refused image would load in no time: the program must be in memory
    // and the typed RUN must have run the CPU.
    if (tstates == 0 || !std::equal(kProgram.begin(), kProgram.end(), m->ram.begin() + 0x1054)) {
        std::fprintf(stderr, "the image was not loaded and run\n");
        return 1;
    }

    std::printf("BASIC load with automatic RUN: %.3f ms a load (target < 5 ms), %d loads\n",
                elapsed.count() / kLoads, kLoads);
    std::printf("last run of each load: %lld T-states on average (100,000 when the CPU runs)\n",
                static_cast<long long>(tstates / kLoads));
    return 0;
}
