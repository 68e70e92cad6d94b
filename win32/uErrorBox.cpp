#include "win32/uErrorBox.h"

#include "app/uAppErrors.h"
#include "platform/Dialogs.h"
#include "win32/uE2EDump.h"

void InstallErrorBox() {
    SetErrorSink([](const std::string& gbkMessage) {
        E2EDump::Set("error", gbkMessage);
        plat::ShowMessageBox(gbkMessage, "Chimewick", plat::TBoxKind::Error);
    });
}
