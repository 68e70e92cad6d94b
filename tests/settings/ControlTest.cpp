// TControl: what LoadSettings makes of settings files, how it fails part way, the tolerant load, the
// first-start offer to start at login, and the weekday name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FakeRegistry.h"
#include "Raises.h"
#include "SettingsFields.h"
#include "platform/Errors.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "settings/uControlObj.h"
#include "settings/uStrings.h"
#include "settings/uToolsObj.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"
#include "support/TempProgramDir.h"

namespace fs = std::filesystem;

namespace {

// Every test here runs with the default locale facts (colon, AM/PM), whatever the machine's locale is.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override { plat::SetFormatSettings(plat::FormatSettings{}); }
    void TearDown() override { plat::SetFormatSettings(plat::SystemFormatSettings()); }
};

std::map<std::string, std::string> LoadFrom(const TempProgramDir& tmp, const std::string& ini) {
    tmp.WriteIni(ini);
    auto c = TControl::CreateUnloaded(nullptr);
    c->LoadSettings();
    return ControlFields(*c);
}

// The 18 settings in reading order, each with two well-formed stored forms and what they load to.
struct KeyValues {
    const char* section;
    const char* key;
    const char* field;
    std::string storedA, loadedA;
    std::string storedB, loadedB;
};
std::vector<KeyValues> AllKeys() {
    return {
        {"XHBX", "startXHBJ", "startXHBJ", "1", "1", "0", "0"},
        {"XHBX", "xhzq", "xhzq", "45", "45", "$1E", "30"},
        {"XHBX", "startDSBJ", "startDSBJ", "1", "1", "0", "0"},
        {"XHBX", "OnTime", "OnTime", "11:15", "11:15:00", "7", "07:00:00"},
        {"XHBX", "OnTimeTxnr", "OnTimeTxnr", "lunch A", "lunch A", "lunch B", "lunch B"},
        {"XHBX", "startDSBJ2", "startDSBJ2", "0", "0", "1", "1"},
        {"XHBX", "OnTime2", "OnTime2", "18:05", "18:05:00", "6:30 PM", "18:30:00"},
        {"XHBX", "OnTimeTxnr2", "OnTimeTxnr2", "home A", "home A", "home B", "home B"},
        {"XHBX", "startDSBJ3", "startDSBJ3", "1", "1", "0", "0"},
        {"XHBX", "OnTime3", "OnTime3", "22:00", "22:00:00", "23:59:59", "23:59:59"},
        {"XHBX", "OnTimeTxnr3", "OnTimeTxnr3", "raid A", "raid A", "raid B", "raid B"},
        {"XHBX", "txnr", "txnr", "sky A", "sky A", "sky B", "sky B"},
        {"XHBX", "startXHBJFlash", "startXHBJFlash", "0", "0", "1", "1"},
        {"XHBX", "XHBXFlashSetByUser", "XHBXFlashSetByUser", "/a.swf", "/a.swf", "/b.swf", "/b.swf"},
        {"XHBX", "XHBXFlashWord", "XHBXFlashWord", "word A", "word A", "word B", "word B"},
        {"XHBX", "flashLonger", "flashLonger", "5", "5", "-7", "-7"},
        {"XTSZ", "NotFirstStart", "FirstStart", "1", "0", "0", "1"},
        {"XTSZ", "BJTP", "BJTP", "/pics/a.bmp", "/pics/a.bmp", "/pics/b.bmp", "/pics/b.bmp"},
    };
}

// A whole settings file holding the A or B form of every key; `override` replaces one key's text.
std::string FileWith(bool b, const std::string& overrideKey = "", const std::string& overrideText = "") {
    std::string xhbx = "[XHBX]\r\n", xtsz = "[XTSZ]\r\n";
    for (const KeyValues& k : AllKeys()) {
        const std::string& text = k.key == overrideKey ? overrideText : (b ? k.storedB : k.storedA);
        (std::string(k.section) == "XHBX" ? xhbx : xtsz) += std::string(k.key) + "=" + text + "\r\n";
    }
    return xhbx + xtsz;
}

