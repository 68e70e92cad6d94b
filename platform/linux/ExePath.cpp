// The running executable's path on Linux, from the kernel's link to it.
#include "platform/ExePath.h"

#include <unistd.h>

#include <string>
#include <vector>

namespace plat {

std::string SystemExecutablePath() {
    std::vector<char> buf(256);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return std::string();
        if (static_cast<std::size_t>(n) < buf.size())
            return std::string(buf.data(), static_cast<std::size_t>(n));
        buf.resize(buf.size() * 2);  // the path may have been cut; try again with more room
    }
}

char PathSeparator() {
    return '/';
}

}  // namespace plat
