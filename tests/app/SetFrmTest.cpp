// The settings dialog's behaviour against a recording view: what fills the controls, the bytes that
// closing writes, the key filter, the range message, navigation, the pickers and a failing save.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FakeViews.h"
#include "app/uSetFrm.h"
#include "app/uSetFrmLook.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "settings/FakeRegistry.h"
#include "settings/uControlObj.h"
#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"
#include "support/ScriptedBoxes.h"
#include "support/SettingsTableFiles.h"
#include "support/TempProgramDir.h"
#include "support/TestHost.h"

namespace {

using C = TSetControl;

AnsiString G(const char* utf8) {
    return plat::Utf8ToGbk(utf8);
}

TXHBX Sample() {
    TXHBX s;
    s.startXHBJ = true;
    s.xhzq = 45;
    s.OnTime = SysUtils::EncodeTime(12, 0, 0, 0);
    s.OnTimeTxnr = G("该准备吃午饭了！");
    s.startDSBJ2 = true;
    s.OnTime2 = SysUtils::EncodeTime(17, 5, 0, 0);
    s.OnTimeTxnr2 = G("下班");
    s.OnTime3 = SysUtils::EncodeTime(21, 0, 0, 0);
    s.OnTimeTxnr3 = G("副本");
    s.txnr = G("看一眼蓝天吧！");
    s.startXHBJFlash = true;
    s.XHBXFlashSetByUser = "/movies/a.swf";
    s.XHBXFlashWord = G("到点");
    s.flashLonger = 30;
    return s;
}

// A dialog prepared as the settings command prepares it, on a fresh program folder.
struct Dialog {
    explicit Dialog(const TXHBX& settings = Sample()) {
        plat::FormatSettings fs;  // a 24-hour locale with ':' between the fields
        plat::SetFormatSettings(fs);
        form.FormCreate(view);
        form.img_leftbtn_XHBXClick();
        form.LoadData(settings, nullptr);
        form.LoadAutoRun();
    }
    TempProgramDir dir;
    ScriptedBoxes boxes{{plat::BoxOk, plat::BoxOk}};
    TSetFrm form;
    FakeSetView view{form, {}};
};

}  // namespace

TEST(SetFrmLoad, FillsTheControlsAndOpensOnTheReminderPage) {
    Dialog d;
    EXPECT_EQ(d.view.Page, TSetPage::tsxhbx);
    EXPECT_EQ(d.view.Colors[C::pnl_leftbtn_xhbx], SetFrmLook::NavSelectedColor);
    EXPECT_EQ(d.view.Colors[C::pnl_leftbtn_xtsz], SetFrmLook::NavColor);
    EXPECT_FALSE(d.view.Visible[C::img_leftbtn_XHBX]);
    EXPECT_TRUE(d.view.Checked(C::chk_startxhbx));
    EXPECT_EQ(d.view.Text(C::edt_XHBX_XHZQ), "45");
    EXPECT_EQ(d.view.Text(C::edt_OnTime2), "17:05");
    EXPECT_EQ(d.view.Text(C::edt_OnTime3), "21:00");
    EXPECT_EQ(d.view.Text(C::edtOnTimeTXNR2), G("下班"));
    EXPECT_EQ(d.view.Text(C::edt_flashlonger), "30");
    EXPECT_FALSE(d.view.Checked(C::chk_KJQD));
    EXPECT_TRUE(d.boxes.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(d.dir.IniDir()));  // nothing written before closing
}

TEST(SetFrmSave, ClosingWritesEveryKeyInOrder) {
    Dialog d;
    d.view.SetText(C::edt_XHBX_TXNR, G("  走走  "));
    d.view.SetText(C::edtOnTimeTXNR, G(" 午饭\t"));
    d.view.SetText(C::edtOnTimeTXNR3, "   ");
    d.view.SetText(C::edt_OnTime, "07:30");
    d.view.SetText(C::edt_BJTP, G("  /pics/背景.bmp "));
    d.view.SetChecked(C::chk_KJQD, true);
    d.form.img3Click();
    EXPECT_TRUE(d.view.Closed);
    const std::string expected =
        "[XHBX]\r\nstartXHBJ=1\r\nxhzq=45\r\nstartDSBJ=0\r\nOnTime=07:30:00\r\nOnTimeTxnr=" + G("午饭") +
        "\r\nstartDSBJ2=1\r\nOnTime2=17:05:00\r\nOnTimeTxnr2=" + G("下班") +
        "\r\nstartDSBJ3=0\r\nOnTime3=21:00:00\r\nOnTimeTxnr3=\r\ntxnr=" + G("  走走  ") +
        "\r\nstartXHBJFlash=1\r\nXHBXFlashSetByUser=/movies/a.swf\r\nXHBXFlashWord=" + G("到点") +
        "\r\nflashLonger=30\r\n[XTSZ]\r\nNotFirstStart=1\r\nBJTP=" + G("/pics/背景.bmp") + "\r\n";
    EXPECT_EQ(d.dir.ReadIni(), expected);
    EXPECT_EQ(TTools::RegReadString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName),
              d.dir.ExePath());
}

