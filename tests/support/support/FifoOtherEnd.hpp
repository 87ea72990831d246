#pragma once

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace ostrovik::test {

/// Whether the code under test opens the file to read it or to write it.
enum class Way { Read, Write };

/// True while thread @p tid sleeps in the open of a FIFO, waiting for the
/// other end (the kernel's wait in a FIFO's open).
inline bool waitsInFifoOpen(pid_t tid)
{
    std::ifstream wchan("/proc/self/task/" + std::to_string(tid) + "/wchan");
    const std::string where((std::istreambuf_iterator<char>(wchan)), std::istreambuf_iterator<char>());
    return where == "wait_for_partner";
}

/// Stands at the FIFO's other end only when the thread that made it holds
/// this end open (a writer: only while it waits in its open), and then lets
/// it go, so that code that waits there ends all the same and the check finds
/// what came through. Code that never opens the FIFO never meets it.
class OtherEnd {
public:
    OtherEnd(std::string fifo, Way way) : fifo_(std::move(fifo)), way_(way), thread_([this] { run(); }) {}
    ~OtherEnd() { finish(); }

    /// Called when the code under test has returned.
    void finish()
    {
        ended_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool letTheCallerGo() const { return joined_; }

private:
    void run()
    {
        sigset_t pipeSignal;
        sigemptyset(&pipeSignal);
        sigaddset(&pipeSignal, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
        while (!ended_) {
            // A reader waiting in its open counts as a reader: a writer's
            // open without waiting goes through only then. A writer waiting
            // in its open shows in its thread's kernel wait.
            const int fd = way_ == Way::Read ? ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)
                           : waitsInFifoOpen(callerThread_) ? ::open(fifo_.c_str(), O_RDONLY | O_CLOEXEC)
                                                            : -1;
            if (fd < 0) {
                std::this_thread::yield();
                continue;
            }
            joined_ = true;
            if (way_ == Way::Read) {
                (void)!::write(fd, "; through the FIFO\n", 19);
            } else {
                char sink[4096];
                while (::read(fd, sink, sizeof sink) > 0) {
                }
            }
            ::close(fd);
            return;
        }
    }

    std::string fifo_;
    Way way_;
    pid_t callerThread_ = ::gettid();
    std::atomic<bool> ended_{false};
    std::atomic<bool> joined_{false};
    std::thread thread_;
};

} // namespace ostrovik::test
