#include "win32/uBoxWatch.h"

#include "platform/Dialogs.h"
#include "win32/uE2EDump.h"

namespace plat {
int SystemMessageBox(const AnsiString& text, const AnsiString& caption, TBoxKind kind);  // the system's box
}  // namespace plat

namespace E2EDump {

void WatchBoxes() {
    plat::SetMessageBoxHook([](const AnsiString& text, const AnsiString& caption, plat::TBoxKind kind) {
        Set("message", text);
        return plat::SystemMessageBox(text, caption, kind);
    });
}

}  // namespace E2EDump
