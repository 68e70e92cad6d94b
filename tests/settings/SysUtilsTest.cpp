// Integer, floating-point and date conversions of SysUtils, and the clock-backed Now().
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "settings/uSysUtils.h"
#include "support/FakeClock.h"

namespace {

using namespace SysUtils;

template <typename F>
std::string ConvertErrorOf(F&& f) {
    try {
        f();
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "<no EConvertError>";
}

plat::FormatSettings CommaDecimal() {
    plat::FormatSettings fs;
    fs.DecimalSeparator = ',';
    return fs;
}

TEST(SysUtilsTrim, RemovesControlBytesAndBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trim(" \t\r\n a b \x01\x1f "), "a b");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_EQ(Trim(""), "");
    // Bytes above 32 stay, including the halves of GBK characters.
    EXPECT_EQ(Trim("\xC9\xCF\xCE\xE7 "), "\xC9\xCF\xCE\xE7");
    EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
}

struct IntCase {
    std::string text;
    int32_t value;
};

TEST(SysUtilsStrToInt, AcceptsDecimalAndHexFormsWithinThirtyTwoBits) {
    const std::vector<IntCase> cases = {
        {"0", 0},
        {"42", 42},
        {"   42", 42},
        {"+42", 42},
        {"-42", -42},
        {"007", 7},
        {"$FF", 255},
        {"$ff", 255},
        {"x1F", 31},
        {"X1f", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"-0x10", -16},
        {"+x10", 16},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"$7FFFFFFF", 2147483647},
        {"-$80000000", std::numeric_limits<int32_t>::min()},
        {"0000000000002147483647", 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int32_t value = 12345;
        EXPECT_TRUE(TryStrToInt(c.text, value));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(StrToInt(c.text), c.value);
    }
}

TEST(SysUtilsStrToInt, RejectsMalformedAndOutOfRangeTextWithTheOriginalText) {
    const std::vector<std::string> cases = {
        "",           "   ",         "+",         "-",         "$",           "x",
        "0x",         "-0x",         "42 ",       "4 2",       "\t42",        "1.5",
        "12a",        "0x1G",        "--1",       "+-1",       "$-1",         "1e3",
        "2147483648", "-2147483649", "$80000000", "$FFFFFFFF", "0x100000000", "99999999999999999999",
        "-$80000001", "$$1",         "0$1",       "\xC9\xCF",  "42\n"};
    for (const auto& text : cases) {
        SCOPED_TRACE(text);
        int32_t value = 12345;
        EXPECT_FALSE(TryStrToInt(text, value));
        EXPECT_EQ(value, 12345) << "a failed conversion must leave the target alone";
        EXPECT_EQ(ConvertErrorOf([&] { StrToInt(text); }), "'" + text + "' is not a valid integer value");
    }
}

TEST(SysUtilsIntToStr, WritesPlainDecimal) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-15), "-15");
    EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

struct FloatTextCase {
    double value;
    std::string text;
};

