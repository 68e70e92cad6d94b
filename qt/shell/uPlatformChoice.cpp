#include "qt/shell/uPlatformChoice.h"

#include <QByteArray>
#include <QtGlobal>
#include <cstdlib>
#include <cstring>

namespace {
bool Given(const char* value) {
    return value != nullptr && *value != '\0';
}
}  // namespace

std::string ChooseQpaPlatform(const TSessionEnv& env) {
    // An empty QT_QPA_PLATFORM leaves the choice to Qt, so it counts as no choice.
    if (Given(env.qpaPlatform)) return {};
    const bool wayland =
        Given(env.waylandDisplay) || (Given(env.sessionType) && std::strcmp(env.sessionType, "wayland") == 0);
    if (!wayland || !Given(env.x11Display)) return {};
    return "xcb";
}

void ApplyQpaPlatformChoice() {
    const TSessionEnv env{std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE"),
                          std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY")};
    const std::string platform = ChooseQpaPlatform(env);
    if (!platform.empty()) qputenv("QT_QPA_PLATFORM", QByteArray(platform.c_str()));
}
