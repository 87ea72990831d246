#pragma once

#include <string>
#include <vector>

namespace ostrovik::platform {

/// How a child process started and ended.
struct RunResult {
    /// False when the program could not be started at all.
    bool started = false;
    /// The system's text for the start failure; empty when it started.
    std::string error;
    /// The exit status, or 128 + the signal that ended it.
    int exitCode = 0;
};

/// Starts a program as a child with no window and waits until it has ended.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    /// Starts @p fileName with @p args (each passed as one argument, never
    /// through a shell), in the caller's folder and environment, and returns
    /// once it has ended, however long that takes.
    virtual RunResult runAndWait(const std::string& fileName, const std::vector<std::string>& args) = 0;
};

/// The real runner: the child's standard streams go to /dev/null, so it
/// shows nothing, and the caller blocks in the wait.
class PosixProcessRunner : public ProcessRunner {
public:
    RunResult runAndWait(const std::string& fileName, const std::vector<std::string>& args) override;
};

} // namespace ostrovik::platform
