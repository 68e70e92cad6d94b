#include "platform/Memory.h"

#include <windows.h>

namespace plat {

void ReleaseIdleMemory() {
    // Trims the working set: pages are kept by the system and come back on their next use.
    SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

}  // namespace plat
