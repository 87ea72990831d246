#include "tools/AsmBuild.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/ProcessRunner.hpp"
#include "tools/AsmScript.hpp"

namespace ostrovik::tools {

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::string cannotCreate(const std::string& path)
{
    return "Cannot create file \"" + path + "\". " + std::strerror(errno);
}

void makeRunnable(const std::string& path)
{
    std::error_code ec;
    fs::permissions(fs::path(path),
                    fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
}

/// Keeps the fast-start option and the pause flag as the hand-over found
/// them, even when the reset or the load fails half-way.
class HandOverGuard {
public:
    explicit HandOverGuard(AsmBuildHost& host) : host_(host), quickRun_(host.quickRun()) {}
    ~HandOverGuard()
    {
        host_.setPaused(0);
        host_.setQuickRun(quickRun_);
    }
    HandOverGuard(const HandOverGuard&) = delete;
    HandOverGuard& operator=(const HandOverGuard&) = delete;

private:
    AsmBuildHost& host_;
    bool quickRun_;
};

} // namespace

AsmBuild::AsmBuild(AsmBuildHost& host, platform::ProcessRunner& runner, std::string programDir)
    : LVTPath(programDir + "Assembler"), host_(host), runner_(runner), programDir_(std::move(programDir))
{
}

bool AsmBuild::DeleteFiles()
{
    const std::string work = workFolder();
    const std::string stale[] = {
        work + "temp.asm", work + "asm.exe", work + "asm.cmd", work + "temp.lst",
        work + "temp.lvt", lvtFile(),        listingFile(),
    };
    for (const std::string& path : stale) {
        std::error_code ec;
        // Whatever stands under the name, a link or a folder too, must go.
        if (!fs::exists(fs::symlink_status(fs::path(path), ec)))
            continue;
        if (!fs::remove(fs::path(path), ec) || ec) {
            host_.showError("Cannot delete file \"" + path + "\". " + ec.message());
            return false;
        }
    }
    return true;
}

bool AsmBuild::saveLines(const std::string& path, const std::vector<std::string>& lines, bool runnable)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        host_.showError(cannotCreate(path));
        return false;
    }
    for (const std::string& line : lines)
        out << line << '\n';
    out.close();
    if (!out) {
        host_.showError("Cannot write file \"" + path + "\".");
        return false;
    }
    if (runnable)
        makeRunnable(path);
    return true;
}

bool AsmBuild::saveBytes(const std::string& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        host_.showError(cannotCreate(path));
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        host_.showError("Cannot write file \"" + path + "\".");
        return false;
    }
    makeRunnable(path);
    return true;
}

bool AsmBuild::ExeFromMemoryToDisk(const std::vector<std::string>& lines)
{
    if (!saveLines(workFolder() + "temp.asm", lines, false))
        return false;
    const std::span<const std::uint8_t> image = host_.assemblerImage();
    if (image.empty()) {
        host_.showError("Resource MyAss8080 not found");
        return false;
    }
    return saveBytes(workFolder() + "asm.exe", image);
}

void AsmBuild::RunAndWait(const std::string& FileName)
{
    const platform::RunResult result = runner_.RunAndWait(FileName, {});
    if (!result.started)
        host_.showError(result.error);
}

void AsmBuild::AnalizErrors(const std::string& ListingName)
{
    std::ifstream in(ListingName, std::ios::binary);
    auto readLine = [&in](std::string& line) {
        if (!std::getline(in, line))
            line.clear();
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    };
    std::string line;
    while (in && in.peek() != std::ifstream::traits_type::eof()) {
        readLine(line);
        if (line.find("*** Error") == std::string::npos)
            continue;
        host_.MemoSave(std::string(asmlog::kError) + line);
        readLine(line);
        host_.MemoSave(std::string(asmlog::kInLine) + line);
    }
}

void AsmBuild::handOver()
{
    HandOverGuard guard(host_);
    host_.setQuickRun(true);
    host_.ResetComp();
    host_.setPaused(1);
    host_.setMainCaption(lvtFile());
    host_.NewLoadFile(lvtFile());
    host_.MemoSave(std::string(asmlog::kGood) + lvtFile());
}

void AsmBuild::build(const std::vector<std::string>& lines, bool run)
{
    host_.clearLog();
    if (!DeleteFiles())
        return;
    host_.MemoSave(run ? asmlog::kBuildAndRun : asmlog::kBuild);
    host_.MemoSave(asmlog::kSaveInFile);
    const std::string work = workFolder();
    if (!saveLines(work + "temp.asm", lines, false))
        return;
    host_.MemoSave(asmlog::kPrepare);
    if (!saveLines(work + "asm.cmd", buildScriptLines(work, LVTPath), true))
        return;
    if (!ExeFromMemoryToDisk(lines))
        return;
    host_.MemoSave(asmlog::kCompilation);
    RunAndWait(work + "asm.cmd");
    if (run)
        host_.MemoSave(asmlog::kLink);
    if (exists(listingFile()))
        AnalizErrors(listingFile());
    if (!exists(lvtFile())) {
        host_.MemoSave(asmlog::kNoImage);
        return;
    }
    if (!run) {
        host_.MemoSave(std::string(asmlog::kGood) + lvtFile());
        return;
    }
    handOver();
    host_.focusMainWindow();
}

} // namespace ostrovik::tools
