// The scheduler's once-a-second test, driven tick by tick on a fake clock.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "SchedulerDays.h"
#include "WarnRecorder.h"
#include "app/uTimerObj.h"
#include "support/FakeClock.h"

namespace {

using SysUtils::EncodeTime;

TEST(TimerObj, CreationClearsAndStartsThePeriodNow) {
    FakeClock clock(D(9, 15, 30, 250));
    const TTimerObj t;
    EXPECT_EQ(t.LastCircle, clock.Get());
    EXPECT_EQ(t.Circle_Time, -1.0);
    EXPECT_FALSE(t.ShowWarnForm);
    EXPECT_FALSE(t.PlayWarnSound);
    EXPECT_EQ(t.WarnForm_Content, "");
    EXPECT_EQ(t.WarnSound_File, "");
    EXPECT_EQ(t.OnTime_Time, 0.0);
    EXPECT_EQ(t.OnTime2_Time, 0.0);
    EXPECT_EQ(t.OnTime3_Time, 0.0);
    EXPECT_EQ(t.OnTimeDone, 0.0);
    EXPECT_EQ(t.OnTime2Done, 0.0);
    EXPECT_EQ(t.OnTime3Done, 0.0);
    EXPECT_EQ(t.OnTime_Content, "");
    EXPECT_EQ(t.OnTime2_Content, "");
    EXPECT_EQ(t.OnTime3_Content, "");
    EXPECT_EQ(t.Window, nullptr);
}

TEST(TimerObj, ClearResetsTheCyclicPartAndLeavesTheSlots) {
    FakeClock clock(D(9, 0));
    TTimerObj t;
    t.Circle_Time = 600;
    t.ShowWarnForm = t.PlayWarnSound = true;
    t.WarnForm_Content = "c";
    t.WarnSound_File = "f";
    t.OnTime_Time = 0.5;
    t.OnTime2Done = kDay;
    t.OnTime3_Content = "three";
    t.Clear();
    EXPECT_EQ(t.LastCircle, -1.0);
    EXPECT_EQ(t.Circle_Time, -1.0);
    EXPECT_FALSE(t.ShowWarnForm);
    EXPECT_FALSE(t.PlayWarnSound);
    EXPECT_EQ(t.WarnForm_Content, "");
    EXPECT_EQ(t.WarnSound_File, "");
    EXPECT_EQ(t.OnTime_Time, 0.5);
    EXPECT_EQ(t.OnTime2Done, kDay);
    EXPECT_EQ(t.OnTime3_Content, "three");
}

TEST(TimerObj, DoWarnWritesTheTextThenBringsTheWindowUp) {
    FakeClock clock(D(9, 0));
    WarnRecorder window;
    TTimerObj t(&window);
    EXPECT_TRUE(t.DoWarn(" text "));
    EXPECT_EQ(window.Calls, (std::vector<std::string>{"text: text ", "form"}));
}

TEST(TimerObj, WithoutAWindowTheMarksAreStillWritten) {
    FakeClock clock(D(9, 0));
    TTimerObj t;
    t.OnTime_Time = EncodeTime(9, 0, 0, 0);
    EXPECT_TRUE(t.DoWarn("x"));
    EXPECT_TRUE(t.CheckWarn());
    EXPECT_EQ(t.OnTimeDone, kDay);
}

// ---- Scenarios: a scheduler configured once, then a series of ticks, each with what it must show.

struct Step {
    TDateTime at;
    std::optional<AnsiString> shown;                        // nullopt: the tick announces nothing
    std::function<void(TTimerObj&)> change = nullptr;       // a settings change just before the tick
    bool restart = false;                                   // the program restarts just before the tick
    std::function<void(const TTimerObj&)> check = nullptr;  // marks after the tick
};

struct Scenario {
    const char* name;
    TDateTime created;
    std::function<void(TTimerObj&)> settings;
    std::vector<Step> steps;
};

void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

// What ApplySettings leaves when every reminder is off; each scenario then switches on what it needs.
void ApplyAllOff(TTimerObj& t) {
    t.Circle_Time = -1.0;
    t.OnTime_Time = t.OnTime2_Time = t.OnTime3_Time = -1.0;
    t.WarnForm_Content = "cyc";
    t.OnTime_Content = "one";
    t.OnTime2_Content = "two";
    t.OnTime3_Content = "three";
}

class TimerObjScenario : public testing::TestWithParam<Scenario> {};

TEST_P(TimerObjScenario, AnnouncesExactlyTheExpectedTexts) {
    const Scenario& sc = GetParam();
    FakeClock clock(sc.created);
    WarnRecorder window;
    auto configure = [&](TTimerObj& t) {
        ApplyAllOff(t);
        sc.settings(t);
    };
    auto t = std::make_unique<TTimerObj>(&window);
    configure(*t);

    for (std::size_t i = 0; i < sc.steps.size(); ++i) {
        const Step& step = sc.steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i);
        clock.Set(step.at);
        if (step.restart) {
            t = std::make_unique<TTimerObj>(&window);
            configure(*t);
        }
        if (step.change) step.change(*t);
        window.Watched = t.get();
        const std::size_t before = window.Texts.size();

        EXPECT_TRUE(t->CheckWarn());

        if (step.shown) {
            ASSERT_EQ(window.Texts.size(), before + 1) << "expected \"" << *step.shown << "\"";
            EXPECT_EQ(window.Texts.back(), *step.shown);
            // Every mark was already in place when the window got the text.
            EXPECT_TRUE(window.MarksAtText.back() == Marks::Of(*t));
            EXPECT_EQ(window.Calls.back(), "form");
        } else {
            EXPECT_EQ(window.Texts.size(), before) << "announced \"" << window.Texts.back() << "\"";
        }
        if (step.check) step.check(*t);
    }
}

