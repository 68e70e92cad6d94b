#pragma once
// Byte-level UTF-8 helpers shared by the platform code-page converters.
#include <cstddef>
#include <string_view>

namespace plat {

// U+FFFD REPLACEMENT CHARACTER, encoded as UTF-8.
inline constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 character at the start of s (1 to 4), or 0 when it is malformed
// (overlong, a surrogate, above U+10FFFF, or cut off). s must not be empty.
std::size_t Utf8CharLen(std::string_view s);

}  // namespace plat
