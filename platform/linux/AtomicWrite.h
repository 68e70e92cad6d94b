#pragma once
// Replacing a small file atomically: the new bytes go to a temporary file in the same folder, are
// flushed to disk, and the temporary file is renamed over the old one. A crash, a full disk or a
// write error never leaves a half-written file; the old file stays as it was.
//
// A writer that is killed leaves its temporary file behind. Each writer holds an exclusive lock on its
// temporary file until it has been renamed or removed, so the next writer can tell such leftovers
// (lockable: their owner is gone) from files another writer is still filling, and removes them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

// Whether entry is a temporary file name that AtomicReplaceFile makes for the file named base:
// "." base "." eight hex digits ".tmp".
inline bool IsTempNameFor(std::string_view entry, std::string_view base) {
    const std::size_t hexAt = base.size() + 2;
    if (entry.size() != hexAt + 8 + 4 || entry[0] != '.' || entry.substr(1, base.size()) != base ||
        entry[hexAt - 1] != '.' || entry.substr(hexAt + 8) != ".tmp")
        return false;
    for (char c : entry.substr(hexAt, 8))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// Removes the temporary files of base in dir that no live writer holds. A file system without
// locks leaves them alone: nothing can be locked there, so nothing is taken for a leftover.
inline void RemoveLeftoverTempFiles(const std::string& dir, const std::string& base) {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return;
    while (const dirent* entry = ::readdir(d)) {
        if (!IsTempNameFor(entry->d_name, base)) continue;
        const std::string path = dir + "/" + entry->d_name;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        // Still the same file under that name once locked: remove it while holding the lock.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(d);
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

    const std::string dir = target.parent_path().empty() ? std::string(".") : target.parent_path().string();
    RemoveLeftoverTempFiles(dir, target.filename().string());

    // O_EXCL with a random name: no other file is ever opened or clobbered.
    std::random_device rd;
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
        tmp = dir + "/." + target.filename().string() + suffix;
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
        // Locked for as long as it exists under its name. Another writer may have taken it for a
        // leftover and removed it between the open and the lock: then start again with a new name.
        struct stat st {};
        if (fd >= 0 && ::flock(fd, LOCK_EX) == 0 && (::fstat(fd, &st) != 0 || st.st_nlink == 0)) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) return false;

    bool ok = WriteAll(fd, bytes);
    if (ok && exists) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    // Renamed while still open (and locked), so no other writer ever sees it unlocked under its name.
    if (ok) ok = ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    ::close(fd);  // after fsync a failing close can no longer lose data
    if (!ok) return false;
    // Make the rename itself durable; the file is already complete either way.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace plat::linux_fs
