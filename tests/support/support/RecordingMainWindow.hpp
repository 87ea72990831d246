#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/ScriptedWaveOut.hpp"
#include "ui/MainWindow.hpp"
#include "ui/SettingsForm.hpp"

namespace ostrovik::test {

/// The main window recording the loads it is asked for instead of making
/// them; with its settings window unless @p withSettings is false.
class RecordingMainWindow : public ui::MainWindow {
public:
    explicit RecordingMainWindow(const QStringList& args = {}, bool withSettings = true,
                                 std::unique_ptr<platform::WaveOut> waveOut = quietWaveOut())
        : MainWindow(args, std::move(waveOut))
    {
        if (withSettings) {
            form = new ui::SettingsForm(settingsStore(), this);
            setSettingsForm(form);
        }
    }
    bool tryLoadFile(const std::string& path, bool autoStart) override
    {
        loads.emplace_back(path, autoStart);
        return true;
    }

    ui::SettingsForm* form = nullptr;
    std::vector<std::pair<std::string, bool>> loads;
};

} // namespace ostrovik::test
