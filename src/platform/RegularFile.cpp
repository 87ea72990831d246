#include "platform/RegularFile.hpp"
#include "platform/FileFaults.hpp"

#include <cerrno>
#include <system_error>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrovik::platform {

namespace {

std::string errorText(int error)
{
    return std::system_category().message(error);
}

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

/// Opens @p path for reading without waiting and judges the file opened, not
/// the name: the descriptor of a regular file (its facts in @p st), or -1
/// with @p status and @p reason saying why not.
int openRegular(const std::string& path, struct stat& st, FileReadStatus& status, std::string& reason,
                bool& opened)
{
    if (const int fault = openFaultFor(path, false); fault != 0) {
        status = fault == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed;
        reason = errorText(fault);
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        status = errno == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed;
        reason = errorText(errno);
        return -1;
    }
    opened = true;
    if (::fstat(fd, &st) != 0) {
        status = FileReadStatus::Failed;
        reason = errorText(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        status = FileReadStatus::NotRegular;
        reason = S_ISDIR(st.st_mode) ? errorText(EISDIR) : std::string("not a regular file");
        ::close(fd);
        return -1;
    }
    status = FileReadStatus::Ok;
    return fd;
}

} // namespace

FileRead readRegularFile(const std::string& path, std::size_t maxBytes, WhenLonger whenLonger)
{
    FileRead result;
    struct stat st {};
    const int fd = openRegular(path, st, result.status, result.reason, result.opened);
    if (fd < 0)
        return result;
    FdCloser closer{fd};
    result.status = FileReadStatus::Failed;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > maxBytes && whenLonger == WhenLonger::Refuse) {
        result.status = FileReadStatus::TooLarge;
        result.reason = "the file holds " + std::to_string(size) + " bytes, more than "
                        + std::to_string(maxBytes);
        return result;
    }
    // Read one byte past the bound, to tell a file that grew beyond it.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, maxBytes)) + 1);
    std::size_t have = 0;
    while (have < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.reason = errorText(errno);
            return result;
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
        if (have == bytes.size() && have <= maxBytes)
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2)); // grew while being read
    }
    bytes.resize(have);
    if (have > maxBytes) {
        if (whenLonger == WhenLonger::Refuse) {
            result.status = FileReadStatus::TooLarge;
            result.reason = "the file holds more than " + std::to_string(maxBytes) + " bytes";
            return result;
        }
        bytes.resize(maxBytes);
        result.status = FileReadStatus::Truncated;
        result.reason = "the file holds more than " + std::to_string(maxBytes) + " bytes";
    } else {
        result.status = FileReadStatus::Ok;
    }
    result.bytes = std::move(bytes);
    return result;
}

RegularFileBuf::RegularFileBuf(const std::string& path)
{
    struct stat st {};
    fd_ = openRegular(path, st, status_, reason_, opened_);
}

RegularFileBuf::~RegularFileBuf()
{
    if (fd_ >= 0)
        ::close(fd_);
}

RegularFileBuf::int_type RegularFileBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (fd_ < 0 || status_ != FileReadStatus::Ok)
        return traits_type::eof();
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            status_ = FileReadStatus::Failed;
            reason_ = errorText(errno);
            return traits_type::eof();
        }
        if (n == 0)
            return traits_type::eof();
        setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
        return traits_type::to_int_type(*gptr());
    }
}

bool isRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace ostrovik::platform
