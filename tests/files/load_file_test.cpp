#include <cerrno>
#include <cstring>
#include <optional>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileFaults.hpp"
#include "FilesTestSupport.hpp"
#include "files/LoadFile.hpp"
#include "files/Snapshot.hpp"
#include "games/GameLibrary.hpp"
#include "machine/EmulatorControl.hpp"
#include "machine/RomTraps.hpp"
#include "support/TestEmulator.hpp"

using namespace ostrovik;
using namespace ostrovik::files;
using namespace ostrovik::files::test;

namespace {

class LoadFileTest : public ::testing::Test {
protected:
    TempDir dir;
    TestHost host;
    std::unique_ptr<machine::Machine> m = std::make_unique<machine::Machine>(host);

    void SetUp() override
    {
        // As after a cold reset: latches high, a recognisable ROM area.
        m->ports.fill(0xFF);
        for (int a = 0xC000; a <= 0xFFFF; ++a)
            m->ram[a] = static_cast<std::uint8_t>(a * 5 + 1);
        m->writeMemoryWord(m->basicStartVar, 0x2000);
        m->regA = 0x11, m->regB = 0x22, m->regPC = 0x4321, m->regSP = 0x8765;
    }

    std::string put(const std::string& name, std::span<const std::uint8_t> bytes)
    {
        return writeFile(dir.file(name), bytes);
    }

    /// Everything a refused or ignored load must leave alone.
    struct State {
        std::array<std::uint8_t, 65536> ram;
        std::array<std::uint8_t, 16384> vram;
        std::array<std::uint8_t, 256> ports;
        std::array<std::uint8_t, machine::Machine::kTapeBufferSize> tape;
        std::int32_t tapeLength, pc, sp, a;
        bool operator==(const State&) const = default;
    };
    std::unique_ptr<State> state() const
    {
        return std::make_unique<State>(
            State{m->ram, m->videoRam, m->ports, m->tapeBuffer, m->tapeLength, m->regPC, m->regSP, m->regA});
    }
};

TEST_F(LoadFileTest, SmallMissingOrFolderGivesTheMessageAndChangesNothing)
{
    const auto image22 = machineCodeTape(0x3000, 0x3000, 0x3000, {});
    std::filesystem::create_directory(dir.file("folder.lvt"));
    const std::string names[] = {put("short.lvt", image22), put("empty.lvt", {}), dir.file("missing.lvt"),
                                 dir.file("folder.lvt")};
    const auto before = state();
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        host.messages.clear();
        newLoadFile(*m, name, true);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], "File is very small or not found !!!");
        EXPECT_TRUE(*state() == *before);
    }
}

TEST_F(LoadFileTest, TwentyThreeBytesIsEnough)
{
    const std::uint8_t data[] = {0x5A};
    newLoadFile(*m, put("one.lvt", machineCodeTape(0x3000, 0x3000, 0x3000, data)), true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m->tapeLength, 23);
    EXPECT_EQ(m->ram[0x3000], 0x5A);
    EXPECT_EQ(m->regPC, 0x3000);
}

