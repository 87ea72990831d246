#pragma once

#include <cstddef>
#include <string>

namespace ostrovik::platform {

/// What readRegularFile() found.
enum class FileReadStatus {
    Ok,         ///< the whole file is in bytes
    Truncated,  ///< the first maxBytes bytes are in bytes; the file holds more
    Missing,    ///< there is no such file
    NotRegular, ///< a folder, FIFO, device or socket stands there
    TooLarge,   ///< the file holds more than maxBytes (nothing read)
    Failed,     ///< it could not be opened or read
};

struct FileRead {
    FileReadStatus status = FileReadStatus::Failed;
    std::string bytes;
    std::string reason; ///< why it is not Ok, in words ("Is a directory", …)
    bool opened = false; ///< the open went through (a Failed read failed after it)

    bool ok() const { return status == FileReadStatus::Ok || status == FileReadStatus::Truncated; }
};

/// What to do with a file longer than the bound.
enum class WhenLonger { Refuse, KeepPrefix };

/// Reads a file that must be a regular one, at most @p maxBytes of it. The
/// file is opened non-blocking and checked before a byte is read, so a FIFO,
/// a device such as /dev/zero or a folder in its place neither hangs the
/// caller nor feeds it without end; a file that grows while being read is
/// still cut at the bound. Obeys the installed open-fault hook.
FileRead readRegularFile(const std::string& path, std::size_t maxBytes,
                         WhenLonger whenLonger = WhenLonger::Refuse);

/// True when @p path names a regular file (following links).
bool isRegularFile(const std::string& path);

} // namespace ostrovik::platform
