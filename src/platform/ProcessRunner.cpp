#include "platform/ProcessRunner.hpp"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ostrovik::platform {

namespace {

/// posix_spawn's file actions, released on every road out.
class FileActions {
public:
    FileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
    ~FileActions()
    {
        if (ok_)
            posix_spawn_file_actions_destroy(&actions_);
    }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    /// Sends the three standard streams to /dev/null.
    bool silence()
    {
        if (!ok_)
            return false;
        const int flags[] = {O_RDONLY, O_WRONLY, O_WRONLY};
        for (int fd = 0; fd < 3; ++fd)
            if (posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", flags[fd], 0) != 0)
                return false;
        return true;
    }
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

} // namespace

RunResult PosixProcessRunner::runAndWait(const std::string& fileName, const std::vector<std::string>& args)
{
    RunResult result;
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(fileName.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    FileActions actions;
    if (!actions.silence()) {
        result.error = std::strerror(ENOMEM);
        return result;
    }
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, fileName.c_str(), actions.get(), nullptr, argv.data(), environ);
    if (rc != 0) {
        result.error = std::strerror(rc);
        return result;
    }
    result.started = true;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.exitCode = -1;
            return result;
        }
    }
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.exitCode = 128 + WTERMSIG(status);
    return result;
}

} // namespace ostrovik::platform
