// The system clock, executable path and locale facts on Windows.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/ExePath.h"
#include "platform/Locale.h"
#include "platform/windows/WinLocale.h"

namespace plat {
std::unique_ptr<Clock> CreateSystemClock();
std::string SystemExecutablePath();
}  // namespace plat

namespace fs = std::filesystem;

namespace {

// Locale identifiers (LCIDs) of a few locales with different conventions.
constexpr unsigned long kChinese = 0x0804;  // zh-CN
constexpr unsigned long kGerman = 0x0407;   // de-DE
constexpr unsigned long kEnglish = 0x0409;  // en-US

TEST(SystemClock, AgreesWithTheRuntimesLocalTime) {
    auto clock = plat::CreateSystemClock();
    // Read both sides within one minute; try again when a minute boundary falls in between.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const plat::SystemTime t = clock->Now();
        const std::time_t after = std::time(nullptr);
        if (before / 60 != after / 60) continue;
        std::tm local{};
        ASSERT_EQ(localtime_s(&local, &before), 0);
        EXPECT_EQ(t.Year, local.tm_year + 1900);
        EXPECT_EQ(t.Month, local.tm_mon + 1);
        EXPECT_EQ(t.Day, local.tm_mday);
        EXPECT_EQ(t.DayOfWeek, local.tm_wday);
        EXPECT_EQ(t.Hour, local.tm_hour);
        EXPECT_EQ(t.Minute, local.tm_min);
        EXPECT_GE(t.Milliseconds, 0);
        EXPECT_LT(t.Milliseconds, 1000);
        return;
    }
    FAIL() << "the clock kept crossing minute boundaries";
}

TEST(SystemExePath, IsThisTestProgram) {
    const std::string path = plat::SystemExecutablePath();
    EXPECT_EQ(fs::path(path).filename(), "platform_tests.exe");
    EXPECT_TRUE(fs::path(path).is_absolute());
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(plat::PathSeparator(), '\\');
    EXPECT_NE(path.find('\\'), std::string::npos);
}

TEST(SystemLocale, ChineseMarkersInGbk) {
    const plat::FormatSettings fs = plat::win::FormatSettingsOfLocale(kChinese);
    EXPECT_EQ(fs.TimeAMString, "\xc9\xcf\xce\xe7");  // 上午
    EXPECT_EQ(fs.TimePMString, "\xcf\xc2\xce\xe7");  // 下午
    EXPECT_EQ(fs.TimeSeparator, ':');
    EXPECT_EQ(fs.DecimalSeparator, '.');
    // Systems differ on the hour's leading zero ("H:mm:ss", "HH:mm:ss"); both are 24-hour formats.
    EXPECT_NE(fs.LongTimeFormat.find("H:mm:ss"), std::string::npos) << fs.LongTimeFormat;
}

TEST(SystemLocale, GermanDecimalComma) {
    const plat::FormatSettings fs = plat::win::FormatSettingsOfLocale(kGerman);
    EXPECT_EQ(fs.DecimalSeparator, ',');
    EXPECT_EQ(fs.TimeSeparator, ':');
    EXPECT_EQ(fs.LongTimeFormat, "HH:mm:ss");
}

TEST(SystemLocale, EnglishMarkerFieldLeavesTheFormat) {
    const plat::FormatSettings fs = plat::win::FormatSettingsOfLocale(kEnglish);
    EXPECT_EQ(fs.TimeAMString, "AM");
    EXPECT_EQ(fs.TimePMString, "PM");
    EXPECT_EQ(fs.LongTimeFormat, "h:mm:ss");
}

TEST(SystemLocale, UnknownLocaleGivesDefaults) {
    const plat::FormatSettings fs = plat::win::FormatSettingsOfLocale(0x7FFF);
    EXPECT_EQ(fs.TimeSeparator, ':');
    EXPECT_EQ(fs.DecimalSeparator, '.');
    EXPECT_EQ(fs.TimeAMString, "AM");
    EXPECT_EQ(fs.TimePMString, "PM");
    EXPECT_EQ(fs.LongTimeFormat, "hh:mm:ss");
}

TEST(SystemLocale, TimeFormatsInTheProgramsLetters) {
    struct Case {
        const char* windows;
        const char* program;
    } cases[] = {
        {"HH:mm:ss", "HH:mm:ss"},
        {"h:mm:ss tt", "h:mm:ss"},
        {"tt h:mm:ss", "h:mm:ss"},
        {"tt hh:mm:ss", "hh:mm:ss"},
        {"H'h'mm", "H\"h\"mm"},
        {"H.mm.ss", "H.mm.ss"},
        {"\xca\xb1H", "\xca\xb1H"},  // a GBK character before the hour stays whole
        {"mm:ss", ""},               // no hour field: no usable format
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::win::TimeFormatFromWindows(c.windows), c.program) << c.windows;
}

}  // namespace