TEST_F(LoadFileTest, UnknownHeaderIsIgnoredWithoutAMessage)
{
    auto lower = machineCodeTape(0x3000, 0x3001, 0x3000, pattern(40, 1));
    lower[0] = 'r';
    auto dump = std::vector<std::uint8_t>(100, 0x33);
    std::copy_n("Rizi/DUMP", 9, dump.begin());
    const auto before = state();
    newLoadFile(*m, put("lower.lvt", lower), true);
    newLoadFile(*m, put("dump.sav", dump), true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(*state() == *before);
    EXPECT_EQ(host.presented, 0);
}

TEST_F(LoadFileTest, ContentDecidesNotTheExtension)
{
    const std::uint8_t data[] = {1, 2};
    newLoadFile(*m, put("tape.sav", machineCodeTape(0x3000, 0x3001, 0x3000, data)), true);
    EXPECT_EQ(m->ram[0x3001], 2);
    EXPECT_EQ(m->tapeLength, 24);

    auto s = std::make_unique<SavSnapshot>();
    s->PC = 0x0777;
    std::vector<std::uint8_t> file(kSavSize);
    serialiseSavSnapshot(*s, std::span<std::uint8_t, kSavSize>(file.data(), kSavSize));
    newLoadFile(*m, put("snap.lvt", file), true);
    EXPECT_EQ(m->regPC, 0x0777);
    EXPECT_EQ(host.presented, 1);
}

TEST_F(LoadFileTest, MachineCodeWithAutoStartWarmStartsAndRunsFromItsAddress)
{
    m->ports[0xC2] = 0x00;
    const auto data = pattern(300, 9);
    newLoadFile(*m, put("mc.lvt", machineCodeTape(0x2100, 0x2100 + 299, 0x2180, data)), true);
    EXPECT_EQ(m->tapeLength, 322);
    EXPECT_EQ(m->ports[0xC2], 0xFF);
    EXPECT_EQ(m->regSP, 0xAFC1);
    EXPECT_EQ(m->readMemoryWord(0xAFC1), 0x02FD);
    EXPECT_EQ(m->regPC, 0x2180);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), m->ram.begin() + 0x2100));
    EXPECT_EQ(m->ram[0x2100 + 300], 0);
    EXPECT_EQ(m->regA, 0x11); // only the warm start's registers change
}

TEST_F(LoadFileTest, EndBeforeStartStoresNothingButStillStarts)
{
    const auto data = pattern(64, 3);
    const auto ram = m->ram;
    newLoadFile(*m, put("back.lvt", machineCodeTape(0x3000, 0x2FFF, 0x3000, data)), true);
    EXPECT_EQ(m->regPC, 0x3000);
    auto expected = ram;
    expected[0xAFC1] = 0xFD;
    expected[0xAFC2] = 0x02;
    EXPECT_TRUE(m->ram == expected);

    // A range that would wrap past 0xFFFF is, by its signed difference, empty.
    newLoadFile(*m, put("wrap.lvt", machineCodeTape(0xFFFE, 0x0001, 0x0000, data)), true);
    EXPECT_TRUE(m->ram == expected);
    EXPECT_EQ(m->regPC, 0x0000);
}

TEST_F(LoadFileTest, RangeToTheTopOfMemoryDropsTheRomArea)
{
    const auto data = pattern(0x10000 - 0xBFFC, 0x40);
    const auto rom = std::vector<std::uint8_t>(m->ram.begin() + 0xC000, m->ram.end());
    newLoadFile(*m, put("top.lvt", machineCodeTape(0xBFFC, 0xFFFF, 0xBFFC, data)), true);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 4, m->ram.begin() + 0xBFFC));
    EXPECT_TRUE(std::equal(rom.begin(), rom.end(), m->ram.begin() + 0xC000));
    EXPECT_EQ(m->ram[0x0000], 0); // no wrap to the bottom
    EXPECT_EQ(m->tapeLength, 22 + 0x4004);
}

TEST_F(LoadFileTest, WithoutAutoStartTheCurrentMemoryMapDecides)
{
    m->ports[0xC2] = 0xFD; // bit 1 clear: 0x0000–0x3FFF dropped, 0x4000–0x7FFF is video RAM
    const std::uint8_t low[] = {0xA1, 0xA2, 0xA3, 0xA4};
    const std::uint8_t high[] = {0xB1, 0xB2};
    const auto ram = m->ram;
    newLoadFile(*m, put("low.lvt", machineCodeTape(0x3FFE, 0x4001, 0x3FFE, low)), false);
    newLoadFile(*m, put("high.lvt", machineCodeTape(0x7FFF, 0x8000, 0x7FFF, high)), false);
    EXPECT_EQ(m->videoRam[0], 0xA3);
    EXPECT_EQ(m->videoRam[1], 0xA4);
    EXPECT_EQ(m->videoRam[0x3FFF], 0xB1);
    auto expected = ram;
    expected[0x8000] = 0xB2;
    EXPECT_TRUE(m->ram == expected);
    EXPECT_EQ(m->ports[0xC2], 0xFD);
    EXPECT_EQ(m->regPC, 0x4321);
    EXPECT_EQ(m->regSP, 0x8765);
}

