#pragma once

#include <QIcon>
#include <QPixmap>

namespace ostrovik::kit {

/// The pictures of the main window's menu items and tool buttons and of the
/// workbench's tool bar. Drawn by our own code, each at 16 × 16 (menus, tool
/// bar) and 32 × 32.
enum class Icon : int {
    None = -1,
    BlankPage,
    Settings,
    Debugger,
    Keyboard,
    Open,
    Save,
    Exit,
    Pause,
    Paused,
    About,
    Help,
    Stop,
    ColourTv,
    GrayTv,
    Stretch,
    Reset,
    Screenshot,
    AviFilm,
    AviStopped,
    AviRecording,
    Joystick,
    SoundOn,
    SoundOff,
    Smoothing,
    SoundView,
    PictureToTape,
    JoystickCapture,
    ScreenSize,
    ConsoleLog,
    Screen256x256,
    Paste,
    Language,
    FontEditor,
    Assembler,
    StepDebugger,
    Network,
    English,
    Russian,
};

/// The pictures by their handles.
class IconSet {
public:
    static constexpr int kCount = 38;
    static constexpr int kSmallSize = 16;
    static constexpr int kLargeSize = 32;

    /// Picture @p which at @p size × @p size pixels; a null pixmap for
    /// Icon::None and anything outside the list.
    static QPixmap pixmap(Icon which, int size = kSmallSize);
    /// Picture @p which at both sizes; a null icon for Icon::None.
    static QIcon icon(Icon which);
};

} // namespace ostrovik::kit
