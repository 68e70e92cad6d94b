#pragma once
// Replacing a small file atomically: the new bytes go to a temporary file in the same folder, are
// flushed to disk, and the temporary file is renamed over the old one. A crash, a full disk or a
// write error never leaves a half-written file; the old file stays as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace plat::linux_fs {

// Reads a whole regular file. False when it is missing, not a regular file or cannot be read.
inline bool ReadWholeFile(const std::string& path, std::string& out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    out.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

inline bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Replaces (or creates) path with bytes. A symbolic link is followed, so the file it names is
// replaced and the link stays. An existing file keeps its permission bits; a new one gets 0666 less
// the umask. False on any failure, in which case nothing has changed.
inline bool AtomicReplaceFile(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    }
    struct stat old {};
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return false;
    if (target.filename().empty()) return false;

    // O_EXCL with a random name: no other file is ever opened or clobbered.
    std::random_device rd;
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
        tmp = (target.parent_path() / ("." + target.filename().string() + suffix)).string();
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;

    bool ok = WriteAll(fd, bytes);
    if (ok && exists) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable; the file is already complete either way.
    std::string dir = target.parent_path().empty() ? std::string(".") : target.parent_path().string();
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace plat::linux_fs
