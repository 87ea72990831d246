// One run-loop tick on the test ROM: 56,448 T-states of its idle loop plus a
// frame with an unchanged screen (target under 0.2 ms); a frame after a
// palette write (target under 0.5 ms); and a key press, which runs one extra
// budget (target under 1 ms).
//
//   tick_bench [folder with bios.dat]   (default: the folder of this program)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <vector>

#include "BenchTiming.hpp"
#include "machine/Keyboard.hpp"
#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiScreen.hpp"

using namespace ostrovik;
using bench::report;
using bench::time;

namespace {

class Layout final : public machine::KeyboardLayout {
public:
    std::string activeLayoutName() const override { return "00000409"; }
    void activateLayout(std::string_view) override {}
};

} // namespace

int main(int argc, char** argv)
try {
    machine::NullHost host;
    machine::Machine m(host);
    m.programDir = argc > 1 ? argv[1] : std::filesystem::absolute(argv[0]).parent_path().string();
    m.coldReset();
    m.runOpcodes(20'000'000); // to the prompt

    auto table = std::make_unique<output::ColourLookupTable>();
    output::calculateColor(*table);
    output::GdiScreen screen(m, *table);
    screen.changeRenderMode(ostrovik::output::RenderMode::Raster);
    screen.drawScreen(false);

    auto ticks = time(2000, [&] {
        m.runOpcodes(m.cyclesPerTick);
        screen.drawScreen(false);
    });
    report("tick (idle loop + unchanged frame)", ticks, 200);

    auto redraws = time(2000, [&] {
        m.writePort(0xC1, m.ports[0xC1]);
        screen.drawScreen(false);
    });
    report("frame after a palette write", redraws, 500);

    machine::Keyboard keyboard(m);
    Layout layout;
    auto presses = time(1000, [&] {
        keyboard.pressKey(0x41, layout.activeLayoutName());
        keyboard.releaseKey(0x41);
    });
    report("key press (one extra budget)", presses, 1000);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "tick_bench: %s\n", e.what());
    return 1;
}
