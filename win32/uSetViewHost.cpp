// The settings dialog's window on Windows: the Win32 dialog view (uSetFrmWin.h).
#include "win32/uSetViewHost.h"

#include "win32/uSetFrmWin.h"

std::unique_ptr<ISetView> CreateSetDialogView(TSetFrm& dialog, HWND owner) {
    return std::make_unique<TSetFrmWin>(dialog, owner);
}
