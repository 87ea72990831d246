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
    bool optionChecked(machine::Option which) const override;
    void setOptionChecked(machine::Option which, bool checked) override;
    void reset() override;
    void setPaused(bool paused) override;
    void setCaption(std::string_view caption) override;
    void loadFile(const std::string& path, bool autoStart) override;
    void rememberFile(const std::string& path) override;
    void focusMainWindow() override;
    void presentScreen() override;
    void runGuarded(const std::function<void()>& handler) override;

    QWidget& mainWindow() override;
    Language language() const override;
    void adoptCaptions(QWidget& window, CaptionWindow set) override;
    void tapMatrixKey(machine::KeyMask key) override;

private:
    MainWindow& main_;
};

} // namespace ostrovik::ui
