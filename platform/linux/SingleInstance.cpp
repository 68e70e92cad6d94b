#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/Log.h"
#include "platform/linux/PrivateRuntimeDir.h"

namespace plat {
namespace {

constexpr char kShowRequest[] = "show\n";
constexpr std::size_t kLongestRequest = 64;

using SteadyClock = std::chrono::steady_clock;

int MsLeft(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until fd has something to read (or has been hung up on); false when the time ran out.
bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    for (;;) {
        const int n = ::poll(&p, 1, timeoutMs);
        if (n >= 0) return n > 0;
        if (errno != EINTR) return false;
    }
}

// The address of the socket at path; false when the path does not fit.
bool AddressOf(const std::string& path, sockaddr_un* address) {
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (path.size() >= sizeof address->sun_path) return false;
    std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
    return true;
}

// One request from a later start: a line of at most kLongestRequest bytes, waiting up to a second for
// it (the start writes it right after connecting).
std::string ReadRequest(int fd) {
    std::string line;
    const auto deadline = SteadyClock::now() + std::chrono::seconds(1);
    while (line.size() < kLongestRequest && (line.empty() || line.back() != '\n')) {
        if (!WaitReadable(fd, MsLeft(deadline))) break;
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        line += c;
    }
    return line;
}

}  // namespace

struct SingleInstance::State {
    std::string dir;  // empty when no private folder could be had
    std::string whyNoDir;
    int lock = -1;
    int server = -1;
    bool listening = false;
};

SingleInstance::SingleInstance(const std::string& folder, const std::string& runtimeDir)
    : key_(KeyFor(folder)), state_(std::make_unique<State>()) {
    // Only a folder nobody else may enter: whoever can put a lock or a socket there could keep the
    // program from starting, or answer in its place.
    state_->dir = linux_fs::PrivateRuntimeDir(runtimeDir, &state_->whyNoDir);
}

SingleInstance::~SingleInstance() {
    if (state_->server >= 0) ::close(state_->server);
    if (state_->listening) ::unlink(SocketPath().c_str());
    // The lock file stays: unlinking it could let a start that just opened it lock a file nobody sees.
    if (state_->lock >= 0) ::close(state_->lock);
}

std::string SingleInstance::KeyFor(const std::string& folder) {
    // The absolute, clean path: "a/./b/" and "a/b" are the same folder. Links are resolved as far as
    // the folder exists, so two names of one folder share one copy.
    std::error_code error;
    std::filesystem::path path =
        std::filesystem::weakly_canonical(std::filesystem::absolute(folder, error), error);
    if (error) path = std::filesystem::absolute(folder, error).lexically_normal();
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    // FNV-1a: short, stable, and only characters a file name may hold.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char key[40];
    std::snprintf(key, sizeof key, "chimewick-%016llx", static_cast<unsigned long long>(hash));
    return key;
}

std::string SingleInstance::LockPath() const {
    return state_->dir.empty() ? std::string() : state_->dir + "/" + key_ + ".lock";
}

std::string SingleInstance::SocketPath() const {
    return state_->dir.empty() ? std::string() : state_->dir + "/" + key_ + ".socket";
}

SingleInstance::Claim SingleInstance::TryClaim() {
    if (state_->dir.empty()) {
        LogLine("cannot make sure that only one copy runs: no private folder for its lock (" +
                state_->whyNoDir + ").");
        return Claim::Unchecked;
    }
    if (state_->lock < 0) {
        state_->lock = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (state_->lock < 0) {
            LogLine("cannot make sure that only one copy runs: " + LockPath() + ": " + std::strerror(errno));
            return Claim::Unchecked;
        }
    }
    // The kernel drops the lock with its process: a copy that was killed leaves nothing that counts.
    if (::flock(state_->lock, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? Claim::AlreadyRuns : Claim::Unchecked;

    sockaddr_un address{};
    if (!AddressOf(SocketPath(), &address)) {
        LogLine("cannot listen for later starts: the path " + SocketPath() + " is too long.");
        return Claim::Unchecked;
    }
    // Holding the lock, any socket file left here belongs to a copy that is gone.
    ::unlink(SocketPath().c_str());
    state_->server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (state_->server < 0 ||
        ::bind(state_->server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        LogLine("cannot listen for later starts on " + SocketPath() + ": " + std::strerror(errno));
        return Claim::Unchecked;
    }
    state_->listening = true;
    ::chmod(SocketPath().c_str(), 0600);
    if (::listen(state_->server, 8) != 0) return Claim::Unchecked;
    return Claim::First;
}

bool SingleInstance::AskRunningCopyToShow(unsigned timeoutMs) const {
    sockaddr_un address{};
    if (state_->dir.empty() || !AddressOf(SocketPath(), &address)) return false;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            // Only a copy of this user's is asked (and believed).
            if (!linux_fs::PeerIsThisUser(fd)) {
                ::close(fd);
                LogLine(SocketPath() + " is answered by a process of another user; it is not asked.");
                return false;
            }
            const std::size_t size = sizeof kShowRequest - 1;
            const bool sent = ::send(fd, kShowRequest, size, MSG_NOSIGNAL) == static_cast<ssize_t>(size);
            // Waiting for the running copy to hang up makes sure it has read the request.
            char rest = 0;
            while (sent && WaitReadable(fd, MsLeft(deadline)) && ::read(fd, &rest, 1) > 0) {
            }
            ::close(fd);
            return sent;
        }
        ::close(fd);
        // The running copy takes the lock a moment before it starts listening.
        if (SteadyClock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void SingleInstance::PublishWindow(std::uintptr_t /*window*/) {
    // Later starts reach the running copy through its socket.
}

int SingleInstance::RequestDescriptor() const {
    return state_->listening ? state_->server : -1;
}

bool SingleInstance::TakeShowRequests() {
    bool show = false;
    if (!state_->listening) return show;
    for (;;) {
        const int fd = ::accept4(state_->server, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) continue;
            break;  // none waiting any more
        }
        // Only later starts of this user's may bring the window up.
        if (linux_fs::PeerIsThisUser(fd) && ReadRequest(fd) == kShowRequest) show = true;
        ::close(fd);
    }
    return show;
}

}  // namespace plat
