#include "platform/KeyboardLayout.hpp"

namespace ostrovik::platform {

bool KeyboardLayout::Load(std::string_view name)
{
    if (name != kLayoutUS && name != kLayoutRussian) {
        return false;
    }
    m_name = name;
    return true;
}

KeyboardLayout& ActiveKeyboardLayout()
{
    static KeyboardLayout layout;
    return layout;
}

} // namespace ostrovik::platform
