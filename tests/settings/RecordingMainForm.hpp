#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/ScriptedWaveOut.hpp"
#include "ui/MainFormEmu.hpp"
#include "ui/SetUpForm.hpp"

namespace ostrovik::test {

/// The main window with its settings window, recording the loads it is asked
/// for instead of making them.
class RecordingMainForm : public ui::TMainFormEmu {
public:
    explicit RecordingMainForm(const QStringList& args = {}) : TMainFormEmu(args, quietWaveOut())
    {
        form = new ui::TSetUpForm(this);
        setSetUpForm(form);
    }
    void loadFile(const std::string& path, bool autoStart) override { loads.emplace_back(path, autoStart); }

    ui::TSetUpForm* form;
    std::vector<std::pair<std::string, bool>> loads;
};

} // namespace ostrovik::test
