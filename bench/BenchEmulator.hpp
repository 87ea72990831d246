#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "kit/WindowHost.hpp"
#include "machine/Host.hpp"
#include "machine/Machine.hpp"

/// The emulator as the game library windows see it in the benchmarks: a
/// machine with its program folder; everything else does nothing. Made once
/// the application exists, as it owns a widget.
class BenchEmulator final : public ostrovik::kit::WindowHost {
public:
    explicit BenchEmulator(std::string dir) { machine_.programDir = std::move(dir); }
    ostrovik::machine::Machine& machine() override { return machine_; }
    void setOptionChecked(ostrovik::machine::Option, bool) override {}
    void reset() override {}
    void setPaused(bool) override {}
    void tapMatrixKey(ostrovik::machine::KeyMask) override {}
    void rememberFile(const std::string&) override {}
    void focusMainWindow() override {}

    QWidget& mainWindow() override { return mainWindow_; }
    ostrovik::kit::Language language() const override { return ostrovik::kit::Language::English; }
    void adoptCaptions(QWidget&, ostrovik::kit::CaptionWindow) override {}
    void runGuarded(const std::function<void()>& handler) override { handler(); }

private:
    ostrovik::machine::NullHost host_;
    ostrovik::machine::Machine machine_{host_};
    QWidget mainWindow_;
};
