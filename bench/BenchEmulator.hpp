#pragma once

#include <string>

#include "machine/EmulatorControl.hpp"
#include "machine/Host.hpp"
#include "machine/Machine.hpp"

/// The emulator as the game library windows see it in the benchmarks: a
/// machine with its program folder; everything else does nothing.
class BenchEmulator final : public ostrovik::machine::EmulatorControl {
public:
    explicit BenchEmulator(std::string dir) { machine_.programDir = std::move(dir); }
    ostrovik::machine::Machine& machine() override { return machine_; }
    bool optionChecked(ostrovik::machine::Option) const override { return false; }
    void setOptionChecked(ostrovik::machine::Option, bool) override {}
    void reset() override {}
    void setPaused(bool) override {}
    void setCaption(std::string_view) override {}
    void loadFile(const std::string&, bool) override {}
    void rememberFile(const std::string&) override {}
    void focusMainWindow() override {}
    void presentScreen() override {}
    void runGuarded(const std::function<void()>& handler) override { handler(); }

private:
    ostrovik::machine::NullHost host_;
    ostrovik::machine::Machine machine_{host_};
};
