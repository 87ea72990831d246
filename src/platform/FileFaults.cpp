#include "platform/FileFaults.hpp"

#include <mutex>
#include <utility>

namespace ostrovik::platform {

namespace {

std::mutex& faultLock()
{
    static std::mutex lock;
    return lock;
}

OpenFault& installed()
{
    static OpenFault fault;
    return fault;
}

WriteFault& installedWrite()
{
    static WriteFault fault;
    return fault;
}

} // namespace

OpenFault setOpenFault(OpenFault fault)
{
    const std::lock_guard<std::mutex> guard(faultLock());
    return std::exchange(installed(), std::move(fault));
}

int openFaultFor(const std::string& path, bool forWriting)
{
    const std::lock_guard<std::mutex> guard(faultLock());
    return installed() ? installed()(path, forWriting) : 0;
}

WriteFault setWriteFault(WriteFault fault)
{
    const std::lock_guard<std::mutex> guard(faultLock());
    return std::exchange(installedWrite(), std::move(fault));
}

int writeFaultFor(const std::string& path)
{
    const std::lock_guard<std::mutex> guard(faultLock());
    return installedWrite() ? installedWrite()(path) : 0;
}

} // namespace ostrovik::platform
