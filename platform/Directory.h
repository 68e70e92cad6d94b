#pragma once
// Folder test and creation, with native paths (GBK on Windows, where the ANSI functions are used, so a
// folder with a Chinese name works whatever the C library's locale is).
#include <string>

namespace plat {

// Whether path names an existing folder.
bool IsDirectory(const std::string& path);
// Creates one folder level. Returns 0, or the errno-style code of the failure (ENOENT: the parent is
// missing, EEXIST: something else stands there, EACCES: not allowed, ...).
int CreateDirectoryOnce(const std::string& path);

}  // namespace plat
