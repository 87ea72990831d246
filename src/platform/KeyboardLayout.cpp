#include "platform/KeyboardLayout.hpp"

namespace ostrovik::platform {

bool KeyboardLayout::load(std::string_view name)
{
    if (name != kLayoutUS && name != kLayoutRussian) {
        return false;
    }
    name_ = name;
    return true;
}

KeyboardLayout& activeKeyboardLayout()
{
    static KeyboardLayout layout;
    return layout;
}

} // namespace ostrovik::platform
