// The Windows program has no settings dialog yet: the command does nothing and nothing is reloaded.
#include "win32/uSetFormHost.h"

bool ShowSetForm(TXHBX, TTimerInfos*) {
    return false;
}
