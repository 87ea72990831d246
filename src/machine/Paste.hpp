#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrovik::machine {

class Keyboard;

/// The PC clipboard as plain text.
class ClipboardText {
public:
    virtual ~ClipboardText() = default;
    /// The clipboard's text as Windows-1251 bytes, or nothing when the
    /// clipboard cannot be opened or holds no text.
    virtual std::optional<std::string> text() = 0;
};

/// Reads the clipboard's text into @p text, cut at its first zero byte.
/// False, with @p text left as it was, when there is no text.
bool getClipboardText(ClipboardText& clipboard, std::string& text);

/// Types Windows-1251 @p text into the machine key by key: each character
/// as its alphabet's mode key, then its own key (with Shift for the shifted
/// symbols), 900,000 T-states of CPU after every press and release. The
/// caption shows the progress and is restored at the end. Characters without
/// a key still cost their mode key and runs. Empty text does nothing.
void pasteText(Keyboard& keyboard, std::string_view text);

/// The paste command: the clipboard's text typed into the machine, paused or
/// not.
void pasteClipboard(Keyboard& keyboard, ClipboardText& clipboard);

} // namespace ostrovik::machine
