// The box shown when no hook is installed: the system's own modal message box. Text and caption go
// through the ANSI code page, which on the systems this program is written for is GBK.
#include <windows.h>

#include "platform/Types.h"  // not Dialogs.h: its button names are macros in windows.h

namespace plat {

int SystemMessageBox(const AnsiString& text, const AnsiString& caption, unsigned style) {
    // On top: the program's windows stay on top of others, and a box beneath them could not be reached.
    return ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), style | MB_TASKMODAL | MB_TOPMOST);
}

}  // namespace plat
