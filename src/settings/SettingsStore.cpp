#include "settings/SettingsStore.hpp"

#include <algorithm>
#include <system_error>

#include "settings/SettingsFile.hpp"
#include "settings/SettingsSchema.hpp"

namespace ostrovik::settings {

namespace {

std::string flag(bool on)
{
    return on ? "1" : "0";
}

// Key @p index of @p keys, const or not.
template <typename Keys>
auto& keyAt(Keys& keys, std::size_t index)
{
    switch (index) {
    case 0: return keys.joyKeyUp;
    case 1: return keys.joyKeyDown;
    case 2: return keys.joyKeyLeft;
    case 3: return keys.joyKeyRight;
    default: return keys.joyKeyButton.at(index - 4);
    }
}

} // namespace

SettingsStore::SettingsStore(std::function<std::filesystem::path()> file)
    : file_(std::move(file)),
      renderingMode_(kDefaultRenderingMode),
      screenShotFormat_(kDefaultScreenShotFormat),
      frameTime_(kDefaultFrameTime),
      interval_(kDefaultInterval),
      recordingQuality_(kDefaultRecordingQuality)
{
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i)
        checks_[i] = kCheckOptions[i].designChecked;
}

bool SettingsStore::checked(machine::Option which) const
{
    const std::size_t i = machine::indexOf(which);
    return i < checks_.size() && checks_[i];
}

void SettingsStore::setChecked(machine::Option which, bool on)
{
    const std::size_t i = machine::indexOf(which);
    if (i >= checks_.size() || checks_[i] == on)
        return;
    checks_[i] = on;
    optionChanged(which);
}

void SettingsStore::setRenderingMode(int index)
{
    if (index < -1 || index >= kRenderingModeCount)
        index = -1;
    if (index == renderingMode_)
        return;
    renderingMode_ = index;
    optionChanged(machine::Option::RenderingMode);
}

void SettingsStore::setScreenShotFormat(int index)
{
    index = std::clamp(index, -1, kScreenShotFormatCount - 1);
    if (index == screenShotFormat_)
        return;
    screenShotFormat_ = index;
    optionChanged(machine::Option::ScreenShotFormat);
}

void SettingsStore::setCompressor(std::string text)
{
    if (text == compressor_)
        return;
    compressor_ = std::move(text);
    optionChanged(machine::Option::Compressor);
}

void SettingsStore::setFrameTime(int milliseconds)
{
    if (milliseconds == frameTime_)
        return;
    frameTime_ = milliseconds;
    optionChanged(machine::Option::FrameTime);
}

void SettingsStore::setInterval(int milliseconds)
{
    milliseconds = std::clamp(milliseconds, kMinInterval, kMaxInterval);
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    optionChanged(machine::Option::Interval);
}

std::uint16_t SettingsStore::joystickVirtualKey(std::size_t index) const
{
    return keyAt(joystickKeys_, index);
}

void SettingsStore::setJoystickVirtualKey(std::size_t index, std::uint16_t virtualKey)
{
    std::uint16_t& word = keyAt(joystickKeys_, index);
    if (word == virtualKey)
        return;
    word = virtualKey;
    changed({StoreChange::Kind::JoystickKey, {}, index});
}

void SettingsStore::setRecordingQuality(int index)
{
    if (index == recordingQuality_)
        return;
    recordingQuality_ = index;
    changed({StoreChange::Kind::RecordingQuality, {}, 0});
}

void SettingsStore::setCompressOnTheFly(bool on)
{
    if (on == compressOnTheFly_)
        return;
    compressOnTheFly_ = on;
    changed({StoreChange::Kind::CompressOnTheFly, {}, 0});
}

std::string SettingsStore::text(machine::Option which) const
{
    const std::size_t i = machine::indexOf(which);
    if (i < checks_.size())
        return flag(checks_[i]);
    switch (which) {
    case machine::Option::RenderingMode: return std::to_string(renderingMode_);
    case machine::Option::ScreenShotFormat: return std::to_string(screenShotFormat_);
    case machine::Option::Compressor: return compressor_;
    case machine::Option::FrameTime: return std::to_string(frameTime_);
    case machine::Option::Interval: return std::to_string(interval_);
    default: return "0";
    }
}

bool SettingsStore::fileExists() const
{
    std::error_code ec;
    return std::filesystem::exists(filePath(), ec);
}

void SettingsStore::load()
{
    const std::filesystem::path file = filePath();
    // A key the file lacks reads as its first-run value.
    for (const CheckOption& option : kCheckOptions)
        setChecked(option.id, readOption(file, option.id) == "1");

    // A number that is not one reads as its first-run value.
    const auto number = [&file](machine::Option which, int fallback) {
        return decimalOr(readOption(file, which), fallback);
    };
    setRenderingMode(number(machine::Option::RenderingMode, kDefaultRenderingMode));
    setScreenShotFormat(number(machine::Option::ScreenShotFormat, kDefaultScreenShotFormat));

    const std::string compressor = readOption(file, machine::Option::Compressor);
    setCompressor(compressor == "0" ? std::string() : compressor);
    setFrameTime(number(machine::Option::FrameTime, kDefaultFrameTime));
    setInterval(number(machine::Option::Interval, kDefaultInterval));

    for (std::size_t i = 0; i < kJoyKeys.size(); ++i)
        setJoystickVirtualKey(i, joyKeyFromText(readIni(file, kJoyOptions, kJoyKeys[i].key), kJoyKeys[i].defaultCode));
}

platform::IniStatus SettingsStore::save()
{
    const std::filesystem::path file = filePath();
    platform::IniStatus status;
    const auto write = [&](std::string_view section, std::string_view key, const std::string& value) {
        status = writeIni(file, section, key, value);
        return static_cast<bool>(status);
    };
    // The first failed write ends the save.
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i)
        if (!write(kAutoStartUpOptions, kCheckOptions[i].key, flag(checks_[i])))
            return status;
    if (!write(kAutoStartUpOptions, kRenderingMode, std::to_string(renderingMode_)) ||
        !write(kAutoStartUpOptions, kScreenShotFormat, std::to_string(screenShotFormat_)) ||
        !write(kVideoOptions, kCompressor, compressor_) ||
        !write(kVideoOptions, kFrameTime, std::to_string(frameTime_)) ||
        !write(kCPUOptions, kInterval, std::to_string(interval_)))
        return status;
    for (std::size_t i = 0; i < kJoyKeys.size(); ++i) {
        if (joystickVirtualKey(i) == 0)
            setJoystickVirtualKey(i, kJoyKeys[i].defaultCode);
        if (!write(kJoyOptions, kJoyKeys[i].key, std::to_string(joystickVirtualKey(i))))
            return status;
    }
    changed({StoreChange::Kind::Saved, {}, 0});
    return status;
}

std::shared_ptr<const SettingsStore::Listener> SettingsStore::subscribe(Listener listener)
{
    auto handle = std::make_shared<const Listener>(std::move(listener));
    listeners_.push_back(handle);
    return handle;
}

void SettingsStore::changed(const StoreChange& change)
{
    std::erase_if(listeners_, [](const std::weak_ptr<const Listener>& l) { return l.expired(); });
    // A listener may change the store again, and subscribe or let go meanwhile.
    std::vector<std::shared_ptr<const Listener>> now;
    for (const auto& weak : listeners_)
        if (auto listener = weak.lock())
            now.push_back(std::move(listener));
    for (const auto& listener : now)
        (*listener)(change);
}

} // namespace ostrovik::settings