Scenario CyclicOff(const char* name, double period) {
    return {name,
            D(9, 0),
            [period](TTimerObj& t) {
                t.Circle_Time = period;
                t.LastCircle = -1.0;  // decades ago: any period would long have run out
            },
            {{D(9, 0, 2), std::nullopt}, {Next(9, 0), std::nullopt}}};
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimerObjScenario,
    testing::Values(
        Scenario{"CyclicFiresOnlyAfterThePeriodHasPassed",
                 D(9, 0),
                 [](TTimerObj& t) { t.Circle_Time = 10800; },
                 {{D(11, 59, 59, 999), std::nullopt},
                  // Exactly 10800 s have passed: not more than the period.
                  {D(12, 0), std::nullopt, nullptr, false,
                   [](const TTimerObj& t) { EXPECT_EQ(t.LastCircle, D(9, 0)); }},
                  {D(12, 0, 1), "cyc", nullptr, false,
                   [](const TTimerObj& t) { EXPECT_EQ(t.LastCircle, D(12, 0, 1)); }},
                  {D(12, 0, 2), std::nullopt},
                  // The next period counts from the tick that fired.
                  {D(15, 0, 0), std::nullopt},
                  {D(15, 0, 2), "cyc"}}},
        CyclicOff("CyclicOffAtZero", 0.0), CyclicOff("CyclicOffAtMinusOne", -1.0),
        CyclicOff("CyclicOffBelowOneSecond", 0.5),
        Scenario{"TwoSlotsInOneMinuteShowTheHigherWithCyclicMarked",
                 D(9, 0),
                 [](TTimerObj& t) {
                     t.Circle_Time = 60;
                     t.OnTime_Time = t.OnTime2_Time = EncodeTime(12, 0, 0, 0);
                 },
                 {{D(12, 0, 5), "two", nullptr, false,
                   [](const TTimerObj& t) {
                       EXPECT_EQ(t.LastCircle, D(12, 0, 5));
                       EXPECT_EQ(t.OnTimeDone, kDay);
                       EXPECT_EQ(t.OnTime2Done, kDay);
                       EXPECT_EQ(t.OnTime3Done, 0.0);
                   }},
                  {D(12, 0, 6), std::nullopt}}},
        Scenario{"SlotThreeIsTestedAfterSlotTwo",
                 D(8, 0),
                 [](TTimerObj& t) { t.OnTime2_Time = t.OnTime3_Time = EncodeTime(8, 30, 0, 0); },
                 {{D(8, 30), "three", nullptr, false,
                   [](const TTimerObj& t) {
                       EXPECT_EQ(t.OnTimeDone, 0.0);
                       EXPECT_EQ(t.OnTime2Done, kDay);
                       EXPECT_EQ(t.OnTime3Done, kDay);
                   }}}},
        Scenario{"SlotMovedAfterFiringWaitsForTheNextDay",
                 D(8, 0),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(9, 0, 0, 0); },
                 {{D(9, 0), "one"},
                  {D(10, 0), std::nullopt, [](TTimerObj& t) { t.OnTime_Time = EncodeTime(10, 0, 0, 0); }},
                  {Next(9, 0), std::nullopt},
                  {Next(10, 0), "one"}}},
        Scenario{"SlotAtMidnightFiresOnTheFirstTickOfTheDay",
                 Prev(23, 0),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(0, 0, 0, 0); },
                 {{Prev(23, 59, 59, 999), std::nullopt},
                  {D(0, 0), "one"},
                  {D(0, 0, 59, 999), std::nullopt},
                  {D(0, 1), std::nullopt},
                  {Next(0, 0, 0, 500), "one"}}},
        Scenario{"SlotWithSecondsNeverFires",
                 D(11, 0),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(12, 0, 30, 0); },
                 {{D(12, 0), std::nullopt}, {D(12, 0, 30), std::nullopt}, {D(12, 0, 59, 999), std::nullopt}}},
        Scenario{"DelayedTickMissesTheMinute",
                 D(11, 0),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(12, 0, 0, 0); },
                 {{D(11, 59, 59, 500), std::nullopt}, {D(12, 1), std::nullopt}, {Next(12, 0, 0, 250), "one"}}},
        Scenario{"ClockSetBackHoldsTheCyclicReminder",
                 D(10, 0),
                 [](TTimerObj& t) { t.Circle_Time = 3600; },
                 {{D(11, 0, 1), "cyc"},
                  {D(8, 0), std::nullopt},
                  {D(11, 0, 0), std::nullopt},
                  {D(12, 0, 0), std::nullopt},
                  {D(12, 0, 2), "cyc"}}},
        Scenario{"DateSetBackFiresTheSlotAgain",
                 D(11, 0),
                 [](TTimerObj& t) { t.OnTime_Time = EncodeTime(12, 0, 0, 0); },
                 {{D(12, 0), "one"},
                  {Prev(12, 0), "one", nullptr, false,
                   [](const TTimerObj& t) { EXPECT_EQ(t.OnTimeDone, kDay - 1); }},
                  {D(12, 0, 10), "one"}}},
        Scenario{"RestartWithinTheMinuteFiresAgain",
                 D(11, 0),
                 [](TTimerObj& t) { t.OnTime3_Time = EncodeTime(12, 0, 0, 0); },
                 {{D(12, 0), "three"}, {D(12, 0, 20), std::nullopt}, {D(12, 0, 21), "three", nullptr, true}}},
        Scenario{"EmptyTextStillFires",
                 D(9, 0),
                 [](TTimerObj& t) {
                     t.Circle_Time = 60;
                     t.WarnForm_Content = "";
                     t.OnTime2_Time = EncodeTime(10, 0, 0, 0);
                     t.OnTime2_Content = "";
                 },
                 {{D(9, 1, 1), ""}, {D(9, 1, 2), std::nullopt}, {D(10, 0, 0), ""}}}),
    [](const testing::TestParamInfo<Scenario>& info) { return info.param.name; });

// The slide-up pumps messages, so the next tick can run inside ShowForm. However often that happens,
// one occurrence is announced once.
TEST(TimerObj, TickInsideTheSlideUpDoesNotAnnounceAgain) {
    for (const int stepMs : {0, 1000}) {
        SCOPED_TRACE(testing::Message() << "nested ticks " << stepMs << " ms apart");
        FakeClock clock(D(9, 0));
        WarnRecorder window;
        TTimerObj t(&window);
        ApplyAllOff(t);
        t.Circle_Time = 60;
        t.OnTime_Time = t.OnTime2_Time = EncodeTime(9, 1, 0, 0);
        int depth = 0;
        window.OnShowForm = [&] {
            if (depth >= 3) return;  // bounds the recursion should the scheduler announce again
            ++depth;
            clock.AddMilliseconds(stepMs);
            t.CheckWarn();
            t.CheckWarn();
        };
        clock.Set(D(9, 1, 1));
        t.CheckWarn();
        EXPECT_EQ(window.Texts, (std::vector<AnsiString>{"two"}));
        EXPECT_EQ(depth, 1);
    }
}

}  // namespace
