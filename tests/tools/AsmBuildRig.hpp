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

#include "support/TempFolder.hpp"
#include "support/TestData.hpp"
#include "support/TestEmulator.hpp"
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

using ostrovik::test::testDataLines;

/// The cross-assembler the build made, as the workbench carries it.
inline std::vector<std::uint8_t> builtAssembler()
{
    const char* dir = std::getenv("OSTROVIK_BIN");
    const std::string bytes = readFile(fs::path(dir ? dir : "build/bin") / "asm8080");
    return {bytes.begin(), bytes.end()};
}

/// A workbench and emulator stand-in that writes down the log among the
/// hand-over steps.
class RecordingHost : public ostrovik::tools::AsmBuildHost, public ostrovik::test::TestEmulator {
public:
    std::vector<std::string> log;
    std::vector<std::string> errors;
    std::vector<std::uint8_t> assembler = builtAssembler();

    void clearLog() override { log.clear(); }
    void appendLog(std::string_view line) override
    {
        log.emplace_back(line);
        events.push_back("log " + std::string(line));
    }
    void showError(std::string_view text) override { errors.emplace_back(text); }
    std::span<const std::uint8_t> assemblerImage() override { return assembler; }
};

/// A program folder of its own, with its work folder, removed at the end.
class WorkbenchFolder {
public:
    explicit WorkbenchFolder(const std::string& name = "prog") : dir_(root_.path() / name)
    {
        fs::create_directories(dir_ / "Assembler");
    }

    /// The program folder, ending in "/".
    std::string dir() const { return dir_.string() + "/"; }
    fs::path path() const { return dir_; }
    fs::path root() const { return root_.path(); }

private:
    ostrovik::test::TempFolder root_{"asm"};
    fs::path dir_;
};

} // namespace asmbuildtest
