#pragma once
// Where the running executable lives. The settings folder sits beside it.
#include <string>

namespace plat {

// Full path of the running executable (native encoding). A test may override it.
std::string ExecutablePath();
// Overrides the reported path; an empty text goes back to the real one.
void SetExecutablePathOverride(const std::string& path);
// The platform's path separator ('/' or '\\').
char PathSeparator();

}  // namespace plat