std::map<std::string, std::string> Defaults() {
    return {
        {"startXHBJ", "0"},
        {"startXHBJFlash", "0"},
        {"XHBXFlashSetByUser", ""},
        {"XHBXFlashWord", ""},
        {"flashLonger", "20"},
        {"xhzq", "120"},
        {"startDSBJ", "0"},
        {"OnTime", "12:00:00"},
        {"OnTimeTxnr", Texts::Gbk("该准备吃午饭了！")},
        {"startDSBJ2", "0"},
        {"OnTime2", "17:00:00"},
        {"OnTimeTxnr2", Texts::Gbk("该准备下班了！")},
        {"startDSBJ3", "0"},
        {"OnTime3", "21:00:00"},
        {"OnTimeTxnr3", Texts::Gbk("该准备带领你的团队下副本了！")},
        {"txnr", Texts::Gbk("主人，工作很长时间了，看一眼蓝天吧！")},
        {"FirstStart", "1"},
        {"BJTP", ""},
    };
}

}  // namespace

TEST_F(ControlTest, NoSettingsFileGivesEveryDefaultAndCreatesNothing) {
    TempProgramDir tmp;
    auto c = TControl::CreateUnloaded(nullptr);
    c->LoadSettings();
    EXPECT_EQ(ControlFields(*c), Defaults());
    // The default texts are GBK bytes, not UTF-8.
    EXPECT_EQ(c->XHBX.OnTimeTxnr, "\xB8\xC3\xD7\xBC\xB1\xB8\xB3\xD4\xCE\xE7\xB7\xB9\xC1\xCB\xA3\xA1");
    EXPECT_EQ(c->XHBX.OnTime, 0.5);
    EXPECT_FALSE(fs::exists(tmp.IniDir()));
}

TEST_F(ControlTest, EveryKeyLandsInItsOwnField) {
    TempProgramDir tmp;
    for (bool b : {false, true}) {
        auto fields = LoadFrom(tmp, FileWith(b));
        for (const KeyValues& k : AllKeys())
            EXPECT_EQ(fields.at(k.field), b ? k.loadedB : k.loadedA) << k.key;
    }
}

