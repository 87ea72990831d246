// Speed of the 8080 interpreter.
//
//   cpu_bench            runs a built-in instruction mix and the quick start
//   cpu_bench FILE.COM   runs a CP/M program, printing its console output
//
// Everything runs through the machine's own memory map (readByte/writeByte).

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "machine/Machine.hpp"
#include "machine/OpcodeTable.hpp"

namespace {

using ostrovik::machine::kOpcodeTable;
using ostrovik::machine::Machine;
using ostrovik::machine::NullHost;
using Clock = std::chrono::steady_clock;

/// A tiny assembler over the opcode table: enough to write the mix readably.
class Emitter {
public:
    explicit Emitter(std::uint16_t org) : org_(org) {}

    void label(const std::string& name) { labels_[name] = here(); }
    /// An instruction with no operand bytes: "MOV A,M".
    void op(std::string_view form) { put(opcode(form)); }
    /// An instruction whose last operand is d8/p8/d16/a16.
    void op(std::string_view form, unsigned value)
    {
        const int op = opcode(form);
        put(op);
        put(value & 0xFF);
        if (kOpcodeTable[op].length == 3)
            put((value >> 8) & 0xFF);
    }
    /// An instruction whose a16/d16 operand is a label, resolved at the end.
    void op(std::string_view form, const std::string& target)
    {
        put(opcode(form));
        fixups_.push_back({bytes_.size(), target});
        put(0);
        put(0);
    }
    std::vector<std::uint8_t> finish()
    {
        for (const auto& [at, name] : fixups_) {
            const auto it = labels_.find(name);
            if (it == labels_.end())
                throw std::runtime_error("undefined label " + name);
            bytes_[at] = it->second & 0xFF;
            bytes_[at + 1] = it->second >> 8;
        }
        return bytes_;
    }

private:
    static int opcode(std::string_view form)
    {
        for (int i = 0; i < 256; ++i)
            if (!kOpcodeTable[i].undocumented && kOpcodeTable[i].mnemonic == form)
                return i;
        throw std::runtime_error("no opcode " + std::string(form));
    }
    std::uint16_t here() const { return static_cast<std::uint16_t>(org_ + bytes_.size()); }
    void put(unsigned b) { bytes_.push_back(static_cast<std::uint8_t>(b)); }

