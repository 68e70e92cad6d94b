// Windows' message numbers as the events the behaviour handles.
#include <gtest/gtest.h>

#include "win32/uWinEvents.h"

TEST(WinEvents, SystemCommandsIgnoreTheSystemsLowBits) {
    struct Case {
        WPARAM command;
        TSysCommand event;
    };
    for (const Case c :
         {Case{SC_MINIMIZE, TSysCommand::Minimize}, Case{SC_MINIMIZE | 0x2, TSysCommand::Minimize},
          Case{SC_CLOSE, TSysCommand::Other}, Case{SC_MAXIMIZE, TSysCommand::Other},
          Case{SC_RESTORE, TSysCommand::Other}, Case{SC_MOVE | 0x2, TSysCommand::Other}}) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(WinEvents::SysCommand(c.command), c.event);
    }
}

TEST(WinEvents, OnlyALeftPressOnTheTrayIconIsOne) {
    for (const LPARAM mouse : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        SCOPED_TRACE(mouse);
        EXPECT_EQ(WinEvents::TrayMouse(mouse), TTrayMouse::Other);
    }
    EXPECT_EQ(WinEvents::TrayMouse(WM_LBUTTONDOWN), TTrayMouse::LeftDown);
}

TEST(WinEvents, BannerInputByMessage) {
    struct Case {
        UINT message;
        TBannerInput input;
    };
    for (const Case c :
         {Case{WM_RBUTTONDOWN, TBannerInput::RightDown}, Case{WM_RBUTTONUP, TBannerInput::RightUp},
          Case{WM_RBUTTONDBLCLK, TBannerInput::RightDoubleClick},
          Case{WM_CONTEXTMENU, TBannerInput::ContextMenu}, Case{WM_LBUTTONDOWN, TBannerInput::Other},
          Case{WM_LBUTTONUP, TBannerInput::Other}, Case{WM_KEYDOWN, TBannerInput::Other}}) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(WinEvents::BannerInput(c.message), c.input);
    }
}
