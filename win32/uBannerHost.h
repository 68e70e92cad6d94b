#pragma once
// The banner strip's browser on Windows: the system's web browser control hosted in a child window
// of the main window over the given device rectangle of its client area; the page's view takes
// viewRect (design pixels relative to that rectangle) within it.
#include <windows.h>

#include <memory>

#include "app/uBannerBrowser.h"
#include "app/uViewTypes.h"

// Null when there is no browser to host (the banner strip then stays plain).
std::unique_ptr<IBannerBrowser> CreateBannerHost(HWND window, const RECT& deviceRect, const TRect& viewRect);
