// Time-of-day text and date-time formatting, including the round trip the scheduler relies on:
// formatting the clock as "hh:mm" and reading it back must give exactly the stored minute.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "settings/uSysUtils.h"

namespace {

using namespace SysUtils;

// GBK bytes of the Chinese day-half markers and date words.
const std::string kShangWu = "\xC9\xCF\xCE\xE7";  // 上午
const std::string kXiaWu = "\xCF\xC2\xCE\xE7";    // 下午
const std::string kNian = "\xC4\xEA";             // 年
const std::string kYue = "\xD4\xC2";              // 月
const std::string kRi = "\xC8\xD5";               // 日

plat::FormatSettings English() {
    return plat::FormatSettings{};
}

plat::FormatSettings Chinese() {
    plat::FormatSettings fs;
    fs.TimeAMString = kShangWu;
    fs.TimePMString = kXiaWu;
    return fs;
}

// Dots between hours and minutes, a comma before the fraction.
plat::FormatSettings DotTime() {
    plat::FormatSettings fs;
    fs.TimeSeparator = '.';
    fs.DecimalSeparator = ',';
    return fs;
}

uint64_t Bits(double v) {
    return std::bit_cast<uint64_t>(v);
}

struct TimeCase {
    std::string text;
    int h, m, s, ms;
};

void ExpectTimes(const std::vector<TimeCase>& cases, const plat::FormatSettings& fs) {
    for (const auto& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        TDateTime value = -5;
        ASSERT_TRUE(TryStrToTime(c.text, value, fs));
        EXPECT_EQ(Bits(value), Bits(EncodeTime(c.h, c.m, c.s, c.ms)));
        EXPECT_EQ(Bits(StrToTime(c.text, fs)), Bits(value));
    }
}

void ExpectInvalidTimes(const std::vector<std::string>& cases, const plat::FormatSettings& fs) {
    for (const auto& text : cases) {
        SCOPED_TRACE("'" + text + "'");
        TDateTime value = -5;
        EXPECT_FALSE(TryStrToTime(text, value, fs));
        EXPECT_EQ(value, -5);
        try {
            StrToTime(text, fs);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), ("'" + text + "' is not a valid time").c_str());
        }
    }
}

TEST(SysUtilsStrToTime, ReadsHoursMinutesSecondsAndMarkers) {
    ExpectTimes(
        {
            {"7", 7, 0, 0, 0},
            {"07", 7, 0, 0, 0},
            {"0:00", 0, 0, 0, 0},
            {"12:00:00", 12, 0, 0, 0},
            {"23:59:59", 23, 59, 59, 0},
            {"23:59:59.999", 23, 59, 59, 999},
            // The fraction is a plain count of milliseconds.
            {"1:02:03.4", 1, 2, 3, 4},
            {"  7 : 05 ", 7, 5, 0, 0},
            {"12:30 PM", 12, 30, 0, 0},
            {"12:30 AM", 0, 30, 0, 0},
            {"12 AM", 0, 0, 0, 0},
            {"1 am", 1, 0, 0, 0},
            {"3:15pm", 15, 15, 0, 0},
            {"pm 3:15", 15, 15, 0, 0},
            {"PM3", 15, 0, 0, 0},
            {"Am 12:05:10", 0, 5, 10, 0},
            {"11:59:59.999 pM  ", 23, 59, 59, 999},
        },
        English());
}

TEST(SysUtilsStrToTime, RejectsImpossibleOrIncompleteText) {
    ExpectInvalidTimes(
        {"",        "   ",       "24:00",      "12:60",   "12:00:60", "12:00:00.1000", "12:00x",  "13:00 PM",
         "0 AM",    "0:30 pm",   "AM",         "12:",     "12::00",   ":30",           "12:30.5", "AM 7 PM",
         "7 AM PM", "-1",        "+7",         "12:30 P", "1 2",      "12.30",         "\t7",     "7\t",
         "12:00:",  "12:00:00.", "1234567890", "7:5:3:1", "AM7:00AM", "12:30 PMx"},
        English());
}

TEST(SysUtilsStrToTime, ReadsTheLocaleDayHalfMarkersAndStillTheEnglishOnes) {
    const auto fs = Chinese();
    ExpectTimes(
        {
            {kShangWu + "9:30", 9, 30, 0, 0},
            {kXiaWu + "3:00", 15, 0, 0, 0},
            {kXiaWu + " 12:00", 12, 0, 0, 0},
            {kShangWu + "12:00", 0, 0, 0, 0},
            {"3:00 " + kXiaWu, 15, 0, 0, 0},
            {"3:00" + kShangWu + " ", 3, 0, 0, 0},
            {"PM 3:00", 15, 0, 0, 0},
            {"14:20", 14, 20, 0, 0},
        },
        fs);
    ExpectInvalidTimes({kXiaWu + "13:00", kShangWu + "0:10", kXiaWu + "3:00" + kXiaWu,
                        kXiaWu.substr(0, 2) + "3:00", "3:00 " + kXiaWu + "x"},
                       fs);
}

