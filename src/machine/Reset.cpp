#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const auto fail = [&path](const std::string& why) {
        return std::runtime_error("Cannot open the ROM image " + path + ": " + why);
    };
    // Non-blocking, so that a FIFO put in its place cannot hold the window up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw fail(std::strerror(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw fail(std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        throw fail(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        throw fail("not a regular file");
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size < kBiosHeader + 1)
        throw fail("the file holds " + std::to_string(size) + " bytes, too few for a ROM image");
    // Byte n of the file lands in byte n mod 65,536 of the scratch buffer, so
    // only the last 65,536 bytes of a longer file leave their mark on it.
    const std::uint64_t window = std::min<std::uint64_t>(size, BiosBuf.size());
    std::uint64_t offset = size - window;
    std::array<std::uint8_t, 4096> chunk;
    while (offset < size) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - offset));
        const ssize_t n = ::pread(fd, chunk.data(), want, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("Cannot read the ROM image " + path + ": " + std::strerror(errno));
        }
        if (n == 0)
            break; // shrunk while being read: what was there is what counts
        for (ssize_t i = 0; i < n; ++i)
            BiosBuf[static_cast<std::uint16_t>(offset + static_cast<std::uint64_t>(i))] = chunk[static_cast<std::size_t>(i)];
        offset += static_cast<std::uint64_t>(n);
    }
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
