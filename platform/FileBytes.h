#pragma once
// Shared by the systems' file readers: the whole of an opened stream.
#include <fstream>
#include <iterator>
#include <string>

namespace plat::detail {

inline bool ReadStream(std::ifstream& in, std::string& bytes) {
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace plat::detail
