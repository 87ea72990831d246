#pragma once

#include <string>

namespace ostrovik::games {

/// What the three download methods use of their window: the address boxes,
/// the skip box, the log, the gauge. The window's own object is called on
/// the window's thread only; a method's run reaches it through a gate.
class DownloaderView {
public:
    virtual ~DownloaderView() = default;

    virtual std::string webText() const = 0;
    virtual void setWebText(const std::string& text) = 0;
    virtual std::string jsonText() const = 0;
    /// The skip box: leave out games whose folder is in the library.
    virtual bool skipExisting() const = 0;

    virtual void clearLog() = 0;
    virtual void addLogLine(const std::string& line) = 0;

    virtual int gaugeProgress() const = 0;
    virtual void setGaugeProgress(int value) = 0;
    virtual void setGaugeMinimum(int value) = 0;
    virtual void setGaugeMaximum(int value) = 0;

    /// The application's error box.
    virtual void showError(const std::string& text) = 0;
    /// The three start buttons, blocked while a method's run goes on.
    virtual void setStartButtonsEnabled(bool enabled) = 0;
};

} // namespace ostrovik::games