TEST_F(LoadFileTest, ShortestBasicImageLoadsSixBytes)
{
    const std::uint8_t program[] = {1, 2, 3, 4, 5, 6};
    const auto image = basicTape(program, 0x99);
    ASSERT_EQ(image.size(), 23u);
    m->ports[0xC2] = 0x00;
    newLoadFile(*m, put("b.bas", image), false); // a BASIC load starts whatever autoStart says
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m->tapeLength, 22);
    EXPECT_TRUE(std::equal(std::begin(program), std::end(program), m->ram.begin() + 0x2000));
    EXPECT_EQ(m->ram[0x2006], 0); // the file's last byte is not loaded
    EXPECT_EQ(m->readMemoryWord(0x0245), 0x2006);
    EXPECT_EQ(m->ports[0xC2], 0xFF);
    EXPECT_EQ(m->regSP, 0xAFC1);
    EXPECT_EQ(m->readMemoryWord(0xAFC1), 0x02FD);
    EXPECT_EQ(m->regPC, 0x1054);
    EXPECT_EQ(m->ram[0x058C], 0); // the patch is off by default
}

TEST_F(LoadFileTest, BasicKeepsTheReturnAddressDropsRomAndPatchesOnRequest)
{
    host.options[machine::Option::Patch058C] = "1";
    m->writeMemoryWord(m->basicStartVar, 0xAFBF);
    const auto program = pattern(6, 0x60);
    newLoadFile(*m, put("over.lvt", basicTape(program)), true);
    EXPECT_EQ(m->ram[0xAFBF], program[0]);
    EXPECT_EQ(m->ram[0xAFC0], program[1]);
    EXPECT_EQ(m->readMemoryWord(0xAFC1), 0x02FD); // written again after the program
    EXPECT_EQ(m->ram[0xAFC3], program[4]);
    EXPECT_EQ(m->ram[0x058C], 0xAF);

    m->writeMemoryWord(m->basicStartVar, 0xBFFE);
    const auto rom = std::vector<std::uint8_t>(m->ram.begin() + 0xC000, m->ram.end());
    newLoadFile(*m, put("rom.lvt", basicTape(program)), true);
    EXPECT_EQ(m->ram[0xBFFF], program[1]);
    EXPECT_TRUE(std::equal(rom.begin(), rom.end(), m->ram.begin() + 0xC000));
    EXPECT_EQ(m->readMemoryWord(0x0245), 0xC004);
}

TEST_F(LoadFileTest, HeaderPromisingMoreThanTheFileTakesWhatTheBufferHolds)
{
    const auto earlier = pattern(2000, 0x21);
    newLoadFile(*m, put("long.lvt", machineCodeTape(0x5000, 0x5000 + 1999, 0x5000, earlier)), true);
    const auto tape = m->tapeBuffer;

    const auto data = pattern(8, 0xC0);
    newLoadFile(*m, put("short.lvt", machineCodeTape(0x3000, 0x3000 + 99, 0x3000, data)), true);
    EXPECT_EQ(m->tapeLength, 30);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), m->ram.begin() + 0x3000));
    EXPECT_TRUE(std::equal(tape.begin() + 30, tape.begin() + 122, m->ram.begin() + 0x3008));

    // The largest promise a header can make stays inside the tape buffer.
    newLoadFile(*m, put("huge.lvt", machineCodeTape(0x0000, 0xFFFF, 0x0000, data)), true);
    EXPECT_EQ(m->ram[0x0000], data[0]);
    EXPECT_EQ(m->ram[0xBFFF], m->tapeBuffer[22 + 0xBFFF]);
}

