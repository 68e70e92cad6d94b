// File names on Windows go through the ANSI code page, which is GBK on the systems this program is
// written for: the settings file's path is used as it stands.
#include "platform/Files.h"

#include <windows.h>

#include "platform/FileBytes.h"

namespace plat {

bool IsFile(const AnsiString& gbkPath) {
    const DWORD attributes = ::GetFileAttributesA(gbkPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFileBytes(const AnsiString& gbkPath, std::string& bytes) {
    std::ifstream in(gbkPath, std::ios::binary);
    return detail::ReadStream(in, bytes);
}

}  // namespace plat
