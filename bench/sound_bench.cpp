// One tick of sound: playTone (the buffer build) with playBuffer, on the real
// SDL2 wave-out device (the dummy driver unless SDL_AUDIODRIVER says
// otherwise), with a busy beeper: a click every 10 samples.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "machine/Machine.hpp"
#include "output/sound/Beeper.hpp"
#include "platform/CallQueue.hpp"
#include "platform/sdl/SdlWaveOut.hpp"

int main()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ostrovik::platform::CallQueue gui;
    ostrovik::platform::SdlWaveOut device(gui.poster());
    ostrovik::machine::NullHost host;
    ostrovik::machine::Machine machine{host};
    machine.ports.fill(0xFF);
    ostrovik::output::sound::Beeper beeper(machine, device);
    beeper.openAudio();

    constexpr int kTicks = 2000;
    bool opened = false;
    std::vector<double> us;
    us.reserve(kTicks);
    for (int tick = 0; tick < kTicks; ++tick) {
        for (std::int32_t t = 0; t < 56448; t += 400) {
            machine.clock = t;
            machine.writePort(0xC2, machine.ports[0xC2] ^ 1);
        }
        machine.clock = 56448;
        const auto start = std::chrono::steady_clock::now();
        beeper.playTone();
        const auto end = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        gui.drain(); // the notices between ticks, as the event loop runs them
        opened = opened || beeper.waveOutOpened != 0;
    }
    beeper.closeAudio();
    gui.drain();
    // Without a device the ticks only time a failing open.
    if (!opened) {
        std::fprintf(stderr, "no audio device opened\n");
        return 1;
    }

    // The first tick also opens the device, once per sound-on.
    std::printf("first tick (opens the device): %.0f us\n", us.front());
    us.erase(us.begin());
    std::sort(us.begin(), us.end());
    double sum = 0;
    for (double v : us)
        sum += v;
    const std::size_t n = us.size();
    std::printf("playTone + PlayBuffer per tick: mean %.2f us, median %.2f us, 99th %.2f us, max %.2f us "
                "(budget 50 us, %zu ticks)\n",
                sum / static_cast<double>(n), us[n / 2], us[n * 99 / 100], us.back(), n);
    return sum / static_cast<double>(n) < 50.0 ? 0 : 1;
}
