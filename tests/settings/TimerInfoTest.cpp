// The numbered reminder list: which sections it reads, what the entries hold, and that a failure
// part way frees whatever was already created (run this binary under valgrind to see no leak).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Raises.h"
#include "SettingsFields.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "settings/uTimerInfo.h"
#include "support/TempProgramDir.h"

namespace {

class TimerInfoTest : public ::testing::Test {
protected:
    void SetUp() override { plat::SetFormatSettings(plat::FormatSettings{}); }
    void TearDown() override { plat::SetFormatSettings(plat::SystemFormatSettings()); }
    TempProgramDir tmp;
};

std::map<std::string, std::string> DefaultEntry(int number) {
    return {{"Number", std::to_string(number)},
            {"WarnEnable", "0"},
            {"WarnType", "0"},
            {"WarnTime", "00:00:00"},
            {"WarnMinute", "0"},
            {"WarnEnable2", "0"},
            {"WarnInfo", ""},
            {"WarnProgramEnable", "0"},
            {"WarnProgram", ""},
            {"WeekMon", "0"},
            {"WeekTues", "0"},
            {"WeekWed", "0"},
            {"WeekThur", "0"},
            {"WeekFri", "0"},
            {"WeekSat", "0"},
            {"WeekSun", "0"}};
}

}  // namespace

TEST_F(TimerInfoTest, NoNumbersNoEntries) {
    for (const char* ini : {"", "[XTSZ]\r\nWarnNums=\r\n", "[XTSZ]\r\nWarnNums=\"\"\r\n"}) {
        SCOPED_TRACE(ini);
        tmp.WriteIni(std::string(ini) + "[XHBX]\r\nWarnType=bad\r\n");
        TTimerInfos list;
        EXPECT_EQ(list.NumList.Count(), 0);
        EXPECT_TRUE(list.Infos.empty());
    }
}

TEST_F(TimerInfoTest, MissingSectionGivesAnEntryOfDefaults) {
    tmp.WriteIni("[XTSZ]\r\nWarnNums=3\r\n[XHBX]\r\nWarnEnable=1\r\n[XHBX4]\r\nWarnEnable=1\r\n");
    TTimerInfos list;
    ASSERT_EQ(list.NumList.Count(), 1);
    EXPECT_EQ(list.NumList.Strings(0), "3");
    ASSERT_EQ(list.Infos.size(), 1u);
    ASSERT_NE(list.Infos[0], nullptr);
    EXPECT_EQ(list.Infos[0]->GetWarnNumber(), 3);
    EXPECT_EQ(TimerInfoFields(list.Infos[0]->TimerInfo()), DefaultEntry(3));
    EXPECT_EQ(list.Infos[0]->TimerInfo().WarnTime, 0.0);
}

TEST_F(TimerInfoTest, EntryFieldsComeFromItsNumberedSection) {
    tmp.WriteIni(
        "[XTSZ]\r\nWarnNums= 12 \r\n"
        "[XHBX12]\r\n"
        "WarnEnable=1\r\nWarnType=2\r\nWarnTime=7:30\r\nWarnMinute=$10\r\nWarnInfo=stand up\r\n"
        "WarnProgramEnable=1\r\nWarnProgram=/usr/bin/true\r\n"
        "WeekMon=1\r\nWeekTues=0\r\nWeekWed=1\r\nWeekThur=true\r\nWeekFri=1\r\nWeekSat=01\r\nWeekSun=1\r\n");
    TTimerInfos list;
    ASSERT_EQ(list.Infos.size(), 1u);
    const std::map<std::string, std::string> expected = {
        {"Number", "12"},         {"WarnEnable", "1"},        {"WarnType", "2"},
        {"WarnTime", "07:30:00"}, {"WarnMinute", "16"},       {"WarnEnable2", "1"},
        {"WarnInfo", "stand up"}, {"WarnProgramEnable", "1"}, {"WarnProgram", "/usr/bin/true"},
        {"WeekMon", "1"},         {"WeekTues", "0"},          {"WeekWed", "1"},
        {"WeekThur", "0"},        {"WeekFri", "1"},           {"WeekSat", "0"},
        {"WeekSun", "1"}};
    EXPECT_EQ(TimerInfoFields(list.Infos[0]->TimerInfo()), expected);
}

TEST_F(TimerInfoTest, SectionNameIsTheDecimalNumberWithItsSign) {
    struct Case {
        const char* warnNums;
        int number;
        const char* info;
    };
    const std::string ini =
        "[XHBX0]\r\nWarnInfo=zero\r\n[XHBX-5]\r\nWarnInfo=minus five\r\n[XHBX5]\r\nWarnInfo=five\r\n"
        "[XHBX30]\r\nWarnInfo=thirty\r\n";
    for (const Case c : {Case{"0", 0, "zero"}, Case{"-5", -5, "minus five"}, Case{"5", 5, "five"},
                         Case{"$1E", 30, "thirty"}, Case{"-0", 0, "zero"}}) {
        SCOPED_TRACE(c.warnNums);
        tmp.WriteIni(ini + "[XTSZ]\r\nWarnNums=" + c.warnNums + "\r\n");
        TTimerInfos list;
        ASSERT_EQ(list.Infos.size(), 1u);
        EXPECT_EQ(list.Infos[0]->TimerInfo().Number, c.number);
        EXPECT_EQ(list.Infos[0]->TimerInfo().WarnInfo, c.info);
    }
}

