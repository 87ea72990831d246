#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "machine/EmulatorControl.hpp"
#include "machine/Machine.hpp"
#include "support/TestHost.hpp"

namespace ostrovik::test {

/// The one stand-in for the emulator a window drives: a machine on the test
/// host, writing down every step done to it, the caption and the loads the
/// host is asked for among them, in order.
class TestEmulator : public machine::EmulatorControl {
public:
    TestEmulator()
    {
        ui.onCaption = [this](const std::string& caption) { events.push_back("caption " + caption); };
        ui.onLoad = [this](const std::string& path, bool autoStart) {
            events.push_back("load " + path + (autoStart ? "" : " (no start)"));
            if (failLoad)
                throw std::runtime_error("load failed");
        };
    }
    TestEmulator(const TestEmulator&) = delete;
    TestEmulator& operator=(const TestEmulator&) = delete;

    machine::Machine& machine() override { return machine_; }
    void setOptionChecked(machine::Option which, bool on) override
    {
        ui.options[which] = on ? "1" : "0";
        events.push_back((which == machine::Option::QuickRun ? "quick " : "option ") + std::string(on ? "1" : "0"));
    }
    void reset() override { events.push_back("reset"); }
    void setPaused(bool paused) override { events.push_back(paused ? "paused 1" : "paused 0"); }
    void tapMatrixKey(machine::KeyMask key) override { events.push_back("tap " + std::to_string(key)); }
    void rememberFile(const std::string& path) override { events.push_back("remember " + path); }
    void focusMainWindow() override { events.push_back("focus"); }

    /// The user interface the machine and host() reach.
    TestHost ui;
    /// The steps, in order.
    std::vector<std::string> events;
    /// The load throws, as a failing reset or load would.
    bool failLoad = false;

private:
    machine::Machine machine_{ui};
};

} // namespace ostrovik::test
