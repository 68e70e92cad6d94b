#pragma once
// Text at the Windows boundary. The model holds GBK bytes; the windows draw UTF-16, converted with code
// page 936 itself, so the texts read right whatever the system's ANSI code page is.
#include <string>

#include "platform/Types.h"

namespace WinText {

std::wstring Wide(const AnsiString& gbk);
// A UTF-8 literal of the sources as UTF-16, for fixed texts the window shows (menu items).
std::wstring WideFromUtf8(const char* utf8);

}  // namespace WinText
