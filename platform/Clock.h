#pragma once
// The local wall clock. Everything that asks "what time is it" goes through CurrentClock(), so tests
// can set the time and end-to-end runs can move it with libfaketime.
namespace plat {

// Local date and time, broken down the way the system reports it.
struct SystemTime {
    int Year = 1899;
    int Month = 12;
    int DayOfWeek = 6;  // 0 = Sunday
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Milliseconds = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual SystemTime Now() const = 0;
};

// The clock in use: the system clock unless a test has installed another one.
const Clock& CurrentClock();
// Installs a clock (not owned); nullptr goes back to the system clock.
void SetClock(const Clock* clock);

}  // namespace plat
