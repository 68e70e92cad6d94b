// Whether the banner's page is made ready ahead of the next reminder.
#include <gtest/gtest.h>

#include <ostream>

#include "SchedulerDays.h"
#include "WarnRecorder.h"
#include "app/uBannerLead.h"
#include "support/FakeClock.h"

namespace {

using SysUtils::EncodeTime;

struct LeadCase {
    const char* name;
    TDateTime now;
    bool windowShown;
    bool wanted;
};

void PrintTo(const LeadCase& c, std::ostream* os) {
    *os << c.name;
}

class BannerLead : public testing::TestWithParam<LeadCase> {};

// A daily reminder at 12:00 that has not fired today, and a cyclic one ending at 14:00:00.
TEST_P(BannerLead, WantedOnlyWithinTheLeadWhileHidden) {
    const LeadCase& c = GetParam();
    FakeClock clock(c.now);
    TTimerObj t;
    t.OnTime_Time = EncodeTime(12, 0, 0, 0);
    t.OnTime2_Time = t.OnTime3_Time = -1.0;
    t.Circle_Time = 3600;
    t.LastCircle = D(13, 0);
    EXPECT_EQ(BannerWantedAhead(t, c.now, c.windowShown), c.wanted);
}

INSTANTIATE_TEST_SUITE_P(Table, BannerLead,
                         testing::Values(LeadCase{"FarAhead", D(11, 0), false, false},
                                         LeadCase{"JustOutsideTheLead", D(11, 59, 39, 900), false, false},
                                         LeadCase{"AtTheLead", D(11, 59, 40), false, true},
                                         LeadCase{"InsideTheLead", D(11, 59, 58), false, true},
                                         LeadCase{"DueNow", D(12, 0, 30), false, true},
                                         LeadCase{"ShownWindowHasItsPage", D(11, 59, 58), true, false},
                                         LeadCase{"AfterTheMinuteUntilTheCyclicLead", D(12, 1), false, false},
                                         LeadCase{"CyclicPeriodsEnd", D(13, 59, 45), false, true}),
                         [](const testing::TestParamInfo<LeadCase>& info) { return info.param.name; });

TEST(BannerLeadOff, NeverWantedWithEveryReminderOff) {
    FakeClock clock(D(11, 0));
    TTimerObj t;
    t.OnTime_Time = t.OnTime2_Time = t.OnTime3_Time = -1.0;
    t.Circle_Time = 0;
    EXPECT_FALSE(BannerWantedAhead(t, D(11, 0), false));
}

}  // namespace
