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

void Machine::resetPortsAndCpu()
{
    ports.fill(0xFF);
    initCpu();
}

void Machine::loadBios()
{
    const std::string path = programDir.empty() ? std::string("bios.dat") : programDir + "/bios.dat";
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
    const std::uint64_t window = std::min<std::uint64_t>(size, biosBuffer.size());
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
            biosBuffer[static_cast<std::uint16_t>(offset + static_cast<std::uint64_t>(i))] = chunk[static_cast<std::size_t>(i)];
        offset += static_cast<std::uint64_t>(n);
    }
    for (int i = 0; i < 0x4000; ++i)
        ram[0xC000 + i] = biosBuffer[kBiosHeader + i];
}

void Machine::warmStart()
{
    ports[0xC2] = 0xFF;
    regSP = warmStartSP;
    writeMemoryWord(warmStartSP, warmStartPC);
    regPC = warmStartPC;
}

void Machine::coldReset()
{
    host_.clearLog();
    regB = regC = regD = regE = regH = regL = regA = regF = regPC = regSP = clock = 0;
    paused = 0;
    tickDivisor = 50;
    flagS = 0x80;
    flagZ = 0x40;
    flagAC = 0x10;
    flagP = 0x04;
    flag1 = 0x02;
    flagCY = 0x01;
    warmStartSP = 0xAFC1;
    warmStartPC = 0x02FD;
    basicStartVar = 0x0243;
    basicEndVar = 0x0245;
    invalidateScreen();
    // The machine's constant is single precision; the quotient is rounded
    // half to even.
    cyclesPerTick = static_cast<std::int32_t>(
        std::nearbyint(static_cast<long double>(2822400.0f) / tickDivisor));
    clearMemory();
    resetPortsAndCpu();
    loadBios();
    host_.setCaption("Ostrovik");
    if (!commandLineFile.empty()) {
        const std::string file = commandLineFile;
        runOpcodes(kQuickStartBudget);
        host_.setCaption("Ostrovik:" + file);
        host_.setCurrentFileName(file);
        // Emptied before the load so that a failing load is not retried by
        // every later reset.
        commandLineFile.clear();
        host_.loadFile(file, true);
    } else {
        runOpcodes(host_.quickRun() ? kQuickStartBudget : cyclesPerTick);
    }
}

} // namespace ostrovik::machine
