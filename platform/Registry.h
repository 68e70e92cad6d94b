#pragma once
// A store of named string values under a root and a key path, the way the program keeps its
// start-at-login entry. Only the operations the program needs exist.
#include <memory>

#include "platform/Types.h"

namespace plat {

enum class RegRoot { LocalMachine, CurrentUser };

// The key under which programs started at login are listed.
inline constexpr const char* RunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RegistryValue {
    bool Found = false;     // the value exists
    bool IsString = false;  // it holds text (only then is Data meaningful)
    AnsiString Data;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Whether the key can be opened; with create, makes it when missing. False when it cannot.
    virtual bool OpenKey(RegRoot root, const AnsiString& keyPath, bool create) = 0;
    // Reads a value of a key that OpenKey has opened.
    virtual RegistryValue ReadValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) = 0;
    // Writes a string value; false when it cannot be stored.
    virtual bool WriteString(RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                             const AnsiString& data) = 0;
    // Deletes a value; a missing value is no error.
    virtual void DeleteValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) = 0;
};

// The store in use: the platform's own unless a test has installed another one.
Registry& CurrentRegistry();
// Installs a store (not owned); nullptr goes back to the platform's own.
void SetRegistry(Registry* registry);
// The platform's own store (on Linux: XDG autostart entries for the Run key).
std::unique_ptr<Registry> CreateSystemRegistry();

}  // namespace plat
