#pragma once

#include <csignal>
#include <sys/resource.h>

namespace ostrovik::test {

/// A full disk, played for this process while the object lives: no file may
/// grow beyond @p bytes, so a write past them fails (EFBIG) after the file
/// was created, as it does when the disk fills. Needs no mount and binds the
/// superuser too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // The write fails instead of ending the process.
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        ok_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    /// The limit is in force.
    bool ok() const { return ok_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

} // namespace ostrovik::test
