// File names on Linux are UTF-8: a GBK path from the settings file is converted first.
#include "platform/Files.h"

#include <filesystem>
#include <system_error>

#include "platform/FileBytes.h"
#include "platform/Gbk.h"

namespace plat {

bool IsFile(const AnsiString& gbkPath) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(GbkToUtf8(gbkPath)), error);
}

bool ReadFileBytes(const AnsiString& gbkPath, std::string& bytes) {
    std::ifstream in(GbkToUtf8(gbkPath), std::ios::binary);
    return detail::ReadStream(in, bytes);
}

}  // namespace plat
