// The scheduler's one-line text form: what it writes, what it reads back, and what a bad number leaves.
#include <gtest/gtest.h>

#include "app/uTimerObj.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "settings/uSysUtils.h"
#include "support/FakeClock.h"

namespace {

const char* const kReminder = "\xCC\xE1\xD0\xD1";  // GBK for "提醒"

class TimerObjText : public testing::Test {
protected:
    void SetUp() override { plat::SetFormatSettings(plat::FormatSettings{}); }
    FakeClock clock{SysUtils::EncodeDate(2024, 3, 14) + 0.375};
};

TEST_F(TimerObjText, NewSchedulerWritesTheFourFixedEntries) {
    TTimerObj t;
    EXPECT_EQ(
        t.SaveToStr(),
        R"({"Circle_Time" : "-1" , "OnTime_Time" : "0" , "ShowWarnForm" : "0" , "PlayWarnSound" : "0"})");
}

TEST_F(TimerObjText, ConfiguredSchedulerRoundTrips) {
    TTimerObj t;
    t.Circle_Time = 7200;
    t.OnTime_Time = SysUtils::EncodeTime(17, 0, 0, 0);
    t.ShowWarnForm = true;
    t.WarnForm_Content = kReminder;
    t.WarnSound_File = "C:\\sounds\\ding.wav";
    const AnsiString text = t.SaveToStr();
    EXPECT_EQ(text, AnsiString(R"({"Circle_Time" : "7200" , "OnTime_Time" : "0.708333333333333" , )"
                               R"("ShowWarnForm" : "1" , "PlayWarnSound" : "0" , "WarnForm_Content" : ")") +
                        kReminder + R"(" , "WarnSound_File" : "C:\sounds\ding.wav"})");

    TTimerObj back;
    EXPECT_TRUE(back.LoadFromStr(text));
    EXPECT_EQ(back.Circle_Time, 7200.0);
    // 17:00 has no 15-digit form: it comes back as the double nearest to the written digits.
    EXPECT_EQ(back.OnTime_Time, 0.708333333333333);
    EXPECT_TRUE(back.ShowWarnForm);
    EXPECT_FALSE(back.PlayWarnSound);
    EXPECT_EQ(back.WarnForm_Content, kReminder);
    EXPECT_EQ(back.WarnSound_File, "C:\\sounds\\ding.wav");
    EXPECT_EQ(back.SaveToStr(), text);
}

TEST_F(TimerObjText, HalfDayComesBackExactly) {
    TTimerObj t;
    t.OnTime_Time = 0.5;
    t.PlayWarnSound = true;
    TTimerObj back;
    back.LoadFromStr(t.SaveToStr());
    EXPECT_EQ(back.OnTime_Time, 0.5);
    EXPECT_TRUE(back.PlayWarnSound);
}

TEST_F(TimerObjText, LoadSetsOnlyTheFieldsOfTheTextForm) {
    TTimerObj t;
    t.LastCircle = 123.25;
    t.OnTime2_Time = t.OnTime3_Time = 0.25;
    t.OnTimeDone = t.OnTime2Done = t.OnTime3Done = 45000;
    t.OnTime_Content = "one";
    t.WarnForm_Content = "old";
    t.WarnSound_File = "old.wav";
    // Missing text entries mean empty texts.
    ASSERT_TRUE(t.LoadFromStr(R"({"Circle_Time" : "60" , "OnTime_Time" : "-1"})"));
    EXPECT_EQ(t.Circle_Time, 60.0);
    EXPECT_EQ(t.OnTime_Time, -1.0);
    EXPECT_EQ(t.WarnForm_Content, "");
    EXPECT_EQ(t.WarnSound_File, "");
    EXPECT_EQ(t.LastCircle, 123.25);
    EXPECT_EQ(t.OnTime2_Time, 0.25);
    EXPECT_EQ(t.OnTime3_Time, 0.25);
    EXPECT_EQ(t.OnTimeDone, 45000.0);
    EXPECT_EQ(t.OnTime3Done, 45000.0);
    EXPECT_EQ(t.OnTime_Content, "one");
}

TEST_F(TimerObjText, OnlyTheExactTextOneIsTrue) {
    struct Case {
        const char* value;
        bool flag;
    };
    for (const Case& c : {Case{"1", true}, Case{"true", false}, Case{"01", false}, Case{" 1", false},
                          Case{"1 ", false}, Case{"0", false}, Case{"", false}}) {
        TTimerObj t;
        t.ShowWarnForm = t.PlayWarnSound = !c.flag;
        const AnsiString text =
            AnsiString(R"({"Circle_Time" : "0" , "OnTime_Time" : "0" , "ShowWarnForm" : ")") + c.value +
            R"(" , "PlayWarnSound" : ")" + c.value + "\"}";
        t.LoadFromStr(text);
        EXPECT_EQ(t.ShowWarnForm, c.flag) << "\"" << c.value << "\"";
        EXPECT_EQ(t.PlayWarnSound, c.flag) << "\"" << c.value << "\"";
    }
}

// A number that does not convert stops the load there: earlier fields are new, later ones old.
TEST_F(TimerObjText, BadNumberRaisesAndLeavesTheLaterFields) {
    struct Case {
        const char* text;
        const char* message;
        double circle;  // Circle_Time after the failed load
    };
    for (const Case& c : {
             Case{R"({"Circle_Time" : "7200" , "OnTime_Time" : "abc" , "ShowWarnForm" : "1" ,)"
                  R"( "WarnForm_Content" : "new"})",
                  "'abc' is not a valid floating point value", 7200.0},
             Case{R"({"OnTime_Time" : "0.5" , "ShowWarnForm" : "1"})",
                  "'' is not a valid floating point value", -1.0},
             Case{R"({"Circle_Time" : 60 , "OnTime_Time" : "0.5"})",
                  "'OnTime_Time' is not a valid floating point value", -1.0},
         }) {
        SCOPED_TRACE(c.text);
        TTimerObj t;
        t.OnTime_Time = 0.25;
        t.WarnForm_Content = "old";
        try {
            t.LoadFromStr(c.text);
            ADD_FAILURE() << "no error raised";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_EQ(t.Circle_Time, c.circle);
        EXPECT_EQ(t.OnTime_Time, 0.25);
        EXPECT_FALSE(t.ShowWarnForm);
        EXPECT_EQ(t.WarnForm_Content, "old");
    }
}

TEST_F(TimerObjText, NumbersUseTheLocaleDecimalSeparator) {
    plat::FormatSettings fs;
    fs.DecimalSeparator = ',';
    plat::SetFormatSettings(fs);
    TTimerObj t;
    t.OnTime_Time = 0.5;
    const AnsiString text = t.SaveToStr();
    EXPECT_NE(text.find(R"("OnTime_Time" : "0,5")"), AnsiString::npos) << text;
    TTimerObj back;
    back.LoadFromStr(text);
    EXPECT_EQ(back.OnTime_Time, 0.5);
    plat::SetFormatSettings(plat::FormatSettings{});
}

}  // namespace
