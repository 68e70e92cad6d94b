#include "win32/uTrayIcon.h"

#include <cstring>

#include "win32/uWinApp.h"

static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88), "first-version tray record size");

TTrayIcon::TTrayIcon(HWND window, HICON icon) : window_(window), icon_(icon) {}

NOTIFYICONDATAA TTrayIcon::Data() const {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = IconId;
    data.uFlags = Flags;
    data.uCallbackMessage = CallbackMessage;
    data.hIcon = icon_;
    // The tip is the application title, zero-padded to the member's 64 bytes.
    char tip[64] = {};
    std::strncpy(tip, WinApp::Title, sizeof tip - 1);
    std::memcpy(data.szTip, tip, sizeof tip);
    return data;
}

void TTrayIcon::Add() {
    NOTIFYICONDATAA data = Data();
    // The result is not examined: the shell refuses a second add of the same icon, so one icon stays,
    // and a shell that is not there yet announces itself with TaskbarCreated.
    ::Shell_NotifyIconA(NIM_ADD, &data);
    present_ = true;
}

void TTrayIcon::Remove() {
    NOTIFYICONDATAA data = Data();
    ::Shell_NotifyIconA(NIM_DELETE, &data);
    present_ = false;
}

UINT TTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void TTrayIcon::ShellRestarted() {
    if (!present_) return;
    NOTIFYICONDATAA data = Data();
    ::Shell_NotifyIconA(NIM_ADD, &data);
}
