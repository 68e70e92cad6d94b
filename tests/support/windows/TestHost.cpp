#include "support/TestHost.h"

#include <windows.h>

#include <cstdlib>

namespace testhost {

void SetEnv(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}

void UnsetEnv(const char* name) {
    _putenv_s(name, "");  // an empty value removes the variable
}

bool UnderWine() {
    // Wine's ntdll exports its version; Windows' does not.
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace testhost
