#include "files/SaveSnapshot.hpp"

#include <memory>
#include <vector>

#include "files/NewFile.hpp"
#include "files/Snapshot.hpp"
#include "files/TimeStamp.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::files {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string fileNamePart(std::string_view path)
{
    return std::filesystem::path(std::string(path)).filename().string();
}

/// Clears the pause flag on every way out, so that a failed save does not
/// leave the machine stopped.
struct Unpause {
    machine::Machine& m;
    ~Unpause() { m.paused = 0; }
};

} // namespace

std::string snapshotBaseName(std::string_view openDialogFileName)
{
    std::string name = fileNamePart(openDialogFileName);
    std::size_t end = name.size();
    for (int dropped = 0; dropped < 4 && end > 0; ++dropped) {
        --end;
        while (end > 0 && isContinuationByte(name[end]))
            --end;
    }
    name.resize(end);
    return name;
}

std::filesystem::path snapshotPath(const std::string& programDir, std::string_view openDialogFileName,
                                   std::string_view stamp)
{
    std::string base = snapshotBaseName(openDialogFileName);
    if (base.empty())
        base = "Save";
    return std::filesystem::path(programDir) / "FilesSAV" / (base + "_" + std::string(stamp) + ".sav");
}

std::string saveSnapshot(machine::Machine& m, std::string_view openDialogFileName,
                         const std::function<std::string()>& stamp)
{
    m.paused = 1;
    const Unpause unpause{m};

    auto snapshot = std::make_unique<SavSnapshot>();
    captureSnapshot(m, *snapshot);
    std::vector<std::uint8_t> bytes(kSavSize);
    serialiseSavSnapshot(*snapshot, std::span<std::uint8_t, kSavSize>(bytes.data(), kSavSize));
    return writeNewFile(snapshotPath(m.programDir, openDialogFileName, stamp()), bytes, "snapshot");
}

std::string saveSnapshot(machine::Machine& m, std::string_view openDialogFileName)
{
    return saveSnapshot(m, openDialogFileName, fileTimeStampNow);
}

} // namespace ostrovik::files
