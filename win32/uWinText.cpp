#include "win32/uWinText.h"

#include <windows.h>

namespace WinText {
namespace {
std::wstring Convert(UINT codePage, const char* text, int length) {
    if (length <= 0) return std::wstring();
    const int n = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, length, wide.data(), n);
    return wide;
}
}  // namespace

std::wstring Wide(const AnsiString& gbk) {
    return Convert(936, gbk.data(), static_cast<int>(gbk.size()));
}

std::wstring WideFromUtf8(const char* utf8) {
    return Convert(CP_UTF8, utf8, static_cast<int>(std::char_traits<char>::length(utf8)));
}

}  // namespace WinText
