#include "platform/IniFile.hpp"
#include "platform/FileFaults.hpp"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <string>
#include <system_error>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrovik::platform {

namespace {

enum class ReadResult { Ok, Missing, Failed };

std::string errorText(int error)
{
    return std::system_category().message(error);
}

std::string tooLargeReason()
{
    return "the file is larger than " + std::to_string(kMaxIniFileBytes / 1024) + " KB";
}

ReadResult readWholeFile(const std::filesystem::path& path, std::string& out, std::string& reason)
{
    // Non-blocking, so that a FIFO in the file's place cannot hold the program up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            return ReadResult::Missing;
        }
        reason = errorText(errno);
        return ReadResult::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? errorText(EISDIR) : std::string("not a regular file");
        ::close(fd);
        return ReadResult::Failed;
    }
    // The size is known before a byte is read: a huge file costs nothing.
    if (static_cast<std::uint64_t>(st.st_size) > kMaxIniFileBytes) {
        reason = tooLargeReason();
        ::close(fd);
        return ReadResult::Failed;
    }
    out.clear();
    // One allocation: the bytes are appended without moving the ones before.
    out.reserve(static_cast<std::size_t>(st.st_size) + 1);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = errorText(errno);
            ::close(fd);
            return ReadResult::Failed;
        }
        if (n == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.size() > kMaxIniFileBytes) { // it grew while being read
            reason = tooLargeReason();
            ::close(fd);
            return ReadResult::Failed;
        }
    }
    ::close(fd);
    return ReadResult::Ok;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a write really replaces: through a symbolic link to its target, so
// that the link survives.
std::filesystem::path writeTarget(const std::filesystem::path& path)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const auto target = std::filesystem::weakly_canonical(path, ec);
        if (!ec) {
            return target;
        }
    }
    return path;
}

} // namespace

std::string IniFile::readIni(std::string_view section, std::string_view key,
                             std::string_view defaultValue) const
{
    std::string bytes;
    std::string reason;
    if (readWholeFile(path_, bytes, reason) != ReadResult::Ok) {
        return std::string(defaultValue);
    }
    return IniDocument::find(bytes, section, key).value_or(std::string(defaultValue));
}

IniStatus IniFile::load(IniDocument& document) const
{
    std::string bytes;
    std::string reason;
    switch (readWholeFile(path_, bytes, reason)) {
    case ReadResult::Ok:
        document = IniDocument(bytes);
        return {};
    case ReadResult::Missing:
        document = IniDocument();
        return {};
    case ReadResult::Failed:
        break;
    }
    return IniStatus::failure(reason);
}

IniStatus IniFile::writeIni(std::string_view section, std::string_view key, std::string_view value) const
{
    std::string before;
    std::string reason;
    const ReadResult read = readWholeFile(path_, before, reason);
    if (read == ReadResult::Failed) {
        // Writing now would replace a file we could not read: keep it.
        return IniStatus::failure(reason);
    }
    IniDocument document(before);
    if (IniStatus set = document.set(section, key, value); !set) {
        return set;
    }
    if (read == ReadResult::Ok && document.bytes() == before) {
        return {};
    }
    return save(document);
}

IniStatus IniFile::save(const IniDocument& document) const
{
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path target = writeTarget(path_);
    std::filesystem::path temp = target;
    temp += ".tmp" + std::to_string(::getpid()) + '.' + std::to_string(counter++);

    // The rename would replace a file the user may not write, or one marked
    // read-only even for the superuser: such a file is left alone.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        int denied = 0;
        if ((old.st_mode & 0222) == 0) {
            denied = EACCES;
        } else if (::access(target.c_str(), W_OK) != 0) {
            denied = errno;
        }
        if (denied != 0) {
            return IniStatus::failure(errorText(denied));
        }
    }
    if (const int refused = openFaultFor(target.string(), true)) {
        return IniStatus::failure(errorText(refused));
    }
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return IniStatus::failure(errorText(errno));
    }
    if (exists) {
        // Keep the permissions the file had; the new one gets them before it is visible.
        ::fchmod(fd, old.st_mode & 07777);
    }
    const std::string bytes = document.bytes();
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return IniStatus::failure(errorText(error));
    }
    return {};
}

std::string readIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                    std::string_view defaultValue)
{
    return IniFile(file).readIni(section, key, defaultValue);
}

IniStatus writeIni(const std::filesystem::path& file, std::string_view section, std::string_view key,
                   std::string_view value)
{
    return IniFile(file).writeIni(section, key, value);
}

} // namespace ostrovik::platform
