#pragma once
// A Windows bitmap file held in memory, made into a bitmap the windows can draw.
#include <windows.h>

#include <string>

namespace DibFile {

// The bitmap of a .bmp file's bytes, or null when they are not a bitmap the system can draw (too short,
// a header or pixel data that does not fit in the file, an unknown format). The caller owns it.
HBITMAP Create(const std::string& fileBytes);

}  // namespace DibFile
