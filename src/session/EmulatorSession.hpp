#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "machine/Host.hpp"
#include "machine/JoystickKeys.hpp"
#include "machine/KeyMask.hpp"
#include "machine/Keyboard.hpp"
#include "machine/Paste.hpp"
#include "machine/Machine.hpp"
#include "output/ColorTable.hpp"
#include "output/GdiScreen.hpp"
#include "output/RenderMode.hpp"
#include "output/sound/Beeper.hpp"
#include "platform/WaveOut.hpp"

namespace ostrovik::files::avi {
class AviWriter;
}

namespace ostrovik::session {

/// The desktop's screen in pixels, which the recorder is made for.
struct DesktopSize {
    int width = 0;
    int height = 0;
};

/// What a recording starts with: the settings window's choices as the
/// settings store holds them.
struct RecordingOptions {
    /// The codec box's text: a line of the codec list, "No Compression" or empty.
    std::string compressor;
    /// The quality item's index ("Highest" … "Low"); none chosen counts as the highest.
    int quality = -1;
    /// Display time of one frame in milliseconds.
    std::int32_t frameTime = 1000;
    /// Compressed straight into the file, or first into the work file.
    bool onTheFly = true;
};

/// The running emulator without its windows: the machine, its keyboard, the
/// beeper, the screen's decoding, the frame loop and the AVI recording. What
/// it needs of the user interface it asks through the machine's host; the
/// main window turns its events into calls here and presents the frames it
/// is told of.
class EmulatorSession {
public:
    /// The fast start of a power-on or reset, in T-states.
    static constexpr std::int32_t kQuickStartBudget = 20'000'000;
    /// Only a frame whose run reached this clock makes a sound buffer.
    static constexpr std::int32_t kFullFrameClock = 56300;
    /// How long a key of the on-screen keyboard's matrix row is held, in T-states.
    static constexpr std::int32_t kMatrixKeyHold = 60000;

    /// @p host answers the machine and is told of every frame; the beeper
    /// plays through @p waveOut. Both outlive the session. The recorder is
    /// made for a desktop of @p desktop.
    EmulatorSession(machine::Host& host, platform::WaveOut& waveOut, DesktopSize desktop = {});
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
    /// The AVI writer, whose codec the settings window also configures.
    files::avi::AviWriter& recorder() { return *recorder_; }

    /// Cold start: the reset, the wave format, and the first run (the quick
    /// start's budget when that option is on). What the reset throws (a ROM
    /// image that cannot be read) goes to the caller.
    void powerOn();
    /// Cold reset, as the reset command does; what it throws goes to the caller.
    void reset() { machine_.coldReset(); }
    /// A paused machine runs no frame and takes no key press.
    void setPaused(bool paused) { machine_.paused = paused ? 1 : 0; }
    /// One tick of the frame loop: a frame's T-states, the host told the
    /// frame is ready, and the frame's sound buffer. False, with nothing
    /// run, while the machine is paused.
    bool runFrame();

    /// A key of the desktop's keyboard went down: a Ctrl key (told by
    /// @p axes) switches the alphabet, any other key is pressed into the
    /// matrix and a frame's budget runs so the machine sees it at once.
    void keyDown(std::uint16_t virtualKey, std::uint32_t axes, machine::KeyboardLayout& layout)
    {
        keyboard_.keyDown(virtualKey, axes, layout);
    }
    void keyUp(std::uint16_t virtualKey) { keyboard_.releaseKey(virtualKey); }
    /// Holds @p key in the matrix for kMatrixKeyHold T-states and lets it go,
    /// even while paused (the on-screen keyboard's alphabet keys).
    void tapMatrixKey(machine::KeyMask key);
    /// Types the text of @p clipboard into the machine.
    void paste(machine::ClipboardText& clipboard) { machine::pasteClipboard(keyboard_, clipboard); }

    /// The presentation the frames are shown through.
    output::RenderMode renderMode() const { return renderMode_; }
    /// Shows the frames through @p mode from now on: the screen's decoding
    /// keeps its bitmaps for the raster presentation only.
    void setRenderMode(output::RenderMode mode)
    {
        renderMode_ = mode;
        screen_.changeRenderMode(mode);
    }

    // ---- screenshots and the AVI recording (EmulatorSessionPictures.cpp) ---
    /// The frame a recording takes: the picture as the raster presentation
    /// shows it, smoothed when smoothing is on, or decoded (and smoothed
    /// likewise) where no presentation keeps one. Valid until the next call
    /// for a frame.
    const output::FrameBitmap& recordingFrame(bool grayTv);
    /// The frame a screenshot saves: the raster presentation's unsmoothed
    /// picture, or one decoded where no presentation keeps one.
    const output::FrameBitmap& screenshotFrame(bool grayTv);

    /// Starts a recording into ScreenAVI beside the program, named with the
    /// time stamp; where that name is taken, by a file or by its work file,
    /// it takes the next free number. What the writer throws (a refused frame
    /// time, a missing folder, a codec no longer there) goes to the caller,
    /// and nothing is recorded.
    void startRecording(const RecordingOptions& options);
    /// Hands the writer recordingFrame(@p grayTv). A frame that cannot be
    /// written ends the recording with the frames it has before its error
    /// goes to the caller. Nothing while no recording runs.
    void recordFrame(bool grayTv);
    /// Ends a running recording and completes its file; what the completion
    /// throws goes to the caller, and the recording has ended all the same.
    void stopRecording();
    bool recording() const { return recording_; }
    /// The time stamp recordings are named with; a test may drive it.
    std::function<std::string()> recordingStamp;

    // ---- sound and joystick ----------------------------------------------
    /// The sound switch, which every frame's buffer asks. On, the device
    /// opens again with the next buffer; off, it is closed.
    void setSoundOn(bool on);
    bool soundOn() const { return soundOn_; }

    /// The joystick's messages, played as the PC keys @p keys (up, down,
    /// left, right, buttons 1 to 4).
    void joystickMoved(const machine::JoyKeyWords& keys, std::uint32_t axes)
    {
        machine::joyMove(machine_, keys, axes);
    }
    void joystickButtonDown(const machine::JoyKeyWords& keys, std::uint32_t buttons)
    {
        machine::joyButtonDown(machine_, keys, buttons);
    }
    void joystickButtonUp(const machine::JoyKeyWords& keys, std::uint32_t buttons)
    {
        machine::joyButtonUp(machine_, keys, buttons);
    }

private:
    /// The machine's screen decoded into decoded_, for where no
    /// presentation keeps a frame.
    output::FrameBitmap& decodedFrame(bool grayTv);

    machine::Host& host_;
    machine::Machine machine_;
    std::unique_ptr<output::ColourLookupTable> colorTable_;
    output::GdiScreen screen_;
    machine::Keyboard keyboard_;
    output::sound::Beeper beeper_;
    output::RenderMode renderMode_ = output::RenderMode::Raster;
    bool soundOn_ = true;
    std::unique_ptr<files::avi::AviWriter> recorder_;
    bool recording_ = false;
    std::unique_ptr<output::FrameBitmap> decoded_;
};

} // namespace ostrovik::session
