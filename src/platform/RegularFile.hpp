#pragma once

#include <array>
#include <cstddef>
#include <streambuf>
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

/// A regular file read as a stream, for files too long to hold whole: opened
/// and judged as readRegularFile() opens and judges, so a FIFO, a device or a
/// folder in its place is refused before a byte is read and never waited on.
/// Obeys the installed open-fault hook.
class RegularFileBuf final : public std::streambuf {
public:
    explicit RegularFileBuf(const std::string& path);
    ~RegularFileBuf() override;
    RegularFileBuf(const RegularFileBuf&) = delete;
    RegularFileBuf& operator=(const RegularFileBuf&) = delete;

    /// Ok while the file is open and read without fault; else Missing,
    /// NotRegular or Failed (also when a read failed half-way), with reason().
    FileReadStatus status() const { return status_; }
    const std::string& reason() const { return reason_; }
    /// The open went through (a Failed file failed after it).
    bool opened() const { return opened_; }

protected:
    int_type underflow() override;

private:
    int fd_ = -1;
    FileReadStatus status_ = FileReadStatus::Failed;
    std::string reason_;
    bool opened_ = false;
    std::array<char, 65536> buffer_{};
};

/// True when @p path names a regular file (following links).
bool isRegularFile(const std::string& path);

} // namespace ostrovik::platform
