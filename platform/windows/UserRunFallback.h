#pragma once
// Start at login for a user without administrator rights. The program keeps its entry under the
// machine-wide Run key; a standard user may not write there (and with the manifest's asInvoker no
// virtualisation pretends otherwise). This store wraps another and, for that one key only, keeps the
// entry in the user's own Run key (same path under HKEY_CURRENT_USER) when the machine-wide write is
// refused, which starts the program at this user's login:
//
//   write   the machine-wide key; when refused, the user's key. Success only when one of them took
//           the value. After a machine-wide write any copy in the user's key is removed, so the
//           program is not started twice at login.
//   read    the user's key first (only a refused machine-wide write puts a value there), else the
//           machine-wide key.
//   delete  from both.
//
// Every other root and key passes through unchanged.
#include <memory>

#include "platform/Registry.h"

namespace plat {

class UserRunFallback : public Registry {
public:
    // base: the store that does the work (the registry itself, or a test's fake); owned.
    explicit UserRunFallback(std::unique_ptr<Registry> base);

    bool OpenKey(RegRoot root, const AnsiString& keyPath, bool create) override;
    RegistryValue ReadValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) override;
    bool WriteString(RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                     const AnsiString& data) override;
    void DeleteValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) override;

    // Whether root and keyPath name the machine-wide Run key (the path's letters compared without case,
    // as the registry compares them).
    static bool IsMachineRunKey(RegRoot root, const AnsiString& keyPath);

private:
    std::unique_ptr<Registry> base_;
};

// The registry itself, without the fallback (tests look at each key with it).
std::unique_ptr<Registry> CreateRawSystemRegistry();

}  // namespace plat
