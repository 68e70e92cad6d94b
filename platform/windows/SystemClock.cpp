// The local wall clock on Windows, as the system reports it.
#include <windows.h>

#include <memory>

#include "platform/Clock.h"

namespace plat {
namespace {

class SystemClock : public Clock {
public:
    SystemTime Now() const override {
        SYSTEMTIME st{};
        ::GetLocalTime(&st);
        SystemTime t;
        t.Year = st.wYear;
        t.Month = st.wMonth;
        t.DayOfWeek = st.wDayOfWeek;  // 0 = Sunday on both sides
        t.Day = st.wDay;
        t.Hour = st.wHour;
        t.Minute = st.wMinute;
        t.Second = st.wSecond;
        t.Milliseconds = st.wMilliseconds;
        return t;
    }
};

}  // namespace

std::unique_ptr<Clock> CreateSystemClock() {
    return std::make_unique<SystemClock>();
}

}  // namespace plat
