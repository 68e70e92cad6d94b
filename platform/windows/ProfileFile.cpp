// The settings file on Windows: the system's own profile functions.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Profile.h"

namespace plat {

// The system's profile functions write each value at once; a batch has nothing to gather.
struct ProfileWriteBatch::Pending {};
ProfileWriteBatch::ProfileWriteBatch() = default;
ProfileWriteBatch::~ProfileWriteBatch() = default;
void ProfileWriteBatch::Commit() {}

AnsiString ProfileRead(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                       const AnsiString& defaultValue, std::size_t bufferSize) {
    if (bufferSize == 0) return AnsiString();
    std::vector<char> buf(bufferSize);
    const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buf.data(),
                                               static_cast<DWORD>(buf.size()), filePath.c_str());
    return AnsiString(buf.data(), n < buf.size() ? n : buf.size() - 1);
}

void ProfileWrite(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                  const AnsiString& value) {
    if (!::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), filePath.c_str()))
        throw EIniFileException("Unable to write to " + filePath);
}

}  // namespace plat
