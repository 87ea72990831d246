#pragma once

#include <cstdint>
#include <memory>

#include "machine/Host.hpp"
#include "machine/KeyMask.hpp"
#include "machine/Keyboard.hpp"
#include "machine/Paste.hpp"
#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiScreen.hpp"
#include "output/RenderMode.hpp"
#include "output/sound/Beeper.hpp"
#include "platform/WaveOut.hpp"

namespace ostrovik::session {

/// The running emulator without its windows: the machine, its keyboard, the
/// beeper, the screen's decoding and the frame loop. What it needs of the
/// user interface it asks through the machine's host; the main window turns
/// its events into calls here and presents the frames it is told of.
class EmulatorSession {
public:
    /// The fast start of a power-on or reset, in T-states.
    static constexpr std::int32_t kQuickStartBudget = 20'000'000;
    /// Only a frame whose run reached this clock makes a sound buffer.
    static constexpr std::int32_t kFullFrameClock = 56300;
    /// How long a key of the on-screen keyboard's matrix row is held, in T-states.
    static constexpr std::int32_t kMatrixKeyHold = 60000;

    /// @p host answers the machine and is told of every frame; the beeper
    /// plays through @p waveOut. Both outlive the session.
    EmulatorSession(machine::Host& host, platform::WaveOut& waveOut);
    ~EmulatorSession();
    EmulatorSession(const EmulatorSession&) = delete;
    EmulatorSession& operator=(const EmulatorSession&) = delete;

    machine::Machine& machine() { return machine_; }
    const machine::Machine& machine() const { return machine_; }
    machine::Host& host() { return host_; }
    output::ColourLookupTable& colorTable() { return *colorTable_; }
    output::GdiScreen& screen() { return screen_; }
    machine::Keyboard& keyboard() { return keyboard_; }
    output::sound::Beeper& beeper() { return beeper_; }

    /// Cold start: the reset, the wave format, and the first run (the quick
    /// start's budget when that option is on). What the reset throws (a ROM
    /// image that cannot be read) goes to the caller.
    void powerOn();
    /// One tick of the frame loop: a frame's T-states, the host told the
    /// frame is ready, and the frame's sound buffer. False, with nothing
    /// run, while the machine is paused.
    bool runFrame();

    /// A key of the desktop's keyboard went down: a Ctrl key (told by
    /// @p axes) switches the alphabet, any other key is pressed into the
    /// matrix and a frame's budget runs so the machine sees it at once.
    void keyDown(std::uint16_t virtualKey, std::uint32_t axes, machine::KeyboardLayout& layout)
    {
        keyboard_.KeyDown(virtualKey, axes, layout);
    }
    void keyUp(std::uint16_t virtualKey) { keyboard_.FormKeyUp(virtualKey); }
    /// Holds @p key in the matrix for kMatrixKeyHold T-states and lets it go,
    /// even while paused (the on-screen keyboard's alphabet keys).
    void tapMatrixKey(machine::KeyMask key);
    /// Types the text of @p clipboard into the machine.
    void paste(machine::ClipboardText& clipboard) { machine::pasteClipboard(keyboard_, clipboard); }

    /// The presentation the frames are shown through.
    output::RenderMode renderMode() const { return renderMode_; }
    void setRenderMode(output::RenderMode mode) { renderMode_ = mode; }

private:
    machine::Host& host_;
    machine::Machine machine_;
    std::unique_ptr<output::ColourLookupTable> colorTable_;
    output::GdiScreen screen_;
    machine::Keyboard keyboard_;
    output::sound::Beeper beeper_;
    output::RenderMode renderMode_ = output::RenderMode::Raster;
};

} // namespace ostrovik::session