TEST_F(ControlTest, SettingsFileTextsAndWhatTheyLoadTo) {
    struct Case {
        std::string ini;
        const char* field;
        std::string expected;
    };
    const std::string gbk = Texts::Gbk("看一眼蓝天");
    const Case cases[] = {
        // names ignore letter case; blanks around names and values are dropped
        {"[xhbx]\r\nXHZQ=45\r\n", "xhzq", "45"},
        {"[ XHBX ]\r\n  xhzq  =  45  \r\n", "xhzq", "45"},
        {"[XHBX]\nxhzq=45\n", "xhzq", "45"},
        {"xhzq=45\r\n[XHBX]\r\n", "xhzq", "120"},  // before any section: unreachable
        {"[XTSZ]\r\nxhzq=45\r\n", "xhzq", "120"},  // wrong section
        {"[XHBX]\r\nxhzq=45\r\nxhzq=46\r\n", "xhzq", "45"},
        // one pair of matching quotes goes, the blanks inside stay
        {"[XHBX]\r\ntxnr=\"  quoted  \"\r\n", "txnr", "  quoted  "},
        {"[XHBX]\r\ntxnr='single'\r\n", "txnr", "single"},
        {"[XHBX]\r\ntxnr=\"mismatched'\r\n", "txnr", "\"mismatched'"},
        // present but empty is empty, not the default
        {"[XHBX]\r\ntxnr=\r\n", "txnr", ""},
        {"[XHBX]\r\nOnTimeTxnr=\r\n", "OnTimeTxnr", ""},
        {"[XHBX]\r\n", "txnr", Texts::Gbk("主人，工作很长时间了，看一眼蓝天吧！")},
        {"[XHBX]\r\ntxnr=" + std::string(3000, 'a') + "\r\n", "txnr", std::string(2047, 'a')},
        {"[XHBX]\r\ntxnr=" + gbk + "\r\n", "txnr", gbk},
        {"[XHBX]\r\nxhzq=$1E\r\n", "xhzq", "30"},
        {"[XHBX]\r\nxhzq=0x1e\r\n", "xhzq", "30"},
        {"[XHBX]\r\nxhzq=-5\r\n", "xhzq", "-5"},
        {"[XHBX]\r\nflashLonger=2147483647\r\n", "flashLonger", "2147483647"},
        // Booleans: exactly "1" is true
        {"[XHBX]\r\nstartXHBJ=1\r\n", "startXHBJ", "1"},
        {"[XHBX]\r\nstartXHBJ=01\r\n", "startXHBJ", "0"},
        {"[XHBX]\r\nstartXHBJ=2\r\n", "startXHBJ", "0"},
        {"[XHBX]\r\nstartXHBJ=true\r\n", "startXHBJ", "0"},
        {"[XHBX]\r\nstartXHBJ=\r\n", "startXHBJ", "0"},
        {"[XHBX]\r\nstartXHBJ=\"1\"\r\n", "startXHBJ", "1"},
        {"[XTSZ]\r\nNotFirstStart=1\r\n", "FirstStart", "0"},
        {"[XTSZ]\r\nNotFirstStart=01\r\n", "FirstStart", "1"},
        {"[XTSZ]\r\nNotFirstStart=\r\n", "FirstStart", "1"},
        // times of day
        {"[XHBX]\r\nOnTime=7\r\n", "OnTime", "07:00:00"},
        {"[XHBX]\r\nOnTime=12:00:00\r\n", "OnTime", "12:00:00"},
        {"[XHBX]\r\nOnTime=12:30 PM\r\n", "OnTime", "12:30:00"},
        {"[XHBX]\r\nOnTime=12:30 am\r\n", "OnTime", "00:30:00"},
        {"[XHBX]\r\nOnTime=PM 1:05\r\n", "OnTime", "13:05:00"},
        {"[XHBX]\r\nOnTime2=0:00\r\n", "OnTime2", "00:00:00"},
        {"[XHBX]\r\nOnTime3=23:59\r\n", "OnTime3", "23:59:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.substr(0, 60));
        TempProgramDir tmp;
        EXPECT_EQ(LoadFrom(tmp, c.ini).at(c.field), c.expected);
    }
}

TEST_F(ControlTest, MalformedValueStopsTheLoadAfterTheFieldsBeforeIt) {
    struct Case {
        const char* key;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"xhzq", "abc", "'abc' is not a valid integer value"},
        {"xhzq", "", "'' is not a valid integer value"},  // empty is malformed, not the default
        {"xhzq", "2147483648", "'2147483648' is not a valid integer value"},
        {"OnTime", "24:00", "'24:00' is not a valid time"},
        {"OnTime2", "12:60", "'12:60' is not a valid time"},
        {"OnTime3", "13:00 PM", "'13:00 PM' is not a valid time"},
        {"flashLonger", "1.5", "'1.5' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text);
        TempProgramDir tmp;
        tmp.WriteIni(FileWith(false));
        auto control = TControl::CreateUnloaded(nullptr);
        control->LoadSettings();
        tmp.WriteIni(FileWith(true, c.key, c.text));
        auto e = Raised<EConvertError>([&] { control->LoadSettings(); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Message(), c.message);
        const auto fields = ControlFields(*control);
        bool before = true;
        for (const KeyValues& k : AllKeys()) {
            if (k.key == std::string(c.key)) {
                before = false;
                EXPECT_EQ(fields.at(k.field), k.loadedA) << "the bad key's field keeps its old value";
                continue;
            }
            EXPECT_EQ(fields.at(k.field), before ? k.loadedB : k.loadedA) << k.key;
        }
    }
}

TEST_F(ControlTest, ConstructorFailsOnAMalformedValueBeforeAskingAnything) {
    TempProgramDir tmp;
    tmp.WriteIni("[XHBX]\r\nOnTime2=24:00\r\n");
    ScriptedBoxes boxes({plat::BoxOk});
    auto e = Raised<EConvertError>([] { TControl control(nullptr); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "'24:00' is not a valid time");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(fs::exists(tmp.AutostartDir() / "Tovik.desktop"));
}

TEST_F(ControlTest, UnloadedObjectTouchesNothing) {
    TempProgramDir tmp;
    ScriptedBoxes boxes;
    auto c = TControl::CreateUnloaded(reinterpret_cast<TMainFrm*>(&tmp));
    EXPECT_EQ(c->MainForm, reinterpret_cast<TMainFrm*>(&tmp));
    EXPECT_EQ(c->XHBX.xhzq, 0);
    EXPECT_EQ(c->XHBX.OnTime, 0.0);
    EXPECT_TRUE(c->XHBX.txnr.empty());
    EXPECT_FALSE(c->FirstStart);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(fs::exists(tmp.IniDir()));
}

TEST_F(ControlTest, TolerantLoadPutsDefaultsForBadKeysAndCollectsTheirMessages) {
    TempProgramDir tmp;
    std::string ini = FileWith(true, "xhzq", "abc");
    const std::string bad2 = "OnTime2=6:30 PM";
    ini.replace(ini.find(bad2), bad2.size(), "OnTime2=24:00");
    const std::string bad3 = "flashLonger=-7";
    ini.replace(ini.find(bad3), bad3.size(), "flashLonger=");
    tmp.WriteIni(ini);

    auto c = TControl::CreateUnloaded(nullptr);
    EXPECT_EQ(c->LoadSettingsTolerant(),
              (std::vector<std::string>{"'abc' is not a valid integer value", "'24:00' is not a valid time",
                                        "'' is not a valid integer value"}));
    const auto fields = ControlFields(*c);
    const auto defaults = Defaults();
    for (const KeyValues& k : AllKeys()) {
        const bool bad = k.key == std::string("xhzq") || k.key == std::string("OnTime2") ||
                         k.key == std::string("flashLonger");
        EXPECT_EQ(fields.at(k.field), bad ? defaults.at(k.field) : k.loadedB) << k.key;
    }

    // A clean file gives no messages and the same fields as the strict load.
    tmp.WriteIni(FileWith(false));
    EXPECT_TRUE(c->LoadSettingsTolerant().empty());
    auto strict = TControl::CreateUnloaded(nullptr);
    strict->LoadSettings();
    EXPECT_EQ(ControlFields(*c), ControlFields(*strict));
}

TEST_F(ControlTest, DefaultsLoadUnderALocaleWithAnotherTimeSeparator) {
    TempProgramDir tmp;
    plat::FormatSettings dots;
    dots.TimeSeparator = '.';
    dots.DecimalSeparator = ',';
    plat::SetFormatSettings(dots);
    tmp.WriteIni("[XHBX]\r\nOnTime=9.15\r\n");
    // The missing OnTime2/OnTime3 take the built-in "17:00"/"21:00", written with colons.
    auto strict = TControl::CreateUnloaded(nullptr);
    ASSERT_NO_THROW(strict->LoadSettings());
    auto tolerant = TControl::CreateUnloaded(nullptr);
    EXPECT_TRUE(tolerant->LoadSettingsTolerant().empty());
    for (const TControl* c : {strict.get(), tolerant.get()}) {
        EXPECT_EQ(TimeText(c->XHBX.OnTime), "09:15:00");
        EXPECT_EQ(TimeText(c->XHBX.OnTime2), "17:00:00");
        EXPECT_EQ(TimeText(c->XHBX.OnTime3), "21:00:00");
    }
}

TEST_F(ControlTest, FirstStartOfferToStartAtLogin) {
    enum Entry { None, Same, OtherCase, OtherPath };
    struct Case {
        const char* name;
        const char* notFirstStart;  // nullptr: key missing
        Entry entry;
        std::deque<int> answers;
        bool asked;
        Entry after;
    };
    const Case cases[] = {
        {"not the first start", "1", None, {plat::BoxOk}, false, None},
        {"entry already names this program", nullptr, Same, {plat::BoxOk}, false, Same},
        {"entry differs in letter case, OK", nullptr, OtherCase, {plat::BoxOk}, true, Same},
        {"no entry, OK", nullptr, None, {plat::BoxOk}, true, Same},
        {"no entry, OK, NotFirstStart=0", "0", None, {plat::BoxOk}, true, Same},
        {"no entry, Cancel", nullptr, None, {plat::BoxCancel}, true, None},
        {"other program, Cancel", nullptr, OtherPath, {plat::BoxCancel}, true, OtherPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramDir tmp;
        const std::string exe = tmp.ExePath();
        std::string upper = exe;
        upper[upper.size() - 1] = static_cast<char>(std::toupper(upper.back()));
        auto entryText = [&](Entry e) -> std::string {
            switch (e) {
                case Same:
                    return exe;
                case OtherCase:
                    return upper;
                case OtherPath:
                    return "/opt/other/prog";
                default:
                    return "";
            }
        };
        if (c.notFirstStart) tmp.WriteIni(std::string("[XTSZ]\r\nNotFirstStart=") + c.notFirstStart + "\r\n");
        if (c.entry != None) {
            TTools::RegWriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, "Tovik",
                                   entryText(c.entry));
        }
        ScriptedBoxes boxes(c.answers);
        TControl control(nullptr);
        ASSERT_EQ(boxes.shown.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(boxes.shown[0].Text,
                      "\xCA\xC7\xB7\xF1\xBF\xAA\xBB\xFA\xC6\xF4\xB6\xAF?");  // 是否开机启动?
            EXPECT_EQ(boxes.shown[0].Caption, Texts::Gbk("系统提示"));
            EXPECT_EQ(boxes.shown[0].Kind, plat::TBoxKind::Question);
        }
        EXPECT_EQ(TTools::RegReadString(plat::RegRoot::LocalMachine, plat::RunKeyPath, "Tovik"),
                  entryText(c.after));
    }
}

TEST_F(ControlTest, CancelIsNotRememberedTheQuestionComesBack) {
    TempProgramDir tmp;
    ScriptedBoxes boxes({plat::BoxCancel, plat::BoxCancel});
    { TControl first(nullptr); }
    { TControl second(nullptr); }
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_FALSE(fs::exists(tmp.AutostartDir() / "Tovik.desktop"));
    EXPECT_FALSE(fs::exists(tmp.IniDir()));
}

TEST_F(ControlTest, FailingAutostartWriteGoesOutOfTheConstructor) {
    TempProgramDir tmp;
    FakeRegistry reg;
    reg.refuseWrite = true;
    ScriptedBoxes boxes({plat::BoxOk});
    auto e = Raised<ERegistryException>([] { TControl control(nullptr); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "Failed to set data for 'Tovik'");
    EXPECT_EQ(reg.calls,
              (std::vector<std::string>{std::string("open ") + plat::RunKeyPath,
                                        std::string("create ") + plat::RunKeyPath, "write Tovik"}));
}

TEST_F(ControlTest, WeekNameForEveryDay) {
    TempProgramDir tmp;
    FakeClock clock;
    auto c = TControl::CreateUnloaded(nullptr);
    const char* names[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    for (int i = 0; i < 7; ++i) {
        clock.Set(2024, 6, 2 + i, 23, 59, 59);  // 2024-06-02 was a Sunday
        EXPECT_EQ(c->GetWeekName(), Texts::Gbk(names[i])) << i;
    }
    clock.Set(2024, 6, 2);
    EXPECT_EQ(c->GetWeekName(), "\xD0\xC7\xC6\xDA\xC8\xD5");  // 星期日 in GBK
}
