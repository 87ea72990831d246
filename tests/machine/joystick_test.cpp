// The joystick as the machine's keys: its messages through the key table into
// the matrix, and SDL's joystick driver under the capture, with virtual
// devices in place of a controller.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestMachine.hpp"
#include "machine/JoystickKeys.hpp"
#include "platform/sdl/SdlJoystick.hpp"
#include "support/ManualPollClock.hpp"
#include "support/VirtualJoystick.hpp"

using namespace ostrovik;
using machine::JoyKeyWords;
using platform::joyMoveParam;

namespace {

constexpr std::uint16_t kMin = 255, kCentre = 32767, kMax = 65535;

// The default keys: the arrows, then F, Space, Enter, G.
JoyKeyWords defaultKeys()
{
    JoyKeyWords k;
    k.joyKeyUp = 38;
    k.joyKeyDown = 40;
    k.joyKeyLeft = 37;
    k.joyKeyRight = 39;
    k.joyKeyButton = {70, 32, 13, 71};
    return k;
}

struct Held {
    int row;
    int bit;
    bool ext;
};

// What a message sequence leaves held, as matrix rows and bits (hand-written
// from the key table: Up ext 3.1, Down ext 3.3, Left ext 3.2, Right ext 3.0,
// F main 6.7, Space main 3.0, Enter main 1.3, G main 1.0, W main 6.5).
struct Case {
    const char* name;
    std::vector<std::pair<char, std::uint32_t>> messages; // 'm' move, 'd' down, 'u' up
    std::vector<Held> held;
    bool reassignUpToW = false;
};

bool isHeld(const machine::Machine& m, const Held& h)
{
    const std::uint8_t row = h.ext ? m.extKeyMatrix[h.row] : m.keyMatrix[h.row];
    return (row >> h.bit) & 1;
}

int bitsHeld(const machine::Machine& m)
{
    int n = 0;
    for (std::uint8_t r : m.keyMatrix)
        n += __builtin_popcount(r);
    for (std::uint8_t r : m.extKeyMatrix)
        n += __builtin_popcount(r);
    return n;
}

} // namespace

