#include "platform/Directory.h"

#include <filesystem>
#include <system_error>

namespace plat {

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

int CreateDirectoryOnce(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directory(path, ec);
    return ec ? ec.value() : 0;
}

}  // namespace plat
