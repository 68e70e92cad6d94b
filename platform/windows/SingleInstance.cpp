#include "platform/SingleInstance.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/windows/ShowRequest.h"

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

// The running copy's published window, waiting up to timeoutMs for it to be published (the running
// copy may still be starting); null when none appears.
HWND RunningCopyWindow(const std::string& stem, unsigned timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        std::uint64_t window = 0;
        if (HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ, FALSE, MappingName(stem).c_str())) {
            if (void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(std::uint64_t))) {
                window = *static_cast<volatile std::uint64_t*>(view);
                ::UnmapViewOfFile(view);
            }
            ::CloseHandle(mapping);
        }
        const auto handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
        if (window && ::IsWindow(handle)) return handle;
        if (::GetTickCount64() >= deadline) return nullptr;
        ::Sleep(50);  // the running copy is still building its window
    }
}
}  // namespace

namespace win {
unsigned ShowRequestMessage() {
    static const UINT message = ::RegisterWindowMessageA("Chimewick.ShowWindow");
    return message;
}
}  // namespace win

struct SingleInstance::State {
    HANDLE mutex = nullptr;
    HANDLE mapping = nullptr;
};

std::string SingleInstance::KeyFor(const std::string& folder) {
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

SingleInstance::SingleInstance(const std::string& folder, const std::string& /*runtimeDir*/)
    : key_(KeyFor(folder)), state_(std::make_unique<State>()) {}

SingleInstance::~SingleInstance() {
    if (state_->mapping) ::CloseHandle(state_->mapping);
    if (state_->mutex) ::CloseHandle(state_->mutex);
}

SingleInstance::Claim SingleInstance::TryClaim() {
    HANDLE mutex = ::CreateMutexA(nullptr, TRUE, key_.c_str());
    const DWORD error = ::GetLastError();
    if (!mutex) return error == ERROR_ACCESS_DENIED ? Claim::AlreadyRuns : Claim::Unchecked;
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return Claim::AlreadyRuns;
    }
    state_->mutex = mutex;
    state_->mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(std::uint64_t), MappingName(key_).c_str());
    return Claim::First;
}

void SingleInstance::PublishWindow(std::uintptr_t window) {
    if (!state_->mapping) return;
    void* view = ::MapViewOfFile(state_->mapping, FILE_MAP_WRITE, 0, 0, sizeof(std::uint64_t));
    if (!view) return;
    *static_cast<volatile std::uint64_t*>(view) = window;
    ::UnmapViewOfFile(view);
}

bool SingleInstance::AskRunningCopyToShow(unsigned timeoutMs) const {
    const HWND window = RunningCopyWindow(key_, timeoutMs);
    if (!window) return false;  // the running copy does not answer
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    ::AllowSetForegroundWindow(process);  // a program just started may hand the foreground on
    return ::PostMessageA(window, win::ShowRequestMessage(), 0, 0) != FALSE;
}

int SingleInstance::RequestDescriptor() const {
    return -1;  // the request reaches the window as a message
}

bool SingleInstance::TakeShowRequests() {
    return false;
}

std::string SingleInstance::LockPath() const {
    return std::string();
}

std::string SingleInstance::SocketPath() const {
    return std::string();
}

}  // namespace plat