TEST(JoystickKeys, MessagesPressAndReleaseTheAssignedKeys)
{
    const Case cases[] = {
        {"diagonal up-left presses two keys", {{'m', joyMoveParam(kMin, kMin)}}, {{3, 1, true}, {3, 2, true}}},
        {"down-right", {{'m', joyMoveParam(kMax, kMax)}}, {{3, 3, true}, {3, 0, true}}},
        {"centre releases both", {{'m', joyMoveParam(kMin, kMin)}, {'m', joyMoveParam(kCentre, kCentre)}}, {}},
        {"0 and 65,534 change nothing",
         {{'m', joyMoveParam(kMin, kCentre)}, {'m', joyMoveParam(0, 65534)}, {'m', joyMoveParam(65534, 0)}},
         {{3, 2, true}}},
        {"up straight to down holds both", {{'m', joyMoveParam(kCentre, kMin)}, {'m', joyMoveParam(kCentre, kMax)}},
         {{3, 1, true}, {3, 3, true}}},
        {"two buttons, one let go", {{'d', 0x3}, {'u', 0x2}}, {{3, 0, false}}},
        {"four buttons", {{'d', 0xF}}, {{6, 7, false}, {3, 0, false}, {1, 3, false}, {1, 0, false}}},
        {"the change bits are no state", {{'d', 0x101}, {'u', 0x100}}, {}},
        {"up reassigned to W: centring releases W",
         {{'m', joyMoveParam(kCentre, kMin)}},
         {{6, 5, false}},
         true},
        {"W released by the centre", {{'m', joyMoveParam(kCentre, kMin)}, {'m', joyMoveParam(kCentre, kCentre)}}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine::test::TestMachine t;
        JoyKeyWords keys = defaultKeys();
        if (c.reassignUpToW)
            keys.joyKeyUp = 87;
        for (const auto& [kind, param] : c.messages) {
            if (kind == 'm')
                machine::joyMove(t.m, keys, param);
            else if (kind == 'd')
                machine::joyButtonDown(t.m, keys, param);
            else
                machine::joyButtonUp(t.m, keys, param);
        }
        for (const Held& h : c.held)
            EXPECT_TRUE(isHeld(t.m, h)) << "row " << h.row << " bit " << h.bit;
        EXPECT_EQ(bitsHeld(t.m), static_cast<int>(c.held.size()));
        // The handlers never run the machine.
        EXPECT_EQ(t.m.clock, 0);
    }
}

TEST(JoystickKeys, AxisValuesAreQuantisedToTheThreeThatMeanSomething)
{
    const std::pair<std::int16_t, std::uint16_t> cases[] = {
        {-32768, kMin}, {-16384, kMin}, {-16383, kCentre}, {0, kCentre},
        {16383, kCentre}, {16384, kMax}, {32767, kMax},
    };
    for (const auto& [sdl, expected] : cases)
        EXPECT_EQ(platform::quantiseAxis(sdl), expected) << sdl;
}

// ---- SDL's driver under the capture --------------------------------------

namespace {

using ManualClock = ostrovik::test::ManualPollClock;

class Recorder final : public platform::JoyWindow {
public:
    void joystickMoved(std::uint32_t axes) override { log.push_back("move " + std::to_string(axes & 0xFFFF) + "," + std::to_string(axes >> 16)); }
    void joystickButtonDown(std::uint32_t buttons) override { log.push_back("down " + std::to_string(buttons)); }
    void joystickButtonUp(std::uint32_t buttons) override { log.push_back("up " + std::to_string(buttons)); }
    void joystickUnplugged() override { log.push_back("unplugged"); }
    std::vector<std::string> log;
};

using VirtualPad = ostrovik::test::VirtualJoystick;

} // namespace

TEST(SdlJoystick, CaptureFailsWithoutAJoystick)
{
    ManualClock clock;
    platform::SdlJoystick joystick(clock);
    platform::JoyInfo info;
    EXPECT_EQ(joystick.joyGetPos(0, info), platform::JOYERR_UNPLUGGED);
    EXPECT_EQ(joystick.joyGetPos(1, info), platform::JOYERR_PARMS);
    Recorder window;
    EXPECT_EQ(joystick.joySetCapture(window, 0, 20, false), platform::JOYERR_UNPLUGGED);
    EXPECT_FALSE(clock.running());
    EXPECT_STREQ(platform::joyErrorText(platform::JOYERR_UNPLUGGED), "Joystick is Unplugged");
    EXPECT_STREQ(platform::joyErrorText(platform::MMSYSERR_NODRIVER), "No Joystick driver present");
    EXPECT_STREQ(platform::joyErrorText(platform::JOYERR_NOERROR), "Unknown error with Joystick");
}

TEST(SdlJoystick, CapturedPadSendsPositionsEveryPeriodAndButtonChanges)
{
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    ManualClock clock;
    platform::SdlJoystick joystick(clock);
    platform::JoyInfo info;
    ASSERT_EQ(joystick.joyGetPos(0, info), platform::JOYERR_NOERROR);
    EXPECT_EQ(info.wXpos, kCentre);
    platform::JoyCaps caps;
    ASSERT_EQ(joystick.joyGetDevCaps(0, caps), platform::JOYERR_NOERROR);
    Recorder window;
    ASSERT_EQ(joystick.joySetCapture(window, 0, 2 * caps.wPeriodMin, false), platform::JOYERR_NOERROR);
    EXPECT_EQ(clock.period, 20u);

    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> expected;
    };
    const Step steps[] = {
        {"still: a move all the same", [] {}, {"move 32767,32767"}},
        {"up-left", [&] { pad.axis(0, -32768); pad.axis(1, -30000); }, {"move 255,255"}},
        {"two buttons", [&] { pad.button(0, true); pad.button(2, true); }, {"move 255,255", "down 1285"}},
        {"one let go, right", [&] { pad.button(0, false); pad.axis(0, 32767); }, {"move 65535,255", "up 260"}},
        {"a small push is the centre", [&] { pad.axis(0, 8000); pad.axis(1, -8000); }, {"move 32767,32767"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        window.log.clear();
        s.act();
        clock.tick();
        EXPECT_EQ(window.log, s.expected);
    }

    // Unplugged while captured: the window hears of it once, the capture ends.
    window.log.clear();
    pad.unplug();
    clock.tick();
    EXPECT_EQ(window.log, std::vector<std::string>{"unplugged"});
    EXPECT_FALSE(joystick.captured());
    EXPECT_FALSE(clock.running());
    EXPECT_EQ(joystick.joyGetPos(0, info), platform::JOYERR_UNPLUGGED);

    // Plugged in again: captured again.
    VirtualPad again;
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(joystick.joySetCapture(window, 0, 20, false), platform::JOYERR_NOERROR);
    EXPECT_TRUE(clock.running());
    EXPECT_EQ(joystick.joyReleaseCapture(0), platform::JOYERR_NOERROR);
    EXPECT_FALSE(clock.running());
}
