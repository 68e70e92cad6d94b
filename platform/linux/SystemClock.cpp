// The local wall clock on Linux. clock_gettime and localtime_r are what libfaketime moves, so
// end-to-end runs can set the program's time.
#include <time.h>

#include <memory>

#include "platform/Clock.h"

namespace plat {
namespace {

class SystemClock : public Clock {
public:
    SystemTime Now() const override {
        struct timespec ts {};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        time_t secs = ts.tv_sec;
        struct tm local {};
        SystemTime t;
        if (!::localtime_r(&secs, &local)) return t;
        t.Year = local.tm_year + 1900;
        t.Month = local.tm_mon + 1;
        t.DayOfWeek = local.tm_wday;  // 0 = Sunday on both sides
        t.Day = local.tm_mday;
        t.Hour = local.tm_hour;
        t.Minute = local.tm_min;
        t.Second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second is no valid time of day
        t.Milliseconds = static_cast<int>(ts.tv_nsec / 1000000);
        return t;
    }
};

}  // namespace

std::unique_ptr<Clock> CreateSystemClock() {
    return std::make_unique<SystemClock>();
}

}  // namespace plat
