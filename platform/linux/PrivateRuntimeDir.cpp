#include "platform/linux/PrivateRuntimeDir.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace plat::linux_fs {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

void Append(std::string* why, const std::string& text) {
    if (!why) return;
    if (!why->empty()) *why += "; ";
    *why += text;
}

// Makes dir (mode 0700) when it is missing; its parent must exist, except for the one level above
// it, which is made 0700 as well (~/.cache on a fresh account).
void MakeIfMissing(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0700) == 0 || errno != ENOENT) return;
    const std::size_t slash = dir.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return;
    if (::mkdir(dir.substr(0, slash).c_str(), 0700) == 0) ::mkdir(dir.c_str(), 0700);
}

}  // namespace

bool IsPrivateDir(const std::string& dir, std::string* why) {
    struct stat st {};
    if (dir.empty() || dir.front() != '/') {
        Append(why, "'" + dir + "' is not an absolute path");
        return false;
    }
    if (::lstat(dir.c_str(), &st) != 0) {
        Append(why, dir + ": " + std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        Append(why, dir + " is not a folder");
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        Append(why, dir + " belongs to another user (uid " + std::to_string(st.st_uid) + ")");
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        Append(why, dir + " may be entered by other users");
        return false;
    }
    return true;
}

std::string PrivateRuntimeDir(const std::string& preferred, std::string* why) {
    if (!preferred.empty()) return IsPrivateDir(preferred, why) ? preferred : std::string();

    const std::string runtime = Env("XDG_RUNTIME_DIR");
    if (!runtime.empty()) {
        if (IsPrivateDir(runtime, why)) return runtime;
    }
    std::string tmp = Env("TMPDIR");
    if (tmp.empty()) tmp = "/tmp";
    while (tmp.size() > 1 && tmp.back() == '/') tmp.pop_back();
    std::string cache = Env("XDG_CACHE_HOME");
    if (cache.empty() && !Env("HOME").empty()) cache = Env("HOME") + "/.cache";

    std::vector<std::string> own = {tmp + "/chimewick-" + std::to_string(::geteuid())};
    if (!cache.empty()) own.push_back(cache + "/chimewick");
    for (const std::string& dir : own) {
        MakeIfMissing(dir);
        if (IsPrivateDir(dir, why)) return dir;
    }
    return std::string();
}

bool PeerIsThisUser(int socketFd) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    if (::getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer)
        return false;
    return peer.uid == ::geteuid();
}

}  // namespace plat::linux_fs
