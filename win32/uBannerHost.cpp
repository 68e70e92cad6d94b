// The banner strip's browser: the system's web browser control (uWebBrowserHost), its view showing
// the page from (16, 16) onwards, 586 x 139 design pixels. The program's error handler runs the
// behaviour's handlers of the control's events, so an error raised in them is shown as anywhere else.
#include "win32/uBannerHost.h"

#include "app/uAppErrors.h"
#include "win32/uWebBrowserHost.h"
#include "win32/uWinApp.h"

std::unique_ptr<IBannerBrowser> CreateBannerHost(HWND window, const RECT& deviceRect, const TRect& viewRect) {
    const int left = WinApp::Scale(viewRect.Left);
    const int top = WinApp::Scale(viewRect.Top);
    const RECT view{left, top, left + WinApp::Scale(viewRect.Width), top + WinApp::Scale(viewRect.Height)};
    std::unique_ptr<TWebBrowserHost> host = TWebBrowserHost::Create(window, deviceRect, view);
    if (host) host->RunHandler = RunStep;
    return host;
}
