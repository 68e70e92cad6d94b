// The start-at-login store on Windows: the registry itself. Every operation opens its key with full
// access, does its one thing and closes the key again, so nothing is held between calls.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/windows/UserRunFallback.h"

namespace plat {
namespace {

HKEY RootHandle(RegRoot root) {
    return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// An open registry key, closed when it goes out of scope.
class Key {
public:
    Key(RegRoot root, const AnsiString& path, bool create) {
        LONG rc = create ? ::RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr,
                                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                         : ::RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_ALL_ACCESS, &key_);
        if (rc != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) ::RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

class WinRegistry : public Registry {
public:
    bool OpenKey(RegRoot root, const AnsiString& keyPath, bool create) override {
        return static_cast<bool>(Key(root, keyPath, create));
    }

    RegistryValue ReadValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) override {
        RegistryValue result;
        Key key(root, keyPath, false);
        if (!key) return result;
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG rc = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
        std::vector<BYTE> data;
        // The value may grow between the two calls; ask again until it fits.
        while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
            data.resize(size + 1);
            DWORD got = static_cast<DWORD>(data.size());
            rc = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &got);
            if (rc == ERROR_SUCCESS) {
                data.resize(got);
                break;
            }
            size = got;
        }
        if (rc != ERROR_SUCCESS) return result;  // missing, or unreadable: no value
        result.Found = true;
        // Expandable strings are given as they are stored; the program never expands them.
        result.IsString = type == REG_SZ || type == REG_EXPAND_SZ;
        result.Data.assign(reinterpret_cast<const char*>(data.data()), data.size());
        return result;
    }

    bool WriteString(RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                     const AnsiString& data) override {
        Key key(root, keyPath, true);
        if (!key) return false;
        // The stored data is the text and its terminating NUL.
        return ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
    }

    void DeleteValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) override {
        Key key(root, keyPath, false);
        if (key) ::RegDeleteValueA(key.get(), name.c_str());  // a missing value is no error
    }
};

}  // namespace

std::unique_ptr<Registry> CreateSystemRegistry() {
    // The start-at-login entry falls back to the user's own Run key where the machine's is refused.
    return std::make_unique<UserRunFallback>(std::make_unique<WinRegistry>());
}

std::unique_ptr<Registry> CreateRawSystemRegistry() {
    return std::make_unique<WinRegistry>();
}

}  // namespace plat
