#pragma once
// A clock that tests set by hand, installed for the lifetime of the object.
#include "platform/Clock.h"
#include "platform/Types.h"
#include "settings/uSysUtils.h"

class FakeClock : public plat::Clock {
public:
    FakeClock() { plat::SetClock(this); }
    explicit FakeClock(TDateTime now) : FakeClock() { Set(now); }
    ~FakeClock() override { plat::SetClock(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    plat::SystemTime Now() const override { return time_; }
    void Set(TDateTime now) { time_ = SysUtils::DateTimeToSystemTime(now); }
    void Set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
        Set(SysUtils::EncodeDate(year, month, day) + SysUtils::EncodeTime(hour, minute, second, ms));
    }
    TDateTime Get() const { return SysUtils::SystemTimeToDateTime(time_); }
    void AddMilliseconds(double ms) { Set(Get() + ms / 86400000.0); }

private:
    plat::SystemTime time_;
};
