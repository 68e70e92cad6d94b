// GBK (code page 936) <-> UTF-8 through the system's code page tables. The text is converted one
// character at a time, so a byte that cannot be converted is replaced on its own and the rest of the
// text is kept: U+FFFD towards UTF-8, '?' towards GBK. Code page 936 gives the user-defined areas
// private-use characters; they have no meaning outside one machine, so they count as unconvertible,
// the same as on every other platform.
#include "platform/Gbk.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/AnsiBytes.h"
#include "platform/Utf8.h"

namespace plat {
namespace {

constexpr UINT kGbkCodePage = 936;

bool IsPrivateUse(wchar_t w) {
    return w >= 0xE000 && w <= 0xF8FF;
}

// The UTF-16 code unit of one GBK character (one or two bytes), or 0 when it has none.
wchar_t GbkCharToWide(std::string_view ch) {
    wchar_t w[2] = {};
    int n = ::MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, ch.data(), static_cast<int>(ch.size()),
                                  w, 2);
    if (n != 1 || w[0] == 0 || IsPrivateUse(w[0])) return 0;
    return w[0];
}

void AppendUtf8(std::string& out, wchar_t w) {
    char buf[4];
    int n = ::WideCharToMultiByte(CP_UTF8, 0, &w, 1, buf, sizeof buf, nullptr, nullptr);
    out.append(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

// The GBK bytes of one well-formed UTF-8 character of two or three bytes; empty when GBK lacks it.
std::string Utf8CharToGbk(std::string_view ch) {
    wchar_t w[2] = {};
    int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, ch.data(), static_cast<int>(ch.size()), w, 2);
    if (n != 1 || IsPrivateUse(w[0])) return std::string();
    char buf[4];
    BOOL usedDefault = FALSE;
    int m = ::WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, w, 1, buf, sizeof buf, nullptr,
                                  &usedDefault);
    if (m <= 0 || usedDefault) return std::string();
    return std::string(buf, static_cast<std::size_t>(m));
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (std::size_t i = 0; i < gbk.size();) {
        const unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // A lead byte with a trail byte is one character, converted or replaced as a whole; any
        // other byte stands alone.
        const std::size_t len = GbkCharLen(gbk.substr(i));
        const wchar_t w = GbkCharToWide(gbk.substr(i, len));
        if (w != 0)
            AppendUtf8(out, w);
        else
            out.append(kReplacementUtf8);
        i += len;
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const unsigned char c = static_cast<unsigned char>(utf8[0]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            utf8.remove_prefix(1);
            continue;
        }
        // Each byte of malformed UTF-8 becomes one '?'; so does a character GBK lacks (code page 936
        // has nothing beyond the basic plane).
        const std::size_t len = Utf8CharLen(utf8);
        std::string gbk = (len == 2 || len == 3) ? Utf8CharToGbk(utf8.substr(0, len)) : std::string();
        out.append(gbk.empty() ? std::string("?") : gbk);
        utf8.remove_prefix(len == 0 ? 1 : len);
    }
    return out;
}

}  // namespace plat
