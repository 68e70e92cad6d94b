#include "platform/Utf8.h"

namespace plat {

std::size_t Utf8CharLen(std::string_view s) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    auto cont = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    unsigned char c = b(0);
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2)) return 0;
        if (c == 0xE0 && b(1) < 0xA0) return 0;   // overlong
        if (c == 0xED && b(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) return 0;
        if (c == 0xF0 && b(1) < 0x90) return 0;   // overlong
        if (c == 0xF4 && b(1) >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace plat
