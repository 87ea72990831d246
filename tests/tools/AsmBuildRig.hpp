#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "support/TempFolder.hpp"
#include "support/TestData.hpp"
#include "machine/EmulatorControl.hpp"
#include "machine/Host.hpp"
#include "machine/Machine.hpp"
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

/// A workbench and emulator stand-in that writes down the log and every
/// hand-over step.
class RecordingHost : public ostrovik::tools::AsmBuildHost, public ostrovik::machine::EmulatorControl {
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
    void appendLog(std::string_view line) override
    {
        log.emplace_back(line);
        events.push_back("log " + std::string(line));
    }
    void showError(std::string_view text) override { errors.emplace_back(text); }
    std::span<const std::uint8_t> assemblerImage() override { return assembler; }
    ostrovik::machine::Machine& machine() override { return machine_; }
    bool optionChecked(ostrovik::machine::Option which) const override
    {
        return which == ostrovik::machine::Option::QuickRun && quickRunBox;
    }
    void setOptionChecked(ostrovik::machine::Option which, bool on) override
    {
        if (which != ostrovik::machine::Option::QuickRun)
            return;
        quickRunBox = on;
        events.push_back(on ? "quick 1" : "quick 0");
    }
    void reset() override { events.push_back("reset"); }
    void setPaused(bool paused) override { events.push_back(paused ? "paused 1" : "paused 0"); }
    void setCaption(std::string_view caption) override { events.push_back("caption " + std::string(caption)); }
    void loadFile(const std::string& path, bool autoStart) override
    {
        events.push_back("load " + path + (autoStart ? "" : " (no start)"));
        if (failLoad)
            throw std::runtime_error("load failed");
    }
    void rememberFile(const std::string& path) override { events.push_back("remember " + path); }
    void focusMainWindow() override { events.push_back("focus"); }
    void presentScreen() override {}
    void runGuarded(const std::function<void()>& handler) override { handler(); }

private:
    ostrovik::machine::NullHost machineHost_;
    ostrovik::machine::Machine machine_{machineHost_};
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
