#include "win32/uWinApp.h"

#include <exception>

#include "win32/uE2EDump.h"

namespace WinApp {
namespace {
std::function<void(const std::string&)> g_errorSink;
}

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

void SetErrorSink(std::function<void(const std::string&)> sink) {
    g_errorSink = std::move(sink);
}

void ShowErrorMessage(const std::string& gbkMessage) {
    E2EDump::Set("error", gbkMessage);
    if (g_errorSink) {
        g_errorSink(gbkMessage);
        return;
    }
    ::MessageBoxA(nullptr, gbkMessage.c_str(), Title, MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

bool RunStep(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (...) {
        ShowErrorMessage(CurrentExceptionMessage());
        return false;
    }
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
