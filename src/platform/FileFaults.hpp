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
OpenFault SetOpenFault(OpenFault fault);

/// The error number the installed hook gives for @p path, 0 when none.
int OpenFaultFor(const std::string& path, bool forWriting);

/// Installs a hook for its lifetime.
class ScopedOpenFault {
public:
    explicit ScopedOpenFault(OpenFault fault) : previous_(SetOpenFault(std::move(fault))) {}
    ~ScopedOpenFault() { SetOpenFault(std::move(previous_)); }
    ScopedOpenFault(const ScopedOpenFault&) = delete;
    ScopedOpenFault& operator=(const ScopedOpenFault&) = delete;

private:
    OpenFault previous_;
};

} // namespace ostrovik::platform
