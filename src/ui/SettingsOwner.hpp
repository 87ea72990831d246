#pragma once

class QWidget;

namespace ostrovik::files::avi {
class AviWriter;
}
namespace ostrovik::kit {
class WindowHost;
}

namespace ostrovik::ui {

/// What the settings window asks of the main window that owns it: where it
/// sits, and the settings that take effect at once.
class SettingsOwner {
public:
    virtual ~SettingsOwner() = default;

    /// The window the settings window belongs to and is centred on.
    virtual QWidget* ownerWidget() = 0;
    /// Presents the picture in stored render mode @p stored from now on.
    virtual void applyRenderMode(int stored) = 0;
    virtual void setTimerInterval(int milliseconds) = 0;
    /// The recorder whose codec the settings window lists and configures.
    virtual files::avi::AviWriter& aviWriter() = 0;
    /// What the windows the owner opens receive; its runGuarded shows what a
    /// handler throws in the application's error box.
    virtual kit::WindowHost& windowHost() = 0;
};

} // namespace ostrovik::ui
