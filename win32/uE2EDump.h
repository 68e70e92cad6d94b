#pragma once
// Opt-in view of the window's texts for end-to-end tests: when CHIMEWICK_E2E_DUMP names a file, every
// change of a watched value rewrites that file as UTF-8 "name=value" lines (the same form as the Qt
// program's). Without it, nothing happens.
#include <string>

namespace E2EDump {
// value: GBK text.
void Set(const std::string& name, const std::string& value);
}  // namespace E2EDump
