#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/ScriptedWaveOut.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/SetUpForm.hpp"

namespace ostrovik::test {

/// The main window recording the loads it is asked for instead of making
/// them; with its settings window unless @p withSettings is false.
class RecordingMainWindow : public ui::TMainFormEmu {
public:
    explicit RecordingMainWindow(const QStringList& args = {}, bool withSettings = true,
                                 std::unique_ptr<platform::WaveOut> waveOut = quietWaveOut())
        : TMainFormEmu(args, std::move(waveOut))
    {
        if (withSettings) {
            form = new ui::TSetUpForm(settingsStore(), this);
            setSetUpForm(form);
        }
    }
    bool tryLoadFile(const std::string& path, bool autoStart) override
    {
        loads.emplace_back(path, autoStart);
        return true;
    }

    ui::TSetUpForm* form = nullptr;
    std::vector<std::pair<std::string, bool>> loads;
};

} // namespace ostrovik::test
