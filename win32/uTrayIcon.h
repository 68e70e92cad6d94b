#pragma once
// The program's icon in the notification area. The record is NOTIFYICONDATAA in its first version
// (its size on the target: 88 bytes on 32-bit Windows, 104 on 64-bit), filled afresh before each add.
// When the shell restarts it sends the registered "TaskbarCreated" message; the icon is then added
// again if it was there.
#include <windows.h>
// windows.h first: the shell header builds on it.
#include <shellapi.h>

class TTrayIcon {
public:
    static constexpr UINT IconId = 1;
    static constexpr UINT CallbackMessage = WM_USER + 1000;          // 2024
    static constexpr UINT Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7

    // window: receives the callback message; icon: not owned.
    TTrayIcon(HWND window, HICON icon);
    // Adds the icon (the shell keeps one per window and number: a second add leaves one icon).
    void Add();
    void Remove();
    bool Present() const { return present_; }
    // The message number the shell sends when it has (re)started.
    static UINT TaskbarCreatedMessage();
    // Call on that message: puts the icon back if it was present.
    void ShellRestarted();

    // Fills the record as every add and delete uses it.
    NOTIFYICONDATAA Data() const;

private:
    HWND window_;
    HICON icon_;
    bool present_ = false;
};
