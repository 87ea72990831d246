#include "files/TimeStamp.hpp"

#include <cstdio>

namespace ostrovik::files {

std::string fileTimeStamp(const std::tm& t)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d_%02d_%04d_%02d_%02d_%02d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::string fileTimeStampNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fileTimeStamp(local);
}

} // namespace ostrovik::files
