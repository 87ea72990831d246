#pragma once

#include <string_view>

namespace ostrovik::ui {

/// A typed handle of one component of the main window's menus and tool bar
/// (a menu item, submenu, separator or tool button), so that a misspelt name
/// does not compile. The handle's name is the component's object name.
class MenuItem {
public:
    explicit constexpr MenuItem(std::string_view name) : name_(name) {}
    constexpr std::string_view name() const { return name_; }
    constexpr bool operator==(const MenuItem&) const = default;

private:
    std::string_view name_;
};

/// Every component, by the name the main window's design gives it.
namespace menu {
inline constexpr MenuItem FileMenu{"FileMenu"};
inline constexpr MenuItem OpenFile{"OpenFile"};
inline constexpr MenuItem SaveSnapshot{"SaveSnapshot"};
inline constexpr MenuItem SeparatorBeforeReset{"SeparatorBeforeReset"};
inline constexpr MenuItem ResetCpu{"ResetCpu"};
inline constexpr MenuItem Pause{"Pause"};
inline constexpr MenuItem SeparatorBeforeExit{"SeparatorBeforeExit"};
inline constexpr MenuItem Exit{"Exit"};
inline constexpr MenuItem SeparatorBeforeRecentFiles{"SeparatorBeforeRecentFiles"};
inline constexpr MenuItem SetupMenu{"SetupMenu"};
inline constexpr MenuItem FullScreen{"FullScreen"};
inline constexpr MenuItem GrayTv{"GrayTv"};
inline constexpr MenuItem Blur{"Blur"};
inline constexpr MenuItem ScreenSize{"ScreenSize"};
inline constexpr MenuItem Screen256x256{"Screen256x256"};
inline constexpr MenuItem SeparatorBeforeSound{"SeparatorBeforeSound"};
inline constexpr MenuItem Sound{"Sound"};
inline constexpr MenuItem SoundView{"SoundView"};
inline constexpr MenuItem SeparatorBeforeLanguage{"SeparatorBeforeLanguage"};
inline constexpr MenuItem LanguageMenu{"LanguageMenu"};
inline constexpr MenuItem Russian{"Russian"};
inline constexpr MenuItem English{"English"};
inline constexpr MenuItem SeparatorBeforeOptions{"SeparatorBeforeOptions"};
inline constexpr MenuItem Options{"Options"};
inline constexpr MenuItem AdvancedMenu{"AdvancedMenu"};
inline constexpr MenuItem KeyboardWindow{"KeyboardWindow"};
inline constexpr MenuItem JoystickMenu{"JoystickMenu"};
inline constexpr MenuItem QJoystick{"QJoystick"};
inline constexpr MenuItem KeyboardJoystick{"KeyboardJoystick"};
inline constexpr MenuItem SeparatorBeforeScreenshot{"SeparatorBeforeScreenshot"};
inline constexpr MenuItem Screenshot{"Screenshot"};
inline constexpr MenuItem RecordAvi{"RecordAvi"};
inline constexpr MenuItem SeparatorBeforePictureConverter{"SeparatorBeforePictureConverter"};
inline constexpr MenuItem PictureConverter{"PictureConverter"};
inline constexpr MenuItem SeparatorBeforeFontEditor{"SeparatorBeforeFontEditor"};
inline constexpr MenuItem FontEditor{"FontEditor"};
inline constexpr MenuItem SeparatorBeforeAssembler{"SeparatorBeforeAssembler"};
inline constexpr MenuItem AssemblerWorkbench{"AssemblerWorkbench"};
inline constexpr MenuItem SeparatorBeforePaste{"SeparatorBeforePaste"};
inline constexpr MenuItem Paste{"Paste"};
inline constexpr MenuItem LogWindow{"LogWindow"};
inline constexpr MenuItem SeparatorBeforeNetwork{"SeparatorBeforeNetwork"};
inline constexpr MenuItem Network{"Network"};
inline constexpr MenuItem SeparatorBeforeDebuggers{"SeparatorBeforeDebuggers"};
inline constexpr MenuItem MemoryDebugger{"MemoryDebugger"};
inline constexpr MenuItem StepDebugger{"StepDebugger"};
inline constexpr MenuItem GamesMenu{"GamesMenu"};
inline constexpr MenuItem DownloadGames{"DownloadGames"};
inline constexpr MenuItem GameLibrary{"GameLibrary"};
inline constexpr MenuItem AboutMenu{"AboutMenu"};
inline constexpr MenuItem About{"About"};
inline constexpr MenuItem PopupPaste{"PopupPaste"};
inline constexpr MenuItem PopupScreen256x256{"PopupScreen256x256"};
inline constexpr MenuItem OpenFileButton{"OpenFileButton"};
inline constexpr MenuItem SaveSnapshotButton{"SaveSnapshotButton"};
inline constexpr MenuItem SpacerAfterFiles{"SpacerAfterFiles"};
inline constexpr MenuItem ResetButton{"ResetButton"};
inline constexpr MenuItem PauseButton{"PauseButton"};
inline constexpr MenuItem SpacerAfterPause{"SpacerAfterPause"};
inline constexpr MenuItem FullScreenButton{"FullScreenButton"};
inline constexpr MenuItem GrayTvButton{"GrayTvButton"};
inline constexpr MenuItem BlurButton{"BlurButton"};
inline constexpr MenuItem KeyboardButton{"KeyboardButton"};
inline constexpr MenuItem MemoryDebuggerButton{"MemoryDebuggerButton"};
inline constexpr MenuItem StepDebuggerButton{"StepDebuggerButton"};
inline constexpr MenuItem SoundButton{"SoundButton"};
inline constexpr MenuItem SoundViewButton{"SoundViewButton"};
inline constexpr MenuItem JoystickButton{"JoystickButton"};
inline constexpr MenuItem SpacerAfterJoystick{"SpacerAfterJoystick"};
inline constexpr MenuItem ScreenshotButton{"ScreenshotButton"};
inline constexpr MenuItem RecordAviButton{"RecordAviButton"};
inline constexpr MenuItem PictureConverterButton{"PictureConverterButton"};
inline constexpr MenuItem PasteButton{"PasteButton"};
inline constexpr MenuItem AssemblerButton{"AssemblerButton"};
inline constexpr MenuItem SpacerBeforeAbout{"SpacerBeforeAbout"};
inline constexpr MenuItem AboutButton{"AboutButton"};
inline constexpr MenuItem SpacerBeforeExit{"SpacerBeforeExit"};
inline constexpr MenuItem ExitButton{"ExitButton"};
} // namespace menu

} // namespace ostrovik::ui
