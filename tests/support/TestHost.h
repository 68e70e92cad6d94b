#pragma once
// What differs between the systems the tests run on, behind one set of calls so the tests themselves
// stay the same everywhere. Each system has its own implementation file.
#include <string>

namespace testhost {

// Sets or removes an environment variable of this process.
void SetEnv(const char* name, const std::string& value);
void UnsetEnv(const char* name);

// Whether the tests run under Wine, whose profile functions differ from Windows in a few known ways
// (see the settings-file case table).
bool UnderWine();

}  // namespace testhost
