#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "machine/JoystickKeys.hpp"
#include "machine/Option.hpp"
#include "platform/IniDocument.hpp"

namespace ostrovik::settings {

/// What one change of the store touched, for the windows that show it.
struct StoreChange {
    enum class Kind {
        /// One of machine::Option's values.
        Option,
        /// One joystick key, by its index in the order up, down, left, right, 1 … 4.
        JoystickKey,
        RecordingQuality,
        CompressOnTheFly,
        /// The complete write has stored every value.
        Saved,
    };
    Kind kind;
    machine::Option option = machine::Option::FullScreen;
    std::size_t joystickKey = 0;
};

/// The options at run time, typed, and config.ini's complete read and write.
/// The settings window edits it and every other window reads it, so what one
/// shows the others see at once, saved or not. It starts with the first-run
/// values (the joystick keys at 0 until the first load) and touches the file
/// only when asked.
class SettingsStore {
public:
    /// @p file gives the settings file's path at each access.
    explicit SettingsStore(std::function<std::filesystem::path()> file);

    /// The on/off options; false for the others.
    bool checked(machine::Option which) const;
    void setChecked(machine::Option which, bool on);

    /// 0 GDI, 1 OpenGL, 2 DirectX3D, -1 none chosen.
    int renderingMode() const { return renderingMode_; }
    /// An index past the modes leaves none chosen.
    void setRenderingMode(int index);
    /// 0 bmp, 1 jpg, 2 png, -1 none chosen.
    int screenShotFormat() const { return screenShotFormat_; }
    /// Kept within -1 … 2.
    void setScreenShotFormat(int index);
    /// The codec box's text (UTF-8): a codec's line, typed text or empty.
    const std::string& compressor() const { return compressor_; }
    void setCompressor(std::string text);
    int frameTime() const { return frameTime_; }
    void setFrameTime(int milliseconds);
    /// The main timer's interval in milliseconds.
    int interval() const { return interval_; }
    /// Kept within 1 … 100.
    void setInterval(int milliseconds);

    /// The PC keys the joystick plays, as the virtual-key codes they are
    /// stored as.
    const machine::JoyKeyWords& joystickVirtualKeys() const { return joystickKeys_; }
    /// Key @p index in the order up, down, left, right, buttons 1 … 4.
    std::uint16_t joystickVirtualKey(std::size_t index) const;
    void setJoystickVirtualKey(std::size_t index, std::uint16_t virtualKey);

    /// The recording's quality index (0 "Highest" … 4 "Low") and on-the-fly
    /// compression: chosen in the settings window, never stored.
    int recordingQuality() const { return recordingQuality_; }
    void setRecordingQuality(int index);
    bool compressOnTheFly() const { return compressOnTheFly_; }
    void setCompressOnTheFly(bool on);

    /// Option @p which as the complete write stores it: "1"/"0" for an
    /// on/off option, decimal numbers, the codec's text.
    std::string text(machine::Option which) const;

    std::filesystem::path filePath() const { return file_(); }
    bool fileExists() const;
    /// Every option and joystick key from the file. A key the file lacks,
    /// or a number that is not one, reads as its first-run value; a file
    /// that cannot be read reads as one without keys.
    void load();
    /// The complete write: one write per key in the file's order, the first
    /// failure ending it. A joystick key still 0 becomes its default first.
    platform::IniStatus save();

    using Listener = std::function<void(const StoreChange&)>;
    /// Calls @p listener after every change for as long as the caller keeps
    /// the returned handle.
    [[nodiscard]] std::shared_ptr<const Listener> subscribe(Listener listener);

private:
    void changed(const StoreChange& change);
    void optionChanged(machine::Option which) { changed({StoreChange::Kind::Option, which, 0}); }

    std::function<std::filesystem::path()> file_;
    std::array<bool, machine::kCheckOptionCount> checks_{};
    int renderingMode_;
    int screenShotFormat_;
    std::string compressor_;
    int frameTime_;
    int interval_;
    machine::JoyKeyWords joystickKeys_;
    int recordingQuality_;
    bool compressOnTheFly_ = true;
    std::vector<std::weak_ptr<const Listener>> listeners_;
};

} // namespace ostrovik::settings
