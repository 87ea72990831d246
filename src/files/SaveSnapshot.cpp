#include "files/SaveSnapshot.hpp"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "files/Snapshot.hpp"
#include "files/TimeStamp.hpp"
#include "machine/Machine.hpp"

namespace ostrovik::files {

namespace {

constexpr int kMaxSameSecond = 99;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string fileNamePart(std::string_view path)
{
    return std::filesystem::path(std::string(path)).filename().string();
}

std::string systemReason(int err)
{
    return std::error_code(err, std::generic_category()).message();
}

/// Clears the pause flag on every way out, so that a failed save does not
/// leave the machine stopped.
struct Unpause {
    machine::Machine& m;
    ~Unpause() { m.Paused = 0; }
};

/// Creates @p path only when no file of that name exists yet.
std::FILE* createNew(const std::filesystem::path& path)
{
    return std::fopen(path.c_str(), "wbx");
}

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
    m.Paused = 1;
    const Unpause unpause{m};

    const std::filesystem::path first = snapshotPath(m.ProgramDir, openDialogFileName, stamp());
    std::filesystem::path path = first;
    std::FILE* f = createNew(path);
    for (int n = 2; !f && errno == EEXIST && n <= kMaxSameSecond; ++n) {
        path = first;
        path.replace_filename(first.stem().string() + "_" + std::to_string(n) + first.extension().string());
        f = createNew(path);
    }
    if (!f) {
        const int err = errno;
        throw std::runtime_error("Cannot create the snapshot " + path.string() + ": " + systemReason(err));
    }

    auto snapshot = std::make_unique<TSavSnapshot>();
    captureSnapshot(m, *snapshot);
    std::vector<std::uint8_t> bytes(kSavSize);
    serialiseSavSnapshot(*snapshot, std::span<std::uint8_t, kSavSize>(bytes.data(), kSavSize));

    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int err = errno;
    const bool closed = std::fclose(f) == 0;
    if (written && !closed)
        err = errno;
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw std::runtime_error("Cannot write the snapshot " + path.string() + ": " + systemReason(err));
    }
    return path.string();
}

std::string saveSnapshot(machine::Machine& m, std::string_view openDialogFileName)
{
    return saveSnapshot(m, openDialogFileName, fileTimeStampNow);
}

} // namespace ostrovik::files
