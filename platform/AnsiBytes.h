#pragma once
// Byte helpers for ANSI text as the program keeps it (GBK bytes): ASCII letter case, where other bytes
// are left alone, and how a GBK string splits into characters. Header-only, so every layer shares the
// one copy.
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Changes only the ASCII letters; every other byte, GBK halves included, stays as it is.
constexpr char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
inline std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAscii(c);
    return out;
}
inline std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerAscii(c);
    return out;
}
// Equal when the texts differ at most in the case of ASCII letters.
constexpr bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

// A byte that starts a two-byte GBK character when a valid trail byte follows.
constexpr bool IsGbkLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}
// A byte that can end a two-byte GBK character.
constexpr bool IsGbkTrailByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// Length of the GBK character at the start of s (s must not be empty): 2 for a lead byte followed by
// a valid trail byte, otherwise 1 (ASCII, or a byte that stands alone and is replaced on its own).
constexpr std::size_t GbkCharLen(std::string_view s) {
    return (s.size() >= 2 && IsGbkLeadByte(s[0]) && IsGbkTrailByte(s[1])) ? 2 : 1;
}

}  // namespace plat
