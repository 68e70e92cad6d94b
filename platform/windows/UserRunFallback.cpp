#include "platform/windows/UserRunFallback.h"

#include <utility>

namespace plat {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SamePath(const AnsiString& a, const AnsiString& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

}  // namespace

UserRunFallback::UserRunFallback(std::unique_ptr<Registry> base) : base_(std::move(base)) {}

bool UserRunFallback::IsMachineRunKey(RegRoot root, const AnsiString& keyPath) {
    return root == RegRoot::LocalMachine && SamePath(keyPath, RunKeyPath);
}

bool UserRunFallback::OpenKey(RegRoot root, const AnsiString& keyPath, bool create) {
    if (!IsMachineRunKey(root, keyPath)) return base_->OpenKey(root, keyPath, create);
    // Either key will do: the entry may live in both places.
    return base_->OpenKey(RegRoot::LocalMachine, keyPath, create) ||
           base_->OpenKey(RegRoot::CurrentUser, keyPath, create);
}

RegistryValue UserRunFallback::ReadValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) {
    if (!IsMachineRunKey(root, keyPath)) return base_->ReadValue(root, keyPath, name);
    RegistryValue user = base_->ReadValue(RegRoot::CurrentUser, keyPath, name);
    if (user.Found) return user;
    return base_->ReadValue(RegRoot::LocalMachine, keyPath, name);
}

bool UserRunFallback::WriteString(RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                                  const AnsiString& data) {
    if (!IsMachineRunKey(root, keyPath)) return base_->WriteString(root, keyPath, name, data);
    if (base_->WriteString(RegRoot::LocalMachine, keyPath, name, data)) {
        base_->DeleteValue(RegRoot::CurrentUser, keyPath, name);
        return true;
    }
    return base_->WriteString(RegRoot::CurrentUser, keyPath, name, data);
}

void UserRunFallback::DeleteValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) {
    if (!IsMachineRunKey(root, keyPath)) {
        base_->DeleteValue(root, keyPath, name);
        return;
    }
    base_->DeleteValue(RegRoot::LocalMachine, keyPath, name);
    base_->DeleteValue(RegRoot::CurrentUser, keyPath, name);
}

}  // namespace plat
