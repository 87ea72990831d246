#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "machine/Host.hpp"

namespace ostrovik::test {

/// The one headless host of the test suite: it records everything the
/// machine asks of the user interface and gives the answers a test sets up.
/// Every hook is optional; with none set it behaves like a window nobody
/// looks at.
class TestHost : public machine::Host {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }

    void setCaption(std::string_view text) override
    {
        captionText = text;
        if (onCaption)
            onCaption(captionText);
    }
    std::string caption() const override { return captionText; }

    std::optional<std::string> chooseTapeFile() override
    {
        ++dialogs;
        if (onDialog)
            onDialog();
        return tapeFile;
    }
    void loadFile(const std::string& path, bool autoStart) override
    {
        loads.push_back({path, autoStart});
        if (onLoad)
            onLoad(path, autoStart);
    }

    bool logShown() const override { return logVisible; }
    void appendLogLine(std::string_view line) override { logLines.emplace_back(line); }
    void clearLog() override { ++logClears; }

    bool quickRun() const override { return quick; }
    void setCurrentFileName(const std::string& path) override { currentFileName = path; }

    /// Options a test did not set read "0", as before the settings window answers.
    std::string option(machine::Option which) const override
    {
        const auto it = options.find(which);
        return it == options.end() ? "0" : it->second;
    }
    void presentNow() override { ++presented; }
    void presentFrame() override { ++framesPresented; }

    // What was shown.
    std::vector<std::string> messages;
    std::string captionText;
    std::function<void(const std::string&)> onCaption;

    // The tape-load dialog: its answer (nothing = cancelled), how often it
    // was shown, and what runs while it is open.
    std::optional<std::string> tapeFile;
    int dialogs = 0;
    std::function<void()> onDialog;

    struct Load {
        std::string path;
        bool autoStart;
    };
    std::vector<Load> loads;
    std::function<void(const std::string&, bool)> onLoad;

    bool logVisible = false;
    std::vector<std::string> logLines;
    int logClears = 0;

    bool quick = false;
    std::string currentFileName;
    /// Settings-window options, as their stored text ("1" = checked).
    std::map<machine::Option, std::string> options;
    int presented = 0;
    int framesPresented = 0;
};

} // namespace ostrovik::test
