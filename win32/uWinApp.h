#pragma once
// The Win32 application: the module handle, the system's DPI and the message loop. (The one error
// handler is the core's, app/uAppErrors.h: every window procedure runs inside it.)
#include <windows.h>

namespace WinApp {

// The title the task list shows and the tray icon's tip.
inline constexpr const char* Title = "Chimewick";

HINSTANCE Instance();

// Pixels per inch of the screen (96 unless the system is set larger); design sizes scale by it.
int Dpi();
// A length in 96-dpi design pixels as device pixels, and back (rounded to the nearest pixel).
int Scale(int designPixels);
int Unscale(int devicePixels);

// Handles every message that is waiting, then returns (the slide-up pumps this between its steps).
// Returns false when the program has been asked to quit; the quit request is kept for the main loop.
bool ProcessMessages();
// Runs the message loop until WM_QUIT; returns its exit code.
int Run();

}  // namespace WinApp