TEST_F(LoadFileTest, SnapshotRestoresTheWholeStateAndPresentsAtOnce)
{
    auto s = std::make_unique<SavSnapshot>();
    for (std::size_t i = 0; i < s->ram.size(); ++i)
        s->ram[i] = static_cast<std::uint8_t>(i * 13 + (i >> 9));
    for (std::size_t i = 0; i < s->videoRam.size(); ++i)
        s->videoRam[i] = static_cast<std::uint8_t>(i * 7 + 1);
    s->ports.fill(0xFF);
    s->ports[0xC1] = 0x35; // palette
    s->ports[0xC2] = 0xFD; // memory map: video RAM at 0x4000
    s->B = 0xB0, s->C = 0xC0, s->D = 0xD0, s->E = 0xE0, s->H = 0x80, s->L = 0x70, s->A = 0xA0, s->F = 0x47;
    s->SP = 0x7FF0;
    s->PC = 0x1234;
    std::vector<std::uint8_t> file(kSavSize);
    serialiseSavSnapshot(*s, std::span<std::uint8_t, kSavSize>(file.data(), kSavSize));

    m->tapeLength = 777;
    m->tapePosition = 12;
    m->clock = 999;
    m->paused = 1;
    m->videoShadow.fill(0x0022);
    newLoadFile(*m, put("state.sav", file), false);

    EXPECT_TRUE(m->ram == s->ram); // the ROM area included
    EXPECT_TRUE(m->videoRam == s->videoRam);
    EXPECT_TRUE(m->ports == s->ports);
    EXPECT_EQ(m->readByte(0x4005), s->videoRam[5]);
    EXPECT_EQ((std::array{m->regB, m->regC, m->regD, m->regE, m->regH, m->regL, m->regA, m->regF}),
              (std::array<std::int32_t, 8>{0xB0, 0xC0, 0xD0, 0xE0, 0x80, 0x70, 0xA0, 0x47}));
    EXPECT_EQ(m->regSP, 0x7FF0);
    EXPECT_EQ(m->regPC, 0x1234);
    EXPECT_TRUE(std::all_of(m->videoShadow.begin(), m->videoShadow.end(), [](auto v) { return v == 0x0101; }));
    EXPECT_EQ(host.presented, 1);
    EXPECT_EQ(m->tapeLength, 777);
    EXPECT_EQ(m->tapePosition, 12);
    EXPECT_EQ(m->clock, 999);
    EXPECT_EQ(m->paused, 1);
}

TEST_F(LoadFileTest, ShortSnapshotTakesTheRestFromTheTapeBuffer)
{
    newLoadFile(*m, put("long.lvt", machineCodeTape(0x5000, 0x5000 + 1999, 0x5000, pattern(2000, 0x21))), true);
    const auto tape = m->tapeBuffer;
    std::vector<std::uint8_t> file = pattern(100, 0x90);
    std::copy_n("RIZI/DUMP", 9, file.begin());
    newLoadFile(*m, put("cut.sav", file), true);
    EXPECT_TRUE(std::equal(file.begin() + 17, file.end(), m->ram.begin()));
    EXPECT_TRUE(std::equal(tape.begin() + 100, tape.begin() + 17 + 65536, m->ram.begin() + 83));
    EXPECT_EQ(m->regPC, tape[82203] | tape[82204] << 8);
}

TEST_F(LoadFileTest, FileLongerThanTheTapeBufferIsRefused)
{
    std::vector<std::uint8_t> big(machine::Machine::kTapeBufferSize + 1);
    std::copy_n("RIZI/DUMP/2.0/H+", 16, big.begin());
    const std::string name = put("big.sav", big);
    const auto before = state();
    newLoadFile(*m, name, true);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(name), std::string::npos);
    EXPECT_NE(host.messages[0].find("90004"), std::string::npos);
    EXPECT_TRUE(*state() == *before);
    EXPECT_EQ(host.presented, 0);

    // One byte less fits.
    host.messages.clear();
    const auto fits = basicTape(pattern(machine::Machine::kTapeBufferSize - 17, 5));
    newLoadFile(*m, put("fits.lvt", fits), true);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(m->tapeLength, 90003);
    EXPECT_EQ(m->tapeBuffer.back(), fits.back());
}

