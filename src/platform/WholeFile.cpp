#include "platform/WholeFile.hpp"
#include "platform/FileFaults.hpp"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
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

/// Writes all of @p bytes; the error number, 0 when all went.
int writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

/// The file a write really replaces: through symbolic links to their
/// target, so that the rename keeps the link.
std::string resolvedTarget(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (ec || !std::filesystem::is_symlink(status))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

/// A short name beside @p target that no other writer uses.
std::string siblingName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const auto slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    char name[40];
    std::snprintf(name, sizeof name, ".tmp-%08x-%08x", static_cast<unsigned>(::getpid()), counter++);
    return folder + name;
}

FileWrite writeDirectly(const std::string& path, std::string_view bytes)
{
    FileWrite result;
    // Non-blocking, so that a pipe without a reader is refused at once.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.reason = errorText(errno);
        return result;
    }
    result.created = true;
    int error = writeAll(fd, bytes);
    if (error == 0)
        error = writeFaultFor(path);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        result.reason = errorText(error);
    else
        result.ok = true;
    return result;
}

} // namespace

FileWrite writeWholeFile(const std::string& path, std::string_view bytes, bool runnable)
{
    FileWrite result;
    if (const int refused = openFaultFor(path, true)) {
        result.reason = errorText(refused);
        return result;
    }
    const std::string target = resolvedTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return writeDirectly(target, bytes);

    int fd = -1;
    std::string temporary;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = siblingName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, runnable ? 0777 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        result.reason = errorText(errno);
        return result;
    }
    result.created = true;
    // An old file keeps its permission bits.
    if (exists)
        ::fchmod(fd, st.st_mode & 07777);
    int error = writeAll(fd, bytes);
    if (error == 0)
        error = writeFaultFor(path);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        result.reason = errorText(error);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace ostrovik::platform
