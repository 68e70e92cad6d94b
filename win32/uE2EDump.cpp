#include "win32/uE2EDump.h"

#include <windows.h>

#include <cstdlib>
#include <map>

#include "platform/Gbk.h"

namespace E2EDump {

void Set(const std::string& name, const std::string& value) {
    static const char* const path = std::getenv("CHIMEWICK_E2E_DUMP");
    static std::map<std::string, std::string> values;
    if (!path || !*path) return;
    auto it = values.find(name);
    if (it != values.end() && it->second == value) return;
    values[name] = value;
    std::string text;
    for (const auto& [key, v] : values) {
        std::string line = plat::GbkToUtf8(v);
        for (size_t pos = 0; (pos = line.find('\n', pos)) != std::string::npos; pos += 2)
            line.replace(pos, 1, "\\n");
        text += key + "=" + line + "\n";
    }
    // Written beside the target and moved over it, so a reader never sees half a file.
    const std::string temp = std::string(path) + ".new";
    HANDLE file =
        ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    if (ok) ::MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace E2EDump
