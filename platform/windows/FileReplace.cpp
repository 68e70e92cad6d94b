// The Windows replacement: the new bytes go to a temporary file beside the old one, are flushed with
// FlushFileBuffers, get the old file's attributes and access list, and take its place with one
// MoveFileExW (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH), a single rename of the file
// system. ReplaceFileW, which would carry the attributes and security over by itself, is not used: it
// moves the old file out of the way and the new one in as two steps (so Wine does it), and a kill
// between them left no settings file at all. Paths arrive in the ANSI code page (GBK) and are
// widened once, here.
//
// Each writer holds its temporary file open without sharing it until it is closed for the replacement,
// so the next writer can delete leftovers of a writer that was killed (deleting a file another writer
// still holds fails) without ever taking a file in use.
#include "platform/FileReplace.h"

#include <windows.h>
// After windows.h.
#include <aclapi.h>

#include <random>
#include <string>

namespace plat {
namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                              nullptr, nullptr);
    return narrow;
}

void Tell(std::string* why, const std::string& text) {
    if (why) *why = text;
}

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n > 0 && text ? std::string(text, n) : "system error " + std::to_string(code);
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Opens an existing file for reading; INVALID_HANDLE_VALUE (with the error kept) when it cannot be.
// Anything but a file on a disk (a folder, a pipe, a device) is closed again and refused.
HANDLE OpenDiskFile(const std::wstring& path, DWORD& error) {
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return file;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::CloseHandle(file);
        error = ERROR_INVALID_FUNCTION;
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// Removes the temporary files of base in dir that no live writer holds.
void RemoveLeftoverTempFiles(const std::wstring& dir, const std::string& base) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((dir + L"\\.*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (IsTempNameFor(Narrow(found.cFileName), base))
            ::DeleteFileW((dir + L"\\" + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Gives the new file (open with WRITE_DAC) the old file's access list. A list the user set on the file
// itself (protected from the folder's) must be kept, or the save is refused: the new settings must
// never be open to more users than the old ones were. An inherited list comes from the folder, which
// the new file shares, so it is copied where the system lets us and otherwise left as inherited.
bool KeepAccessList(const std::wstring& oldPath, HANDLE newFile) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(oldPath.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return true;  // nothing to keep (a file system without access lists)
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const bool isProtected = ::GetSecurityDescriptorControl(descriptor, &control, &revision) &&
                             (control & SE_DACL_PROTECTED) && dacl != nullptr;
    const DWORD applied =
        ::SetSecurityInfo(newFile, SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | (isProtected ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                   : UNPROTECTED_DACL_SECURITY_INFORMATION),
                          nullptr, nullptr, dacl, nullptr);
    ::LocalFree(descriptor);
    return applied == ERROR_SUCCESS || !isProtected;
}

}  // namespace

struct FileReplacement::Impl {
    std::string target;
    std::wstring wideTarget;
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    bool existed = false;
    DWORD attributes = 0;  // the old file's, kept by the new one

    void Abandon() {
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            file = INVALID_HANDLE_VALUE;
        }
        if (!temp.empty()) {
            ::DeleteFileW(temp.c_str());
            temp.clear();
        }
    }
};

FileReplacement::FileReplacement() : impl_(std::make_unique<Impl>()) {}

FileReplacement::~FileReplacement() {
    impl_->Abandon();
}

const std::string& FileReplacement::Target() const {
    return impl_->target;
}

bool FileReplacement::Existed() const {
    return impl_->existed;
}

bool FileReplacement::Begin(const std::string& path) {
    Impl& r = *impl_;
    r.Abandon();
    r.target = path;
    r.wideTarget = Wide(path);
    const std::size_t slash = r.wideTarget.find_last_of(L"\\/");
    const std::wstring dir = slash == std::wstring::npos ? std::wstring(L".") : r.wideTarget.substr(0, slash);
    const std::wstring base = slash == std::wstring::npos ? r.wideTarget : r.wideTarget.substr(slash + 1);
    if (base.empty()) return false;

    const DWORD attributes = ::GetFileAttributesW(r.wideTarget.c_str());
    r.existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!r.existed && ::GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    if (r.existed) {
        // The read-only attribute is the user's "do not change this file". Checked here because a
        // process with backup rights (or Wine run by root) could replace the file all the same.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
        DWORD error = 0;
        HANDLE file = OpenDiskFile(r.wideTarget, error);
        if (file == INVALID_HANDLE_VALUE) return false;
        ::CloseHandle(file);
    }

    r.attributes = r.existed ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                             FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                             : 0;
    RemoveLeftoverTempFiles(dir, Narrow(base));
    std::random_device random;
    for (int attempt = 0; attempt < 16 && r.file == INVALID_HANDLE_VALUE; ++attempt) {
        wchar_t suffix[16];
        ::wsprintfW(suffix, L".%08x.tmp", static_cast<unsigned>(random()));
        const std::wstring temp = dir + L"\\." + base + suffix;
        r.file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (r.file != INVALID_HANDLE_VALUE) {
            r.temp = temp;
        } else if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    if (r.file == INVALID_HANDLE_VALUE) return false;
    if (r.existed && !KeepAccessList(r.wideTarget, r.file)) {
        r.Abandon();
        return false;
    }
    return true;
}

bool FileReplacement::Commit(std::string_view bytes) {
    Impl& r = *impl_;
    if (r.file == INVALID_HANDLE_VALUE) return false;
    bool ok = bytes.size() <= kMaxReplaceableFileBytes;
    while (ok && !bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() < 65536 ? bytes.size() : 65536);
        ok = ::WriteFile(r.file, bytes.data(), chunk, &written, nullptr) && written > 0;
        bytes.remove_prefix(written);
    }
    if (ok) ok = ::FlushFileBuffers(r.file) != 0;
    ok = ::CloseHandle(r.file) && ok;
    r.file = INVALID_HANDLE_VALUE;
    if (ok && r.attributes) ok = ::SetFileAttributesW(r.temp.c_str(), r.attributes) != 0;
    if (ok && r.existed) {
        // Made read-only while the save ran: still left alone.
        const DWORD attributes = ::GetFileAttributesW(r.wideTarget.c_str());
        ok = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
    }
    if (ok)
        ok = ::MoveFileExW(r.temp.c_str(), r.wideTarget.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        r.Abandon();
        return false;
    }
    r.temp.clear();
    return true;
}

FileReadStatus ReadReplaceableFile(const std::string& path, std::string& out, std::string* why) {
    out.clear();
    const std::wstring wide = Wide(path);
    // A look at the name before anything is opened.
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (IsMissing(error)) return FileReadStatus::Missing;
        Tell(why, SystemMessage(error));
        return FileReadStatus::Refused;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Tell(why, "it is not a regular file");
        return FileReadStatus::Refused;
    }
    DWORD error = 0;
    HANDLE file = OpenDiskFile(wide, error);
    if (file == INVALID_HANDLE_VALUE) {
        if (IsMissing(error)) return FileReadStatus::Missing;
        Tell(why, error == ERROR_INVALID_FUNCTION ? std::string("it is not a regular file")
                                                  : SystemMessage(error));
        return FileReadStatus::Refused;
    }
    FileReadStatus status = FileReadStatus::Read;
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
            Tell(why, SystemMessage(::GetLastError()));
            status = FileReadStatus::Refused;
            break;
        }
        if (got == 0) break;
        out.append(chunk, got);
        if (out.size() > kMaxReplaceableFileBytes) {
            Tell(why, "it is larger than " + std::to_string(kMaxReplaceableFileBytes / 1024) + " KiB");
            status = FileReadStatus::Refused;
            break;
        }
    }
    ::CloseHandle(file);
    if (status != FileReadStatus::Read) out.clear();
    return status;
}

}  // namespace plat
