#pragma once

#include <string>
#include <string_view>

namespace ostrovik::platform {

/// What WriteWholeFile() did.
struct FileWrite {
    bool created = false; ///< the file could be created (or truncated)
    bool ok = false;      ///< every byte is in the file and it is closed
    std::string reason;   ///< why not, in words ("No space left on device", …)
};

/// Creates or overwrites @p path with @p bytes. A write that fails half-way
/// (a full disk) removes what it left, so no empty or cut file remains under
/// the name. With @p runnable the file may be executed. Obeys the installed
/// open- and write-fault hooks.
FileWrite WriteWholeFile(const std::string& path, std::string_view bytes, bool runnable = false);

} // namespace ostrovik::platform