TEST(SysUtilsStrToTime, MarkerLettersFoldOnlyOutsideDoubleByteCharacters) {
    plat::FormatSettings fs;
    fs.TimeAMString = "\201a";  // a GBK character whose second byte is a lower-case letter
    fs.TimePMString = "";       // a locale without a marker must not match everything
    ExpectTimes({{"\201a 9", 9, 0, 0, 0}, {"9", 9, 0, 0, 0}, {"9 pm", 21, 0, 0, 0}}, fs);
    ExpectInvalidTimes({"\201A 9"}, fs);
}

TEST(SysUtilsStrToTime, UsesTheLocaleSeparators) {
    const auto fs = DotTime();
    // A colon is read as well, so the built-in "12:00" defaults load under every locale.
    ExpectTimes({{"12.30", 12, 30, 0, 0},
                 {"12.30.15,250", 12, 30, 15, 250},
                 {"7", 7, 0, 0, 0},
                 {"12:30", 12, 30, 0, 0},
                 {"12:30.15", 12, 30, 15, 0}},
                fs);
    ExpectInvalidTimes({"12.30.15.250", "12,30", "12:30:15.250"}, fs);

    plat::FormatSettings same;  // one character for both separators
    same.TimeSeparator = '.';
    same.DecimalSeparator = '.';
    ExpectTimes({{"12.30.15.250", 12, 30, 15, 250}}, same);
}

struct FormatCase {
    std::string format;
    std::string text;
};

TEST(SysUtilsFormatDateTime, WritesFieldsAndCopiesEverythingElse) {
    // Tuesday 2024-03-05 07:08:09.010
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(7, 8, 9, 10);
    const std::vector<FormatCase> cases = {
        {"YYYY-MM-DD", "2024-03-05"},
        {"yyyy-mm-dd", "2024-03-05"},
        {"HH:MM:SS", "07:08:09"},
        {"hh:mm:ss", "07:08:09"},
        {"hh:mm", "07:08"},
        {"h:m:s", "7:8:9"},
        {"d.m.yy", "5.3.24"},
        {"M/D", "3/5"},
        // The minute rule looks at the last field, not at the characters in between.
        {"hh mm", "07 08"},
        {"hh - mm", "07 - 08"},
        {"mm hh", "03 07"},
        {"hh:mm dd mm", "07:08 05 03"},
        {"\"YYYY hh\" YYYY", "YYYY hh 2024"},
        {"\"open", "open"},
        {"[hh]'mm'", "[07]'08'"},
        {"YYYY" + kNian + "MM" + kYue + "DD" + kRi, "2024" + kNian + "03" + kYue + "05" + kRi},
        // GBK characters whose second byte is a field letter: 丮 (81 4D), 丏 (81 44), 乊 (81 59), 丠 (81 48).
        {"hh\201M", "07\201M"},
        {"\201D\201Y\201H mm", "\201D\201Y\201H 03"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(FormatDateTime(c.format, t, English()), c.text);
    }
}

TEST(SysUtilsFormatDateTime, WritesTheLocaleTimeSeparator) {
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(17, 8, 9, 0);
    EXPECT_EQ(FormatDateTime("hh:mm:ss", t, DotTime()), "17.08.09");
    EXPECT_EQ(FormatDateTime("YYYY-MM-DD", t, DotTime()), "2024-03-05");
}

TEST(SysUtilsFormatDateTime, NeverShowsSixtySecondsOrTheNextDay) {
    const TDateTime lastInstant = std::nextafter(EncodeDate(2024, 12, 31) + 1, 0.0);
    EXPECT_EQ(FormatDateTime("YYYY-MM-DD HH:MM:SS", lastInstant, English()), "2024-12-31 23:59:59");
    const TDateTime almostMinute = EncodeDate(2024, 3, 5) + 43259999.6 / 86400000.0;  // 12:00:59.9996
    EXPECT_EQ(FormatDateTime("HH:MM:SS", almostMinute, English()), "12:01:00");
}

// The scheduler compares the stored minute with the clock's minute by equality: for every minute of
// the day and any moment inside it, the formatted-and-read-back minute must be the very same double
// as the minute encoded directly.
TEST(SysUtilsMinuteRoundTrip, EveryMinuteReadsBackBitIdentical) {
    const std::vector<int> offsetsMs = {0, 1, 499, 500, 30000, 59000, 59999};
    const std::vector<TDateTime> days = {EncodeDate(2024, 3, 5), EncodeDate(2038, 1, 19),
                                         EncodeDate(1999, 12, 31)};
    for (const auto& fs : {English(), DotTime(), Chinese()}) {
        for (TDateTime day : days) {
            for (int h = 0; h < 24; ++h) {
                for (int m = 0; m < 60; ++m) {
                    const uint64_t expected = Bits(EncodeTime(h, m, 0, 0));
                    for (int off : offsetsMs) {
                        const TDateTime now = day + EncodeTime(h, m, off / 1000, off % 1000);
                        const AnsiString minuteText = FormatDateTime("hh:mm", now, fs);
                        ASSERT_EQ(Bits(StrToTime(minuteText, fs)), expected)
                            << h << ":" << m << " +" << off << "ms as '" << minuteText << "'";
                        ASSERT_EQ(StrToIsoDate(FormatDateTime("YYYY-MM-DD", now, fs)), day);
                    }
                }
            }
        }
    }
}

}  // namespace
