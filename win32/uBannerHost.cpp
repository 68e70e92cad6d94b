// The Windows program does not host the browser control yet: the banner strip stays plain.
#include "win32/uBannerHost.h"

std::unique_ptr<IBannerBrowser> CreateBannerHost(HWND, const RECT&) {
    return nullptr;
}
