#pragma once
// Windows' message numbers, translated into the events the behaviour handles, named for what the user
// or the system did.
#include <windows.h>

#include "app/uMainView.h"
#include "app/uWebBrowserManage.h"

namespace WinEvents {

// The command of a WM_SYSCOMMAND message (its first parameter; the low four bits are the system's own).
inline TSysCommand SysCommand(WPARAM command) {
    return (command & 0xFFF0) == SC_MINIMIZE ? TSysCommand::Minimize : TSysCommand::Other;
}

// The mouse message the tray icon's callback carries in its second parameter.
inline TTrayMouse TrayMouse(LPARAM mouseMessage) {
    return mouseMessage == WM_LBUTTONDOWN ? TTrayMouse::LeftDown : TTrayMouse::Other;
}

// A message aimed at the banner page's windows.
inline TBannerInput BannerInput(UINT message) {
    switch (message) {
        case WM_RBUTTONDOWN:
            return TBannerInput::RightDown;
        case WM_RBUTTONUP:
            return TBannerInput::RightUp;
        case WM_RBUTTONDBLCLK:
            return TBannerInput::RightDoubleClick;
        case WM_CONTEXTMENU:
            return TBannerInput::ContextMenu;
        default:
            return TBannerInput::Other;
    }
}

}  // namespace WinEvents