// Every key of the settings table goes from the file through the configuration into its control and
// back into the file unchanged when the user changes nothing.
TEST(SetFrmSave, EveryKeyRoundTripsThroughItsControl) {
    for (int variant = 0; variant < settingsfiles::Variants; ++variant) {
        const std::string file = settingsfiles::File(variant);
        TempProgramDir dir;
        dir.WriteIni(file);
        plat::SetFormatSettings(plat::FormatSettings{});
        const std::unique_ptr<TControl> config = TControl::CreateUnloaded(nullptr);
        config->LoadSettings();
        ScriptedBoxes boxes;
        TSetFrm form;
        FakeSetView view{form, {}};
        form.FormCreate(view);
        form.LoadData(config->XHBX, nullptr, config->BJTP);
        form.LoadAutoRun();
        // Each control a row names was filled.
        for (const TSetting& row : SettingsTable()) {
            if (!row.Control) continue;
            if (row.Text == TSettingText::Flag)
                EXPECT_EQ(view.Ticks.count(*row.Control), 1u) << row.Key;
            else
                EXPECT_EQ(view.Texts.count(*row.Control), 1u) << row.Key;
        }
        form.img3Click();
        EXPECT_TRUE(view.Closed) << variant;
        EXPECT_TRUE(boxes.shown.empty()) << variant;
        EXPECT_EQ(dir.ReadIni(), file) << variant;
    }
}

// The period box: plain or full-width digits within the range are stored as a plain number, an
// emptied box as one minute, a box the user did not touch as it was stored (also a hand-edited value
// outside the range); anything else is said with the range message, and nothing is written.
TEST(SetFrmSave, PeriodBox) {
    struct Case {
        int32_t loaded;
        const char* typed;   // null: as loaded
        const char* stored;  // null: the range message, the dialog stays open
    } cases[] = {{1000, nullptr, "1000"},
                 {0, nullptr, "0"},
                 {-5, nullptr, "-5"},
                 {40000000, nullptr, "40000000"},
                 {120, "", "1"},
                 {120, "  ", "1"},
                 {120, "007", "7"},
                 {120, " 45 ", "45"},
                 {120, "１２０", "120"},
                 {120, "1２0", "120"},
                 {120, "35791394", "35791394"},
                 {120, "0", nullptr},
                 {120, "０", nullptr},
                 {0, "00", nullptr},
                 {120, "35791395", nullptr},
                 {120, "99999999999", nullptr},
                 {120, "abc", nullptr},
                 {120, "12a", nullptr},
                 {120, "-5", nullptr},
                 {120, "1,000", nullptr}};
    for (const Case& c : cases) {
        TXHBX s = Sample();
        s.xhzq = c.loaded;
        Dialog d(s);
        if (c.typed) d.view.SetText(C::edt_XHBX_XHZQ, G(c.typed));
        d.form.img3Click();
        const std::string label = std::to_string(c.loaded) + " / " + (c.typed ? c.typed : "untouched");
        if (c.stored) {
            EXPECT_TRUE(d.view.Closed) << label;
            EXPECT_TRUE(d.boxes.shown.empty()) << label;
            EXPECT_EQ(TTools::ReadIni("XHBX", "xhzq", "missing"), c.stored) << label;
        } else {
            EXPECT_FALSE(d.view.Closed) << label;
            ASSERT_EQ(d.boxes.shown.size(), 1u) << label;
            EXPECT_EQ(plat::GbkToUtf8(d.boxes.shown[0].Text), "输入范围: 1-35791394 之间的一个值") << label;
            EXPECT_EQ(d.boxes.shown[0].Kind, plat::TBoxKind::Notice) << label;
            EXPECT_FALSE(std::filesystem::exists(d.dir.IniDir())) << label;
        }
    }
}

