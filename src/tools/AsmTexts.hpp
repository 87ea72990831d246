#pragma once

#include <string_view>

namespace ostrovik::tools {

/// The editor's text when the workbench opens: a complete example program
/// with its tape-image header that cycles the palette port.
extern const std::string_view kAsmInitialText;

/// "New project": the tape-image header and an empty program between START
/// and END.
extern const std::string_view kAsmNewProject;

} // namespace ostrovik::tools
