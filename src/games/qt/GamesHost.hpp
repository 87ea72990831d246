#pragma once

#include <cstdint>
#include <string>

#include <QString>

class QWidget;

namespace ostrovik::games {

/// What the game library's windows ask of the main window: its program
/// folder, its message boxes, and the operations that start a game.
class GamesHost {
public:
    virtual ~GamesHost() = default;

    /// The folder of the executable, without its trailing separator.
    virtual std::string programDir() const = 0;
    /// A modal message box with an OK button.
    virtual void message(QWidget* parent, const QString& text) = 0;
    /// The application's error box.
    virtual void error(QWidget* parent, const QString& text) = 0;

    /// The settings window's fast-start box (QuickRun).
    virtual bool quickRun() const = 0;
    virtual void setQuickRun(bool checked) = 0;
    /// Cold reset of the machine.
    virtual void ResetComp() = 0;
    virtual void setPaused(std::uint8_t paused) = 0;
    virtual void setMainCaption(const QString& caption) = 0;
    /// Loads a tape image or snapshot; its failures are the main window's to report.
    virtual void NewLoadFile(const QString& path, bool autoStart) = 0;
    virtual void AddFileInMRU(const QString& path) = 0;
    /// The name the main window's open dialog remembers.
    virtual void setOpenDialogFileName(const QString& path) = 0;
    /// Brings the main window in front of the others and gives it the input
    /// focus, so that the game just started is seen.
    virtual void bringMainForward() = 0;
};

} // namespace ostrovik::games
