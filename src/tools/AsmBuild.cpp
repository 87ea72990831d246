#include "tools/AsmBuild.hpp"

#include <filesystem>
#include <system_error>

#include "machine/EmulatorControl.hpp"
#include "platform/ProcessRunner.hpp"
#include "platform/RegularFile.hpp"
#include "platform/WholeFile.hpp"
#include "tools/AsmScript.hpp"

namespace ostrovik::tools {

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

void makeRunnable(const std::string& path)
{
    std::error_code ec;
    fs::permissions(fs::path(path),
                    fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
}

} // namespace

AsmBuild::AsmBuild(AsmBuildHost& host, machine::EmulatorControl& emulator, platform::ProcessRunner& runner,
                   std::string programDir)
    : lvtPath(programDir + "Assembler"), host_(host), emulator_(emulator), runner_(runner),
      programDir_(std::move(programDir))
{
}

bool AsmBuild::deleteStaleFiles()
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
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return saveBytes(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, runnable);
}

bool AsmBuild::saveBytes(const std::string& path, std::span<const std::uint8_t> bytes, bool runnable)
{
    // A write cut short (a full disk) leaves nothing under the name.
    const platform::FileWrite written = platform::writeWholeFile(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), runnable);
    if (!written.ok) {
        host_.showError((written.created ? "Cannot write file \"" : "Cannot create file \"") + path + "\". " +
                        written.reason);
        return false;
    }
    if (runnable)
        makeRunnable(path);
    return true;
}

bool AsmBuild::writeAssemblerProgram(const std::vector<std::string>& lines)
{
    if (!saveLines(workFolder() + "temp.asm", lines, false))
        return false;
    const std::span<const std::uint8_t> image = host_.assemblerImage();
    if (image.empty()) {
        host_.showError("Resource MyAss8080 not found");
        return false;
    }
    return saveBytes(workFolder() + "asm.exe", image, true);
}

void AsmBuild::runAndWait(const std::string& fileName)
{
    const platform::RunResult result = runner_.runAndWait(fileName, {});
    if (!result.started)
        host_.showError(result.error);
}

namespace {

constexpr std::string_view kErrorMark = "*** Error";

/// One line of the listing, of which at most @p keep bytes are kept, and
/// whether the error mark stands anywhere in the whole line.
struct ListingLine {
    std::string text;
    bool cut = false;
    bool error = false;
};

/// Reads the next line from @p in; false at the end of the listing. Memory
/// stays bounded however long the line is.
bool readListingLine(std::streambuf& in, std::size_t keep, ListingLine& line)
{
    line.text.clear();
    line.cut = false;
    line.error = false;
    std::string tail; // the last bytes read, as long as the mark at most
    bool any = false;
    for (int c = in.sbumpc(); c != std::char_traits<char>::eof(); c = in.sbumpc()) {
        any = true;
        if (c == '\n')
            break;
        const char ch = static_cast<char>(c);
        if (line.text.size() < keep)
            line.text.push_back(ch);
        else
            line.cut = true;
        if (!line.error) {
            tail.push_back(ch);
            if (tail.size() > kErrorMark.size())
                tail.erase(0, 1);
            line.error = tail == kErrorMark;
        }
    }
    if (!line.cut && !line.text.empty() && line.text.back() == '\r')
        line.text.pop_back();
    return any;
}

/// The quoted line: cut where a character begins, with "..." to show it.
std::string quoted(const ListingLine& line)
{
    if (!line.cut)
        return line.text;
    // Drop a last character whose bytes did not all fit.
    const auto byte = [&line](std::size_t i) { return static_cast<unsigned char>(line.text[i]); };
    std::size_t lead = line.text.size();
    while (lead > 0 && (byte(lead - 1) & 0xC0) == 0x80)
        --lead;
    std::size_t end = line.text.size();
    if (lead > 0) {
        const unsigned char first = byte(lead - 1);
        const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
        if (lead - 1 + length > end)
            end = lead - 1;
    }
    return line.text.substr(0, end) + "...";
}

} // namespace

void AsmBuild::copyListingErrors(const std::string& listingName)
{
    // The file opened is judged, never the name, and never waited on: a FIFO
    // put under the name after the build would hold the window up.
    platform::RegularFileBuf listing(listingName);
    if (listing.status() == platform::FileReadStatus::Missing)
        return;
    if (listing.status() != platform::FileReadStatus::Ok) {
        host_.showError("Cannot open file \"" + listingName + "\". " + listing.reason());
        return;
    }
    ListingLine line;
    std::size_t errors = 0;
    while (readListingLine(listing, kMaxQuotedLine, line)) {
        if (!line.error)
            continue;
        ++errors;
        const bool shown = errors <= kMaxErrorsShown;
        if (shown)
            host_.appendLog(std::string(asmlog::kError) + quoted(line));
        if (!readListingLine(listing, kMaxQuotedLine, line))
            line = ListingLine{};
        if (shown)
            host_.appendLog(std::string(asmlog::kInLine) + quoted(line));
    }
    if (errors > kMaxErrorsShown)
        host_.appendLog(asmlog::moreErrors(errors - kMaxErrorsShown));
    if (listing.status() != platform::FileReadStatus::Ok)
        host_.showError("Cannot read file \"" + listingName + "\". " + listing.reason());
}

void AsmBuild::handOver()
{
    machine::startProgram(emulator_, {lvtFile(), lvtFile(), /*remember=*/false});
    host_.appendLog(std::string(asmlog::kGood) + lvtFile());
}

void AsmBuild::build(const std::vector<std::string>& lines, bool run)
{
    host_.clearLog();
    if (!deleteStaleFiles())
        return;
    host_.appendLog(run ? asmlog::kBuildAndRun : asmlog::kBuild);
    host_.appendLog(asmlog::kSaveInFile);
    const std::string work = workFolder();
    if (!saveLines(work + "temp.asm", lines, false))
        return;
    host_.appendLog(asmlog::kPrepare);
    if (!saveLines(work + "asm.cmd", buildScriptLines(work, lvtPath), true))
        return;
    if (!writeAssemblerProgram(lines))
        return;
    host_.appendLog(asmlog::kCompilation);
    runAndWait(work + "asm.cmd");
    if (run)
        host_.appendLog(asmlog::kLink);
    copyListingErrors(listingFile());
    if (!exists(lvtFile())) {
        host_.appendLog(asmlog::kNoImage);
        return;
    }
    if (!run) {
        host_.appendLog(std::string(asmlog::kGood) + lvtFile());
        return;
    }
    handOver();
}

} // namespace ostrovik::tools
