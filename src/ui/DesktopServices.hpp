#pragma once

#include "machine/Keyboard.hpp"
#include "machine/Paste.hpp"

#include <string>

class QMimeData;

namespace ostrovik::ui {

/// The desktop clipboard as Windows-1251 text with CR LF line ends, as the
/// original platform's clipboard holds it (this desktop's text ends lines
/// with LF alone, which presses no key). A character the code page lacks
/// arrives as "?", as the original platform converts it, so it keeps its
/// place in the text and its step of the progress.
class DesktopClipboard final : public machine::ClipboardText {
public:
    std::optional<std::string> text() override;
};

/// The first item of a drop as a local path, in the bytes the file system
/// names it by; empty when it is not a local file.
std::string firstDroppedFile(const QMimeData* data);

/// The machine's view of the windows' keyboard layout.
machine::KeyboardLayout& desktopKeyboardLayout();

} // namespace ostrovik::ui
