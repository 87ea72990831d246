#pragma once

#include "kit/WindowHost.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::Language;
using kit::WindowHost;

class MainWindow;

/// The main window as the windows it opens see it.
class MainWindowHost final : public WindowHost {
public:
    explicit MainWindowHost(MainWindow& main) : main_(main) {}

    machine::Machine& machine() override;
    void setOptionChecked(machine::Option which, bool checked) override;
    void reset() override;
    void setPaused(bool paused) override;
    void tapMatrixKey(machine::KeyMask key) override;
    void rememberFile(const std::string& path) override;
    void focusMainWindow() override;

    QWidget& mainWindow() override;
    Language language() const override;
    void adoptCaptions(QWidget& window, CaptionWindow set) override;
    void runGuarded(const std::function<void()>& handler) override;

private:
    MainWindow& main_;
};

} // namespace ostrovik::ui
