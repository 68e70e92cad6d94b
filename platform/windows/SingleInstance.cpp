#include "platform/windows/SingleInstance.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace plat {
namespace {
std::wstring WideOf(const std::string& ansi) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

// The folder as one spelling: full, long-named, without a trailing separator, upper case.
std::wstring Canonical(const std::string& folder) {
    std::wstring path = WideOf(folder);
    std::vector<wchar_t> buf(32768);
    DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n > 0 && n < buf.size()) path.assign(buf.data(), n);
    n = ::GetLongPathNameW(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n > 0 && n < buf.size()) path.assign(buf.data(), n);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    if (!path.empty()) ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

std::string MappingName(const std::string& stem) {
    return stem + "-window";
}
}  // namespace

std::string SingleInstance::NameFor(const std::string& folder) {
    // FNV-1a over the UTF-16 units: short, stable, and free of characters a kernel name cannot hold.
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : Canonical(folder)) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    char text[40];
    std::snprintf(text, sizeof text, "Local\\Chimewick-%016llx", static_cast<unsigned long long>(hash));
    return text;
}

SingleInstance::SingleInstance(const std::string& folder) : name_(NameFor(folder)) {}

SingleInstance::~SingleInstance() {
    if (mapping_) ::CloseHandle(mapping_);
    if (mutex_) ::CloseHandle(mutex_);
}

SingleInstance::Claim SingleInstance::TryClaim() {
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, name_.c_str());
    const DWORD error = ::GetLastError();
    if (!mutex) return error == ERROR_ACCESS_DENIED ? Claim::AlreadyRuns : Claim::Unchecked;
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return Claim::AlreadyRuns;
    }
    mutex_ = mutex;
    mapping_ = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(std::uint64_t),
                                    MappingName(name_).c_str());
    return Claim::First;
}

void SingleInstance::PublishWindow(std::uintptr_t window) {
    if (!mapping_) return;
    void* view = ::MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(std::uint64_t));
    if (!view) return;
    *static_cast<volatile std::uint64_t*>(view) = window;
    ::UnmapViewOfFile(view);
}

std::uintptr_t SingleInstance::RunningCopyWindow(unsigned timeoutMs) const {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        std::uint64_t window = 0;
        if (HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, MappingName(name_).c_str())) {
            if (void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(std::uint64_t))) {
                window = *static_cast<volatile std::uint64_t*>(view);
                ::UnmapViewOfFile(view);
            }
            ::CloseHandle(mapping);
        }
        if (window && ::IsWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window))))
            return static_cast<std::uintptr_t>(window);
        if (::GetTickCount64() >= deadline) return 0;
        ::Sleep(50);  // the running copy is still building its window
    }
}

}  // namespace plat