    std::uint16_t org_;
    std::vector<std::uint8_t> bytes_;
    std::map<std::string, std::uint16_t> labels_;
    std::vector<std::pair<std::size_t, std::string>> fixups_;
};

/// A machine with empty memory in the all-RAM view, as after a cold reset
/// without a ROM image.
void powerOn(Machine& m)
{
    m.clearMemory();
    m.ports.fill(0xFF);
    m.initCpu();
}

void place(Machine& m, std::uint16_t at, const std::vector<std::uint8_t>& code)
{
    for (std::size_t i = 0; i < code.size(); ++i)
        m.writeByte(at + i, code[i]);
}

/// Block copies with a transform, a checksum loop, a shift-and-add multiply,
/// stack traffic, direct loads and stores and decimal arithmetic, for ever.
std::vector<std::uint8_t> instructionMix()
{
    Emitter e(0x0100);
    e.op("LXI SP,d16", 0xBF00);
    e.op("LXI H,d16", 0x2000);
    e.op("MVI B,d8", 0);
    e.op("MVI A,d8", 17);
    e.label("fill");
    e.op("MOV M,A");
    e.op("ADI d8", 13);
    e.op("INX H");
    e.op("DCR B");
    e.op("JNZ a16", std::string("fill"));

    e.label("outer");
    e.op("LXI H,d16", 0x2000);
    e.op("LXI D,d16", 0x3000);
    e.op("MVI C,d8", 0);
    e.label("copy");
    e.op("MOV A,M");
    e.op("XRI d8", 0x5A);
    e.op("STAX D");
    e.op("INX H");
    e.op("INX D");
    e.op("DCR C");
    e.op("JNZ a16", std::string("copy"));
    e.op("CALL a16", std::string("checksum"));
    e.op("CALL a16", std::string("multiply"));
    e.op("PUSH H");
    e.op("PUSH B");
    e.op("LHLD a16", 0x4000);
    e.op("INX H");
    e.op("SHLD a16", 0x4000);
    e.op("POP B");
    e.op("POP H");
    e.op("LDA a16", 0x4002);
    e.op("INR A");
    e.op("STA a16", 0x4002);
    e.op("ANI d8", 3);
    e.op("CZ a16", std::string("decimal"));
    e.op("JMP a16", std::string("outer"));

    // A (checksum of 3000h..30FFh) and E (carries).
    e.label("checksum");
    e.op("LXI H,d16", 0x3000);
    e.op("MVI B,d8", 0);
    e.op("XRA A");
    e.op("MOV E,A");
    e.label("ck");
    e.op("ADD M");
    e.op("JNC a16", std::string("nc"));
    e.op("INR E");
    e.label("nc");
    e.op("INX H");
    e.op("DCR B");
    e.op("JNZ a16", std::string("ck"));
    e.op("MOV D,A");
    e.op("RET");

    // HL := D * E.
    e.label("multiply");
    e.op("LXI H,d16", 0);
    e.op("MVI B,d8", 8);
    e.op("MOV C,D");
    e.op("MVI D,d8", 0);
    e.label("ml");
    e.op("DAD H");
    e.op("MOV A,C");
    e.op("RAL");
    e.op("MOV C,A");
    e.op("JNC a16", std::string("skip"));
    e.op("DAD D");
    e.label("skip");
    e.op("DCR B");
    e.op("JNZ a16", std::string("ml"));
    e.op("RET");

    e.label("decimal");
    e.op("LDA a16", 0x4003);
    e.op("ADI d8", 1);
    e.op("DAA");
    e.op("STA a16", 0x4003);
    e.op("RET");
    return e.finish();
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

int runMix()
{
    NullHost host;
    Machine m(host);
    powerOn(m);
    place(m, 0x0100, instructionMix());
    m.regPC = 0x0100;

    // Warm up, then run tick-sized budgets as the run loop does, in segments:
    // the best segment shows the interpreter's speed on a busy machine, the
    // median what a typical moment gives.
    m.runOpcodes(20'000'000);
    const std::int32_t tick = m.cyclesPerTick;
    constexpr int kSegments = 20, kTicksPerSegment = 2'000;
    std::vector<double> mhz;
    std::int64_t total = 0;
    double totalSeconds = 0;
    for (int s = 0; s < kSegments; ++s) {
        std::int64_t tstates = 0;
        const auto t0 = Clock::now();
        for (int i = 0; i < kTicksPerSegment; ++i) {
            m.runOpcodes(tick);
            tstates += m.clock;
        }
        const double secs = seconds(Clock::now() - t0);
        mhz.push_back(tstates / secs / 1e6);
        total += tstates;
        totalSeconds += secs;
    }
    if (total == 0) {
        std::fprintf(stderr, "cpu_bench: the instruction mix ran no T-states\n");
        return 1;
    }
    std::sort(mhz.begin(), mhz.end());
    std::printf("instruction mix: %lld T-states in %.3f s = %.0f emulated MHz overall; "
                "best %.0f, median %.0f (%d segments of %d ticks of %d T-states)\n",
                static_cast<long long>(total), totalSeconds, total / totalSeconds / 1e6, mhz.back(),
                mhz[kSegments / 2], kSegments, kTicksPerSegment, tick);

    // The quick start: one run of 20,000,000 T-states; best of five.
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto q0 = Clock::now();
        m.runOpcodes(20'000'000);
        best = std::min(best, seconds(Clock::now() - q0));
    }
    std::printf("quick start: 20,000,000 T-states in %.2f ms (best of 5) = %.0f emulated MHz\n",
                best * 1e3, 20e6 / best / 1e6);
    return 0;
}

/// The BDOS stub and the exit at 0000h both end in an OUT to the C2
/// bit-command port, which reaches the beeper hook with the registers
/// current; the hook serves the call by where it came from.
constexpr std::uint16_t kBdos = 0xBF00;
constexpr std::uint16_t kBdosOut = kBdos + 3;
constexpr std::uint16_t kExit = 0xBF10;
constexpr std::uint16_t kExitOut = kExit + 2;

class CpmConsole : public ostrovik::machine::SoundSink {
public:
    explicit CpmConsole(Machine& m) : machine_(m) {}
    void putSound(int) override
    {
        if (machine_.regPC == kExitOut) {
            done = true;
            exitClock = machine_.clock;
            return;
        }
        if (machine_.regPC != kBdosOut)
            return;
        if (machine_.regC == 2) {
            out += static_cast<char>(machine_.regE);
        } else if (machine_.regC == 9) {
            // Bounded so that a missing '$' cannot run for ever.
            std::uint32_t at = (machine_.regD << 8) | machine_.regE;
            for (int n = 0; n < 65536; ++n, ++at) {
                const char ch = static_cast<char>(machine_.readByte(at));
                if (ch == '$')
                    break;
                out += ch;
            }
        }
    }
    bool done = false;
    std::int32_t exitClock = 0;
    std::string out;

private:
    Machine& machine_;
};

int runCpm(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cpu_bench: cannot open %s\n", path);
        return 1;
    }
    const std::vector<std::uint8_t> program{std::istreambuf_iterator<char>(in), {}};
    if (program.empty() || program.size() > kBdos - 0x0100) {
        std::fprintf(stderr, "cpu_bench: %s must hold 1 to %d bytes\n", path, kBdos - 0x0100);
        return 1;
    }

    NullHost host;
    Machine m(host);
    powerOn(m);
    CpmConsole console(m);
    m.setSoundSink(&console);
    place(m, 0x0000, {0xC3, kExit & 0xFF, kExit >> 8});          // JMP exit
    place(m, 0x0005, {0xC3, kBdos & 0xFF, kBdos >> 8});          // JMP bdos
    place(m, kBdos, {0xF5, 0x3E, 0x03, 0xD3, 0xC3, 0xF1, 0xC9}); // PUSH PSW; MVI A,3; OUT C3h; POP PSW; RET
    place(m, kExit, {0x3E, 0x03, 0xD3, 0xC3, 0xC3, (kExit + 4) & 0xFF, kExit >> 8}); // MVI A,3; OUT C3h; JMP $
    place(m, 0x0100, program);
    m.regPC = 0x0100;
    m.regSP = kBdos;

    std::int64_t tstates = 0;
    std::size_t shown = 0;
    const auto t0 = Clock::now();
    while (!console.done) {
        m.runOpcodes(m.cyclesPerTick);
        tstates += console.done ? console.exitClock : m.clock;
        if (console.out.size() > shown) {
            std::fwrite(console.out.data() + shown, 1, console.out.size() - shown, stdout);
            std::fflush(stdout);
            shown = console.out.size();
        }
    }
    const double s = seconds(Clock::now() - t0);
    std::printf("\n%s: %lld T-states in %.6f s = %.0f emulated MHz\n", path, static_cast<long long>(tstates),
                s, tstates / s / 1e6);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return argc > 1 ? runCpm(argv[1]) : runMix();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cpu_bench: %s\n", e.what());
        return 1;
    }
}
