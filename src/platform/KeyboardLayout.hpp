#pragma once

#include <string>
#include <string_view>

namespace ostrovik::platform {

/// Names of the two desktop keyboard layouts the machine's key tables are
/// made for, as eight hex digits.
inline constexpr std::string_view kLayoutUS = "00000409";
inline constexpr std::string_view kLayoutRussian = "00000419";

/// The active keyboard layout of the emulator's windows. The main window
/// reads its name at each key press to choose the machine's key table, and
/// the Ctrl keys switch it. Only our own windows see the switch; the
/// desktop's layout is not touched.
class KeyboardLayout {
public:
    /// The name of the active layout; "00000409" until something is loaded.
    const std::string& name() const { return name_; }

    /// Makes @p name the active layout. Only the two known layouts can be
    /// loaded; any other name changes nothing and gives false.
    bool load(std::string_view name);

private:
    std::string name_{kLayoutUS};
};

/// The layout state shared by the windows of the GUI thread.
KeyboardLayout& activeKeyboardLayout();

} // namespace ostrovik::platform
