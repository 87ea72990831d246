#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ostrovik::machine {
class Machine;
}

namespace ostrovik::files {

/// Written at the head of every snapshot.
inline constexpr std::string_view kSavSignature = "RIZI/DUMP/2.0/H+";
/// What the loader recognises a snapshot by: the signature's first 9 characters.
inline constexpr std::string_view kSavMagic = "RIZI/DUMP";
inline constexpr std::size_t kSavSize = 82205;

/// Field offsets in the file.
inline constexpr std::size_t kSavReservedAt = 16;
inline constexpr std::size_t kSavRamAt = 17;
inline constexpr std::size_t kSavVideoRamAt = 65553;
inline constexpr std::size_t kSavPortsAt = 81937;
inline constexpr std::size_t kSavRegistersAt = 82193;
inline constexpr std::size_t kSavSpAt = 82201;
inline constexpr std::size_t kSavPcAt = 82203;

/// The whole machine state as a snapshot (.sav) holds it, fields in file order.
/// About 80 KB: keep it on the heap.
struct SavSnapshot {
    std::array<char, 16> signature{'R', 'I', 'Z', 'I', '/', 'D', 'U', 'M',
                                   'P', '/', '2', '.', '0', '/', 'H', '+'};
    std::uint8_t reserved = 0;
    /// 0x0000–0xFFFF exactly as stored, the ROM image included.
    std::array<std::uint8_t, 65536> ram{};
    std::array<std::uint8_t, 16384> videoRam{};
    std::array<std::uint8_t, 256> ports{};
    std::uint8_t B = 0, C = 0, D = 0, E = 0, H = 0, L = 0, A = 0, F = 0;
    std::uint16_t SP = 0;
    std::uint16_t PC = 0;
};

/// True when @p bytes begin with "RIZI/DUMP".
bool hasSavSignature(std::span<const std::uint8_t> bytes);

void parseSavSnapshot(std::span<const std::uint8_t, kSavSize> bytes, SavSnapshot& out);
void serialiseSavSnapshot(const SavSnapshot& snapshot, std::span<std::uint8_t, kSavSize> out);

/// Takes the machine's registers, memory, video RAM and port latches.
void captureSnapshot(const machine::Machine& m, SavSnapshot& out);
/// Puts a snapshot's state into the machine; the T-state counter, the pause
/// flag and the tape are left alone.
void restoreSnapshot(machine::Machine& m, const SavSnapshot& snapshot);

} // namespace ostrovik::files
