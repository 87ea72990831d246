#pragma once

#include <functional>

#include "machine/EmulatorControl.hpp"
#include "kit/Captions.hpp"

class QWidget;

namespace ostrovik::kit {

/// What every window opened from the main window receives: the running
/// emulator, the main window as its owner, the language of the captions, and
/// the error box its handlers report to.
class WindowHost : public machine::EmulatorControl {
public:
    /// The main window, which owns the tool windows.
    virtual QWidget& mainWindow() = 0;
    /// The language the captions are shown in now.
    virtual Language language() const = 0;
    /// Writes the caption set @p set into @p window in the current language.
    /// The memory debugger, the settings window, the picture converter, the
    /// font editor, the game library and the downloader also follow every
    /// later switch; the other windows ask language() for their own texts.
    virtual void adoptCaptions(QWidget& window, CaptionWindow set) = 0;
    /// Runs @p handler as an event handler: an error it throws is shown in
    /// the application's error box and goes no further.
    virtual void runGuarded(const std::function<void()>& handler) = 0;
};

} // namespace ostrovik::kit
