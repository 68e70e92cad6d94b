#pragma once
// One running copy of the program per folder (the settings folder on Linux, the program folder on
// Windows).
//
// The first copy claims a lock named after the folder. A later start for the same folder finds it
// taken, asks the running copy to bring its window up, and ends. The lock dies with the process that
// holds it, so a copy that was killed does not keep the next one from starting; copies for other
// folders run side by side.
//
// Linux: the lock is a flock on "<key>.lock" and the running copy listens on the local socket
// "<key>.socket", both in a folder only this user may enter; only a peer of this user's is asked or
// answered. Without such a folder the claim is left unchecked (the log says why).
// Windows: the lock is a named mutex; the running copy publishes its window's handle and a later start
// posts the window its show request, which the window handles itself.
#include <cstdint>
#include <memory>
#include <string>

namespace plat {

class SingleInstance {
public:
    // folder: the folder the copies share (native path). runtimeDir (Linux only): where the lock and
    // the socket go; empty: the user's runtime folder, else a private folder of the program's own.
    // Nothing is claimed yet.
    explicit SingleInstance(const std::string& folder, const std::string& runtimeDir = std::string());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class Claim {
        First,        // no other copy runs for this folder; this one now answers later starts
        AlreadyRuns,  // another copy holds the lock
        Unchecked,    // the lock could not be taken for another reason (the program runs anyway)
    };
    Claim TryClaim();

    // Later start: asks the copy that holds the lock to bring its window up, waiting up to timeoutMs
    // for it to answer (it may still be starting). True once the request has been handed over.
    bool AskRunningCopyToShow(unsigned timeoutMs = 5000) const;

    // Running copy, Windows: makes its window (a handle as an integer) known to later starts.
    // Nothing to do on Linux.
    void PublishWindow(std::uintptr_t window);

    // Running copy, Linux: the descriptor that becomes readable when a later start knocks (-1 before
    // a successful claim, and always on Windows). Once it is readable, TakeShowRequests answers the
    // waiting starts and says whether any of them asked for the window.
    int RequestDescriptor() const;
    bool TakeShowRequests();

    // The name the folder's lock (and on Linux its socket) is known by, whatever the folder's spelling.
    // Linux: "chimewick-<24 hex digits>"; Windows: "Local\Chimewick-<16 hex digits>".
    static std::string KeyFor(const std::string& folder);
    // Linux: where the lock and the socket are (empty without a private folder).
    std::string LockPath() const;
    std::string SocketPath() const;

private:
    struct State;      // what the platform keeps: the lock, and the socket or the shared window handle
    std::string key_;  // see KeyFor
    std::unique_ptr<State> state_;
};

}  // namespace plat
