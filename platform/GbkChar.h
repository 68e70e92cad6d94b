#pragma once
// How the GBK (code page 936) converters split their input into characters.
#include <cstddef>
#include <string_view>

namespace plat {

// Length of the GBK character at the start of s (s must not be empty): 2 for a lead byte followed by
// a valid trail byte, otherwise 1 (ASCII, or a byte that stands alone and is replaced on its own).
inline std::size_t GbkCharLen(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    if (lead < 0x81 || lead > 0xFE || s.size() < 2) return 1;
    const auto trail = static_cast<unsigned char>(s[1]);
    return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
}

}  // namespace plat
