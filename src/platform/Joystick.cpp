#include "platform/Joystick.hpp"

namespace ostrovik::platform {

const char* joyErrorText(JoyResult result)
{
    switch (result) {
    case MMSYSERR_NODRIVER:
        return "No Joystick driver present";
    case MMSYSERR_INVALPARAM:
        return "Invalid Joystick Paramameters";
    case JOYERR_PARMS:
        return "No Joystick driver present or bad parameters";
    case JOYERR_NOCANDO:
        return "Hardware request not completed";
    case JOYERR_UNPLUGGED:
        return "Joystick is Unplugged";
    default:
        return "Unknown error with Joystick";
    }
}

std::uint16_t quantiseAxis(std::int16_t value)
{
    constexpr int kHalfTravel = 16384;
    if (value <= -kHalfTravel)
        return kJoyAxisMin;
    if (value >= kHalfTravel)
        return kJoyAxisMax;
    return kJoyAxisCentre;
}

} // namespace ostrovik::platform
