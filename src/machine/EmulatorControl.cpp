#include "machine/EmulatorControl.hpp"

#include "machine/Machine.hpp"

namespace ostrovik::machine {

namespace {

/// Keeps the fast-start option and the pause as the start found them.
class StartGuard {
public:
    explicit StartGuard(EmulatorControl& emulator)
        : emulator_(emulator), quickRun_(emulator.host().optionChecked(Option::QuickRun))
    {
    }
    ~StartGuard()
    {
        emulator_.setPaused(false);
        emulator_.setOptionChecked(Option::QuickRun, quickRun_);
    }
    StartGuard(const StartGuard&) = delete;
    StartGuard& operator=(const StartGuard&) = delete;

private:
    EmulatorControl& emulator_;
    bool quickRun_;
};

} // namespace

Host& EmulatorControl::host()
{
    return machine().host();
}

void startProgram(EmulatorControl& emulator, const ProgramStart& start)
{
    {
        StartGuard guard(emulator);
        emulator.setOptionChecked(Option::QuickRun, true);
        emulator.reset();
        emulator.setPaused(true);
        emulator.host().setCaption(start.caption);
        emulator.host().loadFile(start.path, true);
        if (start.remember)
            emulator.rememberFile(start.path);
    }
    emulator.focusMainWindow();
}

} // namespace ostrovik::machine
