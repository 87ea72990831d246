#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "tools/AsmBuild.hpp"

namespace asmbuildtest {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, std::string_view text)
{
    std::ofstream(path, std::ios::binary) << text;
}

/// The lines of a test data file.
inline std::vector<std::string> dataLines(const std::string& name)
{
    const char* dir = std::getenv("OSTROVIK_TESTDATA");
    std::ifstream in(std::string(dir ? dir : "tests/data") + "/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// The cross-assembler the build made, as the workbench carries it.
inline std::vector<std::uint8_t> builtAssembler()
{
    const char* dir = std::getenv("OSTROVIK_BIN");
    const std::string bytes = readFile(fs::path(dir ? dir : "build/bin") / "asm8080");
    return {bytes.begin(), bytes.end()};
}

/// A workbench stand-in that writes down the log and every hand-over step.
class RecordingHost : public ostrovik::tools::AsmBuildHost {
public:
    std::vector<std::string> log;
    std::vector<std::string> errors;
    /// The hand-over steps and log lines, in order.
    std::vector<std::string> events;
    std::vector<std::uint8_t> assembler = builtAssembler();
    bool quickRunBox = false;
    /// The load throws, as a failing reset or load would.
    bool failLoad = false;

    void clearLog() override { log.clear(); }
    void MemoSave(std::string_view line) override
    {
        log.emplace_back(line);
        events.push_back("log " + std::string(line));
    }
    void showError(std::string_view text) override { errors.emplace_back(text); }
    std::span<const std::uint8_t> assemblerImage() override { return assembler; }
    bool quickRun() const override { return quickRunBox; }
    void setQuickRun(bool on) override
    {
        quickRunBox = on;
        events.push_back(on ? "quick 1" : "quick 0");
    }
    void ResetComp() override { events.push_back("reset"); }
    void setPaused(std::uint8_t paused) override { events.push_back("paused " + std::to_string(paused)); }
    void setMainCaption(std::string_view caption) override { events.push_back("caption " + std::string(caption)); }
    void NewLoadFile(const std::string& path) override
    {
        events.push_back("load " + path);
        if (failLoad)
            throw std::runtime_error("load failed");
    }
    void focusMainWindow() override { events.push_back("focus"); }
};

/// A program folder of its own, with its work folder, removed at the end.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name = "prog")
    {
        root_ = fs::temp_directory_path() / ("ostrovik-asm-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(counter()++));
        dir_ = root_ / name;
        fs::create_directories(dir_ / "Assembler");
    }
    ~ProgramFolder()
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    /// The program folder, ending in "/".
    std::string dir() const { return dir_.string() + "/"; }
    fs::path path() const { return dir_; }
    fs::path root() const { return root_; }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    fs::path root_;
    fs::path dir_;
};

} // namespace asmbuildtest
