// The box shown when no hook is installed: the system's own modal message box. Text and caption go
// through the ANSI code page, which on the systems this program is written for is GBK.
#include <windows.h>

#include "platform/Dialogs.h"

namespace plat {

int SystemMessageBox(const AnsiString& text, const AnsiString& caption, TBoxKind kind) {
    UINT style = MB_OK;
    if (kind == TBoxKind::Error) style = MB_OK | MB_ICONERROR;
    if (kind == TBoxKind::Question) style = MB_OKCANCEL | MB_ICONQUESTION;
    // On top: the program's windows stay on top of others, and a box beneath them could not be reached.
    const int pressed =
        ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL | MB_TOPMOST);
    return pressed == IDOK ? BoxOk : BoxCancel;
}

}  // namespace plat
