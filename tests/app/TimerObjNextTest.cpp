// When the scheduler announces next: NextWarnAt against a table of configurations, each answer
// checked against CheckWarn itself (a tick just before the moment stays quiet, a tick at it fires).
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "SchedulerDays.h"
#include "WarnRecorder.h"
#include "app/uTimerObj.h"
#include "platform/Locale.h"
#include "support/FakeClock.h"

namespace {

using SysUtils::EncodeTime;

constexpr TDateTime kMs = 1.0 / 86400000;

struct NextCase {
    const char* name;
    TDateTime now;
    std::function<void(TTimerObj&)> settings;  // over a scheduler with everything off
    std::optional<TDateTime> next;             // nullopt: nothing will ever be announced
    bool cyclic = false;                       // the moment is a period's end: the tick after it fires
};

void PrintTo(const NextCase& c, std::ostream* os) {
    *os << c.name;
}

void AllOff(TTimerObj& t) {
    t.Circle_Time = 0;
    t.LastCircle = D(9, 0);
    t.OnTime_Time = t.OnTime2_Time = t.OnTime3_Time = -1.0;
    t.OnTimeDone = t.OnTime2Done = t.OnTime3Done = 0.0;
}

class TimerObjNext : public testing::TestWithParam<NextCase> {};

// True when one tick at `at` on a copy of the scheduler announces something.
bool FiresAt(const TTimerObj& original, FakeClock& clock, TDateTime at) {
    WarnRecorder window;
    TTimerObj copy = original;
    copy.Window = &window;
    clock.Set(at);
    copy.CheckWarn();
    return !window.Texts.empty();
}

TEST_P(TimerObjNext, NamesTheMomentCheckWarnFiresAt) {
    const NextCase& c = GetParam();
    FakeClock clock(c.now);
    TTimerObj t;
    AllOff(t);
    c.settings(t);
    const TTimerObj before = t;

    const std::optional<TDateTime> next = t.NextWarnAt(c.now);
    ASSERT_EQ(next.has_value(), c.next.has_value()) << (next ? "got a moment" : "got none");
    // Nothing changed: asking is free of effects.
    EXPECT_EQ(t.LastCircle, before.LastCircle);
    EXPECT_EQ(t.OnTimeDone, before.OnTimeDone);
    if (!next) {
        // Nothing fires over the next two days.
        for (TDateTime at = c.now; at < c.now + 2; at += 7.0 / 1440) {
            EXPECT_FALSE(FiresAt(t, clock, at));
        }
        return;
    }
    EXPECT_NEAR(*next, *c.next, kMs / 2);
    EXPECT_GE(*next, c.now);
    // The scheduler agrees: quiet just before (when the moment is ahead), firing at (or just after) it.
    if (*next > c.now) {
        EXPECT_FALSE(FiresAt(t, clock, *next - kMs)) << "fired before the moment";
    }
    EXPECT_TRUE(FiresAt(t, clock, *next + (c.cyclic ? kMs : 0))) << "did not fire at the moment";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimerObjNext,
    testing::Values(
        NextCase{"AllOff", D(10, 0), [](TTimerObj&) {}, std::nullopt},
        NextCase{"CyclicOffBelowOneSecond", D(10, 0),
                 [](TTimerObj& t) {
                     t.Circle_Time = 0.5;
                     t.LastCircle = -1.0;
                 },
                 std::nullopt},
        NextCase{"CyclicNegativeIsOff", D(10, 0), [](TTimerObj& t) { t.Circle_Time = -1.0; }, std::nullopt},
        NextCase{"CyclicEndOfThePeriod", D(10, 0), [](TTimerObj& t) { t.Circle_Time = 10800; }, D(12, 0),
                 true},
        NextCase{"CyclicOverdueIsNow", D(10, 0, 0, 500),
                 [](TTimerObj& t) {
                     t.Circle_Time = 60;
                     t.LastCircle = D(9, 58);
                 },
                 D(10, 0, 0, 500)},
        NextCase{"CyclicAfterTheClockWasSetBack", D(8, 0),
                 [](TTimerObj& t) {
                     t.Circle_Time = 3600;
                     t.LastCircle = D(11, 0, 1);
                 },
                 D(12, 0, 1), true},
        NextCase{"CyclicAcrossMidnight", D(23, 50),
                 [](TTimerObj& t) {
                     t.Circle_Time = 1200;
                     t.LastCircle = D(23, 45);
                 },
                 Next(0, 5), true},
        NextCase{"SlotLaterToday", D(10, 0, 30),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(12, 0, 0, 0); }, D(12, 0)},
        NextCase{"SlotInsideItsMinuteIsNow", D(12, 0, 40, 10),
                 [](TTimerObj& t) { t.OnTime2_Time = EncodeTime(12, 0, 0, 0); }, D(12, 0, 40, 10)},
        NextCase{"SlotFiredInThisMinuteWaitsForTomorrow", D(12, 0, 40),
                 [](TTimerObj& t) {
                     t.OnTime3_Time = EncodeTime(12, 0, 0, 0);
                     t.OnTime3Done = kDay;
                 },
                 Next(12, 0)},
        NextCase{"SlotPassedTodayIsTomorrow", D(12, 1),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(12, 0, 0, 0); }, Next(12, 0)},
        NextCase{"SlotMovedLaterAfterFiringWaitsForTomorrow", D(9, 30),
                 [](TTimerObj& t) {
                     t.OnTime_Time = EncodeTime(10, 0, 0, 0);
                     t.OnTimeDone = kDay;
                 },
                 Next(10, 0)},
        NextCase{"SlotAtMidnightFromLateEvening", Prev(23, 59, 59, 999),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(0, 0, 0, 0); }, D(0, 0)},
        NextCase{"SlotAtMidnightAfterItFired", D(0, 0, 1),
                 [](TTimerObj& t) {
                     t.OnTime_Time = EncodeTime(0, 0, 0, 0);
                     t.OnTimeDone = kDay;
                 },
                 Next(0, 0)},
        NextCase{"SlotJustBeforeMidnight", D(23, 59, 30),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(23, 59, 0, 0); }, D(23, 59, 30)},
        NextCase{"SlotDoneOnADateAheadAfterTheDateWasSetBack", D(11, 0),
                 [](TTimerObj& t) {
                     t.OnTime_Time = EncodeTime(12, 0, 0, 0);
                     t.OnTimeDone = kDay + 1;
                 },
                 D(12, 0)},
        NextCase{"SlotWithSecondsNeverFires", D(11, 0),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(12, 0, 30, 0); }, std::nullopt},
        NextCase{"SlotOutsideTheDayNeverFires", D(11, 0), [](TTimerObj& t) { t.OnTime_Time = 2.0; },
                 std::nullopt},
        NextCase{"EarliestOfSlotsAndCyclic", D(10, 0),
                 [](TTimerObj& t) {
                     t.Circle_Time = 7200;
                     t.LastCircle = D(9, 0);  // ends at 11:00
                     t.OnTime_Time = EncodeTime(11, 30, 0, 0);
                     t.OnTime2_Time = EncodeTime(10, 45, 0, 0);
                     t.OnTime3_Time = EncodeTime(9, 0, 0, 0);  // tomorrow
                 },
                 D(10, 45)},
        NextCase{"SwitchedOffSlotIsLeftOut", D(10, 0),
                 [](TTimerObj& t) {
                     t.OnTime_Time = -1.0;
                     t.OnTime2_Time = EncodeTime(14, 0, 0, 0);
                 },
                 D(14, 0)}),
    [](const testing::TestParamInfo<NextCase>& info) { return info.param.name; });

