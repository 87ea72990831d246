#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "machine/Option.hpp"

namespace ostrovik::machine {

/// What the machine needs from the user interface. The main window implements
/// it; tests use a headless host that records and answers every call.
class Host {
public:
    virtual ~Host() = default;

    /// A modal message box with @p text (UTF-8). The machine's run stops until
    /// it is dismissed.
    virtual void showMessage(std::string_view text) = 0;

    /// The main window's caption (UTF-8).
    virtual void setCaption(std::string_view text) = 0;
    virtual std::string caption() const = 0;

    /// The tape-load dialog (the main window's open dialog). Returns the chosen
    /// file's path, or nothing when the user cancelled.
    virtual std::optional<std::string> chooseTapeFile() = 0;

    /// Loads @p path as File → Open would, without the warm start of a
    /// machine-code image when @p autoStart is false.
    virtual void loadFile(const std::string& path, bool autoStart) = 0;

    /// The machine waits inside a run for its user (the tape-load dialog and
    /// the load that follows it). Until the matching machineWaitEnds nothing
    /// else may load, reset or run it: what would is held until the run has
    /// returned. Waits may nest.
    virtual void machineWaitBegins() {}
    virtual void machineWaitEnds() {}

    /// Whether the console's log is being shown: the console output is
    /// collected only then.
    virtual bool logShown() const = 0;
    /// Appends one finished console line (UTF-8) to the log window.
    virtual void appendLogLine(std::string_view line) = 0;
    /// Empties the log window, when it exists.
    virtual void clearLog() = 0;

    /// State of the fast-start option at the moment of use.
    virtual bool quickRun() const = 0;

    /// Sets the current file name, which snapshots are named after.
    virtual void setCurrentFileName(const std::string& path) = 0;

    /// State of a settings-window option at the moment of use, as the
    /// complete write would store it: "1" when a check box is checked. Until
    /// the settings window answers, every option reads "0".
    virtual std::string option(Option which) const
    {
        (void)which;
        return "0";
    }
    /// Whether the check box of @p which is checked now.
    bool optionChecked(Option which) const { return option(which) == "1"; }

    /// Presents the screen at once through the current presentation, as the
    /// run loop's tick does (after a snapshot has replaced video RAM).
    virtual void presentNow() {}
    /// A frame of the run loop has run: shows it through the current
    /// presentation.
    virtual void presentFrame() {}
};

/// A host that shows nothing and answers every question in the negative.
class NullHost : public Host {
public:
    void showMessage(std::string_view) override {}
    void setCaption(std::string_view) override {}
    std::string caption() const override { return {}; }
    std::optional<std::string> chooseTapeFile() override { return std::nullopt; }
    void loadFile(const std::string&, bool) override {}
    bool logShown() const override { return false; }
    void appendLogLine(std::string_view) override {}
    void clearLog() override {}
    bool quickRun() const override { return false; }
    void setCurrentFileName(const std::string&) override {}
};

} // namespace ostrovik::machine