// Texts are saved on one line (a pasted line break becomes a blank) and cut to what a value of the
// file keeps, never inside a character.
TEST(SetFrmSave, TextsStayOnOneLineAndWhole) {
    const std::string chinese2047 = std::string(1, 'a') + [] {
        std::string t;
        for (int i = 0; i < 1023; ++i) t += "\xb9\xfa";  // 国
        return t;
    }();  // 2047 bytes
    struct Case {
        std::string typed;
        std::string txnr;     // the cyclic text: not trimmed
        std::string trimmed;  // a fixed-time text
    } cases[] = {
        {"a\r\nb", "a b", "a b"},
        {"a\nb\rc", "a b c", "a b c"},
        {"a\r\n\r\nb", "a  b", "a  b"},
        {"\r\nx\r\n", " x ", "x"},
        {std::string(3000, 'x'), std::string(2047, 'x'), std::string(2047, 'x')},
        {chinese2047, chinese2047, chinese2047},
        {chinese2047.substr(1) + "\xb9\xfa", chinese2047.substr(1), chinese2047.substr(1)},
        {"b" + chinese2047, "b" + chinese2047.substr(0, 2045), "b" + chinese2047.substr(0, 2045)},
    };
    for (const Case& c : cases) {
        Dialog d;
        d.view.SetText(C::edt_XHBX_TXNR, c.typed);
        d.view.SetText(C::edtOnTimeTXNR2, c.typed);
        d.view.SetText(C::edt_BJTP, c.typed);
        d.form.img3Click();
        ASSERT_TRUE(d.view.Closed);
        const std::string file = d.dir.ReadIni();
        EXPECT_NE(file.find("\r\ntxnr=" + c.txnr + "\r\n"), std::string::npos) << c.typed.substr(0, 20);
        EXPECT_TRUE(TTools::ReadIni("XHBX", "OnTimeTxnr2", "missing") == c.trimmed) << c.typed.substr(0, 20);
        EXPECT_TRUE(TTools::ReadIni("XTSZ", "BJTP", "missing") == c.trimmed) << c.typed.substr(0, 20);
        // Two sections of one line per key: no line came from a value.
        EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2 + 16 + 2) << c.typed.substr(0, 20);
    }
}

TEST(SetFrmInput, KeyFilterPassesDigitsAndBackspace) {
    struct Case {
        int key, after;
    } cases[] = {{'0', '0'}, {'9', '9'}, {8, 8}, {'a', 0}, {'-', 0}, {' ', 0}, {22, 0}, {0x7f, 0}};
    Dialog d;
    for (const Case& c : cases) {
        char key = static_cast<char>(c.key);
        d.form.edt_XHBX_XHZQ1KeyPress(key);
        EXPECT_EQ(int(key), c.after) << c.key;
    }
}

TEST(SetFrmInput, RangeCheck) {
    struct Case {
        const char* text;
        size_t boxes;
        const char* after;
    } cases[] = {{"60", 1, "20"}, {"45", 0, "45"}, {"0", 0, "0"}, {"-1", 1, "20"}, {"", 0, ""}};
    for (const Case& c : cases) {
        Dialog d;
        d.view.SetText(C::edt_flashlonger, c.text);
        ASSERT_EQ(d.boxes.shown.size(), c.boxes) << c.text;
        if (c.boxes) {
            EXPECT_EQ(plat::GbkToUtf8(d.boxes.shown[0].Text), "输入范围: 0-45 之间的一个值");
            EXPECT_EQ(d.boxes.shown[0].Caption, "Chimewick");
            EXPECT_EQ(d.boxes.shown[0].Kind, plat::TBoxKind::Notice);
        }
        EXPECT_EQ(d.view.Text(C::edt_flashlonger), c.after);
    }
    Dialog d;
    d.view.Texts[C::edt_flashlonger] = "99999999999";
    try {
        d.form.edt_flashlongerChange();
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'99999999999' is not a valid integer value");
    }
    EXPECT_EQ(d.view.Text(C::edt_flashlonger), "99999999999");
}

// A length outside the range in the file shows the message while the dialog is prepared; "20" is then
// what closing writes.
TEST(SetFrmInput, OutOfRangeLengthFromTheFileIsReplaced) {
    TXHBX s = Sample();
    s.flashLonger = 60;
    Dialog d(s);
    EXPECT_EQ(d.boxes.shown.size(), 1u);
    d.form.SaveXHBX();
    EXPECT_EQ(TTools::ReadIni("XHBX", "flashLonger", "missing"), "20");
}