TEST(SysUtilsFloatToStr, GeneralFormatWithFifteenSignificantDigits) {
    const std::vector<FloatTextCase> cases = {
        {7200, "7200"},
        {-1.0, "-1"},
        {0.5, "0.5"},
        {17.0 / 24.0, "0.708333333333333"},
        {0.0, "0"},
        {-0.0, "0"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {0.1 + 0.2, "0.3"},
        {100, "100"},
        {-123.25, "-123.25"},
        {1e14, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        // Rounding to 15 digits carries into the next power of ten and so into scientific form.
        {999999999999999.9, "1E15"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {123456789012345678.0, "1.23456789012346E17"},
        {-2.5e100, "-2.5E100"},
        {0.0001234, "0.0001234"},
        {1e-5, "0.00001"},
        {1.5e-6, "1.5E-6"},
        {-1.5e-6, "-1.5E-6"},
        {1e-300, "1E-300"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FloatToStr(c.value, plat::FormatSettings{}), c.text);
    }
}

TEST(SysUtilsFloatToStr, UsesTheLocaleDecimalSeparator) {
    const auto fs = CommaDecimal();
    EXPECT_EQ(FloatToStr(0.5, fs), "0,5");
    EXPECT_EQ(FloatToStr(17.0 / 24.0, fs), "0,708333333333333");
    EXPECT_EQ(FloatToStr(1.5e-6, fs), "1,5E-6");
    EXPECT_EQ(FloatToStr(7200, fs), "7200");
}

TEST(SysUtilsStrToFloat, ReadsSignFractionAndExponentAroundBlanks) {
    const plat::FormatSettings fs;
    EXPECT_EQ(StrToFloat("7200", fs), 7200.0);
    EXPECT_EQ(StrToFloat("-1", fs), -1.0);
    EXPECT_EQ(StrToFloat("+0.5", fs), 0.5);
    EXPECT_EQ(StrToFloat("  0.708333333333333  ", fs), 0.708333333333333);
    EXPECT_EQ(StrToFloat(".25", fs), 0.25);
    EXPECT_EQ(StrToFloat("5.", fs), 5.0);
    EXPECT_EQ(StrToFloat("1E15", fs), 1e15);
    EXPECT_EQ(StrToFloat("1.5E-6", fs), 1.5e-6);
    EXPECT_EQ(StrToFloat("2.5e+3", fs), 2500.0);
    EXPECT_EQ(StrToFloat("1.23456789012346E17", fs), 1.23456789012346E17);
    EXPECT_TRUE(std::signbit(StrToFloat("-0", fs)));
}

TEST(SysUtilsStrToFloat, ReadsWithTheLocaleSeparatorOnly) {
    const auto fs = CommaDecimal();
    EXPECT_EQ(StrToFloat("0,5", fs), 0.5);
    EXPECT_EQ(StrToFloat("-1,5E-6", fs), -1.5e-6);
    EXPECT_EQ(ConvertErrorOf([&] { StrToFloat("0.5", fs); }), "'0.5' is not a valid floating point value");
}

TEST(SysUtilsStrToFloat, RejectsMalformedText) {
    const std::vector<std::string> cases = {"",      "  ",  "+",    "-",   ".",   "e5",   "1e",  "1e+",
                                            "1.5.0", "1,5", "0x10", "1 0", "1f",  "--1",  "+-1", "nan",
                                            "inf",   "INF", "1e5x", "\t1", "1\t", "1e400"};
    for (const auto& text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ConvertErrorOf([&] { StrToFloat(text, plat::FormatSettings{}); }),
                  "'" + text + "' is not a valid floating point value");
    }
}

TEST(SysUtilsFloatText, WrittenTextReadsBackAsTheSameFifteenDigitValue) {
    // Values with at most 15 significant digits survive the round trip exactly, in both locales.
    const std::vector<double> values = {7200,       -1,   0.5,      0.708333333333333,
                                        123456.789, 1e-7, 4.2e-300, 1.5e200};
    for (const auto& fs : {plat::FormatSettings{}, CommaDecimal()}) {
        for (double v : values) {
            SCOPED_TRACE(v);
            EXPECT_EQ(StrToFloat(FloatToStr(v, fs), fs), v);
        }
    }
    // A value with more digits comes back as the nearest double of its 15-digit text.
    EXPECT_EQ(StrToFloat(FloatToStr(17.0 / 24.0)), 0.708333333333333);
}

struct DateCase {
    int year, month, day;
    double value;
    int dayOfWeek;
};

TEST(SysUtilsDate, EncodesAndDecodesKnownDates) {
    const std::vector<DateCase> cases = {
        {1899, 12, 30, 0, 6},    {1899, 12, 29, -1, 5},   {1900, 1, 1, 2, 1},         {1900, 3, 1, 61, 4},
        {2000, 1, 1, 36526, 6},  {2000, 2, 29, 36585, 2}, {2024, 1, 1, 45292, 1},     {2024, 2, 29, 45351, 4},
        {2024, 3, 15, 45366, 5}, {1, 1, 1, -693593, 1},   {9999, 12, 31, 2958465, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
        EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.value);
        int y = 0, m = 0, d = 0;
        DecodeDate(c.value, y, m, d);
        EXPECT_EQ(y, c.year);
        EXPECT_EQ(m, c.month);
        EXPECT_EQ(d, c.day);
        EXPECT_EQ(DayOfWeek(c.value), c.dayOfWeek);
        // The time of day never moves the date or the weekday.
        DecodeDate(c.value + (c.value < 0 ? -0.99 : 0.99), y, m, d);
        EXPECT_EQ(d, c.day);
        EXPECT_EQ(DayOfWeek(c.value + (c.value < 0 ? -0.99 : 0.99)), c.dayOfWeek);
    }
}

TEST(SysUtilsDate, DecodeInvertsEncodeOverManyYears) {
    int weekday = DayOfWeek(EncodeDate(1990, 1, 1));
    for (double day = EncodeDate(1990, 1, 1); day <= EncodeDate(2060, 12, 31); ++day) {
        int y = 0, m = 0, d = 0;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day);
        ASSERT_EQ(DayOfWeek(day), weekday);
        weekday = (weekday + 1) % 7;
    }
}

TEST(SysUtilsDate, RejectsImpossibleDates) {
    const std::vector<std::vector<int>> cases = {{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                                                 {2024, 0, 1},  {2024, 1, 0},  {2024, 1, 32}, {0, 1, 1},
                                                 {10000, 1, 1}, {-5, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + "-" + std::to_string(c[1]) + "-" + std::to_string(c[2]));
        TDateTime value = 123;
        EXPECT_FALSE(TryEncodeDate(c[0], c[1], c[2], value));
        EXPECT_EQ(value, 123);
        EXPECT_THROW(EncodeDate(c[0], c[1], c[2]), EConvertError);
    }
}

TEST(SysUtilsStrToIsoDate, ReadsExactlyYearMonthDay) {
    EXPECT_EQ(StrToIsoDate("2024-02-29"), EncodeDate(2024, 2, 29));
    EXPECT_EQ(StrToIsoDate("1899-12-30"), 0.0);
    EXPECT_EQ(StrToIsoDate("0001-01-01"), EncodeDate(1, 1, 1));
    const std::vector<std::string> bad = {
        "",           "2023-02-29", "2024-2-29",  " 2024-02-29", "2024-02-29 ", "2024/02/29",
        "0000-01-01", "2024-00-10", "abcd-ef-gh", "2024-02-2x",  "+024-02-20",  "2024-02-290"};
    for (const auto& text : bad) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ConvertErrorOf([&] { StrToIsoDate(text); }), "'" + text + "' is not a valid date");
    }
}

