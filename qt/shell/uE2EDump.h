#pragma once
// Opt-in view of the window's texts for end-to-end tests: when CHIMEWICK_E2E_DUMP names a file, every
// change of a watched value rewrites that file as UTF-8 "name=value" lines. Without it, nothing happens.
#include <QString>

namespace E2EDump {
void Set(const QString& name, const QString& value);
}
