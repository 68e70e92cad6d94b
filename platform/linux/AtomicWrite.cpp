#include "platform/linux/AtomicWrite.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

namespace plat::linux_fs {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void Tell(std::string* why, const std::string& text) {
    if (why) *why = text;
}

// Removes the temporary files of base in dir that no live writer holds. A file system without
// locks leaves them alone: nothing can be locked there, so nothing is taken for a leftover.
void RemoveLeftoverTempFiles(const std::string& dir, const std::string& base) {
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

bool InGroup(gid_t gid) {
    if (getegid() == gid) return true;
    const int n = ::getgroups(0, nullptr);
    if (n <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(n));
    const int got = ::getgroups(n, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid) return true;
    return false;
}

// A file its user has made read-only (no write bit at all, as the read-only attribute elsewhere),
// or one this user may not write, is not replaced. The privileged user passes the access check for
// every file, so the write bits are looked at as well.
bool MayWrite(const std::string& path, const struct stat& st) {
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

ReadStatus ReadFileStatus(const std::string& path, std::string& out, std::string* why) {
    out.clear();
    // A look at the type before anything is opened: opening a FIFO waits for a writer, and opening
    // a device may do something.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return ReadStatus::Missing;
        Tell(why, std::strerror(errno));
        return ReadStatus::Refused;
    }
    if (!S_ISREG(st.st_mode)) {
        Tell(why, "it is not a regular file");
        return ReadStatus::Refused;
    }
    // Without blocking all the same, in case something else has taken the name in the meantime.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return ReadStatus::Missing;
        Tell(why, std::strerror(errno));
        return ReadStatus::Refused;
    }
    ReadStatus status = ReadStatus::Read;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Tell(why, "it is not a regular file");
        status = ReadStatus::Refused;
    } else if (static_cast<unsigned long long>(st.st_size) > kMaxFileBytes) {
        Tell(why, "it is larger than " + std::to_string(kMaxFileBytes / 1024) + " KiB");
        status = ReadStatus::Refused;
    } else {
        out.reserve(static_cast<std::size_t>(st.st_size));
        char buf[65536];
        for (;;) {
            ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                Tell(why, std::strerror(errno));
                status = ReadStatus::Refused;
                break;
            }
            if (n == 0) break;
            out.append(buf, static_cast<std::size_t>(n));
            // A file that grows while it is read is not taken either.
            if (out.size() > kMaxFileBytes) {
                Tell(why, "it is larger than " + std::to_string(kMaxFileBytes / 1024) + " KiB");
                status = ReadStatus::Refused;
                break;
            }
        }
    }
    ::close(fd);
    if (status != ReadStatus::Read) out.clear();
    return status;
}

std::string ResolveLinks(const std::string& path) {
    namespace fs = std::filesystem;
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        // Missing, or unreachable: the write itself reports it.
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return std::string();
        const std::string target(buf.data(), static_cast<std::size_t>(n));
        if (target.front() == '/') {
            current = target;
        } else {
            const fs::path parent = fs::path(current).parent_path();
            current = parent.empty() ? target : (parent / target).string();
        }
    }
    return std::string();  // a loop of links
}

mode_t ReplacementMode(mode_t oldMode, bool ownerKept, bool groupKept, bool writerWasInGroup) {
    if (ownerKept && groupKept) return oldMode & 07777;
    const mode_t user = (oldMode >> 6) & 7;
    const mode_t group = (oldMode >> 3) & 7;
    const mode_t other = oldMode & 7;
    const mode_t newUser = ownerKept ? user : (writerWasInGroup ? group : other);
    const mode_t newGroup = groupKept ? group : (group & other);
    return (newUser << 6) | (newGroup << 3) | other;
}

AtomicReplacement::~AtomicReplacement() {
    Abandon();
}

void AtomicReplacement::Abandon() {
    if (fd_ < 0) return;
    ::unlink(tmp_.c_str());
    ::close(fd_);
    fd_ = -1;
}

bool AtomicReplacement::Begin(const std::string& path) {
    namespace fs = std::filesystem;
    Abandon();
    target_ = ResolveLinks(path);
    if (target_.empty()) return false;
    const fs::path targetPath(target_);
    if (targetPath.filename().empty()) return false;

    struct stat old {};
    existed_ = ::stat(target_.c_str(), &old) == 0;
    if (!existed_ && errno != ENOENT) return false;
    if (existed_ && (!S_ISREG(old.st_mode) || !MayWrite(target_, old))) return false;

    dir_ = targetPath.parent_path().empty() ? std::string(".") : targetPath.parent_path().string();
    const std::string base = targetPath.filename().string();
    RemoveLeftoverTempFiles(dir_, base);

    // O_EXCL with a random name: no other file is ever opened or clobbered. Private until its owner
    // and mode are set, so the new bytes are never readable by more users than the old file allowed.
    std::random_device rd;
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
        tmp_ = dir_ + "/." + base + suffix;
        fd_ = ::open(tmp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed_ ? 0600 : 0666);
        if (fd_ < 0 && errno != EEXIST) return false;
        // Locked for as long as it exists under its name. Another writer may have taken it for a
        // leftover and removed it between the open and the lock: then start again with a new name.
        struct stat st {};
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) == 0 && (::fstat(fd_, &st) != 0 || st.st_nlink == 0)) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    if (fd_ < 0) return false;

    if (existed_) {
        // The old owner and group where this process may give them away; else the group alone.
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        struct stat now {};
        if (::fstat(fd_, &now) != 0) {
            Abandon();
            return false;
        }
        const mode_t mode = ReplacementMode(old.st_mode, now.st_uid == old.st_uid, now.st_gid == old.st_gid,
                                            InGroup(old.st_gid));
        if (::fchmod(fd_, mode) != 0) {
            Abandon();
            return false;
        }
    }
    return true;
}

bool AtomicReplacement::Commit(std::string_view bytes) {
    if (fd_ < 0) return false;
    bool ok = bytes.size() <= kMaxFileBytes && WriteAll(fd_, bytes);
    if (ok) ok = ::fsync(fd_) == 0;
    // Renamed while still open (and locked), so no other writer ever sees it unlocked under its name.
    if (ok) ok = ::rename(tmp_.c_str(), target_.c_str()) == 0;
    if (!ok) {
        Abandon();
        return false;
    }
    ::close(fd_);  // after fsync a failing close can no longer lose data
    fd_ = -1;
    // Make the rename itself durable; the file is already complete either way.
    int dfd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool AtomicReplaceFile(const std::string& path, std::string_view bytes) {
    AtomicReplacement replacement;
    return replacement.Begin(path) && replacement.Commit(bytes);
}

}  // namespace plat::linux_fs
