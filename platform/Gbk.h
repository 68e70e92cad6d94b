#pragma once
// GBK (code page 936) <-> UTF-8. Bytes that cannot be converted become '?' (to GBK) or U+FFFD
// (to UTF-8); conversion never fails.
#include <string>
#include <string_view>

namespace plat {

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace plat