TEST(SetFrmNavigation, HoverAndSelectCompareNamesWithoutCase) {
    struct Case {
        const char* name;
        bool xhbx, dsbx, xtsz;
    } cases[] = {{"NUN", false, false, false},
                 {"img_leftbtn_XHBX", true, false, false},
                 {"IMG_LEFTBTN_XTSZ", false, false, true},
                 {"img_leftbtn_dsbx", false, true, false},
                 {"img1", false, false, false},
                 {"img_leftbtn_XHBx1", false, false, false}};
    Dialog d;
    for (const Case& c : cases) {
        d.form.ShowHoverImage("img_leftbtn_XTSZ");
        d.form.ShowHoverImage(c.name);
        EXPECT_EQ(d.view.Visible[C::img_leftbtn_XHBX], c.xhbx) << c.name;
        EXPECT_EQ(d.view.Visible[C::img_leftbtn_DSBX], c.dsbx) << c.name;
        EXPECT_EQ(d.view.Visible[C::img_leftbtn_XTSZ], c.xtsz) << c.name;
    }
    d.form.SelectNavButton("pnl_leftbtn_dsBX");
    EXPECT_EQ(d.view.Colors[C::pnl_leftbtn_dsbx], SetFrmLook::NavSelectedColor);
    EXPECT_EQ(d.view.Colors[C::pnl_leftbtn_xhbx], SetFrmLook::NavColor);
    // Each entry's click: no bar, its panel selected, its page.
    d.form.pnl_leftbtn_xtszMouseMove();
    EXPECT_TRUE(d.view.Visible[C::img_leftbtn_XTSZ]);
    d.form.img_leftbtn_XTSZClick();
    EXPECT_FALSE(d.view.Visible[C::img_leftbtn_XTSZ]);
    EXPECT_EQ(d.view.Page, TSetPage::tsxtsz);
    EXPECT_EQ(d.view.Colors[C::pnl_leftbtn_xtsz], SetFrmLook::NavSelectedColor);
    d.form.img_leftbtn_DSBXClick();
    EXPECT_EQ(d.view.Page, TSetPage::tsdsbx);
    d.form.pnl_leftbtn_xhbxMouseMove();
    d.form.pnl1MouseMove();
    EXPECT_FALSE(d.view.Visible[C::img_leftbtn_XHBX]);
}

TEST(SetFrmPickers, ChosenFileGoesIntoItsBox) {
    Dialog d;
    d.form.edt_BJTPButtonClick();  // cancelled
    EXPECT_EQ(d.view.Text(C::edt_BJTP), "");
    d.view.ChosenFile = G("/pics/新.bmp");
    d.form.edt_BJTPButtonClick();
    EXPECT_EQ(d.view.Text(C::edt_BJTP), G("/pics/新.bmp"));
    d.view.ChosenFile = "/movies/b.swf";
    d.form.img_XHBX_FlashClick();
    EXPECT_EQ(d.view.Text(C::edt_XHBX_Flash), "/movies/b.swf");
    ASSERT_EQ(d.view.Choices.size(), 3u);
    EXPECT_EQ(plat::GbkToUtf8(d.view.Choices[0].Title), "界面背景");
    EXPECT_EQ(d.view.Choices[0].Filter, "");  // every picture format
    EXPECT_EQ(plat::GbkToUtf8(d.view.Choices[2].Filter), "flash文件|*.swf");
}

// A refused start-at-login write ends the save there: its message comes with the question whether to
// leave without saving. 取消 keeps the dialog open with what was written before (the background is
// not written); 确定 closes it, and the dialog reports that it did not save.
TEST(SetFrmSave, FailingSaveAsksWhetherToLeave) {
    for (int answer : {plat::BoxCancel, plat::BoxOk}) {
        Dialog d;
        ScriptedBoxes boxes({answer});
        FakeRegistry registry;
        registry.refuseWrite = true;
        d.view.SetChecked(C::chk_KJQD, true);
        d.view.SetText(C::edt_BJTP, "/pics/a.bmp");
        d.form.img3Click();
        ASSERT_EQ(boxes.shown.size(), 1u);
        const std::string text = plat::GbkToUtf8(boxes.shown[0].Text);
        EXPECT_EQ(text, "Failed to set data for 'Tovik'\n\n" + std::string(TSetFrm::SaveFailedQuestion));
        EXPECT_EQ(boxes.shown[0].Kind, plat::TBoxKind::Question);
        EXPECT_EQ(d.view.Closed, answer == plat::BoxOk);
        EXPECT_FALSE(d.form.Saved);
        EXPECT_EQ(TTools::ReadIni("XTSZ", "NotFirstStart", "missing"), "1");
        EXPECT_EQ(TTools::ReadIni("XTSZ", "BJTP", "missing"), "missing");
    }
}
