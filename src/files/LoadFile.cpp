#include "files/LoadFile.hpp"

#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "files/Snapshot.hpp"
#include "files/TapeImage.hpp"
#include "machine/Machine.hpp"
#include "platform/RegularFile.hpp"

namespace ostrovik::files {

namespace {

/// Where the machine's BASIC starts a loaded program.
constexpr std::uint32_t kBasicRunPC = 0x1054;
/// The byte the arrow-key patch overwrites, and what it writes there (XRA A).
constexpr std::uint32_t kPatch058CAddr = 0x058C;
constexpr std::uint8_t kPatch058CValue = 0xAF;
/// A BASIC image's program begins after the signature, type and tape name.
constexpr std::size_t kBasicDataAt = 16;

/// The key codes of R, U, N and Enter, from the Latin key table.
constexpr machine::KeyMask kKeyR = 0x20FF;
constexpr machine::KeyMask kKeyU = 0x56FF;
constexpr machine::KeyMask kKeyN = 0x53FF;
constexpr machine::KeyMask kKeyEnter = 0x13FF;

void refuseTooLong(machine::Machine& m, const std::string& path)
{
    m.host().showMessage("File is too long to load: " + path + "\nA tape image or snapshot holds at most "
                         + std::to_string(machine::Machine::kTapeBufferSize) + " bytes.");
}

void loadMachineCode(machine::Machine& m, std::size_t bytesRead, bool autoStart)
{
    m.tapeLength = static_cast<std::int32_t>(bytesRead);
    const auto header = parseLvtHeader(std::span<const std::uint8_t>(m.tapeBuffer));
    if (autoStart) {
        m.warmStart();
        m.regPC = header->runAddr;
    }
    // The count comes from the header alone: past the file's end the bytes are
    // whatever the tape buffer holds there. At most 65,536 bytes after the
    // header, so the buffer is never overrun; the memory map drops the ROM area.
    const int last = static_cast<int>(header->endAddr) - static_cast<int>(header->startAddr);
    for (int i = 0; i <= last; ++i)
        m.writeByte((header->startAddr + i) & 0xFFFF, m.tapeBuffer[kLvtHeaderSize + i]);
}

void loadBasic(machine::Machine& m, std::size_t bytesRead)
{
    // The file's last byte is not part of the program.
    m.tapeLength = static_cast<std::int32_t>(bytesRead) - 1;
    m.warmStart();
    std::uint32_t a = static_cast<std::uint32_t>(m.readMemoryWord(m.basicStartVar));
    for (std::int32_t i = 0; i < m.tapeLength - static_cast<std::int32_t>(kBasicDataAt); ++i) {
        m.writeByte(a, m.tapeBuffer[kBasicDataAt + i]);
        a = (a + 1) & 0xFFFF;
    }
    m.writeMemoryWord(m.basicEndVar, static_cast<int>(a));
    // The program may have overwritten the return address.
    m.writeMemoryWord(m.warmStartSP, m.warmStartPC);
    m.regSP = m.warmStartSP;
    m.regPC = kBasicRunPC;
    if (m.host().optionChecked(machine::Option::Patch058C))
        m.ram[kPatch058CAddr] = kPatch058CValue;
    if (m.host().optionChecked(machine::Option::RunBasic))
        autoRunBasic(m);
}

void loadSnapshot(machine::Machine& m)
{
    // A short snapshot is not refused: its missing fields come from the tape
    // buffer as it stands.
    auto snapshot = std::make_unique<SavSnapshot>();
    parseSavSnapshot(std::span<const std::uint8_t, kSavSize>(m.tapeBuffer.data(), kSavSize), *snapshot);
    restoreSnapshot(m, *snapshot);
    m.invalidateScreen();
    m.host().presentNow();
}

} // namespace

std::int64_t fileSizeByName(const std::string& fileName)
{
    std::error_code ec;
    const auto status = std::filesystem::status(fileName, ec);
    if (ec || !std::filesystem::is_regular_file(status))
        return -1;
    const auto size = std::filesystem::file_size(fileName, ec);
    if (ec)
        return -1;
    return static_cast<std::int64_t>(size);
}

void autoRunBasic(machine::Machine& m)
{
    struct Stroke {
        machine::KeyMask key;
        std::int32_t held, after;
    };
    static constexpr Stroke kStrokes[] = {
        {kKeyR, 60'000, 100'000},
        {kKeyU, 100'000, 100'000},
        {kKeyN, 100'000, 100'000},
        {kKeyEnter, 100'000, 100'000},
    };
    m.runOpcodes(200'000);
    for (const Stroke& s : kStrokes) {
        m.setKey(s.key, true);
        m.runOpcodes(s.held);
        m.setKey(s.key, false);
        m.runOpcodes(s.after);
    }
}

bool newLoadFile(machine::Machine& m, const std::string& fileName, bool autoStart)
{
    constexpr std::size_t kLimit = machine::Machine::kTapeBufferSize;
    const std::int64_t size = fileSizeByName(fileName);
    if (size < static_cast<std::int64_t>(kMinLoadSize)) {
        m.host().showMessage(kMsgTooSmall);
        return false;
    }
    if (size > static_cast<std::int64_t>(kLimit)) {
        refuseTooLong(m, fileName);
        return false;
    }

    // Read in full before anything changes, so that a failing or refused read
    // leaves the tape buffer and the machine as they were. The name may stand
    // for another file by now (a link swapped to a FIFO): the file opened is
    // judged again, and never waited on.
    platform::FileRead file = platform::readRegularFile(fileName, kLimit);
    switch (file.status) {
    case platform::FileReadStatus::Ok:
        break;
    case platform::FileReadStatus::TooLarge:
    case platform::FileReadStatus::Truncated:
        refuseTooLong(m, fileName);
        return false;
    case platform::FileReadStatus::Missing:
    case platform::FileReadStatus::NotRegular:
        m.host().showMessage(kMsgTooSmall);
        return false;
    case platform::FileReadStatus::Failed:
        throw std::runtime_error((file.opened ? "Cannot read " : "Cannot open ") + fileName + ": " + file.reason);
    }
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.bytes.data()),
                                              file.bytes.size());
    // The file may have shrunk since its size was taken.
    if (bytes.size() < kMinLoadSize) {
        m.host().showMessage(kMsgTooSmall);
        return false;
    }

    const bool tape = hasLvtSignature(bytes);
    if (!tape && !hasSavSignature(bytes))
        return false;
    std::copy(bytes.begin(), bytes.end(), m.tapeBuffer.begin());

    if (!tape)
        loadSnapshot(m);
    else if (bytes[9] == kLvtMachineCode)
        loadMachineCode(m, bytes.size(), autoStart);
    else
        loadBasic(m, bytes.size());
    return true;
}

} // namespace ostrovik::files
