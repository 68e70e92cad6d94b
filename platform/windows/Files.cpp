// File names on Windows go through the ANSI code page, which is GBK on the systems this program is
// written for: the settings file's path is used as it stands. Read with the system's own calls: a C++
// file stream would bring the C++ library's locale machinery into the exe (most of a megabyte).
#include "platform/Files.h"

#include <windows.h>

#include <string>
#include <utility>

namespace plat {

bool IsFile(const AnsiString& gbkPath) {
    const DWORD attributes = ::GetFileAttributesA(gbkPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFileBytes(const AnsiString& gbkPath, std::string& bytes) {
    HANDLE file = ::CreateFileA(gbkPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string data;
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0)
        data.append(chunk, got);
    ::CloseHandle(file);
    if (!ok) return false;
    bytes = std::move(data);
    return true;
}

}  // namespace plat
