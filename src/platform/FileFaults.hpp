#pragma once

#include <functional>
#include <string>

namespace ostrovik::platform {

/// Where the file system's refusals can be played without changing
/// permissions (which bind nobody when the tests run as the superuser): a
/// hook asked before a file is opened for reading or created for writing.
/// It returns the error number the open fails with, or 0 to go ahead.
using OpenFault = std::function<int(const std::string& path, bool forWriting)>;

/// Installs @p fault (an empty one removes it); returns the one it replaces.
OpenFault setOpenFault(OpenFault fault);

/// The error number the installed hook gives for @p path, 0 when none.
int openFaultFor(const std::string& path, bool forWriting);

/// Installs a hook for its lifetime.
class ScopedOpenFault {
public:
    explicit ScopedOpenFault(OpenFault fault) : previous_(setOpenFault(std::move(fault))) {}
    ~ScopedOpenFault() { setOpenFault(std::move(previous_)); }
    ScopedOpenFault(const ScopedOpenFault&) = delete;
    ScopedOpenFault& operator=(const ScopedOpenFault&) = delete;

private:
    OpenFault previous_;
};

/// A hook asked once a file's bytes have been handed to the system and
/// before it is closed, so that a write cut short (a full disk) can be
/// played: it returns the error number the write fails with (ENOSPC, …),
/// or 0 to go ahead. Obeyed by writeWholeFile().
using WriteFault = std::function<int(const std::string& path)>;

/// Installs @p fault (an empty one removes it); returns the one it replaces.
WriteFault setWriteFault(WriteFault fault);

/// The error number the installed write hook gives for @p path, 0 when none.
int writeFaultFor(const std::string& path);

/// Installs a write hook for its lifetime.
class ScopedWriteFault {
public:
    explicit ScopedWriteFault(WriteFault fault) : previous_(setWriteFault(std::move(fault))) {}
    ~ScopedWriteFault() { setWriteFault(std::move(previous_)); }
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

private:
    WriteFault previous_;
};

} // namespace ostrovik::platform
