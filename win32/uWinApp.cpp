#include "win32/uWinApp.h"

namespace WinApp {

HINSTANCE Instance() {
    return ::GetModuleHandleA(nullptr);
}

int Dpi() {
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int Scale(int designPixels) {
    return ::MulDiv(designPixels, Dpi(), 96);
}

int Unscale(int devicePixels) {
    return ::MulDiv(devicePixels, 96, Dpi());
}

bool ProcessMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop ends the program
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

int Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace WinApp
