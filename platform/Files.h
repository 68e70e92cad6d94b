#pragma once
// Reading a file named by a path as the settings file stores it (GBK); each system turns it into its
// own file name.
#include <string>

#include "platform/Types.h"

namespace plat {

// True when the path names an existing regular file (or a link to one).
bool IsFile(const AnsiString& gbkPath);
// Reads the whole file into bytes; false when it cannot be opened or read.
bool ReadFileBytes(const AnsiString& gbkPath, std::string& bytes);

}  // namespace plat
