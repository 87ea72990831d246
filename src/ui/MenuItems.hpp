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
inline constexpr MenuItem N1{"N1"};
inline constexpr MenuItem N2{"N2"};
inline constexpr MenuItem sav1{"sav1"};
inline constexpr MenuItem N27{"N27"};
inline constexpr MenuItem ResetCPU1{"ResetCPU1"};
inline constexpr MenuItem N11{"N11"};
inline constexpr MenuItem N3{"N3"};
inline constexpr MenuItem N4{"N4"};
inline constexpr MenuItem N36{"N36"};
inline constexpr MenuItem N5{"N5"};
inline constexpr MenuItem FullScreen1{"FullScreen1"};
inline constexpr MenuItem N7{"N7"};
inline constexpr MenuItem N9{"N9"};
inline constexpr MenuItem N33{"N33"};
inline constexpr MenuItem N256x2561{"N256x2561"};
inline constexpr MenuItem N8{"N8"};
inline constexpr MenuItem N13{"N13"};
inline constexpr MenuItem N28{"N28"};
inline constexpr MenuItem N14{"N14"};
inline constexpr MenuItem N15{"N15"};
inline constexpr MenuItem Russian1{"Russian1"};
inline constexpr MenuItem English1{"English1"};
inline constexpr MenuItem N25{"N25"};
inline constexpr MenuItem N26{"N26"};
inline constexpr MenuItem N18{"N18"};
inline constexpr MenuItem N10{"N10"};
inline constexpr MenuItem N16{"N16"};
inline constexpr MenuItem Qjoystick1{"Qjoystick1"};
inline constexpr MenuItem Keyboardjoystick1{"Keyboardjoystick1"};
inline constexpr MenuItem N24{"N24"};
inline constexpr MenuItem N19{"N19"};
inline constexpr MenuItem N20{"N20"};
inline constexpr MenuItem N29{"N29"};
inline constexpr MenuItem PictureToLVT1{"PictureToLVT1"};
inline constexpr MenuItem N30{"N30"};
inline constexpr MenuItem Znakogenerator1{"Znakogenerator1"};
inline constexpr MenuItem N34{"N34"};
inline constexpr MenuItem Assemblereditor1{"Assemblereditor1"};
inline constexpr MenuItem N21{"N21"};
inline constexpr MenuItem N31{"N31"};
inline constexpr MenuItem LogTextOut1{"LogTextOut1"};
inline constexpr MenuItem N12{"N12"};
inline constexpr MenuItem N23{"N23"};
inline constexpr MenuItem N37{"N37"};
inline constexpr MenuItem N6{"N6"};
inline constexpr MenuItem Debuggerstepbystep1{"Debuggerstepbystep1"};
inline constexpr MenuItem N35{"N35"};
inline constexpr MenuItem Onlinegamesitegames1{"Onlinegamesitegames1"};
inline constexpr MenuItem OffLine1{"OffLine1"};
inline constexpr MenuItem N17{"N17"};
inline constexpr MenuItem N22{"N22"};
inline constexpr MenuItem N32{"N32"};
inline constexpr MenuItem N256x2562{"N256x2562"};
inline constexpr MenuItem ToolButton1{"ToolButton1"};
inline constexpr MenuItem ToolButton20{"ToolButton20"};
inline constexpr MenuItem ToolButton4{"ToolButton4"};
inline constexpr MenuItem ToolButton2{"ToolButton2"};
inline constexpr MenuItem ToolButton3{"ToolButton3"};
inline constexpr MenuItem ToolButton5{"ToolButton5"};
inline constexpr MenuItem ToolButton6{"ToolButton6"};
inline constexpr MenuItem ToolButton7{"ToolButton7"};
inline constexpr MenuItem ToolButton19{"ToolButton19"};
inline constexpr MenuItem ToolButton8{"ToolButton8"};
inline constexpr MenuItem ToolButton9{"ToolButton9"};
inline constexpr MenuItem ToolButton24{"ToolButton24"};
inline constexpr MenuItem ToolButton18{"ToolButton18"};
inline constexpr MenuItem ToolButton21{"ToolButton21"};
inline constexpr MenuItem ToolButton17{"ToolButton17"};
inline constexpr MenuItem ToolButton10{"ToolButton10"};
inline constexpr MenuItem ToolButton15{"ToolButton15"};
inline constexpr MenuItem ToolButton16{"ToolButton16"};
inline constexpr MenuItem ToolButton22{"ToolButton22"};
inline constexpr MenuItem ToolButton23{"ToolButton23"};
inline constexpr MenuItem ToolButton25{"ToolButton25"};
inline constexpr MenuItem ToolButton14{"ToolButton14"};
inline constexpr MenuItem ToolButton11{"ToolButton11"};
inline constexpr MenuItem ToolButton12{"ToolButton12"};
inline constexpr MenuItem ToolButton13{"ToolButton13"};
} // namespace menu

} // namespace ostrovik::ui
