// The running executable's path on Windows, as the system reports the module's file name.
#include "platform/ExePath.h"

#include <windows.h>

#include <string>
#include <vector>

namespace plat {

std::string SystemExecutablePath() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        DWORD n = ::GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return std::string();
        // A full buffer means the name may have been cut; try again with more room.
        if (n < buf.size() && ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return std::string(buf.data(), n);
        if (buf.size() >= 32768) return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

char PathSeparator() {
    return '\\';
}

}  // namespace plat