TEST_F(LoadFileTest, UnreadableFileThrowsAndLeavesTheMachineAlone)
{
    const std::string name = put("locked.lvt", machineCodeTape(0x3000, 0x3001, 0x3000, pattern(2, 1)));
    struct Way {
        const char* what;
        bool real; ///< the file's own permissions (they do not bind the superuser)
    };
    for (const Way way : {Way{"refused by the open hook", false}, Way{"no read permission", true}}) {
        if (way.real && ::geteuid() == 0)
            continue;
        SCOPED_TRACE(way.what);
        std::optional<platform::ScopedOpenFault> fault;
        if (way.real)
            std::filesystem::permissions(name, std::filesystem::perms::none);
        else
            fault.emplace([name](const std::string& path, bool) { return path == name ? EACCES : 0; });
        const auto before = state();
        try {
            newLoadFile(*m, name, true);
            ADD_FAILURE() << "no error reported";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
            EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos) << e.what();
        }
        EXPECT_TRUE(*state() == *before);
        std::filesystem::permissions(name, std::filesystem::perms::owner_all);
    }
}

TEST(LoadFileRoads, NameSwappedToAFifoAsItOpensIsRefusedWithoutWaiting)
{
    // Each road judges the name first; between that and the open, the link
    // the name stands for is turned to a FIFO that no writer ever opens.
    struct Road {
        const char* what;
        const char* fileName;
        std::function<void(ostrovik::test::TestEmulator&, const std::string& folder, const std::string& link)> load;
    };
    const auto loadTheFile = [](ostrovik::test::TestEmulator& e) {
        e.ui.onLoad = [&e](const std::string& path, bool autoStart) { newLoadFile(e.machine(), path, autoStart); };
    };
    const Road roads[] = {
        {"tape image", "game.lvt",
         [](ostrovik::test::TestEmulator& e, const std::string&, const std::string& link) { newLoadFile(e.machine(), link, true); }},
        {"snapshot", "game.sav",
         [](ostrovik::test::TestEmulator& e, const std::string&, const std::string& link) { newLoadFile(e.machine(), link, true); }},
        {"tape-load trap", "game.lvt",
         [&](ostrovik::test::TestEmulator& e, const std::string&, const std::string& link) {
             loadTheFile(e);
             e.ui.tapeFile = link;
             e.machine().regPC = machine::rom_entry::TapeLoad;
             machine::romTrapStep(e.machine(), 0x00);
         }},
        {"game library Run", "game.lvt",
         [&](ostrovik::test::TestEmulator& e, const std::string& folder, const std::string&) {
             loadTheFile(e);
             const auto path = games::runnableFile(std::filesystem::path(folder).parent_path().string() + "/", "game");
             ASSERT_TRUE(path);
             machine::startProgram(e, {*path, "Ostrovik:" + *path, false});
         }},
    };
    const std::uint8_t data[] = {0x5A, 0xA5};
    const auto tape = machineCodeTape(0x3000, 0x3001, 0x3000, data);
    std::vector<std::uint8_t> snapshot(kSavSize);
    serialiseSavSnapshot(*std::make_unique<SavSnapshot>(), std::span<std::uint8_t, kSavSize>(snapshot.data(), kSavSize));

    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        TempDir dir;
        const std::string folder = dir.file("game");
        std::filesystem::create_directory(folder);
        const std::string real = folder + "/real", fifo = folder + "/fifo";
        const std::string link = folder + "/" + road.fileName;
        const auto& bytes = std::string(road.fileName).ends_with(".sav") ? snapshot : tape;
        writeFile(real, bytes);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::filesystem::create_symlink(real, link);
        std::filesystem::create_symlink(fifo, folder + "/swap");
        platform::ScopedOpenFault swap([&](const std::string& path, bool) {
            std::error_code ec;
            if (path == link)
                std::filesystem::rename(folder + "/swap", link, ec);
            return 0;
        });

        // A load blocked in its open would wait for ever: a writer lets it go
        // once, handing it the file it was after, so that it ends either way.
        std::atomic<bool> loadEnded{false};
        std::thread writer([&] {
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            while (!loadEnded) {
                // Fails with ENXIO while no reader has the FIFO open.
                const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd < 0) {
                    std::this_thread::yield();
                    continue;
                }
                (void)!::write(fd, bytes.data(), bytes.size());
                ::close(fd);
                return;
            }
        });
        auto emulator = std::make_unique<ostrovik::test::TestEmulator>();
        emulator->machine().tapeLength = 7;
        road.load(*emulator, folder, link);
        loadEnded = true;
        writer.join();

        EXPECT_TRUE(std::filesystem::is_fifo(link));
        // As for a FIFO named from the start: refused, and nothing read from it.
        EXPECT_EQ(emulator->ui.messages, std::vector<std::string>{std::string(kMsgTooSmall)});
        EXPECT_EQ(emulator->machine().tapeLength, 7);
        EXPECT_EQ(emulator->machine().ram[0x3000], 0);
    }
}

