// From a joystick event to the key in the matrix. The capture reads the
// device once a period (20 ms: twice the smallest polling period), so a
// move waits at most one period for its poll; this measures the rest: the
// poll through SDL's joystick driver and the key handling, on a virtual
// controller. The target is under 1 ms.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "machine/Host.hpp"
#include "machine/JoystickKeys.hpp"
#include "machine/Machine.hpp"
#include "platform/sdl/SdlJoystick.hpp"
#include "support/ManualPollClock.hpp"

using namespace ostrovik;

namespace {

class Keys final : public platform::JoyWindow {
public:
    explicit Keys(machine::Machine& m) : machine_(m)
    {
        words_.joyKeyUp = 38;
        words_.joyKeyDown = 40;
        words_.joyKeyLeft = 37;
        words_.joyKeyRight = 39;
        words_.joyKeyButton = {70, 32, 13, 71};
    }
    void joystickMoved(std::uint32_t p) override { machine::joyMove(machine_, words_, p); }
    void joystickButtonDown(std::uint32_t p) override { machine::joyButtonDown(machine_, words_, p); }
    void joystickButtonUp(std::uint32_t p) override { machine::joyButtonUp(machine_, words_, p); }
    void joystickUnplugged() override {}

private:
    machine::Machine& machine_;
    machine::JoyKeyWords words_;
};

} // namespace

int main()
{
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    if (!pad) {
        std::fprintf(stderr, "no virtual joystick: %s\n", SDL_GetError());
        return 1;
    }
    machine::NullHost host;
    machine::Machine m(host);
    test::ManualPollClock clock;
    platform::SdlJoystick joystick(clock);
    Keys keys(m);
    if (joystick.joySetCapture(keys, 0, 2 * platform::SdlJoystick::kPeriodMin, false) != platform::JOYERR_NOERROR)
        return 1;

    constexpr int kRounds = 20000;
    std::vector<double> us;
    us.reserve(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        const bool up = i % 2 == 0;
        const auto t0 = std::chrono::steady_clock::now();
        SDL_JoystickSetVirtualAxis(pad, 1, up ? -32768 : 0);
        clock.tick();
        const auto t1 = std::chrono::steady_clock::now();
        // Up arrow: extra matrix row 3, bit 1.
        if (((m.extKeyMatrix[3] >> 1) & 1) != (up ? 1 : 0)) {
            std::fprintf(stderr, "round %d: the key did not follow\n", i);
            return 1;
        }
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(us.begin(), us.end());
    const double median = us[us.size() / 2], p99 = us[us.size() * 99 / 100], worst = us.back();
    std::printf("joystick event to matrix: median %.2f us, 99th percentile %.2f us, worst %.2f us "
                "(target under 1000 us), plus at most one capture period of %u ms\n",
                median, p99, worst, clock.period);
    joystick.joyReleaseCapture(0);
    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    return 0;
}
