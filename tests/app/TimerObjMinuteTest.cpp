// A daily reminder compares its time with the current minute by exact equality. For every minute of
// the day, the value a reminder set to hh:mm holds must come out of the clock bit for bit, anywhere
// inside that minute, and never in the neighbouring minutes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "WarnRecorder.h"
#include "app/uTimerObj.h"
#include "platform/Locale.h"
#include "support/FakeClock.h"

namespace plat {
// Names the locale in failure messages instead of dumping its bytes.
static void PrintTo(const FormatSettings& fs, std::ostream* os) {
    *os << "time separator '" << fs.TimeSeparator << "', decimal separator '" << fs.DecimalSeparator << "'";
}
}  // namespace plat

namespace {

class TimerObjEveryMinute : public testing::TestWithParam<plat::FormatSettings> {
protected:
    void SetUp() override { plat::SetFormatSettings(GetParam()); }
    void TearDown() override { plat::SetFormatSettings(plat::FormatSettings{}); }
};

TEST_P(TimerObjEveryMinute, SlotSetToAMinuteFiresInsideItOnly) {
    // A leap day and its neighbours, far enough from 1899 that the fraction keeps fewer bits.
    const TDateTime day1 = SysUtils::EncodeDate(2024, 2, 28);
    const TDateTime day2 = day1 + 1;
    const TDateTime day3 = day1 + 2;
    FakeClock clock(day1);
    int failures = 0;
    for (int h = 0; h < 24 && failures < 5; ++h) {
        for (int m = 0; m < 60 && failures < 5; ++m) {
            const TDateTime slot = SysUtils::EncodeTime(h, m, 0, 0);
            WarnRecorder window;
            TTimerObj t(&window);
            t.OnTime_Time = slot;
            t.OnTime2_Time = t.OnTime3_Time = -1.0;
            t.OnTime_Content = "due";

            auto tickAt = [&](TDateTime when) {
                clock.Set(when);
                const std::size_t before = window.Texts.size();
                t.CheckWarn();
                return window.Texts.size() > before;
            };
            const bool first = tickAt(day1 + slot);
            const bool last = tickAt(day2 + slot + SysUtils::EncodeTime(0, 0, 59, 999));
            const bool earlier = tickAt(day3 + slot - SysUtils::EncodeTime(0, 0, 0, 1));
            const bool later = tickAt(day3 + slot + SysUtils::EncodeTime(0, 1, 0, 0));
            if (!first || !last || earlier || later) {
                ++failures;
                ADD_FAILURE() << "slot " << h << ":" << m << " first second " << first << ", last ms " << last
                              << ", a ms before " << earlier << ", a minute after " << later;
            }
        }
    }
}

plat::FormatSettings DotTimeCommaDecimal() {
    plat::FormatSettings fs;
    fs.TimeSeparator = '.';
    fs.DecimalSeparator = ',';
    return fs;
}

INSTANTIATE_TEST_SUITE_P(Locales, TimerObjEveryMinute,
                         testing::Values(plat::FormatSettings{}, DotTimeCommaDecimal()),
                         [](const testing::TestParamInfo<plat::FormatSettings>& info) {
                             return info.param.TimeSeparator == ':' ? std::string("Colon")
                                                                    : std::string("Dot");
                         });

}  // namespace
