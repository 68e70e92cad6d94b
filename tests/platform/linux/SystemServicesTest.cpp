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

// Real locales, compiled into a private folder (LOCPATH) so the test needs no installed ones. The folder
// is kept in the build tree: compiling a locale takes seconds, and each test runs in a process of its
// own, so the compiled locales are reused by the next test and the next run.
class SystemLocaleCompiled : public testing::Test {
protected:
    // Compiles `name` (e.g. "zh_CN.GBK" from the source zh_CN and the charmap GBK) unless it is there.
    // A parallel test may compile the same one: each writes its own folder and renames it into place.
    static bool Ensure(const std::string& source, const std::string& charmap, const std::string& name) {
        const fs::path dir = CHIMEWICK_TEST_LOCALES;
        if (fs::exists(dir / name / "LC_TIME")) return true;
        std::error_code ec;
        fs::create_directories(dir, ec);
        const fs::path work = dir / (name + ".tmp-" + std::to_string(getpid()));
        const std::string cmd =
            "localedef -i " + source + " -f " + charmap + " " + work.string() + " >/dev/null 2>&1";
        const bool built = std::system(cmd.c_str()) == 0 && fs::exists(work / "LC_TIME");
        if (built) fs::rename(work, dir / name, ec);  // fails only when another test was first
        fs::remove_all(work, ec);
        return fs::exists(dir / name / "LC_TIME");
    }
    void Use(const std::string& source, const std::string& charmap, const std::string& name) {
        if (!Ensure(source, charmap, name)) GTEST_SKIP() << "localedef or the locale sources are missing";
        path_.emplace("LOCPATH", CHIMEWICK_TEST_LOCALES);
        all_.emplace("LC_ALL", name.c_str());
    }
    std::optional<ScopedEnv> path_, all_;
};

TEST_F(SystemLocaleCompiled, FinnishSeparators) {
    Use("fi_FI", "UTF-8", "fi_FI.UTF-8");
    plat::FormatSettings fs = plat::SystemFormatSettings();
    EXPECT_EQ(fs.TimeSeparator, '.');
    EXPECT_EQ(fs.DecimalSeparator, ',');
    EXPECT_EQ(fs.LongTimeFormat, "hh.mm.ss");
    // The process locale is untouched: number text keeps its '.'.
    EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(std::to_string(1.5), "1.500000");
}

TEST_F(SystemLocaleCompiled, ChineseMarkersInGbk) {
    Use("zh_CN", "GBK", "zh_CN.GBK");
    plat::FormatSettings fs = plat::SystemFormatSettings();
    EXPECT_EQ(fs.TimeAMString, "\xc9\xcf\xce\xe7");  // 上午
    EXPECT_EQ(fs.TimePMString, "\xcf\xc2\xce\xe7");  // 下午
    EXPECT_EQ(fs.TimeSeparator, ':');  // the hour is followed by a Chinese character, no one-byte mark
    EXPECT_EQ(fs.DecimalSeparator, '.');
    EXPECT_EQ(fs.LongTimeFormat, "hh:mm:ss");
}

}  // namespace
