#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ostrovik::machine {
class EmulatorControl;
}
namespace ostrovik::platform {
class ProcessRunner;
}

namespace ostrovik::tools {

/// What a build needs from the workbench window.
class AsmBuildHost {
public:
    virtual ~AsmBuildHost() = default;

    /// Empties the build log (buildLog).
    virtual void clearLog() = 0;
    /// Appends one line to the build log.
    virtual void appendLog(std::string_view line) = 0;
    /// A message box with one OK button: a file error or the system's text
    /// for a program that could not be started.
    virtual void showError(std::string_view text) = 0;
    /// The bytes of the carried cross-assembler; empty when it is missing.
    virtual std::span<const std::uint8_t> assemblerImage() = 0;
};

/// The build log's lines.
namespace asmlog {
inline constexpr std::string_view kBuild = "Build..";
inline constexpr std::string_view kBuildAndRun = "Build and run...";
inline constexpr std::string_view kSaveInFile = "Save in file ASM";
inline constexpr std::string_view kPrepare = "Prepare compiler...";
inline constexpr std::string_view kCompilation = "Compilation...";
inline constexpr std::string_view kLink = "Try to link the emulator...";
inline constexpr std::string_view kError = "Error:  ";
inline constexpr std::string_view kInLine = "In line  ";
inline constexpr std::string_view kGood = "Good... ";
inline constexpr std::string_view kNoImage = "An error occurred creating LVT file !!!";
/// The closing line when the listing holds more errors than the log shows.
inline std::string moreErrors(std::size_t count)
{
    return "... and " + std::to_string(count) + " more errors";
}
} // namespace asmlog

/// The assembler build: writes the source, the build script and the carried
/// cross-assembler into the work folder, runs the script as a hidden child
/// and waits for it, copies the listing's error lines into the log and tells
/// whether the tape image came out; Compile and Run then starts the image
/// in the emulator.
class AsmBuild {
public:
    /// @p programDir is the executable's folder, ending in "/".
    AsmBuild(AsmBuildHost& host, machine::EmulatorControl& emulator, platform::ProcessRunner& runner,
             std::string programDir);

    /// The largest source the workbench opens or builds, in bytes of its
    /// text. The machine's whole 64 KB written as DB lines of sixteen bytes
    /// takes about 400 KB, so no program for it needs more; the assembler
    /// holds its listing, some fifteen times the source, in memory, which a
    /// source of tens of megabytes makes gigabytes.
    static constexpr std::size_t kMaxSourceBytes = 1 << 20;

    /// The log quotes at most this many bytes of a listing line ("..." marks
    /// a cut), so that one enormous line cannot stall the log's layout.
    static constexpr std::size_t kMaxQuotedLine = 200;
    /// The log shows at most this many errors (each with its place), then
    /// one line with the count of the rest.
    static constexpr std::size_t kMaxErrorsShown = 100;

    /// Output folder of the build, without a trailing "/" (the workbench's
    /// lvtPath setting).
    std::string lvtPath;

    const std::string& programDir() const { return programDir_; }
    /// The program folder followed by "Assembler/".
    std::string workFolder() const { return programDir_ + "Assembler/"; }
    /// lvtPath + "/temp.lvt": the image the build makes.
    std::string lvtFile() const { return lvtPath + "/temp.lvt"; }
    std::string listingFile() const { return lvtPath + "/temp.lst"; }

    /// Compile: builds @p lines (the editor's text) into the tape image.
    void compile(const std::vector<std::string>& lines) { build(lines, false); }
    /// Compile and Run: builds and, when the image came out, runs it.
    void compileAndRun(const std::vector<std::string>& lines) { build(lines, true); }

    /// Removes what an earlier build left, so that none of it can pass for
    /// this build's result. False (after the message) when one stays.
    bool deleteStaleFiles();
    /// temp.asm once more, then asm.exe from the carried bytes, runnable.
    bool writeAssemblerProgram(const std::vector<std::string>& lines);
    /// Copies the listing's error lines, each with the line after it, into
    /// the log: the first kMaxErrorsShown of them, each cut to kMaxQuotedLine
    /// bytes, then the count of the rest. A missing listing adds nothing; one
    /// that is no regular file, or cannot be read, is reported.
    void copyListingErrors(const std::string& listingName);
    void appendLog(std::string_view line) { host_.appendLog(line); }

private:
    void build(const std::vector<std::string>& lines, bool run);
    bool saveLines(const std::string& path, const std::vector<std::string>& lines, bool runnable);
    bool saveBytes(const std::string& path, std::span<const std::uint8_t> bytes, bool runnable);
    void runAndWait(const std::string& fileName);
    void handOver();

    AsmBuildHost& host_;
    machine::EmulatorControl& emulator_;
    platform::ProcessRunner& runner_;
    std::string programDir_;
};

} // namespace ostrovik::tools
