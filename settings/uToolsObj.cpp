// TTools: one settings-file value, one start-at-login value, the executable's location and the
// question box. Every call opens what it needs and lets go of it before returning; nothing is cached,
// so whatever the settings dialog writes is seen by the next read.
#include "settings/uToolsObj.h"

#include <cstring>
#include <string>

#include "platform/Dialogs.h"
#include "platform/Directory.h"
#include "platform/Errors.h"
#include "platform/ExePath.h"
#include "platform/Profile.h"
#include "settings/uStrings.h"

namespace {

// The text a failed file-system call shows: the C library's description of the code, or a plain
// "I/O error <code>" when the library has none for it.
std::string IoErrorText(int code) {
    const char* text = std::strerror(code);
    if (text == nullptr || *text == '\0' || std::strncmp(text, "Unknown error", 13) == 0) {
        return "I/O error " + std::to_string(code);
    }
    return text;
}

}  // namespace

void TTools::ForceDir(const std::string& dir) {
    if (plat::IsDirectory(dir)) return;
    // One level only: a missing parent is an error, as is a plain file standing where the folder goes.
    const int code = plat::CreateDirectoryOnce(dir);
    if (code != 0) throw EInOutError(IoErrorText(code), code);
}

std::string TTools::GetExeName() {
    return plat::ExecutablePath();
}

std::string TTools::GetAppPath() {
    const std::string exe = GetExeName();
    const std::string separators = std::string(1, plat::PathSeparator()) + "/";
    const std::size_t pos = exe.find_last_of(separators);
    if (pos == std::string::npos) return std::string(1, plat::PathSeparator());
    return exe.substr(0, pos) + plat::PathSeparator();
}

std::string TTools::IniFileName() {
    return GetAppPath() + "Ini" + plat::PathSeparator() + "Tovik.ini";
}

int TTools::Confirm(const AnsiString& question) {
    const int answer = plat::ShowMessageBox(question, Texts::Gbk("系统提示"), plat::TBoxKind::Question);
    return answer == plat::BoxOk ? plat::BoxOk : plat::BoxCancel;
}

AnsiString TTools::ReadIni(const AnsiString& section, const AnsiString& key, const AnsiString& defaultValue) {
    return plat::ProfileRead(IniFileName(), section, key, defaultValue);
}

void TTools::WriteIni(const AnsiString& section, const AnsiString& key, const AnsiString& value) {
    ForceDir(GetAppPath() + "Ini" + plat::PathSeparator());
    plat::ProfileWrite(IniFileName(), section, key, value);
}

AnsiString TTools::RegReadString(plat::RegRoot root, const AnsiString& keyPath, const AnsiString& name) {
    AnsiString result;
    plat::Registry& registry = plat::CurrentRegistry();
    if (!registry.OpenKey(root, keyPath, false)) return result;
    const plat::RegistryValue value = registry.ReadValue(root, keyPath, name);
    if (!value.Found) return result;
    if (!value.IsString) throw ERegistryException("Invalid data type for '" + name + "'");
    // The stored data may carry its terminating NUL (or more); the text ends at the first one.
    result = value.Data.substr(0, value.Data.find('\0'));
    return result;
}

void TTools::RegWriteString(plat::RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                            const AnsiString& value) {
    plat::Registry& registry = plat::CurrentRegistry();
    // Whether the key could be opened is not checked here: a key that cannot be opened cannot take
    // the value either, and that failure is the one reported.
    registry.OpenKey(root, keyPath, true);
    if (!registry.WriteString(root, keyPath, name, value)) {
        throw ERegistryException("Failed to set data for '" + name + "'");
    }
}

void TTools::RegDelete(plat::RegRoot root, const AnsiString& keyPath, const AnsiString& name) {
    plat::Registry& registry = plat::CurrentRegistry();
    if (registry.OpenKey(root, keyPath, false)) registry.DeleteValue(root, keyPath, name);
}
