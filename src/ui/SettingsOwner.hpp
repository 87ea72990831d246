#pragma once

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace ostrovik::files::avi {
class AviWriter;
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
    /// The File menu, which ends with the recent files.
    virtual QMenu* fileMenu() const = 0;
    /// Loads the recent file of menu item @p item.
    virtual void openRecentFile(QAction* item) = 0;
    /// Runs @p handler as an event handler: what it throws is shown in the
    /// application's error box.
    virtual void runGuarded(const std::function<void()>& handler) = 0;
};

} // namespace ostrovik::ui
