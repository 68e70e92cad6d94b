// The main window's behaviour against a recording view: start-up and its order, the settings copied
// into the scheduler, the texts, the slide step by step, the tray round trip, the settings command,
// the background picture, the drag and the banner's download count. No display is needed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FakeViews.h"
#include "app/uAppErrors.h"
#include "app/uMainForm.h"
#include "app/uWebBrowserManage.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "settings/uControlObj.h"
#include "settings/uSysUtils.h"
#include "settings/uToolsObj.h"
#include "support/FakeClock.h"
#include "support/ScriptedBoxes.h"
#include "support/TempProgramDir.h"
#include "support/TestHost.h"

namespace {

const std::string kQuietStart = "[XTSZ]\r\nNotFirstStart=1\r\n";

TDateTime At(int hour, int minute, int second, int ms = 0) {
    return SysUtils::EncodeDate(2026, 12, 9) + SysUtils::EncodeTime(hour, minute, second, ms);
}

// One program run: its own folder and settings file, a fixed clock, recorded error messages, and the
// behaviour started against a recording view.
struct Program {
    explicit Program(const std::string& iniBytes = kQuietStart, bool start = true) : clock(At(11, 59, 57)) {
        if (!iniBytes.empty()) dir.WriteIni(iniBytes);
        SetErrorSink([this](const std::string& message) { errors.push_back(plat::GbkToUtf8(message)); });
        if (start) form.FormCreate(view);
    }
    ~Program() {
        form.FormDestroy();
        SetErrorSink({});
    }
    std::string Caption(TMainText text) { return view.Captions[text]; }

    TempProgramDir dir;
    FakeClock clock;
    ScriptedBoxes boxes;
    std::vector<std::string> errors;  // UTF-8
    FakeMainView view;
    TMainFrm form;
};

// The window's place after a slide on a 1024 x 768 screen: 2 from the right, 36 above the bottom.
const TRect kFinal{1024 - 2 - 442, 768 - 36 - 259, 442, 259};

}  // namespace

TEST(MainFormStart, StepsInOrderAndOnlyTheDateLineFilled) {
    Program p;
    const std::vector<std::string> expected = {
        "start hide 1",
        "caption 0 ",
        "caption 1 ",
        "caption 2 ",
        "caption 3 ",
        "color 62650",
        "caption 2 2026年12月09日 星期三",
        "start check 1002",
    };
    EXPECT_EQ(p.view.Win.Log, expected);
    EXPECT_EQ(p.Caption(TMainText::ReminderText), "");
    EXPECT_EQ(p.Caption(TMainText::Clock), "");
    // The first banner page is asked for while the window is still hidden.
    EXPECT_EQ(p.view.Browser->Urls, std::vector<std::string>{TWBManage::DefaultPage()});
    EXPECT_EQ(p.form.DownloadCount, 0);
    EXPECT_TRUE(p.errors.empty());
    EXPECT_TRUE(p.boxes.shown.empty());
}

// Without a settings file: the start-at-login question comes first, then the dialog, and the clock
// starts only after the dialog has closed (the hide timer runs all along).
TEST(MainFormStart, FirstStartAsksThenOpensTheDialogBeforeTheClock) {
    Program p("", false);
    bool checkedDuringDialog = false;
    p.view.WhileDialogShown = [&](FakeSetView& dialog) {
        EXPECT_EQ(p.boxes.shown.size(), 1u);  // the question came before
        EXPECT_TRUE(p.view.Running(TMainTimer::Hide));
        EXPECT_FALSE(p.view.Running(TMainTimer::CheckWarn));
        dialog.Form.img3Click();
        checkedDuringDialog = true;
    };
    p.form.FormCreate(p.view);
    EXPECT_TRUE(checkedDuringDialog);
    EXPECT_TRUE(p.view.Running(TMainTimer::CheckWarn));
    EXPECT_EQ(p.view.Lines("dialog").size(), 1u);
    EXPECT_FALSE(AppControl->FirstStart);  // reloaded after the dialog saved
    EXPECT_TRUE(p.errors.empty());
}

