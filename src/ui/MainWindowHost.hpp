#pragma once

#include "kit/WindowHost.hpp"
#include "session/EmulatorSession.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::Language;
using kit::WindowHost;

class MainWindow;

/// The main window as the windows it opens see it.
class MainWindowHost final : public WindowHost {
public:
    MainWindowHost(MainWindow& main, session::EmulatorSession& session) : main_(main), session_(session) {}

    machine::Machine& machine() override { return session_.machine(); }
    void setOptionChecked(machine::Option which, bool checked) override;
    void reset() override { session_.reset(); }
    void setPaused(bool paused) override { session_.setPaused(paused); }
    void tapMatrixKey(machine::KeyMask key) override { session_.tapMatrixKey(key); }
    void rememberFile(const std::string& path) override;
    void focusMainWindow() override;

    QWidget& mainWindow() override;
    Language language() const override;
    void adoptCaptions(QWidget& window, CaptionWindow set) override;
    void runGuarded(const std::function<void()>& handler) override;

private:
    MainWindow& main_;
    session::EmulatorSession& session_;
};

} // namespace ostrovik::ui
