// The system clock, executable path and locale facts on Linux.
#include <gtest/gtest.h>
#include <locale.h>
#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/ExePath.h"
#include "platform/Locale.h"

namespace plat {
std::unique_ptr<Clock> CreateSystemClock();
std::string SystemExecutablePath();
}  // namespace plat

namespace fs = std::filesystem;

// With LOCPATH set, glibc's newlocale() builds a search path that it never frees, even after
// freelocale(); LeakSanitizer would fail the locale tests below for it. Only that allocation is
// excused (the hook is read by LeakSanitizer and unused in other builds).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\n";
}

namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
        tzset();
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
        tzset();
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SystemClock, GivesLocalTimeOfTheZone) {
    ScopedEnv tz("TZ", "XST-8");  // a fixed zone eight hours east of UTC, no daylight saving
    auto clock = plat::CreateSystemClock();
    time_t before = time(nullptr);
    plat::SystemTime t = clock->Now();
    time_t after = time(nullptr);
    ASSERT_LE(after - before, 1) << "the machine is too slow for this check";
    time_t shifted = before + 8 * 3600;
    struct tm utc {};
    gmtime_r(&shifted, &utc);
    EXPECT_EQ(t.Year, utc.tm_year + 1900);
    EXPECT_EQ(t.Month, utc.tm_mon + 1);
    EXPECT_EQ(t.Day, utc.tm_mday);
    EXPECT_EQ(t.DayOfWeek, utc.tm_wday);
    EXPECT_EQ(t.Hour, utc.tm_hour);
    EXPECT_EQ(t.Minute, utc.tm_min);
    EXPECT_GE(t.Milliseconds, 0);
    EXPECT_LT(t.Milliseconds, 1000);
}

TEST(SystemExePath, IsThisTestProgram) {
    const std::string path = plat::SystemExecutablePath();
    EXPECT_EQ(fs::path(path).filename(), "platform_tests");
    EXPECT_TRUE(fs::path(path).is_absolute());
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(plat::PathSeparator(), '/');
}

void ExpectDefaults(const plat::FormatSettings& fs) {
    EXPECT_EQ(fs.TimeSeparator, ':');
    EXPECT_EQ(fs.DecimalSeparator, '.');
    EXPECT_EQ(fs.TimeAMString, "AM");
    EXPECT_EQ(fs.TimePMString, "PM");
    EXPECT_EQ(fs.LongTimeFormat, "hh:mm:ss");
}

TEST(SystemLocale, CLocaleGivesDefaults) {
    ScopedEnv all("LC_ALL", "C");
    ExpectDefaults(plat::SystemFormatSettings());
}

TEST(SystemLocale, UnknownLocaleFallsBackToDefaults) {
    ScopedEnv all("LC_ALL", "xx_NOWHERE.NOCODESET");
    ExpectDefaults(plat::SystemFormatSettings());
}

// Real locales, compiled into a private folder (LOCPATH) so the test needs no installed ones.
class SystemLocaleCompiled : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("chimewick-locales-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        for (const char* spec : {"fi_FI UTF-8 fi_FI.UTF-8", "zh_CN GBK zh_CN.GBK"}) {
            std::string s = spec;
            std::string in = s.substr(0, s.find(' '));
            std::string charmap = s.substr(s.find(' ') + 1, s.rfind(' ') - s.find(' ') - 1);
            std::string out = s.substr(s.rfind(' ') + 1);
            std::string cmd =
                "localedef -i " + in + " -f " + charmap + " " + (dir_ / out).string() + " >/dev/null 2>&1";
            if (std::system(cmd.c_str()) != 0 || !fs::exists(dir_ / out)) available_ = false;
        }
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void SetUp() override {
        if (!available_) GTEST_SKIP() << "localedef or the locale sources are missing";
    }
    static inline fs::path dir_;
    static inline bool available_ = true;
};

TEST_F(SystemLocaleCompiled, FinnishSeparators) {
    ScopedEnv path("LOCPATH", dir_.c_str());
    ScopedEnv all("LC_ALL", "fi_FI.UTF-8");
    plat::FormatSettings fs = plat::SystemFormatSettings();
    EXPECT_EQ(fs.TimeSeparator, '.');
    EXPECT_EQ(fs.DecimalSeparator, ',');
    EXPECT_EQ(fs.LongTimeFormat, "hh.mm.ss");
    // The process locale is untouched: number text keeps its '.'.
    EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(std::to_string(1.5), "1.500000");
}

TEST_F(SystemLocaleCompiled, ChineseMarkersInGbk) {
    ScopedEnv path("LOCPATH", dir_.c_str());
    ScopedEnv all("LC_ALL", "zh_CN.GBK");
    plat::FormatSettings fs = plat::SystemFormatSettings();
    EXPECT_EQ(fs.TimeAMString, "\xc9\xcf\xce\xe7");  // 上午
    EXPECT_EQ(fs.TimePMString, "\xcf\xc2\xce\xe7");  // 下午
    EXPECT_EQ(fs.TimeSeparator, ':');  // the hour is followed by a Chinese character, no one-byte mark
    EXPECT_EQ(fs.DecimalSeparator, '.');
    EXPECT_EQ(fs.LongTimeFormat, "hh:mm:ss");
}

}  // namespace
