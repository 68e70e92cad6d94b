// Program entry of the Windows program: one copy per program folder, the common controls, the error
// boxes, and the main window, which starts hidden in the tray.
#include <windows.h>
// windows.h first: the common controls header builds on it.
#include <commctrl.h>

#include "app/uMainForm.h"
#include "platform/SingleInstance.h"
#include "settings/uToolsObj.h"
#include "win32/uBoxWatch.h"
#include "win32/uErrorBox.h"
#include "win32/uMainFrmWin.h"
#include "win32/uWinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    plat::SingleInstance instance(TTools::GetAppPath());
    if (instance.TryClaim() == plat::SingleInstance::Claim::AlreadyRuns)
        // A later start brings the running copy's window up, the way a click on its tray icon does.
        return instance.AskRunningCopyToShow(5000) ? 0 : 1;

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&controls);
    InstallErrorBox();
    E2EDump::WatchBoxes();

    int result = 0;
    {
        TMainFrm form;
        TMainFrmWin view(form, [&instance](HWND window) {
            instance.PublishWindow(reinterpret_cast<std::uintptr_t>(window));
        });
        form.FormCreate(view);
        view.StartupFinished();
        result = WinApp::Run();
        form.FormDestroy();  // the window ran it when it was destroyed; once is enough
    }
    return result;
}
