// The box shown when no hook is installed. The core has no windows of its own on Linux (the GUI
// installs real boxes), so the question is answered with Cancel without showing anything.
#include "platform/Dialogs.h"

namespace plat {

int SystemMessageBox(const AnsiString&, const AnsiString&, TBoxKind) {
    return BoxCancel;
}

}  // namespace plat