TEST(FileSizeByName, PlainFilesOnly)
{
    TempDir dir;
    const auto bytes = pattern(1234, 0);
    EXPECT_EQ(fileSizeByName(writeFile(dir.file("a.lvt"), bytes)), 1234);
    EXPECT_EQ(fileSizeByName(writeFile(dir.file("empty"), {})), 0);
    EXPECT_EQ(fileSizeByName(dir.file("missing")), -1);
    EXPECT_EQ(fileSizeByName(dir.path().string()), -1);
    EXPECT_EQ(fileSizeByName(""), -1);
    EXPECT_EQ(fileSizeByName("/dev/zero"), -1);
}

// The recorder below is the BASIC program: it logs every change of the keys
// R, U, N (rows 2 and 5) and Enter (row 1, logged as 0x80) at 0x2000 on.
const std::uint8_t kKeyRecorder[] = {
    0x21, 0x00, 0x20,       // 1054 LXI H,2000h
    0x0E, 0x00,             // 1057 MVI C,0
    0x3E, 0xDB,             // 1059 MVI A,0DBh   ; rows 2 and 5
    0xD3, 0xD0,             //      OUT 0D0h
    0xDB, 0xD1,             //      IN 0D1h
    0x2F,                   //      CMA
    0xE6, 0x49,             //      ANI 49h
    0x47,                   //      MOV B,A
    0x3E, 0xFD,             //      MVI A,0FDh   ; row 1
    0xD3, 0xD0,             //      OUT 0D0h
    0xDB, 0xD1,             //      IN 0D1h
    0x2F,                   //      CMA
    0xE6, 0x08,             //      ANI 08h
    0x07, 0x07, 0x07, 0x07, //      RLC ×4
    0xB0,                   //      ORA B
    0xB9,                   //      CMP C
    0xCA, 0x59, 0x10,       //      JZ 1059h
    0x4F,                   //      MOV C,A
    0x77,                   //      MOV M,A
    0x23,                   //      INX H
    0xC3, 0x59, 0x10,       //      JMP 1059h
};

TEST_F(LoadFileTest, AutomaticRunTypesRunAndEnterWhenAsked)
{
    m->writeMemoryWord(m->basicStartVar, 0x1054);
    newLoadFile(*m, put("norun.lvt", basicTape(kKeyRecorder)), true);
    EXPECT_EQ(m->regPC, 0x1054); // not started without the option

    host.options[machine::Option::RunBasic] = "1";
    m->writeMemoryWord(m->basicStartVar, 0x1054);
    newLoadFile(*m, put("run.lvt", basicTape(kKeyRecorder)), true);
    EXPECT_TRUE(std::all_of(m->keyMatrix.begin(), m->keyMatrix.end(), [](auto r) { return r == 0; }));
    ASSERT_TRUE(cpuRuns()) << "the CPU interpreter runs no instructions";
    EXPECT_GE(m->clock, 100'000);
    const std::vector<std::uint8_t> log(m->ram.begin() + 0x2000, m->ram.begin() + 0x2008);
    EXPECT_EQ(log, (std::vector<std::uint8_t>{0x01, 0x00, 0x40, 0x00, 0x08, 0x00, 0x80, 0x00}));
    EXPECT_EQ((m->regH << 8) | m->regL, 0x2008);
}

} // namespace
