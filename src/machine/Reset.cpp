#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {
constexpr std::int32_t kQuickStartBudget = 20'000'000;
constexpr int kBiosHeader = 22;
} // namespace

void Machine::reset1()
{
    Ports.fill(0xFF);
    i8080_init();
}

void Machine::load_bios()
{
    const std::string path = ProgramDir.empty() ? std::string("bios.dat") : ProgramDir + "/bios.dat";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        throw std::runtime_error("Cannot open the ROM image " + path + ": " + std::strerror(errno));
    // Byte n of the file lands in byte n mod 65,536 of the scratch buffer.
    std::uint16_t at = 0;
    std::array<std::uint8_t, 4096> chunk;
    std::size_t n;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), f)) > 0)
        for (std::size_t i = 0; i < n; ++i)
            BiosBuf[at++] = chunk[i];
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed)
        throw std::runtime_error("Cannot read the ROM image " + path + ": " + std::strerror(err));
    for (int i = 0; i < 0x4000; ++i)
        RAM[0xC000 + i] = BiosBuf[kBiosHeader + i];
}

void Machine::warm_start()
{
    Ports[0xC2] = 0xFF;
    r_SP = WarmSP;
    set_var(WarmSP, WarmPC);
    r_PC = WarmPC;
}

void Machine::ResetComp()
{
    host_.clearLog();
    r_B = r_C = r_D = r_E = r_H = r_L = r_A = r_F = r_PC = r_SP = clock = 0;
    Paused = 0;
    TickDivisor = 50;
    flag_S = 0x80;
    flag_Z = 0x40;
    flag_AC = 0x10;
    flag_P = 0x04;
    flag_1 = 0x02;
    flag_CY = 0x01;
    WarmSP = 0xAFC1;
    WarmPC = 0x02FD;
    BasicStartVar = 0x0243;
    BasicEndVar = 0x0245;
    invalidateScreen();
    // The machine's constant is single precision; the quotient is rounded
    // half to even.
    CyclesPerTick = static_cast<std::int32_t>(
        std::nearbyint(static_cast<long double>(2822400.0f) / TickDivisor));
    init_memory();
    reset1();
    load_bios();
    host_.setCaption("Ostrovik");
    if (!CmdLineFile.empty()) {
        const std::string file = CmdLineFile;
        i8080_do_opcodes(kQuickStartBudget);
        host_.setCaption("Ostrovik:" + file);
        host_.setOpenDialogFileName(file);
        // Emptied before the load so that a failing load is not retried by
        // every later reset.
        CmdLineFile.clear();
        host_.loadFile(file, true);
    } else {
        i8080_do_opcodes(host_.quickRun() ? kQuickStartBudget : CyclesPerTick);
    }
}

} // namespace ostrovik::machine
