// The current date and time on POSIX.
#include "LocalTime.h"

#include <ctime>

namespace Platform {

namespace {

TSystemTime Fields(bool local) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    if (local) {
        localtime_r(&now.tv_sec, &parts);
    } else {
        gmtime_r(&now.tv_sec, &parts);
    }
    return {parts.tm_year + 1900,
            parts.tm_mon + 1,
            parts.tm_mday,
            parts.tm_hour,
            parts.tm_min,
            parts.tm_sec,
            static_cast<int>(now.tv_nsec / 1000000)};
}

}  // namespace

TSystemTime CurrentLocalTime() {
    return Fields(true);
}
TSystemTime CurrentUtcTime() {
    return Fields(false);
}

}  // namespace Platform
