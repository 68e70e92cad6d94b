// The tray record every add and delete uses: the first version of NOTIFYICONDATAA, sized for the
// target, with the icon number, flags, callback message and tip the shell is given.
#include <gtest/gtest.h>

#include <cstring>

#include "win32/uTrayIcon.h"

TEST(TrayIcon, RecordIsTheFirstVersionForThisTarget) {
    const TTrayIcon icon(reinterpret_cast<HWND>(0x1234), reinterpret_cast<HICON>(0x5678));
    const NOTIFYICONDATAA data = icon.Data();
    EXPECT_EQ(data.cbSize, sizeof(void*) == 8 ? 104u : 88u);
    EXPECT_EQ(data.hWnd, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 2024u);
    EXPECT_EQ(data.hIcon, reinterpret_cast<HICON>(0x5678));
    // The tip and zeros to the end of its 64 bytes.
    char tip[64] = "Chimewick";
    EXPECT_EQ(std::memcmp(data.szTip, tip, sizeof tip), 0);
}
