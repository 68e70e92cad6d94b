#pragma once
// The Win32 application: the module handle, the system's DPI, the program's one error handler and the
// message loop. An exception that leaves any message handler is shown in a message box and the
// program carries on (timers keep ticking), the way the Qt program's application object does it.
#include <windows.h>

#include <functional>
#include <string>

namespace WinApp {

// The title the task list shows, and the caption of the program's error boxes.
inline constexpr const char* Title = "Chimewick";

HINSTANCE Instance();

// Pixels per inch of the screen (96 unless the system is set larger); design sizes scale by it.
int Dpi();
// A length in 96-dpi design pixels as device pixels.
int Scale(int designPixels);

// Shows an error message (GBK) in the program's error box.
void ShowErrorMessage(const std::string& gbkMessage);
// The message of the exception in flight (GBK); for use inside a catch block.
std::string CurrentExceptionMessage();
// Runs one step; an exception it raises is shown and swallowed. True when the step finished.
bool RunStep(const std::function<void()>& step);
// Replaces how error messages are shown (tests record them); an empty function restores the box.
void SetErrorSink(std::function<void(const std::string& gbkMessage)> sink);

// Handles every message that is waiting, then returns (the slide-up pumps this between its steps).
// Returns false when the program has been asked to quit; the quit request is kept for the main loop.
bool ProcessMessages();
// Runs the message loop until WM_QUIT; returns its exit code.
int Run();

}  // namespace WinApp
