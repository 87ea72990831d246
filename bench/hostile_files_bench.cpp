// What bad input costs: a ROM image of eight gigabytes, forty settings
// reads of a 100 MB config.ini (and of one just under the size limit), and
// a 30 MB assembler source (time and peak memory against its size).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include <sys/resource.h>
#include <unistd.h>

#include "asm8080/Assembler.hpp"
#include "machine/Machine.hpp"
#include "platform/IniFile.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

std::size_t peakBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

void sparseFile(const std::filesystem::path& path, std::uintmax_t size, const std::string& head)
{
    std::ofstream(path, std::ios::binary) << head;
    std::filesystem::resize_file(path, size);
}

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / ("ostrovik-hostile-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);

    {
        sparseFile(dir / "bios.dat", 8ull << 30, std::string(22, 'H'));
        ostrovik::machine::NullHost host;
        ostrovik::machine::Machine m(host);
        m.programDir = dir.string();
        const auto t0 = Clock::now();
        m.loadBios();
        const double ms = msSince(t0);
        std::printf("%-52s %9.2f ms   target %6.0f ms   %s\n", "bios.dat of 8 GB, one load", ms, 50.0,
                    ms < 50 ? "ok" : "OVER");
    }
    for (const auto& [what, size, setReads] :
         {std::tuple{"config.ini of 100 MB, 40 reads", std::uintmax_t(100) << 20, 0},
          std::tuple{"config.ini of 1 MB, 40 reads", std::uintmax_t(1000) << 10, 40}}) {
        const auto ini = dir / "config.ini";
        sparseFile(ini, size, "[AutoStartUpOptions]\r\nGray=1\r\n;");
        const auto t0 = Clock::now();
        int ones = 0;
        for (int i = 0; i < 40; ++i)
            ones += ostrovik::platform::readIni(ini, "AutoStartUpOptions", "Gray") == "1";
        const double ms = msSince(t0);
        // A file under the limit that reads as defaults was never read: no figure.
        if (ones != setReads) {
            std::fprintf(stderr, "%s: %d of 40 reads found the key, not %d\n", what, ones, setReads);
            std::filesystem::remove_all(dir);
            return 1;
        }
        std::printf("%-52s %9.2f ms   target %6.0f ms   %s (%d read as set)\n", what, ms, 200.0,
                    ms < 200 ? "ok" : "OVER", ones);
    }
    {
        const std::string line = "\tORG 1234h+5\t; the same place once more\n";
        std::string source;
        while (source.size() < (30u << 20))
            source += line;
        const std::size_t before = peakBytes();
        const auto t0 = Clock::now();
        const auto result = ostrovik::asm8080::assemble(source);
        const double s = msSince(t0) / 1000;
        const double ratio = static_cast<double>(peakBytes() - before) / static_cast<double>(source.size());
        std::printf("%-52s %9.2f s    memory %.1f x the source   target 6 x   %s (%zu errors)\n",
                    "assembler, 30 MB source", s, ratio, ratio < 6 ? "ok" : "OVER", result.errors.size());
    }
    std::filesystem::remove_all(dir);
    return 0;
}
