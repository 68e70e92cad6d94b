#include "support/TestHost.h"

#include <cstdlib>

namespace testhost {

void SetEnv(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}

void UnsetEnv(const char* name) {
    unsetenv(name);
}

bool UnderWine() {
    return false;
}

}  // namespace testhost