// A malformed value: its message is shown, the bad key takes its default, the rest is as stored, and
// start-up completes with the file left alone.
TEST(MainFormStart, MalformedSettingIsShownAndStartGoesOn) {
    const std::string ini = kQuietStart + "[XHBX]\nstartXHBJ=1\nxhzq=abc\nstartDSBJ=1\nOnTime=12:30\n";
    Program p(ini);
    EXPECT_EQ(p.errors, std::vector<std::string>{"'abc' is not a valid integer value"});
    EXPECT_EQ(p.form.TimerObj->Circle_Time, 7200.0);
    EXPECT_EQ(p.form.TimerObj->OnTime_Time, 12.5 / 24);
    EXPECT_TRUE(p.view.Running(TMainTimer::CheckWarn));
    EXPECT_EQ(p.dir.ReadIni(), ini);
}

struct ApplyCase {
    const char* name;
    const char* xhbx;
    double circle, onTime, onTime2, onTime3;
};

class MainFormApply : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(MainFormApply, CopiesTheConfigurationIntoTheScheduler) {
    const ApplyCase& c = GetParam();
    Program p(kQuietStart + "[XHBX]\n" + c.xhbx + "OnTimeTxnr=a\nOnTimeTxnr2=b\nOnTimeTxnr3=c\ntxnr=d\n");
    const TTimerObj& t = *p.form.TimerObj;
    EXPECT_EQ(t.Circle_Time, c.circle);
    EXPECT_EQ(t.OnTime_Time, c.onTime);
    EXPECT_EQ(t.OnTime2_Time, c.onTime2);
    EXPECT_EQ(t.OnTime3_Time, c.onTime3);
    EXPECT_EQ(t.OnTime_Content + t.OnTime2_Content + t.OnTime3_Content + t.WarnForm_Content, "abcd");
    EXPECT_TRUE(p.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainFormApply,
    ::testing::Values(
        ApplyCase{"CyclicOffIgnoresThePeriod", "startXHBJ=0\nxhzq=120\n", 0, -1, -1, -1},
        ApplyCase{"Cyclic120Minutes", "startXHBJ=1\nxhzq=120\n", 7200, -1, -1, -1},
        // 40000000 * 60 does not fit 32 bits and wraps round.
        ApplyCase{"ProductWrapsIn32Bits", "startXHBJ=1\nxhzq=40000000\n", -1894967296.0, -1, -1, -1},
        ApplyCase{"SlotsOnTakeTheirTimes",
                  "startDSBJ=1\nOnTime=7\nstartDSBJ2=1\nOnTime2=12:00\nstartDSBJ3=1\nOnTime3=18:30\n", 0,
                  7.0 / 24, 0.5, 18.5 / 24},
        ApplyCase{"SwitchedOffSlotIsMinusOne", "startDSBJ=0\nOnTime=08:00\nstartDSBJ2=1\nstartDSBJ3=01\n", 0,
                  -1, 17.0 / 24, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainFormTexts, ReminderTextIsTrimmedAndTheTimeAnnounced) {
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {{" \t喝水 啦\r\n", "喝水 啦"}, {"   ", ""}, {"", ""}};
    Program p;
    p.clock.Set(2026, 12, 9, 9, 5, 7);
    for (const Case& c : cases) {
        p.form.ShowWarnText(plat::Utf8ToGbk(c.text));
        EXPECT_EQ(p.Caption(TMainText::ReminderText), c.shown) << c.text;
        EXPECT_EQ(p.Caption(TMainText::AnnouncedAt), "播报时间：09:05:07");
    }
}

// A tick writes the clock; a fixed-time reminder due in it brings the window up with its text.
TEST(MainFormTick, ClockThenReminderThenSlide) {
    Program p(kQuietStart + "[XHBX]\nstartDSBJ=1\nOnTime=12:00\nOnTimeTxnr=  Lunch  \n");
    p.form.TimerCheckWarnTimer();
    EXPECT_EQ(p.Caption(TMainText::Clock), "11:59:57");
    EXPECT_EQ(p.view.State, TWindowState::Hidden);
    p.clock.Set(At(12, 0, 0, 400));
    p.form.TimerCheckWarnTimer();
    EXPECT_EQ(p.Caption(TMainText::Clock), "12:00:00");
    EXPECT_EQ(p.Caption(TMainText::ReminderText), "Lunch");
    EXPECT_EQ(p.Caption(TMainText::AnnouncedAt), "播报时间：12:00:00");
    EXPECT_EQ(p.view.State, TWindowState::Shown);
    EXPECT_EQ(p.view.Win.Place, kFinal);
    // The next tick is aimed at the next second's start, keeping within 50 ms of a second's pace.
    EXPECT_EQ(p.view.Timers[TMainTimer::CheckWarn], 950);
}

// The interval to the next tick: just after the next second begins; once running, within 50 ms of a
// one-second pace so that a clock that jumps is followed over a few ticks.
TEST(MainFormTick, NextTickJustAfterTheSecond) {
    struct Case {
        int ms;
        bool keepPace;
        int wait;
    } cases[] = {{0, false, 1002}, {700, false, 302}, {999, false, 3},  {2, true, 1000},   {0, true, 1002},
                 {30, true, 972},  {100, true, 950},  {450, true, 950}, {600, true, 1050}, {990, true, 1012}};
    for (const Case& c : cases)
        EXPECT_EQ(TMainFrm::MsToNextSecond(At(11, 59, 58, c.ms), c.keepPace), c.wait) << c.ms;
    // From any phase the ticks reach the start of the second within a few seconds and stay there.
    int ms = 500;
    for (int tick = 0; tick < 12; ++tick)
        ms = (ms + TMainFrm::MsToNextSecond(At(11, 59, 58, ms), true)) % 1000;
    EXPECT_EQ(ms, 2);
}

TEST(MainFormSlide, StepByStepFromTheBottomRight) {
    Program p;
    p.view.Win.Place = {10, 10, 442, 259};  // dragged somewhere
    p.view.Win.Log.clear();
    p.form.ShowForm();
    const std::vector<std::string> places = p.view.Lines("place ");
    ASSERT_EQ(places.size(), 1u + 83u + 1u);
    EXPECT_EQ(places.front(), "place 580,722 442x16");  // 46 above the bottom, 16 high
    EXPECT_EQ(places[1], "place 580,719 442x19");       // three pixels a step, the bottom edge stays
    EXPECT_EQ(places[83], "place 580,473 442x265");     // the last step overshoots by 6
    EXPECT_EQ(places.back(), "place 580,473 442x259");  // then the height is set, the top stays
    EXPECT_EQ(p.view.Pumps, 83);
    // Shown right after the first place, before any step.
    const auto& log = p.view.Win.Log;
    const auto first = std::find(log.begin(), log.end(), places.front());
    ASSERT_NE(first, log.end());
    EXPECT_EQ(*(first + 1), "show");
    EXPECT_EQ(p.form.PopupHeight, 0);
    EXPECT_EQ(p.Caption(TMainText::DateLine), "2026年12月09日 星期三");
    // The banner goes blank first and shows the next page once the window is up.
    const auto& urls = p.view.Browser->Urls;
    ASSERT_GE(urls.size(), 2u);
    EXPECT_EQ(urls[urls.size() - 2], "about:blank");
    EXPECT_EQ(urls.back(), TWBManage::DefaultPage());
}

TEST(MainFormSlide, SlideStartedInsideASlideEndsInPlaceWithTheNewestText) {
    Program p;
    bool insideSlide = false;
    p.view.OnPump = [&] {
        insideSlide = p.form.PopupHeight != 0 && p.view.Win.Place.Height < 259;
        p.form.ShowWarnText("second");
        p.form.ShowForm();
    };
    p.form.ShowWarnText("first");
    p.form.ShowForm();
    EXPECT_TRUE(insideSlide);
    EXPECT_EQ(p.view.Win.Place, kFinal);
    EXPECT_EQ(p.form.PopupHeight, 0);
    EXPECT_EQ(p.Caption(TMainText::ReminderText), "second");
}

TEST(MainFormSlide, ScreenWithAnOffset) {
    Program p;
    p.view.Win.Screen = {1920, 0, 1280, 1024};
    p.form.ShowForm();
    EXPECT_EQ(p.view.Win.Place, (TRect{1920 + 1280 - 2 - 442, 1024 - 36 - 259, 442, 259}));
}

// Start: the hide timer minimises once into the tray. A left press on the icon brings the window up
// and takes the icon away once it is up; other mouse messages do nothing.
TEST(MainFormTray, RoundTrip) {
    Program p;
    p.view.Win.Log.clear();
    p.form.TimerHideTimer();
    EXPECT_EQ(p.view.Win.Log, (std::vector<std::string>{"stop hide", "tray add", "hide"}));
    EXPECT_TRUE(p.view.TrayIcon);
    p.form.TrayIconMessage(TTrayMouse::Other);
    EXPECT_EQ(p.view.State, TWindowState::Hidden);
    p.form.TrayIconMessage(TTrayMouse::LeftDown);
    EXPECT_EQ(p.view.State, TWindowState::ShownActive);  // the user asked for it
    EXPECT_EQ(p.view.Win.Place, kFinal);
    EXPECT_EQ(p.view.Win.Log.back(), "tray remove");
    EXPECT_FALSE(p.view.TrayIcon);
    // The minimise picture goes back to the tray; other system commands are left to the system.
    p.form.img2Click();
    EXPECT_EQ(p.view.State, TWindowState::Hidden);
    EXPECT_TRUE(p.view.TrayIcon);
    const size_t before = p.view.Win.Log.size();
    EXPECT_FALSE(p.form.WMSysCommand(TSysCommand::Other));
    EXPECT_EQ(p.view.Win.Log.size(), before);
    EXPECT_TRUE(p.form.WMSysCommand(TSysCommand::Minimize));
    p.form.img3Click();
    EXPECT_EQ(p.view.Win.Log.back(), "close window");
}

// Without a notification area the window is minimised with a taskbar entry instead of hidden where
// nobody could reach it.
TEST(MainFormTray, NoTrayMinimisesInstead) {
    Program p;
    p.view.Tray = false;
    p.form.TimerHideTimer();
    EXPECT_EQ(p.view.State, TWindowState::Minimized);
    EXPECT_FALSE(p.view.TrayIcon);
}

// The settings command: what the dialog wrote is read back and put into force, and the cyclic period
// restarts from the moment the dialog closed.
TEST(MainFormSettings, CommandSavesReloadsAndApplies) {
    Program p(kQuietStart + "[XHBX]\nstartXHBJ=0\n");
    EXPECT_EQ(p.form.TimerObj->Circle_Time, 0.0);
    const TDateTime closedAt = At(14, 0, 0);
    p.view.WhileDialogShown = [&](FakeSetView& dialog) {
        EXPECT_EQ(dialog.Page, TSetPage::tsxhbx);  // opens on the reminder page
        // Centred on the screen.
        EXPECT_EQ(dialog.Win.Place, (TRect{(1024 - 703) / 2, (768 - 341) / 2, 703, 341}));
        dialog.SetChecked(TSetControl::chk_startxhbx, true);
        dialog.SetText(TSetControl::edt_XHBX_XHZQ, "5");
        dialog.SetChecked(TSetControl::cbDsbj3, true);
        dialog.SetText(TSetControl::edt_OnTime3, "06:15");
        p.clock.Set(closedAt);
        dialog.Form.img3Click();
        EXPECT_TRUE(dialog.Closed);
    };
    p.form.img_setClick();
    EXPECT_EQ(p.form.TimerObj->Circle_Time, 300.0);
    EXPECT_EQ(p.form.TimerObj->OnTime3_Time, 6.25 / 24);
    EXPECT_EQ(p.form.TimerObj->LastCircle, closedAt);
    EXPECT_TRUE(p.errors.empty());
}

// Two monitors, the primary on the right: the dialog opens centred on the monitor that holds the main
// window, and on the primary while the window waits in the tray.
TEST(MainFormSettings, DialogOnTheMainWindowsMonitor) {
    const TRect left{-1280, 0, 1280, 1024}, primary{0, 0, 1024, 768};
    auto centredOn = [](const TRect& m) {
        return TRect{m.Left + (m.Width - 703) / 2, m.Top + (m.Height - 341) / 2, 703, 341};
    };
    struct Case {
        const char* where;
        bool shown;
        TPoint windowAt;
        TRect monitor;
    } cases[] = {
        {"in the tray", false, {}, primary},
        {"shown at the bottom right", true, {}, primary},
        {"dragged onto the left monitor", true, {-900, 300}, left},
        {"mostly on the left monitor", true, {-300, 300}, left},
        {"in the tray after a drag to the left", false, {-900, 300}, primary},
    };
    for (const Case& c : cases) {
        Program p;
        p.view.Monitors = {left, primary};
        p.form.TimerHideTimer();
        if (c.shown || c.windowAt.X != 0) {
            p.form.TrayIconClick();
            if (c.windowAt.X != 0) p.view.PlaceWindow({c.windowAt.X, c.windowAt.Y, 442, 259});
            if (!c.shown) p.form.img2Click();
        }
        TRect placed;
        p.view.WhileDialogShown = [&](FakeSetView& dialog) {
            placed = dialog.Win.Place;
            dialog.Form.img3Click();
        };
        p.form.img_setClick();
        EXPECT_EQ(placed, centredOn(c.monitor)) << c.where;
    }
}

// A reminder brings the window up without making it the active window; a tray press makes it active.
TEST(MainFormTray, OnlyTheUserActivates) {
    Program p(kQuietStart + "[XHBX]\nstartDSBJ=1\nOnTime=12:00\nOnTimeTxnr=Lunch\n");
    p.form.TimerHideTimer();
    p.clock.Set(At(12, 0, 0, 400));
    p.form.TimerCheckWarnTimer();
    EXPECT_EQ(p.view.Lines("show"), (std::vector<std::string>{"show"}));
    p.form.TrayIconClick();
    EXPECT_EQ(p.view.Lines("show"), (std::vector<std::string>{"show", "show active"}));
}

// A save that cannot succeed (here the settings file is a folder) on the first start: the message and
// the question come, 取消 returns to the dialog, 确定 leaves it without saving. Start-up then goes on
// once, with the defaults in force, and asks again only at the next start.
TEST(MainFormSettings, FailedSaveOnFirstStartLetsTheUserLeave) {
    Program p("", false);
    std::filesystem::create_directories(p.dir.IniFile());
    ScriptedBoxes answers({plat::BoxCancel /* start at login */, plat::BoxCancel, plat::BoxOk});
    int presses = 0;
    p.view.WhileDialogShown = [&](FakeSetView& dialog) {
        dialog.SetChecked(TSetControl::chk_startxhbx, true);
        for (; !dialog.Closed && presses < 5; ++presses) dialog.Form.img3Click();
    };
    p.form.FormCreate(p.view);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(p.view.Lines("dialog").size(), 1u);  // shown once: no loop
    ASSERT_EQ(answers.shown.size(), 3u);
    for (std::size_t i : {1u, 2u}) {
        const std::string text = plat::GbkToUtf8(answers.shown[i].Text);
        EXPECT_EQ(text.rfind("Unable to write to " + p.dir.IniFile().string(), 0), 0u) << text;
        EXPECT_NE(text.find("确定：关闭"), std::string::npos) << text;
        EXPECT_EQ(plat::GbkToUtf8(answers.shown[i].Caption), "系统提示");
        EXPECT_EQ(answers.shown[i].Kind, plat::TBoxKind::Question);
    }
    EXPECT_TRUE(p.view.Running(TMainTimer::CheckWarn));
    EXPECT_TRUE(AppControl->FirstStart);
    EXPECT_EQ(p.form.TimerObj->Circle_Time, 0.0);  // the box's tick was not put into force
    EXPECT_TRUE(std::filesystem::is_empty(p.dir.IniFile()));
    EXPECT_TRUE(p.errors.empty());
}

// Leaving without saving keeps the settings in force: nothing is reloaded, the period does not restart.
TEST(MainFormSettings, LeavingWithoutSavingKeepsTheSettingsInForce) {
    Program p(kQuietStart + "[XHBX]\r\nstartXHBJ=1\r\nxhzq=10\r\n");
    const TDateTime lastCircle = p.form.TimerObj->LastCircle;
    // The read-only attribute: never replaced, also by a user who could.
    std::filesystem::permissions(p.dir.IniFile(), std::filesystem::perms::owner_read);
    ScriptedBoxes answers({plat::BoxOk});
    p.view.WhileDialogShown = [&](FakeSetView& dialog) {
        dialog.SetText(TSetControl::edt_XHBX_XHZQ, "5");
        p.clock.Set(At(14, 0, 0));
        dialog.Form.img3Click();
        EXPECT_TRUE(dialog.Closed);
    };
    p.form.img_setClick();
    std::filesystem::permissions(p.dir.IniFile(), std::filesystem::perms::owner_all);
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_EQ(p.form.TimerObj->Circle_Time, 600.0);
    EXPECT_EQ(p.form.TimerObj->LastCircle, lastCircle);
    EXPECT_EQ(TTools::ReadIni("XHBX", "xhzq", ""), "10");
}

// A malformed value in the file after the dialog: the command stops, the scheduler keeps its settings.
TEST(MainFormSettings, ReloadFailureKeepsTheScheduler) {
    Program p(kQuietStart + "[XHBX]\nstartXHBJ=1\nxhzq=10\n");
    const TDateTime lastCircle = p.form.TimerObj->LastCircle;
    p.view.WhileDialogShown = [&](FakeSetView& dialog) {
        dialog.Form.img3Click();
        TTools::WriteIni("XHBX", "xhzq", "zz");
    };
    EXPECT_THROW(p.form.img_setClick(), EConvertError);
    EXPECT_EQ(p.form.TimerObj->Circle_Time, 600.0);
    EXPECT_EQ(p.form.TimerObj->LastCircle, lastCircle);
}

// The background: a bitmap is handed to the window; a file that is no bitmap, or one the window cannot
// draw, is an error naming the file; a missing file is no error and keeps the picture shown so far.
TEST(MainFormBackground, BitmapsOnly) {
    // The test names its file in UTF-8; a Windows program reads the setting's path in the ANSI code page.
    if (testhost::UnderWine()) GTEST_SKIP() << "the fixture's file name is UTF-8, not the ANSI code page";
    struct Case {
        const char* bytes;  // null: no file
        bool drawable;
        const char* error;  // empty: none
    } cases[] = {{"BM\x36\x00", true, ""},
                 {"\x89PNG\r\n", true, "is not a Windows bitmap"},
                 {"BMjunk", false, "is not a valid Windows bitmap"},
                 {nullptr, true, ""}};
    for (const Case& c : cases) {
        TempProgramDir pictures;
        const std::filesystem::path folder = pictures.Root() / "背景";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "图.bmp").string();
        if (c.bytes) std::ofstream(file, std::ios::binary) << c.bytes;
        Program p(kQuietStart + "BJTP=" + plat::Utf8ToGbk(file) + "\n", false);
        p.view.DrawsBitmaps = c.drawable;
        p.form.FormCreate(p.view);
        if (*c.error) {
            ASSERT_EQ(p.errors.size(), 1u) << c.error;
            EXPECT_NE(p.errors[0].find(c.error), std::string::npos) << p.errors[0];
            EXPECT_NE(p.errors[0].find("图.bmp"), std::string::npos);
        } else {
            EXPECT_TRUE(p.errors.empty()) << p.errors[0];
        }
        EXPECT_EQ(p.view.Lines("background").size(), c.bytes && c.bytes[0] == 'B' ? 1u : 0u);
    }
}

// The strip's mouse events move the window by the pointer's travel; idle moves do nothing.
TEST(MainFormDrag, FollowsThePointer) {
    Program p;
    p.view.Win.Place = {100, 100, 442, 259};
    p.form.img1MouseMove(50, 50);  // idle: nothing
    EXPECT_EQ(p.view.Win.Place.Left, 100);
    p.form.img1MouseDown(10, 5);
    EXPECT_TRUE(p.form.FormMove.IsMoving);
    EXPECT_EQ(p.form.FormMove.LastPoint, (TPoint{110, 105}));
    p.view.Win.Log.clear();
    p.form.img1MouseMove(30, 12);  // the pointer travelled (20, 7): left first, then top
    EXPECT_EQ(p.view.Win.Log, (std::vector<std::string>{"place 120,100 442x259", "place 120,107 442x259"}));
    p.form.img1MouseMove(10, 5);  // the window followed: same screen point, no move
    EXPECT_EQ(p.view.Win.Place, (TRect{120, 107, 442, 259}));
    p.form.img1MouseMove(-40, -25);
    EXPECT_EQ(p.view.Win.Place, (TRect{70, 77, 442, 259}));
    p.form.img1MouseUp();
    EXPECT_FALSE(p.form.FormMove.IsMoving);
    p.form.img1MouseMove(0, 0);
    EXPECT_EQ(p.view.Win.Place, (TRect{70, 77, 442, 259}));
}

// The left button captures the pointer, so the window follows it off the strip too; any other button
// moves it only while the pointer is over the strip. An empty strip sets no limit.
TEST(MainFormDrag, OffTheStripOnlyWhenCaptured) {
    const TRect strip{0, 0, 383, 22};
    const struct {
        const char* what;
        TMouseButton button;
        TRect strip;
        bool follows;
    } cases[] = {
        {"left", TMouseButton::Left, strip, true},
        {"right", TMouseButton::Right, strip, false},
        {"middle", TMouseButton::Middle, strip, false},
        {"right, no strip given", TMouseButton::Right, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Program p;
        p.view.Win.Place = {100, 100, 442, 259};
        p.form.img1MouseDown(40, 10, c.button, c.strip);
        p.form.img1MouseMove(50, 12);  // along the strip: every button drags
        EXPECT_EQ(p.view.Win.Place, (TRect{110, 102, 442, 259}));
        // Off the strip: below it, then left of the window, then its far edge (one past the strip).
        for (TPoint off : {TPoint{60, 80}, TPoint{-30, 10}, TPoint{383, 10}})
            p.form.img1MouseMove(off.X, off.Y);
        EXPECT_EQ(p.view.Win.Place != (TRect{110, 102, 442, 259}), c.follows);
        p.form.img1MouseUp();
        EXPECT_FALSE(p.form.FormMove.IsMoving);
    }
}

// The first two download completions after start do nothing; every later one styles the page again.
TEST(MainFormBanner, DownloadCountRule) {
    Program p;
    auto& browser = *p.view.Browser;
    browser.OnDownloadComplete();
    browser.OnDownloadComplete();
    EXPECT_TRUE(browser.Steps.empty());
    browser.OnDownloadComplete();
    EXPECT_EQ(browser.Steps, std::vector<std::string>{"STYLE"});
    browser.Answer = {TDocumentSteps::NoBody, {}};
    EXPECT_THROW(browser.OnDownloadComplete(), Exception);
    EXPECT_EQ(p.form.DownloadCount, 4);
}
