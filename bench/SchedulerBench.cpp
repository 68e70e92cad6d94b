// The once-a-second work: the scheduler's four tests when nothing is due (what every idle tick costs),
// on the system clock the program uses.
#include <benchmark/benchmark.h>

#include "app/uTimerObj.h"
#include "settings/uSysUtils.h"

namespace {

void BM_CheckWarn_NothingDue(benchmark::State& state) {
    TTimerObj timer;  // no window: a firing would show nothing, and none is due anyway
    timer.Circle_Time = 120 * 60;
    timer.LastCircle = SysUtils::Now();
    // Three armed slots that never match a minute of the day.
    timer.OnTime_Time = timer.OnTime2_Time = timer.OnTime3_Time = 2.0;
    for (auto _ : state) benchmark::DoNotOptimize(timer.CheckWarn());
}
BENCHMARK(BM_CheckWarn_NothingDue);

// When the next reminder is due, asked on every tick in the tray (is the banner's page wanted ahead?).
void BM_NextWarnAt(benchmark::State& state) {
    TTimerObj timer;
    timer.Circle_Time = 120 * 60;
    timer.LastCircle = SysUtils::Now();
    timer.OnTime_Time = SysUtils::EncodeTime(9, 0, 0, 0);
    timer.OnTime2_Time = SysUtils::EncodeTime(12, 0, 0, 0);
    timer.OnTime3_Time = SysUtils::EncodeTime(18, 30, 0, 0);
    for (auto _ : state) benchmark::DoNotOptimize(timer.NextWarnAt(SysUtils::Now()));
}
BENCHMARK(BM_NextWarnAt);

// The clock label's text, written on the same tick.
void BM_ClockText(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(SysUtils::FormatDateTime("HH:MM:SS", SysUtils::Now()));
}
BENCHMARK(BM_ClockText);

}  // namespace
