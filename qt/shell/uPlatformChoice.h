#pragma once
// Which Qt platform plugin the program asks for before its application object exists.
//
// The reminder window places itself at the bottom right of the screen and stays on top of other
// windows. A native Wayland client may do neither, so in a Wayland session that also offers XWayland
// the program runs as an X11 client instead. A platform the user has chosen (QT_QPA_PLATFORM) always wins.
#include <string>

struct TSessionEnv {
    const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
    const char* sessionType = nullptr;     // XDG_SESSION_TYPE
    const char* qpaPlatform = nullptr;     // QT_QPA_PLATFORM
    const char* x11Display = nullptr;      // DISPLAY
};

// The platform to force ("xcb"), or an empty string to leave Qt's own choice alone.
std::string ChooseQpaPlatform(const TSessionEnv& env);

// Reads the process environment and, when ChooseQpaPlatform says so, sets QT_QPA_PLATFORM.
// Must run before the application object is created.
void ApplyQpaPlatformChoice();