TEST(SysUtilsTime, EncodeTimeIsTheExactMillisecondFraction) {
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeTime(17, 0, 0, 0), 61200000.0 / 86400000.0);
    EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
    // The same count of milliseconds written differently gives the same bits.
    EXPECT_EQ(EncodeTime(1, 0, 0, 0), EncodeTime(0, 60, 0, 0));
}

struct DecodeCase {
    double value;
    int h, m, s, ms;
};

TEST(SysUtilsTime, DecodeTimeRoundsToTheMillisecondInsideTheDay) {
    const double date = EncodeDate(2024, 3, 5);
    const std::vector<DecodeCase> cases = {
        {0.5, 12, 0, 0, 0},
        {date + EncodeTime(7, 8, 9, 10), 7, 8, 9, 10},
        {date + EncodeTime(23, 59, 59, 999), 23, 59, 59, 999},
        {date + EncodeTime(12, 0, 59, 999), 12, 0, 59, 999},
        // 12:00:59.9996 rounds up into the next minute, never to a 60th second.
        {date + 43259999.6 / 86400000.0, 12, 1, 0, 0},
        // A hair before midnight stays on the same day.
        {date + 0.99999999999, 23, 59, 59, 999},
        {std::nextafter(date + 1, 0.0), 23, 59, 59, 999},
        // Before day 0 the fraction still counts forward from the start of the day.
        {-1.25, 6, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        int h = -1, m = -1, s = -1, ms = -1;
        DecodeTime(c.value, h, m, s, ms);
        EXPECT_EQ(h, c.h);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(s, c.s);
        EXPECT_EQ(ms, c.ms);
    }
    int y = 0, mo = 0, d = 0;
    DecodeDate(date + 0.99999999999, y, mo, d);
    EXPECT_EQ(d, 5);
}

TEST(SysUtilsTime, NowReadsTheInstalledClockWithMilliseconds) {
    FakeClock clock;
    clock.Set(2024, 3, 15, 13, 45, 30, 250);
    const TDateTime now = Now();
    EXPECT_EQ(now, EncodeDate(2024, 3, 15) + EncodeTime(13, 45, 30, 250));

    const plat::SystemTime st = DateTimeToSystemTime(now);
    EXPECT_EQ(st.Year, 2024);
    EXPECT_EQ(st.Month, 3);
    EXPECT_EQ(st.Day, 15);
    EXPECT_EQ(st.DayOfWeek, 5);
    EXPECT_EQ(st.Hour, 13);
    EXPECT_EQ(st.Minute, 45);
    EXPECT_EQ(st.Second, 30);
    EXPECT_EQ(st.Milliseconds, 250);
    EXPECT_EQ(SystemTimeToDateTime(st), now);

    clock.AddMilliseconds(29750);
    EXPECT_EQ(DateTimeToSystemTime(Now()).Minute, 46);
    EXPECT_EQ(DateTimeToSystemTime(Now()).Second, 0);
}

}  // namespace
