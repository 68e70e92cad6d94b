// Folders through the system's ANSI functions. std::filesystem would convert the path with the C
// library's locale, which is not the system code page, and it pulls every locale facet into the exe.
#include "platform/Directory.h"

#include <windows.h>

#include <cerrno>

namespace plat {

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CreateDirectoryOnce(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return 0;
    switch (::GetLastError()) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return EEXIST;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return EINVAL;
        case ERROR_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        default:
            return EIO;
    }
}

}  // namespace plat
