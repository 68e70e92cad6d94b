#pragma once
// One running copy of the Windows program per program folder.
//
// The first copy creates a named mutex whose name is derived from the folder (case-folded, so two
// spellings of one folder meet), and publishes its main window's handle in a small named shared block
// of the same stem. A later start from the same folder finds the mutex taken, reads the handle and
// asks that window to come up. Both objects die with the process that holds them, so a copy that was
// killed does not keep the next one from starting.
#include <cstdint>
#include <string>

namespace plat {

class SingleInstance {
public:
    // folder: the program folder (native ANSI path). Nothing is claimed yet.
    explicit SingleInstance(const std::string& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class Claim {
        First,        // no other copy runs from this folder; this one now holds the mutex
        AlreadyRuns,  // another copy holds it
        Unchecked,    // the mutex could not be made (the program runs anyway)
    };
    Claim TryClaim();

    // First copy: makes its window known to later starts (a window handle as an integer).
    void PublishWindow(std::uintptr_t window);
    // Later start: the running copy's published window, waiting up to timeoutMs for it to be
    // published (the running copy may still be starting); 0 when none appears.
    std::uintptr_t RunningCopyWindow(unsigned timeoutMs) const;

    // The stem of the kernel objects' names for a folder: "Local\Chimewick-<16 hex digits>".
    static std::string NameFor(const std::string& folder);

private:
    std::string name_;
    void* mutex_ = nullptr;
    void* mapping_ = nullptr;
};

}  // namespace plat