// The moment follows the scheduler through a day: after each firing the next one is named.
TEST(TimerObjNextSequence, EachFiringMovesTheMomentOn) {
    FakeClock clock(D(8, 0));
    WarnRecorder window;
    TTimerObj t(&window);
    AllOff(t);
    t.Circle_Time = 8 * 3600;
    t.LastCircle = D(4, 0);  // the period ends at 12:00
    t.OnTime_Time = EncodeTime(9, 0, 0, 0);
    t.OnTime2_Time = EncodeTime(12, 0, 0, 0);  // due with the cyclic one
    TDateTime now = D(8, 0);
    std::vector<TDateTime> moments;
    for (int i = 0; i < 5; ++i) {
        const std::optional<TDateTime> next = t.NextWarnAt(now);
        ASSERT_TRUE(next);
        moments.push_back(*next);
        // Tick once a second, with a 2 ms phase, until the scheduler announces.
        const std::size_t before = window.Texts.size();
        now = *next + 2 * kMs;
        for (int tick = 0; tick < 3 && window.Texts.size() == before; ++tick, now += 1000 * kMs) {
            clock.Set(now);
            t.CheckWarn();
        }
        ASSERT_EQ(window.Texts.size(), before + 1) << "no firing at moment " << i;
    }
    // Each period runs from the tick that fired, 2 ms after the moment.
    const std::vector<TDateTime> want{D(9, 0), D(12, 0), D(20, 0, 0, 2), Next(4, 0, 0, 4), Next(9, 0)};
    ASSERT_EQ(moments.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(moments[i], want[i], kMs / 2) << "moment " << i;
}

// Another time separator changes the text the minute goes through, not the moment.
TEST(TimerObjNextSequence, FollowsTheLocalesTimeSeparator) {
    plat::FormatSettings fs;
    fs.TimeSeparator = '.';
    plat::SetFormatSettings(fs);
    FakeClock clock(D(10, 0));
    TTimerObj t;
    AllOff(t);
    t.OnTime_Time = SysUtils::StrToTime("12.30");
    const std::optional<TDateTime> next = t.NextWarnAt(D(10, 0));
    plat::SetFormatSettings(plat::FormatSettings{});
    ASSERT_TRUE(next);
    EXPECT_NEAR(*next, D(12, 30), kMs / 2);
}

}  // namespace
