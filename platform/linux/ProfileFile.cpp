// The settings file on disk: the in-memory profile rules applied to the whole file, with writes that
// replace the file atomically.
#include <filesystem>
#include <string>

#include "platform/Errors.h"
#include "platform/Profile.h"
#include "platform/linux/AtomicWrite.h"

namespace plat {

AnsiString ProfileRead(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                       const AnsiString& defaultValue, std::size_t bufferSize) {
    std::string content;
    // A file that is missing, unreadable or not a regular file reads like an empty one.
    if (!linux_fs::ReadWholeFile(filePath, content)) content.clear();
    return ProfileReadText(content, section, key, defaultValue, bufferSize);
}

void ProfileWrite(const std::string& filePath, const AnsiString& section, const AnsiString& key,
                  const AnsiString& value) {
    std::string content;
    if (!linux_fs::ReadWholeFile(filePath, content)) {
        // Only a missing file may be started afresh; one that exists but cannot be read would lose
        // its other lines.
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::path(filePath), ec) || ec)
            throw EIniFileException("Unable to write to " + filePath);
        content.clear();
    }
    if (!linux_fs::AtomicReplaceFile(filePath, ProfileWriteText(content, section, key, value)))
        throw EIniFileException("Unable to write to " + filePath);
}

}  // namespace plat
