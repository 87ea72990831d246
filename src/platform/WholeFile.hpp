#pragma once

#include <string>
#include <string_view>

namespace ostrovik::platform {

/// What writeWholeFile() did.
struct FileWrite {
    bool created = false; ///< the file could be created (or truncated)
    bool ok = false;      ///< every byte is in the file and it is closed
    std::string reason;   ///< why not, in words ("No space left on device", …)
};

/// Creates or overwrites @p path with @p bytes. A regular file (new or old)
/// is written beside its name and renamed into place once every byte is on
/// disk, so a write that fails half-way (a full disk) leaves the old file as
/// it was, or no file at all, and never a cut one. Where something other than
/// a regular file stands under the name (a device, a pipe) it is written to
/// directly, without waiting for a reader. With @p runnable the file may be
/// executed. Obeys the installed open- and write-fault hooks.
FileWrite writeWholeFile(const std::string& path, std::string_view bytes, bool runnable = false);

} // namespace ostrovik::platform