TEST_F(TimerInfoTest, BothEnableFlagsFollowWarnEnable) {
    for (const auto& [text, flag] : std::vector<std::pair<std::string, bool>>{
             {"1", true}, {"0", false}, {"2", false}, {"01", false}, {"", false}}) {
        SCOPED_TRACE(text);
        tmp.WriteIni("[XTSZ]\r\nWarnNums=1\r\n[XHBX1]\r\nWarnEnable=" + text + "\r\nWarnEnable2=1\r\n");
        TTimerInfos list;
        EXPECT_EQ(list.Infos[0]->TimerInfo().WarnEnable, flag);
        EXPECT_EQ(list.Infos[0]->TimerInfo().WarnEnable2, flag);
    }
}

TEST_F(TimerInfoTest, SettingTheNumberReloadsEveryField) {
    tmp.WriteIni("[XHBX1]\r\nWarnInfo=one\r\nWeekSun=1\r\nWarnMinute=5\r\n[XHBX2]\r\nWarnInfo=two\r\n");
    TTimerInfo info(1);
    EXPECT_EQ(info.TimerInfo().WarnInfo, "one");
    info.SetWarnNumber(2);
    EXPECT_EQ(info.GetWarnNumber(), 2);
    auto expected = DefaultEntry(2);
    expected["WarnInfo"] = "two";
    EXPECT_EQ(TimerInfoFields(info.TimerInfo()), expected);
}

TEST_F(TimerInfoTest, MalformedNumberOrEntryValueFailsTheList) {
    struct Case {
        std::string ini;
        std::string message;
    };
    const Case cases[] = {
        {"[XTSZ]\r\nWarnNums=1,2\r\n", "'1,2' is not a valid integer value"},
        {"[XTSZ]\r\nWarnNums=4294967296\r\n", "'4294967296' is not a valid integer value"},
        {"[XTSZ]\r\nWarnNums=1\r\n[XHBX1]\r\nWarnType=abc\r\n", "'abc' is not a valid integer value"},
        {"[XTSZ]\r\nWarnNums=1\r\n[XHBX1]\r\nWarnMinute=\r\n", "'' is not a valid integer value"},
        {"[XTSZ]\r\nWarnNums=1\r\n[XHBX1]\r\nWarnTime=24:00\r\n", "'24:00' is not a valid time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        tmp.WriteIni(c.ini);
        auto e = Raised<EConvertError>([] { TTimerInfos list; });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Message(), c.message);
    }
}

TEST_F(TimerInfoTest, FailureAfterSomeEntriesFreesThemAndClearEmptiesTheSlots) {
    tmp.WriteIni("[XHBX1]\r\nWarnInfo=one\r\n[XHBX2]\r\nWarnInfo=two\r\n");
    TTimerInfos list;
    // The file can hold only one number; a holder can still put several lines into the list.
    list.NumList.SetText("1\r\n2\r\nx\r\n");
    list.Infos.resize(3, nullptr);
    auto e = Raised<EConvertError>([&] { list.CreateInfos(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "'x' is not a valid integer value");
    ASSERT_NE(list.Infos[1], nullptr);
    EXPECT_EQ(list.Infos[1]->TimerInfo().WarnInfo, "two");
    EXPECT_EQ(list.Infos[2], nullptr);

    // Creating again replaces the entries (the old ones are freed, not lost).
    list.NumList.SetText("2\n1");
    list.CreateInfos();
    EXPECT_EQ(list.Infos[0]->TimerInfo().WarnInfo, "two");
    EXPECT_EQ(list.Infos[1]->TimerInfo().WarnInfo, "one");

    list.ClearInfos();
    EXPECT_EQ(list.NumList.Count(), 0);
    EXPECT_EQ(list.Infos.size(), 3u);  // the slots stay, emptied
    EXPECT_EQ(list.Infos[0], nullptr);
    EXPECT_EQ(list.Infos[1], nullptr);
}

TEST_F(TimerInfoTest, ReloadingTheNumbersStartsAFreshList) {
    tmp.WriteIni("[XTSZ]\r\nWarnNums=7\r\n");
    TTimerInfos list;
    ASSERT_EQ(list.Infos.size(), 1u);
    tmp.WriteIni("[XTSZ]\r\nWarnNums=\r\n");
    list.LoadNums();
    EXPECT_EQ(list.NumList.Count(), 0);
    EXPECT_TRUE(list.Infos.empty());
    tmp.WriteIni("[XTSZ]\r\nWarnNums=8\r\n");
    list.LoadNums();
    list.CreateInfos();
    ASSERT_EQ(list.Infos.size(), 1u);
    EXPECT_EQ(list.Infos[0]->GetWarnNumber(), 8);
}
